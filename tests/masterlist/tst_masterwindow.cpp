// The master list as a window: its controls and menus, the one instance the
// main window shows, closing and opening again, focus and layout.
#include "DataGrid.h"
#include "DataSource.h"
#include "GuiTyping.h"
#include "Recordset.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "TestMasterList.h"
#include "frmGesamt.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <memory>

class tst_MasterWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void menus_data();
    void menus();
    void mainWindowMenu_data();
    void mainWindowMenu();
    void oneWindow_data();
    void oneWindow();
    void reopenLoadsAgain_data();
    void reopenLoadsAgain();
    void closingMainWindow_data();
    void closingMainWindow();
    void focusOnActivation_data();
    void focusOnActivation();
    void layout_data();
    void layout();
    void positionAndLayoutComeBack();

private:
    void openMain();
    void openList();
    frmGesamt *findList() const;
    template <typename T>
    T *control(const QString &name) const
    {
        return m_list->findChild<T *>(name);
    }
    void activate(QWidget *window) const;

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<TestMasterList> m_master;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_main;
    QPointer<frmGesamt> m_list;
};

void tst_MasterWindow::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_competition = std::make_unique<TestCompetition>();
    m_master = std::make_unique<TestMasterList>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    frmGesamt::setMasterFolders(m_master->programFolder(), m_master->userFolder());
    m_master->addShooter(QStringLiteral("Berg, Anna"), QStringLiteral("SV Alm"));
    m_master->addShooter(QStringLiteral("Zander, Zoe"), QStringLiteral("SV Nord"));
}

void tst_MasterWindow::cleanup()
{
    m_main.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_list.isNull());
    frmGesamt::setMasterFolders(QString(), QString());
    m_dialogs.reset();
    m_master.reset();
    m_competition.reset();
    m_settings.reset();
}

void tst_MasterWindow::openMain()
{
    m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competition->path());
    m_main = std::make_unique<frmMain>();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
}

frmGesamt *tst_MasterWindow::findList() const
{
    frmGesamt *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *list = qobject_cast<frmGesamt *>(window))
            found = list;
    }
    return found;
}

void tst_MasterWindow::openList()
{
    m_main->findChild<QAction *>(QStringLiteral("mnuEditGesamtliste"))->trigger();
    m_list = findList();
    QVERIFY(m_list);
    QVERIFY(QTest::qWaitForWindowActive(m_list));
}

void tst_MasterWindow::activate(QWidget *window) const
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// ---------------------------------------------------------------- controls and menus

void tst_MasterWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");

    QTest::newRow("take-over button") << "cmdUebernahme" << "Übernehme&n";
    QTest::newRow("close button") << "cmdClose" << "&Schließen";
    QTest::newRow("search label") << "Label1" << "Suche:";
    QTest::newRow("search box starts empty") << "txtSuche" << "";
    QTest::newRow("frame without caption") << "Frame1" << "";
}

void tst_MasterWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    openMain();
    openList();
    QCOMPARE(m_list->objectName(), QStringLiteral("frmGesamt"));
    QCOMPARE(m_list->windowTitle(), QStringLiteral("Gesamtliste"));
    QWidget *widget = control<QWidget>(name);
    QVERIFY(widget);
    QString shown;
    if (auto *button = qobject_cast<QPushButton *>(widget))
        shown = button->text();
    else if (auto *label = qobject_cast<QLabel *>(widget))
        shown = label->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        shown = edit->text();
    else if (auto *frame = qobject_cast<QGroupBox *>(widget))
        shown = frame->title();
    else
        QFAIL("a control of an unexpected kind");
    QCOMPARE(shown, caption);
    if (name != QLatin1String("Frame1"))
        QCOMPARE(widget->parentWidget(), control<QWidget>(QStringLiteral("Frame1")));
    // The grid shows name and club; the record identity is hidden.
    auto *grid = control<DataGrid>(QStringLiteral("TDBGrid1"));
    QCOMPARE(grid->columnCount(), 3);
    QCOMPARE(grid->columns(0).dataField(), QStringLiteral("ID"));
    QVERIFY(!grid->columns(0).isVisible());
    QCOMPARE(grid->columns(1).caption(), QStringLiteral("Schuetze"));
    QCOMPARE(grid->columns(2).caption(), QStringLiteral("Verein"));
    QCOMPARE(control<DataSource>(QStringLiteral("Data1"))->recordSource(),
             QStringLiteral("Select * from Schuetzen order by Schuetze"));
    const QFont searchFont = control<QLineEdit>(QStringLiteral("txtSuche"))->font();
    QVERIFY(searchFont.bold());
    QCOMPARE(searchFont.pointSizeF(), 9.75);
}

void tst_MasterWindow::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("menuCaption");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<int>("position");

    QTest::newRow("import") << "mnuDatei" << "&Datei" << "mnuDateiImport" << "Importieren..." << QKeySequence() << 0;
    // After the import item and its separator line.
    QTest::newRow("close") << "mnuDatei" << "&Datei" << "mnuDateiClose" << "&Schließen" << QKeySequence() << 2;
    QTest::newRow("delete the current shooter") << "mnuEdit" << "&Bearbeiten" << "mnuEditDeleteSchuetze"
                                                << "Aktuellen Schützen löschen" << QKeySequence() << 0;
    QTest::newRow("delete all shooters") << "mnuEdit" << "&Bearbeiten" << "mnuEditDeleteAll"
                                         << "Alle Schützen löschen" << QKeySequence() << 1;
    QTest::newRow("sort again by name") << "mnuAnsicht" << "Ansicht" << "mnuAnsichtSort"
                                        << "Aktualisieren nach Name" << QKeySequence(Qt::Key_F5) << 0;
}

void tst_MasterWindow::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, menuCaption);
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(int, position);
    openMain();
    openList();
    auto *owner = control<QMenu>(menu);
    QVERIFY(owner);
    QCOMPARE(owner->title(), menuCaption);
    auto *action = control<QAction>(item);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(owner->actions().indexOf(action), position);
}

void tst_MasterWindow::mainWindowMenu_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("fromEnd"); // 1: the last item of "&Bearbeiten"
    QTest::addColumn<bool>("separator");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");

    QTest::newRow("separator before it") << "mnuEditTemp2" << 2 << true << "" << QKeySequence();
    QTest::newRow("master list, F4") << "mnuEditGesamtliste" << 1 << false << "&Gesamtliste"
                                     << QKeySequence(Qt::Key_F4);
}

void tst_MasterWindow::mainWindowMenu()
{
    QFETCH(QString, item);
    QFETCH(int, fromEnd);
    QFETCH(bool, separator);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    openMain();
    const QList<QAction *> items = m_main->findChild<QMenu *>(QStringLiteral("mnuEdit"))->actions();
    QAction *action = items.at(items.size() - fromEnd);
    QCOMPARE(action->objectName(), item);
    QCOMPARE(action->isSeparator(), separator);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
}

// ---------------------------------------------------------------- one window, closing

void tst_MasterWindow::oneWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("menu item twice") << "menu";
    QTest::newRow("F4 twice, the main window active in between") << "F4";
    QTest::newRow("menu item while the list is minimised") << "minimised";
}

void tst_MasterWindow::oneWindow()
{
    QFETCH(QString, how);
    openMain();
    QAction *item = m_main->findChild<QAction *>(QStringLiteral("mnuEditGesamtliste"));
    auto open = [&] {
        if (how == QLatin1String("F4"))
            QTest::keyClick(m_main.get(), Qt::Key_F4);
        else
            item->trigger();
    };
    open();
    m_list = findList();
    QVERIFY(m_list);
    QVERIFY(QTest::qWaitForWindowActive(m_list));
    if (how == QLatin1String("minimised")) {
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

void tst_MasterWindow::reopenLoadsAgain_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("button Schließen") << "button";
    QTest::newRow("menu Schließen") << "menu";
    QTest::newRow("window frame") << "frame";
}

void tst_MasterWindow::reopenLoadsAgain()
{
    QFETCH(QString, how);
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

void tst_MasterWindow::closingMainWindow_data()
{
    QTest::addColumn<bool>("typedInList");  // a club typed into the list, not yet stored
    QTest::addColumn<bool>("badEntry");     // the main window holds a row it cannot store
    QTest::addColumn<bool>("listOpen");     // afterwards

    QTest::newRow("list closes with the main window") << false << false << false;
    QTest::newRow("a club typed into the list is stored") << true << false << false;
    QTest::newRow("main window that stays open keeps the list") << false << true << true;
}

void tst_MasterWindow::closingMainWindow()
{
    QFETCH(bool, typedInList);
    QFETCH(bool, badEntry);
    QFETCH(bool, listOpen);
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

// ---------------------------------------------------------------- focus and layout

void tst_MasterWindow::focusOnActivation_data()
{
    QTest::addColumn<bool>("againLater");
    QTest::newRow("when opened") << false;
    QTest::newRow("when active again after the grid and the main window") << true;
}

void tst_MasterWindow::focusOnActivation()
{
    QFETCH(bool, againLater);
    openMain();
    openList();
    auto *search = control<QLineEdit>(QStringLiteral("txtSuche"));
    QCOMPARE(QApplication::focusWidget(), search);
    if (againLater) {
        control<DataGrid>(QStringLiteral("TDBGrid1"))->setFocus();
        QVERIFY(QApplication::focusWidget() != search);
        activate(m_main.get());
        activate(m_list);
        QCOMPARE(QApplication::focusWidget(), search);
    }
}

void tst_MasterWindow::layout_data()
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
    QTest::newRow("narrow and tall 4500 x 13500")
        << QSize(300, 900) << QRect(0, 851, 300, 49) << QRect(3, 3, 294, 848) << 203;
    QTest::newRow("minimised: nothing placed") << QSize(4, 21) << designFrame << designGrid << 433;
    QTest::newRow("narrower than the margins: nothing placed")
        << QSize(5, 900) << designFrame << designGrid << 433;
    QTest::newRow("lower than the strip: nothing placed") << QSize(530, 40) << designFrame << designGrid << 433;
}

void tst_MasterWindow::layout()
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

void tst_MasterWindow::positionAndLayoutComeBack()
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

QTEST_MAIN(tst_MasterWindow)
#include "tst_masterwindow.moc"
