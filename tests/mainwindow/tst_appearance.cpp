// Fonts, colours, window position and grid layouts of the main window:
// chosen, stored, and found again on the next start.
#include "DataGrid.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "frmMain.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTabWidget>
#include <QtTest>
#include <memory>

class tst_Appearance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void centred_data();
    void centred();
    void fontCommand_data();
    void fontCommand();
    void fontsAndColoursComeBack();
    void damagedEntryKeepsTheDesign_data();
    void damagedEntryKeepsTheDesign();
    void layoutRoundTrip();
    void layoutIsAppliedAfterWidths();
    void maximisedCloseStoresNothing();

private:
    frmMain &start();
    void restart();
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
    m_window->resize(900, 640);
    DataGrid *entry = grid("TDBGrid1");
    entry->columns(QStringLiteral("Verein")).setOrder(1);
    entry->columns(QStringLiteral("Innenzehner")).setVisible(false);
    entry->columns(QStringLiteral("Schuetze")).setWidth(2880);
    grid("TDBGrid2")->columns(QStringLiteral("Serie")).setWidth(1440);
    restart();
    QCOMPARE(m_window->pos(), QPoint(140, 90));
    QCOMPARE(m_window->size(), QSize(900, 640));
    entry = grid("TDBGrid1");
    QCOMPARE(entry->columns(QStringLiteral("Verein")).order(), 1);
    QVERIFY(!entry->columns(QStringLiteral("Innenzehner")).isVisible());
    QVERIFY(!entry->columns(QStringLiteral("ID")).isVisible());
    QCOMPARE(entry->columns(QStringLiteral("Schuetze")).width(), 2880.0);
    QCOMPARE(grid("TDBGrid2")->columns(QStringLiteral("Serie")).width(), 1440.0);
    // The stored texts end every field with ";", widths in twips.
    const QString position = stored(QStringLiteral("Positionen"), QStringLiteral("frmMain-"));
    QVERIFY(position.startsWith(QStringLiteral("2100;1350;13500;9600;")));
    QCOMPARE(position.count(QLatin1Char(';')), 4 + 18);
    QVERIFY(stored(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2")).startsWith(QLatin1Char(';')));
    QVERIFY(stored(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-TDBGrid1")).contains(QStringLiteral(" - 0;")));
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

void tst_Appearance::maximisedCloseStoresNothing()
{
    start();
    m_window->move(100, 100);
    m_window->resize(800, 600);
    m_window->close();
    const QString position = stored(QStringLiteral("Positionen"), QStringLiteral("frmMain-"));
    const QString layout = stored(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-TDBGrid1"));
    m_window.reset();
    start();
    grid("TDBGrid1")->columns(QStringLiteral("Verein")).setVisible(false);
    m_window->showMaximized();
    m_window->close();
    QCOMPARE(stored(QStringLiteral("Positionen"), QStringLiteral("frmMain-")), position);
    QCOMPARE(stored(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-TDBGrid1")), layout);
}

QTEST_MAIN(tst_Appearance)
#include "tst_appearance.moc"
