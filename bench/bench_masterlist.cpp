// The master list of 20,000 shooters: opening the window, beside reading the
// same query with the plain SQLite C API; and one keystroke in its search box,
// against the 1 ms that are 1 % of the 0.1 s in which a response feels instant.
#include "BenchSupport.h"
#include "masterlist/frmGesamt.h"
#include "store/DataSource.h"
#include "store/Recordset.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace {

const char *const MasterQuery = "Select * from Schuetzen order by Schuetze";
constexpr int Shooters = 20000;

// A program folder with a master list of n shooters: names of mixed case with
// umlauts and ß, as a club's list has them, in random order, most of them distinct.
class BenchMasterList
{
public:
    explicit BenchMasterList(int shooters)
        : m_path(programFolder() + QStringLiteral("/schuetzen.mdb"))
    {
        QDir().mkpath(programFolder());
        if (!QFile::copy(QStringLiteral(RINGTAL_PRISTINE_DATA_DIR "/schuetzen.mdb"), m_path))
            throw std::runtime_error("master file missing next to the benchmark");
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
        fill(shooters);
        // The window's settings, once it stores its place, go to a folder of its own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path() + QStringLiteral("/settings"));
    }

    QString programFolder() const { return m_dir.path() + QStringLiteral("/Programm"); }
    QString userFolder() const { return m_dir.path() + QStringLiteral("/Benutzer"); }
    const QString &path() const { return m_path; }

private:
    void fill(int shooters)
    {
        static const char *const last[] = {"Müller", "Schäfer", "Öztürk", "Bäcker", "Weiß", "Groß", "von Ahn",
                                           "de Vries", "Zimmermann", "Ebert", "Jäger", "Koch", "Lange", "Nüßlein",
                                           "Ulrich", "Voigt", "Yilmaz", "Fischer", "Hoffmann", "Ärmel"};
        static const char *const endings[] = {"", "mann", "er", "berg", "hofer", "s", "ing", "huber"};
        static const char *const first[] = {"Anna", "Jörg", "Lena", "Max", "Özlem", "Björn", "Ute", "Karl",
                                            "Sören", "Eva", "Till", "Åsa", "Ida", "Paul", "Zoë", "Rüdiger"};
        static const char *const clubs[] = {"SV Tell Ülzen", "SG Alm", "SSV 1862 Großheubach", "BSV Nord",
                                            "Schützengilde Überlingen", "KKS Eiche"};
        sqlite3 *db = nullptr;
        sqlite3_open(m_path.toUtf8().constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Schuetzen (Schuetze, Verein) VALUES (?, ?)", -1, &insert, nullptr);
        QRandomGenerator random(7);
        for (int i = 0; i < shooters; ++i) {
            // A middle initial makes most of the 20,000 names distinct, as a real list's are.
            QString name = QString::fromUtf8(last[random.bounded(20)]) + QString::fromUtf8(endings[random.bounded(8)])
                         + QStringLiteral(", ") + QString::fromUtf8(first[random.bounded(16)]) + QLatin1Char(' ')
                         + QChar(u'A' + random.bounded(26)) + QLatin1Char('.');
            if (random.bounded(10) == 0)
                name = name.toLower();
            const QByteArray text = name.toUtf8();
            sqlite3_bind_text(insert, 1, text.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, clubs[random.bounded(6)], -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    QTemporaryDir m_dir;
    QString m_path;
};

const BenchMasterList &masterList()
{
    static const BenchMasterList list(Shooters);
    frmGesamt::setMasterFolders(list.programFolder(), list.userFolder());
    return list;
}

void BM_OpenMasterList20000_SqliteBaseline(benchmark::State &state)
{
    const QString path = masterList().path();
    for (auto _ : state)
        benchmark::DoNotOptimize(readWithSqlite(path, MasterQuery));
}
BENCHMARK(BM_OpenMasterList20000_SqliteBaseline)->Unit(benchmark::kMillisecond);

// From the command to the painted window: build it, open the list, show it.
void BM_OpenMasterList20000_Window(benchmark::State &state)
{
    masterList();
    for (auto _ : state) {
        auto *window = new frmGesamt();
        window->show();
        QApplication::processEvents();
        state.PauseTiming();
        if (window->findChild<DataSource *>(QStringLiteral("Data1"))->recordset()->rowCount() != Shooters)
            state.SkipWithError("the window did not show every shooter");
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenMasterList20000_Window)->Unit(benchmark::kMillisecond);

void press(QWidget *target, int key, const QString &text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &up);
}

struct Key
{
    int key;
    QString text;
};

// Typing "Zim", then "x", which no name continues, and deleting all four
// again: the first key and the last jump across the list, the others search
// through all of it without moving the marker.
const std::vector<Key> &typing()
{
    static const std::vector<Key> keys{{Qt::Key_Z, QStringLiteral("Z")}, {Qt::Key_I, QStringLiteral("i")},
                                       {Qt::Key_M, QStringLiteral("m")}, {Qt::Key_X, QStringLiteral("x")},
                                       {Qt::Key_Backspace, QString()},   {Qt::Key_Backspace, QString()},
                                       {Qt::Key_Backspace, QString()},   {Qt::Key_Backspace, QString()}};
    return keys;
}

// "Z" and Backspace by turns: every key moves the marker between the top
// and the end of the list, so that the grid shows other rows each time.
const std::vector<Key> &jumping()
{
    static const std::vector<Key> keys{{Qt::Key_Z, QStringLiteral("Z")}, {Qt::Key_Backspace, QString()}};
    return keys;
}

// One keystroke in the search box each iteration, 1 ms being the budget.
// With repaint, the time includes painting what the keystroke changed, as
// the event loop does before the next key arrives.
void searchKeystrokes(benchmark::State &state, const std::vector<Key> &keys, bool repaint)
{
    masterList();
    frmGesamt window;
    window.show();
    QApplication::processEvents();
    auto *search = window.findChild<QLineEdit *>(QStringLiteral("txtSuche"));
    search->setFocus();
    size_t i = 0;
    for (auto _ : state) {
        const Key &key = keys[i++ % keys.size()];
        press(search, key.key, key.text);
        if (repaint)
            QApplication::processEvents();
    }
    QApplication::processEvents();
}

void BM_MasterSearchKeystroke20000(benchmark::State &state)
{
    searchKeystrokes(state, typing(), false);
}
BENCHMARK(BM_MasterSearchKeystroke20000)->Unit(benchmark::kMicrosecond);

void BM_MasterSearchKeystroke20000_Repainted(benchmark::State &state)
{
    searchKeystrokes(state, typing(), true);
}
BENCHMARK(BM_MasterSearchKeystroke20000_Repainted)->Unit(benchmark::kMicrosecond);

void BM_MasterSearchJump20000_Repainted(benchmark::State &state)
{
    searchKeystrokes(state, jumping(), true);
}
BENCHMARK(BM_MasterSearchJump20000_Repainted)->Unit(benchmark::kMicrosecond);

} // namespace
