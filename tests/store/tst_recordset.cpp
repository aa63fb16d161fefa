// The recordset: order, new rows and their IDs, edits with type conversion,
// deleting, moving with a pending edit, requery, and the Null-safe field read.
#include "Database.h"
#include "Numbers.h"
#include "RaisedError.h"
#include "Recordset.h"
#include "RecordsetChecks.h"
#include "TestCompetition.h"
#include "tempModule.h"

#include <QtTest>

using namespace RecordsetChecks;

namespace {

const QString Name = QStringLiteral("Schuetze");
const QVariant null;

// Shooters in insertion (ID) order; the keys put them in a different set order:
// Becker (ID 2), Adler (ID 3), Cramer (ID 1).
void addThree(const TestCompetition &tc)
{
    insertShooter(tc, 30, QStringLiteral("Cramer"), QStringLiteral("0870"));
    insertShooter(tc, 10, QStringLiteral("Becker"), QStringLiteral("0950"));
    insertShooter(tc, 20, QStringLiteral("Adler"), QStringLiteral("0910"));
}

qint64 idOf(const TestCompetition &tc, const QString &name)
{
    return tc.scalar(QStringLiteral("SELECT ID FROM Ergebnisse WHERE Schuetze = ?"), {name}).toLongLong();
}

qint64 rowCountInTable(const TestCompetition &tc)
{
    return tc.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toLongLong();
}

} // namespace

class TestRecordset : public QObject
{
    Q_OBJECT

private slots:
    void dynasetOrder_data();
    void dynasetOrder();
    void addNewId_data();
    void addNewId();
    void addNewAppendsAtEnd();
    void addNewFailedUpdateKeepsBuffer();
    void editStores_data();
    void editStores();
    void editRejects_data();
    void editRejects();
    void deleteCurrent();
    void deleteWithoutCurrent();
    void moveStoresBuffer_data();
    void moveStoresBuffer();
    void moveWithBadBufferStays();
    void requery_data();
    void requery();
    void getFieldValue_data();
    void getFieldValue();
    void getFieldValueFails();
};

void TestRecordset::dynasetOrder_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("startNrs");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QVariantList>("keys");
    QTest::addColumn<QStringList>("expected");

    const QVariant empty = QString(QLatin1String(""));
    QTest::newRow("null key last although inserted first")
        << ByKey << QVariantList{1, 2, 3} << QStringList{"Neu", "Adler", "Becker"}
        << QVariantList{null, "000089020304", "000100001000"} << QStringList{"Becker", "Adler", "Neu"};
    QTest::newRow("empty key after all keys, then null key")
        << ByKey << QVariantList{1, 2, 3, 4} << QStringList{"Neu", "Leer", "Adler", "Becker"}
        << QVariantList{null, empty, "000089020304", "000000000000"} << QStringList{"Adler", "Becker", "Leer", "Neu"};
    QTest::newRow("keys compared as text, not as numbers")
        << ByKey << QVariantList{1, 2} << QStringList{"Zehn", "Neun"} << QVariantList{"10", "9"}
        << QStringList{"Neun", "Zehn"};
    QTest::newRow("start numbers numerically, zero before null")
        << ByStartNr << QVariantList{2, null, 10, 0, 9} << QStringList{"Zwei", "Ohne", "Zehn", "Null", "Neun"}
        << QVariantList{null, null, null, null, null} << QStringList{"Zehn", "Neun", "Zwei", "Null", "Ohne"};
}

void TestRecordset::dynasetOrder()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, startNrs);
    QFETCH(QStringList, names);
    QFETCH(QVariantList, keys);
    QFETCH(QStringList, expected);

    TestCompetition tc;
    for (int i = 0; i < names.size(); ++i)
        insertShooter(tc, startNrs.at(i), names.at(i), keys.at(i));
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(sql);
    QCOMPARE(RecordsetChecks::names(*rs), expected);
    QCOMPARE(rs->position(), 0);
    QCOMPARE(rs->value(Name).toString(), expected.first());
}

void TestRecordset::addNewId_data()
{
    QTest::addColumn<int>("existing");
    QTest::addColumn<QString>("before"); // what happens between filling and addNew
    QTest::addColumn<qint64>("expectedId");

    QTest::newRow("fresh template: first ID is 1") << 0 << "" << qint64(1);
    QTest::newRow("highest row deleted: its ID is not given again") << 3 << "delete 3" << qint64(4);
    QTest::newRow("highest row deleted through the recordset") << 3 << "recordset delete 3" << qint64(4);
    QTest::newRow("row added by another connection after opening") << 2 << "other add" << qint64(4);
}

void TestRecordset::addNewId()
{
    QFETCH(int, existing);
    QFETCH(QString, before);
    QFETCH(qint64, expectedId);

    TestCompetition tc;
    for (int i = 0; i < existing; ++i)
        insertShooter(tc, i + 1, QStringLiteral("Vorher %1").arg(i + 1), QStringLiteral("%1").arg(i, 4, 10, QChar('0')));
    if (before == QLatin1String("delete 3"))
        tc.exec(QStringLiteral("DELETE FROM Ergebnisse WHERE ID = 3"));
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    if (before == QLatin1String("recordset delete 3")) {
        rs->findFirst(QStringLiteral("ID = 3"));
        QVERIFY(!rs->noMatch());
        rs->deleteCurrent();
    } else if (before == QLatin1String("other add")) {
        insertShooter(tc, 100, QStringLiteral("Anderes Programm"));
    }

    rs->addNew();
    QCOMPARE(rs->value(QStringLiteral("ID")).toLongLong(), expectedId);
    rs->setValue(Name, QStringLiteral("Neu"));
    rs->update();
    QCOMPARE(idOf(tc, QStringLiteral("Neu")), expectedId);
    const int idField = rs->fieldIndex(QStringLiteral("ID"));
    QCOMPARE(rs->storedValue(rs->rowCount() - 1, idField).toLongLong(), expectedId);
}

// A new row stays at the end of the set, whatever its key, until a requery.
void TestRecordset::addNewAppendsAtEnd()
{
    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->addNew();
    rs->setValue(Name, QStringLiteral("Neu"));
    rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("0920"));
    rs->update();
    QCOMPARE(RecordsetChecks::names(*rs), (QStringList{"Becker", "Adler", "Cramer", "Neu"}));
    QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Becker", "Adler", "Neu"}));
    rs->requery();
    QCOMPARE(RecordsetChecks::names(*rs), (QStringList{"Becker", "Neu", "Adler", "Cramer"}));
}

// A new row that cannot be stored stays in the buffer with its ID and can be corrected.
void TestRecordset::addNewFailedUpdateKeepsBuffer()
{
    const QString field = QStringLiteral("Ring1");
    const QVariant bad(QStringLiteral("neun"));
    const int error = 13;
    const QVariant corrected(QStringLiteral("9,5"));
    const QString storageClass = QStringLiteral("real");
    const QVariant stored(9.5);

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->addNew();
    const qint64 id = rs->value(QStringLiteral("ID")).toLongLong();
    rs->setValue(QStringLiteral("Verein"), QStringLiteral("SV Tal"));
    rs->setValue(field, bad);

    QCOMPARE(raisedNumber([&] { rs->update(); }), error);
    QCOMPARE(rs->editMode(), Recordset::EditMode::AddNew);
    QCOMPARE(rs->value(field), bad);
    QCOMPARE(rs->value(QStringLiteral("Verein")).toString(), QStringLiteral("SV Tal"));
    QCOMPARE(rs->value(QStringLiteral("ID")).toLongLong(), id);
    QCOMPARE(rs->rowCount(), 3);
    QCOMPARE(rowCountInTable(tc), qint64(3));

    rs->setValue(field, corrected);
    QCOMPARE(raisedNumber([&] { rs->update(); }), 0);
    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(rs->rowCount(), 4);
    const StoredValue written = storedValue(tc, field, id);
    QCOMPARE(written.storageClass, storageClass);
    QByteArray message;
    QVERIFY2(sameValue(written.value, stored, &message), message.constData());
    QCOMPARE(storedValue(tc, QStringLiteral("Verein"), id).value.toString(), QStringLiteral("SV Tal"));
}

void TestRecordset::editStores_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QString>("storageClass");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("decimal comma into a shot value") << "Ring1" << QVariant("9,5") << "real" << QVariant(9.5);
    QTest::newRow("whole number text into a real field") << "Serie" << QVariant("98") << "real" << QVariant(98.0);
    QTest::newRow("digits into the start number") << "StartNr" << QVariant("12") << "integer" << QVariant(12);
    QTest::newRow("largest long") << "StartNr" << QVariant("2147483647") << "integer" << QVariant(2147483647);
    QTest::newRow("lowest long as a number") << "Innenzehner" << QVariant(qint64(-2147483648LL)) << "integer"
                                             << QVariant(qint64(-2147483648LL));
    QTest::newRow("empty text into the start number stores null") << "StartNr" << QVariant("") << "null" << null;
    QTest::newRow("empty text into a shot value stores null") << "Ring3" << QVariant("") << "null" << null;
    QTest::newRow("null into the name") << "Schuetze" << null << "null" << null;
    QTest::newRow("umlauts round-trip") << "Schuetze" << QVariant("Jürgen Öztürk-Weiß") << "text"
                                        << QVariant("Jürgen Öztürk-Weiß");
    QTest::newRow("255 umlauts count as 255 characters")
        << "Verein" << QVariant(QString(255, QChar(0xE4))) << "text" << QVariant(QString(255, QChar(0xE4)));
    QTest::newRow("key of digits stays text") << "Sortierung" << QVariant("000089020304") << "text"
                                              << QVariant("000089020304");
}

void TestRecordset::editStores()
{
    QFETCH(QString, field);
    QFETCH(QVariant, input);
    QFETCH(QString, storageClass);
    QFETCH(QVariant, expected);

    TestCompetition tc;
    addThree(tc);
    tc.exec(QStringLiteral("UPDATE Ergebnisse SET Ring1 = 7, Ring3 = 9, Serie = 30, Innenzehner = 1, Verein = 'Alt'"));
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveNext(); // Adler
    const qint64 id = idOf(tc, QStringLiteral("Adler"));
    const QVariant before = storedValue(tc, field, id).value;
    rs->edit();
    rs->setValue(field, input);
    // What is typed shows before it is stored.
    QCOMPARE(rs->value(field), input);
    QCOMPARE(storedValue(tc, field, id).value, before);
    QCOMPARE(raisedNumber([&] { rs->update(); }), 0);

    const StoredValue written = storedValue(tc, field, id);
    QCOMPARE(written.storageClass, storageClass);
    QByteArray message;
    QVERIFY2(sameValue(written.value, expected, &message), message.constData());
    QVERIFY2(sameValue(rs->value(field), expected, &message), message.constData());
    QCOMPARE(rs->position(), 1);
    // The other rows are untouched.
    QCOMPARE(tableNames(tc), (field == Name ? QStringList{"Cramer", "Becker", written.value.toString()}
                                            : QStringList{"Cramer", "Becker", "Adler"}));
}

void TestRecordset::editRejects_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");

    QTest::newRow("letters into the start number") << "StartNr" << QVariant("zwölf") << 13
                                                   << "Der Wert 'zwölf' passt nicht in das Feld 'StartNr'";
    QTest::newRow("two decimal commas") << "Ring1" << QVariant("9,5,1") << 13 << "passt nicht in das Feld 'Ring1'";
    QTest::newRow("3000000000 as number") << "Innenzehner" << QVariant(qint64(3000000000LL)) << 3349
                                          << "Die Zahl 3000000000 ist für das Feld 'Innenzehner' zu groß.";
    QTest::newRow("one above the largest long") << "StartNr" << QVariant("2147483648") << 3349 << "zu groß";
    QTest::newRow("one below the lowest long") << "StartNr" << QVariant("-2147483649") << 3349 << "zu groß";
    QTest::newRow("name of 256 characters") << "Schuetze" << QVariant(QString(256, QChar('x'))) << 3163
                                            << "Der Text für das Feld 'Schuetze' ist zu lang";
}

void TestRecordset::editRejects()
{
    QFETCH(QString, field);
    QFETCH(QVariant, input);
    QFETCH(int, error);
    QFETCH(QString, text);

    TestCompetition tc;
    addThree(tc);
    const qint64 id = idOf(tc, QStringLiteral("Becker"));
    const StoredValue before = storedValue(tc, field, id);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    const QVariant shownBefore = rs->value(field);
    rs->edit();
    rs->setValue(field, input);

    const RaisedError raised = raisedError([&] { rs->update(); });
    QCOMPARE(raised.number, error);
    QVERIFY2(raised.description.contains(text), qPrintable(raised.description));
    QCOMPARE(rs->editMode(), Recordset::EditMode::Edit);
    QCOMPARE(rs->value(field), input);
    QCOMPARE(rs->position(), 0);
    const StoredValue after = storedValue(tc, field, id);
    QCOMPARE(after.storageClass, before.storageClass);
    QCOMPARE(after.value, before.value);
    QCOMPARE(rs->storedValue(0, rs->fieldIndex(field)), shownBefore);

    // The row can be corrected and stored.
    rs->setValue(field, QStringLiteral("7"));
    QCOMPARE(raisedNumber([&] { rs->update(); }), 0);
    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(Numbers::cellText(storedValue(tc, field, id).value), QStringLiteral("7"));
}

// Deleting the first row and then the last, until none is left; the title stays.
void TestRecordset::deleteCurrent()
{
    TestCompetition tc;
    tc.setTitle(QStringLiteral("Königsschießen 2024"));
    addThree(tc);
    insertShooter(tc, 40, QStringLiteral("Dorn"), null);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->deleteCurrent();
    QCOMPARE(RecordsetChecks::names(*rs), (QStringList{"Adler", "Cramer", "Dorn"}));
    QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Adler", "Dorn"}));
    rs->moveLast();
    rs->deleteCurrent();
    QCOMPARE(RecordsetChecks::names(*rs), (QStringList{"Adler", "Cramer"}));
    QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Adler"}));
    for (int round = 0; round < 2; ++round) {
        rs->moveFirst();
        rs->deleteCurrent();
    }
    QCOMPARE(rs->rowCount(), 0);
    QVERIFY(rs->isEof());
    QCOMPARE(rowCountInTable(tc), qint64(0));
    QCOMPARE(tc.scalar(QStringLiteral("SELECT Bezeichnung FROM Wettkampf")).toString(),
             QStringLiteral("Königsschießen 2024"));
}

void TestRecordset::deleteWithoutCurrent()
{
    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveTo(rs->rowCount());
    QVERIFY(rs->isEof());
    const QStringList tableBefore = tableNames(tc);

    const RaisedError raised = raisedError([&] { rs->deleteCurrent(); });
    QCOMPARE(raised.number, 3021);
    QCOMPARE(raised.description, QStringLiteral("Kein aktueller Datensatz."));
    QCOMPARE(RecordsetChecks::names(*rs), (QStringList{"Becker", "Adler", "Cramer"}));
    QCOMPARE(tableNames(tc), tableBefore);
    QVERIFY(rs->isEof());
}

void TestRecordset::moveStoresBuffer_data()
{
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("expectedPosition");
    QTest::addColumn<QStringList>("expectedTable");

    const QStringList three{"Cramer", "Becker", "Adler"};
    QTest::newRow("edited row, move to the next") << "edit" << "next" << 1 << QStringList{"Cramer", "Bäcker", "Adler"};
    QTest::newRow("edited row, find first elsewhere") << "edit" << "find" << 2
                                                      << QStringList{"Cramer", "Bäcker", "Adler"};
    QTest::newRow("new row, move to the first") << "new" << "first" << 0
                                                << QStringList{"Cramer", "Becker", "Adler", "Bäcker"};
    QTest::newRow("new row without typed values is not stored") << "untouched new" << "first" << 0 << three;
    QTest::newRow("opened for edit but unchanged") << "untouched edit" << "next" << 1 << three;
}

void TestRecordset::moveStoresBuffer()
{
    QFETCH(QString, buffer);
    QFETCH(QString, move);
    QFETCH(int, expectedPosition);
    QFETCH(QStringList, expectedTable);

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    if (buffer.endsWith(QLatin1String("new")))
        rs->addNew();
    else
        rs->edit();
    if (!buffer.startsWith(QLatin1String("untouched")))
        rs->setValue(Name, QStringLiteral("Bäcker"));

    if (move == QLatin1String("next"))
        rs->moveNext();
    else if (move == QLatin1String("first"))
        rs->moveFirst();
    else
        rs->findFirst(QStringLiteral("Schuetze like 'C*'"));

    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(rs->position(), expectedPosition);
    QCOMPARE(tableNames(tc), expectedTable);
    QCOMPARE(rs->rowCount(), int(expectedTable.size()));
}

// A new row with an overlong name cannot be stored: the move does not happen.
void TestRecordset::moveWithBadBufferStays()
{
    const bool newRow = true;
    const QString field = Name;
    const QVariant value(QString(300, QChar('y')));
    const int error = 3163;

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveTo(1);
    if (newRow)
        rs->addNew();
    else
        rs->edit();
    rs->setValue(field, value);

    QCOMPARE(raisedNumber([&] { rs->moveFirst(); }), error);
    QCOMPARE(rs->position(), 1);
    QCOMPARE(rs->editMode(), newRow ? Recordset::EditMode::AddNew : Recordset::EditMode::Edit);
    QCOMPARE(rs->value(field), value);
    QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Becker", "Adler"}));
}

void TestRecordset::requery_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("pending new row stored first") << "add pending" << QStringList{"Neu", "Becker", "Adler", "Cramer"};
    QTest::newRow("pending edit stored first") << "edit pending" << QStringList{"Cramer", "Becker", "Adler"};
    QTest::newRow("key changed by another connection") << "other edit" << QStringList{"Cramer", "Becker", "Adler"};
    QTest::newRow("row added by another connection") << "other add" << QStringList{"Becker", "Adler", "Dorn", "Cramer"};
    QTest::newRow("row deleted by another connection") << "other delete" << QStringList{"Becker", "Cramer"};
}

void TestRecordset::requery()
{
    QFETCH(QString, action);
    QFETCH(QStringList, expected);

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveTo(2); // Cramer
    if (action == QLatin1String("add pending")) {
        rs->addNew();
        rs->setValue(Name, QStringLiteral("Neu"));
        rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("0990"));
    } else if (action == QLatin1String("edit pending")) {
        rs->edit();
        rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("0990"));
    } else if (action == QLatin1String("other edit")) {
        tc.exec(QStringLiteral("UPDATE Ergebnisse SET Sortierung = '0990' WHERE Schuetze = 'Cramer'"));
    } else if (action == QLatin1String("other add")) {
        insertShooter(tc, 40, QStringLiteral("Dorn"), QStringLiteral("0880"));
    } else {
        tc.exec(QStringLiteral("DELETE FROM Ergebnisse WHERE Schuetze = 'Adler'"));
    }

    rs->requery();
    QCOMPARE(RecordsetChecks::names(*rs), expected);
    QCOMPARE(rs->position(), 0);
    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(rowCountInTable(tc), qint64(expected.size()));
}

// Null, an empty text and a text of NUL characters read as the empty text in
// text, memo and binary fields, as 0 in the others; past the last row too.
void TestRecordset::getFieldValue_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("stored"); // Null for a field of a set without current row
    QTest::addColumn<QVariant>("expected");

    const QVariant emptyText = QString(QLatin1String(""));
    const QVariant nul3 = QString(3, QChar(0));
    QTest::newRow("null name") << "Schuetze" << null << emptyText;
    QTest::newRow("null start number") << "StartNr" << null << QVariant(0);
    QTest::newRow("three NUL characters") << "Verein" << nul3 << emptyText;
    QTest::newRow("NUL inside a text stays") << "Schuetze" << QVariant(QStringLiteral("a") + QChar(0) + "b")
                                            << QVariant(QStringLiteral("a") + QChar(0) + "b");
    QTest::newRow("empty text in a number field") << "StartNr" << emptyText << QVariant(0);
    QTest::newRow("blank is a value") << "Schuetze" << QVariant(" ") << QVariant(" ");
    QTest::newRow("tenth value") << "Ring1" << QVariant(10.4) << QVariant(10.4);
    QTest::newRow("key of zeros stays text") << "Sortierung" << QVariant("000000000000") << QVariant("000000000000");
    QTest::newRow("null date") << "Extra.Datum" << null << QVariant(0);
    QTest::newRow("null yes/no") << "Extra.Aktiv" << null << QVariant(0);
    QTest::newRow("null binary") << "Extra.Bild" << null << emptyText;
    QTest::newRow("memo of NUL characters") << "Extra.Notiz" << nul3 << emptyText;
    QTest::newRow("name past the last row") << "past end.Schuetze" << null << emptyText;
    QTest::newRow("series past the last row") << "past end.Serie" << null << QVariant(0);
}

void TestRecordset::getFieldValue()
{
    QFETCH(QString, field);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, expected);

    TestCompetition tc;
    QString sql = ByKey;
    const QString table = field.section(QLatin1Char('.'), -2, -2);
    field = field.section(QLatin1Char('.'), -1);
    if (table == QLatin1String("Extra")) {
        // Field types the competition tables do not have.
        tc.exec(QStringLiteral("CREATE TABLE Extra (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                               "Datum DATE, Aktiv BOOLEAN, Bild BLOB, Notiz MEMO)"));
        tc.exec(QStringLiteral("INSERT INTO Extra (%1) VALUES (?)").arg(field), {stored});
        sql = QStringLiteral("Select * from Extra");
    } else if (table.isEmpty()) {
        tc.exec(QStringLiteral("INSERT INTO Ergebnisse (%1) VALUES (?)").arg(field), {stored});
    } else {
        tc.addResult(5, QStringLiteral("Becker"), QStringLiteral("SV Tal"), 90.5, QStringLiteral("0905"));
    }
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(sql);
    if (!table.isEmpty() && table != QLatin1String("Extra"))
        rs->moveTo(rs->rowCount());

    QVariant actual;
    QCOMPARE(raisedNumber([&] { actual = GetFieldValue(*rs, field); }), 0);
    QByteArray message;
    QVERIFY2(sameValue(actual, expected, &message), message.constData());
}

void TestRecordset::getFieldValueFails()
{
    TestCompetition tc;
    tc.addResult(5, QStringLiteral("Becker"), QStringLiteral("SV Tal"));
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    for (const QString &field : {QStringLiteral("Schütze"), QStringLiteral("Bezeichnung")}) {
        const RaisedError raised = raisedError([&] { GetFieldValue(*rs, field); });
        QCOMPARE(raised.number, 3265);
        QCOMPARE(raised.description, QStringLiteral("Das Feld '%1' gibt es in dieser Tabelle nicht.").arg(field));
    }
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
