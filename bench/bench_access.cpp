// Taking over an Access competition of 5,000 rows into a new competition
// file, beside mdb-export (mdbtools' own tool) writing the same table to
// /dev/null. The take-over reads with the same library and writes a whole
// SQLite file besides; it should stay within twice the baseline.
#include "store/CompetitionTakeOver.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString fixture()
{
    return QStringLiteral(RINGTAL_FIXTURES_DIR "/legacy-5000.wkd");
}

void BM_TakeOver5000_MdbExportBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        QProcess mdbExport;
        mdbExport.setStandardOutputFile(QProcess::nullDevice());
        mdbExport.start(QStringLiteral("mdb-export"), {fixture(), QStringLiteral("Ergebnisse")});
        if (!mdbExport.waitForFinished(60000) || mdbExport.exitStatus() != QProcess::NormalExit
            || mdbExport.exitCode() != 0) {
            state.SkipWithError("mdb-export did not run (package mdbtools)");
            break;
        }
    }
}
BENCHMARK(BM_TakeOver5000_MdbExportBaseline)->Unit(benchmark::kMillisecond);

// Every run after the first replaces the file the run before made, as a
// user taking the same file over again would.
void BM_TakeOver5000(benchmark::State &state)
{
    const QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("legacy-5000 (übernommen).wkd"));
    const QString templateFile = QStringLiteral(RINGTAL_PRISTINE_DATA_DIR "/wkvorlage.mdb");
    for (auto _ : state) {
        const CompetitionTakeOver::Result result = CompetitionTakeOver::intoNewFile(fixture(), templateFile, target);
        if (result.rows != 5000) {
            state.SkipWithError("the take-over did not copy 5000 rows");
            break;
        }
    }
}
BENCHMARK(BM_TakeOver5000)->Unit(benchmark::kMillisecond);

} // namespace
