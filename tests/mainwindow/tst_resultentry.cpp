// Typing results into the entry grid and giving places, driven as a user
// does it, checked through a connection of the test's own.
#include "DataGrid.h"
#include "DataSource.h"
#include "GuiTyping.h"
#include "Recordset.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "frmMain.h"

#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

class tst_ResultEntry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedRowIsScoredAndStored_data();
    void typedRowIsScoredAndStored();
    void wholeRowByKeyboardOnly();
    void winnersListComputesNothing();
    void valueTheFieldCannotHoldKeepsRowInEdit();
    void places_data();
    void places();
    void placesReplaceStaleOnes();
    void placesStorePendingEditFirst();
    void placesOnEmptyCompetitionChangeNothing();
    void placesFailureIsReportedAndProgramGoesOn();

private:
    void openWindow();
    DataGrid *entryGrid() const { return m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid1")); }
    Recordset *entryRows() const { return m_window->findChild<DataSource *>(QStringLiteral("Data1"))->recordset(); }
    void startAt(int row, const QString &column);
    void typeCells(const QStringList &cells);

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

void tst_ResultEntry::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_competition = std::make_unique<TestCompetition>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void tst_ResultEntry::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    m_competition.reset();
    m_settings.reset();
}

void tst_ResultEntry::openWindow()
{
    m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competition->path());
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    entryGrid()->setFocus();
}

void tst_ResultEntry::startAt(int row, const QString &column)
{
    DataGrid *grid = entryGrid();
    grid->setCurrentIndex(grid->model()->index(row, grid->columnIndex(column)));
    grid->setFocus();
}

// Each cell: its text, then Enter to accept it and move to the next cell.
void tst_ResultEntry::typeCells(const QStringList &cells)
{
    for (const QString &cell : cells) {
        GuiTyping::typeText(cell);
        GuiTyping::press(Qt::Key_Return);
    }
}

void tst_ResultEntry::typedRowIsScoredAndStored_data()
{
    QTest::addColumn<QStringList>("rings");
    QTest::addColumn<QString>("innerTens");
    QTest::addColumn<double>("serie");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariantList>("stored");

    QTest::newRow("star becomes ten")
        << QStringList{"10", "9", "9", "8", "*", "7", "9", "10", "8", "9"} << "2" << 89.0
        << "0000890203040201000000000000" << QVariantList{10.0, 9.0, 9.0, 8.0, 10.0, 7.0, 9.0, 10.0, 8.0, 9.0};
    QTest::newRow("plus becomes ten, empty cells zero")
        << QStringList{"9", "9", "8", "+", "10", "", "", "", "", ""} << "" << 46.0
        << "0000460002020100000000000000" << QVariantList{9.0, 9.0, 8.0, 10.0, 10.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    QTest::newRow("tenths with comma, eleven and dot rejected")
        << QStringList{"10,9", "9,5", "11", "9.5", "x", "10", "10", "10", "10", "10"} << "1" << 70.4
        << "000070:40000106010000000000000000" << QVariantList{10.9, 9.5, 0.0, 0.0, 0.0, 10.0, 10.0, 10.0, 10.0, 10.0};
}

void tst_ResultEntry::typedRowIsScoredAndStored()
{
    QFETCH(QStringList, rings);
    QFETCH(QString, innerTens);
    QFETCH(double, serie);
    QFETCH(QString, key);
    QFETCH(QVariantList, stored);
    openWindow();
    startAt(0, QStringLiteral("Schuetze")); // the new-row line of an empty competition
    typeCells({QStringLiteral("Jörg Müller"), QStringLiteral("SV Tell"), QString(), innerTens});
    typeCells(rings); // Enter after the tenth shot leaves the row, which stores it

    const QList<QVariantMap> rows = m_competition->rows(QStringLiteral("SELECT * FROM Ergebnisse"));
    QCOMPARE(rows.size(), 1);
    const QVariantMap row = rows.first();
    QCOMPARE(row.value("Schuetze").toString(), QStringLiteral("Jörg Müller"));
    QCOMPARE(row.value("Verein").toString(), QStringLiteral("SV Tell"));
    QVERIFY(qFuzzyCompare(row.value("Serie").toDouble(), serie));
    QCOMPARE(row.value("Sortierung").toString(), key);
    for (int i = 0; i < 10; ++i)
        QVERIFY2(qFuzzyCompare(1.0 + row.value(QStringLiteral("Ring%1").arg(i + 1)).toDouble(),
                               1.0 + stored.at(i).toDouble()),
                 qPrintable(QStringLiteral("Ring%1").arg(i + 1)));
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
}

void tst_ResultEntry::wholeRowByKeyboardOnly()
{
    m_competition->addResult(7, QStringLiteral("Anna Berg"), QStringLiteral("SV Tell"));
    openWindow();
    startAt(0, QStringLiteral("Ring1"));
    // Tab accepts a cell and moves on just as Enter does.
    for (int shot = 0; shot < 10; ++shot) {
        GuiTyping::typeText(QStringLiteral("10"));
        GuiTyping::press(Qt::Key_Tab);
    }
    // The hidden key column is skipped: Tab on the last shot goes on to the
    // next row, which stores this one.
    QCOMPARE(entryGrid()->currentIndex().row(), 1);
    const QVariantMap row = m_competition->rows(QStringLiteral("SELECT * FROM Ergebnisse")).first();
    QCOMPARE(row.value("Serie").toDouble(), 100.0);
    QCOMPARE(row.value("Sortierung").toString(), QStringLiteral("0001000010000000000000000000"));
}

void tst_ResultEntry::winnersListComputesNothing()
{
    m_competition->addResult(1, QStringLiteral("Anna Berg"), QStringLiteral("SV Tell"));
    openWindow();
    auto *winners = m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid2"));
    const QModelIndex cell = winners->model()->index(0, winners->columnIndex(QStringLiteral("Ring1")));
    QVERIFY(winners->model()->setData(cell, QStringLiteral("9")));
    QVERIFY(winners->columns(QStringLiteral("Serie")).value().isNull());
    QVERIFY(winners->columns(QStringLiteral("Sortierung")).value().isNull());
}

void tst_ResultEntry::valueTheFieldCannotHoldKeepsRowInEdit()
{
    m_competition->addResult(1, QStringLiteral("Anna Berg"), QStringLiteral("SV Tell"));
    m_competition->addResult(2, QStringLiteral("Bernd Kurz"), QStringLiteral("SV Tell"));
    openWindow();
    const int first = entryRows()->position();
    startAt(first, QStringLiteral("StartNr"));
    typeCells({QStringLiteral("zwölf")});
    GuiTyping::press(Qt::Key_Down);
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QVERIFY(m_dialogs->shown().front().text.startsWith(QStringLiteral("Fehler: 13 - ")));
    QTRY_COMPARE(entryGrid()->currentIndex().row(), first);
    QVERIFY(entryRows()->isDirty());
    QCOMPARE(entryGrid()->columns(QStringLiteral("StartNr")).text(), QStringLiteral("zwölf"));
    // Corrected, the row is stored with everything else that was typed.
    startAt(first, QStringLiteral("StartNr"));
    typeCells({QStringLiteral("12")});
    GuiTyping::press(Qt::Key_Down);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse WHERE StartNr = 12")).toInt(), 1);
}

void tst_ResultEntry::places_data()
{
    QTest::addColumn<QStringList>("keys");   // in insertion order; empty = no key
    QTest::addColumn<QList<int>>("places");  // for the same rows

    const QString k1 = QStringLiteral("0000950203040201000000000000");
    const QString k2 = QStringLiteral("0000890203040201000000000000");
    const QString k3 = QStringLiteral("0000890103040201000000000000");
    QTest::newRow("tie shares a place, the next skips") << QStringList{k2, k1, QStringLiteral("0000700000000000000000000000"), k2}
                                                       << QList<int>{2, 1, 4, 2};
    QTest::newRow("three equal then a worse one") << QStringList{k2, k2, k2, k3} << QList<int>{1, 1, 1, 4};
    QTest::newRow("single shooter") << QStringList{k1} << QList<int>{1};
    QTest::newRow("shooters without key share the place after the others")
        << QStringList{QString(), k1, QString(), k2} << QList<int>{3, 1, 3, 2};
    QTest::newRow("nobody has a key") << QStringList{QString(), QString()} << QList<int>{1, 1};
    QTest::newRow("equal totals, inner tens differ") << QStringList{k3, k2} << QList<int>{2, 1};
}

void tst_ResultEntry::places()
{
    QFETCH(QStringList, keys);
    QFETCH(QList<int>, places);
    for (int i = 0; i < keys.size(); ++i)
        m_competition->addResult(i + 1, QStringLiteral("S%1").arg(i + 1), QStringLiteral("V"), QVariant(), keys.at(i));
    openWindow();
    for (int run = 0; run < 2; ++run) { // pressing F5 again gives the same places
        QTest::keyClick(m_window.get(), Qt::Key_F5);
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Platz FROM Ergebnisse WHERE StartNr = ?"), {i + 1})
                         .toInt(),
                     places.at(i));
    }
    // Both grids show the new places, best first.
    auto *winners = m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid2"));
    const int platz = winners->columnIndex(QStringLiteral("Platz"));
    QCOMPARE(winners->model()->index(0, platz).data().toString(), QStringLiteral("1"));
    QCOMPARE(entryGrid()->model()->index(0, platz).data().toString(), QStringLiteral("1"));
}

void tst_ResultEntry::placesReplaceStaleOnes()
{
    // Places from an earlier evaluation, partly right, partly wrong, one missing.
    const QString k1 = QStringLiteral("0000950000000000000000000000");
    const QString k2 = QStringLiteral("0000900000000000000000000000");
    const QString k3 = QStringLiteral("0000850000000000000000000000");
    m_competition->addResult(1, QStringLiteral("A"), QStringLiteral("V"), 95, k1);
    m_competition->addResult(2, QStringLiteral("B"), QStringLiteral("V"), 90, k2);
    m_competition->addResult(3, QStringLiteral("C"), QStringLiteral("V"), 85, k3);
    m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Platz = 1 WHERE StartNr = 1"));
    m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Platz = 1 WHERE StartNr = 2"));
    openWindow();
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    const QList<QVariantMap> rows =
        m_competition->rows(QStringLiteral("SELECT Platz FROM Ergebnisse ORDER BY StartNr"));
    QCOMPARE(rows.at(0).value("Platz").toInt(), 1);
    QCOMPARE(rows.at(1).value("Platz").toInt(), 2);
    QCOMPARE(rows.at(2).value("Platz").toInt(), 3);
}

void tst_ResultEntry::placesStorePendingEditFirst()
{
    m_competition->addResult(1, QStringLiteral("Anna Berg"), QStringLiteral("V"), 50, QStringLiteral("0000500000000000000000000000"));
    m_competition->addResult(2, QStringLiteral("Bernd Kurz"), QStringLiteral("V"));
    openWindow();
    // Bernd (no key) is the second row; his first shot is typed but the row not left.
    startAt(1, QStringLiteral("Ring1"));
    typeCells({QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
               QStringLiteral("10"), QStringLiteral("10")});
    QVERIFY(entryRows()->isDirty());
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Platz FROM Ergebnisse WHERE StartNr = 2")).toInt(), 1);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Platz FROM Ergebnisse WHERE StartNr = 1")).toInt(), 2);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Serie FROM Ergebnisse WHERE StartNr = 2")).toDouble(), 60.0);
}

void tst_ResultEntry::placesOnEmptyCompetitionChangeNothing()
{
    openWindow();
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), 0);
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
}

void tst_ResultEntry::placesFailureIsReportedAndProgramGoesOn()
{
    m_competition->addResult(1, QStringLiteral("Anna Berg"), QStringLiteral("V"), 50, QStringLiteral("0000500000000000000000000000"));
    openWindow();
    // Another program holds the file locked: writing the places fails.
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
    other.setDatabaseName(m_competition->path());
    QVERIFY(other.open());
    QSqlQuery lock(other);
    QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
    lock = QSqlQuery();
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));

    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QVERIFY(m_dialogs->shown().front().text.startsWith(QStringLiteral("Fehler: ")));
    QVERIFY(m_dialogs->shown().front().text.contains(QStringLiteral("Plätze")));
    QVERIFY(m_competition->scalar(QStringLiteral("SELECT Platz FROM Ergebnisse")).isNull());
    // The program goes on: the next F5 works.
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Platz FROM Ergebnisse")).toInt(), 1);
}

QTEST_MAIN(tst_ResultEntry)
#include "tst_resultentry.moc"
