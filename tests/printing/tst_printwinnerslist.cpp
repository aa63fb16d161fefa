// Printing the winners list: the print settings each run sets, the PDF it prints (read back with
// pdftotext) and the preview window over the same pages.
#include "mainwindow/MainWindowSession.h"
#include "printing/PageRenderer.h"
#include "printing/PreviewPage.h"
#include "printing/PrintPreviewWindow.h"
#include "support/PdfText.h"

#include <QComboBox>
#include <QScrollArea>

namespace {

const QString Title = QStringLiteral("Kreismeisterschaft 2024");
const QString FooterRight = QStringLiteral("Ringtal (Velmor-Software GmbH)");
constexpr double Slack = 2.0; // a glyph's side bearing between a text box and where the text is placed

using Settings = QList<QPair<QString, QString>>;

bool near(double value, double expected, double slack = Slack) { return qAbs(value - expected) < slack; }

} // namespace

class tst_PrintWinnersList : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<MainWindowSession> m_session;

    // Rows "Schütze 01" … best first and ranked, each 67 pixels (1005 twips) high: with the default
    // margins an A4 landscape page holds 8 of them (7 on Letter), so 20 make three pages. The print
    // settings are read when printing.
    void openWindow(int rows, const Settings &settings = {})
    {
        m_competition->setTitle(Title);
        for (int i = 1; i <= rows; ++i)
            m_competition->addResult(i, QStringLiteral("Schütze %1").arg(i, 2, 10, QLatin1Char('0')), "SV Müllheim",
                                     100 - i, QStringLiteral("%1").arg(100 - i, 6, 10, QLatin1Char('0')) + QString(22, '0'));
        m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Platz = StartNr"));
        m_session = std::make_unique<MainWindowSession>(m_competition->path());
        for (const auto &[key, value] : settings)
            m_session->settings().write(QStringLiteral("Printer"), key, value);
        QCOMPARE(winners()->logicalDpiY(), 96);
        winners()->verticalHeader()->setDefaultSectionSize(67);
    }
    DataGrid *winners() const { return m_session->winnersGrid(); }
    QString printPdf(const QString &name = QStringLiteral("siegerliste.pdf"))
    {
        m_session->dialogs().answerPrint(name.isEmpty() ? QString() : m_competition->folder() + QLatin1Char('/') + name);
        m_session->trigger(QStringLiteral("mnuDateiPrint"));
        return m_competition->folder() + QLatin1Char('/') + name;
    }
    PrintPreviewWindow *previewWindow() { return m_session->window().findChild<PrintPreviewWindow *>(); }

private slots:
    void init() { m_competition = std::make_unique<TestCompetition>(); }
    void cleanup()
    {
        m_session.reset(); // the window before its competition
        m_competition.reset();
    }

    // Visible columns in display order, widths in twips from the left margin (headings centred);
    // hidden ID and sort key not printed. Rows in the grid's font, headings in theirs.
    void printedColumnsAreTheShownOnes()
    {
        openWindow(2);
        DataGrid *grid = winners();
        grid->columns(QStringLiteral("Verein")).setOrder(2);
        grid->columns(QStringLiteral("Innenzehner")).setVisible(false);
        grid->columns(QStringLiteral("Serie")).setWidth(1234);
        grid->setFont(QFont(QStringLiteral("DejaVu Serif"), 10));
        grid->horizontalHeader()->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 8));
        const QString pdf = printPdf();
        QVERIFY(PdfText::fonts(pdf).contains("DejaVuSerif") && PdfText::fonts(pdf).contains("DejaVuSansMono"));
        const PdfText text(pdf);
        QVector<double> lefts;
        for (const char *heading : {"Platz", "Verein", "StartNr", "Schuetze"})
            lefts << text.find(1, QLatin1String(heading)).value_or(QRectF()).left();
        QVERIFY(text.pageCount() == 1 && lefts.first() > 0 && std::is_sorted(lefts.begin(), lefts.end()));
        QVERIFY(text.find(1, "Schütze 01") && !text.find(1, "Innenzehner") && !text.find(1, "Sortierung"));
        QVERIFY(!text.text(1).contains(QStringLiteral("0000")) && text.count(1, QStringLiteral("10")) == 1);
        // Platz 600, Verein 1400, StartNr 780, Schuetze 1700, no class (no shooter has one), then Serie
        // 1234 and the rings 600 each.
        QVERIFY(near(text.find(1, "Serie").value_or(QRectF()).center().x(), 50 + (4480 + 617) / 20.0));
        QVERIFY(near(text.find(1, "1").value_or(QRectF()).center().x(), 50 + (4480 + 1234 + 300) / 20.0));
    }

    // Fitted, a column is as wide as its widest text, heading included, with 30 twips of room on
    // either side: the widest texts of neighbours stand 3 points apart. Too wide for the page, all
    // are scaled down together and the table still ends inside the margins.
    void columnsFittedToTheirTexts_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<bool>("fitted");
        QTest::newRow("nothing stored: the grid's widths cut the club") << Settings{} << false;
        QTest::newRow("fitted on a landscape page") << Settings{{"Spaltenanpassung", "-1"}} << true;
        QTest::newRow("fitted, too wide for a portrait page") << Settings{{"Spaltenanpassung", "-1"}, {"Format", "1"}} << false;
    }

    void columnsFittedToTheirTexts()
    {
        QFETCH(Settings, settings);
        QFETCH(bool, fitted);
        const QString club = QStringLiteral("Schützengesellschaft Hubertus Oberkirchberg-Wald 1885 e.V.");
        m_competition->addResult(50, QStringLiteral("Anna Maier"), club, 12, QString(22, QLatin1Char('0')));
        openWindow(2, settings);
        const PdfText text(printPdf());
        for (const PdfText::Word &word : text.words(1))
            QVERIFY2(word.box.right() <= text.pageSize(1).width() - 50 + Slack, qPrintable(word.text));
        const auto name = text.find(1, club);
        QVERIFY(text.pageCount() == 1 && bool(name) == fitted);
        QVERIFY(!fitted || near(text.find(1, "Serie")->left() - name->right(), 3, 1));
        QVERIFY(!fitted || near(text.find(1, "1")->left() - text.find(1, "Innenzehner")->right(), 3, 1));
    }

    // Whatever an earlier run left, a run sets every print setting again: margins in twips as they
    // stand (an empty box and no number are 0, the point groups thousands), 2 landscape, 1 portrait.
    // Twenty rows at 8 a page make pages of 8, 8 and 4; copying the rows is the first half of the
    // progress, each page its rows the second. Every page carries the title top left, the headings,
    // the footer's centre and right part at the bottom; without a title the headings move up.
    void pagesAndMargins_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("title");
        QTest::addColumn<QSizeF>("page");             // in points
        QTest::addColumn<QVector<double>>("margins"); // left, right, top, bottom in twips
        const QSizeF landscape(841.89, 595.28);
        QTest::newRow("nothing stored: landscape, three pages")
            << Settings{} << 20 << true << landscape << QVector<double>{1000, 1000, 1000, 1000};
        QTest::newRow("portrait, a decimal comma, a word, the point, an empty box")
            << Settings{{"Format", "1"}, {"Links", "12,5"}, {"Rechts", "breit"}, {"Oben", "1.234,5"}, {"Unten", ""}}
            << 2 << true << landscape.transposed() << QVector<double>{12.5, 0, 1234.5, 0};
        QTest::newRow("no title") << Settings{{"Unten", "2880"}} << 2 << false << landscape
                                  << QVector<double>{1000, 1000, 1000, 2880};
    }

    void pagesAndMargins()
    {
        QFETCH(Settings, settings);
        QFETCH(int, rows);
        QFETCH(bool, title);
        QFETCH(QSizeF, page);
        QFETCH(QVector<double>, margins);
        openWindow(rows, settings);
        if (!title)
            m_session->window().findChild<QLabel *>(QStringLiteral("Label1"))->clear();
        PrintInfo &info = winners()->printInfo();
        info.pageHeader = info.pageFooter = QStringLiteral("alt");
        info.pageHeaderFont = info.pageFooterFont = QFont(QStringLiteral("Courier New"), 20, QFont::Bold, true);
        info.repeatGridHeader = info.repeatColumnHeaders = false;
        info.fitColumnsToContents = true;
        info.marginLeft = info.marginRight = info.marginTop = info.marginBottom = info.orientation = 7;
        const PdfText text(printPdf());
        QCOMPARE(info.pageHeaderFont, QFont());
        QCOMPARE(info.pageFooterFont.family(), QStringLiteral("Courier New")); // only size and weight are set
        QVERIFY(info.pageFooterFont.pointSizeF() == 8.0 && !info.pageFooterFont.bold() && info.pageFooterFont.italic());
        QVERIFY(info.repeatGridHeader && info.repeatColumnHeaders && !info.fitColumnsToContents);
        const int pages = (rows + 7) / 8;
        QCOMPARE(text.pageCount(), pages);
        QCOMPARE(m_session->dialogs().progressSteps(), (rows == 20 ? std::vector<int>{20, 28, 36, 40} : std::vector<int>{2, 4}));
        QCOMPARE(m_session->dialogs().shown().back().maximum, 2 * rows);
        const double left = margins.at(0) / 20, right = page.width() - margins.at(1) / 20;
        for (int p = 1; p <= pages; ++p) {
            QVERIFY(near(text.pageSize(p).width(), page.width(), 1) && near(text.pageSize(p).height(), page.height(), 1));
            for (int row = 1; row <= rows; ++row)
                QCOMPARE(text.count(p, QStringLiteral("Schütze %1").arg(row, 2, 10, QLatin1Char('0'))), int((row - 1) / 8 + 1 == p));
            for (const char *heading : {"Platz", "StartNr", "Schuetze", "Verein", "Serie"})
                QVERIFY2(text.find(p, QLatin1String(heading)) || page.width() < page.height(), heading);
            QCOMPARE(bool(text.find(p, Title)), title);
            const QRectF top = text.find(p, title ? Title : QStringLiteral("Platz")).value_or(QRectF());
            QVERIFY2(near(top.left(), left) || !title, qPrintable(QString::number(top.left())));
            QVERIFY2(top.top() > margins.at(2) / 20 - 5 && top.top() < margins.at(2) / 20 + 10, qPrintable(QString::number(top.top())));
            const QRectF centre = text.find(p, QStringLiteral("Seite %1 von %2").arg(p).arg(pages)).value_or(QRectF());
            const QRectF footer = text.find(p, FooterRight).value_or(QRectF());
            QVERIFY(near(centre.center().x(), (left + right) / 2) && near(footer.center().y(), centre.center().y(), 1));
            QVERIFY2(near(footer.right(), right), qPrintable(QString::number(footer.right())));
            QVERIFY(footer.bottom() <= page.height() - margins.at(3) / 20 + Slack);
            QVERIFY(footer.bottom() > page.height() - margins.at(3) / 20 - 20);
        }
    }

    // A print that ends early leaves no file and a preview opens no window; a failure is reported, a
    // cancel is not. The window goes on: with room and no cancel the same command works.
    void endsEarly_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QString>("file"); // chosen in the print dialog; empty: Cancel
        QTest::addColumn<int>("cancelAt"); // progress step, -1 none
        QTest::addColumn<QString>("start"); // of the message; empty: none
        const QString print = QStringLiteral("mnuDateiPrint"), preview = QStringLiteral("mnuPreviou");
        QTest::newRow("print dialog cancelled") << print << Settings{} << "" << -1 << "";
        QTest::newRow("progress cancelled") << print << Settings{} << "liste.pdf" << 28 << "";
        QTest::newRow("folder missing") << print << Settings{} << "fehlt/liste.pdf" << -1 << "Fehler: 75 - ";
        QTest::newRow("margins leave no room") << print << Settings{{"Oben", "6000"}, {"Unten", "6000"}} << "liste.pdf"
                                               << -1 << "Fehler: 5 - ";
        QTest::newRow("preview, margins leave no room") << preview << Settings{{"Links", "9000"}, {"Rechts", "9000"}}
                                                        << "" << -1 << "";
        QTest::newRow("preview cancelled while preparing") << preview << Settings{} << "" << 1 << "";
    }

    void endsEarly()
    {
        QFETCH(QString, command);
        QFETCH(Settings, settings);
        QFETCH(QString, file);
        QFETCH(int, cancelAt);
        QFETCH(QString, start);
        const bool print = command == QLatin1String("mnuDateiPrint");
        openWindow(20, settings);
        m_session->dialogs().cancelProgressAt(cancelAt);
        print ? void(printPdf(file)) : m_session->trigger(command);
        QVERIFY(QDir(m_competition->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty() && !previewWindow());
        QCOMPARE(m_session->dialogs().unexpected(), 0);
        QStringList kinds;
        for (const ScriptedDialogs::Shown &box : m_session->dialogs().shown())
            kinds << box.kind;
        const QString before = !print ? "progress" : file.isEmpty() ? "print" : "print,progress";
        QCOMPARE(kinds.join(','), before + (start.isEmpty() ? "" : ",message"));
        if (before.contains(QLatin1String("progress")))
            QCOMPARE(m_session->dialogs().progressSteps(), (cancelAt > 20 ? std::vector<int>{20, cancelAt} : std::vector<int>{20}));
        const ScriptedDialogs::Shown &last = m_session->dialogs().shown().back();
        QVERIFY2(start.isEmpty() || (last.title == "Fehler" && last.text.startsWith(start)
                                     && last.text.endsWith(QStringLiteral("\nDie Siegerliste wurde nicht gedruckt."))),
                 qPrintable(last.text));
        for (const char *margin : {"Links", "Rechts", "Oben", "Unten"})
            m_session->settings().write(QStringLiteral("Printer"), QLatin1String(margin), QStringLiteral("1000"));
        m_session->dialogs().cancelProgressAt(-1);
        if (!print)
            m_session->trigger(command);
        QVERIFY(print ? QFile::exists(printPdf()) : previewWindow() && previewWindow()->pageIndicator() == "Page 1 of 3");
    }

    // The preview over the print's pages: navigation by buttons and keys, the page indicator, zoom
    // steps from 100 % (the paper's real size), "Ganze Seite" (the default) and "Seitenbreite" fitted
    // with 24 pixels of room after every resize; the page in the grid's colour (red); nothing printed.
    void preview_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QStringList>("steps"); // actions, "key:…", zoom box entries, "size:WxH"
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("zoom"); // "whole", "width" or the percent
        const Settings none, portrait{{"Format", "1"}};
        QTest::newRow("at the start") << none << QStringList{} << 1 << "whole";
        QTest::newRow("next beyond the last stays") << none << QStringList{"lastPage", "nextPage"} << 3 << "whole";
        QTest::newRow("back from the last") << none << QStringList{"lastPage", "previousPage"} << 2 << "whole";
        QTest::newRow("first again") << none << QStringList{"nextPage", "nextPage", "firstPage"} << 1 << "whole";
        QTest::newRow("End, then PageUp") << none << QStringList{"key:End", "key:PgUp"} << 2 << "whole";
        QTest::newRow("in from 100 %") << none << QStringList{"100 %", "zoomIn"} << 1 << "125";
        QTest::newRow("out from 100 %") << none << QStringList{"100 %", "zoomOut"} << 1 << "80";
        QTest::newRow("whole page, a tall window") << none << QStringList{"size:700x900"} << 1 << "whole";
        QTest::newRow("page width, portrait: the page scrolls") << portrait << QStringList{"Seitenbreite", "size:900x1000"} << 1 << "width";
    }

    void preview()
    {
        QFETCH(Settings, settings);
        QFETCH(QStringList, steps);
        QFETCH(int, page);
        QFETCH(QString, zoom);
        openWindow(20, settings);
        winners()->setTextColor(Qt::red);
        m_session->trigger(QStringLiteral("mnuPreviou"));
        PrintPreviewWindow *window = previewWindow();
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        const int pages = window->pageCount();
        QVERIFY(pages == 3 || !settings.isEmpty());
        auto *box = window->findChild<QComboBox *>(QStringLiteral("zoomBox"));
        for (const QString &step : steps) {
            if (step.startsWith(QLatin1String("key:")))
                QTest::keyClick(window, QKeySequence(step.mid(4))[0].key());
            else if (step.startsWith(QLatin1String("size:")))
                window->resize(step.mid(5).section('x', 0, 0).toInt(), step.section('x', 1).toInt());
            else if (const int entry = box->findText(step); entry >= 0)
                emit box->activated(entry);
            else
                window->findChild<QAction *>(step)->trigger();
            QCoreApplication::processEvents();
        }
        QCOMPARE(window->findChild<QLabel *>("pageIndicator")->text(), QStringLiteral("Page %1 of %2").arg(page).arg(pages));
        QVector<bool> enabled;
        for (const char *action : {"firstPage", "previousPage", "nextPage", "lastPage"})
            enabled << window->findChild<QAction *>(action)->isEnabled();
        QCOMPARE(enabled, QVector<bool>({page > 1, page > 1, page < pages, page < pages}));
        QWidget *shown = window->findChild<PreviewPage *>();
        const QSize room = window->findChild<QScrollArea *>()->viewport()->size() - QSize(24, 24);
        const QSizeF paper = window->pages().paperPixels() / window->printerResolution() * window->logicalDpiX();
        if (zoom == QLatin1String("whole"))
            QVERIFY(shown->width() <= room.width() + 1 && shown->height() <= room.height() + 1
                    && (near(shown->width(), room.width()) || near(shown->height(), room.height())));
        else if (zoom == QLatin1String("width"))
            QVERIFY(near(shown->width(), room.width()));
        else
            QVERIFY(near(window->zoomPercent(), zoom.toDouble(), 1e-6) && box->currentText() == zoom + " %"
                    && shown->size() == (paper * zoom.toDouble() / 100).toSize());
        const QImage image = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
        const auto red = [](QRgb c) { return qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100; };
        QVERIFY(std::count_if(pixels, pixels + image.width() * image.height(), red) > 20);
        window->findChild<QAction *>(QStringLiteral("closePreview"))->trigger();
        QTRY_VERIFY(!previewWindow());
    }
};

QTEST_MAIN(tst_PrintWinnersList)
#include "tst_printwinnerslist.moc"
