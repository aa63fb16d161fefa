#include "masterlist/MasterFile.h"

#include "store/RingtalError.h"
#include "store/tempModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

const QString MasterFile::FileName = QStringLiteral("schuetzen.mdb");

MasterFile::MasterFile(QString programFolder, QString userDataFolder)
    : m_programFolder(std::move(programFolder))
    , m_userDataFolder(std::move(userDataFolder))
{
}

MasterFile MasterFile::standard()
{
    return MasterFile(QCoreApplication::applicationDirPath(),
                      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString MasterFile::shippedPath() const
{
    return QDir(m_programFolder).filePath(FileName);
}

QString MasterFile::userCopyPath() const
{
    return QDir(m_userDataFolder).filePath(FileName);
}

// Permission bits tell nothing about read-only mounts, access lists or the
// rights of the user actually running: writing is tried. SQLite writes its
// journal beside the file, so the folder must take new files as well.
bool MasterFile::writableInPlace(const QString &file)
{
    QFile list(file);
    if (!list.open(QIODevice::ReadWrite))
        return false;
    list.close();
    QTemporaryFile probe(QFileInfo(file).absolutePath() + QStringLiteral("/schuetzen-XXXXXX.probe"));
    return probe.open();
}

QString MasterFile::resolve() const
{
    const QString shipped = shippedPath();
    if (FileExists(shipped) && writableInPlace(shipped))
        return shipped;
    if (!m_userDataFolder.isEmpty() && QFileInfo::exists(userCopyPath()))
        return userCopyPath();
    return seedUserCopy();
}

QString MasterFile::seedUserCopy() const
{
    const QString shipped = shippedPath();
    if (!QFileInfo::exists(shipped))
        throw RingtalError(ErrorNumber::FileNotFound,
                           QStringLiteral("Datei nicht gefunden: Die Gesamtliste '%1' fehlt.").arg(shipped));
    if (!FileExists(shipped))
        throw RingtalError(ErrorNumber::PathFileAccess,
                           QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: Die Gesamtliste '%1' kann nicht "
                                          "gelesen werden.")
                                   .arg(shipped));
    const QString copy = userCopyPath();
    // An empty folder would put the copy into whatever the working folder is.
    if (m_userDataFolder.isEmpty())
        throw RingtalError(ErrorNumber::PathFileAccess,
                           QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: Die Gesamtliste kann nicht "
                                          "bearbeitet werden, und es gibt keinen Datenordner für eine Kopie."));
    // QFile::copy writes a temporary file and renames it: a copy that fails
    // halfway is never taken for the list later.
    if (!QDir().mkpath(m_userDataFolder) || !QFile::copy(shipped, copy))
        throw RingtalError(ErrorNumber::PathFileAccess,
                           QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: Die Gesamtliste kann nicht nach "
                                          "'%1' kopiert werden.")
                                   .arg(copy));
    // An installed file is often read-only, and copying may keep that mode
    // (CopyFile on Windows keeps the read-only attribute).
    QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}
