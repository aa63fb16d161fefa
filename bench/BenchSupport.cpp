#include "BenchSupport.h"

#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSettings>
#include <QFile>
#include <QRandomGenerator>
#include <sqlite3.h>
#include <stdexcept>

BenchCompetition::BenchCompetition(int shooters, int classes, int teams)
    : m_path(m_dir.path() + QStringLiteral("/bench.wkd"))
{
    if (!QFile::copy(QStringLiteral(RINGTAL_PRISTINE_DATA_DIR "/wkvorlage.mdb"), m_path))
        throw std::runtime_error("template missing next to the benchmark");
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3 *db = nullptr;
    sqlite3_open(m_path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Ergebnisse (StartNr, Schuetze, Verein, Serie, Innenzehner, Ring1, Ring2, Ring3, "
                       "Ring4, Ring5, Ring6, Ring7, Ring8, Ring9, Ring10, Sortierung) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &insert, nullptr);
    QRandomGenerator random(42);
    for (int i = 1; i <= shooters; ++i) {
        int counts[11] = {};
        int total = 0;
        sqlite3_bind_int(insert, 1, i);
        const QByteArray name = QStringLiteral("Schütze %1").arg(i).toUtf8();
        sqlite3_bind_text(insert, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, "SV Müllheim", -1, SQLITE_STATIC);
        for (int shot = 0; shot < 10; ++shot) {
            const int ring = 6 + int(random.bounded(5));
            ++counts[ring];
            total += ring;
            sqlite3_bind_double(insert, 6 + shot, ring);
        }
        const int inner = int(random.bounded(counts[10] + 1));
        QString key = QStringLiteral("%1%2").arg(total, 6, 10, QLatin1Char('0')).arg(inner, 2, 10, QLatin1Char('0'));
        for (int v = 10; v >= 1; --v)
            key += QStringLiteral("%1").arg(counts[v], 2, 10, QLatin1Char('0'));
        sqlite3_bind_double(insert, 4, total);
        sqlite3_bind_int(insert, 5, inner);
        const QByteArray keyText = key.toUtf8();
        sqlite3_bind_text(insert, 16, keyText.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    for (int c = 0; c < classes; ++c) {
        const QByteArray sql = QStringLiteral("INSERT INTO Klassen (Reihenfolge, Name, Geschlecht) VALUES (%1, 'Klasse %1', "
                                              "'beide'); UPDATE Ergebnisse SET Klasse = 'Klasse %1' WHERE ID % %2 = %1")
                                   .arg(c)
                                   .arg(classes)
                                   .toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    }
    if (teams > 0) {
        const QByteArray sql = QStringLiteral("UPDATE Ergebnisse SET Mannschaft = 'Mannschaft ' || (ID % %1)").arg(teams).toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

long long readWithSqlite(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    long long cells = 0;
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                cells += sqlite3_column_int64(stmt, c) != 0;
                break;
            case SQLITE_FLOAT:
                cells += sqlite3_column_double(stmt, c) != 0.0;
                break;
            case SQLITE_TEXT:
                cells += sqlite3_column_bytes(stmt, c) > 0;
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return cells;
}

BenchWindow::BenchWindow(const QString &competitionPath)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ringtal"), QStringLiteral("Ringtal"))
        .setValue(QStringLiteral("Wettkampf/Last"), competitionPath);
    m_window = new frmMain;
    m_window->show();
    QApplication::processEvents();
}

BenchWindow::~BenchWindow()
{
    delete m_window;
}

void countPages(benchmark::State &state, const QString &pdfFile)
{
    // Qt's PDF writer gives every page one "/Type /Page" object.
    QFile pdf(pdfFile);
    const QByteArray data = pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray();
    const int pages = int(data.count("/Type /Page\n") + data.count("/Type /Page\r") + data.count("/Type /Page "));
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
}
