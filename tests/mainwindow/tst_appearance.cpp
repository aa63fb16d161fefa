// Fonts, colours, window place and grid layouts of the main window: chosen, stored, and found again
// on the next start; the controls laid out as the window's size changes.
#include "mainwindow/MainWindowSession.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

namespace {

int px(const QWidget *widget, double twips)
{
    return qRound(twips * widget->logicalDpiX() / 1440.0);
}

QRect px(const QWidget *widget, const QRect &twips)
{
    return QRect(px(widget, twips.x()), px(widget, twips.y()), px(widget, twips.width()), px(widget, twips.height()));
}

} // namespace

class tst_Appearance : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;

    frmMain &start()
    {
        if (m_window)
            m_window->close();
        m_window = std::make_unique<frmMain>();
        m_window->show();
        return *m_window;
    }
    DataGrid *grid(const char *name) const { return m_window->findChild<DataGrid *>(QLatin1String(name)); }
    QString stored(const QString &section, const QString &key) const { return m_settings->read(section, key); }
    void store(const QString &section, const QString &key, const QString &value) { m_settings->write(section, key, value); }
    QRect place() const { return QRect(m_window->pos(), m_window->size()); }
    // A control's place counted from the top left of the inner area, where the toolbar strip is.
    QRect inInnerArea(const char *name) const
    {
        auto *widget = m_window->findChild<QWidget *>(QLatin1String(name));
        return QRect(widget->mapTo(m_window.get(), QPoint(0, 0)) - QPoint(0, m_window->menuBar()->height()), widget->size());
    }
    // The inner area (toolbar and central widget) in twips; the menu bar lies above it, the status bar below.
    void setInnerSize(const QSize &twips)
    {
        m_window->resize(px(m_window.get(), twips.width()),
                         px(m_window.get(), twips.height()) + m_window->menuBar()->height() + m_window->statusBar()->height());
        QCoreApplication::processEvents();
    }
    // Right-clicks the grid's headings and clicks an entry of the menu (none when empty); the entries
    // as the menu showed them: "-" before one not checked, "!" before one that cannot be clicked.
    QStringList clickInHeadingMenu(DataGrid *grid, const QString &entry)
    {
        QStringList entries;
        QTimer::singleShot(0, this, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            for (QAction *action : menu ? menu->actions() : QList<QAction *>()) {
                entries << QString(action->isEnabled() ? "" : "!") + (action->isChecked() ? "" : "-") + action->text();
                if (action->text() == entry)
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            }
            if (menu && menu->isVisible())
                menu->close();
        });
        QWidget *headings = grid->horizontalHeader()->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), headings->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(headings, &event);
        return entries;
    }

private slots:
    void init()
    {
        m_settings = std::make_unique<TempSettings>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        m_window.reset();
        m_dialogs.reset();
        m_settings.reset();
    }

    void fontCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("changed"); // the grid that shows the font; empty: stored only
        QTest::addColumn<QString>("key");     // Font-… and …-Forecolor
        QTest::addColumn<QFont>("chosen");
        QTest::addColumn<QString>("entry"); // as stored
        const auto font = [](double size, bool bold, bool italic, bool underline, bool strikeOut) {
            QFont chosen(QStringLiteral("DejaVu Serif"));
            chosen.setPointSizeF(size);
            chosen.setBold(bold);
            chosen.setItalic(italic);
            chosen.setUnderline(underline);
            chosen.setStrikeOut(strikeOut);
            return chosen;
        };
        QTest::newRow("entry grid") << "mnuAnsEingabeFont" << "TDBGrid1" << "Dateneingabe" << font(8.25, true, false, false, true)
                                    << "DejaVu Serif;8,25;-1;0;0;-1";
        QTest::newRow("winners list, a large font") << "mnuAnsSiegerliste" << "TDBGrid2" << "Siegerliste"
                                                    << font(24, false, true, true, false) << "DejaVu Serif;24;0;-1;-1;0";
        QTest::newRow("title line, stored only") << "mnuAnsTitelzeileFont" << "" << "Titelzeile"
                                                 << font(8.25, true, true, false, false) << "DejaVu Serif;8,25;-1;-1;0;0";
    }

    // The chooser starts from what is shown (or stored); Cancel stores nothing; the choice is shown
    // and stored as name;size;bold;italic;underline;strikeout with -1 for true, the colour with red in
    // the lowest byte. The next start shows it again: drawn in the colour, not only set, and in rows
    // tall enough for the font.
    void fontCommand()
    {
        QFETCH(QString, command);
        QFETCH(QString, changed);
        QFETCH(QString, key);
        QFETCH(QFont, chosen);
        QFETCH(QString, entry);
        const TestCompetition competition;
        competition.addResult(1, "Anna Weiß", "SV Tell", 98.7, "0000980000000000000000000000");
        store(QStringLiteral("Wettkampf"), QStringLiteral("Last"), competition.path());
        store(QStringLiteral("Allgemein"), QStringLiteral("Font-Titelzeile"), QStringLiteral("DejaVu Sans;14;0;-1;0;0"));
        store(QStringLiteral("Allgemein"), QStringLiteral("Titelzeile-Forecolor"), QStringLiteral("255"));
        start();
        const QFont entryBefore = grid("TDBGrid1")->font(), winnersBefore = grid("TDBGrid2")->font();
        const QString storedBefore = stored(QStringLiteral("Allgemein"), "Font-" + key);
        m_dialogs->cancelFont();
        m_window->findChild<QAction *>(command)->trigger();
        QCOMPARE(stored(QStringLiteral("Allgemein"), "Font-" + key), storedBefore);
        m_dialogs->answerFont(chosen, QColor(0x12, 0xC4, 0x56));
        m_window->findChild<QAction *>(command)->trigger();
        const QFont preset = m_dialogs->presetFont();
        if (changed.isEmpty()) {
            QVERIFY(preset.pointSizeF() == 14.0 && preset.italic() && m_dialogs->presetColour() == QColor(255, 0, 0));
        } else {
            QVERIFY(preset.family() == QFont(QStringLiteral("MS Sans Serif")).family() && m_dialogs->presetColour() == Qt::black);
            QCOMPARE(grid(qPrintable(changed))->font().family(), QStringLiteral("DejaVu Serif"));
            QCOMPARE(grid(qPrintable(changed))->textColor(), QColor(0x12, 0xC4, 0x56));
        }
        QCOMPARE(changed == QLatin1String("TDBGrid1"), grid("TDBGrid1")->font() != entryBefore);
        QCOMPARE(changed == QLatin1String("TDBGrid2"), grid("TDBGrid2")->font() != winnersBefore);
        QCOMPARE(stored(QStringLiteral("Allgemein"), "Font-" + key), entry);
        QCOMPARE(stored(QStringLiteral("Allgemein"), key + "-Forecolor"), QStringLiteral("5686290")); // 0x56C412
        if (changed.isEmpty())
            return;
        start();
        DataGrid *shown = grid(qPrintable(changed));
        QCOMPARE(shown->font(), chosen);
        QCOMPARE(m_dialogs->shown().size(), size_t(2)); // the two choosers of the first start
        m_window->findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(changed == QLatin1String("TDBGrid2"));
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(shown->rowHeight(0) >= QFontMetrics(shown->font()).height());
        const QImage cells = shown->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto *pixels = reinterpret_cast<const QRgb *>(cells.constBits());
        const auto green = [](QRgb c) { return qGreen(c) > 150 && qRed(c) < 60 && qBlue(c) < 110; };
        QVERIFY2(std::count_if(pixels, pixels + cells.width() * cells.height(), green) > 20, "not drawn in the stored colour");
    }

    // A damaged entry is told (or, for a colour, passed over) and the design's font and colour stay.
    void damagedEntryKeepsTheDesign_data()
    {
        QTest::addColumn<QString>("key"); // in "Allgemein"
        QTest::addColumn<QString>("value");
        QTest::addColumn<QList<Dialogs::Answer>>("answers"); // one per box
        QTest::addColumn<QString>("end");                    // of every box
        QTest::newRow("font as a bare name: a box for each of its six fields")
            << "Font-Siegerliste" << "Arial" << QList<Dialogs::Answer>(6, Dialogs::Answer::Ignore)
            << "\nFehler beim Laden der Schriftarten Ergebnisse!";
        QTest::newRow("colour that is no number") << "Dateneingabe-Forecolor" << "rot" << QList<Dialogs::Answer>{} << "";
        QTest::newRow("colour beyond the colours") << "Siegerliste-Forecolor" << "-2147483640" << QList<Dialogs::Answer>{} << "";
        QTest::newRow("grid layout with a word for a width") << "Grid-Layout-TDBGrid2" << "0 - breit;"
                                                             << QList<Dialogs::Answer>{Dialogs::Answer::Abort}
                                                             << "\nFehler beim Laden des Grid-Konfiguration.";
    }

    void damagedEntryKeepsTheDesign()
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
        for (const ScriptedDialogs::Shown &box : m_dialogs->shown())
            QVERIFY2(box.title == "Fehler" && box.text.endsWith(end), qPrintable(box.text));
        QCOMPARE(grid("TDBGrid2")->font().family(), QFont(QStringLiteral("MS Sans Serif")).family());
        QCOMPARE(grid("TDBGrid1")->textColor(), QColor(Qt::black));
        QCOMPARE(grid("TDBGrid2")->textColor(), QApplication::palette().color(QPalette::Text));
    }

    // With nothing stored the window starts centred (the menu bar settles its height when first
    // shown: a few pixels of tolerance). Place, size, column order, visibility and widths come back;
    // the stored texts end every field with ";", widths in twips. Closed maximised, the window stores
    // neither its place nor its layout.
    void layoutRoundTrip()
    {
        const QPoint off = start().frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY2(qAbs(off.x()) <= 4 && qAbs(off.y()) <= 4, qPrintable(QStringLiteral("%1, %2").arg(off.x()).arg(off.y())));
        m_window->move(140, 90);
        m_window->resize(640, 600);
        grid("TDBGrid1")->columns(QStringLiteral("Verein")).setOrder(1);
        grid("TDBGrid1")->columns(QStringLiteral("Innenzehner")).setVisible(false);
        grid("TDBGrid1")->columns(QStringLiteral("Schuetze")).setWidth(2880);
        grid("TDBGrid2")->columns(QStringLiteral("Serie")).setWidth(1440);
        start();
        QCOMPARE(place(), QRect(140, 90, 640, 600));
        DataGrid *entry = grid("TDBGrid1");
        QVERIFY(entry->columns(QStringLiteral("Verein")).order() == 1 && !entry->columns(QStringLiteral("Innenzehner")).isVisible());
        QVERIFY(!entry->columns(QStringLiteral("ID")).isVisible() && entry->columns(QStringLiteral("Schuetze")).width() == 2880.0);
        QCOMPARE(grid("TDBGrid2")->columns(QStringLiteral("Serie")).width(), 1440.0);
        const QString position = stored(QStringLiteral("Positionen"), QStringLiteral("frmMain-"));
        QVERIFY(position.startsWith(QStringLiteral("2100;1350;9600;9000;")) && position.count(QLatin1Char(';')) == 4 + 20);
        QVERIFY(stored(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2")).startsWith(QLatin1Char(';')));
        const QString layout = stored(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-TDBGrid1"));
        QVERIFY(layout.contains(QStringLiteral(" - 0;")));
        entry->columns(QStringLiteral("Verein")).setVisible(false);
        m_window->showMaximized();
        m_window->close();
        QCOMPARE(stored(QStringLiteral("Positionen"), QStringLiteral("frmMain-")), position);
        QCOMPARE(stored(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-TDBGrid1")), layout);
    }

    // The window entry gives the name column 3000, the layout 2500: the layout is applied last, and
    // it never shows a column the design hides. The winners list has widths and no layout stored.
    void layoutIsAppliedAfterWidths()
    {
        QString widths, layout;
        for (int i = 0; i < 18; ++i) {
            widths += i == 3 ? QStringLiteral("3000;") : QStringLiteral("600;");
            layout += QStringLiteral("%1 - %2;").arg(i).arg(i == 3 ? 2500 : 700);
        }
        store(QStringLiteral("Positionen"), QStringLiteral("frmMain-"), QStringLiteral("1440;1440;12000;9000;") + widths);
        store(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2"), QLatin1Char(';') + widths);
        store(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-TDBGrid1"), layout);
        start();
        QVERIFY(grid("TDBGrid1")->columns(QStringLiteral("Schuetze")).width() == 2500.0
                && grid("TDBGrid1")->columns(QStringLiteral("Verein")).width() == 700.0);
        QVERIFY(!grid("TDBGrid1")->columns(QStringLiteral("ID")).isVisible());
        QCOMPARE(grid("TDBGrid2")->columns(QStringLiteral("Schuetze")).width(), 3000.0);
        QCOMPARE(grid("TDBGrid2")->columns(QStringLiteral("Verein")).width(), 600.0);
    }

    // The heading's menu lists the columns the user may show or hide (not ID and Sortierung, which
    // stay hidden) in display order, checked while shown; what is hidden there stays hidden on the
    // next start, and the last shown column cannot be hidden. A column shown again keeps its width.
    void headingMenu_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("menu");   // after the clicks
        QTest::addColumn<QStringList>("hidden"); // after a new start, besides ID and Sortierung
        const QStringList front{"Platz", "StartNr", "Schuetze", "Verein", "Klasse", "Mannschaft", "Serie", "Innenzehner"};
        QStringList rings, numbers, unchecked, allButName, onlyName;
        for (int i = 1; i <= 10; ++i)
            rings << QStringLiteral("Ring%1").arg(i), numbers << QString::number(i), unchecked << QStringLiteral("-%1").arg(i);
        for (const QString &caption : front + rings) {
            allButName << (caption == QLatin1String("Schuetze") ? QStringList() : QStringList{caption});
            onlyName << (caption == QLatin1String("Schuetze") ? QStringLiteral("!Schuetze") : QLatin1Char('-') + caption);
        }
        QTest::newRow("winners list without the ten shots") << "TDBGrid2" << numbers << front + unchecked << rings;
        QTest::newRow("a column hidden and shown again") << "TDBGrid1" << QStringList{"Verein", "Verein"} << front + rings
                                                         << QStringList{};
        QTest::newRow("the last shown column stays") << "TDBGrid1" << allButName + QStringList{"Schuetze"} << onlyName << allButName;
    }

    // The entry grid takes no clicks until a competition is open.
    void headingMenu()
    {
        QFETCH(QString, grid);
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, menu);
        QFETCH(QStringList, hidden);
        const TestCompetition competition;
        store(QStringLiteral("Wettkampf"), QStringLiteral("Last"), competition.path());
        start();
        const QByteArray name = grid.toLatin1();
        for (const QString &entry : clicks)
            clickInHeadingMenu(this->grid(name), entry);
        QCOMPARE(clickInHeadingMenu(this->grid(name), QString()), menu);
        QCOMPARE(this->grid(name)->columns(QStringLiteral("Verein")).width(), 1400.0);
        start();
        for (int i = 0; i < this->grid(name)->columnCount(); ++i) {
            const GridColumn column = this->grid(name)->columns(i);
            const bool designHidden = column.dataField() == QLatin1String("ID") || column.dataField() == QLatin1String("Sortierung");
            QVERIFY2(column.isVisible() == !(designHidden || hidden.contains(column.dataField())), qPrintable(column.dataField()));
        }
    }

    // How the window lays out its controls when its size changes, in twips of the inner area: the
    // search box 270 from the right edge with its label touching it, the title from the left margin
    // to the label less twice that margin, the tab control 550 above the bottom, the grids 270
    // narrower and lower than their page. What would come out as a size below zero stays as it was.
    void layoutFollowsTheSize_data()
    {
        QTest::addColumn<QSize>("inner");
        QTest::addColumn<QRect>("title"); // a width of -1: as at the designed size
        QTest::addColumn<QRect>("label");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QRect>("tabs");
        QTest::newRow("the designed size") << QSize(14340, 10905) << QRect(135, 450, 11835, 330) << QRect(12105, 540, 780, 240)
                                           << QRect(12885, 450, 1185, 330) << QRect(135, 780, 14070, 9995);
        // The search box at 1500 − 270 − 1185 = 45, its label at 45 − 780 = −735 (a place may be
        // negative), the title's width −735 − 2 × 135 kept; the tab control 1500 − 270 = 1230 by
        // 1200 − 550 − 360 = 290, which leaves the grids no height.
        QTest::newRow("too small for the margins") << QSize(1500, 1200) << QRect(135, 450, -1, 330) << QRect(-735, 540, 780, 240)
                                                   << QRect(45, 450, 1185, 330) << QRect(135, 780, 1230, 290);
    }

    void layoutFollowsTheSize()
    {
        QFETCH(QSize, inner);
        QFETCH(QRect, title);
        QFETCH(QRect, label);
        QFETCH(QRect, box);
        QFETCH(QRect, tabs);
        frmMain &window = start();
        setInnerSize(QSize(14340, 10905));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int designedTitle = inInnerArea("Label1").width(), designedGrid = inInnerArea("TDBGrid1").height();
        setInnerSize(inner);
        QRect expectedTitle = px(&window, title);
        if (title.width() < 0)
            expectedTitle.setWidth(designedTitle);
        QCOMPARE(inInnerArea("Label1"), expectedTitle);
        QCOMPARE(inInnerArea("lblSuche"), px(&window, label));
        QCOMPARE(inInnerArea("txtSuche"), px(&window, box));
        QCOMPARE(inInnerArea("SSTab1"), px(&window, tabs));
        const int strip = window.findChild<QTabWidget *>()->tabBar()->sizeHint().height(); // the style's
        const int height = px(&window, tabs.height() - 270) - strip;
        for (const char *grid : {"TDBGrid1", "TDBGrid2"}) {
            QCOMPARE(window.findChild<QWidget *>(QLatin1String(grid))->x(), px(&window, 135));
            QCOMPARE(inInnerArea(grid).width(), px(&window, tabs.width() - 270));
            QVERIFY(height < 0 ? inInnerArea(grid).height() == designedGrid : qAbs(inInnerArea(grid).height() - height) <= 1);
        }
    }
};

QTEST_MAIN(tst_Appearance)
#include "tst_appearance.moc"
