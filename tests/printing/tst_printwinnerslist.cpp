// Printing the winners list: the print settings each run sets, the settings
// it reads, the PDF it prints, read back with pdftotext, and the preview
// window over the same pages.
#include "DataGrid.h"
#include "PageRenderer.h"
#include "PdfText.h"
#include "PreviewPage.h"
#include "PrintPreviewWindow.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QToolBar>
#include <QtTest>
#include <memory>

namespace {

const QString Title = QStringLiteral("Kreismeisterschaft 2024");
const QString Footer = QStringLiteral("\\tSeite \\p von \\P\\tRingtal (Velmor-Software GmbH)");
const QString FooterRight = QStringLiteral("Ringtal (Velmor-Software GmbH)");
// A4 in points, and the default margin of 1000 twips in points.
constexpr double A4Short = 595.28;
constexpr double A4Long = 841.89;
constexpr double DefaultMargin = 50.0;
// Text boxes start a glyph's side bearing away from where the text is placed.
constexpr double Slack = 2.0;

using Settings = QList<QPair<QString, QString>>;

} // namespace

class tst_PrintWinnersList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyRunSetsEveryField_data();
    void everyRunSetsEveryField();
    void printedColumnsAreTheShownOnes();
    void fontsAreTheShownOnes();

    void threePagesCarryFooterHeadingsAndTitle();
    void pageAndMarginsInTwips_data();
    void pageAndMarginsInTwips();
    void emptyTitleStillPrintsTheFooter();
    void cancelledPrintLeavesNoFile();
    void failuresAreReported_data();
    void failuresAreReported();

    void previewOpensOverThePrintsPages();
    void previewNavigation_data();
    void previewNavigation();
    void previewZoom_data();
    void previewZoom();
    void previewShowsTheRenderedPage_data();
    void previewShowsTheRenderedPage();
    void previewEndsSilently_data();
    void previewEndsSilently();

private:
    void openWindow(int rows, const Settings &settings = {});
    DataGrid *winners() const { return m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid2")); }
    void trigger(const QString &action) { m_window->findChild<QAction *>(action)->trigger(); }
    QString printPdf();
    PrintPreviewWindow *preview() const { return m_window->findChild<PrintPreviewWindow *>(); }
    void click(PrintPreviewWindow *window, const QString &action)
    {
        window->findChild<QAction *>(action)->trigger();
    }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

void tst_PrintWinnersList::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_competition = std::make_unique<TestCompetition>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void tst_PrintWinnersList::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    m_competition.reset();
    m_settings.reset();
}

// Rows "Schütze 01" … best first, so the list's order is the start order.
// Each row is 67 pixels high (1005 twips at 96 dpi): with the default margins
// an A4 landscape page has 9906 twips for the header (about 400), the footer
// (about 300), the headings (about 400) and the rows, so 8 rows fit a page
// (7 on Letter, which a preview on the default printer may take), and 20
// rows make three pages either way.
void tst_PrintWinnersList::openWindow(int rows, const Settings &settings)
{
    m_competition->setTitle(Title);
    for (int i = 1; i <= rows; ++i) {
        const QString key = QStringLiteral("%1").arg(100 - i, 6, 10, QLatin1Char('0')) + QString(22, QLatin1Char('0'));
        m_competition->addResult(i, QStringLiteral("Schütze %1").arg(i, 2, 10, QLatin1Char('0')),
                                 QStringLiteral("SV Müllheim"), 100 - i, key);
    }
    for (const auto &[key, value] : settings)
        m_settings->write(QStringLiteral("Printer"), key, value);
    m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competition->path());
    m_window = std::make_unique<frmMain>();
    QCOMPARE(winners()->logicalDpiY(), 96);
    winners()->verticalHeader()->setDefaultSectionSize(67);
}

QString tst_PrintWinnersList::printPdf()
{
    const QString pdf = m_competition->folder() + QStringLiteral("/siegerliste.pdf");
    m_dialogs->answerPrint(pdf);
    trigger(QStringLiteral("mnuDateiPrint"));
    return pdf;
}

// Whatever an earlier run left in the print settings, a run sets every field
// again, margins and orientation from the settings as they stand.
void tst_PrintWinnersList::everyRunSetsEveryField_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QVector<double>>("expected"); // left, right, top, bottom, orientation
    QTest::newRow("nothing stored") << Settings{} << QVector<double>{1000, 1000, 1000, 1000, 2};
    QTest::newRow("point groups thousands, comma is the decimal sign")
            << Settings{{"Links", "1.500"}, {"Rechts", "12,5"}, {"Oben", "1.234,5"}}
            << QVector<double>{1500, 12.5, 1234.5, 1000, 2};
    QTest::newRow("empty box and no number are 0") << Settings{{"Unten", ""}, {"Links", "breit"}}
                                                   << QVector<double>{0, 1000, 1000, 0, 2};
    QTest::newRow("portrait") << Settings{{"Format", "1"}} << QVector<double>{1000, 1000, 1000, 1000, 1};
}

void tst_PrintWinnersList::everyRunSetsEveryField()
{
    QFETCH(Settings, settings);
    QFETCH(QVector<double>, expected);
    openWindow(3, settings);
    PrintInfo &info = winners()->printInfo();
    info.pageHeader = QStringLiteral("alt");
    info.pageHeaderFont = QFont(QStringLiteral("Courier New"), 30);
    info.pageFooter = QStringLiteral("alt");
    info.pageFooterFont = QFont(QStringLiteral("Courier New"), 20, QFont::Bold, true);
    info.repeatGridHeader = false;
    info.repeatColumnHeaders = false;
    info.marginLeft = info.marginRight = info.marginTop = info.marginBottom = 7;
    info.orientation = 3;
    trigger(QStringLiteral("mnuPreviou"));

    QCOMPARE(info.pageHeader, Title);
    QCOMPARE(info.pageHeaderFont, QFont());
    QCOMPARE(info.pageFooter, Footer);
    // The footer font keeps its face and style; only size and weight are set.
    QCOMPARE(info.pageFooterFont.family(), QStringLiteral("Courier New"));
    QCOMPARE(info.pageFooterFont.pointSizeF(), 8.0);
    QVERIFY(!info.pageFooterFont.bold());
    QVERIFY(info.pageFooterFont.italic());
    QVERIFY(info.repeatGridHeader);
    QVERIFY(info.repeatColumnHeaders);
    QCOMPARE(QVector<double>({info.marginLeft, info.marginRight, info.marginTop, info.marginBottom, info.orientation}),
             expected);
}

// Visible columns in display order with their captions and widths; ID and
// Sortierung are hidden and not printed.
void tst_PrintWinnersList::printedColumnsAreTheShownOnes()
{
    openWindow(2);
    DataGrid *grid = winners();
    grid->columns(QStringLiteral("Verein")).setOrder(2);
    grid->columns(QStringLiteral("Innenzehner")).setVisible(false);
    grid->columns(QStringLiteral("Serie")).setWidth(1234);
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), 1);
    const auto platz = text.find(1, QStringLiteral("Platz"));
    const auto verein = text.find(1, QStringLiteral("Verein"));
    const auto startNr = text.find(1, QStringLiteral("StartNr"));
    const auto schuetze = text.find(1, QStringLiteral("Schuetze"));
    const auto serie = text.find(1, QStringLiteral("Serie"));
    QVERIFY(platz && verein && startNr && schuetze && serie);
    QVERIFY(platz->left() < verein->left());
    QVERIFY(verein->left() < startNr->left());
    QVERIFY(startNr->left() < schuetze->left());
    QVERIFY(!text.find(1, QStringLiteral("Innenzehner")));
    QVERIFY(!text.find(1, QStringLiteral("Sortierung")));
    QVERIFY(!text.text(1).contains(QStringLiteral("0000")));
    QCOMPARE(text.count(1, QStringLiteral("10")), 1);
    // Widths in twips from the left margin: Platz 600, Verein 1700, StartNr 780,
    // Schuetze 2000, then Serie 1234 and the rings 600 each; headings are centred.
    QVERIFY(qAbs(serie->center().x() - (DefaultMargin + (5080 + 617) / 20.0)) < Slack);
    const auto ring1 = text.find(1, QStringLiteral("1"));
    QVERIFY(ring1);
    QVERIFY(qAbs(ring1->center().x() - (DefaultMargin + (5080 + 1234 + 300) / 20.0)) < Slack);
}

// Rows in the grid's font, headings in its heading font.
void tst_PrintWinnersList::fontsAreTheShownOnes()
{
    openWindow(2);
    winners()->setFont(QFont(QStringLiteral("DejaVu Serif"), 10));
    winners()->horizontalHeader()->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 8));
    const QString pdf = printPdf();
    const QStringList fonts = PdfText::fonts(pdf);
    QVERIFY2(fonts.contains(QStringLiteral("DejaVuSerif")), qPrintable(fonts.join(QLatin1Char(','))));
    QVERIFY2(fonts.contains(QStringLiteral("DejaVuSansMono")), qPrintable(fonts.join(QLatin1Char(','))));
    const PdfText text(pdf);
    QVERIFY(text.find(1, QStringLiteral("Schütze 01")));
    QVERIFY(text.find(1, QStringLiteral("Schuetze")));
}

// Twenty rows at 8 a page: pages of 8, 8 and 4 rows. Copying the rows counts
// the first half of the progress, each printed page its rows in the second.
void tst_PrintWinnersList::threePagesCarryFooterHeadingsAndTitle()
{
    openWindow(20);
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), 3);
    QCOMPARE(m_dialogs->shown().back().kind, QStringLiteral("progress"));
    QCOMPARE(m_dialogs->shown().back().maximum, 40);
    QCOMPARE(m_dialogs->progressSteps(), (std::vector<int>{20, 28, 36, 40}));
    for (int row = 1; row <= 20; ++row) {
        const QString name = QStringLiteral("Schütze %1").arg(row, 2, 10, QLatin1Char('0'));
        for (int p = 1; p <= 3; ++p)
            QVERIFY2(text.count(p, name) == (p == (row - 1) / 8 + 1 ? 1 : 0),
                     qPrintable(name + QStringLiteral(" on page %1").arg(p)));
    }
    const QSizeF page = text.pageSize(2);
    const auto centre = text.find(2, QStringLiteral("Seite 2 von 3"));
    QVERIFY(centre);
    QVERIFY(qAbs(centre->center().x() - page.width() / 2) < Slack);
    QVERIFY(centre->bottom() <= page.height() - DefaultMargin + Slack);
    QVERIFY(centre->bottom() > page.height() - DefaultMargin - 20);
    const auto right = text.find(2, FooterRight);
    QVERIFY(right);
    QVERIFY(qAbs(right->right() - (page.width() - DefaultMargin)) < Slack);
    QVERIFY(qAbs(right->center().y() - centre->center().y()) < 1);
    for (int p = 1; p <= 3; ++p) {
        const auto title = text.find(p, Title);
        QVERIFY2(title, qPrintable(QStringLiteral("no title on page %1").arg(p)));
        QVERIFY(qAbs(title->left() - DefaultMargin) < Slack);
        QVERIFY(qAbs(title->top() - DefaultMargin) < 5);
        for (const char *heading : {"Platz", "StartNr", "Schuetze", "Verein", "Serie"})
            QVERIFY2(text.find(p, QLatin1String(heading)),
                     qPrintable(QStringLiteral("no %1 on page %2").arg(QLatin1String(heading)).arg(p)));
        QVERIFY(text.find(p, QStringLiteral("Seite %1 von 3").arg(p)));
    }
}

// Margins are twips: 1000 twips are 50 points; 2 is landscape, 1 portrait.
void tst_PrintWinnersList::pageAndMarginsInTwips_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<QVector<double>>("points"); // left, right, top, bottom
    QTest::newRow("nothing stored: landscape, 50 points") << Settings{} << QSizeF(A4Long, A4Short)
                                                          << QVector<double>{50, 50, 50, 50};
    QTest::newRow("portrait, every margin its own")
            << Settings{{"Format", "1"}, {"Links", "12,5"}, {"Rechts", "2000"}, {"Oben", "1.500"}, {"Unten", "2880"}}
            << QSizeF(A4Short, A4Long) << QVector<double>{0.625, 100, 75, 144};
}

void tst_PrintWinnersList::pageAndMarginsInTwips()
{
    QFETCH(Settings, settings);
    QFETCH(QSizeF, page);
    QFETCH(QVector<double>, points);
    openWindow(2, settings);
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), 1);
    QVERIFY(qAbs(text.pageSize(1).width() - page.width()) < 1);
    QVERIFY(qAbs(text.pageSize(1).height() - page.height()) < 1);
    const auto title = text.find(1, Title);
    const auto right = text.find(1, FooterRight);
    QVERIFY(title && right);
    QVERIFY2(qAbs(title->left() - points.at(0)) < Slack, qPrintable(QString::number(title->left())));
    QVERIFY2(qAbs(right->right() - (page.width() - points.at(1))) < Slack, qPrintable(QString::number(right->right())));
    QVERIFY2(qAbs(title->top() - points.at(2)) < 5, qPrintable(QString::number(title->top())));
    QVERIFY(right->bottom() <= page.height() - points.at(3) + Slack);
    QVERIFY(right->bottom() > page.height() - points.at(3) - 20);
}

// No title: nothing above the headings, which move up to the top margin.
void tst_PrintWinnersList::emptyTitleStillPrintsTheFooter()
{
    openWindow(2);
    m_window->findChild<QLabel *>(QStringLiteral("Label1"))->clear();
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), 1);
    QVERIFY(!text.find(1, Title));
    QVERIFY(text.find(1, QStringLiteral("Seite 1 von 1")));
    QVERIFY(text.find(1, FooterRight));
    const auto heading = text.find(1, QStringLiteral("Platz"));
    QVERIFY(heading);
    QVERIFY2(heading->top() > DefaultMargin && heading->top() < DefaultMargin + 10,
             qPrintable(QString::number(heading->top())));
    QVERIFY(text.find(1, QStringLiteral("Schütze 01")));
}

// Cancelling the print dialog prints nothing; cancelling the progress leaves no file.
void tst_PrintWinnersList::cancelledPrintLeavesNoFile()
{
    openWindow(20);
    m_dialogs->answerPrint(QString());
    trigger(QStringLiteral("mnuDateiPrint"));
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(m_dialogs->shown().front().kind, QStringLiteral("print"));
    QVERIFY(QDir(m_competition->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());

    m_dialogs->cancelProgressAt(28);
    const QString pdf = printPdf();
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(m_dialogs->progressSteps(), (std::vector<int>{20, 28}));
    for (const ScriptedDialogs::Shown &shown : m_dialogs->shown())
        QVERIFY2(shown.kind == "print" || shown.kind == "progress", qPrintable(shown.text));
}

void tst_PrintWinnersList::failuresAreReported_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("start");
    QTest::newRow("folder missing") << Settings{} << QStringLiteral("/fehlt") << QStringLiteral("Fehler: 75 - ");
    QTest::newRow("margins leave no room")
            << Settings{{"Oben", "6000"}, {"Unten", "6000"}} << QString() << QStringLiteral("Fehler: 5 - ");
}

void tst_PrintWinnersList::failuresAreReported()
{
    QFETCH(Settings, settings);
    QFETCH(QString, folder);
    QFETCH(QString, start);
    openWindow(3, settings);
    const QString pdf = m_competition->folder() + folder + QStringLiteral("/liste.pdf");
    m_dialogs->answerPrint(pdf);
    trigger(QStringLiteral("mnuDateiPrint"));
    QVERIFY(!QFile::exists(pdf));
    const ScriptedDialogs::Shown &shown = m_dialogs->shown().back();
    QCOMPARE(shown.kind, QStringLiteral("message"));
    QCOMPARE(shown.title, QStringLiteral("Fehler"));
    QVERIFY2(shown.text.startsWith(start), qPrintable(shown.text));
    QVERIFY(shown.text.endsWith(QStringLiteral("\nDie Siegerliste wurde nicht gedruckt.")));
    QCOMPARE(m_dialogs->unexpected(), 0);
}

// ---------------------------------------------------------------- preview

void tst_PrintWinnersList::previewOpensOverThePrintsPages()
{
    openWindow(20);
    trigger(QStringLiteral("mnuPreviou"));
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
    // Copying the rows is the only progress; nothing is printed yet.
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(m_dialogs->shown().front().maximum, 20);
    QCOMPARE(m_dialogs->progressSteps(), std::vector<int>{20});
    // Navigation, zoom and closing; no printing, saving or opening of files.
    QStringList actions;
    for (const QAction *action : window->findChild<QToolBar *>()->actions())
        if (!action->objectName().isEmpty())
            actions << action->objectName();
    QCOMPARE(actions,
             QStringList({"firstPage", "previousPage", "nextPage", "lastPage", "zoomOut", "zoomIn", "closePreview"}));
    click(window, QStringLiteral("closePreview"));
    QTRY_VERIFY(!preview());
}

void tst_PrintWinnersList::previewNavigation_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("page");
    QTest::addColumn<QVector<bool>>("enabled"); // first, previous, next, last
    QTest::newRow("at the start") << QStringList{} << 1 << QVector<bool>{false, false, true, true};
    QTest::newRow("next") << QStringList{"nextPage"} << 2 << QVector<bool>{true, true, true, true};
    QTest::newRow("next beyond the last stays") << QStringList{"lastPage", "nextPage"} << 3
                                                << QVector<bool>{true, true, false, false};
    QTest::newRow("back from the last") << QStringList{"lastPage", "previousPage"} << 2
                                        << QVector<bool>{true, true, true, true};
    QTest::newRow("first again") << QStringList{"nextPage", "nextPage", "firstPage"} << 1
                                 << QVector<bool>{false, false, true, true};
    QTest::newRow("page down key") << QStringList{"key:PageDown"} << 2 << QVector<bool>{true, true, true, true};
    QTest::newRow("end then page up keys") << QStringList{"key:End", "key:PageUp"} << 2
                                           << QVector<bool>{true, true, true, true};
}

void tst_PrintWinnersList::previewNavigation()
{
    QFETCH(QStringList, steps);
    QFETCH(int, page);
    QFETCH(QVector<bool>, enabled);
    openWindow(20);
    trigger(QStringLiteral("mnuPreviou"));
    PrintPreviewWindow *window = preview();
    QVERIFY(window);
    const QMap<QString, Qt::Key> keys{
            {"key:PageDown", Qt::Key_PageDown}, {"key:PageUp", Qt::Key_PageUp}, {"key:End", Qt::Key_End}};
    for (const QString &step : steps) {
        if (keys.contains(step))
            QTest::keyClick(window, keys.value(step));
        else
            click(window, step);
    }
    const QString indicator = QStringLiteral("Page %1 of 3").arg(page);
    QCOMPARE(window->pageIndicator(), indicator);
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("pageIndicator"))->text(), indicator);
    const char *names[] = {"firstPage", "previousPage", "nextPage", "lastPage"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(window->findChild<QAction *>(QLatin1String(names[i]))->isEnabled(), enabled.at(i));
}

void tst_PrintWinnersList::previewZoom_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<double>("percent");
    QTest::newRow("100 % chosen") << QStringList{"100 %"} << 100.0;
    QTest::newRow("in from 100 %") << QStringList{"100 %", "zoomIn"} << 125.0;
    QTest::newRow("out from 100 %") << QStringList{"100 %", "zoomOut"} << 80.0;
}

// 100 % is the paper's real size on the screen.
void tst_PrintWinnersList::previewZoom()
{
    QFETCH(QStringList, steps);
    QFETCH(double, percent);
    openWindow(3);
    trigger(QStringLiteral("mnuPreviou"));
    PrintPreviewWindow *window = preview();
    QVERIFY(window);
    auto *box = window->findChild<QComboBox *>(QStringLiteral("zoomBox"));
    for (const QString &step : steps) {
        if (step.endsWith(QLatin1Char('%'))) {
            box->setCurrentIndex(box->findText(step));
            emit box->activated(box->currentIndex());
        } else {
            click(window, step);
        }
    }
    QVERIFY(qAbs(window->zoomPercent() - percent) < 1e-6);
    const QSizeF paper = window->renderer().paperTwips() / 1440.0 * window->logicalDpiX() * percent / 100.0;
    const QWidget *page = window->findChild<PreviewPage *>();
    QCOMPARE(page->size(), QSize(qRound(paper.width()), qRound(paper.height())));
    QCOMPARE(box->currentText(), QStringLiteral("%1 %").arg(qRound(percent)));
}

// The page on the screen is what the renderer paints, in the grid's text colour.
void tst_PrintWinnersList::previewShowsTheRenderedPage_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("red");
    QTest::newRow("black as designed") << QColor(Qt::black) << false;
    QTest::newRow("red chosen for the list") << QColor(Qt::red) << true;
}

void tst_PrintWinnersList::previewShowsTheRenderedPage()
{
    QFETCH(QColor, colour);
    QFETCH(bool, red);
    openWindow(3);
    winners()->setTextColor(colour);
    trigger(QStringLiteral("mnuPreviou"));
    PrintPreviewWindow *window = preview();
    QVERIFY(window);
    window->setZoom(PrintPreviewWindow::Zoom::Percent, 200);
    const QImage image = window->findChild<PreviewPage *>()->grab().toImage();
    int dark = 0, reddish = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            dark += qGray(c.rgb()) < 128;
            reddish += c.red() > 150 && c.green() < 100 && c.blue() < 100;
        }
    QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
    QCOMPARE(reddish > 20, red);
}

void tst_PrintWinnersList::previewEndsSilently_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<int>("cancelAt");
    QTest::newRow("margins leave no room") << Settings{{"Links", "9000"}, {"Rechts", "9000"}} << -1;
    QTest::newRow("cancelled while preparing") << Settings{} << 1;
}

void tst_PrintWinnersList::previewEndsSilently()
{
    QFETCH(Settings, settings);
    QFETCH(int, cancelAt);
    m_dialogs->cancelProgressAt(cancelAt);
    openWindow(5, settings);
    trigger(QStringLiteral("mnuPreviou"));
    QVERIFY(!preview());
    for (const ScriptedDialogs::Shown &shown : m_dialogs->shown())
        QCOMPARE(shown.kind, QStringLiteral("progress"));
    // The window goes on: with room again the next preview opens.
    m_settings->write(QStringLiteral("Printer"), QStringLiteral("Links"), QStringLiteral("1000"));
    m_settings->write(QStringLiteral("Printer"), QStringLiteral("Rechts"), QStringLiteral("1000"));
    m_dialogs->cancelProgressAt(-1);
    trigger(QStringLiteral("mnuPreviou"));
    QVERIFY(preview());
    QCOMPARE(preview()->pageIndicator(), QStringLiteral("Page 1 of 1"));
}

QTEST_MAIN(tst_PrintWinnersList)
#include "tst_printwinnerslist.moc"
