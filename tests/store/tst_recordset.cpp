// The recordset: order, new rows and their IDs, edits with type conversion,
// deleting, moving with a pending edit, requery, the Null-safe field read, and
// storing one field of every row at once, as the ranking does with the places.
#include "store/Database.h"
#include "store/Numbers.h"
#include "store/Recordset.h"
#include "store/tempModule.h"
#include "support/RaisedError.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"

#include <QtTest>

using namespace RecordsetChecks;

namespace {

const QString Name = QStringLiteral("Schuetze");
const QString ByStartNrUp = QStringLiteral("Select * from Ergebnisse order by StartNr");
const QVariant null;

qint64 idOf(const TestCompetition &tc, const QString &name)
{
    return tc.scalar(QStringLiteral("SELECT ID FROM Ergebnisse WHERE Schuetze = ?"), {name}).toLongLong();
}

qint64 rowCountInTable(const TestCompetition &tc)
{
    return tc.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toLongLong();
}

QVariantList column(const TestCompetition &tc, const QString &sql)
{
    QVariantList result;
    for (const QVariantMap &row : tc.rows(sql))
        result << row.first();
    return result;
}

std::vector<QVariant> places(int count)
{
    std::vector<QVariant> result;
    for (int i = 1; i <= count; ++i)
        result.emplace_back(i);
    return result;
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
    void editStores_data();
    void editStores();
    void editRejects_data();
    void editRejects();
    void deleteCurrent();
    void moveStoresBuffer_data();
    void moveStoresBuffer();
    void requery_data();
    void requery();
    void getFieldValue_data();
    void getFieldValue();
    void getFieldValueFails();

    void storeFieldWritesOnlyWhatChanged_data();
    void storeFieldWritesOnlyWhatChanged();
    void storeFieldFailureKeepsEarlierWrites();
    void storeFieldEditUnderWay();
    void storeFieldRefused_data();
    void storeFieldRefused();
    void searchAfterTheRowsChange_data();
    void searchAfterTheRowsChange();
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
    auto rs = Database::open(tc.path())->openRecordset(sql);
    QCOMPARE(RecordsetChecks::names(*rs), expected);
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
    // Two programs on one file: the number is the file's to give when the row is stored.
    QTest::newRow("row added by another connection while the new row is typed") << 2 << "other add while typing"
                                                                                << qint64(4);
    QTest::newRow("ID that is not the row's own number") << 3 << "plain ID column" << qint64(4);
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
    if (before == QLatin1String("plain ID column")) {
        tc.exec(QStringLiteral("CREATE TABLE Kopie AS SELECT * FROM Ergebnisse"));
        tc.exec(QStringLiteral("DROP TABLE Ergebnisse"));
        tc.exec(QStringLiteral("ALTER TABLE Kopie RENAME TO Ergebnisse"));
    }
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
    rs->setValue(Name, QStringLiteral("Neu"));
    if (before == QLatin1String("other add while typing"))
        insertShooter(tc, 100, QStringLiteral("Anderes Programm"));
    rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("9999"));
    rs->update();
    QCOMPARE(idOf(tc, QStringLiteral("Neu")), expectedId);
    // The new row stays at the end of the set, whatever its key, until a requery.
    QCOMPARE(rs->storedValue(rs->rowCount() - 1, rs->fieldIndex(QStringLiteral("ID"))).toLongLong(), expectedId);
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
    QTest::newRow("null into the name") << "Schuetze" << null << "null" << null;
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
    tc.exec(QStringLiteral("UPDATE Ergebnisse SET Ring1 = 7, Serie = 30, Innenzehner = 1, Verein = 'Alt'"));
    auto rs = Database::open(tc.path())->openRecordset(ByKey);
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
    RINGTAL_COMPARE_VALUE(written.value, expected);
    RINGTAL_COMPARE_VALUE(rs->value(field), expected);
    QCOMPARE(rs->position(), 1);
    // The other rows are untouched.
    QCOMPARE(tableNames(tc), (field == Name ? QStringList{"Cramer", "Becker", ""} : QStringList{"Cramer", "Becker", "Adler"}));
}

void TestRecordset::editRejects_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("newRow"); // else Becker edited

    QTest::newRow("letters into the start number") << "StartNr" << QVariant("zwölf") << 13
                                                   << "Der Wert 'zwölf' passt nicht in das Feld 'StartNr'" << false;
    QTest::newRow("a word as shot value of a new row") << "Ring1" << QVariant("neun") << 13
                                                       << "passt nicht in das Feld 'Ring1'" << true;
    const QString longLimits = QStringLiteral(": Erlaubt sind ganze Zahlen von -2147483648 bis 2147483647.");
    QTest::newRow("3000000000 as number") << "Innenzehner" << QVariant(qint64(3000000000LL)) << 3349
                                          << "Die Zahl 3000000000 ist für das Feld 'Innenzehner' zu groß" + longLimits
                                          << false;
    QTest::newRow("one above the largest long") << "StartNr" << QVariant("2147483648") << 3349
                                                << "' zu groß" + longLimits << false;
    QTest::newRow("one below the lowest long") << "StartNr" << QVariant("-2147483649") << 3349
                                               << "Die Zahl -2147483649 ist für das Feld 'StartNr' zu klein" + longLimits
                                               << false;
    QTest::newRow("name of 256 characters") << "Schuetze" << QVariant(QString(256, QChar('x'))) << 3163
                                            << "Der Text für das Feld 'Schuetze' ist zu lang" << false;
}

void TestRecordset::editRejects()
{
    QFETCH(QString, field);
    QFETCH(QVariant, input);
    QFETCH(int, error);
    QFETCH(QString, text);
    QFETCH(bool, newRow);
    TestCompetition tc;
    addThree(tc);
    // A new row keeps the ID it was given when its update fails.
    const qint64 id = newRow ? 4 : idOf(tc, QStringLiteral("Becker"));
    const StoredValue before = storedValue(tc, field, id);
    auto rs = Database::open(tc.path())->openRecordset(ByKey);
    const QVariant shownBefore = rs->value(field);
    if (newRow)
        rs->addNew();
    else
        rs->edit();
    rs->setValue(field, input);

    const RaisedError raised = raisedError([&] { rs->update(); });
    QCOMPARE(raised.number, error);
    QVERIFY2(raised.description.contains(text), qPrintable(raised.description));
    QCOMPARE(rs->editMode(), newRow ? Recordset::EditMode::AddNew : Recordset::EditMode::Edit);
    QCOMPARE(rs->value(field), input);
    QCOMPARE(storedValue(tc, field, id).storageClass, before.storageClass);
    QCOMPARE(storedValue(tc, field, id).value, before.value);
    QCOMPARE(rs->storedValue(0, rs->fieldIndex(field)), shownBefore);
    QCOMPARE(rs->rowCount(), 3);
    QCOMPARE(rowCountInTable(tc), qint64(3));

    // The row can be corrected and stored.
    rs->setValue(field, QStringLiteral("7"));
    QCOMPARE(raisedNumber([&] { rs->update(); }), 0);
    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(Numbers::cellText(storedValue(tc, field, id).value), QStringLiteral("7"));
}

// Deleting the first row and then the last, until none is left; the title
// stays. Without a current row there is nothing to delete.
void TestRecordset::deleteCurrent()
{
    TestCompetition tc;
    tc.setTitle(QStringLiteral("Königsschießen 2024"));
    addThree(tc);
    insertShooter(tc, 40, QStringLiteral("Dorn"), null);
    auto rs = Database::open(tc.path())->openRecordset(ByKey);
    rs->deleteCurrent();
    QCOMPARE(RecordsetChecks::names(*rs), (QStringList{"Adler", "Cramer", "Dorn"}));
    QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Adler", "Dorn"}));
    rs->moveLast();
    rs->deleteCurrent();
    QCOMPARE(RecordsetChecks::names(*rs), (QStringList{"Adler", "Cramer"}));
    QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Adler"}));
    rs->moveTo(rs->rowCount());
    QVERIFY(rs->isEof());
    const RaisedError raised = raisedError([&] { rs->deleteCurrent(); });
    QCOMPARE(raised.number, 3021);
    QCOMPARE(raised.description, QStringLiteral("Kein aktueller Datensatz."));
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

// A move stores the pending row first; a row that cannot be stored stops the move.
void TestRecordset::moveStoresBuffer_data()
{
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("expectedPosition");
    QTest::addColumn<QStringList>("expectedTable");

    const QStringList three{"Cramer", "Becker", "Adler"};
    QTest::newRow("edited row, move to the next") << "edit" << "next" << 0 << 1
                                                  << QStringList{"Cramer", "Bäcker", "Adler"};
    QTest::newRow("edited row, find first elsewhere") << "edit" << "find" << 0 << 2
                                                      << QStringList{"Cramer", "Bäcker", "Adler"};
    QTest::newRow("new row, move to the first") << "new" << "first" << 0 << 0
                                                << QStringList{"Cramer", "Becker", "Adler", "Bäcker"};
    QTest::newRow("new row without typed values is not stored") << "untouched new" << "first" << 0 << 0 << three;
    QTest::newRow("opened for edit but unchanged") << "untouched edit" << "next" << 0 << 1 << three;
    QTest::newRow("new row with an overlong name stays") << "overlong new" << "next" << 3163 << 0 << three;
}

void TestRecordset::moveStoresBuffer()
{
    QFETCH(QString, buffer);
    QFETCH(QString, move);
    QFETCH(int, error);
    QFETCH(int, expectedPosition);
    QFETCH(QStringList, expectedTable);
    TestCompetition tc;
    addThree(tc);
    auto rs = Database::open(tc.path())->openRecordset(ByKey);
    if (buffer.endsWith(QLatin1String("new")))
        rs->addNew();
    else
        rs->edit();
    const QString typed = buffer.startsWith(QLatin1String("overlong")) ? QString(300, QChar('y')) : QStringLiteral("Bäcker");
    if (!buffer.startsWith(QLatin1String("untouched")))
        rs->setValue(Name, typed);

    QCOMPARE(raisedNumber([&] {
                 if (move == QLatin1String("next"))
                     rs->moveNext();
                 else if (move == QLatin1String("first"))
                     rs->moveFirst();
                 else
                     rs->findFirst(QStringLiteral("Schuetze like 'C*'"));
             }),
             error);
    QCOMPARE(rs->editMode(), error ? Recordset::EditMode::AddNew : Recordset::EditMode::None);
    if (error)
        QCOMPARE(rs->value(Name).toString(), typed);
    QCOMPARE(rs->position(), expectedPosition);
    QCOMPARE(tableNames(tc), expectedTable);
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
    auto rs = Database::open(tc.path())->openRecordset(ByKey);
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
    QTest::newRow("key of zeros stays text") << "Sortierung" << QVariant("000000000000") << QVariant("000000000000");
    QTest::newRow("null date") << "Extra.Datum" << null << QVariant(0);
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
    auto rs = Database::open(tc.path())->openRecordset(sql);
    if (!table.isEmpty() && table != QLatin1String("Extra"))
        rs->moveTo(rs->rowCount());
    QVariant actual;
    QCOMPARE(raisedNumber([&] { actual = GetFieldValue(*rs, field); }), 0);
    RINGTAL_COMPARE_VALUE(actual, expected);
}

void TestRecordset::getFieldValueFails()
{
    TestCompetition tc;
    tc.addResult(5, QStringLiteral("Becker"), QStringLiteral("SV Tal"));
    auto rs = Database::open(tc.path())->openRecordset(ByKey);
    for (const QString &field : {QStringLiteral("Schütze"), QStringLiteral("Bezeichnung")}) {
        const RaisedError raised = raisedError([&] { GetFieldValue(*rs, field); });
        QCOMPARE(raised.number, 3265);
        QCOMPARE(raised.description, QStringLiteral("Das Feld '%1' gibt es in dieser Tabelle nicht.").arg(field));
    }
}

// ---------------------------------------------------------------- storeField

// Only rows whose value changes are written, as SQLite's total_changes() of
// the connection counts them.
void TestRecordset::storeFieldWritesOnlyWhatChanged_data()
{
    QTest::addColumn<QVariantList>("before"); // places in start number order
    QTest::addColumn<QVariantList>("after");
    QTest::addColumn<int>("written"); // rows

    QTest::newRow("one moved shooter among right places")
        << QVariantList{1, 2, 2, 4, 5} << QVariantList{1, 2, 3, 4, 5} << 1;
    QTest::newRow("nothing changed writes nothing") << QVariantList{1, 2} << QVariantList{1, 2} << 0;
    QTest::newRow("Null is no place 0, and 0 is no Null")
        << QVariantList{null, 0} << QVariantList{0, null} << 2;
    const std::vector<QVariant> threeHundred = places(300);
    QTest::newRow("300 new places, more than one statement takes")
        << QVariantList(300, null) << QVariantList(threeHundred.begin(), threeHundred.end()) << 300;
}

void TestRecordset::storeFieldWritesOnlyWhatChanged()
{
    QFETCH(QVariantList, before);
    QFETCH(QVariantList, after);
    QFETCH(int, written);
    TestCompetition tc;
    for (int i = 0; i < before.size(); ++i) {
        tc.addResult(i + 1, QStringLiteral("S%1").arg(i + 1), QStringLiteral("V"));
        tc.exec(QStringLiteral("UPDATE Ergebnisse SET Platz = ? WHERE StartNr = ?"), {before.at(i), i + 1});
    }
    const std::shared_ptr<Database> database = Database::open(tc.path());
    auto rs = database->openRecordset(ByStartNrUp);
    rs->moveTo(1);
    const int place = rs->fieldIndex(QStringLiteral("Platz"));
    rs->storeField(place, std::vector<QVariant>(after.begin(), after.end()));

    QCOMPARE(database->scalar(QStringLiteral("SELECT total_changes()")).toInt(), written);
    QCOMPARE(rs->position(), 1);
    const QVariantList inFile = column(tc, QStringLiteral("SELECT Platz FROM Ergebnisse ORDER BY StartNr"));
    for (int i = 0; i < after.size(); ++i) {
        RINGTAL_COMPARE_VALUE(inFile.at(i), after.at(i));
        RINGTAL_COMPARE_VALUE(rs->storedValue(i, place), after.at(i));
    }
}

// The file refuses one row: what was stored before stays, and the rows in
// memory say what the file holds, row for row.
void TestRecordset::storeFieldFailureKeepsEarlierWrites()
{
    TestCompetition tc;
    tc.exec(QStringLiteral("CREATE TABLE Plaetze (ID INTEGER PRIMARY KEY, Platz INTEGER CHECK (Platz <> 200))"));
    for (int i = 1; i <= 300; ++i)
        tc.exec(QStringLiteral("INSERT INTO Plaetze (ID) VALUES (?)"), {i});
    auto rs = Database::open(tc.path())->openRecordset(QStringLiteral("Select * from Plaetze order by ID"));
    const int place = rs->fieldIndex(QStringLiteral("Platz"));
    QVERIFY(raisedNumber([&] { rs->storeField(place, places(300)); }) > 0);

    const QVariantList inFile = column(tc, QStringLiteral("SELECT Platz FROM Plaetze ORDER BY ID"));
    int stored = 0;
    while (stored < inFile.size() && !inFile.at(stored).isNull())
        ++stored;
    QVERIFY2(stored > 0, "nothing written before the refused row stayed");
    QVERIFY(stored < 200);
    for (int i = 0; i < inFile.size(); ++i) {
        QCOMPARE(inFile.at(i).isNull(), i >= stored);
        RINGTAL_COMPARE_VALUE(rs->storedValue(i, place), inFile.at(i));
    }
}

// A row being edited shows the new value of a field it did not change, keeps
// its own change of the field, and stores its own changes afterwards.
void TestRecordset::storeFieldEditUnderWay()
{
    TestCompetition tc;
    tc.addResult(1, QStringLiteral("Anna"), QStringLiteral("V"));
    tc.addResult(2, QStringLiteral("Bernd"), QStringLiteral("V"));
    auto rs = Database::open(tc.path())->openRecordset(ByStartNrUp);
    const int place = rs->fieldIndex(QStringLiteral("Platz"));
    rs->edit();
    rs->setValue(Name, QStringLiteral("Anna Berg"));
    rs->storeField(place, {7, 8});
    QCOMPARE(rs->bufferValue(place).toInt(), 7);
    QVERIFY(rs->isDirty());
    rs->update();
    QCOMPARE(tc.rows(QStringLiteral("SELECT Schuetze, Platz FROM Ergebnisse WHERE StartNr = 1")).front(),
             (QVariantMap{{Name, QStringLiteral("Anna Berg")}, {QStringLiteral("Platz"), 7}}));

    rs->moveTo(1);
    rs->edit();
    rs->setValue(place, 1);
    rs->storeField(place, {7, 8});
    QCOMPARE(rs->bufferValue(place).toInt(), 1);
    rs->update();
    QCOMPARE(tc.scalar(QStringLiteral("SELECT Platz FROM Ergebnisse WHERE StartNr = 2")).toInt(), 1);
}

void TestRecordset::storeFieldRefused_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("values");
    QTest::addColumn<int>("error");
    QTest::newRow("fewer values than rows") << ByStartNrUp << 1 << 9;
    QTest::newRow("more values than rows") << ByStartNrUp << 3 << 9;
    QTest::newRow("a query that names no table") << QStringLiteral("Select 1 AS Platz UNION Select 2") << 2 << 3027;
}

void TestRecordset::storeFieldRefused()
{
    QFETCH(QString, sql);
    QFETCH(int, values);
    QFETCH(int, error);
    TestCompetition tc;
    tc.addResult(1, QStringLiteral("Anna"), QStringLiteral("V"));
    tc.addResult(2, QStringLiteral("Bernd"), QStringLiteral("V"));
    auto rs = Database::open(tc.path())->openRecordset(sql);
    const int place = rs->fieldIndex(QStringLiteral("Platz"));
    QCOMPARE(raisedNumber([&] { rs->storeField(place, std::vector<QVariant>(size_t(values), 5)); }), error);
    QCOMPARE(tc.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse WHERE Platz IS NOT NULL")).toInt(), 0);
}

// A search passes over names by their first letters, which it keeps between
// searches: every change of the rows must show in the next search.
void TestRecordset::searchAfterTheRowsChange_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("found"); // by "Schuetze like 'Z*'"
    QTest::newRow("a name edited") << "edit" << "Zeller";
    QTest::newRow("a row added") << "add" << "Zorn";
    QTest::newRow("names written as one field") << "field" << "Zander";
    QTest::newRow("a row before deleted") << "delete" << "Zimmer";
    QTest::newRow("a row another program added") << "other" << "Zuse";
}

void TestRecordset::searchAfterTheRowsChange()
{
    QFETCH(QString, change);
    QFETCH(QString, found);
    TestCompetition tc;
    addThree(tc); // by key: Becker, Adler, Cramer
    if (change == QLatin1String("delete"))
        insertShooter(tc, 40, QStringLiteral("Zimmer"), QStringLiteral("0100"));
    auto rs = Database::open(tc.path())->openRecordset(ByKey);
    rs->findFirst(QStringLiteral("Schuetze like 'Z*'"));
    QCOMPARE(rs->noMatch(), change != QLatin1String("delete"));
    if (change == QLatin1String("edit")) {
        rs->moveTo(1);
        rs->edit();
        rs->setValue(Name, found);
        rs->update();
    } else if (change == QLatin1String("add")) {
        rs->addNew();
        rs->setValue(Name, found);
        rs->update();
    } else if (change == QLatin1String("field")) {
        rs->storeField(rs->fieldIndex(Name), {QVariant(QStringLiteral("Becker")), QVariant(found), QVariant(QStringLiteral("Cramer"))});
    } else if (change == QLatin1String("delete")) {
        rs->moveFirst();
        rs->deleteCurrent();
    } else {
        insertShooter(tc, 50, found, QStringLiteral("0999"));
        QVERIFY(rs->refreshChanged());
    }
    rs->findFirst(QStringLiteral("Schuetze like 'Z*'"));
    QVERIFY(!rs->noMatch());
    QCOMPARE(rs->value(Name).toString(), found);
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
