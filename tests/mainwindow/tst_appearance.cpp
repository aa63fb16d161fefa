// Fonts, colours, window position and grid layouts of the main window:
// chosen, stored, and found again on the next start; the controls laid out
// as the window's size changes.
#include "grid/DataGrid.h"
#include "mainwindow/frmMain.h"
#include "support/ScriptedDialogs.h"
#include "support/TestCompetition.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QStatusBar>
#include <QScreen>
#include <QToolBar>
#include <QTabWidget>
#include <QtTest>
#include <memory>

namespace {

int px(const QWidget *widget, double twips)
{
    return qRound(twips * widget->logicalDpiX() / 1440.0);
}

// Sets the inner area (toolbar and central widget) to a size in pixels; the
// menu bar lies above it, the status bar below.
void setInnerSize(frmMain &window, int width, int height)
{
    window.resize(width, height + window.menuBar()->height() + window.statusBar()->height());
    QCoreApplication::processEvents();
}

// Geometry of a control with its position counted from the top left of the
// inner area, where the toolbar strip is.
QRect inInnerArea(frmMain &window, const char *name)
{
    auto *widget = window.findChild<QWidget *>(QLatin1String(name));
    const QPoint topLeft = widget->mapTo(&window, QPoint(0, 0)) - QPoint(0, window.menuBar()->height());
    return QRect(topLeft, widget->size());
}

// The start of a window entry for a place in pixels: "left;top;width;height;" in twips.
QString entryFor(const QWidget *widget, const QRect &pixels)
{
    QString text;
    for (const int value : {pixels.x(), pixels.y(), pixels.width(), pixels.height()})
        text += QString::number(qRound(value * 1440.0 / widget->logicalDpiX())) + QLatin1Char(';');
    return text;
}

} // namespace

class tst_Appearance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void centred_data();
    void centred();
    void storedPlaceFitsTheScreen_data();
    void storedPlaceFitsTheScreen();
    void fontCommand_data();
    void fontCommand();
    void fontsAndColoursComeBack();
    void damagedEntryKeepsTheDesign_data();
    void damagedEntryKeepsTheDesign();
    void layoutRoundTrip();
    void layoutIsAppliedAfterWidths();
    void headingMenu_data();
    void headingMenu();
    void designLayout();
    void tooSmallKeepsTheLastSizes();

private:
    frmMain &start();
    void restart();
    QStringList clickInHeadingMenu(DataGrid *grid, const QString &entry);
    void trigger(const QString &action) { m_window->findChild<QAction *>(action)->trigger(); }
    DataGrid *grid(const char *name) const { return m_window->findChild<DataGrid *>(QLatin1String(name)); }
    QString stored(const QString &section, const QString &key) const { return m_settings->read(section, key); }
    void store(const QString &section, const QString &key, const QString &value) { m_settings->write(section, key, value); }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

void tst_Appearance::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void tst_Appearance::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    m_settings.reset();
}

frmMain &tst_Appearance::start()
{
    m_window = std::make_unique<frmMain>();
    m_window->show();
    return *m_window;
}

void tst_Appearance::restart()
{
    m_window->close();
    m_window.reset();
    start();
}

void tst_Appearance::centred_data()
{
    QTest::addColumn<QString>("position"); // as stored; empty: none
    QTest::addColumn<QSize>("twips");      // the size kept; empty: the design's
    QTest::newRow("nothing stored") << "" << QSize();
    QTest::newRow("stored on no screen") << "-90000;-90000;9000;6000;" << QSize(9000, 6000);
}

// The menu bar settles its height when the window is first shown, after
// the window was centred: a few pixels of tolerance.
void tst_Appearance::centred()
{
    QFETCH(QString, position);
    QFETCH(QSize, twips);
    if (!position.isEmpty())
        store(QStringLiteral("Positionen"), QStringLiteral("frmMain-"), position);
    start();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = m_window->frameGeometry();
    QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 4);
    QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 4);
    if (twips.isValid())
        QCOMPARE(m_window->size(), QSize(qRound(twips.width() * m_window->logicalDpiX() / 1440.0),
                                          qRound(twips.height() * m_window->logicalDpiY() / 1440.0)));
}

// A stored place is applied as far as it fits the screen, and what closing
// stores is what was applied, so the next start does not repeat a fault.
void tst_Appearance::storedPlaceFitsTheScreen_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<QRect>("expected"); // frame's corner and inner size in pixels
    // At the 96 dots per inch of the test screen 15 twips are a pixel.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QTest::newRow("normal entry untouched") << "1500;1200;9000;6000;" << QRect(100, 80, 600, 400);
    QTest::newRow("99999999 four times: the screen's available size")
            << "99999999;99999999;99999999;99999999;" << screen;
    QTest::newRow("too wide only: the screen's width, top and height kept")
            << "1500;1200;99999999;6000;" << QRect(screen.left(), 80, screen.width(), 400);
}

void tst_Appearance::storedPlaceFitsTheScreen()
{
    QFETCH(QString, position);
    QFETCH(QRect, expected);
    store(QStringLiteral("Positionen"), QStringLiteral("frmMain-"), position);
    start();
    QCOMPARE(QRect(m_window->pos(), m_window->size()), expected);
    m_window->close();
    const QString entry = stored(QStringLiteral("Positionen"), QStringLiteral("frmMain-"));
    QVERIFY2(entry.startsWith(entryFor(m_window.get(), expected)), qPrintable(entry));
    m_window.reset();
    start();
    QCOMPARE(QRect(m_window->pos(), m_window->size()), expected);
}

void tst_Appearance::fontCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("changed"); // the grid that shows the font; empty: stored only
    QTest::addColumn<QString>("fontKey");
    QTest::addColumn<QString>("colourKey");
    QTest::newRow("entry grid") << "mnuAnsEingabeFont" << "TDBGrid1" << "Font-Dateneingabe" << "Dateneingabe-Forecolor";
    QTest::newRow("winners list") << "mnuAnsSiegerliste" << "TDBGrid2" << "Font-Siegerliste" << "Siegerliste-Forecolor";
    QTest::newRow("title line, stored only") << "mnuAnsTitelzeileFont" << "" << "Font-Titelzeile"
                                             << "Titelzeile-Forecolor";
}

// The chooser starts from what is shown (or stored); the choice is shown and
// stored: name;size;bold;italic;underline;strikeout with -1 for true, the colour red in the lowest byte.
void tst_Appearance::fontCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, changed);
    QFETCH(QString, fontKey);
    QFETCH(QString, colourKey);
    store(QStringLiteral("Allgemein"), QStringLiteral("Font-Titelzeile"), QStringLiteral("DejaVu Sans;14;0;-1;0;0"));
    store(QStringLiteral("Allgemein"), QStringLiteral("Titelzeile-Forecolor"), QStringLiteral("255"));
    start();
    const QFont entryBefore = grid("TDBGrid1")->font();
    const QFont winnersBefore = grid("TDBGrid2")->font();
    const QString storedBefore = stored(QStringLiteral("Allgemein"), fontKey);
    m_dialogs->cancelFont();
    trigger(command);
    QCOMPARE(stored(QStringLiteral("Allgemein"), fontKey), storedBefore);
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSizeF(8.25);
    chosen.setBold(true);
    chosen.setStrikeOut(true);
    m_dialogs->answerFont(chosen, QColor(0x12, 0x34, 0x56));
    trigger(command);
    if (changed.isEmpty()) {
        QCOMPARE(m_dialogs->presetFont().pointSizeF(), 14.0);
        QVERIFY(m_dialogs->presetFont().italic());
        QCOMPARE(m_dialogs->presetColour(), QColor(255, 0, 0));
    } else {
        QCOMPARE(m_dialogs->presetFont().family(), QFont(QStringLiteral("MS Sans Serif")).family());
        QCOMPARE(m_dialogs->presetColour(), QColor(Qt::black));
        QCOMPARE(grid(qPrintable(changed))->font().family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(grid(qPrintable(changed))->textColor(), QColor(0x12, 0x34, 0x56));
    }
    QCOMPARE(changed == QLatin1String("TDBGrid1"), grid("TDBGrid1")->font() != entryBefore);
    QCOMPARE(changed == QLatin1String("TDBGrid2"), grid("TDBGrid2")->font() != winnersBefore);
    QCOMPARE(stored(QStringLiteral("Allgemein"), fontKey), QStringLiteral("DejaVu Serif;8,25;-1;0;0;-1"));
    QCOMPARE(stored(QStringLiteral("Allgemein"), colourKey), QStringLiteral("5649426")); // 0x563412
}

// Drawn, not only set: the cells of a loaded competition show the stored colour.
void tst_Appearance::fontsAndColoursComeBack()
{
    const TestCompetition competition;
    competition.addResult(1, QStringLiteral("Anna Weiß"), QStringLiteral("SV Tell"), 98.7,
                          QStringLiteral("0000980000000000000000000000"));
    store(QStringLiteral("Wettkampf"), QStringLiteral("Last"), competition.path());
    store(QStringLiteral("Allgemein"), QStringLiteral("Font-Dateneingabe"), QStringLiteral("DejaVu Sans;8,25;0;-1;-1;0"));
    store(QStringLiteral("Allgemein"), QStringLiteral("Dateneingabe-Forecolor"), QStringLiteral("16711680"));
    store(QStringLiteral("Allgemein"), QStringLiteral("Font-Siegerliste"), QStringLiteral("DejaVu Serif;24;-1;0;0;0"));
    store(QStringLiteral("Allgemein"), QStringLiteral("Siegerliste-Forecolor"), QStringLiteral("65280"));
    start();
    const QFont entry = grid("TDBGrid1")->font();
    QCOMPARE(entry.family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(entry.pointSizeF(), 8.25);
    QVERIFY(entry.italic() && entry.underline() && !entry.bold() && !entry.strikeOut());
    QCOMPARE(grid("TDBGrid1")->textColor(), QColor(0, 0, 255));
    QCOMPARE(grid("TDBGrid2")->font().family(), QStringLiteral("DejaVu Serif"));
    QVERIFY(grid("TDBGrid2")->font().bold());
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
    // The winners list's tab is shown: its rows are tall enough for the large font.
    m_window->findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentWidget(grid("TDBGrid2")->parentWidget());
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    DataGrid *winners = grid("TDBGrid2");
    QVERIFY(winners->rowHeight(0) >= QFontMetrics(winners->font()).height());
    const QImage cells = winners->viewport()->grab().toImage();
    int green = 0;
    for (int y = 0; y < cells.height(); ++y) {
        for (int x = 0; x < cells.width(); ++x) {
            const QColor c = cells.pixelColor(x, y);
            green += c.green() > 200 && c.red() < 60 && c.blue() < 60 ? 1 : 0;
        }
    }
    QVERIFY2(green > 20, "the winners list's text is not drawn in the stored colour");
}

void tst_Appearance::damagedEntryKeepsTheDesign_data()
{
    QTest::addColumn<QString>("key"); // in "Allgemein"
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<Dialogs::Answer>>("answers"); // one per box
    QTest::addColumn<QString>("end");                    // of every box
    const auto ignore = Dialogs::Answer::Ignore;
    QTest::newRow("font as a bare name: a box for each of its six fields")
        << "Font-Siegerliste" << "Arial" << QList<Dialogs::Answer>(6, ignore)
        << "\nFehler beim Laden der Schriftarten Ergebnisse!";
    QTest::newRow("colour that is no number") << "Dateneingabe-Forecolor" << "rot" << QList<Dialogs::Answer>{} << "";
    QTest::newRow("colour beyond the colours") << "Siegerliste-Forecolor" << "-2147483640" << QList<Dialogs::Answer>{}
                                               << "";
    QTest::newRow("grid layout with a word for a width")
        << "Grid-Layout-TDBGrid2" << "0 - breit;" << QList<Dialogs::Answer>{Dialogs::Answer::Abort}
        << "\nFehler beim Laden des Grid-Konfiguration.";
}

void tst_Appearance::damagedEntryKeepsTheDesign()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(QString, end);
    store(QStringLiteral("Allgemein"), key, value);
    for (const Dialogs::Answer answer : answers)
        m_dialogs->answer(answer);
    start();
    QCOMPARE(m_dialogs->shown().size(), size_t(answers.size()));
    for (const ScriptedDialogs::Shown &box : m_dialogs->shown()) {
        QCOMPARE(box.title, QStringLiteral("Fehler"));
        QVERIFY2(box.text.endsWith(end), qPrintable(box.text));
    }
    QCOMPARE(grid("TDBGrid2")->font().family(), QFont(QStringLiteral("MS Sans Serif")).family());
    QCOMPARE(grid("TDBGrid1")->textColor(), QColor(Qt::black));
    QCOMPARE(grid("TDBGrid2")->textColor(), QApplication::palette().color(QPalette::Text));
}

void tst_Appearance::layoutRoundTrip()
{
    start();
    m_window->move(140, 90);
    m_window->resize(640, 600);
    DataGrid *entry = grid("TDBGrid1");
    entry->columns(QStringLiteral("Verein")).setOrder(1);
    entry->columns(QStringLiteral("Innenzehner")).setVisible(false);
    entry->columns(QStringLiteral("Schuetze")).setWidth(2880);
    grid("TDBGrid2")->columns(QStringLiteral("Serie")).setWidth(1440);
    restart();
    QCOMPARE(m_window->pos(), QPoint(140, 90));
    QCOMPARE(m_window->size(), QSize(640, 600));
    entry = grid("TDBGrid1");
    QCOMPARE(entry->columns(QStringLiteral("Verein")).order(), 1);
    QVERIFY(!entry->columns(QStringLiteral("Innenzehner")).isVisible());
    QVERIFY(!entry->columns(QStringLiteral("ID")).isVisible());
    QCOMPARE(entry->columns(QStringLiteral("Schuetze")).width(), 2880.0);
    QCOMPARE(grid("TDBGrid2")->columns(QStringLiteral("Serie")).width(), 1440.0);
    // The stored texts end every field with ";", widths in twips.
    const QString position = stored(QStringLiteral("Positionen"), QStringLiteral("frmMain-"));
    QVERIFY(position.startsWith(QStringLiteral("2100;1350;9600;9000;")));
    QCOMPARE(position.count(QLatin1Char(';')), 4 + 18);
    QVERIFY(stored(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2")).startsWith(QLatin1Char(';')));
    const QString layout = stored(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-TDBGrid1"));
    QVERIFY(layout.contains(QStringLiteral(" - 0;")));
    // Closed maximised, the window stores neither its place nor its layout.
    entry->columns(QStringLiteral("Verein")).setVisible(false);
    m_window->showMaximized();
    m_window->close();
    QCOMPARE(stored(QStringLiteral("Positionen"), QStringLiteral("frmMain-")), position);
    QCOMPARE(stored(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-TDBGrid1")), layout);
}

void tst_Appearance::layoutIsAppliedAfterWidths()
{
    // The window entry gives the name column 3000, the layout 2500: the layout is applied last.
    QString widths;
    for (int i = 0; i < 18; ++i)
        widths += i == 3 ? QStringLiteral("3000;") : QStringLiteral("600;");
    store(QStringLiteral("Positionen"), QStringLiteral("frmMain-"), QStringLiteral("1440;1440;12000;9000;") + widths);
    QString layout;
    for (int i = 0; i < 18; ++i)
        layout += QStringLiteral("%1 - %2;").arg(i).arg(i == 3 ? 2500 : 700);
    store(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-TDBGrid1"), layout);
    start();
    QCOMPARE(grid("TDBGrid1")->columns(QStringLiteral("Schuetze")).width(), 2500.0);
    QCOMPARE(grid("TDBGrid1")->columns(QStringLiteral("Verein")).width(), 700.0);
    // Loading never shows a column the design hides.
    QVERIFY(!grid("TDBGrid1")->columns(QStringLiteral("ID")).isVisible());
    QCOMPARE(grid("TDBGrid2")->columns(QStringLiteral("Schuetze")).width(), 2000.0);
}

// Right-clicks the grid's headings and clicks an entry of the menu (none when
// empty); the entries as the menu showed them: "-" before one not checked,
// "!" before one that cannot be clicked.
QStringList tst_Appearance::clickInHeadingMenu(DataGrid *grid, const QString &entry)
{
    QStringList entries;
    QTimer::singleShot(0, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions()) {
            entries << (action->isEnabled() ? QString() : QStringLiteral("!"))
                               + (action->isChecked() ? QString() : QStringLiteral("-")) + action->text();
            if (action->text() == entry)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
        if (menu->isVisible())
            menu->close();
    });
    QWidget *headings = grid->horizontalHeader()->viewport();
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, headings->mapToGlobal(at));
    QCoreApplication::sendEvent(headings, &event);
    return entries;
}

// The heading's menu lists the columns the user may show or hide (not ID and
// Sortierung, which stay hidden) in display order, checked while shown; what
// is hidden there stays hidden on the next start, and the last shown column
// cannot be hidden. A column shown again keeps its width.
void tst_Appearance::headingMenu_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("menu"); // after the clicks
    QTest::addColumn<QStringList>("hidden"); // after a new start, besides ID and Sortierung
    const QStringList front{"Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner"};
    QStringList rings, ringCaptions, unchecked;
    for (int i = 1; i <= 10; ++i) {
        rings << QStringLiteral("Ring%1").arg(i);
        ringCaptions << QString::number(i);
        unchecked << QStringLiteral("-%1").arg(i);
    }
    QTest::newRow("winners list without the ten shots")
            << "TDBGrid2" << ringCaptions << front + unchecked << rings;
    QTest::newRow("a column hidden and shown again") << "TDBGrid1" << QStringList{"Verein", "Verein"} << front + rings
                                                     << QStringList{};
    QStringList allButName = front + rings;
    allButName.removeOne(QStringLiteral("Schuetze"));
    QStringList onlyName;
    for (const QString &caption : front + rings)
        onlyName << (caption == QLatin1String("Schuetze") ? QStringLiteral("!Schuetze") : QLatin1Char('-') + caption);
    QTest::newRow("the last shown column stays")
            << "TDBGrid1" << allButName + QStringList{"Schuetze"} << onlyName << allButName;
}

void tst_Appearance::headingMenu()
{
    QFETCH(QString, grid);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, menu);
    QFETCH(QStringList, hidden);
    // The entry grid takes no clicks until a competition is open.
    const TestCompetition competition;
    store(QStringLiteral("Wettkampf"), QStringLiteral("Last"), competition.path());
    start();
    const QByteArray name = grid.toLatin1();
    for (const QString &entry : clicks)
        clickInHeadingMenu(this->grid(name), entry);
    QCOMPARE(clickInHeadingMenu(this->grid(name), QString()), menu);
    QCOMPARE(this->grid(name)->columns(QStringLiteral("Verein")).width(), 1700.0);
    restart();
    DataGrid *shown = this->grid(name);
    for (int i = 0; i < shown->columnCount(); ++i) {
        const QString field = shown->columns(i).dataField();
        const bool designHidden = field == QLatin1String("ID") || field == QLatin1String("Sortierung");
        QVERIFY2(shown->columns(i).isVisible() == !(designHidden || hidden.contains(field)), qPrintable(field));
    }
}

// How the window lays out its controls when its size changes (Form_Resize),
// in twips of the inner area from the rules.
void tst_Appearance::designLayout()
{
    frmMain &window = start();
    setInnerSize(window, px(&window, 14340), px(&window, 10905));
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *bar = window.findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    QCOMPARE(bar->height() + window.centralWidget()->height(), px(&window, 10905));
    QCOMPARE(window.centralWidget()->width(), px(&window, 14340));
    QCOMPARE(inInnerArea(window, "Toolbar1").top(), 0);
    QCOMPARE(inInnerArea(window, "Label1"),
             QRect(px(&window, 135), px(&window, 450), px(&window, 11835), px(&window, 330)));
    QCOMPARE(inInnerArea(window, "lblSuche"),
             QRect(px(&window, 12105), px(&window, 540), px(&window, 780), px(&window, 240)));
    QCOMPARE(inInnerArea(window, "txtSuche"),
             QRect(px(&window, 12885), px(&window, 450), px(&window, 1185), px(&window, 330)));
    QCOMPARE(inInnerArea(window, "SSTab1"),
             QRect(px(&window, 135), px(&window, 780), px(&window, 14070), px(&window, 9995)));
    // The tab strip's height is the style's; the grids leave 270 below it.
    const int strip = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"))->tabBar()->sizeHint().height();
    for (const char *grid : {"TDBGrid1", "TDBGrid2"}) {
        auto *widget = window.findChild<QWidget *>(QLatin1String(grid));
        QCOMPARE(widget->width(), px(&window, 13800));
        QVERIFY(qAbs(widget->height() - (px(&window, 9995 - 270) - strip)) <= 1);
        QCOMPARE(widget->x(), px(&window, 135));
    }
}

// A window smaller than the margins: what comes out as a size below zero
// stays as it was, everything else follows.
void tst_Appearance::tooSmallKeepsTheLastSizes()
{
    frmMain &window = start();
    setInnerSize(window, px(&window, 14340), px(&window, 10905));
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int labelWidth = window.findChild<QWidget *>(QStringLiteral("Label1"))->width();
    const int gridHeight = window.findChild<QWidget *>(QStringLiteral("TDBGrid1"))->height();
    // Inner area 1500 × 1200: search box at 1500 − 270 − 1185 = 45, its label at
    // 45 − 780 = −735 (a place may be negative), the title's width −735 − 2 × 135
    // below zero is kept; tab control 1500 − 270 = 1230 by 1200 − 550 − 360 = 290;
    // grids 1230 − 270 = 960 wide, their height 290 − 360 − 270 below zero kept.
    setInnerSize(window, px(&window, 1500), px(&window, 1200));
    QCOMPARE(window.centralWidget()->width(), px(&window, 1500));
    QCOMPARE(inInnerArea(window, "txtSuche").left(), px(&window, 45));
    QCOMPARE(inInnerArea(window, "lblSuche").left(), px(&window, -735));
    QCOMPARE(inInnerArea(window, "Label1").width(), labelWidth);
    QCOMPARE(inInnerArea(window, "SSTab1").size(), QSize(px(&window, 1230), px(&window, 290)));
    for (const char *grid : {"TDBGrid1", "TDBGrid2"})
        QCOMPARE(inInnerArea(window, grid).size(), QSize(px(&window, 960), gridHeight));
}

QTEST_MAIN(tst_Appearance)
#include "tst_appearance.moc"
