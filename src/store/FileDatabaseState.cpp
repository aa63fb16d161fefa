// What became of an open database file: deleted, replaced, no longer writable.
#include "store/FileDatabase.h"

#include "store/RingtalError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool statOf(const QString &path, struct stat &info)
{
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

// As the user the program runs for: the effective (and file-system) identity.
bool writable(const QString &path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

} // namespace

void FileDatabase::rememberFile()
{
    struct stat info {};
    if (statOf(m_path, info)) {
        m_device = quint64(info.st_dev);
        m_inode = quint64(info.st_ino);
    }
}

Database::FileState FileDatabase::fileState() const
{
    struct stat info {};
    if (!statOf(m_path, info))
        return FileState::Gone;
    if (quint64(info.st_dev) != m_device || quint64(info.st_ino) != m_inode)
        return FileState::Replaced;
    return FileState::Unchanged;
}

bool FileDatabase::isReadOnly() const
{
    return !writable(m_path) || !writable(QFileInfo(m_path).absolutePath());
}

void FileDatabase::requireWritable() const
{
    if (fileState() != FileState::Unchanged || isReadOnly())
        raiseFileChanged();
}

// A write that fails because the file went away or may no longer be written
// says so, instead of SQLite's "read-only database" or "disk I/O error".
void FileDatabase::raiseFileChanged() const
{
    switch (fileState()) {
    case FileState::Gone:
        throw RingtalError(ErrorNumber::DatabaseFileNotFound,
                           QStringLiteral("Die Wettkampfdatei '%1' gibt es nicht mehr: Sie wurde gelöscht oder "
                                          "umbenannt, während sie geöffnet war.")
                               .arg(m_path));
    case FileState::Replaced:
        throw RingtalError(ErrorNumber::DatabaseFileNotFound,
                           QStringLiteral("Die Wettkampfdatei '%1' wurde durch eine andere Datei ersetzt, während "
                                          "sie geöffnet war.")
                               .arg(m_path));
    case FileState::Unchanged:
        break;
    }
    if (isReadOnly())
        throw RingtalError(ErrorNumber::ReadOnly,
                           QStringLiteral("Die Datei '%1' ist schreibgeschützt (die Schreibberechtigung fehlt für "
                                          "die Datei oder ihren Ordner). Änderungen können nicht gespeichert werden.")
                               .arg(m_path));
}
