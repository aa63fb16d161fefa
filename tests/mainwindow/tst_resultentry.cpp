// Typing results into the entry grid as a range officer does, places on F5, rows that cannot be
// stored; shooters taken over from the master list, found with the search box and deleted; the
// grid model's signals. What was stored is read back through the test's own connection.
#include "mainwindow/MainWindowSession.h"
#include "grid/GridModel.h"
#include "support/OrdinaryUserFileAccess.h"

#include <QAbstractItemModelTester>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace GridInput;

namespace {

const QString Before = QStringLiteral("/ältere Sitzung/Kreis.wkd");
const QString GiveUp = QStringLiteral("?box Sollen die Eingaben in dieser Zeile verworfen werden?");

// The cells StartNr, Schuetze, Verein, Klasse, Innenzehner, Ring1 to Ring10 typed on the new-row line.
QStringList entered(const QStringList &cells, const QString &between, const QString &after)
{
    QStringList script{"@new:StartNr"};
    for (int i = 0; i < cells.size(); ++i)
        script << cells.at(i) << (i + 1 < cells.size() ? between : after);
    return script.filter(QRegularExpression(QStringLiteral("."))); // an empty cell is not typed
}

QStringList tens(int shots, const QString &first)
{
    QStringList script{first};
    for (int shot = 0; shot < shots; ++shot)
        script << "10" << "<Tab>";
    return script;
}

} // namespace

class tst_ResultEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<MainWindowSession> m_session;

    bool open()
    {
        m_session = std::make_unique<MainWindowSession>(m_competition->path());
        return m_session->showForTyping() && m_session->dialogs().shown().empty();
    }
    ScriptedDialogs &dialogs() { return m_session->dialogs(); }
    QList<QVariantMap> storedRows() const { return m_competition->rows(QStringLiteral("SELECT * FROM Ergebnisse ORDER BY ID")); }

private slots:
    void init()
    {
        m_competition = std::make_unique<TestCompetition>();
        m_competition->setTitle(QStringLiteral("Vereinsmeisterschaft"));
    }
    void cleanup()
    {
        m_session.reset();
        m_competition.reset();
    }

    // The sample (see addFive) with two nines for Anna Weiß and a key of zeros for Dreher, who comes
    // before Öztürk now (row 3) but has no result either; "(empty)" first: no shooters.
    void typing_data()
    {
        QTest::addColumn<QStringList>("script"); // see GridInput::run
        // Tab and Enter pass over the total (the inner tens typed after the class show it); leaving the
        // last ring stores the row and goes on to where typing began. That new-row line stays untouched: F5 does not store it as an empty shooter.
        // 10,4 counts as a ten, 7,5 as a seven; star and plus are tens, an empty ring 0 (the cleaning
        // rules themselves are the score computation's, tested on their own).
        QTest::newRow("a whole row, Tab between cells, Enter after the last ring")
            << entered({"17", "Müller, Hans", "SV Grün-Weiß", "", "", "2", "10,4", "9", "8", "10", "7,5", "9", "10", "6", "9,9", "10"},
                       "<Tab>", "<Return>")
                   + QStringList{"?rows 6", "?at 6:StartNr", "?cell 5:Schuetze=Müller, Hans", "?stored 0.StartNr=17",
                                 "?stored 0.Verein=SV Grün-Weiß", "?stored 0.Innenzehner=2", "?stored 0.Ring1=10.4",
                                 "?stored 0.Ring5=7.5", "?stored 0.Serie=89.8",
                                 "?stored 0.Sortierung=000089:8000" "02" "0403010101" "0000000000", "<F5>", "?rows 6", "?boxes 0"};
        QTest::newRow("a whole row in an empty competition, Enter between, Tab after")
            << QStringList{"(empty)"} + entered({"5", "Jörg Müller", "SV Tell", "", "", "", "10", "*", "9", "+", "8", "", "", "", "", ""},
                                                "<Return>", "<Tab>")
                   + QStringList{"?rows 1", "?at 1:StartNr", "?stored 0.Serie=47",
                                 "?stored 0.Sortierung=000047" "00" "0301010000" "0000000000", "<F5>", "?rows 1"};
        QTest::newRow("Enter on a cell") << QStringList{"@0:StartNr", "<Return>", "?at 0:Schuetze"};
        QTest::newRow("keypad Enter after typing") << QStringList{"@0:StartNr", "5", "<Enter>", "?at 0:Schuetze"};
        QTest::newRow("Enter on the last ring: the next row") << QStringList{"@0:Ring10", "<Return>", "?at 1:StartNr"};
        QTest::newRow("after the last ring on to where typing began") << QStringList{"@0:Ring9", "9", "<Tab>", "8", "<Tab>", "?at 1:Ring9"};
        QTest::newRow("where typing began in an earlier row counts no more")
            << QStringList{"@0:Ring9", "9", "@1:Ring10", "<Tab>", "?at 2:StartNr"};
        QTest::newRow("Down while typing goes straight down") << QStringList{"@0:Schuetze", "Neumann", "<Down>", "?at 1:Schuetze"};
        QTest::newRow("Up while typing goes straight up") << QStringList{"@2:Ring3", "9", "<Up>", "?at 1:Ring3"};
        QTest::newRow("Shift+Tab passes over the place to the row before") << QStringList{"@1:StartNr", "<Backtab>", "?at 0:Ring10"};
        QTest::newRow("after the last shooter the new row starts at the start number")
            << QStringList{"@4:Ring10", "<Return>", "?at 5:StartNr"};
        QTest::newRow("down into the new-row line from the place") << QStringList{"@4:Platz", "<Down>", "?at 5:StartNr"};
        // Escape once gives up the open cell, a second time the row, asking first about typed values.
        QTest::newRow("Escape gives the row up and keeps the column")
            << QStringList{"!Yes", "@0:Ring3", "9", "<Return>", "<Esc>", "?at 0:Ring4", "?boxes 1", GiveUp, "?not pending"};
        QTest::newRow("Escape twice on a typed new row, answered No, keeps it")
            << QStringList{"!No", "@new:StartNr", "12", "<Tab>", "Kurz", "<Esc>", "<Esc>", "?at 5:Schuetze", GiveUp, "?pending"};
        QTest::newRow("Escape on a row without typed values asks nothing")
            << QStringList{"@0:Ring4", "9", "<Esc>", "<Esc>", "?at 0:Ring4", "?boxes 0", "?not pending"};
        // Del empties the cell as typing would: the row is computed again, stored when left; Escape gives it back.
        QTest::newRow("Del on a shot: a miss") << QStringList{"@0:Ring2", "<Del>", "<Down>", "?stored 3.Ring2=0", "?stored 3.Serie=9"};
        QTest::newRow("Del, Escape gives the shot back")
            << QStringList{"!Yes", "@0:Ring2", "<Del>", "<Esc>", "<Down>", "?boxes 1", "?stored 3.Ring2=9", "?stored 3.Serie=98.7"};
        QTest::newRow("Del on an empty cell of the new-row line starts no row")
            << QStringList{"@new:StartNr", "<Del>", "<Up>", "?rows 5", "?boxes 0"};
        // A typed value that counts as something else, or a start number another shooter has, is
        // stored as the rules say, but the cell is marked and the status bar says so until the row is left.
        // Which typed values count as typed is the score computation's list; a ring with a comma stands for them.
        const QString zero = QStringLiteral("?status Ring3: „%1“ ist kein gültiger Wert und zählt 0");
        QTest::newRow("eleven noted") << QStringList{"@0:Ring3", "11", "<Tab>", "?note 0:Ring3", zero.arg("11"), "<Down>",
                                                     "?plain 0:Ring3", "?not pending", "?stored 3.Ring3=0"};
        QTest::newRow("decimal comma is a ring") << QStringList{"@0:Ring3", "10,9", "<Tab>", "?plain 0:Ring3", "?status"};
        QTest::newRow("typed again as a ring, the mark goes")
            << QStringList{"@0:Ring3", "11", "<Tab>", "<Backtab>", "9", "<Tab>", "?plain 0:Ring3"};
        QTest::newRow("start number of another shooter")
            << QStringList{"@0:StartNr", "5", "<Tab>", "?note 0:StartNr", "?status Die Startnummer 5 hat schon Zeller.", "<Down>",
                           "?plain 0:StartNr", "?stored 3.StartNr=5", "?boxes 0"};
        QTest::newRow("new shooter with a start number given")
            << QStringList{"@new:StartNr", "3", "<Tab>", "Neu", "?note 5:StartNr", "?status Die Startnummer 3 hat schon Bauer."};
        QTest::newRow("a free start number") << QStringList{"@0:StartNr", "6", "<Tab>", "?plain 0:StartNr", "?status"};
        // A number stands where it will be shown while it is typed; a name stays left.
        QTest::newRow("a shot typed stands right") << QStringList{"@0:Ring1", "9", "?right"};
        QTest::newRow("a new start number typed stands right") << QStringList{"@new:StartNr", "9", "?right"};
        QTest::newRow("a name typed stands left") << QStringList{"@0:Schuetze", "9", "?left"};
        // However the row is left, the user is told once, nothing is stored, the row stays in edit
        // with what was typed and the window stays open; corrected, it is stored. The inner tens are
        // read only by the score computation, so a word there reaches the table as typed.
        QTest::newRow("letters in the start number, then Down")
            << QStringList{"@1:StartNr", "3b", "<Return>", "<Down>", "?boxes 1", "?box Fehler: 13 - ", "?cell 1:StartNr=3b",
                           "?pending", "?stored 1.StartNr=3", "@1:StartNr", "4", "<Return>", "<Down>", "?boxes 1", "?stored 1.StartNr=4"};
        QTest::newRow("start number beyond a long integer, closed by the menu")
            << QStringList{"@1:StartNr", "3000000000", "<Return>", "<close menu>", "?open", "?box Fehler: 3349 - ",
                           "?cell 1:StartNr=3000000000", "?last BEFORE", "@1:StartNr", "99", "<Return>", "<close menu>",
                           "?closed", "?boxes 1", "?stored 1.StartNr=99", "?last FILE"};
        QTest::newRow("letters in the start number, editor open, closed by the window frame")
            << QStringList{"@0:StartNr", "zwölf", "<close frame>", "?open", "?box Fehler: 13 - ", "?cell 0:StartNr=zwölf",
                           "?stored 3.StartNr=1", "@0:StartNr", "12", "<Return>", "<close frame>", "?closed", "?boxes 1",
                           "?stored 3.StartNr=12", "?last FILE"};
        QTest::newRow("word for the inner tens, then a click on another row")
            << QStringList{"@0:Innenzehner", "neun", "<Return>", "@3:Verein", "?boxes 1", "?box Fehler: 13 - ",
                           "?cell 0:Innenzehner=neun", "?pending", "?stored 3.Innenzehner=", "@0:Innenzehner", "9", "<Return>",
                           "@3:Verein", "?boxes 1", "?stored 3.Innenzehner=9", "?last BEFORE"};
        QTest::newRow("new row with a word for the inner tens, then Up")
            << QStringList{"@new:Schuetze", "Kurz", "<Tab>", "<Tab>", "<Tab>", "<Tab>", "acht", "<Return>", "<Up>", "?box Fehler: 13 - ",
                           "?rows 5", "?cell 5:Innenzehner=acht", "@5:Innenzehner", "8", "<Return>", "<Up>", "?boxes 1",
                           "?rows 6", "?stored 0.Innenzehner=8"};
        // F5 through the window: a typed row is stored and scored first; both grids show the places
        // best first, shooters without a result have none, and F5 again gives the same places.
        QTest::newRow("F5 ranks the stored rows")
            << QStringList{"<F5>", "?stored 3.Platz=1", "?stored 1.Platz=2", "?stored 4.Platz=3", "?stored 2.Platz=",
                           "?stored 5.Platz=", "<F5>",
                           "?stored 4.Platz=3", "?cell 0:Platz=1", "?cell 2:Platz=3", "<winners tab>", "?cell 0:Platz=1", "?boxes 0"};
        QTest::newRow("F5 stores the typed row first")
            << QStringList{"@3:Ring1", "10", "<Tab>", "10", "<Tab>", "10", "<F5>", "?not pending", "?stored 5.Serie=30",
                           "?stored 5.Platz=4", "?stored 2.Platz=", "?boxes 0"};
        // A change after the ranking is noticed on the winners list, and printing asks whether to
        // rank first; what is printed is the stored rows, best first, either way.
        const QStringList ranked{"$UPDATE Ergebnisse SET Platz = CASE ID WHEN 3 THEN 1 WHEN 1 THEN 2 WHEN 4 THEN 3 END",
                                 "<activate>"};
        QTest::newRow("ranked: no notice, printing asks nothing")
            << ranked + QStringList{"<winners tab>", "?no notice", "!print", "#mnuDateiPrint", "?boxes 1"};
        QTest::newRow("a raised total, Yes ranks before printing")
            << ranked + tens(10, "@3:Ring1") + QStringList{"<Up>", "<winners tab>", "?notice", "!Yes", "!print", "#mnuDateiPrint",
                                                         "?boxes 2", "?stored 5.Platz=4", "?stored 4.Platz=3", "?no notice",
                                                         "?cell 3:Serie=100"};
        QTest::newRow("a raised total, No prints the old places")
            << ranked + tens(10, "@3:Ring1") + QStringList{"<Up>", "<winners tab>", "?notice", "!No", "!print", "#mnuDateiPrint",
                                                         "?boxes 2", "?stored 5.Platz=", "?notice", "?cell 3:Serie=100"};
        QTest::newRow("a shooter without a result changes no place")
            << ranked + QStringList{"@new:Schuetze", "Neu", "<Up>", "?rows 6", "<winners tab>", "?no notice"};
        // The winners list is a view of the ranking: an edit there would be stored without its
        // total, so nothing can be typed, added or deleted in it; deleting is refused with a notice.
        QTest::newRow("the winners list is read-only")
            << QStringList{"<winners tab>", "?shown 5", "@0:Ring1", "7", "<Return>", "<Del>", "@4:Schuetze", "Neu", "<Down>",
                           "?not pending", "!Yes", "#mnuEditDelSchuetze", "#mnuEditDeleteAll", "?boxes 2", "?rows 5",
                           "?stored 3.Ring1=9", "?stored 5.Schuetze=Dreher",
                           "?stored 2.Schuetze=Öztürk"};
        // Deleting asks first; a club typed into a row is stored before the question, whatever the
        // answer. Without a current row nothing is asked. The question and its answers are the master
        // list's too, where the test asks about a shooter without a name and answers No to one.
        const QString askAnna = QStringLiteral("?box Soll der Schütze Anna Weiß wirklich gelöscht werden?");
        const QString askAll = QStringLiteral("?box Sollen wirklich alle Schützen gelöscht werden?");
        const QStringList typedClub{"@2:Verein", "Neu", "<Return>", "@0:Verein"};
        QTest::newRow("delete the current shooter, Yes")
            << typedClub + QStringList{"!Yes", "#mnuEditDelSchuetze", askAnna, "?rows 4", "?shown 5", "?winners 4", "?stored 4.Verein=Neu"};
        QTest::newRow("delete all, Yes empties the competition")
            << typedClub + QStringList{"!Yes", "#mnuEditDeleteAll", askAll, "?boxes 1", "?rows 0", "?shown 1", "?winners 0"};
        QTest::newRow("delete all, No keeps everyone")
            << typedClub + QStringList{"!No", "#mnuEditDeleteAll", askAll, "?rows 5", "?stored 4.Verein=Neu"};
        QTest::newRow("delete on the new-row line asks nothing") << QStringList{"@new:Verein", "#mnuEditDelSchuetze", "?boxes 0", "?rows 5"};
        // A shooter from the master list gets the highest start number plus one and no result yet: the
        // grid shows him after the others, with the marker on him. Letter case and surrounding blanks
        // make no other shooter. A refused one leaves nothing half-added, and the next one comes.
        QTest::newRow("taken over: highest start number plus one, gaps stay")
            << QStringList{"&Anna\tSV", "?rows 6", "?stored 0.StartNr=10", "?stored 0.Verein=SV", "?stored 0.Serie=",
                           "?stored 0.Sortierung=", "?status „Anna“ (SV) übernommen mit Startnummer 10", "?on Anna", "?cell 5:Schuetze=Anna"};
        QTest::newRow("taken over without a club into an empty competition")
            << QStringList{"(empty)", "&Jörg Müller\t", "?stored 0.StartNr=1", "?stored 0.Verein=",
                           "?status „Jörg Müller“ übernommen mit Startnummer 1"};
        QTest::newRow("taken over: the second tab belongs to the club") << QStringList{"&O'Brien\tSV\tNord", "?stored 0.Verein=SV\tNord"};
        QTest::newRow("taken over: rows without number count as none")
            << QStringList{"$UPDATE Ergebnisse SET StartNr = NULL", "<activate>", "&Anna\tSV", "?stored 0.StartNr=1"};
        QTest::newRow("taken over without a tab: refused")
            << QStringList{"&Kein Tabulator", "?refused", "?rows 5", "?shown 6", "&Danach\tSV", "?rows 6"};
        QTest::newRow("taken over with a name longer than the field: refused")
            << QStringList{"&" + QString(256, 'M') + "\tSV", "?refused", "?rows 5", "?shown 6", "&Danach\tSV", "?rows 6"};
        QTest::newRow("taken over again, Yes") << QStringList{"!Yes", "& bauer \tSV Tell", "?boxes 1", "?rows 6", "?on  bauer "};
        QTest::newRow("taken over again, No") << QStringList{"!No", "&BAUER\tsv tell", "?boxes 1", "?rows 5"};
        QTest::newRow("same name in another club is asked nothing") << QStringList{"&Bauer\tSV Alm", "?boxes 0", "?rows 6"};
        // A number finds the first shooter with that start number, a text the first name starting
        // so; a number that is none, or the box emptied, moves nothing. Leaving the box empties it and
        // leaves the marker where the search put it. Which row a search finds first and that one
        // finding nothing moves nothing is the recordset's test, letter case and umlauts the criterion's.
        const QStringList search{"<focus txtSuche>"}, leave{"<focus grid>", "?text txtSuche=", "?boxes 0"};
        QTest::newRow("search by start number") << search + QStringList{"5", "?on Zeller"} + leave + QStringList{"?on Zeller"};
        QTest::newRow("search by a name's start") << search + QStringList{"Ze", "?on Zeller"} + leave;
        QTest::newRow("search: an apostrophe is a character")
            << QStringList{"$UPDATE Ergebnisse SET Schuetze = CASE ID WHEN 5 THEN 'Oben' WHEN 2 THEN 'O''Brien' ELSE Schuetze END",
                           "<activate>"} + search + QStringList{"O'B", "?on O'Brien"};
        QTest::newRow("search with a star") << search + QStringList{"*türk", "?on Öztürk"};
        QTest::newRow("search: a number with a comma moves nothing") << search + QStringList{"1,5", "?on Anna Weiß"};
        QTest::newRow("search: the emptied box moves nothing")
            << search + QStringList{"Ba", "<Backspace>", "<Backspace>", "?on Bauer"} + leave + QStringList{"?on Bauer"};
    }

    void typing()
    {
        QFETCH(QStringList, script);
        const bool empty = script.first() == QLatin1String("(empty)");
        if (!empty) {
            addFive(*m_competition);
            m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Ring1 = 9, Ring2 = 9 WHERE ID = 3"));
            m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Sortierung = '%1' WHERE ID = 5").arg(QString(28, '0')));
        }
        QVERIFY(open());
        m_session->settings().write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), Before);
        script.replaceInStrings(QRegularExpression("^\\?last FILE$"), "?last " + m_competition->path());
        script.replaceInStrings(QRegularExpression("^\\?last BEFORE$"), "?last " + Before);
        run(*m_session, *m_competition, script.mid(empty ? 1 : 0));
        QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Bezeichnung FROM Wettkampf")).toString(),
                 QStringLiteral("Vereinsmeisterschaft"));
    }

    // The model's signals stay consistent while rows are started, given up, stored, taken over and
    // deleted; the tester ends the test at the first inconsistent signal.
    void modelSignalsAreConsistent()
    {
        addFive(*m_competition);
        QVERIFY(open());
        DataGrid *grid = m_session->entryGrid();
        QAbstractItemModelTester tester(grid->gridModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        run(*m_session, *m_competition,
            {"!Yes", "@new:StartNr", "12", "<Tab>", "Neu", "<Esc>", "<Esc>", "?shown 6", "@new:StartNr", "13", "<Tab>", "Kurz",
             "<Up>", "@1:Ring1", "9", "<Down>", "?shown 7", "&Anton\tSV", "?shown 8", "@0:Verein", "!Yes",
             "#mnuEditDelSchuetze", "?shown 7", "<F5>", "$DELETE FROM Ergebnisse WHERE ID = 4", "<activate>", "?shown 6"});
    }

    // Another program holds the file locked: the failure is told, nothing stored, F5 works afterwards.
    void placesFailureIsReportedAndProgramGoesOn()
    {
        m_competition->addResult(1, "Anna Berg", "V", 50, "0000500000000000000000000000");
        QVERIFY(open());
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
            other.setDatabaseName(m_competition->path());
            QSqlQuery lock(other);
            QVERIFY(other.open() && lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QTest::keyClick(&m_session->window(), Qt::Key_F5);
            QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
        run(*m_session, *m_competition, {"?boxes 1", "?box Fehler: ", "?stored 1.Platz=", "<F5>", "?stored 1.Platz=1"});
        QVERIFY(dialogs().shown().front().text.contains(QStringLiteral("Plätze")));
    }

    // Opened through the menu, a competition the user may read but not write says so at once;
    // places and a typed row are refused with the database's message; the file stays as it was.
    void readOnlyCompetition()
    {
        addFive(*m_competition);
        QVERIFY(QFile::setPermissions(m_competition->folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                                    | QFile::ReadOther | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(m_competition->path(), QFile::ReadOwner | QFile::ReadOther));
        const QList<QVariantMap> before = storedRows();
        m_session = std::make_unique<MainWindowSession>();
        {
            OrdinaryUserFileAccess access;
            if (access.rootNotDropped())
                QSKIP("running as root without the right to use files as another user");
            run(*m_session, *m_competition, {"!file:" + m_competition->path(), "#mnuDateiOpen"});
            QVERIFY(m_session->showForTyping());
            run(*m_session, *m_competition,
                {"?cell 0:Schuetze=Anna Weiß", "?boxes 2", "<F5>", "?box Fehler: 3027 - ", "<focus grid>",
                 "@0:Schuetze", "Neumann", "<Return>", "<Down>", "?boxes 4", "?box Fehler: 3027 - ", "?pending", "!Yes", "<Esc>"});
            QVERIFY(dialogs().shown().at(1).text.contains(QStringLiteral("schreibgeschützt")));
        }
        QCOMPARE(storedRows(), before);
        QVERIFY(m_session->close());
    }
};

QTEST_MAIN(tst_ResultEntry)
#include "tst_resultentry.moc"
