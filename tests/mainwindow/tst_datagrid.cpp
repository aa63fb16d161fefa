#include "DataSource.h"
#include "GridColumn.h"
#include "MainWindowSession.h"
#include "RingtalError.h"
#include "SampleShooters.h"

#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>

using namespace GridInput;
using namespace SampleShooters;

namespace {

bool isRing(const QString &field)
{
    return field.startsWith(QLatin1String("Ring"));
}

// The error number a column look-up fails with; 0 when it does not fail.
template <typename Key>
int lookupFailure(DataGrid *grid, const Key &key)
{
    try {
        grid->columns(key);
    } catch (const RingtalError &error) {
        return error.number();
    }
    return 0;
}

// Pixels of the grid's cells drawn in (nearly) the given colour.
int pixelsInColour(DataGrid *grid, const QColor &colour)
{
    const QImage image = grid->viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) < 40 && qAbs(c.green() - colour.green()) < 40
                && qAbs(c.blue() - colour.blue()) < 40)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestDataGrid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hiddenColumns_data();
    void hiddenColumns();
    void captions_data();
    void captions();
    void headingsCentred_data();
    void headingsCentred();
    void germanNumbers_data();
    void germanNumbers();

    void columnByIndexAndName_data();
    void columnByIndexAndName();
    void unknownColumn_data();
    void unknownColumn();
    void columnWidth_data();
    void columnWidth();
    void columnVisible_data();
    void columnVisible();
    void columnOrder_data();
    void columnOrder();
    void columnValue_data();
    void columnValue();
    void fontAndTextColour_data();
    void fontAndTextColour();

    void holdFields_data();
    void holdFields();

private:
    // A window with the sample competition open, or none when not loaded.
    MainWindowSession *openSession(bool loaded);

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<MainWindowSession> m_session;
};

void TestDataGrid::init()
{
    m_competition = std::make_unique<TestCompetition>();
    m_competition->setTitle(QStringLiteral("Kreismeisterschaft"));
    addFive(*m_competition);
}

void TestDataGrid::cleanup()
{
    m_session.reset();
    m_competition.reset();
}

MainWindowSession *TestDataGrid::openSession(bool loaded)
{
    m_session = std::make_unique<MainWindowSession>(loaded ? QVariant(m_competition->path()) : QVariant());
    return m_session.get();
}

void TestDataGrid::hiddenColumns_data()
{
    QTest::addColumn<QString>("gridName");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("entry grid, nothing loaded") << "TDBGrid1" << false;
    QTest::newRow("entry grid, competition loaded") << "TDBGrid1" << true;
    QTest::newRow("winners list, nothing loaded") << "TDBGrid2" << false;
    QTest::newRow("winners list, competition loaded") << "TDBGrid2" << true;
}

void TestDataGrid::hiddenColumns()
{
    QFETCH(QString, gridName);
    QFETCH(bool, loaded);
    DataGrid *grid = openSession(loaded)->grid(qPrintable(gridName));
    QCOMPARE(grid->columnCount(), 18);
    for (const QString &field : fields()) {
        const bool hidden = field == QLatin1String("ID") || field == QLatin1String("Sortierung");
        QVERIFY2(grid->columns(field).isVisible() != hidden, qPrintable(field));
        QVERIFY2(grid->isColumnHidden(column(field)) == hidden, qPrintable(field));
    }
}

void TestDataGrid::captions_data()
{
    QTest::addColumn<QString>("gridName");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("ringCaption");
    QTest::newRow("entry grid, nothing loaded") << "TDBGrid1" << false << "Ring%1";
    QTest::newRow("entry grid, competition loaded") << "TDBGrid1" << true << "Ring%1";
    QTest::newRow("winners list, nothing loaded") << "TDBGrid2" << false << "%1";
    QTest::newRow("winners list, competition loaded") << "TDBGrid2" << true << "%1";
}

void TestDataGrid::captions()
{
    QFETCH(QString, gridName);
    QFETCH(bool, loaded);
    QFETCH(QString, ringCaption);
    DataGrid *grid = openSession(loaded)->grid(qPrintable(gridName));
    for (const QString &field : fields()) {
        const QString expected = isRing(field) ? ringCaption.arg(field.mid(4)) : field;
        QCOMPARE(grid->columns(field).caption(), expected);
        QCOMPARE(grid->model()->headerData(column(field), Qt::Horizontal, Qt::DisplayRole).toString(), expected);
    }
}

void TestDataGrid::headingsCentred_data()
{
    captions_data();
}

void TestDataGrid::headingsCentred()
{
    QFETCH(QString, gridName);
    QFETCH(bool, loaded);
    DataGrid *grid = openSession(loaded)->grid(qPrintable(gridName));
    for (int i = 0; i < grid->columnCount(); ++i) {
        QCOMPARE(grid->columns(i).alignment(), 2);
        const auto shown = grid->model()->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
        QVERIFY2(shown & Qt::AlignHCenter, qPrintable(fields().at(i)));
    }
}

void TestDataGrid::germanNumbers_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("tenth of a ring") << "Ring1" << QVariant(10.4) << "10,4";
    QTest::newRow("whole ring stored as a double") << "Ring2" << QVariant(9.0) << "9";
    QTest::newRow("half a ring") << "Ring3" << QVariant(0.5) << "0,5";
    QTest::newRow("series with tenths") << "Serie" << QVariant(98.7) << "98,7";
    QTest::newRow("series above a thousand, no grouping") << "Serie" << QVariant(1043.5) << "1043,5";
    QTest::newRow("start number above a thousand") << "StartNr" << QVariant(1234) << "1234";
    QTest::newRow("no inner tens") << "Innenzehner" << QVariant(0) << "0";
    QTest::newRow("ring left empty") << "Ring4" << QVariant() << "";
}

void TestDataGrid::germanNumbers()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET \"%1\" = ? WHERE ID = 3").arg(field), {value});
    MainWindowSession *session = openSession(true);
    for (DataGrid *grid : {session->entryGrid(), session->winnersGrid()}) {
        QCOMPARE(cellText(grid, 0, QStringLiteral("Schuetze")), QStringLiteral("Anna Weiß"));
        QCOMPARE(cellText(grid, 0, field), expected);
        QCOMPARE(grid->columns(field).text(), expected); // the current row is the first
    }
}

void TestDataGrid::columnByIndexAndName_data()
{
    QTest::addColumn<QString>("gridName");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("hidden first column") << "TDBGrid1" << 0 << "ID";
    QTest::newRow("start number") << "TDBGrid1" << 2 << "StartNr";
    QTest::newRow("name") << "TDBGrid1" << 3 << "Schuetze";
    QTest::newRow("last ring") << "TDBGrid1" << 16 << "Ring10";
    QTest::newRow("hidden last column") << "TDBGrid1" << 17 << "Sortierung";
    QTest::newRow("winners list, ring headed 1") << "TDBGrid2" << 7 << "Ring1";
    QTest::newRow("winners list, place") << "TDBGrid2" << 1 << "Platz";
}

void TestDataGrid::columnByIndexAndName()
{
    QFETCH(QString, gridName);
    QFETCH(int, index);
    QFETCH(QString, name);
    DataGrid *grid = openSession(true)->grid(qPrintable(gridName));
    QCOMPARE(grid->columns(index).dataField(), name);
    QCOMPARE(grid->columns(name).index(), index);
    QCOMPARE(grid->columnIndex(name), index);
    // Both ways reach the same column: what is set through one is read through the other.
    grid->columns(name).setCaption(QStringLiteral("Überschrift"));
    QCOMPARE(grid->columns(index).caption(), QStringLiteral("Überschrift"));
    grid->columns(index).setWidth(1440);
    QCOMPARE(grid->columns(name).width(), 1440.0);
}

void TestDataGrid::unknownColumn_data()
{
    QTest::addColumn<QVariant>("key");
    QTest::newRow("index below zero") << QVariant(-1);
    QTest::newRow("index one past the last") << QVariant(18);
    QTest::newRow("eleventh ring") << QVariant(QStringLiteral("Ring11"));
    QTest::newRow("empty name") << QVariant(QString());
    QTest::newRow("caption instead of field name") << QVariant(QStringLiteral("Schütze"));
}

void TestDataGrid::unknownColumn()
{
    QFETCH(QVariant, key);
    DataGrid *grid = openSession(true)->entryGrid();
    const int failure = key.typeId() == QMetaType::Int ? lookupFailure(grid, key.toInt())
                                                       : lookupFailure(grid, key.toString());
    QCOMPARE(failure, ErrorNumber::SubscriptOutOfRange);
}

void TestDataGrid::columnWidth_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("twips");
    QTest::addColumn<bool>("setWhileHidden");
    QTest::addColumn<bool>("drawnAtThatWidth");
    QTest::newRow("one inch") << "Schuetze" << 1440.0 << false << true;
    QTest::newRow("designed ring width, not a whole number of pixels") << "Ring1" << 620.0 << false << true;
    QTest::newRow("wide") << "Verein" << 5000.0 << false << true;
    QTest::newRow("set while hidden, shown later") << "Verein" << 2880.0 << true << true;
    QTest::newRow("hidden key column given a width") << "ID" << 900.0 << true << true;
    // The header draws no narrower than its minimum, but the column keeps the width it was given.
    QTest::newRow("narrower than a heading can be drawn") << "Platz" << 150.0 << false << false;
    QTest::newRow("narrower than a heading, set while hidden") << "ID" << 150.0 << true << false;
}

void TestDataGrid::columnWidth()
{
    QFETCH(QString, field);
    QFETCH(double, twips);
    QFETCH(bool, setWhileHidden);
    QFETCH(bool, drawnAtThatWidth);
    DataGrid *grid = openSession(true)->entryGrid();
    GridColumn col = grid->columns(field);
    const bool wasVisible = col.isVisible();
    if (setWhileHidden)
        col.setVisible(false);
    col.setWidth(twips);
    QCOMPARE(col.width(), twips);
    col.setVisible(true);
    QCOMPARE(col.width(), twips);
    // A twip is 1/1440 inch; the screen says how many pixels an inch has.
    const int expectedPixels = qRound(twips * grid->logicalDpiX() / 1440.0);
    if (drawnAtThatWidth)
        QCOMPARE(grid->columnWidth(column(field)), expectedPixels);
    if (!wasVisible)
        QVERIFY(!grid->isColumnHidden(column(field)));
}

void TestDataGrid::columnVisible_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("designTwips");
    QTest::newRow("club column hidden and shown again") << "Verein" << 1700.0;
    QTest::newRow("name column hidden and shown again") << "Schuetze" << 2000.0;
    QTest::newRow("last ring hidden and shown again") << "Ring10" << 720.0;
}

void TestDataGrid::columnVisible()
{
    QFETCH(QString, field);
    QFETCH(double, designTwips);
    DataGrid *grid = openSession(true)->entryGrid();
    GridColumn col = grid->columns(field);
    QVERIFY(col.isVisible());
    col.setVisible(false);
    QVERIFY(!col.isVisible());
    QVERIFY(grid->isColumnHidden(column(field)));
    QCOMPARE(col.width(), designTwips); // a hidden column keeps its width
    col.setVisible(true);
    QVERIFY(!grid->isColumnHidden(column(field)));
    QCOMPARE(grid->columnWidth(column(field)), qRound(designTwips * grid->logicalDpiX() / 1440.0));
}

void TestDataGrid::columnOrder_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("expectedLeftToRight");
    QStringList nameFirst = fields();
    nameFirst.move(3, 0);
    QStringList ringLast = fields();
    ringLast.move(7, 17);
    QStringList clubBeforeName = fields();
    clubBeforeName.move(4, 3);
    QTest::newRow("name to the far left") << "Schuetze" << 0 << nameFirst;
    QTest::newRow("first ring to the far right") << "Ring1" << 17 << ringLast;
    QTest::newRow("club one place left") << "Verein" << 3 << clubBeforeName;
    QTest::newRow("start number stays where it is") << "StartNr" << 2 << fields();
}

void TestDataGrid::columnOrder()
{
    QFETCH(QString, field);
    QFETCH(int, position);
    QFETCH(QStringList, expectedLeftToRight);
    DataGrid *grid = openSession(true)->entryGrid();
    grid->columns(field).setOrder(position);
    QCOMPARE(grid->columns(field).order(), position);
    QStringList shown;
    for (int visual = 0; visual < grid->horizontalHeader()->count(); ++visual)
        shown << grid->columns(grid->horizontalHeader()->logicalIndex(visual)).dataField();
    QCOMPARE(shown, expectedLeftToRight);
    for (int i = 0; i < expectedLeftToRight.size(); ++i)
        QCOMPARE(grid->columns(expectedLeftToRight.at(i)).order(), i);
}

void TestDataGrid::columnValue_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    // The current row is the best: Anna Weiß, start number 1, series 98.7.
    QTest::newRow("name") << "Schuetze" << "Anna Weiß" << QVariant(QStringLiteral("Neumann")) << "Neumann"
                          << "Neumann";
    QTest::newRow("ring as a number") << "Ring1" << "" << QVariant(10.4) << "10,4" << "10.4";
    QTest::newRow("ring as typed text with decimal comma") << "Ring2" << "" << QVariant(QStringLiteral("9,5")) << "9,5"
                                                           << "9.5";
    QTest::newRow("start number") << "StartNr" << "1" << QVariant(17) << "17" << "17";
    QTest::newRow("series") << "Serie" << "98,7" << QVariant(100.1) << "100,1" << "100.1";
}

void TestDataGrid::columnValue()
{
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(QVariant, written);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    DataGrid *grid = openSession(true)->entryGrid();
    QSignalSpy edits(grid, &DataGrid::afterColEdit);
    QCOMPARE(grid->columns(field).text(), before);
    QVERIFY(!grid->hasPendingEdit());

    grid->columns(field).setValue(written);

    QCOMPARE(grid->columns(column(field)).text(), shown);
    QCOMPARE(cellText(grid, 0, field), shown);
    QVERIFY(grid->hasPendingEdit());
    QCOMPARE(SampleShooters::stored(*m_competition, 3, field).toString(), QString(before).replace(',', '.'));
    grid->storePendingEdit();
    QVERIFY(!grid->hasPendingEdit());
    QCOMPARE(SampleShooters::stored(*m_competition, 3, field).toString(), stored);
    QCOMPARE(edits.count(), 0); // the program's own writes raise no edit notification
}

void TestDataGrid::fontAndTextColour_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red, large bold") << "DejaVu Sans" << 14 << true << false << QColor(255, 0, 0);
    QTest::newRow("blue, small italic") << "DejaVu Serif" << 8 << false << true << QColor(0, 0, 255);
    QTest::newRow("green, plain") << "DejaVu Sans Mono" << 10 << false << false << QColor(0, 160, 0);
    QTest::newRow("dark red, large for a projector") << "DejaVu Sans" << 24 << true << false << QColor(160, 0, 0);
}

void TestDataGrid::fontAndTextColour()
{
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QColor, colour);
    MainWindowSession *session = openSession(true);
    DataGrid *grid = session->winnersGrid();
    session->window().show();
    QCOMPARE(pixelsInColour(grid, colour), 0);

    QFont font(family, points);
    font.setBold(bold);
    font.setItalic(italic);
    grid->setFont(font);
    grid->setTextColor(colour);

    QCOMPARE(grid->font(), font);
    QCOMPARE(grid->textColor(), colour);
    QCOMPARE(grid->palette().color(QPalette::Text), colour);
    // The change shows at once: the cells are drawn in the new colour, in rows the text fits into.
    QVERIFY(pixelsInColour(grid, colour) > 20);
    const int textHeight = QFontMetrics(font).height();
    QVERIFY2(grid->rowHeight(0) >= textHeight,
             qPrintable(QStringLiteral("row %1 px, text %2 px").arg(grid->rowHeight(0)).arg(textHeight)));
    // The other grid keeps its own appearance.
    QVERIFY(session->entryGrid()->textColor() != colour);
    QVERIFY(session->entryGrid()->font() != font);
}

void TestDataGrid::holdFields_data()
{
    QTest::addColumn<bool>("hold");
    QTest::addColumn<QStringList>("queries");
    QTest::addColumn<QStringList>("expectedFields");
    QTest::addColumn<QStringList>("expectedCaptions");
    QTest::addColumn<QStringList>("expectedFirstRow");
    const QStringList designed{"StartNr", "Schuetze", "Platz"};
    const QStringList designedCaptions{"StartNr", "Name", "Platz"};
    const QString all = QStringLiteral("Select * from Ergebnisse order by Sortierung desc");
    const QString two = QStringLiteral("Select Verein, Schuetze from Ergebnisse order by Sortierung desc");
    QTest::newRow("held: designed columns over the whole table")
        << true << QStringList{all} << designed << designedCaptions << QStringList{"1", "Anna Weiß", ""};
    QTest::newRow("held: designed columns kept across a second refresh")
        << true << QStringList{all, all} << designed << designedCaptions << QStringList{"1", "Anna Weiß", ""};
    QTest::newRow("held: a field the query lacks stays as an empty column")
        << true << QStringList{two} << designed << designedCaptions << QStringList{"", "Anna Weiß", ""};
    QTest::newRow("held: kept when the query changes")
        << true << QStringList{all, two} << designed << designedCaptions << QStringList{"", "Anna Weiß", ""};
    QTest::newRow("not held: the whole table's fields")
        << false << QStringList{all} << fields() << fields()
        << QStringList{"3", "", "1", "Anna Weiß", "SV Tell", "98,7", "", "", "", "", "", "", "", "", "", "", "",
                       KeyBest};
    QTest::newRow("not held: the fields of a two-field query")
        << false << QStringList{two} << QStringList{"Verein", "Schuetze"} << QStringList{"Verein", "Schuetze"}
        << QStringList{"SV Tell", "Anna Weiß"};
    QTest::newRow("not held: follows the query as it changes")
        << false << QStringList{all, two} << QStringList{"Verein", "Schuetze"} << QStringList{"Verein", "Schuetze"}
        << QStringList{"SV Tell", "Anna Weiß"};
}

void TestDataGrid::holdFields()
{
    QFETCH(bool, hold);
    QFETCH(QStringList, queries);
    QFETCH(QStringList, expectedFields);
    QFETCH(QStringList, expectedCaptions);
    QFETCH(QStringList, expectedFirstRow);
    DataSource source;
    DataGrid grid;
    grid.setDesignedColumns({QStringLiteral("StartNr"), QStringLiteral("Schuetze"), QStringLiteral("Platz")});
    grid.columns(QStringLiteral("Schuetze")).setCaption(QStringLiteral("Name"));
    if (hold)
        grid.holdFields();
    grid.setDataSource(&source);
    source.setDatabaseName(m_competition->path());
    for (const QString &query : queries) {
        source.setRecordSource(query);
        source.refresh();
        grid.refreshRows();
    }
    QCOMPARE(grid.columnCount(), int(expectedFields.size()));
    QCOMPARE(grid.model()->columnCount(), int(expectedFields.size()));
    for (int i = 0; i < expectedFields.size(); ++i) {
        QCOMPARE(grid.columns(i).dataField(), expectedFields.at(i));
        QCOMPARE(grid.model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString(), expectedCaptions.at(i));
        QCOMPARE(grid.model()->index(0, i).data().toString(), expectedFirstRow.at(i));
    }
    QCOMPARE(grid.model()->rowCount(), 6); // five shooters and the new-row line
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
