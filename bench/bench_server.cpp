// A competition of 5,000 shooters on a PostgreSQL server on this machine (a
// throwaway cluster on a Unix socket, as the tests start it): loading the
// rows beside reading them with libpq directly, F5 beside one UPDATE … RANK()
// statement, and how soon a row stored by one program shows in another's
// window.
#include "BenchSupport.h"
#include "grid/DataGrid.h"
#include "mainwindow/frmMain.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/ServerCompetitions.h"
#include "store/ServerDatabase.h"
#include "support/TestServer.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

namespace {

const QString Results = QStringLiteral("Select * from Ergebnisse order by Sortierung desc");

struct ServerCompetition
{
    TestServer server;
    QString location;
    QString schema;

    ServerCompetition()
    {
        if (!server.isRunning())
            return;
        const BenchCompetition file(5000);
        const std::shared_ptr<Database> layout = Database::open(QStringLiteral(RINGTAL_PRISTINE_DATA_DIR "/wkvorlage.mdb"));
        const std::shared_ptr<Database> rows = Database::open(file.path());
        const ServerLocation made = ServerCompetitions::create(server.login(), QStringLiteral("Bench"), *layout, *rows);
        location = made.toText();
        schema = made.competition;
    }
};

ServerCompetition &competition()
{
    static ServerCompetition made;
    return made;
}

bool ready(benchmark::State &state)
{
    if (competition().location.isEmpty()) {
        state.SkipWithError(qPrintable(QStringLiteral("no server: ") + competition().server.failure()));
        return false;
    }
    return true;
}

PGconn *connectDirectly()
{
    const ServerLogin login = competition().server.login();
    const QByteArray text = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
                                    .arg(login.host)
                                    .arg(login.port)
                                    .arg(login.database, login.user)
                                    .toUtf8();
    return PQconnectdb(text.constData());
}

// The baseline: the same rows in the same order, every value fetched.
void BM_Server5000_LoadBaselineLibpq(benchmark::State &state)
{
    if (!ready(state))
        return;
    PGconn *connection = connectDirectly();
    const QByteArray sql = QStringLiteral("SELECT * FROM %1.ergebnisse ORDER BY sortierung DESC NULLS LAST")
                                   .arg(competition().schema)
                                   .toUtf8();
    long long bytes = 0;
    for (auto _ : state) {
        PGresult *result = PQexec(connection, sql.constData());
        const int rows = PQntuples(result), columns = PQnfields(result);
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                bytes += PQgetlength(result, row, column) + (PQgetvalue(result, row, column)[0] != 0);
        PQclear(result);
    }
    benchmark::DoNotOptimize(bytes);
    PQfinish(connection);
}
BENCHMARK(BM_Server5000_LoadBaselineLibpq)->Unit(benchmark::kMillisecond);

// What opening the competition does per list: the recordset over the query.
void BM_Server5000_LoadRecordset(benchmark::State &state)
{
    if (!ready(state))
        return;
    const std::shared_ptr<Database> database = Database::open(competition().location);
    int rows = 0;
    for (auto _ : state)
        rows += database->openRecordset(Results)->rowCount();
    if (rows % 5000 != 0)
        state.SkipWithError("not 5,000 rows");
}
BENCHMARK(BM_Server5000_LoadRecordset)->Unit(benchmark::kMillisecond);

// Both F5 cases start from rows without places, so that every place is written.
void forgetPlaces(PGconn *connection)
{
    const QByteArray sql = QStringLiteral("UPDATE %1.ergebnisse SET platz = NULL").arg(competition().schema).toUtf8();
    PQclear(PQexec(connection, sql.constData()));
}

void BM_Server5000_RankBaselineUpdate(benchmark::State &state)
{
    if (!ready(state))
        return;
    PGconn *connection = connectDirectly();
    const QByteArray sql = QStringLiteral("UPDATE %1.ergebnisse e SET platz = r.place FROM (SELECT id, RANK() OVER "
                                          "(ORDER BY sortierung DESC) AS place FROM %1.ergebnisse WHERE sortierung IS "
                                          "NOT NULL) r WHERE e.id = r.id")
                                   .arg(competition().schema)
                                   .toUtf8();
    for (auto _ : state) {
        state.PauseTiming();
        forgetPlaces(connection);
        state.ResumeTiming();
        PGresult *result = PQexec(connection, sql.constData());
        if (PQresultStatus(result) != PGRES_COMMAND_OK)
            state.SkipWithError(PQresultErrorMessage(result));
        PQclear(result);
    }
    PQfinish(connection);
}
BENCHMARK(BM_Server5000_RankBaselineUpdate)->Unit(benchmark::kMillisecond);

// F5 in the window: the table held, the rows read again, ranked, the places
// written, both lists shown again.
void BM_Server5000_F5InWindow(benchmark::State &state)
{
    if (!ready(state))
        return;
    PGconn *connection = connectDirectly();
    BenchWindow bench(competition().location);
    for (auto _ : state) {
        state.PauseTiming();
        forgetPlaces(connection);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        bench.window().mnuEditUpdatePlaetze_Click();
    }
    PQfinish(connection);
}
BENCHMARK(BM_Server5000_F5InWindow)->Unit(benchmark::kMillisecond);

// One program stores a row; the time until another program's window shows
// it. Repeated, the median is what a PC showing the ranking sees.
void BM_Server5000_StoredRowShownElsewhere(benchmark::State &state)
{
    if (!ready(state))
        return;
    const std::shared_ptr<Database> writer = Database::open(competition().location);
    const std::unique_ptr<Recordset> rows = writer->openRecordset(Results);
    BenchWindow bench(competition().location);
    auto *grid = bench.window().findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
    const int club = grid->columnIndex(QStringLiteral("Verein"));
    static int round = 0;
    for (auto _ : state) {
        const QString value = QStringLiteral("SV Runde %1").arg(++round);
        rows->moveTo(0);
        const QVariant id = rows->storedValue(0, rows->fieldIndex(QStringLiteral("ID")));
        rows->edit();
        rows->setValue(QStringLiteral("Verein"), value);
        QElapsedTimer shown;
        shown.start();
        rows->update();
        bool seen = false;
        while (!seen && shown.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            for (int row = 0; row < grid->model()->rowCount() && !seen; ++row)
                seen = grid->model()->index(row, club).data().toString() == value;
            if (!seen)
                QThread::usleep(500);
        }
        state.SetIterationTime(double(shown.nsecsElapsed()) / 1e9);
        if (!seen)
            state.SkipWithError("not shown within 5 s");
        benchmark::DoNotOptimize(id);
    }
}
BENCHMARK(BM_Server5000_StoredRowShownElsewhere)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(15)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);

} // namespace
