// The recordset: new rows and their IDs, typed values, deleting, moving and
// searching, rows another program changed, the Null-safe field read, and
// storing one field of every row at once, as the ranking does with the places.
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/tempModule.h"
#include "support/OrdinaryUserFileAccess.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"

#include <QtTest>

using namespace RecordsetChecks;

namespace {

const QString Name = QStringLiteral("Schuetze");
const QVariant null;

// "ID:name", and ":place" when the row has one.
QString rowText(const QVariant &id, const QVariant &name, const QVariant &place)
{
    return id.toString() + ':' + name.toString() + (place.isNull() ? QString() : ':' + place.toString());
}

// A value as a step shows it: texts quoted, numbers by value, or Null.
QString shown(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("Null");
    return value.typeId() == QMetaType::QString ? '"' + value.toString() + '"' : QString::number(value.toDouble(), 'g', 17);
}

// The file's rows by ID, read past the program.
QString fileRows(const TestCompetition &tc)
{
    QStringList rows;
    for (const QVariantMap &row : tc.rows(QStringLiteral("SELECT ID, Schuetze, Platz FROM Ergebnisse ORDER BY ID")))
        rows << rowText(row.value("ID"), row.value(Name), row.value("Platz"));
    return rows.join(' ');
}

// A run of steps_data: the recordset, its file, the transactions begun and
// what the steps showed, failures too (a step that fails does not stop the next).
struct Run
{
    Recordset &rs;
    const TestCompetition &tc;
    QString shown;
    std::vector<std::unique_ptr<Transaction>> transactions;

    void step(const QString &step)
    {
        const QString rest = step.section(QLatin1Char(' '), 1);
        const std::map<QString, std::function<void()>> verbs{
            {"edit", [&] { rs.edit(); }}, {"new", [&] { rs.addNew(); }}, {"update", [&] { rs.update(); }},
            {"delete", [&] { rs.deleteCurrent(); }}, {"first", [&] { rs.moveFirst(); }}, {"next", [&] { rs.moveNext(); }},
            {"last", [&] { rs.moveLast(); }}, {"requery", [&] { rs.requery(); }}, {"refresh", [&] { rs.refreshChanged(); }},
            {"find", [&] { rs.findFirst(rest); }}, {"other", [&] { tc.exec(rest); }},
            {"begin", [&] { transactions.push_back(std::make_unique<Transaction>(rs.database())); }},
            {"commit", [&] { transactions.back()->commit(); }}, {"rollback", [&] { transactions.back()->rollback(); }},
            {"end", [&] { transactions.pop_back(); }}, {"seen", [&] { shown += " seen " + fileRows(tc); }},
            {"get", [&] { shown += " get " + ::shown(GetFieldValue(rs, rest)); }},
            {"value", [&] { shown += " value " + ::shown(rs.value(rest)); }},
            {"stored", [&] {
                 const QString sql = QStringLiteral("SELECT typeof(%1) AS class, %1 AS value FROM Ergebnisse WHERE ID = ?");
                 const QVariantMap stored = tc.rows(sql.arg(rest), {rs.value(QStringLiteral("ID"))}).value(0);
                 shown += " stored " + stored.value("class").toString() + ' ' + ::shown(stored.value("value"));
             }},
            {"store", [&] {
                 std::vector<QVariant> values;
                 for (const QString &value : rest.section(QLatin1Char(' '), 1).split(QLatin1Char(',')))
                     values.emplace_back(value.toInt() ? QVariant(value.toInt()) : QVariant(value));
                 rs.storeField(rs.fieldIndex(rest.section(QLatin1Char(' '), 0, 0)), values);
             }}};
        const auto verb = verbs.find(step.section(QLatin1Char(' '), 0, 0));
        const RaisedError raised = raisedError([&] {
            verb != verbs.end() ? verb->second() : rs.setValue(step.section('=', 0, 0), step.section('=', 1));
        });
        if (raised.number)
            shown += QStringLiteral(" !%1 %2").arg(raised.number).arg(QString(raised.description).replace(tc.path(), "<file>"));
    }
};

} // namespace

class TestRecordset : public QObject
{
    Q_OBJECT

private slots:
    // Steps, separated by "; ", on a recordset by key on Cramer (ID 1, key
    // 0870), Becker (2, 0950) and Adler (3, 0910), whose order by key is not
    // the table's, in a file whose name has umlauts, blanks and what a file URI
    // treats as syntax: "edit", "new", "update", "delete", "first", "next", "last",
    // "requery", "refresh", "find <criterion>", "field=typed value", "store
    // <field> a,b,c" (storeField), "begin", "commit", "rollback", "end" (the
    // innermost transaction's scope), "other <sql>" (another program),
    // "before <sql>" and "read-only" (the file before the recordset opens);
    // "seen" shows the file, "get", "value" and "stored <field>"
    // GetFieldValue, the current value and the file's storage class and value.
    // The outcome: rows in set order, the file's rows by ID, position, edit
    // mode, "no match", and what the steps showed, failures with number and text.
    void steps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char *name, const QString &steps, const QString &outcome) {
            QTest::newRow(name) << steps << outcome;
        };
        const QString set = QStringLiteral("2:Becker 3:Adler 1:Cramer");
        const QString file = QStringLiteral("1:Cramer 2:Becker 3:Adler");
        const QString three = set + " | " + file;
        const QString adds = QStringLiteral("other INSERT INTO Ergebnisse (Schuetze, Sortierung) VALUES ");
        const QString limits = QStringLiteral(": Erlaubt sind ganze Zahlen von -2147483648 bis 2147483647.");
        row("the current row deleted", "delete", "3:Adler 1:Cramer | 1:Cramer 3:Adler | 0 none");
        row("the last row deleted, then none is current, then all deleted",
            "last; delete; delete; first; delete; delete", " |  | 0 none !3021 Kein aktueller Datensatz.");
        // The ID is the file's to give when the row is stored, as two programs may add rows to one file;
        // a new row stays at the end of the set, whatever its key, until a requery.
        row("row added by another program while the new row is typed",
            "new; Schuetze=Neu; " + adds + "('Dorn', '0990'); Sortierung=9999; update",
            set + " 5:Neu | " + file + " 4:Dorn 5:Neu | 0 none");
        row("ID that is not the row's own number",
            "before CREATE TABLE Kopie AS SELECT * FROM Ergebnisse; before DROP TABLE Ergebnisse; "
            "before ALTER TABLE Kopie RENAME TO Ergebnisse; new; Schuetze=Neu; update",
            set + " 4:Neu | " + file + " 4:Neu | 0 none");
        // A value the field cannot take leaves the row in edit as typed and writes nothing.
        row("letters into a whole number", "next; edit; Platz=zwölf; update; value Platz",
            three + " | 1 edit !13 Der Wert 'zwölf' passt nicht in das Feld 'Platz': eine ganze Zahl wird erwartet. "
                    "value \"zwölf\"");
        row("a word as shot value of a new row, then corrected", "new; Schuetze=Neu; Ring1=neun; update; Ring1=9; update",
            set + " 4:Neu | " + file + " 4:Neu | 0 none !13 Der Wert 'neun' passt nicht in das Feld 'Ring1': eine Zahl "
                                       "wird erwartet.");
        row("one above the largest long", "next; edit; Platz=2147483648; update",
            three + " | 1 edit !3349 Die Zahl 2147483648 ist für das Feld 'Platz' zu groß" + limits);
        row("one below the lowest long", "next; edit; Platz=-2147483649; update",
            three + " | 1 edit !3349 Die Zahl -2147483649 ist für das Feld 'Platz' zu klein" + limits);
        // A typed value takes the field's type when the row is stored, in the
        // file and in memory.
        const QString adler = QStringLiteral("next; edit; %1=%2; update; stored %1; value %1");
        const QString umlauts(255, QChar(0xE4));
        row("decimal comma into a shot value", adler.arg("Ring1", "9,5"), three + " | 1 none stored real 9.5 value 9.5");
        row("largest and lowest long", "next; edit; StartNr=2147483647; Innenzehner=-2147483648; update; stored StartNr; "
            "stored Innenzehner", three + " | 1 none stored integer 2147483647 stored integer -2147483648");
        row("empty text into the start number stores null", adler.arg("StartNr", ""), three + " | 1 none stored null Null value Null");
        row("255 umlauts count as 255 characters", adler.arg("Verein", umlauts),
            three + " | 1 none stored text \"" + umlauts + "\" value \"" + umlauts + '"');
        row("key of digits stays text", adler.arg("Sortierung", "000089020304"),
            three + " | 1 none stored text \"000089020304\" value \"000089020304\"");
        // Null, an empty text and a text of NUL characters read as the empty
        // text in text, memo and binary fields, as 0 in the others; past the
        // last row too.
        const QString becker = QStringLiteral("before UPDATE Ergebnisse SET %1 = %2 WHERE ID = 2; get %1");
        row("null text", becker.arg("Verein", "NULL"), three + " | 0 none get \"\"");
        row("three NUL characters", becker.arg("Verein", "char(0, 0, 0)"), three + " | 0 none get \"\"");
        row("NUL inside a text stays", becker.arg("Verein", "'a' || char(0) || 'b'"),
            three + " | 0 none get \"a" + QChar(0) + "b\"");
        row("empty text in a number field", becker.arg("StartNr", "''"), three + " | 0 none get 0");
        row("blank is a value", becker.arg("Verein", "' '"), three + " | 0 none get \" \"");
        row("series past the last row", "last; next; get Serie", three + " | 3 none get 0");
        row("unknown field", "get Schütze", three + " | 0 none !3265 Das Feld 'Schütze' gibt es in dieser Tabelle nicht.");
        // A move or a requery stores the pending row first; a row that cannot be stored stops the move.
        row("edited row stored before a search moves", "edit; Schuetze=Bäcker; find Schuetze = 'Cramer'",
            "2:Bäcker 3:Adler 1:Cramer | 1:Cramer 2:Bäcker 3:Adler | 2 none");
        row("edited row stored before a requery", "edit; Schuetze=Bäcker; requery",
            "2:Bäcker 3:Adler 1:Cramer | 1:Cramer 2:Bäcker 3:Adler | 0 none");
        row("new row without typed values is not stored", "new; first", three + " | 0 none");
        row("new row with a name of 256 characters stays", "new; Schuetze=" + QString(256, 'y') + "; next",
            three + " | 0 new !3163 Der Text für das Feld 'Schuetze' ist zu lang: höchstens 255 Zeichen, eingegeben 256.");
        // A search starts at the first row and goes in set order; when it finds nothing the position stays.
        row("ID that is not there", "next; find ID = 99", three + " | 1 none no match");
        row("start number: first in set order, not lowest ID", "before UPDATE Ergebnisse SET StartNr = 10; last; "
            "find StartNr = 10", three + " | 0 none");
        row("unterminated quote", "next; find Schuetze like 'Mü*",
            three + " | 1 none !3077 Syntaxfehler in Suchbedingung: Schuetze like 'Mü*");
        // Storing a changed row compares it in the file with what was read.
        row("row another program deleted", "edit; Schuetze=Bäcker; other DELETE FROM Ergebnisse WHERE ID = 2; update",
            set + " | 1:Cramer 3:Adler | 0 edit !3167 Der Schütze wurde inzwischen von einem anderen Programm gelöscht.");
        row("row another program changed", "edit; Schuetze=Bäcker; other UPDATE Ergebnisse SET Verein = 'SV'; update",
            three + " | 0 edit !3197 Die Zeile wurde inzwischen von einem anderen Programm geändert.");
        // A hostile file brings rules of its own for StartNr. Each failed rule is
        // named as what it is, never as a duplicate key, and the row stays new.
        const QString hostile = QStringLiteral(
            "before DROP TABLE Ergebnisse; before CREATE TABLE Ergebnisse (ID INTEGER PRIMARY KEY AUTOINCREMENT, StartNr "
            "INTEGER %1, Schuetze TEXT, Sortierung TEXT, Platz INTEGER); before INSERT INTO Ergebnisse (StartNr, Schuetze) "
            "VALUES (1, 'Adler'); new; Schuetze=Neu; StartNr=%2; update");
        const QString notStored = QStringLiteral("1:Adler | 1:Adler | 0 new !%1 Die Änderung wurde nicht gespeichert, weil ");
        row("CHECK", hostile.arg("CHECK (StartNr > 0)", "0"), notStored.arg(3317) + "ein Wert gegen eine Gültigkeitsregel "
            "der Tabelle verstößt (CHECK constraint failed: StartNr > 0).");
        row("UNIQUE", hostile.arg("UNIQUE", "1"), notStored.arg(3022) + "sie einen doppelten Schlüssel ergäbe (UNIQUE "
            "constraint failed: Ergebnisse.StartNr).");
        // A transaction groups writes; another connection sees nothing of them
        // before it ends, and a read again shows what the file holds then.
        const QString e = QStringLiteral("edit; Schuetze=Bäcker; update"), a = QStringLiteral("new; Schuetze=Neu; update");
        const QString unseen = three + " | 0 none seen " + file;
        row("ended without a commit: undone", "begin; " + a + "; seen; end; requery", unseen);
        row("several writes committed together", "begin; " + e + "; " + a + "; find ID = 3; delete; seen; commit; end; requery",
            "2:Bäcker 1:Cramer 4:Neu | 1:Cramer 2:Bäcker 4:Neu | 0 none seen " + file);
        row("rollback undoes several writes", "begin; " + e + "; " + a + "; find ID = 3; delete; seen; rollback; end; requery",
            unseen);
        row("inner transaction joins the outer rollback", "begin; begin; " + e + "; " + a + "; commit; end; seen; rollback; end; "
            "requery", unseen);
        // Writes a rollback undid are read again at the next requery, not kept from memory.
        row("rolled-back edit and places read again", "begin; " + e + "; store Platz 7,8,9; rollback; end; requery",
            three + " | 0 none");
        // Checked as an ordinary user, since root writes read-only files. A new
        // row is stored in a transaction, a deletion without one.
        const QString readOnly = QStringLiteral(" !3027 Die Datei '<file>' ist schreibgeschützt (die Schreibberechtigung "
                                                "fehlt für die Datei oder ihren Ordner). Änderungen können nicht "
                                                "gespeichert werden.");
        row("read-only file: add a row", "read-only; " + a, three + " | 0 new" + readOnly);
        row("read-only file: delete a row", "read-only; find ID = 3; delete", three + " | 1 none" + readOnly);
        // A row in edit shows the new value of a field it did not change, keeps
        // its own change of the field, and stores its own changes afterwards.
        row("places stored while a name is edited", "edit; Schuetze=Bäcker; store Platz 7,8,9; update",
            "2:Bäcker:7 3:Adler:8 1:Cramer:9 | 1:Cramer:9 2:Bäcker:7 3:Adler:8 | 0 none");
        row("places stored while the place is edited", "next; edit; Platz=1; store Platz 4,5,6; update",
            "2:Becker:4 3:Adler:1 1:Cramer:6 | 1:Cramer:6 2:Becker:4 3:Adler:1 | 1 none");
        // A search passes over names by their first letters, which it keeps
        // between searches: every change of the rows must show in the next search.
        const QString z = QStringLiteral("find Schuetze like 'Z*'");
        row("search after a name edited", z + "; next; edit; Schuetze=Zeller; update; " + z,
            "2:Becker 3:Zeller 1:Cramer | 1:Cramer 2:Becker 3:Zeller | 1 none");
        row("search after names written as one field", z + "; store Schuetze Becker,Zander,Cramer; " + z,
            "2:Becker 3:Zander 1:Cramer | 1:Cramer 2:Becker 3:Zander | 1 none");
        row("search after a row another program added", z + "; " + adds + "('Zuse', '0999'); refresh; " + z,
            "4:Zuse " + set + " | " + file + " 4:Zuse | 0 none");
    }

    void steps()
    {
        QFETCH(QString, steps);
        QFETCH(QString, outcome);
        QStringList list = steps.split(QStringLiteral("; "));
        const QString fileName = QStringLiteral("Schützen Ärger #1 ?%20 & Co's.wkd");
        TestCompetition tc(fileName);
        fill(tc, {"Cramer|(null)|0870|30", "Becker|(null)|0950|10", "Adler|(null)|0910|20"});
        while (list.front().startsWith(QLatin1String("before ")))
            tc.exec(list.takeFirst().mid(7));
        const bool readOnly = list.front() == QLatin1String("read-only");
        if (readOnly) {
            list.removeFirst();
            QVERIFY(QFile::setPermissions(tc.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            QVERIFY(QFile::setPermissions(tc.folder(), QFileDevice::Permissions(0x7555)));
        }
        std::optional<OrdinaryUserFileAccess> access;
        if (readOnly && access.emplace().rootNotDropped())
            QSKIP("running as root without the right to check files as another user");
        std::unique_ptr<Recordset> rs = Database::open(tc.path())->openRecordset(ByKey);
        Run run{*rs, tc, {}, {}};
        for (const QString &step : list)
            run.step(step);
        access.reset();
        QStringList set;
        for (int row = 0; row < rs->rowCount(); ++row)
            set << rowText(rs->storedValue(row, rs->fieldIndex("ID")), rs->storedValue(row, rs->fieldIndex(Name)),
                           rs->storedValue(row, rs->fieldIndex("Platz")));
        const char *const modes[] = {"none", "edit", "new"};
        QCOMPARE(QStringList({set.join(' '), fileRows(tc), QString::number(rs->position())}).join(" | ") + ' '
                     + modes[int(rs->editMode())] + (rs->database().inTransaction() ? " in transaction" : "")
                     + (rs->noMatch() ? " no match" : "") + run.shown,
                 outcome);
        rs.reset();
        QCOMPARE(QDir(tc.folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{fileName});
    }

    // Only rows whose value changes are written, as SQLite's total_changes()
    // of the connection counts them; a refused call writes nothing. When the
    // file refuses a row, what was stored before stays ("kept": the rows of
    // `after` the file holds then), and the rows in memory say what the file holds.
    void storeField_data()
    {
        QTest::addColumn<QVariantList>("before"); // places in start number order
        QTest::addColumn<QVariantList>("after");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("kept");
        QVariantList threeHundred;
        for (int i = 1; i <= 300; ++i)
            threeHundred << i;
        QVariantList clash = threeHundred;
        clash[199] = 1;
        QTest::newRow("one moved shooter among right places") << QVariantList{1, 2, 2, 4} << QVariantList{1, 2, 3, 4} << 0 << 4;
        QTest::newRow("Null is no place 0, and 0 is no Null") << QVariantList{null, 0} << QVariantList{0, null} << 0 << 2;
        QTest::newRow("300 new places, more than one statement takes") << QVariantList(300, null) << threeHundred << 0 << 300;
        QTest::newRow("fewer values than rows") << QVariantList{1, 2} << QVariantList{5} << 9 << 0;
        QTest::newRow("more values than rows") << QVariantList{1, 2} << QVariantList{5, 5, 5} << 9 << 0;
        QTest::newRow("a query that names no table") << QVariantList{1, 2} << QVariantList{5, 5} << 3027 << 0;
        // A unique place: the second 1 is refused in the second batch of 128 rows.
        QTest::newRow("the file refuses a row") << QVariantList(300, null) << clash << 3022 << 128;
    }

    void storeField()
    {
        QFETCH(QVariantList, before);
        QFETCH(QVariantList, after);
        QFETCH(int, error);
        QFETCH(int, kept);
        TestCompetition tc;
        QVariantList values;
        for (int i = 0; i < before.size(); ++i)
            values << i + 1 << before.at(i);
        tc.exec("INSERT INTO Ergebnisse (StartNr, Platz) VALUES " + QStringList(before.size(), "(?, ?)").join(','), values);
        if (error == 3022)
            tc.exec(QStringLiteral("CREATE UNIQUE INDEX EinPlatz ON Ergebnisse (Platz)"));
        const std::shared_ptr<Database> database = Database::open(tc.path());
        auto rs = database->openRecordset(error == 3027 ? QStringLiteral("Select 1 AS Platz UNION Select 2")
                                                        : QStringLiteral("Select * from Ergebnisse order by StartNr"));
        rs->moveTo(1);
        const int place = rs->fieldIndex(QStringLiteral("Platz"));
        QCOMPARE(raisedNumber([&] { rs->storeField(place, std::vector<QVariant>(after.begin(), after.end())); }), error);
        QCOMPARE(rs->position(), 1);
        int changed = 0;
        const QList<QVariantMap> inFile = tc.rows(QStringLiteral("SELECT Platz FROM Ergebnisse ORDER BY StartNr"));
        for (int i = 0; i < before.size(); ++i) {
            const QVariant &expected = i < kept ? after.at(i) : before.at(i);
            changed += i < kept && after.at(i) != before.at(i);
            QCOMPARE(shown(inFile.at(i).value("Platz")), shown(expected));
            if (error != 3027)
                QCOMPARE(shown(rs->storedValue(i, place)), shown(expected));
        }
        QCOMPARE(database->scalar(QStringLiteral("SELECT total_changes()")).toInt(), changed);
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
