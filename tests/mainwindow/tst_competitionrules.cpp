#include "classes/frmKlassen.h"
#include "grid/GridModel.h"
#include "mainwindow/MainWindowSession.h"
#include "masterlist/frmGesamt.h"
#include "support/CheckConnection.h"
#include "support/OrdinaryUserFileAccess.h"
#include "support/IndependentCsv.h"
#include "support/PdfText.h"
#include "support/TestMasterList.h"

#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

namespace {

// A competition as an earlier version wrote it: no class field, no class
// list, no settings of its own.
void makeEarlier(const TestCompetition &tc)
{
    tc.exec("DROP TABLE Klassen");
    tc.exec("DROP TABLE Einstellungen");
    tc.exec("CREATE TABLE Alt AS SELECT ID, Platz, StartNr, Schuetze, Verein, Serie, Innenzehner, Ring1, Ring2, Ring3, "
            "Ring4, Ring5, Ring6, Ring7, Ring8, Ring9, Ring10, Sortierung FROM Ergebnisse");
    tc.exec("DROP TABLE Ergebnisse");
    tc.exec("ALTER TABLE Alt RENAME TO Ergebnisse");
}

// Three classes of the list and one shooter without: totals decide, the
// classes rank on their own.
void fillClasses(const TestCompetition &tc)
{
    for (const char *name : {"Jugend", "Damen", "Herren"})
        tc.exec("INSERT INTO Klassen (Reihenfolge, Name, Geschlecht) VALUES ((SELECT count(*) + 1 FROM Klassen), ?, 'beide')",
                {name});
    const QList<std::tuple<QString, QString, int>> shooters{
        {"Anna", "Damen", 95}, {"Bert", "Herren", 93}, {"Cora", "Damen", 97},
        {"Dirk", "Herren", 93}, {"Emil", "", 90},     {"Fritz", "Jugend", 88}};
    int startNr = 0;
    for (const auto &[name, klasse, total] : shooters) {
        tc.addResult(++startNr, name, "SV", total, QStringLiteral("%1").arg(total, 6, 10, QLatin1Char('0')) + QString(22, '0'));
        if (!klasse.isEmpty())
            tc.exec("UPDATE Ergebnisse SET Klasse = ? WHERE Schuetze = ?", {klasse, name});
    }
}

// The winners list as it reads: heading lines as "[class]", rows as "place name".
QStringList winnersLines(DataGrid *grid)
{
    QStringList lines;
    const QAbstractItemModel *model = grid->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString heading = model->index(row, 0).data(GridModel::HeadingRole).toString();
        lines << (heading.isEmpty() ? GridInput::cellText(grid, row, "Platz") + ' ' + GridInput::cellText(grid, row, "Schuetze")
                                    : '[' + heading + ']');
    }
    return lines;
}

// The team list's lines as "place|team|class|shooter|rings".
QStringList teamLines(MainWindowSession &session)
{
    const QAbstractItemModel *model = session.window().findChild<QTableView *>("grdMannschaften")->model();
    QStringList lines;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        lines << cells.join('|');
    }
    return lines;
}

QString statusText(MainWindowSession &session)
{
    return session.window().findChild<QStatusBar *>()->currentMessage();
}

} // namespace

class TestCompetitionRules : public QObject
{
    Q_OBJECT

private slots:
    void earlierCompetitionOpens_data();
    void earlierCompetitionOpens();
    void earlierLayoutShowsTheClass_data();
    void earlierLayoutShowsTheClass();
    void classCell_data();
    void classCell();
    void winnersListByClass();
    void tieRuleCommand();
    void teamList();
    void classListDialog();
    void takeOverProposesTheClass_data();
    void takeOverProposesTheClass();
};

void TestCompetitionRules::earlierCompetitionOpens_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("writable: the classes added") << false;
    QTest::newRow("read-only: opened as it is, said in the status bar") << true;
}

void TestCompetitionRules::earlierCompetitionOpens()
{
    QFETCH(bool, readOnly);
    TestCompetition tc;
    makeEarlier(tc);
    tc.addResult(1, "Anna", "SV", 95, "000095" + QString(22, '0'));
    std::optional<OrdinaryUserFileAccess> access;
    if (readOnly) {
        QVERIFY(QFile::setPermissions(tc.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(tc.folder(), QFileDevice::Permissions(0x7555)));
        if (access.emplace().rootNotDropped())
            QSKIP("running as root without the right to check files as another user");
    }
    MainWindowSession session(tc.path());
    QCOMPARE(session.window().CompetitionPath(), tc.path());
    QCOMPARE(statusText(session).contains("früheren Version"), readOnly);
    QCOMPARE(tc.scalar("SELECT count(*) FROM pragma_table_info('Ergebnisse') WHERE name = 'Klasse'").toInt(),
             readOnly ? 0 : 1);
    QCOMPARE(GridInput::cellText(session.entryGrid(), 0, "Schuetze"), QStringLiteral("Anna"));
    QVERIFY(session.dialogs().allAnswersUsed());
}

void TestCompetitionRules::earlierLayoutShowsTheClass_data()
{
    QTest::addColumn<bool>("withClass");
    QTest::newRow("before the classes: class and team shown") << false;
    QTest::newRow("with classes: the team shown beside the class") << true;
}

// Settings an earlier version stored for 18 columns (19 with the class
// beside the club, 950 wide): in the layout Verein moved to the front and
// 2222 wide, Serie 999, Ring10 hidden; in the width list of the winners
// list Serie 777.
void TestCompetitionRules::earlierLayoutShowsTheClass()
{
    QFETCH(bool, withClass);
    TestCompetition tc;
    MainWindowSession session(tc.path());
    QStringList fields{"ID", "Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner"};
    for (int shot = 1; shot <= 10; ++shot)
        fields << QStringLiteral("Ring%1").arg(shot);
    fields << "Sortierung";
    if (withClass)
        fields.insert(5, "Klasse");
    QString layout;
    QString widths = ";";
    for (int i = 0; i < fields.size(); ++i) {
        const QString field = fields.at(i);
        const int position = i < 4 ? i + 1 : i == 4 ? 0 : i;
        const int width = field == "Verein" ? 2222 : field == "Serie" ? 999 : field == "Klasse" ? 950
                          : (field == "ID" || field == "Ring10" || field == "Sortierung") ? 0 : 600;
        layout += QStringLiteral("%1 - %2;").arg(position).arg(width);
        widths += QString::number(field == "Serie" ? 777 : 600) + ';';
    }
    session.settings().write("Allgemein", "Grid-Layout-TDBGrid1", layout);
    session.settings().write("Positionen", "TDBGrid2", widths);
    frmMain reopened;
    DataGrid *entry = reopened.findChild<DataGrid *>("TDBGrid1");
    // A new column comes after the one before it; the class keeps where it was put.
    QCOMPARE(entry->columns("Klasse").order(), withClass ? 5 : entry->columns("Verein").order() + 1);
    QCOMPARE(entry->columns("Klasse").width(), withClass ? 950.0 : 900.0);
    QCOMPARE(entry->columns("Mannschaft").order(), entry->columns("Klasse").order() + 1);
    QVERIFY(entry->columns("Klasse").isVisible() && entry->columns("Mannschaft").isVisible());
    QCOMPARE(entry->columns("Verein").order(), 0);
    QCOMPARE(entry->columns("Verein").width(), 2222.0);
    QCOMPARE(entry->columns("Serie").width(), 999.0);
    QVERIFY(!entry->columns("Ring10").isVisible() && entry->columns("Ring9").isVisible());
    DataGrid *winners = reopened.findChild<DataGrid *>("TDBGrid2");
    QCOMPARE(winners->columns("Serie").width(), 777.0);
    QVERIFY(winners->columns("Mannschaft").width() != 600.0);
}

void TestCompetitionRules::classCell_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("listed");

    QTest::newRow("the first letters pick the class") << "da" << QList<int>{} << "Damen" << "Jugend,Damen,Herren";
    QTest::newRow("blanks are no class, nothing asked") << "  " << QList<int>{} << "" << "Jugend,Damen,Herren";
    QTest::newRow("a new class asked, Ja adds it")
        << "Senioren" << QList<int>{int(Dialogs::Answer::Yes)} << "Senioren" << "Jugend,Damen,Herren,Senioren";
    QTest::newRow("a new class asked, Nein leaves the cell")
        << "Senoiren" << QList<int>{int(Dialogs::Answer::No)} << "" << "Jugend,Damen,Herren";
}

void TestCompetitionRules::classCell()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, answers);
    QFETCH(QString, stored);
    QFETCH(QString, listed);
    TestCompetition tc;
    fillClasses(tc);
    tc.exec("UPDATE Ergebnisse SET Klasse = NULL WHERE Schuetze = 'Emil'");
    MainWindowSession session(tc.path());
    for (const int answer : answers)
        session.dialogs().answer(Dialogs::Answer(answer));
    DataGrid *grid = session.entryGrid();
    const int emil = 4; // the fifth best
    QCOMPARE(GridInput::cellText(grid, emil, "Schuetze"), QStringLiteral("Emil"));
    grid->setCurrentIndex(grid->model()->index(emil, grid->columnIndex("Klasse")));
    grid->model()->setData(grid->currentIndex(), typed);
    grid->storePendingEdit();
    QCOMPARE(tc.scalar("SELECT coalesce(Klasse, '') FROM Ergebnisse WHERE Schuetze = 'Emil'").toString(), stored);
    QStringList names;
    for (const QVariantMap &row : tc.rows("SELECT Name FROM Klassen ORDER BY Reihenfolge"))
        names << row.value("Name").toString();
    QCOMPARE(names.join(','), listed);
    QCOMPARE(session.dialogs().shown().size(), size_t(answers.size()));
    QVERIFY(session.dialogs().allAnswersUsed());
}

// F5 ranks each class; the list shows them in the list's order, then those
// without class; print and export follow it.
void TestCompetitionRules::winnersListByClass()
{
    TestCompetition tc;
    tc.setTitle("Vereinsmeisterschaft");
    fillClasses(tc);
    MainWindowSession session(tc.path());
    session.trigger("mnuEditUpdatePlaetze");
    QCOMPARE(winnersLines(session.winnersGrid()),
             (QStringList{"[Jugend]", "1 Fritz", "[Damen]", "1 Cora", "2 Anna", "[Herren]", "1 Bert", "1 Dirk",
                          "[Ohne Klasse]", "1 Emil"}));
    const QString pdf = tc.folder() + "/liste.pdf";
    session.settings().write("Printer", "Klassenumbruch", "-1");
    session.dialogs().answerPrint(pdf);
    session.trigger("mnuDateiPrint");
    const PdfText text(pdf);
    QCOMPARE(text.pageCount(), 4);
    QVERIFY(text.text(1).contains("Vereinsmeisterschaft"));
    QVERIFY(text.text(2).contains("Damen") && text.text(2).contains("Cora") && !text.text(2).contains("Bert"));
    QVERIFY(text.text(4).contains("Ohne Klasse") && text.text(4).contains("Emil"));
    // No rule was chosen: the list looks as it always did.
    QVERIFY(!text.text(1).contains("Wertung"));
}

// Bearbeiten › Wertung...: B and C of the scoring example tie on 89 rings;
// the first rule puts B ahead (inner tens), the DSB rule C (tens).
void TestCompetitionRules::tieRuleCommand()
{
    TestCompetition tc;
    tc.addResult(1, "B", "SV", 89, "0000890202050300000000000000", {10, 10, 9, 9, 9, 8, 8, 9, 8, 9});
    tc.addResult(2, "C", "SV", 89, "0000890103040201000000000000", {10, 10, 10, 9, 9, 7, 8, 9, 8, 9});
    tc.exec("UPDATE Ergebnisse SET Innenzehner = 2 WHERE Schuetze = 'B'");
    tc.exec("UPDATE Ergebnisse SET Innenzehner = 1 WHERE Schuetze = 'C'");
    MainWindowSession session(tc.path());
    auto *rule = session.window().findChild<QLabel *>("lblWertung");
    QVERIFY(rule->isHidden());
    session.dialogs().answerText(QStringLiteral("DSB-Sportordnung: Ringe, Zehner, Neuner … Einer, Innenzehner"));
    session.trigger("mnuEditWertung");
    session.trigger("mnuEditUpdatePlaetze");
    QCOMPARE(tc.scalar("SELECT Platz FROM Ergebnisse WHERE Schuetze = 'C'").toInt(), 1);
    QCOMPARE(tc.scalar("SELECT Platz FROM Ergebnisse WHERE Schuetze = 'B'").toInt(), 2);
    QCOMPARE(rule->text(), QStringLiteral("Wertung: DSB-Sportordnung: Ringe, Zehner, Neuner … Einer, Innenzehner"));
    QVERIFY(!rule->isHidden());
}

// Herren: "SV 1" counts its best three of four (95 + 93 + 90), however the
// name is written; "Nord" has two and is listed after it without a place.
// Damen rank on their own. With two counting, Nord (97 + 96) wins.
void TestCompetitionRules::teamList()
{
    TestCompetition tc;
    tc.setTitle("Kreismeisterschaft");
    for (const char *name : {"Herren", "Damen"})
        tc.exec("INSERT INTO Klassen (Reihenfolge, Name) VALUES ((SELECT count(*) + 1 FROM Klassen), ?)", {name});
    const QList<std::tuple<QString, QString, QString, int>> shooters{
        {"A", "Herren", "SV 1", 95}, {"B", "Herren", " sv 1", 93}, {"C", "Herren", "SV 1", 90}, {"D", "Herren", "SV 1", 80},
        {"E", "Herren", "Nord", 97}, {"F", "Herren", "Nord", 96}, {"G", "Damen", "SV 1", 91},  {"H", "Damen", "SV 1", 92},
        {"I", "Damen", "SV 1", 89}};
    int startNr = 0;
    for (const auto &[name, klasse, team, total] : shooters) {
        tc.addResult(++startNr, name, "SV", total, QStringLiteral("%1").arg(total, 6, 10, QLatin1Char('0')) + QString(22, '0'));
        tc.exec("UPDATE Ergebnisse SET Klasse = ?, Mannschaft = ? WHERE Schuetze = ?", {klasse, team, name});
    }
    MainWindowSession session(tc.path());
    session.trigger("mnuEditUpdatePlaetze");
    session.window().findChild<QTabWidget *>("SSTab1")->setCurrentIndex(2);
    QCOMPARE(teamLines(session), (QStringList{"1|SV 1|Herren||278", "|||A|95", "|||B|93", "|||C|90",
                                             "|Nord|Herren||193", "|||E|97", "|||F|96",
                                             "1|SV 1|Damen||272", "|||H|92", "|||G|91", "|||I|89"}));

    session.dialogs().answerText(TieRules::title(TieRule::InnerTensFirst));
    session.dialogs().answerNumber(2);
    session.trigger("mnuEditWertung");
    QCOMPARE(tc.scalar("SELECT Wert FROM Einstellungen WHERE Name = 'Mannschaft'").toString(), QStringLiteral("2"));
    QCOMPARE(teamLines(session).mid(0, 4), (QStringList{"1|Nord|Herren||193", "|||E|97", "|||F|96", "2|SV 1|Herren||188"}));

    const QString pdf = tc.folder() + "/mannschaften.pdf";
    session.dialogs().answerPrint(pdf);
    session.trigger("mnuDateiPrint");
    const PdfText text(pdf);
    QVERIFY(text.text(1).contains("Mannschaften: die besten 2 Schützen zählen"));
    const std::optional<QRectF> nord = text.find(1, "Nord");
    const std::optional<QRectF> total = text.find(1, "193");
    QVERIFY(nord && total && qAbs(nord->center().y() - total->center().y()) < 2);
    QVERIFY(!text.text(1).contains("Innenzehner"));
    const QString csv = tc.folder() + "/mannschaften.csv";
    session.dialogs().answerFile(csv);
    session.trigger("mnuDateiExport");
    QString error;
    const QList<QStringList> records = IndependentCsv::read(csv, ';', &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(records.mid(0, 3), (QList<QStringList>{{"Platz", "Mannschaft", "Klasse", "Schütze", "Ringe"},
                                                   {"1", "Nord", "Herren", "", "193"}, {"", "", "", "E", "97"}}));
    QVERIFY(session.dialogs().allAnswersUsed());
}

// What OK refuses, with the cursor on the cell; removing a class that
// shooters have is asked first.
void TestCompetitionRules::classListDialog()
{
    ScriptedDialogs dialogs;
    frmKlassen dialog({{1, "Damen", 1950, std::nullopt, "w"}, {2, "Herren", std::nullopt, std::nullopt, "m"}},
                      [](const QString &name) { return name == "Herren" ? 3 : 0; });
    QTableWidget *table = dialog.table();
    dialog.cmdNeu_Click();
    dialog.cmdOK_Click();
    table->item(2, 0)->setText("damen");
    dialog.cmdOK_Click();
    table->item(2, 0)->setText("Jugend");
    table->item(2, 1)->setText("2010");
    table->item(2, 2)->setText("2005");
    dialog.cmdOK_Click();
    table->item(2, 2)->setText("20x5");
    dialog.cmdOK_Click();
    QCOMPARE(dialogs.boxes(), (QStringList{"Klassen|Jede Klasse braucht einen Namen.",
                                          "Klassen|Die Klasse „damen“ steht zweimal in der Liste.",
                                          "Klassen|Bei der Klasse „Jugend“ liegt der erste Jahrgang nach dem letzten.",
                                          "Klassen|„20x5“ ist kein Jahrgang: bitte ein Jahr von 1900 bis 2100 eingeben "
                                          "oder das Feld leer lassen."}));
    QCOMPARE(table->currentRow(), 2);
    QCOMPARE(table->currentColumn(), 2);
    QVERIFY(!dialog.result());
    table->item(2, 2)->setText("2016");
    dialog.cmdHoch_Click();
    table->setCurrentCell(2, 0);
    dialogs.clear();
    dialogs.answer(Dialogs::Answer::No);
    dialog.cmdLoeschen_Click();
    QCOMPARE(table->rowCount(), 3);
    dialogs.answer(Dialogs::Answer::Yes);
    dialog.cmdLoeschen_Click();
    QCOMPARE(dialogs.boxes().size(), 2);
    QVERIFY(dialogs.boxes().first().contains("„Herren“ sind 3 Schützen"));
    dialog.cmdOK_Click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const std::vector<ClassDef> classes = dialog.classes();
    QCOMPARE(classes.size(), size_t(2));
    QCOMPARE(classes[0].name + classes[1].name, QStringLiteral("DamenJugend"));
    QCOMPARE(classes[1].yearFrom, std::optional<int>(2010));
    QCOMPARE(classes[0].sex, QStringLiteral("w"));
    QVERIFY(classes[1].id.isNull() && classes[0].id == QVariant(1));
}

void TestCompetitionRules::takeOverProposesTheClass_data()
{
    QTest::addColumn<bool>("earlier");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("birth year and sex of the list propose the class") << false << "Jugend";
    QTest::newRow("a list of an earlier version gets both fields when opened") << true << "";
}

// Lena, born 2008, is handed over from the master list window.
void TestCompetitionRules::takeOverProposesTheClass()
{
    QFETCH(bool, earlier);
    QFETCH(QString, proposed);
    TestCompetition tc;
    tc.exec("INSERT INTO Klassen (Reihenfolge, Name, JahrgangVon, JahrgangBis, Geschlecht) VALUES "
            "(1, 'Jugend', 2005, 2012, 'beide'), (2, 'Damen', NULL, NULL, 'w')");
    TestMasterList master;
    const QString fields = "SELECT group_concat(name, ',') FROM pragma_table_info('Schuetzen')";
    if (earlier) {
        CheckConnection::exec(master.path(), "DROP TABLE Schuetzen");
        CheckConnection::exec(master.path(), "CREATE TABLE Schuetzen (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                             "Schuetze TEXT, Verein TEXT)");
        CheckConnection::exec(master.path(), "INSERT INTO Schuetzen (Schuetze, Verein) VALUES ('Lena', 'SV')");
    } else {
        CheckConnection::exec(master.path(), "INSERT INTO Schuetzen (Schuetze, Verein, Jahrgang, Geschlecht) "
                                             "VALUES ('Lena', 'SV', 2008, 'w')");
    }
    frmGesamt::setMasterFolders(master.programFolder(), master.userFolder());
    MainWindowSession session(tc.path());
    session.trigger("mnuEditGesamtliste");
    frmGesamt *list = openedWindow<frmGesamt>();
    QVERIFY(list);
    QCOMPARE(CheckConnection::scalar(master.path(), fields).toString(), QStringLiteral("ID,Schuetze,Verein,Jahrgang,Geschlecht"));
    QTest::mouseClick(list->findChild<QPushButton *>("cmdUebernahme"), Qt::LeftButton);
    QCOMPARE(tc.scalar("SELECT coalesce(Klasse, '') FROM Ergebnisse WHERE Schuetze = 'Lena'").toString(), proposed);
    QCOMPARE(statusText(session).endsWith(", Klasse Jugend"), !earlier);
    // A list of today is left as it is: no failed second upgrade to report.
    QVERIFY(session.dialogs().shown().empty());
    delete list;
    frmGesamt::setMasterFolders({}, {});
}

QTEST_MAIN(TestCompetitionRules)
#include "tst_competitionrules.moc"
