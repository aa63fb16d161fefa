// Printing the winners list: the print settings each run sets, the settings
// it reads, and the PDF it prints, read back with pdftotext.
#include "DataGrid.h"
#include "PdfText.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "frmMain.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QtTest>
#include <memory>

namespace {

const QString Title = QStringLiteral("Kreismeisterschaft 2024");
const QString Footer = QStringLiteral("\\tSeite \\p von \\P\\tRingtal (Velmor-Software GmbH)");
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

    void menuItemsStandBetweenTheSeparators();
    void everyRunSetsEveryField();
    void settingsAreRead_data();
    void settingsAreRead();
    void printedColumnsAreTheShownOnes();
    void fontsAreTheShownOnes();

    void threePagesCarryFooterHeadingsAndTitle();
    void rowsLandOnTheirPages_data();
    void rowsLandOnTheirPages();
    void orientation_data();
    void orientation();
    void marginsInTwips_data();
    void marginsInTwips();
    void emptyTitleStillPrintsTheFooter();
    void progressCountsCopyingThenPages();

    void cancelledDialogPrintsNothing();
    void cancelledProgressLeavesNoFile();
    void failuresAreReported_data();
    void failuresAreReported();

private:
    void openWindow(int rows, const Settings &settings = {});
    DataGrid *winners() const { return m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid2")); }
    void trigger(const QString &action) { m_window->findChild<QAction *>(action)->trigger(); }
    QString printPdf();

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
// (about 300), the headings (about 400) and the rows, so 8 rows fit a page.
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
    // The rows per page below are worked out for 96 dpi.
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

void tst_PrintWinnersList::menuItemsStandBetweenTheSeparators()
{
    openWindow(0);
    const QMenu *datei = m_window->findChild<QMenu *>(QStringLiteral("mnuDatei"));
    QStringList names;
    for (const QAction *action : datei->actions())
        names << action->objectName();
    // "Exportieren..." is added after the printing items; it changes nothing of theirs.
    names.removeAll(QStringLiteral("mnuDateiExport"));
    const int start = names.indexOf(QStringLiteral("mnuTemp1"));
    QCOMPARE(names.mid(start, 5),
             QStringList({"mnuTemp1", "mnuPreviou", "mnuDateiPrint", "mnuDateiPrinterSetup", "mnuTemp2"}));
    const QAction *preview = datei->actions().at(start + 1);
    QCOMPARE(preview->text(), QStringLiteral("Seitenvorschau"));
    QCOMPARE(preview->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QCOMPARE(datei->actions().at(start + 2)->text(), QStringLiteral("Drucken"));
    QVERIFY(datei->actions().at(start + 2)->shortcut().isEmpty());
    QCOMPARE(datei->actions().at(start + 3)->text(), QStringLiteral("Drucker-Einstellungen..."));
}

// Whatever an earlier run left in the print settings, a run sets every field again.
void tst_PrintWinnersList::everyRunSetsEveryField()
{
    openWindow(3);
    PrintInfo &info = winners()->printInfo();
    info.pageHeader = QStringLiteral("alt");
    info.pageHeaderFont = QFont(QStringLiteral("Courier New"), 30);
    info.pageFooter = QStringLiteral("alt");
    info.pageFooterFont = QFont(QStringLiteral("Courier New"), 20, QFont::Bold, true);
    info.repeatGridHeader = false;
    info.repeatColumnHeaders = false;
    info.marginLeft = info.marginRight = info.marginTop = info.marginBottom = 7;
    info.orientation = 1;
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
    QCOMPARE(info.marginLeft, 1000.0);
    QCOMPARE(info.marginRight, 1000.0);
    QCOMPARE(info.marginTop, 1000.0);
    QCOMPARE(info.marginBottom, 1000.0);
    QCOMPARE(info.orientation, 2.0);
}

void tst_PrintWinnersList::settingsAreRead_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QVector<double>>("expected"); // left, right, top, bottom, orientation
    QTest::newRow("nothing stored") << Settings{} << QVector<double>{1000, 1000, 1000, 1000, 2};
    QTest::newRow("point groups thousands")
            << Settings{{"Links", "1.500"}} << QVector<double>{1500, 1000, 1000, 1000, 2};
    QTest::newRow("comma is the decimal sign")
            << Settings{{"Rechts", "12,5"}} << QVector<double>{1000, 12.5, 1000, 1000, 2};
    QTest::newRow("both in one") << Settings{{"Oben", "1.234,5"}} << QVector<double>{1000, 1000, 1234.5, 1000, 2};
    QTest::newRow("empty box is 0") << Settings{{"Unten", ""}} << QVector<double>{1000, 1000, 1000, 0, 2};
    QTest::newRow("no number is 0") << Settings{{"Links", "breit"}} << QVector<double>{0, 1000, 1000, 1000, 2};
    QTest::newRow("portrait") << Settings{{"Format", "1"}} << QVector<double>{1000, 1000, 1000, 1000, 1};
    QTest::newRow("all four") << Settings{{"Links", "500"}, {"Rechts", "600"}, {"Oben", "700"}, {"Unten", "800"}}
                              << QVector<double>{500, 600, 700, 800, 2};
}

void tst_PrintWinnersList::settingsAreRead()
{
    QFETCH(Settings, settings);
    QFETCH(QVector<double>, expected);
    openWindow(1, settings);
    trigger(QStringLiteral("mnuPreviou"));
    const PrintInfo &info = winners()->printInfo();
    QCOMPARE(info.marginLeft, expected.at(0));
    QCOMPARE(info.marginRight, expected.at(1));
    QCOMPARE(info.marginTop, expected.at(2));
    QCOMPARE(info.marginBottom, expected.at(3));
    QCOMPARE(info.orientation, expected.at(4));
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
    const QString pdf = printPdf();
    const PdfText text(pdf);
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

// Rows in the grid's font, headings in its heading font, the title in the
// title-line font and the footer in the footer font.
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

// Twenty rows at 8 a page: pages of 8, 8 and 4 rows.
void tst_PrintWinnersList::threePagesCarryFooterHeadingsAndTitle()
{
    openWindow(20);
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), 3);
    const QSizeF page = text.pageSize(2);
    const auto centre = text.find(2, QStringLiteral("Seite 2 von 3"));
    QVERIFY(centre);
    QVERIFY(qAbs(centre->center().x() - page.width() / 2) < Slack);
    QVERIFY(centre->bottom() <= page.height() - DefaultMargin + Slack);
    QVERIFY(centre->bottom() > page.height() - DefaultMargin - 20);
    const auto right = text.find(2, QStringLiteral("Ringtal (Velmor-Software GmbH)"));
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

void tst_PrintWinnersList::rowsLandOnTheirPages_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QVector<int>>("lastRowOfPage");
    QTest::newRow("one row") << 1 << QVector<int>{1};
    QTest::newRow("a page exactly") << 8 << QVector<int>{8};
    QTest::newRow("one row over") << 9 << QVector<int>{8, 9};
    QTest::newRow("twenty rows") << 20 << QVector<int>{8, 16, 20};
}

void tst_PrintWinnersList::rowsLandOnTheirPages()
{
    QFETCH(int, rows);
    QFETCH(QVector<int>, lastRowOfPage);
    openWindow(rows);
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), lastRowOfPage.size());
    for (int row = 1; row <= rows; ++row) {
        const QString name = QStringLiteral("Schütze %1").arg(row, 2, 10, QLatin1Char('0'));
        const int page =
                int(std::lower_bound(lastRowOfPage.cbegin(), lastRowOfPage.cend(), row) - lastRowOfPage.cbegin()) + 1;
        for (int p = 1; p <= text.pageCount(); ++p)
            QVERIFY2(text.count(p, name) == (p == page ? 1 : 0),
                     qPrintable(name + QStringLiteral(" on page %1").arg(p)));
    }
}

void tst_PrintWinnersList::orientation_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QSizeF>("page");
    QTest::newRow("nothing stored: landscape") << Settings{} << QSizeF(A4Long, A4Short);
    QTest::newRow("2 landscape") << Settings{{"Format", "2"}} << QSizeF(A4Long, A4Short);
    QTest::newRow("1 portrait") << Settings{{"Format", "1"}} << QSizeF(A4Short, A4Long);
}

void tst_PrintWinnersList::orientation()
{
    QFETCH(Settings, settings);
    QFETCH(QSizeF, page);
    openWindow(2, settings);
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), 1);
    QVERIFY(qAbs(text.pageSize(1).width() - page.width()) < 1);
    QVERIFY(qAbs(text.pageSize(1).height() - page.height()) < 1);
}

// Margins are twips: 1000 twips are 50 points.
void tst_PrintWinnersList::marginsInTwips_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QVector<double>>("points"); // left, right, top, bottom
    QTest::newRow("defaults") << Settings{} << QVector<double>{50, 50, 50, 50};
    QTest::newRow("1.500 is 1500") << Settings{{"Links", "1.500"}, {"Oben", "1.500"}}
                                   << QVector<double>{75, 50, 75, 50};
    QTest::newRow("12,5 is 12.5") << Settings{{"Links", "12,5"}, {"Rechts", "12,5"}}
                                  << QVector<double>{0.625, 0.625, 50, 50};
    QTest::newRow("wide bottom") << Settings{{"Unten", "2880"}, {"Rechts", "2000"}}
                                 << QVector<double>{50, 100, 50, 144};
}

void tst_PrintWinnersList::marginsInTwips()
{
    QFETCH(Settings, settings);
    QFETCH(QVector<double>, points);
    openWindow(2, settings);
    const PdfText text(printPdf());
    QCOMPARE(text.pageCount(), 1);
    const QSizeF page = text.pageSize(1);
    const auto title = text.find(1, Title);
    const auto right = text.find(1, QStringLiteral("Ringtal (Velmor-Software GmbH)"));
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
    QVERIFY(text.find(1, QStringLiteral("Ringtal (Velmor-Software GmbH)")));
    const auto heading = text.find(1, QStringLiteral("Platz"));
    QVERIFY(heading);
    QVERIFY2(heading->top() > DefaultMargin && heading->top() < DefaultMargin + 10,
             qPrintable(QString::number(heading->top())));
    QVERIFY(text.find(1, QStringLiteral("Schütze 01")));
}

// Copying the rows counts the first half, each printed page its rows in the second.
void tst_PrintWinnersList::progressCountsCopyingThenPages()
{
    openWindow(20);
    printPdf();
    const auto progress = std::find_if(m_dialogs->shown().cbegin(), m_dialogs->shown().cend(),
                                       [](const ScriptedDialogs::Shown &s) { return s.kind == "progress"; });
    QVERIFY(progress != m_dialogs->shown().cend());
    QCOMPARE(progress->maximum, 40);
    QCOMPARE(m_dialogs->progressSteps(), (std::vector<int>{20, 28, 36, 40}));
}

void tst_PrintWinnersList::cancelledDialogPrintsNothing()
{
    openWindow(3);
    m_dialogs->answerPrint(QString());
    trigger(QStringLiteral("mnuDateiPrint"));
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(m_dialogs->shown().front().kind, QStringLiteral("print"));
    QVERIFY(QDir(m_competition->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());
}

void tst_PrintWinnersList::cancelledProgressLeavesNoFile()
{
    openWindow(20);
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

QTEST_MAIN(tst_PrintWinnersList)
#include "tst_printwinnerslist.moc"
