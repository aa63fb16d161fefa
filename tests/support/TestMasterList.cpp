#include "support/TestMasterList.h"

#include "support/TestCompetition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

int g_masterConnections = 0;

template <typename Body>
void withMasterFile(const QString &file, Body body)
{
    // QSQLITE would create a missing file; a test must not find a list it made itself.
    if (!QFileInfo::exists(file))
        qFatal("no master file at %s", qPrintable(file));
    const QString name = QStringLiteral("test-master-%1").arg(++g_masterConnections);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(file));
        body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QString nullable(const QVariant &value)
{
    return value.isNull() ? QStringLiteral("(null)") : value.toString();
}

} // namespace

TestMasterList::TestMasterList()
{
    if (!QDir().mkpath(programFolder()))
        qFatal("cannot make %s", qPrintable(programFolder()));
    if (!QFile::copy(TestCompetition::masterPath(), path()))
        qFatal("cannot copy the master file to %s", qPrintable(path()));
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

TestMasterList::~TestMasterList() = default;

QString TestMasterList::programFolder() const
{
    return m_dir.path() + QStringLiteral("/Programm");
}

QString TestMasterList::userFolder() const
{
    return m_dir.path() + QStringLiteral("/Benutzer/Ringtal");
}

QString TestMasterList::path() const
{
    return programFolder() + QStringLiteral("/schuetzen.mdb");
}

QString TestMasterList::userCopyPath() const
{
    return userFolder() + QStringLiteral("/schuetzen.mdb");
}

void TestMasterList::addShooter(const QString &file, const QVariant &name, const QVariant &club)
{
    withMasterFile(file, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO Schuetzen (Schuetze, Verein) VALUES (?, ?)"));
        query.addBindValue(name);
        query.addBindValue(club);
        if (!query.exec())
            qFatal("insert failed: %s", qPrintable(query.lastError().text()));
    });
}

QStringList TestMasterList::shooters(const QString &file)
{
    QStringList result;
    withMasterFile(file, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT Schuetze, Verein FROM Schuetzen ORDER BY ID")))
            qFatal("read failed: %s", qPrintable(query.lastError().text()));
        while (query.next())
            result << nullable(query.value(0)) + QLatin1Char('|') + nullable(query.value(1));
    });
    return result;
}
