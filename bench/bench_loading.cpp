// Loading a competition of 5,000 shooters into both grids of the main
// window, beside reading the same query with the plain SQLite C API.
#include "BenchSupport.h"
#include "grid/DataGrid.h"
#include "mainwindow/frmMain.h"
#include "store/DataSource.h"
#include "store/Recordset.h"

#include <QApplication>
#include <QTabWidget>
#include <benchmark/benchmark.h>

namespace {

const char *const ResultsQuery = "Select * from Ergebnisse order by Sortierung desc";

const BenchCompetition &competition()
{
    static const BenchCompetition file(5000);
    return file;
}

void BM_Load5000_SqliteBaseline(benchmark::State &state)
{
    const QString path = competition().path();
    for (auto _ : state)
        benchmark::DoNotOptimize(readWithSqlite(path, ResultsQuery));
}
BENCHMARK(BM_Load5000_SqliteBaseline)->Unit(benchmark::kMillisecond);

// What loading does per grid: point the data source at the file, run the
// query, let the grid show the rows; both grids of the window.
void BM_Load5000_BothGrids(benchmark::State &state)
{
    const QString path = competition().path();
    // As in the window: two tabs, the entry grid shown, the winners list behind it.
    QTabWidget tabs;
    DataGrid *grids[2] = {new DataGrid, new DataGrid};
    for (DataGrid *grid : grids) {
        grid->setDesignedColumns(frmMain::resultFields());
        grid->holdFields();
        tabs.addTab(grid, QString());
    }
    tabs.resize(950, 650);
    tabs.show();
    QApplication::processEvents();
    for (auto _ : state) {
        DataSource sources[2];
        for (int i = 0; i < 2; ++i) {
            grids[i]->setDataSource(&sources[i]);
            sources[i].setDatabaseName(path);
            sources[i].setRecordSource(QString::fromLatin1(ResultsQuery));
            sources[i].refresh();
            grids[i]->refreshRows();
        }
        QApplication::processEvents();
        benchmark::DoNotOptimize(grids[1]->recordset()->rowCount());
        for (DataGrid *grid : grids)
            grid->setDataSource(nullptr);
    }
}
BENCHMARK(BM_Load5000_BothGrids)->Unit(benchmark::kMillisecond);

} // namespace
