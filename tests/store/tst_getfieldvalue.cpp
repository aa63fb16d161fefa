#include "Database.h"
#include "Recordset.h"
#include "RecordsetChecks.h"
#include "RingtalError.h"
#include "TestCompetition.h"
#include "tempModule.h"

#include <QtTest>

using namespace RecordsetChecks;

namespace {

// Field types the competition tables do not have, for the type-code rule.
const QString ExtraTable = QStringLiteral("CREATE TABLE Extra (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                          "Datum DATE, Aktiv BOOLEAN, Bild BLOB, Notiz MEMO)");

QVariant nul3()
{
    return QString(3, QChar(0));
}

} // namespace

class TestGetFieldValue : public QObject
{
    Q_OBJECT

private slots:
    void storedValues_data();
    void storedValues();
    void otherFieldTypes_data();
    void otherFieldTypes();
    void noCurrentRow_data();
    void noCurrentRow();
    void unknownField_data();
    void unknownField();
};

void TestGetFieldValue::storedValues_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("expected");

    const QVariant null;
    const QVariant emptyText = QString(QLatin1String(""));
    QTest::newRow("null name") << "Schuetze" << null << emptyText;
    QTest::newRow("null key") << "Sortierung" << null << emptyText;
    QTest::newRow("null start number") << "StartNr" << null << QVariant(0);
    QTest::newRow("null series") << "Serie" << null << QVariant(0);
    QTest::newRow("null place") << "Platz" << null << QVariant(0);
    QTest::newRow("three NUL characters") << "Schuetze" << nul3() << emptyText;
    QTest::newRow("one NUL character") << "Verein" << QVariant(QString(1, QChar(0))) << emptyText;
    QTest::newRow("NUL inside a text stays") << "Schuetze" << QVariant(QStringLiteral("a") + QChar(0) + "b")
                                            << QVariant(QStringLiteral("a") + QChar(0) + "b");
    QTest::newRow("empty text") << "Verein" << emptyText << emptyText;
    QTest::newRow("empty text in a number field") << "StartNr" << emptyText << QVariant(0);
    QTest::newRow("blank is a value") << "Schuetze" << QVariant(" ") << QVariant(" ");
    QTest::newRow("name with umlaut and apostrophe") << "Schuetze" << QVariant("Jürgen O'Neill")
                                                    << QVariant("Jürgen O'Neill");
    QTest::newRow("start number") << "StartNr" << QVariant(12) << QVariant(12);
    QTest::newRow("zero start number stays zero") << "StartNr" << QVariant(0) << QVariant(0);
    QTest::newRow("tenth value") << "Ring1" << QVariant(10.4) << QVariant(10.4);
    QTest::newRow("key of zeros stays text") << "Sortierung" << QVariant("000000000000") << QVariant("000000000000");
}

void TestGetFieldValue::storedValues()
{
    QFETCH(QString, field);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, expected);

    TestCompetition tc;
    tc.exec(QStringLiteral("INSERT INTO Ergebnisse (%1) VALUES (?)").arg(field), {stored});
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    QCOMPARE(rs->rowCount(), 1);
    if (stored.typeId() == QMetaType::QString)
        QCOMPARE(rs->value(field).toString().size(), stored.toString().size());

    QVariant actual;
    QCOMPARE(raisedNumber([&] { actual = GetFieldValue(*rs, field); }), 0);
    QByteArray message;
    QVERIFY2(sameValue(actual, expected, &message), message.constData());
}

void TestGetFieldValue::otherFieldTypes_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("expected");

    const QVariant null;
    const QVariant emptyText = QString(QLatin1String(""));
    QTest::newRow("null date") << "Datum" << null << QVariant(0);
    QTest::newRow("null yes/no") << "Aktiv" << null << QVariant(0);
    QTest::newRow("null binary") << "Bild" << null << emptyText;
    QTest::newRow("null memo") << "Notiz" << null << emptyText;
    QTest::newRow("memo of NUL characters") << "Notiz" << nul3() << emptyText;
    QTest::newRow("memo text") << "Notiz" << QVariant("Mannschaft Süd") << QVariant("Mannschaft Süd");
}

void TestGetFieldValue::otherFieldTypes()
{
    QFETCH(QString, field);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, expected);

    TestCompetition tc;
    tc.exec(ExtraTable);
    tc.exec(QStringLiteral("INSERT INTO Extra (%1) VALUES (?)").arg(field), {stored});
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(QStringLiteral("Select * from Extra"));
    QCOMPARE(rs->rowCount(), 1);

    QVariant actual;
    QCOMPARE(raisedNumber([&] { actual = GetFieldValue(*rs, field); }), 0);
    QByteArray message;
    QVERIFY2(sameValue(actual, expected, &message), message.constData());
}

void TestGetFieldValue::noCurrentRow_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QVariant>("expected");

    const QVariant emptyText = QString(QLatin1String(""));
    QTest::newRow("name in an empty set") << "Schuetze" << true << emptyText;
    QTest::newRow("start number in an empty set") << "StartNr" << true << QVariant(0);
    QTest::newRow("name past the last row") << "Schuetze" << false << emptyText;
    QTest::newRow("series past the last row") << "Serie" << false << QVariant(0);
}

void TestGetFieldValue::noCurrentRow()
{
    QFETCH(QString, field);
    QFETCH(bool, empty);
    QFETCH(QVariant, expected);

    TestCompetition tc;
    if (!empty)
        tc.addResult(5, QStringLiteral("Becker"), QStringLiteral("SV Tal"), 90.5, QStringLiteral("0905"));
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveTo(rs->rowCount());
    QVERIFY(rs->isEof());

    QVariant actual;
    QCOMPARE(raisedNumber([&] { actual = GetFieldValue(*rs, field); }), 0);
    QByteArray message;
    QVERIFY2(sameValue(actual, expected, &message), message.constData());
}

void TestGetFieldValue::unknownField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("empty");

    QTest::newRow("name written with umlaut") << "Schütze" << false;
    QTest::newRow("field of the title table") << "Bezeichnung" << false;
    QTest::newRow("unknown field in an empty set") << "Rang" << true;
    QTest::newRow("empty field name") << "" << false;
}

void TestGetFieldValue::unknownField()
{
    QFETCH(QString, field);
    QFETCH(bool, empty);

    TestCompetition tc;
    if (!empty)
        tc.addResult(5, QStringLiteral("Becker"), QStringLiteral("SV Tal"));
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);

    QCOMPARE(raisedNumber([&] { GetFieldValue(*rs, field); }), ErrorNumber::ItemNotFound);
}

QTEST_GUILESS_MAIN(TestGetFieldValue)
#include "tst_getfieldvalue.moc"
