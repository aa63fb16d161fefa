#include "store/FileKind.h"

#include <QFile>

#include <optional>
#include <sys/stat.h>

namespace FileKind {

namespace {

// The type bits of what the path leads to; stat() follows links.
std::optional<mode_t> modeOf(const QString &path)
{
    struct stat status = {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status.st_mode;
}

} // namespace

bool isRegular(const QString &path)
{
    const std::optional<mode_t> mode = modeOf(path);
    return mode && S_ISREG(*mode);
}

QString describe(const QString &path)
{
    const std::optional<mode_t> mode = modeOf(path);
    if (!mode || S_ISREG(*mode))
        return QString();
    if (S_ISDIR(*mode))
        return QStringLiteral("ein Ordner");
    if (S_ISFIFO(*mode))
        return QStringLiteral("eine benannte Pipe (FIFO)");
    if (S_ISSOCK(*mode))
        return QStringLiteral("ein Socket");
    if (S_ISCHR(*mode) || S_ISBLK(*mode))
        return QStringLiteral("ein Gerät");
    return QStringLiteral("eine besondere Datei");
}

RingtalError notRegular(const QString &path)
{
    const QString kind = describe(path);
    // The path may have changed since it was looked at.
    const QString what = kind.isEmpty() ? QStringLiteral("keine gewöhnliche Datei")
                                        : kind + QStringLiteral(" und keine gewöhnliche Datei");
    return RingtalError(ErrorNumber::PathFileAccess,
                        QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: '%1' ist %2.").arg(path, what));
}

} // namespace FileKind
