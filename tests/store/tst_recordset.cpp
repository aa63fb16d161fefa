// The recordset: order, new rows and their IDs, edits with type conversion,
// deleting, moving with a pending edit, requery, the Null-safe field read, and
// storing one field of every row at once, as the ranking does with the places.
#include "store/Database.h"
#include "store/Numbers.h"
#include "store/Recordset.h"
#include "store/tempModule.h"
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

// Cramer, Becker and Adler (addThree), and a recordset on them, by key:
// Becker, Adler, Cramer. Another connection may change them before.
struct Three
{
    explicit Three(const QString &beforeOpening = QString())
    {
        addThree(tc);
        if (!beforeOpening.isEmpty())
            tc.exec(beforeOpening);
        rs = Database::open(tc.path())->openRecordset(ByKey);
    }
    TestCompetition tc;
    std::unique_ptr<Recordset> rs;
};

} // namespace

class TestRecordset : public QObject
{
    Q_OBJECT

private slots:
    // The ID is the file's to give when the row is stored, as two programs may add rows to one file.
    void addNewId_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("highest row deleted: its ID is not given again") << "delete 3";
        QTest::newRow("row added by another connection after opening") << "other add";
        QTest::newRow("row added by another connection while the new row is typed") << "other add while typing";
        QTest::newRow("ID that is not the row's own number") << "plain ID column";
    }

    void addNewId()
    {
        QFETCH(QString, before);
        TestCompetition tc;
        for (int i = 1; i <= (before.startsWith(QLatin1String("other")) ? 2 : 3); ++i)
            insertShooter(tc, i, QStringLiteral("Vorher %1").arg(i), QStringLiteral("000%1").arg(i));
        if (before == QLatin1String("delete 3"))
            tc.exec(QStringLiteral("DELETE FROM Ergebnisse WHERE ID = 3"));
        if (before == QLatin1String("plain ID column")) {
            tc.exec(QStringLiteral("CREATE TABLE Kopie AS SELECT * FROM Ergebnisse"));
            tc.exec(QStringLiteral("DROP TABLE Ergebnisse"));
            tc.exec(QStringLiteral("ALTER TABLE Kopie RENAME TO Ergebnisse"));
        }
        auto rs = Database::open(tc.path())->openRecordset(ByKey);
        if (before == QLatin1String("other add"))
            insertShooter(tc, 100, QStringLiteral("Anderes Programm"));
        rs->addNew();
        rs->setValue(Name, QStringLiteral("Neu"));
        if (before == QLatin1String("other add while typing"))
            insertShooter(tc, 100, QStringLiteral("Anderes Programm"));
        rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("9999"));
        rs->update();
        QCOMPARE(idOf(tc, QStringLiteral("Neu")), qint64(4));
        // The new row stays at the end of the set, whatever its key, until a requery.
        QCOMPARE(rs->storedValue(rs->rowCount() - 1, rs->fieldIndex(QStringLiteral("ID"))).toLongLong(), qint64(4));
    }

    // A typed value takes the field's type when the row is stored. A value the
    // field cannot take leaves the row in edit as typed, writes nothing, and
    // the row can be corrected: "result" is then the error number, "expected"
    // the start of its text.
    void edit_data()
    {
        QTest::addColumn<QString>("field"); // "new." for a new row, else Adler edited
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<QString>("result"); // the storage class in the file, or the error
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char *name, const char *field, const QVariant &input, const char *result,
                            const QVariant &expected) { QTest::newRow(name) << field << input << result << expected; };
        const QVariant lowest = qint64(-2147483648LL);
        const QString umlauts(255, QChar(0xE4));
        const QString limits = QStringLiteral(": Erlaubt sind ganze Zahlen von -2147483648 bis 2147483647.");
        row("decimal comma into a shot value", "Ring1", "9,5", "real", 9.5);
        row("digits into the start number", "StartNr", "12", "integer", 12);
        row("largest long", "StartNr", "2147483647", "integer", 2147483647);
        row("lowest long as a number", "Innenzehner", lowest, "integer", lowest);
        row("empty text into the start number stores null", "StartNr", "", "null", null);
        row("null into the name", "Schuetze", null, "null", null);
        row("255 umlauts count as 255 characters", "Verein", umlauts, "text", umlauts);
        row("key of digits stays text", "Sortierung", "000089020304", "text", "000089020304");
        row("letters into the start number", "StartNr", "zwölf", "13", "Der Wert 'zwölf' passt nicht in das Feld 'StartNr'");
        row("a word as shot value of a new row", "new.Ring1", "neun", "13", "Der Wert 'neun' passt nicht in das Feld 'Ring1'");
        row("3000000000 as number", "Innenzehner", qint64(3000000000LL), "3349",
            "Die Zahl 3000000000 ist für das Feld 'Innenzehner' zu groß" + limits);
        row("one above the largest long", "StartNr", "2147483648", "3349", "Die Zahl 2147483648 ist für das Feld 'StartNr' zu groß" + limits);
        row("one below the lowest long", "StartNr", "-2147483649", "3349",
            "Die Zahl -2147483649 ist für das Feld 'StartNr' zu klein" + limits);
        row("name of 256 characters", "Schuetze", QString(256, QChar('x')), "3163", "Der Text für das Feld 'Schuetze' ist zu lang");
    }

    void edit()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, input);
        QFETCH(QString, result);
        QFETCH(QVariant, expected);
        const bool newRow = field.startsWith(QLatin1String("new."));
        field.remove(QLatin1String("new."));
        const int error = result.toInt();
        Three three(QStringLiteral("UPDATE Ergebnisse SET Ring1 = 7, Serie = 30, Innenzehner = 1, Verein = 'Alt'"));
        auto &rs = three.rs;
        rs->moveNext(); // Adler
        // A new row keeps the ID it was given when its update fails.
        const qint64 id = newRow ? 4 : idOf(three.tc, QStringLiteral("Adler"));
        const StoredValue before = storedValue(three.tc, field, id);
        const QVariant shownBefore = rs->value(field);
        newRow ? rs->addNew() : rs->edit();
        rs->setValue(field, input);
        // What is typed shows before it is stored.
        QCOMPARE(rs->value(field), input);
        QCOMPARE(storedValue(three.tc, field, id).value, before.value);
        const RaisedError raised = raisedError([&] { rs->update(); });
        QCOMPARE(raised.number, error);
        QCOMPARE(rs->position(), 1);
        if (error) {
            QVERIFY2(raised.description.startsWith(expected.toString()), qPrintable(raised.description));
            QCOMPARE(rs->editMode(), newRow ? Recordset::EditMode::AddNew : Recordset::EditMode::Edit);
            QCOMPARE(rs->value(field), input);
            QCOMPARE(storedValue(three.tc, field, id).storageClass, before.storageClass);
            QCOMPARE(rs->storedValue(1, rs->fieldIndex(field)), shownBefore);
            QCOMPARE(rs->rowCount(), 3);
            QCOMPARE(tableNames(three.tc).size(), 3);
            rs->setValue(field, QStringLiteral("7"));
            QCOMPARE(raisedNumber([&] { rs->update(); }), 0);
            QCOMPARE(rs->editMode(), Recordset::EditMode::None);
            QCOMPARE(Numbers::cellText(storedValue(three.tc, field, id).value), QStringLiteral("7"));
            return;
        }
        const StoredValue written = storedValue(three.tc, field, id);
        QCOMPARE(written.storageClass, result);
        RINGTAL_COMPARE_VALUE(written.value, expected);
        RINGTAL_COMPARE_VALUE(rs->value(field), expected);
        QCOMPARE(tableNames(three.tc), (QStringList{"Cramer", "Becker", field == Name ? "" : "Adler"}));
    }

    // The first row, then the last, until none is left; the title stays.
    // Without a current row there is nothing to delete.
    void deleteCurrent()
    {
        Three three;
        auto &rs = three.rs;
        three.tc.setTitle(QStringLiteral("Königsschießen 2024"));
        rs->deleteCurrent();
        QCOMPARE(RecordsetChecks::names(*rs), (QStringList{"Adler", "Cramer"}));
        QCOMPARE(tableNames(three.tc), (QStringList{"Cramer", "Adler"}));
        rs->moveLast();
        rs->deleteCurrent();
        rs->moveTo(rs->rowCount());
        QVERIFY(rs->isEof());
        const RaisedError raised = raisedError([&] { rs->deleteCurrent(); });
        QCOMPARE(raised.number, 3021);
        QCOMPARE(raised.description, QStringLiteral("Kein aktueller Datensatz."));
        QCOMPARE(tableNames(three.tc), QStringList{"Adler"});
        rs->moveFirst();
        rs->deleteCurrent();
        QCOMPARE(rs->rowCount(), 0);
        QVERIFY(rs->isEof());
        QCOMPARE(tableNames(three.tc), QStringList{});
        QCOMPARE(three.tc.scalar(QStringLiteral("SELECT Bezeichnung FROM Wettkampf")).toString(),
                 QStringLiteral("Königsschießen 2024"));
    }

    // A move or a requery stores the pending row first; a row that cannot be
    // stored stops the move.
    void pendingRowStoredFirst_data()
    {
        QTest::addColumn<QString>("buffer");
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("expectedPosition");
        QTest::addColumn<QStringList>("expectedTable");
        const QStringList three{"Cramer", "Becker", "Adler"};
        const QStringList renamed{"Cramer", "Bäcker", "Adler"};
        QTest::newRow("edited row, move to the next") << "edit" << "next" << 0 << 1 << renamed;
        QTest::newRow("edited row, find first elsewhere") << "edit" << "find" << 0 << 2 << renamed;
        QTest::newRow("edited row, read again") << "edit" << "requery" << 0 << 0 << renamed;
        QTest::newRow("new row, move to the first") << "new" << "first" << 0 << 0 << three + QStringList{"Bäcker"};
        QTest::newRow("new row, read again") << "new" << "requery" << 0 << 0 << three + QStringList{"Bäcker"};
        QTest::newRow("new row without typed values is not stored") << "untouched new" << "first" << 0 << 0 << three;
        QTest::newRow("new row with an overlong name stays") << "overlong new" << "next" << 3163 << 0 << three;
    }

    void pendingRowStoredFirst()
    {
        QFETCH(QString, buffer);
        QFETCH(QString, move);
        QFETCH(int, error);
        QFETCH(int, expectedPosition);
        QFETCH(QStringList, expectedTable);
        Three three;
        auto &rs = three.rs;
        buffer.endsWith(QLatin1String("new")) ? rs->addNew() : rs->edit();
        const QString typed = buffer.startsWith(QLatin1String("overlong")) ? QString(300, QChar('y')) : QStringLiteral("Bäcker");
        if (!buffer.startsWith(QLatin1String("untouched")))
            rs->setValue(Name, typed);
        QCOMPARE(raisedNumber([&] {
                     if (move == QLatin1String("next"))
                         rs->moveNext();
                     else if (move == QLatin1String("first"))
                         rs->moveFirst();
                     else if (move == QLatin1String("requery"))
                         rs->requery();
                     else
                         rs->findFirst(QStringLiteral("Schuetze like 'C*'"));
                 }),
                 error);
        QCOMPARE(rs->editMode(), error ? Recordset::EditMode::AddNew : Recordset::EditMode::None);
        if (error)
            QCOMPARE(rs->value(Name).toString(), typed);
        QCOMPARE(rs->position(), expectedPosition);
        QCOMPARE(tableNames(three.tc), expectedTable);
        QCOMPARE(rs->rowCount(), expectedTable.size());
    }

    // Null, an empty text and a text of NUL characters read as the empty text
    // in text, memo and binary fields, as 0 in the others; past the last row too.
    void getFieldValue_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("expected");
        const QVariant emptyText = QString(QLatin1String(""));
        QTest::newRow("null name") << "Schuetze" << null << emptyText;
        QTest::newRow("three NUL characters") << "Verein" << QVariant(QString(3, QChar(0))) << emptyText;
        const QVariant nulInside = QStringLiteral("a") + QChar(0) + "b";
        QTest::newRow("NUL inside a text stays") << "Schuetze" << nulInside << nulInside;
        QTest::newRow("empty text in a number field") << "StartNr" << emptyText << QVariant(0);
        QTest::newRow("blank is a value") << "Schuetze" << QVariant(" ") << QVariant(" ");
        QTest::newRow("null date") << "Extra.Datum" << null << QVariant(0);
        QTest::newRow("null binary") << "Extra.Bild" << null << emptyText;
        QTest::newRow("series past the last row") << "past end.Serie" << null << QVariant(0);
    }

    void getFieldValue()
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
            tc.exec(QStringLiteral("CREATE TABLE Extra (ID INTEGER PRIMARY KEY, Datum DATE, Bild BLOB)"));
            sql = QStringLiteral("Select * from Extra");
        }
        tc.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(table == "Extra" ? table : "Ergebnisse", field),
                {stored});
        auto rs = Database::open(tc.path())->openRecordset(sql);
        if (table == QLatin1String("past end"))
            rs->moveTo(rs->rowCount());
        QVariant actual;
        QCOMPARE(raisedNumber([&] { actual = GetFieldValue(*rs, field); }), 0);
        RINGTAL_COMPARE_VALUE(actual, expected);
        if (table.isEmpty())
            RINGTAL_COMPARE_VALUE(GetFieldValue(*rs, rs->fieldIndex(field)), expected);
    }

    void getFieldValueFails()
    {
        Three three;
        const RaisedError raised = raisedError([&] { GetFieldValue(*three.rs, QStringLiteral("Schütze")); });
        QCOMPARE(raised.number, 3265);
        QCOMPARE(raised.description, QStringLiteral("Das Feld 'Schütze' gibt es in dieser Tabelle nicht."));
    }

    // Only rows whose value changes are written, as SQLite's total_changes()
    // of the connection counts them; a refused call writes nothing.
    void storeField_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("before"); // places in start number order
        QTest::addColumn<QVariantList>("after");
        QTest::addColumn<int>("written"); // rows, or minus the error
        QTest::newRow("one moved shooter among right places") << ByStartNrUp << QVariantList{1, 2, 2, 4}
                                                              << QVariantList{1, 2, 3, 4} << 1;
        QTest::newRow("Null is no place 0, and 0 is no Null") << ByStartNrUp << QVariantList{null, 0}
                                                              << QVariantList{0, null} << 2;
        const std::vector<QVariant> threeHundred = places(300);
        QTest::newRow("300 new places, more than one statement takes")
            << ByStartNrUp << QVariantList(300, null) << QVariantList(threeHundred.begin(), threeHundred.end()) << 300;
        QTest::newRow("fewer values than rows") << ByStartNrUp << QVariantList{1, 2} << QVariantList{5} << -9;
        QTest::newRow("more values than rows") << ByStartNrUp << QVariantList{1, 2} << QVariantList{5, 5, 5} << -9;
        QTest::newRow("a query that names no table")
            << QStringLiteral("Select 1 AS Platz UNION Select 2") << QVariantList{1, 2} << QVariantList{5, 5} << -3027;
    }

    void storeField()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, before);
        QFETCH(QVariantList, after);
        QFETCH(int, written);
        TestCompetition tc;
        QVariantList values;
        for (int i = 0; i < before.size(); ++i)
            values << i + 1 << before.at(i);
        tc.exec(QStringLiteral("INSERT INTO Ergebnisse (StartNr, Platz) VALUES ") + QStringList(before.size(), "(?, ?)").join(','),
                values);
        const std::shared_ptr<Database> database = Database::open(tc.path());
        auto rs = database->openRecordset(sql);
        rs->moveTo(1);
        const int place = rs->fieldIndex(QStringLiteral("Platz"));
        QCOMPARE(raisedNumber([&] { rs->storeField(place, std::vector<QVariant>(after.begin(), after.end())); }),
                 std::max(-written, 0));
        QCOMPARE(database->scalar(QStringLiteral("SELECT total_changes()")).toInt(), std::max(written, 0));
        QCOMPARE(rs->position(), 1);
        const QVariantList expected = written < 0 ? before : after;
        const QVariantList inFile = column(tc, QStringLiteral("SELECT Platz FROM Ergebnisse ORDER BY StartNr"));
        for (int i = 0; i < expected.size(); ++i) {
            RINGTAL_COMPARE_VALUE(inFile.at(i), expected.at(i));
            if (written != -3027)
                RINGTAL_COMPARE_VALUE(rs->storedValue(i, place), expected.at(i));
        }
    }

    // The file refuses one row: what was stored before stays, and the rows in
    // memory say what the file holds, row for row.
    void storeFieldFailureKeepsEarlierWrites()
    {
        TestCompetition tc;
        tc.exec(QStringLiteral("CREATE TABLE Plaetze (ID INTEGER PRIMARY KEY, Platz INTEGER CHECK (Platz <> 200))"));
        tc.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                               "INSERT INTO Plaetze (ID) SELECT i FROM n"));
        auto rs = Database::open(tc.path())->openRecordset(QStringLiteral("Select * from Plaetze order by ID"));
        const int place = rs->fieldIndex(QStringLiteral("Platz"));
        QVERIFY(raisedNumber([&] { rs->storeField(place, places(300)); }) > 0);
        const QVariantList inFile = column(tc, QStringLiteral("SELECT Platz FROM Plaetze ORDER BY ID"));
        const auto firstNull = std::find_if(inFile.begin(), inFile.end(), [](const QVariant &v) { return v.isNull(); });
        const int stored = int(firstNull - inFile.begin());
        QVERIFY2(stored > 0 && stored < 200, qPrintable(QString::number(stored)));
        for (int i = 0; i < inFile.size(); ++i) {
            QCOMPARE(inFile.at(i).isNull(), i >= stored);
            RINGTAL_COMPARE_VALUE(rs->storedValue(i, place), inFile.at(i));
        }
    }

    // A row in edit shows the new value of a field it did not change, keeps
    // its own change of the field, and stores its own changes afterwards.
    void storeFieldEditUnderWay()
    {
        Three three;
        auto &rs = three.rs;
        const int place = rs->fieldIndex(QStringLiteral("Platz"));
        rs->edit();
        rs->setValue(Name, QStringLiteral("Bäcker"));
        rs->storeField(place, {7, 8, 9});
        QCOMPARE(rs->bufferValue(place).toInt(), 7);
        QVERIFY(rs->isDirty());
        rs->update();
        QCOMPARE(three.tc.rows(QStringLiteral("SELECT Schuetze, Platz FROM Ergebnisse WHERE ID = 2")).front(),
                 (QVariantMap{{Name, QStringLiteral("Bäcker")}, {QStringLiteral("Platz"), 7}}));
        rs->moveTo(1);
        rs->edit();
        rs->setValue(place, 1);
        rs->storeField(place, {4, 5, 6});
        QCOMPARE(rs->bufferValue(place).toInt(), 1);
        rs->update();
        QCOMPARE(three.tc.scalar(QStringLiteral("SELECT Platz FROM Ergebnisse WHERE ID = 3")).toInt(), 1);
    }

    // A search passes over names by their first letters, which it keeps
    // between searches: every change of the rows must show in the next search.
    void searchAfterTheRowsChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("found"); // by "Schuetze like 'Z*'"
        QTest::newRow("a name edited") << "edit" << "Zeller";
        QTest::newRow("names written as one field") << "field" << "Zander";
        QTest::newRow("a row another program added") << "other" << "Zuse";
    }

    void searchAfterTheRowsChange()
    {
        QFETCH(QString, change);
        QFETCH(QString, found);
        Three three;
        auto &rs = three.rs;
        rs->findFirst(QStringLiteral("Schuetze like 'Z*'"));
        QVERIFY(rs->noMatch());
        if (change == QLatin1String("edit")) {
            rs->moveTo(1);
            rs->edit();
            rs->setValue(Name, found);
            rs->update();
        } else if (change == QLatin1String("field")) {
            rs->storeField(rs->fieldIndex(Name), {QStringLiteral("Becker"), found, QStringLiteral("Cramer")});
        } else {
            insertShooter(three.tc, 50, found, QStringLiteral("0999"));
            QVERIFY(rs->refreshChanged());
        }
        rs->findFirst(QStringLiteral("Schuetze like 'Z*'"));
        QVERIFY(!rs->noMatch());
        QCOMPARE(rs->value(Name).toString(), found);
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
