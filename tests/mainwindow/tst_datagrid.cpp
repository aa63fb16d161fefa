// The grid class as both result grids use it: columns as designed, German
// numbers, widths in twips, and the designed
// columns kept over whatever query the data source runs.
#include "DataSource.h"
#include "GridColumn.h"
#include "MainWindowSession.h"
#include "RingtalError.h"
#include "SampleShooters.h"

#include <QHeaderView>

using namespace GridInput;
using namespace SampleShooters;

namespace {

} // namespace

class TestDataGrid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void designedColumns_data();
    void designedColumns();
    void germanNumbers_data();
    void germanNumbers();
    void columnWidth_data();
    void columnWidth();
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

void TestDataGrid::designedColumns_data()
{
    QTest::addColumn<QString>("gridName");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("ringCaption");
    QTest::newRow("entry grid, nothing loaded") << "TDBGrid1" << false << "Ring%1";
    QTest::newRow("entry grid, competition loaded") << "TDBGrid1" << true << "Ring%1";
    QTest::newRow("winners list, nothing loaded") << "TDBGrid2" << false << "%1";
    QTest::newRow("winners list, competition loaded") << "TDBGrid2" << true << "%1";
}

// Every field of Ergebnisse a column, ID and key hidden, rings headed as the
// grid's design says, every heading centred.
void TestDataGrid::designedColumns()
{
    QFETCH(QString, gridName);
    QFETCH(bool, loaded);
    QFETCH(QString, ringCaption);
    DataGrid *grid = openSession(loaded)->grid(qPrintable(gridName));
    QCOMPARE(grid->columnCount(), 18);
    for (const QString &field : fields()) {
        const bool hidden = field == QLatin1String("ID") || field == QLatin1String("Sortierung");
        QVERIFY2(grid->isColumnHidden(column(field)) == hidden, qPrintable(field));
        const QString caption = field.startsWith(QLatin1String("Ring")) ? ringCaption.arg(field.mid(4)) : field;
        QCOMPARE(grid->model()->headerData(column(field), Qt::Horizontal, Qt::DisplayRole).toString(), caption);
        const auto alignment =
            grid->model()->headerData(column(field), Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
        QVERIFY2(alignment & Qt::AlignHCenter, qPrintable(field));
    }
}

void TestDataGrid::germanNumbers_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole ring stored as a double") << "Ring2" << QVariant(9.0) << "9";
    QTest::newRow("series above a thousand, no grouping") << "Serie" << QVariant(1043.5) << "1043,5";
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

void TestDataGrid::columnWidth_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("twips");
    QTest::addColumn<bool>("setWhileHidden");
    QTest::addColumn<bool>("drawnAtThatWidth");
    QTest::newRow("designed ring width, not a whole number of pixels") << "Ring1" << 620.0 << false << true;
    QTest::newRow("set while hidden, shown later") << "Verein" << 2880.0 << true << true;
    QTest::newRow("hidden key column given a width") << "ID" << 900.0 << true << true;
    // The header draws no narrower than its minimum, but the column keeps the width it was given.
    QTest::newRow("narrower than a heading can be drawn") << "Platz" << 150.0 << false << false;
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
    QTest::newRow("held: designed columns kept across a second refresh")
        << true << QStringList{all, all} << designed << designedCaptions << QStringList{"1", "Anna Weiß", ""};
    QTest::newRow("held: kept when the query changes")
        << true << QStringList{all, two} << designed << designedCaptions << QStringList{"", "Anna Weiß", ""};
    QTest::newRow("not held: the whole table's fields")
        << false << QStringList{all} << fields() << fields()
        << QStringList{"3", "", "1", "Anna Weiß", "SV Tell", "98,7", "", "", "", "", "", "", "", "", "", "", "",
                       KeyBest};
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
