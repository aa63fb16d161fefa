// Teams on a competition of 5,000 shooters in 1,000 teams of five, three
// counting: the team ranking from the rows in memory and the team tab
// shown, beside one SQL statement that computes the same team totals.
#include "BenchSupport.h"
#include "mainwindow/frmMain.h"
#include "scoring/Teams.h"
#include "store/Database.h"
#include "store/Recordset.h"

#include <QTabWidget>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

const BenchCompetition &competition()
{
    static const BenchCompetition file(5000, 0, 1000);
    return file;
}

// The best three of each team (names compared without case and blanks
// around them) added up, the teams ordered by their totals.
const char *const TeamTotals =
    "SELECT team, sum(Serie) AS total, count(*) AS members FROM "
    "(SELECT Klasse, lower(trim(Mannschaft)) AS team, Serie, "
    "ROW_NUMBER() OVER (PARTITION BY Klasse, lower(trim(Mannschaft)) ORDER BY Sortierung DESC) AS n "
    "FROM Ergebnisse WHERE trim(Mannschaft) <> '' AND Sortierung <> '') "
    "WHERE n <= 3 GROUP BY Klasse, team ORDER BY members >= 3 DESC, total DESC";

void BM_Teams5000In1000_SqlBaseline(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(competition().path().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    long long teams = 0;
    for (auto _ : state) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, TeamTotals, -1, &stmt, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(db));
            break;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW)
            teams += sqlite3_column_double(stmt, 1) > 0;
        sqlite3_finalize(stmt);
    }
    if (teams % 1000 != 0)
        state.SkipWithError("not 1,000 teams");
    sqlite3_close(db);
}
BENCHMARK(BM_Teams5000In1000_SqlBaseline)->Unit(benchmark::kMillisecond);

// What the team list does with the rows F5 has read: the shooters taken from
// them, the teams formed and ranked.
void BM_Teams5000In1000_Ranking(benchmark::State &state)
{
    const std::shared_ptr<Database> database = Database::open(competition().path());
    const std::unique_ptr<Recordset> rows =
        database->openRecordset(QStringLiteral("Select * from Ergebnisse order by Sortierung desc"));
    size_t teams = 0;
    for (auto _ : state)
        teams += Teams::rank(Teams::shootersOf(*rows, {}), 3, TieRule::InnerTensFirst).size();
    if (teams % 1000 != 0)
        state.SkipWithError("not 1,000 teams");
}
BENCHMARK(BM_Teams5000In1000_Ranking)->Unit(benchmark::kMillisecond);

// The tab shown after a result changed: ranked and filled again.
void BM_Teams5000In1000_TabShown(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    auto *tabs = bench.window().findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    for (auto _ : state) {
        tabs->setCurrentIndex(0);
        tabs->setCurrentIndex(2);
    }
}
BENCHMARK(BM_Teams5000In1000_TabShown)->Unit(benchmark::kMillisecond);

} // namespace
