// The master list at work beside an open competition: taking shooters over,
// finding them by name, keeping the list in name order, deleting.
#include "DataGrid.h"
#include "DataSource.h"
#include "GridModel.h"
#include "GuiTyping.h"
#include "Recordset.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "TestMasterList.h"
#include "frmGesamt.h"
#include "frmMain.h"
#include "tempModule.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

const QString Name = QStringLiteral("Schuetze");
const QString Club = QStringLiteral("Verein");

QVariant nullable(const QString &text)
{
    if (text == QLatin1String("(null)"))
        return QVariant();
    return text.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// Typing with "\b" for the backspace key.
void typeWithBackspaces(const QString &text)
{
    const QStringList pieces = text.split(QLatin1Char('\b'));
    for (int i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            GuiTyping::press(Qt::Key_Backspace);
        GuiTyping::typeText(pieces.at(i));
    }
}

} // namespace

class tst_MasterList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void takeOver_data();
    void takeOver();
    void takeOverSeveral_data();
    void takeOverSeveral();
    void takeOverNothing_data();
    void takeOverNothing();
    void takeOverTypedShooter();

    void search_data();
    void search();
    void nameOrder_data();
    void nameOrder();

    void deleteCurrent_data();
    void deleteCurrent();
    void deleteStoresTypedChangeFirst_data();
    void deleteStoresTypedChangeFirst();
    void deleteWithoutCurrentRow_data();
    void deleteWithoutCurrentRow();
    void deleteAll_data();
    void deleteAll();

private:
    void fillMaster(const QStringList &shooters) const;
    void openMain(bool withCompetition = true);
    void openList();
    DataGrid *grid() const { return m_list->findChild<DataGrid *>(QStringLiteral("TDBGrid1")); }
    Recordset *rows() const { return m_list->findChild<DataSource *>(QStringLiteral("Data1"))->recordset(); }
    QString currentName() const { return GetFieldValue(*rows(), Name).toString(); }
    QStringList shownNames() const;
    int rowOf(const QString &name) const { return int(shownNames().indexOf(name)); }
    void selectRow(int row) const;
    void takeOverClick() const;
    void trigger(const QString &action) const { m_list->findChild<QAction *>(action)->trigger(); }
    QList<QVariantMap> competitionRows() const
    {
        return m_competition->rows(QStringLiteral("SELECT StartNr, Schuetze, Verein FROM Ergebnisse ORDER BY ID"));
    }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<TestMasterList> m_master;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_main;
    QPointer<frmGesamt> m_list;
};

void tst_MasterList::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_competition = std::make_unique<TestCompetition>();
    m_master = std::make_unique<TestMasterList>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    frmGesamt::setMasterFolders(m_master->programFolder(), m_master->userFolder());
}

void tst_MasterList::cleanup()
{
    m_main.reset(); // takes the list window with it
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_list.isNull());
    frmGesamt::setMasterFolders(QString(), QString());
    m_dialogs.reset();
    m_master.reset();
    m_competition.reset();
    m_settings.reset();
}

void tst_MasterList::fillMaster(const QStringList &shooters) const
{
    for (const QString &shooter : shooters)
        m_master->addShooter(nullable(shooter.section(QLatin1Char('|'), 0, 0)),
                             nullable(shooter.section(QLatin1Char('|'), 1, 1)));
}

void tst_MasterList::openMain(bool withCompetition)
{
    if (withCompetition)
        m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competition->path());
    m_main = std::make_unique<frmMain>();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
}

void tst_MasterList::openList()
{
    m_main->findChild<QAction *>(QStringLiteral("mnuEditGesamtliste"))->trigger();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *list = qobject_cast<frmGesamt *>(window))
            m_list = list;
    }
    QVERIFY(m_list);
    QVERIFY(QTest::qWaitForWindowActive(m_list));
}

QStringList tst_MasterList::shownNames() const
{
    QStringList names;
    const GridModel *model = grid()->gridModel();
    const int column = grid()->columnIndex(Name);
    for (int row = 0; row < model->rowCount() - 1; ++row) // the last line is the new-row line
        names << model->data(model->index(row, column), Qt::DisplayRole).toString();
    return names;
}

void tst_MasterList::selectRow(int row) const
{
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(row, grid()->columnIndex(Name)));
}

void tst_MasterList::takeOverClick() const
{
    QTest::mouseClick(m_list->findChild<QPushButton *>(QStringLiteral("cmdUebernahme")), Qt::LeftButton);
}

// ---------------------------------------------------------------- take-over

void tst_MasterList::takeOver_data()
{
    QTest::addColumn<QStringList>("shooters"); // "name|club" in the master list
    QTest::addColumn<QString>("pick");
    QTest::addColumn<QList<int>>("startNrs"); // already in the competition
    QTest::addColumn<QString>("club");        // as the competition receives it
    QTest::addColumn<int>("startNr");

    const QStringList three{"Zander, Zoe|SV Nord", "Müller, Jörg|SV Tell Ülzen", "Berg, Anna|(null)"};
    QTest::newRow("with club") << three << "Müller, Jörg" << QList<int>{} << "SV Tell Ülzen" << 1;
    QTest::newRow("without club: name and tab") << three << "Berg, Anna" << QList<int>{} << "" << 1;
    QTest::newRow("empty club text") << QStringList{"Kurz, Karl|"} << "Kurz, Karl" << QList<int>{} << "" << 1;
    QTest::newRow("last row of the list") << three << "Zander, Zoe" << QList<int>{} << "SV Nord" << 1;
    QTest::newRow("apostrophe and accents")
        << QStringList{"O'Brien, Seán|Åsa Skytteklubb"} << "O'Brien, Seán" << QList<int>{} << "Åsa Skytteklubb" << 1;
    QTest::newRow("next start number after the highest")
        << three << "Müller, Jörg" << QList<int>{4, 17, 9} << "SV Tell Ülzen" << 18;
}

void tst_MasterList::takeOver()
{
    QFETCH(QStringList, shooters);
    QFETCH(QString, pick);
    QFETCH(QList<int>, startNrs);
    QFETCH(QString, club);
    QFETCH(int, startNr);
    fillMaster(shooters);
    for (int number : startNrs)
        m_competition->addResult(number, QStringLiteral("Vorher %1").arg(number), QStringLiteral("V"));
    const QStringList masterBefore = m_master->shooters();
    openMain();
    openList();
    selectRow(rowOf(pick));
    takeOverClick();

    const QList<QVariantMap> added = m_competition->rows(
        QStringLiteral("SELECT StartNr, Verein FROM Ergebnisse WHERE Schuetze = ?"), {pick});
    QCOMPARE(added.size(), 1);
    QCOMPARE(added.first().value(Club).toString(), club);
    QCOMPARE(added.first().value(QStringLiteral("StartNr")).toInt(), startNr);
    QCOMPARE(competitionRows().size(), startNrs.size() + 1);
    // The list stays open on its row and is not changed.
    QVERIFY(m_list && m_list->isVisible());
    QCOMPARE(currentName(), pick);
    QCOMPARE(grid()->currentIndex().row(), rowOf(pick));
    QCOMPARE(m_master->shooters(), masterBefore);
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
}

void tst_MasterList::takeOverSeveral_data()
{
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<bool>("bySearch"); // found with the search box, else clicked in the grid
    QTest::addColumn<QStringList>("expected"); // the competition: "StartNr name|club" in order

    QTest::newRow("two shooters clicked")
        << QStringList{"Müller, Jörg", "Arnold, Ute"} << false
        << QStringList{"1 Müller, Jörg|SV Tell", "2 Arnold, Ute|SG Alm"};
    QTest::newRow("the same shooter twice")
        << QStringList{"Zander, Zoe", "Zander, Zoe"} << false
        << QStringList{"1 Zander, Zoe|SV Nord", "2 Zander, Zoe|SV Nord"};
    QTest::newRow("three found by typing")
        << QStringList{"zan", "mü", "ar"} << true
        << QStringList{"1 Zander, Zoe|SV Nord", "2 Müller, Jörg|SV Tell", "3 Arnold, Ute|SG Alm"};
}

void tst_MasterList::takeOverSeveral()
{
    QFETCH(QStringList, picks);
    QFETCH(bool, bySearch);
    QFETCH(QStringList, expected);
    fillMaster({"Zander, Zoe|SV Nord", "Müller, Jörg|SV Tell", "Arnold, Ute|SG Alm"});
    openMain();
    openList();
    auto *search = m_list->findChild<QLineEdit *>(QStringLiteral("txtSuche"));
    for (const QString &pick : picks) {
        if (bySearch) {
            search->setFocus();
            search->selectAll();
            GuiTyping::typeText(pick);
        } else {
            selectRow(rowOf(pick));
        }
        const QString current = currentName();
        takeOverClick();
        QCOMPARE(currentName(), current);
    }
    QStringList competition;
    for (const QVariantMap &row : competitionRows())
        competition << row.value(QStringLiteral("StartNr")).toString() + QLatin1Char(' ')
                           + row.value(Name).toString() + QLatin1Char('|') + row.value(Club).toString();
    QCOMPARE(competition, expected);
    QVERIFY(m_list->isVisible());
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
}

void tst_MasterList::takeOverNothing_data()
{
    QTest::addColumn<QStringList>("shooters");
    QTest::addColumn<bool>("competition"); // a competition is open
    QTest::addColumn<bool>("newRowLine");  // the marker on the new-row line

    QTest::newRow("marker on the new-row line") << QStringList{"Berg, Anna|SV"} << true << true;
    QTest::newRow("empty list") << QStringList{} << true << false;
    QTest::newRow("no competition open") << QStringList{"Berg, Anna|SV"} << false << false;
}

void tst_MasterList::takeOverNothing()
{
    QFETCH(QStringList, shooters);
    QFETCH(bool, competition);
    QFETCH(bool, newRowLine);
    fillMaster(shooters);
    openMain(competition);
    openList();
    if (newRowLine)
        selectRow(shooters.size());
    takeOverClick();
    QCOMPARE(competitionRows().size(), 0);
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
    QCOMPARE(TestMasterList::count(m_master->path()), shooters.size());
    QVERIFY(m_list->isVisible());
}

// A shooter typed into the list and taken over at once is kept in the list
// as well as entered into the competition.
void tst_MasterList::takeOverTypedShooter()
{
    fillMaster({"Berg, Anna|SV Alm"});
    openMain();
    openList();
    selectRow(1);
    GuiTyping::typeText(QStringLiteral("Neu, Nina"));
    GuiTyping::press(Qt::Key_Tab);
    GuiTyping::typeText(QStringLiteral("SV Süd"));
    takeOverClick();
    QCOMPARE(m_master->shooters(), (QStringList{"Berg, Anna|SV Alm", "Neu, Nina|SV Süd"}));
    QCOMPARE(competitionRows().size(), 1);
    QCOMPARE(competitionRows().first().value(Name).toString(), QStringLiteral("Neu, Nina"));
    QCOMPARE(competitionRows().first().value(Club).toString(), QStringLiteral("SV Süd"));
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
}

// ---------------------------------------------------------------- search and order

void tst_MasterList::search_data()
{
    QTest::addColumn<QString>("typed"); // "\b" is the backspace key
    QTest::addColumn<QString>("found");

    QTest::newRow("prefix") << "Zan" << "Zander, Zoe";
    QTest::newRow("lower case finds upper case") << "zan" << "Zander, Zoe";
    QTest::newRow("upper case finds lower case") << "MÜLLER, A" << "müller, anna";
    QTest::newRow("umlaut in lower case finds upper case") << "ärg" << "Ärger, Anton";
    QTest::newRow("first of several in name order") << "mü" << "müller, anna";
    QTest::newRow("plain vowel does not match an umlaut") << "mu" << "Muller, Paul";
    QTest::newRow("letter by letter") << "mus" << "Mustermann, Max";
    QTest::newRow("apostrophe is a character") << "o'b" << "O'Brien, Sean";
    QTest::newRow("pattern star takes effect") << "*ute" << "Arnold, Ute";
    QTest::newRow("no match leaves the marker") << "zx" << "Zander, Zoe";
    QTest::newRow("open bracket leaves the marker") << "mus[" << "Mustermann, Max";
    QTest::newRow("deleting a letter searches again") << "mus\b" << "Muller, Paul";
    QTest::newRow("empty box: first shooter with a name") << "zan\b\b\b" << "Ärger, Anton";
}

void tst_MasterList::search()
{
    QFETCH(QString, typed);
    QFETCH(QString, found);
    fillMaster({"Zander, Zoe|", "Müller, Jörg|", "müller, anna|", "Ärger, Anton|", "Arnold, Ute|",
                "O'Brien, Sean|", "(null)|Ohne Namen", "Mustermann, Max|", "Muller, Paul|"});
    openMain();
    openList();
    selectRow(0); // the shooter without a name, whom no search finds
    m_list->findChild<QLineEdit *>(QStringLiteral("txtSuche"))->setFocus();
    typeWithBackspaces(typed);
    QCOMPARE(currentName(), found);
    QCOMPARE(grid()->currentIndex().row(), rowOf(found));
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
}

void tst_MasterList::nameOrder_data()
{
    QTest::addColumn<QString>("change"); // "type": a shooter typed in; "rename": a name changed
    QTest::addColumn<QStringList>("beforeF5");
    QTest::addColumn<QStringList>("afterF5");

    QTest::newRow("as opened") << "" << QStringList{"", "Ärger, Anton", "becker, Otto", "Zander, Zoe"}
                               << QStringList{"", "Ärger, Anton", "becker, Otto", "Zander, Zoe"};
    QTest::newRow("typed shooter stays last until F5")
        << "type" << QStringList{"", "Ärger, Anton", "becker, Otto", "Zander, Zoe", "Bär, Bruno"}
        << QStringList{"", "Ärger, Anton", "Bär, Bruno", "becker, Otto", "Zander, Zoe"};
    QTest::newRow("renamed shooter keeps his place until F5")
        << "rename" << QStringList{"", "Ärger, Anton", "Äbel, Otto", "Zander, Zoe"}
        << QStringList{"", "Äbel, Otto", "Ärger, Anton", "Zander, Zoe"};
}

void tst_MasterList::nameOrder()
{
    QFETCH(QString, change);
    QFETCH(QStringList, beforeF5);
    QFETCH(QStringList, afterF5);
    fillMaster({"Zander, Zoe|", "becker, Otto|", "(null)|Ohne Namen", "Ärger, Anton|"});
    openMain();
    openList();
    if (change == QLatin1String("type")) {
        selectRow(4);
        GuiTyping::typeText(QStringLiteral("Bär, Bruno"));
        GuiTyping::press(Qt::Key_Return);
        selectRow(0); // leaving the row stores it
    } else if (change == QLatin1String("rename")) {
        selectRow(2);
        GuiTyping::typeText(QStringLiteral("Äbel, Otto"));
        GuiTyping::press(Qt::Key_Return);
        selectRow(0);
    }
    QCOMPARE(shownNames(), beforeF5);
    QCOMPARE(TestMasterList::count(m_master->path()), beforeF5.size());
    QTest::keyClick(m_list, Qt::Key_F5);
    QCOMPARE(shownNames(), afterF5);
    QCOMPARE(rows()->position(), 0);
}

// ---------------------------------------------------------------- deleting

void tst_MasterList::deleteCurrent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("yes deletes") << "Müller, Jörg" << Dialogs::Answer::Yes << QStringList{"Berg, Anna|SV"};
    QTest::newRow("no keeps") << "Müller, Jörg" << Dialogs::Answer::No
                              << QStringList{"Müller, Jörg|SV", "Berg, Anna|SV"};
    QTest::newRow("shooter without name") << "" << Dialogs::Answer::Yes << QStringList{"Berg, Anna|SV"};
}

void tst_MasterList::deleteCurrent()
{
    QFETCH(QString, name);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(QStringList, left);
    fillMaster({(name.isEmpty() ? QStringLiteral("(null)") : name) + QStringLiteral("|SV"), "Berg, Anna|SV"});
    openMain();
    openList();
    selectRow(name.isEmpty() ? 0 : rowOf(name));
    m_dialogs->answer(answer);
    trigger(QStringLiteral("mnuEditDeleteSchuetze"));
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    const ScriptedDialogs::Shown &question = m_dialogs->shown().front();
    QCOMPARE(question.kind, QStringLiteral("question"));
    QCOMPARE(question.title, QStringLiteral("Hinweis"));
    QCOMPARE(question.text, QStringLiteral("Soll der Schütze ") + name + QStringLiteral(" wirklich gelöscht werden?"));
    QCOMPARE(question.icon, Dialogs::Icon::Question);
    QCOMPARE(m_master->shooters(), left);
    QCOMPARE(rows()->rowCount(), left.size());
    QCOMPARE(grid()->model()->rowCount(), left.size() + 1);
}

void tst_MasterList::deleteStoresTypedChangeFirst_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("delete one, answered no") << "mnuEditDeleteSchuetze";
    QTest::newRow("delete all, answered no") << "mnuEditDeleteAll";
}

void tst_MasterList::deleteStoresTypedChangeFirst()
{
    QFETCH(QString, command);
    fillMaster({"Berg, Anna|SV Alm", "Zander, Zoe|SV Nord"});
    openMain();
    openList();
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(1, grid()->columnIndex(Club)));
    GuiTyping::typeText(QStringLiteral("SV Süd")); // the editor is still open
    m_dialogs->answer(Dialogs::Answer::No);
    trigger(command);
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(m_master->shooters(), (QStringList{"Berg, Anna|SV Alm", "Zander, Zoe|SV Süd"}));
}

void tst_MasterList::deleteWithoutCurrentRow_data()
{
    QTest::addColumn<QStringList>("shooters");
    QTest::newRow("marker on the new-row line") << QStringList{"Berg, Anna|SV"};
    QTest::newRow("empty list") << QStringList{};
}

void tst_MasterList::deleteWithoutCurrentRow()
{
    QFETCH(QStringList, shooters);
    fillMaster(shooters);
    openMain();
    openList();
    selectRow(shooters.size());
    m_dialogs->answer(Dialogs::Answer::Yes);
    trigger(QStringLiteral("mnuEditDeleteSchuetze"));
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
    QCOMPARE(TestMasterList::count(m_master->path()), shooters.size());
}

void tst_MasterList::deleteAll_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<int>("left");
    QTest::newRow("yes empties the list") << Dialogs::Answer::Yes << 0;
    QTest::newRow("no keeps everyone") << Dialogs::Answer::No << 3;
}

void tst_MasterList::deleteAll()
{
    QFETCH(Dialogs::Answer, answer);
    QFETCH(int, left);
    fillMaster({"Berg, Anna|SV", "(null)|SV", "Zander, Zoe|(null)"});
    m_competition->addResult(1, QStringLiteral("Im Wettkampf"), QStringLiteral("V"));
    openMain();
    openList();
    m_dialogs->answer(answer);
    trigger(QStringLiteral("mnuEditDeleteAll"));
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(m_dialogs->shown().front().title, QStringLiteral("Hinweis"));
    QCOMPARE(m_dialogs->shown().front().text, QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?"));
    QCOMPARE(m_dialogs->shown().front().icon, Dialogs::Icon::Question);
    QCOMPARE(TestMasterList::count(m_master->path()), left);
    QCOMPARE(grid()->model()->rowCount(), left + 1); // the new-row line stays
    QCOMPARE(competitionRows().size(), 1);           // the competition is another file
}

QTEST_MAIN(tst_MasterList)
#include "tst_masterlist.moc"
