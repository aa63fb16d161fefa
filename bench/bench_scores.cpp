// Places over 5,000 shooters, one cell edit with its score computation, and
// one search keystroke, on a competition of 5,000 shooters.
#include "BenchSupport.h"
#include "grid/DataGrid.h"
#include "mainwindow/frmMain.h"
#include "scoring/RankAssignment.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/tempModule.h"

#include <QApplication>
#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

const BenchCompetition &competition()
{
    static const BenchCompetition file(5000);
    return file;
}

// Another program's connection to the competition, which clears every place.
class OtherProgram
{
public:
    OtherProgram() { sqlite3_open_v2(competition().path().toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr); }
    ~OtherProgram() { sqlite3_close(m_db); }
    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;
    void clearPlaces() { sqlite3_exec(m_db, "UPDATE Ergebnisse SET Platz = NULL", nullptr, nullptr, nullptr); }

private:
    sqlite3 *m_db = nullptr;
};

const char *const rankStatement = "UPDATE Ergebnisse SET Platz = r.place FROM "
                                  "(SELECT ID, RANK() OVER (ORDER BY Sortierung DESC) AS place FROM Ergebnisse) AS r "
                                  "WHERE Ergebnisse.ID = r.ID";

// The baseline: the same places computed by SQLite in one statement, run again
// over places it wrote before.
void BM_Places5000_SqlRankBaseline(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(competition().path().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    for (auto _ : state) {
        if (sqlite3_exec(db, rankStatement, nullptr, nullptr, nullptr) != SQLITE_OK)
            state.SkipWithError(sqlite3_errmsg(db));
    }
    sqlite3_close(db);
}
BENCHMARK(BM_Places5000_SqlRankBaseline)->Unit(benchmark::kMillisecond);

// The baseline from where F5AllPlacesNew starts: another connection cleared
// every place, so the statement reads the changed file and writes every row.
void BM_Places5000_SqlRankBaselineAllPlacesNew(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    OtherProgram other;
    sqlite3_open_v2(competition().path().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        other.clearPlaces();
        state.ResumeTiming();
        if (sqlite3_exec(db, rankStatement, nullptr, nullptr, nullptr) != SQLITE_OK)
            state.SkipWithError(sqlite3_errmsg(db));
    }
    sqlite3_close(db);
}
BENCHMARK(BM_Places5000_SqlRankBaselineAllPlacesNew)->Unit(benchmark::kMillisecond);

// F5 on a competition where no shooter has a place yet (another program
// cleared them): everything is read again and every place is written.
void BM_Places5000_F5AllPlacesNew(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    OtherProgram other;
    for (auto _ : state) {
        state.PauseTiming();
        other.clearPlaces();
        state.ResumeTiming();
        bench.window().mnuEditUpdatePlaetze_Click();
    }
}
BENCHMARK(BM_Places5000_F5AllPlacesNew)->Unit(benchmark::kMillisecond);

// The first F5 of a competition, right after it was loaded: every result is
// typed, no shooter has a place yet. Its baseline is the statement run from
// the same file (BaselineAllPlacesNew).
void BM_Places5000_F5FirstAfterLoading(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    OtherProgram other;
    for (auto _ : state) {
        state.PauseTiming();
        other.clearPlaces();
        bench.window().openCompetitionFile(competition().path());
        state.ResumeTiming();
        bench.window().mnuEditUpdatePlaetze_Click();
    }
}
BENCHMARK(BM_Places5000_F5FirstAfterLoading)->Unit(benchmark::kMillisecond);

// F5 pressed again with nothing changed in between.
void BM_Places5000_F5Again(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    bench.window().mnuEditUpdatePlaetze_Click();
    for (auto _ : state)
        bench.window().mnuEditUpdatePlaetze_Click();
}
BENCHMARK(BM_Places5000_F5Again)->Unit(benchmark::kMillisecond);

// F5 right after a result was typed: the rows are no longer in key order and
// must be read again before the places can be given.
void BM_Places5000_F5AfterNewResult(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    auto *grid = bench.window().findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
    const int ring = grid->columnIndex(QStringLiteral("Ring1"));
    int shot = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QModelIndex cell = grid->model()->index(100 + shot % 1000, ring);
        grid->setCurrentIndex(cell);
        grid->model()->setData(cell, QString::number(6 + shot++ % 5));
        state.ResumeTiming();
        bench.window().mnuEditUpdatePlaetze_Click();
    }
}
BENCHMARK(BM_Places5000_F5AfterNewResult)->Unit(benchmark::kMillisecond);

// For comparison: the same walk with every row stored in its own transaction.
void BM_Places5000_RowByRowTransactions(benchmark::State &state)
{
    DataSource source;
    source.setDatabaseName(competition().path());
    source.setRecordSource(QStringLiteral("Select * from Ergebnisse order by Sortierung desc"));
    source.refresh();
    Recordset &rs = *source.recordset();
    for (auto _ : state) {
        rs.requery();
        QStringList keys;
        for (int row = 0; row < rs.rowCount(); ++row) {
            rs.moveTo(row);
            keys << GetFieldValue(rs, QStringLiteral("Sortierung")).toString();
        }
        const std::vector<int> places = RankAssignment::places(keys);
        for (int row = 0; row < rs.rowCount(); ++row) {
            rs.moveTo(row);
            rs.edit();
            rs.setValue(QStringLiteral("Platz"), places[size_t(row)]);
            rs.update();
        }
    }
}
BENCHMARK(BM_Places5000_RowByRowTransactions)->Unit(benchmark::kMillisecond);

void BM_CellEditWithScore5000(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    auto *grid = bench.window().findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
    const int ring = grid->columnIndex(QStringLiteral("Ring3"));
    const QModelIndex cell = grid->model()->index(2500, ring);
    grid->setCurrentIndex(cell);
    int shot = 0;
    for (auto _ : state) {
        grid->model()->setData(cell, QString::number(7 + (shot++ % 4)));
        QApplication::processEvents();
    }
    grid->storePendingEdit();
}
BENCHMARK(BM_CellEditWithScore5000)->Unit(benchmark::kMicrosecond);

void BM_SearchKeystroke5000(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    auto *search = bench.window().findChild<QLineEdit *>(QStringLiteral("txtSuche"));
    // Alternating between a name found at the end and one found nowhere: both scan the whole list.
    const QString texts[] = {QStringLiteral("Schütze 4999"), QStringLiteral("Zz")};
    int i = 0;
    for (auto _ : state) {
        search->setText(texts[i++ % 2]);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SearchKeystroke5000)->Unit(benchmark::kMicrosecond);

} // namespace
