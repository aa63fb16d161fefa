// Printing the winners list: the print settings each run sets, the settings
// it reads, the PDF it prints, read back with pdftotext, and the preview
// window over the same pages.
#include "grid/DataGrid.h"
#include "mainwindow/frmMain.h"
#include "printing/GridPrinter.h"
#include "printing/PageRenderer.h"
#include "printing/PreviewPage.h"
#include "printing/PrintPreviewWindow.h"
#include "support/PdfText.h"
#include "support/ScriptedDialogs.h"
#include "support/TestCompetition.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QScrollArea>
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

    void everyRunSetsEveryField();
    void printedColumnsAreTheShownOnes();
    void columnsFittedToTheirTexts_data();
    void columnsFittedToTheirTexts();

    void threePagesCarryFooterHeadingsAndTitle();
    void pageAndMarginsInTwips_data();
    void pageAndMarginsInTwips();
    void failuresAreReported_data();
    void failuresAreReported();

    void previewNavigation_data();
    void previewNavigation();
    void previewZoom_data();
    void previewZoom();
    void previewFitsTheWindow_data();
    void previewFitsTheWindow();
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
    // Ranked, as after F5.
    m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Platz = StartNr"));
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
// again, margins and orientation from the settings as they stand: an empty
// box and no number are 0, the point groups thousands.
void tst_PrintWinnersList::everyRunSetsEveryField()
{
    openWindow(3, {{"Unten", ""}, {"Links", "breit"}, {"Oben", "1.234,5"}, {"Format", "1"}});
    PrintInfo &info = winners()->printInfo();
    info.pageHeader = QStringLiteral("alt");
    info.pageHeaderFont = QFont(QStringLiteral("Courier New"), 30);
    info.pageFooter = QStringLiteral("alt");
    info.pageFooterFont = QFont(QStringLiteral("Courier New"), 20, QFont::Bold, true);
    info.repeatGridHeader = false;
    info.repeatColumnHeaders = false;
    info.marginLeft = info.marginRight = info.marginTop = info.marginBottom = 7;
    info.orientation = 3;
    info.fitColumnsToContents = true;
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
             QVector<double>({0, 1000, 1234.5, 0, 1}));
    QVERIFY(!info.fitColumnsToContents);
}

// Visible columns in display order with their captions and widths; ID and
// Sortierung are hidden and not printed. Rows in the grid's font, headings in
// its heading font.
void tst_PrintWinnersList::printedColumnsAreTheShownOnes()
{
    openWindow(2);
    DataGrid *grid = winners();
    grid->columns(QStringLiteral("Verein")).setOrder(2);
    grid->columns(QStringLiteral("Innenzehner")).setVisible(false);
    grid->columns(QStringLiteral("Serie")).setWidth(1234);
    grid->setFont(QFont(QStringLiteral("DejaVu Serif"), 10));
    grid->horizontalHeader()->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 8));
    const QString pdf = printPdf();
    const QStringList fonts = PdfText::fonts(pdf);
    QVERIFY2(fonts.contains(QStringLiteral("DejaVuSerif")) && fonts.contains(QStringLiteral("DejaVuSansMono")),
             qPrintable(fonts.join(QLatin1Char(','))));
    const PdfText text(pdf);
    QCOMPARE(text.pageCount(), 1);
    QVERIFY(text.find(1, QStringLiteral("Schütze 01")));
    QVector<double> lefts;
    for (const char *heading : {"Platz", "Verein", "StartNr", "Schuetze"}) {
        const auto box = text.find(1, QLatin1String(heading));
        QVERIFY2(box, heading);
        lefts << box->left();
    }
    QVERIFY(std::is_sorted(lefts.begin(), lefts.end()));
    QVERIFY(!text.find(1, QStringLiteral("Innenzehner")));
    QVERIFY(!text.find(1, QStringLiteral("Sortierung")));
    QVERIFY(!text.text(1).contains(QStringLiteral("0000")));
    QCOMPARE(text.count(1, QStringLiteral("10")), 1);
    // Widths in twips from the left margin: Platz 600, Verein 1700, StartNr 780,
    // Schuetze 2000, then Serie 1234 and the rings 600 each; headings are centred.
    const auto serie = text.find(1, QStringLiteral("Serie"));
    const auto ring1 = text.find(1, QStringLiteral("1"));
    QVERIFY(serie && ring1);
    QVERIFY(qAbs(serie->center().x() - (DefaultMargin + (5080 + 617) / 20.0)) < Slack);
    QVERIFY(qAbs(ring1->center().x() - (DefaultMargin + (5080 + 1234 + 300) / 20.0)) < Slack);
}

// Fitted, a column is as wide as its widest text (heading included) and the
// 30 twips (1.5 points) of room on either side: the widest texts of
// neighbouring columns stand 3 points apart. Too wide for the page, all are
// scaled down together and the table still ends inside the margins.
void tst_PrintWinnersList::columnsFittedToTheirTexts_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<bool>("fitted"); // the club whole, the widest texts 3 points apart
    QTest::newRow("nothing stored: the grid's widths cut the club") << Settings{} << false;
    QTest::newRow("0 stored: the grid's widths") << Settings{{"Spaltenanpassung", "0"}} << false;
    QTest::newRow("fitted on a landscape page") << Settings{{"Spaltenanpassung", "-1"}} << true;
    QTest::newRow("fitted, too wide for a portrait page: scaled together")
            << Settings{{"Spaltenanpassung", "-1"}, {"Format", "1"}} << false;
}

void tst_PrintWinnersList::columnsFittedToTheirTexts()
{
    QFETCH(Settings, settings);
    QFETCH(bool, fitted);
    const QString club = QStringLiteral("Schützengesellschaft Hubertus Oberkirchberg-Wald 1885 e.V.");
    m_competition->addResult(50, QStringLiteral("Anna Maier"), club, 12, QString(22, QLatin1Char('0')));
    openWindow(2, settings);
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), 1);
    const double right = text.pageSize(1).width() - DefaultMargin + Slack;
    for (const PdfText::Word &word : text.words(1))
        QVERIFY2(word.box.right() <= right, qPrintable(word.text));
    const auto name = text.find(1, club);
    QCOMPARE(bool(name), fitted);
    if (!fitted)
        return;
    const auto serie = text.find(1, QStringLiteral("Serie"));
    const auto innenzehner = text.find(1, QStringLiteral("Innenzehner"));
    const auto ring1 = text.find(1, QStringLiteral("1"));
    QVERIFY(serie && innenzehner && ring1);
    QVERIFY2(qAbs(serie->left() - name->right() - 3) < 1, qPrintable(QString::number(serie->left() - name->right())));
    QVERIFY2(qAbs(ring1->left() - innenzehner->right() - 3) < 1,
             qPrintable(QString::number(ring1->left() - innenzehner->right())));
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
// Without a title nothing stands above the headings, which move up to the top margin.
void tst_PrintWinnersList::pageAndMarginsInTwips_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<bool>("title");
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<QVector<double>>("points"); // left, right, top, bottom
    QTest::newRow("nothing stored: landscape, 50 points") << Settings{} << true << QSizeF(A4Long, A4Short)
                                                          << QVector<double>{50, 50, 50, 50};
    QTest::newRow("portrait, every margin its own")
            << Settings{{"Format", "1"}, {"Links", "12,5"}, {"Rechts", "2000"}, {"Oben", "1.500"}, {"Unten", "2880"}}
            << true << QSizeF(A4Short, A4Long) << QVector<double>{0.625, 100, 75, 144};
    QTest::newRow("no title") << Settings{} << false << QSizeF(A4Long, A4Short) << QVector<double>{50, 50, 50, 50};
}

void tst_PrintWinnersList::pageAndMarginsInTwips()
{
    QFETCH(Settings, settings);
    QFETCH(bool, title);
    QFETCH(QSizeF, page);
    QFETCH(QVector<double>, points);
    openWindow(2, settings);
    if (!title)
        m_window->findChild<QLabel *>(QStringLiteral("Label1"))->clear();
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), 1);
    QVERIFY(qAbs(text.pageSize(1).width() - page.width()) < 1);
    QVERIFY(qAbs(text.pageSize(1).height() - page.height()) < 1);
    const auto top = text.find(1, title ? Title : QStringLiteral("Platz"));
    const auto right = text.find(1, FooterRight);
    QVERIFY(top && right && text.find(1, QStringLiteral("Seite 1 von 1")) && text.find(1, QStringLiteral("Schütze 01")));
    QCOMPARE(bool(text.find(1, Title)), title);
    if (title)
        QVERIFY2(qAbs(top->left() - points.at(0)) < Slack, qPrintable(QString::number(top->left())));
    QVERIFY2(qAbs(right->right() - (page.width() - points.at(1))) < Slack, qPrintable(QString::number(right->right())));
    QVERIFY2(top->top() > points.at(2) - 5 && top->top() < points.at(2) + 10, qPrintable(QString::number(top->top())));
    QVERIFY(right->bottom() <= page.height() - points.at(3) + Slack);
    QVERIFY(right->bottom() > page.height() - points.at(3) - 20);
}

// A print that ends early leaves no file; a failure is reported, a cancel is not.
void tst_PrintWinnersList::failuresAreReported_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("folder"); // below the competition's; null: Cancel in the print dialog
    QTest::addColumn<int>("cancelAt");   // progress step, -1 none
    QTest::addColumn<QString>("start");  // of the message; empty: none
    QTest::newRow("print dialog cancelled") << Settings{} << QString() << -1 << QString();
    QTest::newRow("progress cancelled") << Settings{} << "" << 28 << QString();
    QTest::newRow("folder missing") << Settings{} << "/fehlt" << -1 << "Fehler: 75 - ";
    QTest::newRow("margins leave no room") << Settings{{"Oben", "6000"}, {"Unten", "6000"}} << "" << -1 << "Fehler: 5 - ";
}

void tst_PrintWinnersList::failuresAreReported()
{
    QFETCH(Settings, settings);
    QFETCH(QString, folder);
    QFETCH(int, cancelAt);
    QFETCH(QString, start);
    openWindow(20, settings);
    m_dialogs->cancelProgressAt(cancelAt);
    m_dialogs->answerPrint(folder.isNull() ? QString() : m_competition->folder() + folder + QStringLiteral("/liste.pdf"));
    trigger(QStringLiteral("mnuDateiPrint"));
    QVERIFY(QDir(m_competition->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    QCOMPARE(m_dialogs->unexpected(), 0);
    if (folder.isNull())
        QCOMPARE(m_dialogs->shown().size(), size_t(1));
    if (cancelAt >= 0)
        QCOMPARE(m_dialogs->progressSteps(), (std::vector<int>{20, cancelAt}));
    std::vector<ScriptedDialogs::Shown> shown = m_dialogs->shown();
    if (!start.isEmpty()) {
        QCOMPARE(shown.back().kind, QStringLiteral("message"));
        QCOMPARE(shown.back().title, QStringLiteral("Fehler"));
        QVERIFY2(shown.back().text.startsWith(start), qPrintable(shown.back().text));
        QVERIFY(shown.back().text.endsWith(QStringLiteral("\nDie Siegerliste wurde nicht gedruckt.")));
        shown.pop_back();
    }
    for (const ScriptedDialogs::Shown &box : shown)
        QVERIFY2(box.kind == "print" || box.kind == "progress", qPrintable(box.text));
}

// ---------------------------------------------------------------- preview

void tst_PrintWinnersList::previewNavigation_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("page");
    QTest::addColumn<QVector<bool>>("enabled"); // first, previous, next, last
    QTest::newRow("at the start") << QStringList{} << 1 << QVector<bool>{false, false, true, true};
    QTest::newRow("next beyond the last stays") << QStringList{"lastPage", "nextPage"} << 3
                                                << QVector<bool>{true, true, false, false};
    QTest::newRow("back from the last") << QStringList{"lastPage", "previousPage"} << 2
                                        << QVector<bool>{true, true, true, true};
    QTest::newRow("first again") << QStringList{"nextPage", "nextPage", "firstPage"} << 1
                                 << QVector<bool>{false, false, true, true};
    QTest::newRow("end then page up keys") << QStringList{"key:End", "key:PageUp"} << 2
                                           << QVector<bool>{true, true, true, true};
}

// The preview opens over the print's pages, landscape as nothing is stored;
// copying the rows is the only progress, and nothing is printed, saved or opened.
void tst_PrintWinnersList::previewNavigation()
{
    QFETCH(QStringList, steps);
    QFETCH(int, page);
    QFETCH(QVector<bool>, enabled);
    openWindow(20);
    trigger(QStringLiteral("mnuPreviou"));
    PrintPreviewWindow *window = preview();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->pageCount(), 3);
    QVERIFY(window->renderer().paperTwips().width() > window->renderer().paperTwips().height());
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(m_dialogs->progressSteps(), std::vector<int>{20});
    QStringList actions;
    for (const QAction *action : window->findChild<QToolBar *>()->actions())
        if (!action->objectName().isEmpty())
            actions << action->objectName();
    QCOMPARE(actions,
             QStringList({"firstPage", "previousPage", "nextPage", "lastPage", "zoomOut", "zoomIn", "closePreview"}));

    const QMap<QString, Qt::Key> keys{{"key:PageUp", Qt::Key_PageUp}, {"key:End", Qt::Key_End}};
    for (const QString &step : steps) {
        if (keys.contains(step))
            QTest::keyClick(window, keys.value(step));
        else
            click(window, step);
    }
    const QString indicator = QStringLiteral("Page %1 of 3").arg(page);
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("pageIndicator"))->text(), indicator);
    const char *names[] = {"firstPage", "previousPage", "nextPage", "lastPage"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(window->findChild<QAction *>(QLatin1String(names[i]))->isEnabled(), enabled.at(i));
    click(window, QStringLiteral("closePreview"));
    QTRY_VERIFY(!preview());
}

// 100 % is the paper's real size on the screen; the page shown is what the
// renderer paints, in the grid's text colour.
void tst_PrintWinnersList::previewZoom_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<double>("percent");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("100 % chosen, black as designed") << QStringList{"100 %"} << 100.0 << QColor(Qt::black);
    QTest::newRow("in from 100 %, red chosen for the list") << QStringList{"100 %", "zoomIn"} << 125.0 << QColor(Qt::red);
    QTest::newRow("out from 100 %") << QStringList{"100 %", "zoomOut"} << 80.0 << QColor(Qt::black);
}

void tst_PrintWinnersList::previewZoom()
{
    QFETCH(QStringList, steps);
    QFETCH(double, percent);
    QFETCH(QColor, colour);
    openWindow(3);
    winners()->setTextColor(colour);
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
    QCOMPARE(box->currentText(), QStringLiteral("%1 %").arg(qRound(percent)));
    const QSizeF paper = window->renderer().paperTwips() / 1440.0 * window->logicalDpiX() * percent / 100.0;
    QWidget *page = window->findChild<PreviewPage *>();
    QCOMPARE(page->size(), QSize(qRound(paper.width()), qRound(paper.height())));
    const QImage image = page->grab().toImage();
    int dark = 0, reddish = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            dark += qGray(c.rgb()) < 128;
            reddish += c.red() > 150 && c.green() < 100 && c.blue() < 100;
        }
    QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
    QCOMPARE(reddish > 20, colour == Qt::red);
}

// "Ganze Seite" shows the whole page as large as the window allows, "Seitenbreite"
// the page across the window, both with a grey room of 24 pixels: when the
// window opens at its size and again after every resize.
void tst_PrintWinnersList::previewFitsTheWindow_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<bool>("wholePage");       // else page width
    QTest::addColumn<QVector<QSize>>("sizes"); // at opening, then resized to
    const Settings portrait{{"Format", "1"}};
    QTest::newRow("whole page: wide window, then a tall one")
            << Settings{} << true << QVector<QSize>{{1280, 960}, {700, 900}};
    QTest::newRow("whole page, portrait: small window, then a large one")
            << portrait << true << QVector<QSize>{{640, 480}, {1600, 1000}};
    QTest::newRow("page width, portrait: the page scrolls")
            << portrait << false << QVector<QSize>{{1280, 960}, {900, 1000}};
    QTest::newRow("page width: the whole page shows, then a low window")
            << Settings{} << false << QVector<QSize>{{1280, 960}, {1000, 400}};
}

void tst_PrintWinnersList::previewFitsTheWindow()
{
    QFETCH(Settings, settings);
    QFETCH(bool, wholePage);
    QFETCH(QVector<QSize>, sizes);
    constexpr int Room = 24;
    openWindow(3, settings);
    trigger(QStringLiteral("mnuPreviou")); // sets the print settings
    delete preview();
    DataGrid &grid = *winners();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    GridPrinter::setUpPrinter(*printer, grid.printInfo());
    PrintTable table = PrintTable::layoutOf(grid);
    table.appendRows(grid, 0, PrintTable::printableRows(grid));
    auto renderer = std::make_unique<PageRenderer>(grid.printInfo(), std::move(table), printer.get(),
                                                   GridPrinter::paperTwips(*printer));
    auto *window = new PrintPreviewWindow(std::move(printer), std::move(renderer), grid.printInfo(), m_window.get());
    window->setZoom(wholePage ? PrintPreviewWindow::Zoom::WholePage : PrintPreviewWindow::Zoom::PageWidth);
    const QWidget *viewport = window->findChild<QScrollArea *>(QStringLiteral("previewArea"))->viewport();
    const QWidget *page = window->findChild<PreviewPage *>();
    for (int i = 0; i < sizes.size(); ++i) {
        window->resize(sizes.at(i));
        if (i == 0)
            window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCoreApplication::processEvents();
        QCOMPARE(window->size(), sizes.at(i));
        const QSize room = viewport->size() - QSize(Room, Room);
        const QString shown = QStringLiteral("page %1 x %2 in %3 x %4")
                                      .arg(page->width())
                                      .arg(page->height())
                                      .arg(room.width())
                                      .arg(room.height());
        if (wholePage)
            QVERIFY2(page->width() <= room.width() + 1 && page->height() <= room.height() + 1
                             && (qAbs(page->width() - room.width()) <= 1 || qAbs(page->height() - room.height()) <= 1),
                     qPrintable(shown));
        else
            QVERIFY2(qAbs(page->width() - room.width()) <= 1, qPrintable(shown));
    }
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
