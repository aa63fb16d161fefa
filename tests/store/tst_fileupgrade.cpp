#include "store/Database.h"
#include "store/FileUpgrade.h"
#include "support/OrdinaryUserFileAccess.h"
#include "support/RaisedError.h"
#include "support/TestCompetition.h"

#include <QFile>
#include <QtTest>

namespace {

const QString EarlierResults = QStringLiteral(
    "CREATE TABLE Ergebnisse (ID INTEGER PRIMARY KEY AUTOINCREMENT, Platz INTEGER, StartNr INTEGER, "
    "Schuetze TEXT, Verein TEXT%2, Serie REAL, Innenzehner INTEGER, Ring1 REAL, Ring2 REAL, Ring3 REAL, "
    "Ring4 REAL, Ring5 REAL, Ring6 REAL, Ring7 REAL, Ring8 REAL, Ring9 REAL, Ring10 REAL, Sortierung TEXT%1)");

QStringList rings()
{
    QStringList fields;
    for (int i = 1; i <= 10; ++i)
        fields << QStringLiteral("Ring%1").arg(i);
    return fields;
}

const QStringList EarlierFields =
    QStringList{"ID", "Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner"} + rings() + QStringList{"Sortierung"};

// A competition as an earlier version left it: three shooters typed, the
// third deleted again, so that the file's numbering is ahead of its rows.
void makeEarlier(const TestCompetition &tc, const QString &ownFields = {}, const QString &classField = {})
{
    tc.exec("DROP TABLE Ergebnisse");
    tc.exec("DROP TABLE Klassen");
    tc.exec("DROP TABLE Einstellungen");
    tc.exec(EarlierResults.arg(ownFields, classField));
    tc.exec("INSERT INTO Ergebnisse (Platz, StartNr, Schuetze, Verein, Serie, Innenzehner, Ring1, Ring2, Sortierung) "
            "VALUES (1, 7, 'O''Brien', 'SV Tell', 19.5, 1, 10, 9.5, '000019:5000010100000000000000')");
    tc.exec("INSERT INTO Ergebnisse (StartNr, Schuetze, Verein) VALUES (8, 'Kurz', NULL)");
    tc.exec("INSERT INTO Ergebnisse (StartNr, Schuetze) VALUES (9, 'Weg')");
    tc.exec("DELETE FROM Ergebnisse WHERE Schuetze = 'Weg'");
}

QStringList fieldsOf(const TestCompetition &tc, const QString &table)
{
    QStringList fields;
    for (const QVariantMap &row : tc.rows(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table}))
        fields << row.value("name").toString();
    return fields;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFileUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void upgradesAnEarlierCompetition_data();
    void upgradesAnEarlierCompetition();
    void readOnlyFileIsOpenedAsItIs();
    void failedUpgradeLeavesTheFileAsItWas();
};

void TestFileUpgrade::upgradesAnEarlierCompetition_data()
{
    QTest::addColumn<QString>("ownFields");
    QTest::addColumn<QString>("classField");
    QTest::addColumn<QStringList>("fields");

    QStringList today = EarlierFields;
    today.insert(5, "Klasse");
    today.insert(6, "Mannschaft");
    QTest::newRow("class and team beside the club") << QString() << QString() << today;
    QTest::newRow("a file with classes: the team beside the class") << QString() << ", Klasse TEXT" << today;
    QTest::newRow("a layout of its own keeps it, class and team at the end")
        << ", Bemerkung TEXT" << QString() << EarlierFields + QStringList{"Bemerkung", "Klasse", "Mannschaft"};
}

void TestFileUpgrade::upgradesAnEarlierCompetition()
{
    QFETCH(QString, ownFields);
    QFETCH(QString, classField);
    QFETCH(QStringList, fields);

    TestCompetition tc;
    makeEarlier(tc, ownFields, classField);
    if (!classField.isEmpty())
        tc.exec("UPDATE Ergebnisse SET Klasse = 'Damen' WHERE Schuetze = 'Kurz'");
    const auto kept = [&tc, &classField] {
        return tc.rows(QStringLiteral("SELECT %1%2 FROM Ergebnisse ORDER BY ID")
                           .arg(EarlierFields.join(", "), classField.isEmpty() ? "" : ", Klasse"));
    };
    const QList<QVariantMap> before = kept();
    {
        const auto db = Database::open(tc.path());
        QVERIFY(!FileUpgrade::hasTeams(*db));
        QCOMPARE(FileUpgrade::upgradeCompetition(*db), FileUpgrade::Outcome::Upgraded);
        QVERIFY(FileUpgrade::hasClasses(*db) && FileUpgrade::hasTeams(*db));
        QCOMPARE(FileUpgrade::upgradeCompetition(*db), FileUpgrade::Outcome::Current);
    }
    QCOMPARE(fieldsOf(tc, "Ergebnisse"), fields);
    QCOMPARE(kept(), before);
    QCOMPARE(fieldsOf(tc, "Klassen"),
             (QStringList{"ID", "Reihenfolge", "Name", "JahrgangVon", "JahrgangBis", "Geschlecht"}));
    QCOMPARE(fieldsOf(tc, "Einstellungen"), (QStringList{"Name", "Wert"}));
    // An ID once given stays given: the deleted third shooter's number too.
    tc.exec("INSERT INTO Ergebnisse (Schuetze, Klasse) VALUES ('Neu', 'Damen')");
    QCOMPARE(tc.scalar("SELECT ID FROM Ergebnisse WHERE Schuetze = 'Neu'").toInt(), 4);
}

void TestFileUpgrade::readOnlyFileIsOpenedAsItIs()
{
    TestCompetition tc;
    makeEarlier(tc);
    const QByteArray before = bytesOf(tc.path());
    QVERIFY(QFile::setPermissions(tc.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(tc.folder(), QFileDevice::Permissions(0x7555)));
    {
        const OrdinaryUserFileAccess asUser;
        if (asUser.rootNotDropped())
            QSKIP("running as root without the right to check files as another user");
        const auto db = Database::open(tc.path());
        QCOMPARE(FileUpgrade::upgradeCompetition(*db), FileUpgrade::Outcome::ReadOnly);
        QVERIFY(!FileUpgrade::hasClasses(*db));
    }
    QCOMPARE(bytesOf(tc.path()), before);
}

// Something in the way halfway through (a table of the name the copy needs):
// the file stays as the earlier version left it.
void TestFileUpgrade::failedUpgradeLeavesTheFileAsItWas()
{
    TestCompetition tc;
    makeEarlier(tc);
    tc.exec("CREATE TABLE Ergebnisse_Neu (x)");
    const QByteArray before = bytesOf(tc.path());
    {
        const auto db = Database::open(tc.path());
        QVERIFY(raisedError([&] { FileUpgrade::upgradeCompetition(*db); }).number != 0);
        QVERIFY(!db->inTransaction());
    }
    QCOMPARE(bytesOf(tc.path()), before);
}

QTEST_GUILESS_MAIN(TestFileUpgrade)
#include "tst_fileupgrade.moc"
