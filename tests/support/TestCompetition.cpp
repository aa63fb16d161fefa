#include "support/TestCompetition.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

int g_checkConnections = 0;

// Runs one statement on a connection that lives only for this call.
template <typename Body>
void withConnection(const QString &path, Body body)
{
    const QString name = QStringLiteral("test-check-%1").arg(++g_checkConnections);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QSqlQuery run(QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery query(db);
    if (!query.prepare(sql))
        qFatal("prepare failed: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec())
        qFatal("exec failed: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return query;
}

} // namespace

// The build's pristine copies: the ones next to the program may hold what a
// developer typed while trying the program.
QString TestCompetition::templatePath()
{
    return QStringLiteral(RINGTAL_PRISTINE_DATA_DIR "/wkvorlage.mdb");
}

QString TestCompetition::masterPath()
{
    return QStringLiteral(RINGTAL_PRISTINE_DATA_DIR "/schuetzen.mdb");
}

TestCompetition::TestCompetition(const QString &fileName)
    : m_path(m_dir.path() + QLatin1Char('/') + fileName)
{
    // A file name may bring its own folders, for paths with blanks or umlauts in folder names.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!QFile::copy(templatePath(), m_path))
        qFatal("cannot copy the template to %s", qPrintable(m_path));
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

TestCompetition::~TestCompetition() = default;

void TestCompetition::exec(const QString &sql, const QVariantList &values) const
{
    withConnection(m_path, [&](QSqlDatabase &db) { run(db, sql, values); });
}

QVariant TestCompetition::scalar(const QString &sql, const QVariantList &values) const
{
    QVariant result;
    withConnection(m_path, [&](QSqlDatabase &db) {
        QSqlQuery q = run(db, sql, values);
        if (q.next())
            result = q.value(0);
    });
    return result;
}

QList<QVariantMap> TestCompetition::rows(const QString &sql, const QVariantList &values) const
{
    QList<QVariantMap> result;
    withConnection(m_path, [&](QSqlDatabase &db) {
        QSqlQuery q = run(db, sql, values);
        while (q.next()) {
            QVariantMap row;
            const QSqlRecord r = q.record();
            for (int i = 0; i < r.count(); ++i)
                row.insert(r.fieldName(i), q.value(i));
            result << row;
        }
    });
    return result;
}

void TestCompetition::setTitle(const QString &title) const
{
    exec(QStringLiteral("DELETE FROM Wettkampf"));
    exec(QStringLiteral("INSERT INTO Wettkampf (Bezeichnung) VALUES (?)"), {title});
}

void TestCompetition::addResult(int startNr, const QString &name, const QString &club, const QVariant &serie,
                                const QString &key, const QVariantList &rings) const
{
    QStringList columns{QStringLiteral("StartNr"), QStringLiteral("Schuetze"), QStringLiteral("Verein"),
                        QStringLiteral("Serie"), QStringLiteral("Sortierung")};
    QVariantList values{startNr, name, club, serie, key.isNull() ? QVariant() : QVariant(key)};
    for (int i = 0; i < rings.size() && i < 10; ++i) {
        columns << QStringLiteral("Ring%1").arg(i + 1);
        values << rings.at(i);
    }
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    exec(QStringLiteral("INSERT INTO Ergebnisse (%1) VALUES (%2)").arg(columns.join(','), marks.join(',')), values);
}

TempSettings::TempSettings()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
}

TempSettings::~TempSettings() = default;

namespace {
QSettings testStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ringtal"),
                     QStringLiteral("Ringtal"));
}
} // namespace

QString TempSettings::read(const QString &section, const QString &key) const
{
    return testStore().value(section + QLatin1Char('/') + key).toString();
}

bool TempSettings::contains(const QString &section, const QString &key) const
{
    return testStore().contains(section + QLatin1Char('/') + key);
}

void TempSettings::write(const QString &section, const QString &key, const QString &value) const
{
    QSettings store = testStore();
    store.setValue(section + QLatin1Char('/') + key, value);
    store.sync();
}
