// The grids paint their cells and grid lines faster than the style and
// QTableView do, but must look exactly as those paint them.
#include "grid/DataGrid.h"
#include "grid/GridDelegate.h"
#include "grid/GridScrollBar.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QtTest>

class tst_GridPainting : public QObject
{
    Q_OBJECT

private slots:
    void looksAsTheStylePaints_data();
    void looksAsTheStylePaints();
    void gridLinesAsTheViewDraws_data();
    void gridLinesAsTheViewDraws();
    void scrollBarAsQtPaintsIt_data();
    void scrollBarAsQtPaintsIt();
};

void tst_GridPainting::looksAsTheStylePaints_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QColor>("colour"); // invalid: the palette's
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("wrap"); // the grids show one line per row

    const int left = int(Qt::AlignLeft | Qt::AlignVCenter);
    const int right = int(Qt::AlignRight | Qt::AlignVCenter);
    QTest::newRow("name") << QStringLiteral("Müller, Jürgen") << left << QColor() << false << 160 << false;
    QTest::newRow("number on the right") << QStringLiteral("98,7") << right << QColor() << false << 80 << false;
    QTest::newRow("centred heading-like cell")
        << QStringLiteral("Ring10") << int(Qt::AlignCenter) << QColor() << false << 80 << false;
    QTest::newRow("selected row") << QStringLiteral("SV Tell Musterstadt") << left << QColor() << true << 160 << false;
    QTest::newRow("own text colour") << QStringLiteral("Anna Berg") << left << QColor(Qt::darkRed) << false << 160 << false;
    QTest::newRow("too long: elided") << QStringLiteral("Schützengesellschaft Musterstadt von 1848 e. V.") << left
                                      << QColor() << false << 90 << false;
    QTest::newRow("too long, on the right") << QStringLiteral("123456789012345678") << right << QColor() << false
                                            << 40 << false;
    QTest::newRow("empty") << QString() << left << QColor() << true << 80 << false;
    QTest::newRow("too long in a view that wraps") << QStringLiteral("Schützengesellschaft Musterstadt von 1848 e. V.")
                                                   << left << QColor() << false << 90 << true;
}

void tst_GridPainting::looksAsTheStylePaints()
{
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(QColor, colour);
    QFETCH(bool, selected);
    QFETCH(int, width);
    QFETCH(bool, wrap);

    QStandardItemModel model(3, 2);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            auto *item = new QStandardItem(text);
            item->setTextAlignment(Qt::Alignment(alignment));
            if (colour.isValid())
                item->setForeground(colour);
            model.setItem(row, column, item);
        }
    }
    QTableView view;
    view.setWordWrap(wrap);
    view.setModel(&model);
    view.resize(2 * width + 85, 140);
    view.setColumnWidth(0, width);
    view.setColumnWidth(1, width + 25); // a second width for the same texts
    if (selected)
        view.selectRow(1);

    // The same painter first with the grid's font, then with one the user chose.
    QStyledItemDelegate styles;
    GridDelegate ours;
    QFont chosen(QStringLiteral("DejaVu Serif"), 14);
    chosen.setBold(true);
    for (const QFont &font : {view.font(), chosen}) {
        view.setFont(font);
        view.setItemDelegate(&styles);
        const QImage expected = view.grab().toImage();
        view.setItemDelegate(&ours);
        for (int pass = 0; pass < 2; ++pass) { // the second from the laid-out texts
            const QImage actual = view.grab().toImage();
            if (actual != expected) {
                expected.save(QDir::temp().filePath(QStringLiteral("gridpainting-expected.png")));
                actual.save(QDir::temp().filePath(QStringLiteral("gridpainting-actual.png")));
                QFAIL(qPrintable(QStringLiteral("%1, pass %2 differs; both images are in the temporary folder")
                                     .arg(font.toString())
                                     .arg(pass)));
            }
        }
    }
}

void tst_GridPainting::gridLinesAsTheViewDraws_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("change"); // what differs from a plain grid
    QTest::addColumn<QRect>("part");     // repainted alone; empty: the whole grid

    // Columns 70, 80, 90 and 100 pixels wide.
    QTest::newRow("whole grid") << 30 << "" << QRect();
    QTest::newRow("rows and columns end inside the view") << 3 << "" << QRect();
    // Moved to the third place, the first column's line stands at 239; the
    // part holds it and the line of the column now second.
    QTest::newRow("columns moved, a part repainted") << 30 << "move" << QRect(160, 0, 86, 100);
    QTest::newRow("scrolled right and down") << 30 << "scroll" << QRect();
    QTest::newRow("right to left") << 3 << "right to left" << QRect();
}

// The grid shown over a plain model beside a plain QTableView, with the same
// delegate and sizes; only the viewports are compared, since the row
// selectors differ.
void tst_GridPainting::gridLinesAsTheViewDraws()
{
    QFETCH(int, rows);
    QFETCH(QString, change);
    QFETCH(QRect, part);
    QStandardItemModel model(rows, 4);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < 4; ++column)
            model.setItem(row, column, new QStandardItem(QStringLiteral("Zelle %1/%2").arg(row).arg(column)));
    }
    DataGrid ours;
    QTableView plain;
    GridDelegate delegate;
    plain.setItemDelegate(&delegate);
    plain.setWordWrap(false);
    plain.verticalHeader()->setDefaultSectionSize(ours.verticalHeader()->defaultSectionSize());
    for (QTableView *view : {static_cast<QTableView *>(&ours), &plain}) {
        view->setModel(&model);
        view->resize(420, 300);
        for (int column = 0; column < 4; ++column)
            view->setColumnWidth(column, 70 + 10 * column);
        if (change == QLatin1String("move"))
            view->horizontalHeader()->moveSection(0, 2);
        else if (change == QLatin1String("right to left"))
            view->setLayoutDirection(Qt::RightToLeft);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        if (change == QLatin1String("scroll")) {
            view->horizontalScrollBar()->setValue(45);
            view->verticalScrollBar()->setValue(7);
        }
    }
    QCoreApplication::processEvents(); // the views' delayed layouts
    // Right to left, the columns start at the viewports' right edges.
    const QSize size = ours.viewport()->size().boundedTo(plain.viewport()->size());
    auto painted = [&](QWidget *viewport) {
        const int left = viewport->isRightToLeft() ? viewport->width() - size.width() : 0;
        QImage image = viewport->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (!part.isEmpty()) {
            image.fill(Qt::magenta);
            viewport->render(&image, QPoint(), part);
        }
        return image.copy(QRect(QPoint(left, 0), size));
    };
    const QImage expected = painted(plain.viewport());
    const QImage actual = painted(ours.viewport());
    if (actual != expected) {
        expected.save(QDir::temp().filePath(QStringLiteral("gridlines-expected.png")));
        actual.save(QDir::temp().filePath(QStringLiteral("gridlines-actual.png")));
        QFAIL("the grid lines differ; both images are in the temporary folder");
    }
}

// The kept groove must never show a slider where it was before: after each
// move the bar looks as QScrollBar paints it.
void tst_GridPainting::scrollBarAsQtPaintsIt_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::newRow("top to end and back") << QList<int>{0, 1000, 0};
    QTest::newRow("small steps") << QList<int>{10, 20, 30, 990};
}

void tst_GridPainting::scrollBarAsQtPaintsIt()
{
    QFETCH(QList<int>, values);
    GridScrollBar ours(Qt::Vertical, nullptr);
    QScrollBar plain(Qt::Vertical);
    for (QScrollBar *bar : {static_cast<QScrollBar *>(&ours), &plain}) {
        bar->setRange(0, 1000);
        // Away from the pointer: under it, the bar is painted as it hovers.
        bar->setGeometry(300, 200, 16, 400);
        bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(bar));
    }
    for (const int value : values) {
        ours.setValue(value);
        plain.setValue(value);
        QCoreApplication::processEvents();
        QCOMPARE(ours.grab().toImage(), plain.grab().toImage());
    }
}

QTEST_MAIN(tst_GridPainting)
#include "tst_gridpainting.moc"
