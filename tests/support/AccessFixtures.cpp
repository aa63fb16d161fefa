#include "support/AccessFixtures.h"

#include "support/NonRegularFiles.h"

#include <QFile>

namespace AccessFixtures {

namespace {

constexpr qint64 PageSize = 4096;

// A row of Ergebnisse starts with its column count (18) and the fixed
// fields in order: ID 2, Platz 4, StartNr 2 for the second shooter.
const QByteArray SecondResultRow = QByteArray::fromHex("1200"
                                                       "02000000"
                                                       "04000000"
                                                       "02000000");

QString cutCopy(const QString &fixture, qint64 size, const QString &target)
{
    return write(target, bytes(fixture).left(size));
}

} // namespace

QString path(const QString &fixture)
{
    return QStringLiteral(RINGTAL_FIXTURES_DIR) + QLatin1Char('/') + fixture;
}

QByteArray bytes(const QString &fixture)
{
    QFile file(path(fixture));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fixture %s cannot be read", qPrintable(path(fixture)));
    return file.readAll();
}

QString write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString patchedCopy(const QString &fixture, const QByteArray &find, const QByteArray &replace, const QString &target)
{
    QByteArray content = bytes(fixture);
    const qsizetype at = content.indexOf(find);
    if (at < 0 || content.indexOf(find, at + 1) >= 0)
        return QString();
    content.replace(at, find.size(), replace);
    return write(target, content);
}

QString damagedCopy(const QString &kind, const QString &fixture, const QString &target)
{
    const qint64 size = bytes(fixture).size();
    if (kind == QLatin1String("cut inside a page"))
        return cutCopy(fixture, size / 2 + 100, target);
    if (kind == QLatin1String("last page missing"))
        return cutCopy(fixture, size - PageSize, target);
    if (kind == QLatin1String("catalog missing"))
        return cutCopy(fixture, 2 * PageSize, target);
    if (kind == QLatin1String("empty file"))
        return write(target, QByteArray());
    if (kind == QLatin1String("text file"))
        return write(target, "Name;Verein\r\nAnna;SV Alm\r\n");
    if (kind == QLatin1String("duplicate IDs")) {
        QByteArray duplicate = SecondResultRow;
        duplicate[2] = 1;
        return patchedCopy(Competition, SecondResultRow, duplicate, target);
    }
    if (kind == QLatin1String("other table"))
        return write(target, bytes(fixture == Competition ? MasterList : Competition));
    return NonRegularFiles::make(kind, target) ? target : QString();
}

} // namespace AccessFixtures
