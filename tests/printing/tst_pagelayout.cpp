// The page without drawing: which rows land on which page, where the columns stand, when the
// margins leave no room, and the header and footer texts.
#include "printing/PageLayout.h"
#include "printing/PageText.h"
#include "store/RingtalError.h"
#include "support/RecordsetChecks.h"

#include <QtTest>
#include <functional>

namespace {

using Input = PageLayout::Input;
using Ints = QVector<int>;
using Reals = QVector<double>;

// An area of 10000 x 7000 twips, a page header of 300, a footer of 200, headings of 400 and
// rows of 250: 6100 twips are left for rows, 24 of them.
Input input(int rows, const std::function<void(Input &)> &change = {})
{
    Input in;
    in.areaWidth = 10000, in.areaHeight = 7000, in.rowHeight = 250;
    in.headerHeight = 300, in.footerHeight = 200, in.headingHeight = 400;
    in.columnWidths = {1000, 2000, 3000};
    in.rowCount = rows;
    in.repeatGridHeader = in.repeatColumnHeaders = true;
    if (change)
        change(in);
    return in;
}

} // namespace

Q_DECLARE_METATYPE(Input)

class tst_PageLayout : public QObject
{
    Q_OBJECT

private slots:
    // A layout that leaves no room for a row, or no width, is error 5.
    void rowsPerPage_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<Ints>("rowsOnPage"); // empty: error 5
        QTest::addColumn<Reals>("bodyTops");  // first page, later pages
        QTest::addColumn<bool>("headingsAgain");
        QTest::newRow("no rows: one page") << input(0) << Ints{0} << Reals{700} << true;
        QTest::newRow("one row over") << input(25) << Ints{24, 1} << Reals{700, 700} << true;
        // Without headings a later page holds 6500 / 250 = 26 rows.
        QTest::newRow("headings on the first page only") << input(50, [](Input &i) { i.repeatColumnHeaders = false; })
                                                         << Ints{24, 26} << Reals{700, 300} << false;
        // With a caption of 500, 5600 / 250 = 22.4 rows fit.
        QTest::newRow("caption repeated") << input(50, [](Input &i) { i.captionHeight = 500; }) << Ints{22, 22, 6}
                                          << Reals{1200, 1200} << true;
        QTest::newRow("caption on the first page only")
            << input(50, [](Input &i) { i.captionHeight = 500, i.repeatGridHeader = false; }) << Ints{22, 24, 4}
            << Reals{1200, 700} << true;
        QTest::newRow("rows fill the page to the twip")
            << input(57, [](Input &i) { i.headerHeight = i.footerHeight = i.headingHeight = 0; }) << Ints{28, 28, 1}
            << Reals{0, 0} << true;
        // Class headings on rows 0 and 23: row 23 would be the last of the first page.
        QTest::newRow("a class heading never ends a page")
            << input(30, [](Input &i) { i.headingRows = {0, 23}; }) << Ints{23, 7} << Reals{700, 700} << true;
        QTest::newRow("each class on a page of its own")
            << input(30, [](Input &i) { i.headingRows = {0, 5, 12}, i.newPagePerHeading = true; }) << Ints{5, 7, 18}
            << Reals{700, 700} << true;
        // Header, footer and headings take 900: no row of 250 fits.
        QTest::newRow("no room for a row") << input(3, [](Input &i) { i.areaHeight = 1100; }) << Ints{} << Reals{} << true;
        QTest::newRow("no width") << input(3, [](Input &i) { i.areaWidth = 0; }) << Ints{} << Reals{} << true;
        // Later pages would have room without the headings; the first has none.
        QTest::newRow("first page without room")
            << input(30, [](Input &i) { i.areaHeight = 950, i.repeatColumnHeaders = false; }) << Ints{} << Reals{} << true;
    }

    void rowsPerPage()
    {
        QFETCH(Input, input);
        QFETCH(Ints, rowsOnPage);
        QFETCH(Reals, bodyTops);
        QFETCH(bool, headingsAgain);
        if (rowsOnPage.isEmpty()) {
            QCOMPARE(raisedNumber([&] { PageLayout layout(input); }), int(ErrorNumber::InvalidProcedureCall));
            return;
        }
        const PageLayout layout(input);
        QCOMPARE(layout.pageCount(), rowsOnPage.size());
        for (int p = 0, first = 0; p < layout.pageCount(); first += rowsOnPage.at(p++)) {
            QCOMPARE(layout.page(p).firstRow, first);
            QCOMPARE(layout.page(p).rowCount, rowsOnPage.at(p));
            for (int row = first; row < first + rowsOnPage.at(p); ++row)
                QCOMPARE(layout.pageOfRow(row), p);
            QCOMPARE(layout.page(p).bodyTop, bodyTops.at(qMin(p, 1)));
            QCOMPARE(layout.page(p).headings, p == 0 || headingsAgain);
        }
        QCOMPARE(layout.footerTop(), input.areaHeight - input.footerHeight);
    }

    // Too wide for the area, the columns are scaled down together.
    void columns_data()
    {
        QTest::addColumn<Reals>("widths");
        QTest::addColumn<double>("scale");
        QTest::addColumn<Reals>("lefts");
        QTest::newRow("narrower: as they are") << Reals{1000, 2000, 3000} << 1.0 << Reals{0, 1000, 3000};
        QTest::newRow("exactly as wide") << Reals{4000, 6000} << 1.0 << Reals{0, 4000};
        QTest::newRow("twice as wide: halved") << Reals{4000, 8000, 8000} << 0.5 << Reals{0, 2000, 6000};
    }

    void columns()
    {
        QFETCH(Reals, widths);
        QFETCH(double, scale);
        QFETCH(Reals, lefts);
        const PageLayout layout(input(30, [&](Input &i) { i.columnWidths = widths; }));
        QCOMPARE(layout.scale(), scale);
        for (int c = 0; c < widths.size(); ++c)
            QVERIFY(layout.columnLeft(c) == lefts.at(c) && layout.columnWidth(c) == widths.at(c) * scale);
        QVERIFY(layout.tableWidth() <= 10000);
    }

    // "\t" divides left, centre and right part; "\p" and "\P" become the page and the page count.
    void textParts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("winners list footer") << "\\tSeite \\p von \\P\\tRingtal (Velmor-Software GmbH)" << 2 << 3
                                             << QStringList{"", "Seite 2 von 3", "Ringtal (Velmor-Software GmbH)"};
        QTest::newRow("title alone stands left") << "Kreismeisterschaft" << 1 << 1 << QStringList{"Kreismeisterschaft", "", ""};
        QTest::newRow("a tab character divides nothing") << "L\tR" << 1 << 1 << QStringList{"L\tR", "", ""};
        QTest::newRow("fourth part joins the right") << "a\\tb\\tc\\td" << 1 << 1 << QStringList{"a", "b", "c d"};
        QTest::newRow("backslash of another letter stays") << "C:\\temp\\x\\n" << 1 << 1 << QStringList{"C:", "emp\\x\\n", ""};
        QTest::newRow("count before page") << "\\P\\p" << 3 << 7 << QStringList{"73", "", ""};
        QTest::newRow("trailing backslash stays") << "Seite \\" << 1 << 1 << QStringList{"Seite \\", "", ""};
    }

    void textParts()
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
};

QTEST_MAIN(tst_PageLayout)
#include "tst_pagelayout.moc"
