// The master list window beside an open competition: taking shooters over,
// finding them by name, keeping the list in name order, deleting; the one
// window the main window shows, its captions, closing and layout.
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
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
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
    void takeOverSeveralBySearching();
    void takeOverNothing_data();
    void takeOverNothing();
    void takeOverTypedShooter();

    void search_data();
    void search();
    void nameOrder_data();
    void nameOrder();

    void deleting_data();
    void deleting();

    void captionsAndMenus();
    void oneWindow_data();
    void oneWindow();
    void reopenLoadsAgain_data();
    void reopenLoadsAgain();
    void closingMainWindow_data();
    void closingMainWindow();
    void layout_data();
    void layout();
    void positionAndLayoutComeBack();

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
    template <typename T>
    T *control(const QString &name) const
    {
        return m_list->findChild<T *>(name);
    }
    frmGesamt *findList() const;
    static void activate(QWidget *window)
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
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
    m_list = findList();
    QVERIFY(m_list);
    QVERIFY(QTest::qWaitForWindowActive(m_list));
}

frmGesamt *tst_MasterList::findList() const
{
    frmGesamt *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *list = qobject_cast<frmGesamt *>(window))
            found = list;
    }
    return found;
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
    QTest::newRow("Null club: name and tab") << three << "Berg, Anna" << QList<int>{} << "" << 1;
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

// Found by typing into the search box, which has the focus when the window
// opens; the list stays on the shooter after each take-over.
void tst_MasterList::takeOverSeveralBySearching()
{
    fillMaster({"Zander, Zoe|SV Nord", "Müller, Jörg|SV Tell", "Arnold, Ute|SG Alm"});
    openMain();
    openList();
    auto *search = control<QLineEdit>(QStringLiteral("txtSuche"));
    for (const QString &pick : QStringList{"zan", "mü", "zan"}) {
        QCOMPARE(QApplication::focusWidget(), search);
        search->selectAll();
        GuiTyping::typeText(pick);
        const QString current = currentName();
        takeOverClick();
        QCOMPARE(currentName(), current);
        search->setFocus();
    }
    QStringList competition;
    for (const QVariantMap &row : competitionRows())
        competition << row.value(QStringLiteral("StartNr")).toString() + QLatin1Char(' ')
                           + row.value(Name).toString() + QLatin1Char('|') + row.value(Club).toString();
    QCOMPARE(competition, (QStringList{"1 Zander, Zoe|SV Nord", "2 Müller, Jörg|SV Tell", "3 Zander, Zoe|SV Nord"}));
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

    QTest::newRow("lower case finds upper case") << "zan" << "Zander, Zoe";
    QTest::newRow("upper case finds lower case") << "MÜLLER, A" << "müller, anna";
    QTest::newRow("umlaut in lower case finds upper case") << "ärg" << "Ärger, Anton";
    QTest::newRow("plain vowel does not match an umlaut") << "mu" << "Muller, Paul";
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
    activate(m_main.get()); // the search box has the focus whenever the list becomes active
    activate(m_list);
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(QStringLiteral("txtSuche")));
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

void tst_MasterList::deleting_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("row");        // the current row; 3 is the new-row line
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<QString>("question"); // empty: none asked
    QTest::addColumn<QStringList>("left");
    const QString one = QStringLiteral("mnuEditDeleteSchuetze");
    const QString all = QStringLiteral("mnuEditDeleteAll");
    const QString askAll = QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?");
    // Shown in name order: (no name), Berg, Zander; a club typed for Zander is stored before any question.
    QTest::newRow("one, yes") << one << 2 << Dialogs::Answer::Yes
                              << "Soll der Schütze Zander, Zoe wirklich gelöscht werden?"
                              << QStringList{"(null)|SV", "Berg, Anna|SV Alm"};
    QTest::newRow("one, no") << one << 1 << Dialogs::Answer::No << "Soll der Schütze Berg, Anna wirklich gelöscht werden?"
                             << QStringList{"(null)|SV", "Berg, Anna|SV Alm", "Zander, Zoe|SV Süd"};
    QTest::newRow("one without a name") << one << 0 << Dialogs::Answer::Yes
                                        << "Soll der Schütze  wirklich gelöscht werden?"
                                        << QStringList{"Berg, Anna|SV Alm", "Zander, Zoe|SV Süd"};
    QTest::newRow("one on the new-row line: nothing") << one << 3 << Dialogs::Answer::Yes << ""
                                                     << QStringList{"(null)|SV", "Berg, Anna|SV Alm", "Zander, Zoe|SV Süd"};
    QTest::newRow("all, yes") << all << 1 << Dialogs::Answer::Yes << askAll << QStringList{};
    QTest::newRow("all, no") << all << 1 << Dialogs::Answer::No << askAll
                             << QStringList{"(null)|SV", "Berg, Anna|SV Alm", "Zander, Zoe|SV Süd"};
}

void tst_MasterList::deleting()
{
    QFETCH(QString, command);
    QFETCH(int, row);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, left);
    fillMaster({"(null)|SV", "Berg, Anna|SV Alm", "Zander, Zoe|SV Nord"});
    m_competition->addResult(1, QStringLiteral("Im Wettkampf"), QStringLiteral("V"));
    openMain();
    openList();
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(2, grid()->columnIndex(Club)));
    GuiTyping::typeText(QStringLiteral("SV Süd")); // the editor is still open
    if (row != 2)
        selectRow(row);
    m_dialogs->answer(answer);
    trigger(command);
    QCOMPARE(m_dialogs->shown().size(), size_t(question.isEmpty() ? 0 : 1));
    if (!question.isEmpty()) {
        const ScriptedDialogs::Shown &shown = m_dialogs->shown().front();
        QCOMPARE(shown.kind, QStringLiteral("question"));
        QCOMPARE(shown.title, QStringLiteral("Hinweis"));
        QCOMPARE(shown.text, question);
        QCOMPARE(shown.icon, Dialogs::Icon::Question);
    }
    QCOMPARE(m_master->shooters(), left);
    QCOMPARE(grid()->model()->rowCount(), left.size() + 1); // the new-row line stays
    QCOMPARE(competitionRows().size(), 1);                  // the competition is another file
}

// ---------------------------------------------------------------- the window

void tst_MasterList::captionsAndMenus()
{
    openMain();
    openList();
    QCOMPARE(m_list->windowTitle(), QStringLiteral("Gesamtliste"));
    QCOMPARE(control<QPushButton>(QStringLiteral("cmdUebernahme"))->text(), QStringLiteral("Übernehme&n"));
    QCOMPARE(control<QPushButton>(QStringLiteral("cmdClose"))->text(), QStringLiteral("&Schließen"));
    QCOMPARE(control<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("Suche:"));
    QCOMPARE(control<QGroupBox>(QStringLiteral("Frame1"))->title(), QString());
    // The grid shows name and club; the record identity is hidden.
    QCOMPARE(grid()->columnCount(), 3);
    QVERIFY(grid()->isColumnHidden(grid()->columnIndex(QStringLiteral("ID"))));
    QCOMPARE(grid()->model()->headerData(1, Qt::Horizontal).toString(), Name);
    QCOMPARE(grid()->model()->headerData(2, Qt::Horizontal).toString(), Club);
    QStringList menus;
    for (const QAction *entry : m_list->menuBar()->actions()) {
        QStringList items{entry->text()};
        for (const QAction *item : entry->menu()->actions())
            items << item->text() + QLatin1Char(' ') + item->shortcut().toString(QKeySequence::PortableText);
        menus << items.join(QLatin1Char('|'));
    }
    QCOMPARE(menus, (QStringList{"&Datei|Importieren... | |&Schließen ",
                                 "&Bearbeiten|Aktuellen Schützen löschen |Alle Schützen löschen ",
                                 "Ansicht|Aktualisieren nach Name F5"}));
}

void tst_MasterList::oneWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("menu item twice") << "menu";
    QTest::newRow("F4 twice, the main window active in between") << "F4";
    QTest::newRow("toolbar button while the list is minimised") << "button";
}

void tst_MasterList::oneWindow()
{
    QFETCH(QString, how);
    openMain();
    QAction *item = m_main->findChild<QAction *>(QStringLiteral("mnuEditGesamtliste"));
    auto open = [&] {
        if (how == QLatin1String("F4"))
            QTest::keyClick(m_main.get(), Qt::Key_F4);
        else if (how == QLatin1String("button"))
            QTest::mouseClick(m_main->findChild<QToolBar *>()->widgetForAction(
                                  m_main->findChild<QAction *>(QStringLiteral("Toolbar1_Button7"))),
                              Qt::LeftButton);
        else
            item->trigger();
    };
    open();
    m_list = findList();
    QVERIFY(m_list);
    QVERIFY(QTest::qWaitForWindowActive(m_list));
    if (how == QLatin1String("button")) {
        m_list->showMinimized();
        QVERIFY(m_list->isMinimized());
    }
    activate(m_main.get());
    open();
    QVERIFY(QTest::qWaitForWindowActive(m_list));
    QVERIFY(!m_list->isMinimized());
    int lists = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        lists += qobject_cast<frmGesamt *>(window) ? 1 : 0;
    QCOMPARE(lists, 1);
    QCOMPARE(findList(), m_list.data());
    QVERIFY(m_list->isVisible());
}

void tst_MasterList::reopenLoadsAgain_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("button Schließen") << "button";
    QTest::newRow("menu Schließen") << "menu";
    QTest::newRow("window frame") << "frame";
}

void tst_MasterList::reopenLoadsAgain()
{
    QFETCH(QString, how);
    fillMaster({"Berg, Anna|SV Alm", "Zander, Zoe|SV Nord"});
    openMain();
    openList();
    if (how == QLatin1String("button"))
        QTest::mouseClick(control<QPushButton>(QStringLiteral("cmdClose")), Qt::LeftButton);
    else if (how == QLatin1String("menu"))
        control<QAction>(QStringLiteral("mnuDateiClose"))->trigger();
    else
        m_list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_list.isNull());
    QVERIFY(m_main->isVisible());
    // Written by someone else while the list was closed: the new window reads it.
    m_master->addShooter(QStringLiteral("Adler, Ada"), QVariant());
    openList();
    const Recordset *rows = control<DataSource>(QStringLiteral("Data1"))->recordset();
    QCOMPARE(rows->rowCount(), 3);
    QCOMPARE(rows->value(QStringLiteral("Schuetze")).toString(), QStringLiteral("Adler, Ada"));
}

void tst_MasterList::closingMainWindow_data()
{
    QTest::addColumn<bool>("typedInList");  // a club typed into the list, not yet stored
    QTest::addColumn<bool>("badEntry");     // the main window holds a row it cannot store
    QTest::addColumn<bool>("listOpen");     // afterwards

    QTest::newRow("list closes with the main window") << false << false << false;
    QTest::newRow("a club typed into the list is stored") << true << false << false;
    QTest::newRow("main window that stays open keeps the list") << false << true << true;
}

void tst_MasterList::closingMainWindow()
{
    QFETCH(bool, typedInList);
    QFETCH(bool, badEntry);
    QFETCH(bool, listOpen);
    fillMaster({"Berg, Anna|SV Alm", "Zander, Zoe|SV Nord"});
    m_competition->addResult(1, QStringLiteral("Im Wettkampf"), QStringLiteral("V"));
    openMain();
    if (badEntry) {
        auto *entry = m_main->findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
        entry->setFocus();
        entry->setCurrentIndex(entry->model()->index(0, entry->columnIndex(QStringLiteral("StartNr"))));
        GuiTyping::typeText(QStringLiteral("zwölf"));
        GuiTyping::press(Qt::Key_Return);
    }
    openList();
    if (typedInList) {
        auto *grid = control<DataGrid>(QStringLiteral("TDBGrid1"));
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, grid->columnIndex(QStringLiteral("Verein"))));
        GuiTyping::typeText(QStringLiteral("SV Süd"));
    }
    m_main->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(!m_list.isNull() && m_list->isVisible(), listOpen);
    QCOMPARE(m_main->isVisible(), badEntry);
    const QString zander = typedInList ? QStringLiteral("Zander, Zoe|SV Süd") : QStringLiteral("Zander, Zoe|SV Nord");
    QCOMPARE(m_master->shooters(), (QStringList{"Berg, Anna|SV Alm", zander}));
}

void tst_MasterList::layout_data()
{
    // Client sizes in pixels at 96 dpi, 15 twips each; expected values in
    // pixels from the twips of the rules: strip 735 high at the bottom, grid
    // 45 from the edges, "Schließen" (1365 wide) 90 from the strip's right end.
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("grid");
    QTest::addColumn<int>("closeLeft");

    const QRect designFrame(0, 619, 530, 49);
    const QRect designGrid(3, 3, 524, 616);
    QTest::newRow("design size 7950 x 10020") << QSize(530, 668) << designFrame << designGrid << 433;
    QTest::newRow("wider and lower 12000 x 6000")
        << QSize(800, 400) << QRect(0, 351, 800, 49) << QRect(3, 3, 794, 348) << 703;
    QTest::newRow("minimised: nothing placed") << QSize(4, 21) << designFrame << designGrid << 433;
    QTest::newRow("lower than the strip: nothing placed") << QSize(530, 40) << designFrame << designGrid << 433;
}

void tst_MasterList::layout()
{
    QFETCH(QSize, client);
    QFETCH(QRect, frame);
    QFETCH(QRect, grid);
    QFETCH(int, closeLeft);
    openMain();
    openList();
    QCOMPARE(m_list->logicalDpiX(), 96);
    const int menuHeight = m_list->menuBar()->height();
    m_list->resize(530, 668 + menuHeight);
    QCOMPARE(m_list->centralWidget()->size(), QSize(530, 668));
    m_list->resize(client.width(), client.height() + menuHeight);
    QCOMPARE(m_list->centralWidget()->size(), client);
    QCOMPARE(control<QGroupBox>(QStringLiteral("Frame1"))->geometry(), frame);
    QCOMPARE(control<DataGrid>(QStringLiteral("TDBGrid1"))->geometry(), grid);
    QCOMPARE(control<QPushButton>(QStringLiteral("cmdClose"))->geometry(), QRect(closeLeft, 15, 91, 25));
    // The other controls of the strip keep their design places at its left.
    QCOMPARE(control<QPushButton>(QStringLiteral("cmdUebernahme"))->geometry(), QRect(9, 15, 112, 25));
    QCOMPARE(control<QLabel>(QStringLiteral("Label1"))->geometry(), QRect(129, 18, 43, 16));
    QCOMPARE(control<QLineEdit>(QStringLiteral("txtSuche"))->geometry(), QRect(171, 15, 115, 22));
}

void tst_MasterList::positionAndLayoutComeBack()
{
    openMain();
    openList();
    m_list->move(120, 80);
    m_list->resize(700, 500);
    auto *grid = control<DataGrid>(QStringLiteral("TDBGrid1"));
    grid->columns(QStringLiteral("Verein")).setOrder(1);
    grid->columns(QStringLiteral("Schuetze")).setWidth(2880);
    m_list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QString entry = m_settings->read(QStringLiteral("Positionen"), QStringLiteral("frmGesamt-"));
    QCOMPARE(entry.count(QLatin1Char(';')), 4); // no column widths in this window's entry
    QVERIFY(!m_settings->read(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-Gesamt")).isEmpty());

    openList();
    QCOMPARE(m_list->pos(), QPoint(120, 80));
    QCOMPARE(m_list->size(), QSize(700, 500));
    grid = control<DataGrid>(QStringLiteral("TDBGrid1"));
    QCOMPARE(grid->columns(QStringLiteral("Verein")).order(), 1);
    QCOMPARE(grid->columns(QStringLiteral("Schuetze")).width(), 2880.0);
    QVERIFY(!grid->columns(QStringLiteral("ID")).isVisible());
}

QTEST_MAIN(tst_MasterList)
#include "tst_masterlist.moc"
