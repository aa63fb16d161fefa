#pragma once

#include <QString>
#include <benchmark/benchmark.h>
#include <QTemporaryDir>

// A competition file of n shooters with results and keys, made once per
// benchmark process in a temporary folder from the built template; with
// classes, the shooters are spread over that many classes of its list, with
// teams over that many teams.
class BenchCompetition
{
public:
    explicit BenchCompetition(int shooters, int classes = 0, int teams = 0);
    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Reads every row of a query with the plain SQLite C API: the baseline.
long long readWithSqlite(const QString &path, const char *sql);

class frmMain;

// A main window that opened the competition at start, with its settings kept
// in a temporary folder so that no user settings are touched.
class BenchWindow
{
public:
    explicit BenchWindow(const QString &competitionPath);
    ~BenchWindow();
    frmMain &window() { return *m_window; }

private:
    QTemporaryDir m_settings;
    frmMain *m_window;
};

// The pages of a PDF file the benchmark printed, and how many a second, as its counters.
void countPages(benchmark::State &state, const QString &pdfFile);
