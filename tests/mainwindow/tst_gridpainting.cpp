// The grids paint cells, grid lines and scroll bars faster than the style, QTableView and
// QScrollBar do, but must look exactly as those paint them.
#include "grid/DataGrid.h"
#include "grid/GridDelegate.h"
#include "grid/GridScrollBar.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QtTest>
#include <functional>

namespace {

QStandardItemModel *model(int rows, int columns, const std::function<void(QStandardItem &, int, int)> &fill, QObject *parent)
{
    auto *result = new QStandardItemModel(rows, columns, parent);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            result->setItem(row, column, new QStandardItem);
            fill(*result->item(row, column), row, column);
        }
    }
    return result;
}

// Both images are kept in the temporary folder when they differ.
bool same(const QImage &expected, const QImage &actual, const QString &name)
{
    if (expected == actual)
        return true;
    expected.save(QDir::temp().filePath(name + QStringLiteral("-expected.png")));
    actual.save(QDir::temp().filePath(name + QStringLiteral("-actual.png")));
    return false;
}

} // namespace

class tst_GridPainting : public QObject
{
    Q_OBJECT

private slots:
    void looksAsTheStylePaints_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QColor>("colour"); // invalid: the palette's
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("wrap"); // the grids show one line per row
        const int left = int(Qt::AlignLeft | Qt::AlignVCenter), right = int(Qt::AlignRight | Qt::AlignVCenter);
        const QString longClub = QStringLiteral("Schützengesellschaft Musterstadt von 1848 e. V.");
        QTest::newRow("name") << "Müller, Jürgen" << left << QColor() << false << 160 << false;
        QTest::newRow("number on the right") << "98,7" << right << QColor() << false << 80 << false;
        QTest::newRow("centred") << "Ring10" << int(Qt::AlignCenter) << QColor() << false << 80 << false;
        QTest::newRow("selected row, own text colour") << "SV Tell" << left << QColor(Qt::darkRed) << true << 160 << false;
        QTest::newRow("too long: elided") << longClub << left << QColor() << false << 90 << false;
        QTest::newRow("too long, on the right") << "123456789012345678" << right << QColor() << false << 40 << false;
        QTest::newRow("empty") << "" << left << QColor() << true << 80 << false;
        QTest::newRow("too long in a view that wraps") << longClub << left << QColor() << false << 90 << true;
    }

    // Two widths for the same texts; the grid's font and one the user chose; a second pass paints
    // from the laid-out texts.
    void looksAsTheStylePaints()
    {
        QFETCH(QString, text);
        QFETCH(int, alignment);
        QFETCH(QColor, colour);
        QFETCH(bool, selected);
        QFETCH(int, width);
        QFETCH(bool, wrap);
        QTableView view;
        view.setModel(model(3, 2, [&](QStandardItem &item, int, int) {
            item.setText(text);
            item.setTextAlignment(Qt::Alignment(alignment));
            if (colour.isValid())
                item.setForeground(colour);
        }, &view));
        view.setWordWrap(wrap);
        view.resize(2 * width + 85, 140);
        view.setColumnWidth(0, width);
        view.setColumnWidth(1, width + 25);
        if (selected)
            view.selectRow(1);
        QStyledItemDelegate styles;
        GridDelegate ours;
        for (const QFont &font : {view.font(), QFont(QStringLiteral("DejaVu Serif"), 14, QFont::Bold)}) {
            view.setFont(font);
            view.setItemDelegate(&styles);
            const QImage expected = view.grab().toImage();
            view.setItemDelegate(&ours);
            for (int pass = 0; pass < 2; ++pass)
                QVERIFY2(same(expected, view.grab().toImage(), QStringLiteral("gridpainting")),
                         qPrintable(QStringLiteral("%1, pass %2").arg(font.toString()).arg(pass)));
        }
    }

    // Columns 70, 80, 90 and 100 pixels wide. Moved to the third place, the first column's line
    // stands at 239; the part repainted holds it and the line of the column now second.
    void gridLinesAsTheViewDraws_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QRect>("part"); // repainted alone; empty: the whole grid
        QTest::newRow("whole grid") << 30 << "" << QRect();
        QTest::newRow("rows and columns end inside the view") << 3 << "" << QRect();
        QTest::newRow("columns moved, a part repainted") << 30 << "move" << QRect(160, 0, 86, 100);
        QTest::newRow("scrolled right and down") << 30 << "scroll" << QRect();
        QTest::newRow("right to left") << 3 << "right to left" << QRect();
    }

    // The grid beside a plain QTableView with the same delegate and sizes; only the viewports are
    // compared, since the row selectors differ. Right to left, columns start at the right edges.
    void gridLinesAsTheViewDraws()
    {
        QFETCH(int, rows);
        QFETCH(QString, change);
        QFETCH(QRect, part);
        DataGrid ours;
        QTableView plain;
        QStandardItemModel *cells =
            model(rows, 4, [](QStandardItem &item, int r, int c) { item.setText(QStringLiteral("Zelle %1/%2").arg(r).arg(c)); }, &ours);
        GridDelegate delegate;
        plain.setItemDelegate(&delegate);
        plain.setWordWrap(false);
        plain.verticalHeader()->setDefaultSectionSize(ours.verticalHeader()->defaultSectionSize());
        for (QTableView *view : {static_cast<QTableView *>(&ours), &plain}) {
            view->setModel(cells);
            view->resize(420, 300);
            for (int column = 0; column < 4; ++column)
                view->setColumnWidth(column, 70 + 10 * column);
            if (change == QLatin1String("move"))
                view->horizontalHeader()->moveSection(0, 2);
            view->setLayoutDirection(change == QLatin1String("right to left") ? Qt::RightToLeft : Qt::LeftToRight);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
            if (change == QLatin1String("scroll"))
                view->horizontalScrollBar()->setValue(45), view->verticalScrollBar()->setValue(7);
        }
        QCoreApplication::processEvents(); // the views' delayed layouts
        const QSize size = ours.viewport()->size().boundedTo(plain.viewport()->size());
        auto painted = [&](QWidget *viewport) {
            QImage image = viewport->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            if (!part.isEmpty()) {
                image.fill(Qt::magenta);
                viewport->render(&image, QPoint(), part);
            }
            return image.copy(QRect(QPoint(viewport->isRightToLeft() ? viewport->width() - size.width() : 0, 0), size));
        };
        QVERIFY(same(painted(plain.viewport()), painted(ours.viewport()), QStringLiteral("gridlines")));
    }

    // The kept groove never shows a slider where it was before: small steps, then from end to end.
    void scrollBarAsQtPaintsIt()
    {
        GridScrollBar ours(Qt::Vertical, nullptr);
        QScrollBar plain(Qt::Vertical);
        for (QScrollBar *bar : {static_cast<QScrollBar *>(&ours), &plain}) {
            bar->setRange(0, 1000);
            bar->setGeometry(300, 200, 16, 400); // away from the pointer, under which it would hover
            bar->show();
            QVERIFY(QTest::qWaitForWindowExposed(bar));
        }
        for (const int value : {10, 20, 30, 990, 0, 1000, 0}) {
            ours.setValue(value);
            plain.setValue(value);
            QCoreApplication::processEvents();
            QCOMPARE(ours.grab().toImage(), plain.grab().toImage());
        }
    }
};

QTEST_MAIN(tst_GridPainting)
#include "tst_gridpainting.moc"
