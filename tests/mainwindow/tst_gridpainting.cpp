// The grids paint their cells faster than the style does, but must look
// exactly as the style paints them.
#include "GridDelegate.h"

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

QTEST_MAIN(tst_GridPainting)
#include "tst_gridpainting.moc"
