// Classes and tie rules on a competition of 5,000 shooters in 20 classes:
// places per class, and a change of the tie rule, each beside the one SQL
// statement that would do the same.
#include "BenchSupport.h"
#include "mainwindow/frmMain.h"
#include "scoring/TieRule.h"
#include "widgets/UiDialogs.h"

#include <QColor>
#include <QFont>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

const BenchCompetition &competition()
{
    static const BenchCompetition file(5000, 20);
    return file;
}

sqlite3 *openDirect()
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(competition().path().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    return db;
}

void run(benchmark::State &state, sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        state.SkipWithError(sqlite3_errmsg(db));
}

const char *const ClearPlaces = "UPDATE Ergebnisse SET Platz = NULL";
const char *const RankPerClass = "UPDATE Ergebnisse SET Platz = r.place FROM "
                                 "(SELECT ID, RANK() OVER (PARTITION BY Klasse ORDER BY Sortierung DESC) AS place "
                                 "FROM Ergebnisse) AS r WHERE Ergebnisse.ID = r.ID";

// The baseline: another connection cleared every place, the statement ranks
// each class and writes every row.
void BM_Places5000In20Classes_SqlRankBaseline(benchmark::State &state)
{
    sqlite3 *other = openDirect();
    sqlite3 *db = openDirect();
    for (auto _ : state) {
        state.PauseTiming();
        run(state, other, ClearPlaces);
        state.ResumeTiming();
        run(state, db, RankPerClass);
    }
    sqlite3_close(db);
    sqlite3_close(other);
}
BENCHMARK(BM_Places5000In20Classes_SqlRankBaseline)->Unit(benchmark::kMillisecond);

// F5 from the same state: every place of every class written again.
void BM_Places5000In20Classes_F5(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    sqlite3 *other = openDirect();
    for (auto _ : state) {
        state.PauseTiming();
        run(state, other, ClearPlaces);
        state.ResumeTiming();
        bench.window().mnuEditUpdatePlaetze_Click();
    }
    sqlite3_close(other);
}
BENCHMARK(BM_Places5000In20Classes_F5)->Unit(benchmark::kMillisecond);

// Counts of one ring value over the ten shots, as SQL.
std::string countOf(int value)
{
    std::string sum;
    for (int shot = 1; shot <= 10; ++shot)
        sum += (shot > 1 ? "+" : "") + std::string("(CAST(Ring") + std::to_string(shot) + " AS INTEGER)=" + std::to_string(value) + ")";
    return "printf('%02d'," + sum + ")";
}

// The keys of every row rebuilt from the stored results by one statement,
// going back and forth between two rules so that every key changes.
std::string rebuildStatement(bool countsFirst)
{
    std::string counts;
    for (int value = 10; value >= 1; --value)
        counts += (value < 10 ? "||" : "") + countOf(value);
    const std::string inner = "printf('%02d',Innenzehner)";
    const std::string total = "printf('%06d',CAST(Serie AS INTEGER))";
    return "UPDATE Ergebnisse SET Sortierung = " + total + "||"
        + (countsFirst ? counts + "||" + inner : inner + "||" + counts) + " WHERE Sortierung IS NOT NULL";
}

void BM_TieRuleChange5000_SqlBaseline(benchmark::State &state)
{
    sqlite3 *db = openDirect();
    const std::string rules[2] = {rebuildStatement(true), rebuildStatement(false)};
    int turn = 0;
    for (auto _ : state)
        run(state, db, rules[turn++ % 2].c_str());
    sqlite3_close(db);
}
BENCHMARK(BM_TieRuleChange5000_SqlBaseline)->Unit(benchmark::kMillisecond);

// The dialog seam of the benchmark: the rule chooser answers the other rule
// each time, every other dialog is cancelled.
class OtherRule : public UiDialogs
{
public:
    std::optional<QString> inputText(const QString &, const QString &, bool) override { return std::nullopt; }
    std::optional<int> chooseItem(const QString &, const QString &, const QStringList &, int current, NumberField *) override
    {
        return current == 0 ? 1 : 0;
    }
    QString saveFileName(const FileRequest &) override { return {}; }
    QString openFileName(const FileRequest &) override { return {}; }
    bool chooseFont(QFont &, QColor &) override { return false; }
    bool printDialog(QPrinter &) override { return false; }
    std::unique_ptr<Progress> progress(const QString &, int) override { return nullptr; }
};

// Bearbeiten › Wertung... with the other rule chosen: every key rebuilt and
// stored, both lists read again.
void BM_TieRuleChange5000_Command(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    UiDialogs &previous = UiDialogs::current();
    OtherRule answers;
    UiDialogs::install(&answers);
    for (auto _ : state)
        bench.window().mnuEditWertung_Click();
    UiDialogs::install(&previous);
}
BENCHMARK(BM_TieRuleChange5000_Command)->Unit(benchmark::kMillisecond);

} // namespace
