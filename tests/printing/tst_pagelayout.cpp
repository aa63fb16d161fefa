// The page without drawing: which rows land on which page, where the columns
// stand, when the margins leave no room, and the header and footer texts.
#include "printing/PageLayout.h"
#include "printing/PageText.h"
#include "store/RingtalError.h"
#include "support/RecordsetChecks.h"

#include <QtTest>

namespace {

// An area of 10000 x 7000 twips, a page header of 300, a footer of 200,
// headings of 400 and rows of 250: 6100 twips are left for rows, 24 of them.
PageLayout::Input baseInput(int rows)
{
    PageLayout::Input input;
    input.areaWidth = 10000;
    input.areaHeight = 7000;
    input.headerHeight = 300;
    input.footerHeight = 200;
    input.headingHeight = 400;
    input.rowHeight = 250;
    input.columnWidths = {1000, 2000, 3000};
    input.rowCount = rows;
    input.repeatGridHeader = true;
    input.repeatColumnHeaders = true;
    return input;
}

} // namespace

Q_DECLARE_METATYPE(PageLayout::Input)

class tst_PageLayout : public QObject
{
    Q_OBJECT

private slots:
    void rowsPerPage_data();
    void rowsPerPage();
    void columns_data();
    void columns();
    void noRoom_data();
    void noRoom();
    void textParts_data();
    void textParts();
};

void tst_PageLayout::rowsPerPage_data()
{
    QTest::addColumn<PageLayout::Input>("input");
    QTest::addColumn<QVector<int>>("rowsOnPage");
    QTest::addColumn<QVector<double>>("bodyTops"); // first and second page
    QTest::addColumn<QVector<bool>>("headings");   // first and second page

    QTest::newRow("no rows: one page") << baseInput(0) << QVector<int>{0} << QVector<double>{700}
                                       << QVector<bool>{true};
    QTest::newRow("one page exactly") << baseInput(24) << QVector<int>{24} << QVector<double>{700}
                                      << QVector<bool>{true};
    QTest::newRow("one row over") << baseInput(25) << QVector<int>{24, 1} << QVector<double>{700, 700}
                                  << QVector<bool>{true, true};
    PageLayout::Input once = baseInput(50);
    once.repeatColumnHeaders = false;
    // Without headings a following page holds 6500 / 250 = 26 rows.
    QTest::newRow("headings on the first page only")
            << once << QVector<int>{24, 26} << QVector<double>{700, 300} << QVector<bool>{true, false};
    PageLayout::Input caption = baseInput(50);
    caption.captionHeight = 500;
    // With the caption 5600 / 250 = 22.4 rows fit.
    QTest::newRow("caption repeated") << caption << QVector<int>{22, 22, 6} << QVector<double>{1200, 1200}
                                      << QVector<bool>{true, true};
    caption.repeatGridHeader = false;
    QTest::newRow("caption on the first page only")
            << caption << QVector<int>{22, 24, 4} << QVector<double>{1200, 700} << QVector<bool>{true, true};
    PageLayout::Input exact = baseInput(57);
    exact.headerHeight = 0;
    exact.footerHeight = 0;
    exact.headingHeight = 0;
    // 7000 / 250 = 28 rows fill a page to the twip.
    QTest::newRow("rows fill the page to the twip")
            << exact << QVector<int>{28, 28, 1} << QVector<double>{0, 0} << QVector<bool>{true, true};
}

void tst_PageLayout::rowsPerPage()
{
    QFETCH(PageLayout::Input, input);
    QFETCH(QVector<int>, rowsOnPage);
    QFETCH(QVector<double>, bodyTops);
    QFETCH(QVector<bool>, headings);
    const PageLayout layout(input);
    QCOMPARE(layout.pageCount(), rowsOnPage.size());
    int first = 0;
    for (int p = 0; p < layout.pageCount(); ++p) {
        QCOMPARE(layout.page(p).firstRow, first);
        QCOMPARE(layout.page(p).rowCount, rowsOnPage.at(p));
        for (int row = first; row < first + rowsOnPage.at(p); ++row)
            QCOMPARE(layout.pageOfRow(row), p);
        first += rowsOnPage.at(p);
    }
    for (int p = 0; p < bodyTops.size(); ++p) {
        QCOMPARE(layout.page(p).bodyTop, bodyTops.at(p));
        QCOMPARE(layout.page(p).headings, headings.at(p));
    }
    QCOMPARE(layout.footerTop(), input.areaHeight - input.footerHeight);
}

void tst_PageLayout::columns_data()
{
    QTest::addColumn<double>("areaWidth");
    QTest::addColumn<QVector<double>>("widths");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QVector<double>>("lefts");
    QTest::addColumn<QVector<double>>("printed");
    QTest::newRow("narrower: as they are") << 10000.0 << QVector<double>{1000, 2000, 3000} << 1.0
                                           << QVector<double>{0, 1000, 3000} << QVector<double>{1000, 2000, 3000};
    QTest::newRow("exactly as wide") << 10000.0 << QVector<double>{4000, 6000} << 1.0 << QVector<double>{0, 4000}
                                     << QVector<double>{4000, 6000};
    QTest::newRow("twice as wide: halved") << 10000.0 << QVector<double>{4000, 8000, 8000} << 0.5
                                           << QVector<double>{0, 2000, 6000} << QVector<double>{2000, 4000, 4000};
}

void tst_PageLayout::columns()
{
    QFETCH(double, areaWidth);
    QFETCH(QVector<double>, widths);
    QFETCH(double, scale);
    QFETCH(QVector<double>, lefts);
    QFETCH(QVector<double>, printed);
    PageLayout::Input input = baseInput(30);
    input.areaWidth = areaWidth;
    input.columnWidths = widths;
    const PageLayout layout(input);
    QCOMPARE(layout.scale(), scale);
    for (int c = 0; c < widths.size(); ++c) {
        QCOMPARE(layout.columnLeft(c), lefts.at(c));
        QCOMPARE(layout.columnWidth(c), printed.at(c));
    }
    QVERIFY(layout.tableWidth() <= areaWidth);
}

void tst_PageLayout::noRoom_data()
{
    QTest::addColumn<PageLayout::Input>("input");
    PageLayout::Input low = baseInput(3);
    low.areaHeight = 1100; // header, footer and headings take 900: no row of 250 fits
    QTest::newRow("margins leave no row") << low;
    PageLayout::Input narrow = baseInput(3);
    narrow.areaWidth = 0;
    QTest::newRow("margins leave no width") << narrow;
    PageLayout::Input negative = baseInput(3);
    negative.areaHeight = -500;
    QTest::newRow("margins overlap") << negative;
    PageLayout::Input once = baseInput(30);
    once.areaHeight = 950; // the first page fits no row after the headings of 400
    once.repeatColumnHeaders = false;
    QTest::newRow("first page without room") << once;
}

void tst_PageLayout::noRoom()
{
    QFETCH(PageLayout::Input, input);
    QCOMPARE(raisedNumber([&] { PageLayout layout(input); }), int(ErrorNumber::InvalidProcedureCall));
}

// The three parts of a header or footer text ("\t" divides them), with the
// page numbers put in for "\p" and "\P".
void tst_PageLayout::textParts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("winners list footer") << QStringLiteral("\\tSeite \\p von \\P\\tRingtal (Velmor-Software GmbH)") << 2
                                         << 3 << QStringList{"", "Seite 2 von 3", "Ringtal (Velmor-Software GmbH)"};
    QTest::newRow("title alone stands left") << QStringLiteral("Kreismeisterschaft 2024") << 1 << 1
                                             << QStringList{"Kreismeisterschaft 2024", "", ""};
    QTest::newRow("empty title") << QString() << 1 << 1 << QStringList{"", "", ""};
    QTest::newRow("a tab character divides nothing") << QStringLiteral("Links\tRechts") << 1 << 1
                                                     << QStringList{"Links\tRechts", "", ""};
    QTest::newRow("fourth part joins the right") << QStringLiteral("a\\tb\\tc\\td") << 1 << 1
                                                 << QStringList{"a", "b", "c d"};
    QTest::newRow("backslash of another letter stays") << QStringLiteral("C:\\temp\\x\\n") << 1 << 1
                                                       << QStringList{"C:", "emp\\x\\n", ""};
    QTest::newRow("count before page") << QStringLiteral("\\P\\p") << 3 << 7 << QStringList{"73", "", ""};
    QTest::newRow("trailing backslash stays") << QStringLiteral("Seite \\") << 1 << 1 << QStringList{"Seite \\", "", ""};
    QTest::newRow("double backslash before p") << QStringLiteral("\\\\p") << 5 << 6 << QStringList{"\\5", "", ""};
}

void tst_PageLayout::textParts()
{
    QFETCH(QString, text);
    QFETCH(int, page);
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    QStringList parts;
    for (const QString &part : PageText::parts(text))
        parts << PageText::substitute(part, page, count);
    QCOMPARE(parts, expected);
}

QTEST_MAIN(tst_PageLayout)
#include "tst_pagelayout.moc"
