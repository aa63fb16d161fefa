// The preview window: the pages of the print with navigation, zoom and the
// page indicator, and a preview that ends silently when it cannot start.
#include "DataGrid.h"
#include "PageRenderer.h"
#include "PreviewPage.h"
#include "PrintPreviewWindow.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QToolBar>
#include <QtTest>
#include <memory>

using Settings = QList<QPair<QString, QString>>;

class tst_PrintPreview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOverThePrintsPages();
    void navigation_data();
    void navigation();
    void zoom_data();
    void zoom();
    void pageShowsTheRenderedPage();
    void textColourAsShown_data();
    void textColourAsShown();
    void endsSilently_data();
    void endsSilently();
    void progressCountsTheRowsCopied();

private:
    void openWindow(int rows, const Settings &settings = {});
    PrintPreviewWindow *preview();
    void click(PrintPreviewWindow *window, const char *action)
    {
        window->findChild<QAction *>(QLatin1String(action))->trigger();
    }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

void tst_PrintPreview::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_competition = std::make_unique<TestCompetition>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void tst_PrintPreview::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    m_competition.reset();
    m_settings.reset();
}

// Rows of 1005 twips: whatever the default paper (A4 or Letter, 7 or 8 rows a
// page in landscape), 20 rows make three pages.
void tst_PrintPreview::openWindow(int rows, const Settings &settings)
{
    m_competition->setTitle(QStringLiteral("Vereinsmeisterschaft"));
    for (int i = 1; i <= rows; ++i)
        m_competition->addResult(i, QStringLiteral("Schütze %1").arg(i), QStringLiteral("SV"), 100 - i,
                                 QStringLiteral("%1").arg(100 - i, 6, 10, QLatin1Char('0'))
                                         + QString(22, QLatin1Char('0')));
    for (const auto &[key, value] : settings)
        m_settings->write(QStringLiteral("Printer"), key, value);
    m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competition->path());
    m_window = std::make_unique<frmMain>();
    QCOMPARE(m_window->logicalDpiY(), 96);
    m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid2"))->verticalHeader()->setDefaultSectionSize(67);
    m_window->findChild<QAction *>(QStringLiteral("mnuPreviou"))->trigger();
}

PrintPreviewWindow *tst_PrintPreview::preview()
{
    return m_window->findChild<PrintPreviewWindow *>();
}

void tst_PrintPreview::opensOverThePrintsPages()
{
    openWindow(20);
    PrintPreviewWindow *window = preview();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(window->isWindow());
    QVERIFY(!window->isMaximized());
    QCOMPARE(window->windowTitle(), QString());
    QCOMPARE(window->pageCount(), 3);
    QCOMPARE(window->pageIndicator(), QStringLiteral("Page 1 of 3"));
    // Landscape as nothing is stored: the page is wider than high.
    QVERIFY(window->renderer().paperTwips().width() > window->renderer().paperTwips().height());
    // Navigation, zoom and closing; no printing, saving or opening of files.
    QStringList actions;
    for (const QAction *action : window->findChild<QToolBar *>()->actions())
        if (!action->objectName().isEmpty())
            actions << action->objectName();
    QCOMPARE(actions,
             QStringList({"firstPage", "previousPage", "nextPage", "lastPage", "zoomOut", "zoomIn", "closePreview"}));
    click(window, "closePreview");
    QTRY_VERIFY(!preview());
}

void tst_PrintPreview::navigation_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("indicator");
    QTest::addColumn<QVector<bool>>("enabled"); // first, previous, next, last
    QTest::newRow("at the start") << QStringList{} << QStringLiteral("Page 1 of 3")
                                  << QVector<bool>{false, false, true, true};
    QTest::newRow("next") << QStringList{"nextPage"} << QStringLiteral("Page 2 of 3")
                          << QVector<bool>{true, true, true, true};
    QTest::newRow("last") << QStringList{"lastPage"} << QStringLiteral("Page 3 of 3")
                          << QVector<bool>{true, true, false, false};
    QTest::newRow("next beyond the last stays") << QStringList{"lastPage", "nextPage"} << QStringLiteral("Page 3 of 3")
                                                << QVector<bool>{true, true, false, false};
    QTest::newRow("back from the last") << QStringList{"lastPage", "previousPage"} << QStringLiteral("Page 2 of 3")
                                        << QVector<bool>{true, true, true, true};
    QTest::newRow("first again") << QStringList{"nextPage", "nextPage", "firstPage"} << QStringLiteral("Page 1 of 3")
                                 << QVector<bool>{false, false, true, true};
    QTest::newRow("page down key") << QStringList{"key:PageDown"} << QStringLiteral("Page 2 of 3")
                                   << QVector<bool>{true, true, true, true};
    QTest::newRow("end then page up keys") << QStringList{"key:End", "key:PageUp"} << QStringLiteral("Page 2 of 3")
                                           << QVector<bool>{true, true, true, true};
}

void tst_PrintPreview::navigation()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, indicator);
    QFETCH(QVector<bool>, enabled);
    openWindow(20);
    PrintPreviewWindow *window = preview();
    QVERIFY(window);
    for (const QString &step : steps) {
        if (step == QLatin1String("key:PageDown"))
            QTest::keyClick(window, Qt::Key_PageDown);
        else if (step == QLatin1String("key:PageUp"))
            QTest::keyClick(window, Qt::Key_PageUp);
        else if (step == QLatin1String("key:End"))
            QTest::keyClick(window, Qt::Key_End);
        else
            click(window, qPrintable(step));
    }
    QCOMPARE(window->pageIndicator(), indicator);
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("pageIndicator"))->text(), indicator);
    const char *names[] = {"firstPage", "previousPage", "nextPage", "lastPage"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(window->findChild<QAction *>(QLatin1String(names[i]))->isEnabled(), enabled.at(i));
}

void tst_PrintPreview::zoom_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<double>("percent");
    QTest::newRow("100 % chosen") << QStringList{"100 %"} << 100.0;
    QTest::newRow("200 % chosen") << QStringList{"200 %"} << 200.0;
    QTest::newRow("in from 100 %") << QStringList{"100 %", "zoomIn"} << 125.0;
    QTest::newRow("out from 100 %") << QStringList{"100 %", "zoomOut"} << 80.0;
    QTest::newRow("in twice from 50 %") << QStringList{"50 %", "zoomIn", "zoomIn"} << 78.125;
}

// 100 % is the paper's real size on the screen.
void tst_PrintPreview::zoom()
{
    QFETCH(QStringList, steps);
    QFETCH(double, percent);
    openWindow(3);
    PrintPreviewWindow *window = preview();
    QVERIFY(window);
    auto *box = window->findChild<QComboBox *>(QStringLiteral("zoomBox"));
    for (const QString &step : steps) {
        if (step.endsWith(QLatin1Char('%'))) {
            box->setCurrentIndex(box->findText(step));
            emit box->activated(box->currentIndex());
        } else {
            click(window, qPrintable(step));
        }
    }
    QVERIFY(qAbs(window->zoomPercent() - percent) < 1e-6);
    const QSizeF paper = window->renderer().paperTwips() / 1440.0 * window->logicalDpiX() * percent / 100.0;
    const QWidget *page = window->findChild<PreviewPage *>();
    QCOMPARE(page->size(), QSize(qRound(paper.width()), qRound(paper.height())));
    QCOMPARE(box->currentText(), QStringLiteral("%1 %").arg(qRound(percent)));
}

// The page on the screen is what the renderer paints, not an empty sheet.
void tst_PrintPreview::pageShowsTheRenderedPage()
{
    openWindow(3);
    PrintPreviewWindow *window = preview();
    QVERIFY(window);
    window->setZoom(PrintPreviewWindow::Zoom::Percent, 100);
    const QImage image = window->findChild<PreviewPage *>()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 128;
    QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
}

void tst_PrintPreview::textColourAsShown_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("red");
    QTest::newRow("black as designed") << QColor(Qt::black) << false;
    QTest::newRow("red chosen for the list") << QColor(Qt::red) << true;
}

void tst_PrintPreview::textColourAsShown()
{
    QFETCH(QColor, colour);
    QFETCH(bool, red);
    m_competition->addResult(1, QStringLiteral("Anna Berg"), QStringLiteral("SV"), 90,
                             QStringLiteral("0000900000000000000000000000"));
    m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competition->path());
    m_window = std::make_unique<frmMain>();
    m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid2"))->setTextColor(colour);
    m_window->findChild<QAction *>(QStringLiteral("mnuPreviou"))->trigger();
    PrintPreviewWindow *window = preview();
    QVERIFY(window);
    window->setZoom(PrintPreviewWindow::Zoom::Percent, 200);
    const QImage image = window->findChild<PreviewPage *>()->grab().toImage();
    int reddish = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            reddish += c.red() > 150 && c.green() < 100 && c.blue() < 100;
        }
    QCOMPARE(reddish > 20, red);
}

void tst_PrintPreview::endsSilently_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<int>("cancelAt");
    QTest::newRow("margins leave no room") << Settings{{"Links", "9000"}, {"Rechts", "9000"}} << -1;
    QTest::newRow("cancelled while preparing") << Settings{} << 1;
}

void tst_PrintPreview::endsSilently()
{
    QFETCH(Settings, settings);
    QFETCH(int, cancelAt);
    m_dialogs->cancelProgressAt(cancelAt);
    openWindow(5, settings);
    QVERIFY(!preview());
    for (const ScriptedDialogs::Shown &shown : m_dialogs->shown())
        QCOMPARE(shown.kind, QStringLiteral("progress"));
    // The window goes on: with room again the next preview opens.
    m_settings->write(QStringLiteral("Printer"), QStringLiteral("Links"), QStringLiteral("1000"));
    m_settings->write(QStringLiteral("Printer"), QStringLiteral("Rechts"), QStringLiteral("1000"));
    m_dialogs->cancelProgressAt(-1);
    m_window->findChild<QAction *>(QStringLiteral("mnuPreviou"))->trigger();
    QVERIFY(preview());
    QCOMPARE(preview()->pageIndicator(), QStringLiteral("Page 1 of 1"));
}

void tst_PrintPreview::progressCountsTheRowsCopied()
{
    openWindow(20);
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(m_dialogs->shown().front().kind, QStringLiteral("progress"));
    QCOMPARE(m_dialogs->shown().front().maximum, 20);
    QCOMPARE(m_dialogs->progressSteps(), std::vector<int>{20});
}

QTEST_MAIN(tst_PrintPreview)
#include "tst_printpreview.moc"
