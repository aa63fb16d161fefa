#include "support/TestCompetition.h"

#include "support/CheckConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

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
    CheckConnection::exec(m_path, sql, values);
}

QVariant TestCompetition::scalar(const QString &sql, const QVariantList &values) const
{
    return CheckConnection::scalar(m_path, sql, values);
}

QList<QVariantMap> TestCompetition::rows(const QString &sql, const QVariantList &values) const
{
    return CheckConnection::rows(m_path, sql, values);
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
    exec(QStringLiteral("INSERT INTO Ergebnisse (%1) VALUES (%2)")
             .arg(columns.join(','), QStringList(columns.size(), QStringLiteral("?")).join(',')),
         values);
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
