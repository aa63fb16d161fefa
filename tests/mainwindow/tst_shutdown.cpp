#include "MainWindowSession.h"
#include "SampleShooters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace GridInput;
using namespace SampleShooters;

namespace {

const QString Before = QStringLiteral("/ältere Sitzung/Kreis.wkd");
constexpr qint64 NewRow = 0; // the row typed on the new-row line, not yet known by ID

// Goes to a cell of the entry grid with the mouse and types cells from there,
// Tab between them; the last cell is left as the finish key says.
void typeFrom(DataGrid *grid, int row, const QString &field, const QStringList &cells, const QString &finish)
{
    const int target = row < 0 ? grid->model()->rowCount() - 1 : row;
    clickCell(grid, target, column(field));
    typeCells(grid, cells.mid(0, cells.size() - 1));
    type(grid, cells.last());
    if (finish == QLatin1String("Return"))
        press(grid, Qt::Key_Return);
    else if (finish == QLatin1String("Tab"))
        press(grid, Qt::Key_Tab);
}

qint64 targetId(const TestCompetition &competition, qint64 id)
{
    if (id != NewRow)
        return id;
    return competition.scalar(QStringLiteral("SELECT max(ID) FROM Ergebnisse WHERE ID > 5")).toLongLong();
}

} // namespace

class TestShutdown : public QObject
{
    Q_OBJECT

private slots:
    void closeWithCompetitionWritesLast_data();
    void closeWithCompetitionWritesLast();
    void closeWithoutCompetitionKeepsLast_data();
    void closeWithoutCompetitionKeepsLast();
    void closeStoresPendingEdit_data();
    void closeStoresPendingEdit();
    void closeRefusedWhileEditCannotBeStored_data();
    void closeRefusedWhileEditCannotBeStored();
};

void TestShutdown::closeWithCompetitionWritesLast_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("deleteBeforeClose");
    QTest::addColumn<bool>("expectPath");
    QTest::addColumn<QString>("how");
    QTest::newRow("open competition, menu") << "wettkampf.wkd" << false << true << "menu";
    QTest::newRow("open competition, window frame") << "wettkampf.wkd" << false << true << "frame";
    QTest::newRow("umlauts and blanks in folder and name") << "Saison Jürgen/Runde Ä 1.wkd" << false << true
                                                           << "menu";
    QTest::newRow("file deleted while open keeps the old value") << "weg.wkd" << true << false << "menu";
}

void TestShutdown::closeWithCompetitionWritesLast()
{
    QFETCH(QString, fileName);
    QFETCH(bool, deleteBeforeClose);
    QFETCH(bool, expectPath);
    QFETCH(QString, how);
    const TestCompetition competition(fileName);
    competition.setTitle(QStringLiteral("Pokal"));
    addFive(competition);
    MainWindowSession session(competition.path());
    QCOMPARE(session.window().CompetitionPath(), competition.path());
    // Another value in between shows that closing really wrote it.
    session.settings().write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), Before);
    if (deleteBeforeClose)
        QVERIFY(QFile::remove(competition.path()));

    session.window().show();
    QVERIFY(session.close(how));

    QCOMPARE(session.last(), expectPath ? competition.path() : Before);
    QVERIFY(session.dialogs().shown().empty());
}

void TestShutdown::closeWithoutCompetitionKeepsLast_data()
{
    QTest::addColumn<QVariant>("last");
    QTest::newRow("Last never stored") << QVariant();
    QTest::newRow("Last empty") << QVariant(QString());
    QTest::newRow("Last names a missing file")
        << QVariant(QDir::tempPath() + QStringLiteral("/gibt es nicht/Kreis.wkd"));
    QTest::newRow("Last names a folder") << QVariant(QDir::tempPath());
}

void TestShutdown::closeWithoutCompetitionKeepsLast()
{
    QFETCH(QVariant, last);
    MainWindowSession session(last);
    QCOMPARE(session.window().CompetitionPath(), QString());

    session.window().show();
    QVERIFY(session.closeByMenu());

    QCOMPARE(session.hasLast(), last.isValid());
    QCOMPARE(session.last(), last.toString());
    QVERIFY(session.dialogs().shown().empty());
}

void TestShutdown::closeStoresPendingEdit_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("startField");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("finish");
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QVariantMap>("expected");
    QTest::addColumn<int>("expectedRows");
    // Rows of the grid: 0 Anna Weiß (ID 3), 1 Bauer (ID 1), 2 Zeller (ID 4); -1 the new-row line.
    QTest::newRow("name typed, cell editor still open")
        << 0 << "Schuetze" << QStringList{"Neumann"} << "" << qint64(3)
        << QVariantMap{{"Schuetze", "Neumann"}, {"StartNr", 1}} << 5;
    QTest::newRow("name confirmed with Enter, row not left")
        << 0 << "Schuetze" << QStringList{"Neumann"} << "Return" << qint64(3)
        << QVariantMap{{"Schuetze", "Neumann"}} << 5;
    QTest::newRow("club with umlauts and a comma, left with Tab")
        << 1 << "Verein" << QStringList{"SV Grün-Weiß, Ölbronn"} << "Tab" << qint64(1)
        << QVariantMap{{"Verein", "SV Grün-Weiß, Ölbronn"}, {"Schuetze", "Bauer"}} << 5;
    QTest::newRow("ring with decimal comma") << 2 << "Ring1" << QStringList{"9,5"} << "" << qint64(4)
                                             << QVariantMap{{"Ring1", 9.5}} << 5;
    QTest::newRow("several cells of one row") << 1 << "StartNr" << QStringList{"11", "Bäuerle", "SV Tell"} << ""
                                              << qint64(1)
                                              << QVariantMap{{"StartNr", 11}, {"Schuetze", "Bäuerle"}} << 5;
    QTest::newRow("new row typed on the new-row line")
        << -1 << "StartNr" << QStringList{"42", "Kurz"} << "" << NewRow
        << QVariantMap{{"StartNr", 42}, {"Schuetze", "Kurz"}} << 6;
}

void TestShutdown::closeStoresPendingEdit()
{
    QFETCH(int, row);
    QFETCH(QString, startField);
    QFETCH(QStringList, cells);
    QFETCH(QString, finish);
    QFETCH(qint64, id);
    QFETCH(QVariantMap, expected);
    QFETCH(int, expectedRows);
    const TestCompetition competition;
    addFive(competition);
    MainWindowSession session(competition.path());
    QVERIFY(session.showForTyping());
    DataGrid *grid = session.entryGrid();

    typeFrom(grid, row, startField, cells, finish);
    QCOMPARE(rowCount(competition), 5); // nothing stored before the close

    QVERIFY(session.closeByMenu());

    QVERIFY(session.dialogs().shown().empty());
    QCOMPARE(rowCount(competition), expectedRows);
    const qint64 target = targetId(competition, id);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(stored(competition, target, it.key()).toString(), it.value().toString());
    QCOMPARE(session.last(), competition.path());
}

void TestShutdown::closeRefusedWhileEditCannotBeStored_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("startField");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("badField");
    QTest::addColumn<QString>("correction");
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QVariantMap>("expected");
    QTest::addColumn<QString>("how");
    QTest::newRow("letters in the start number")
        << 0 << "StartNr" << QStringList{"12a"} << "StartNr" << "12" << qint64(3)
        << QVariantMap{{"StartNr", 12}, {"Schuetze", "Anna Weiß"}} << "menu";
    QTest::newRow("letters in the start number, closed by the window frame")
        << 0 << "StartNr" << QStringList{"12a"} << "StartNr" << "12" << qint64(3)
        << QVariantMap{{"StartNr", 12}, {"Schuetze", "Anna Weiß"}} << "frame";
    QTest::newRow("letters in the start number, then a name typed")
        << 0 << "StartNr" << QStringList{"zwölf", "Neumann"} << "StartNr" << "12" << qint64(3)
        << QVariantMap{{"StartNr", 12}, {"Schuetze", "Neumann"}} << "menu";
    QTest::newRow("start number too large for the field")
        << 1 << "StartNr" << QStringList{"99999999999"} << "StartNr" << "99" << qint64(1)
        << QVariantMap{{"StartNr", 99}} << "menu";
    QTest::newRow("letters for the inner tens on the new-row line")
        << -1 << "Schuetze" << QStringList{"Kurz", "SV Tell", "", "zwei"} << "Innenzehner" << "2" << NewRow
        << QVariantMap{{"Schuetze", "Kurz"}, {"Verein", "SV Tell"}, {"Innenzehner", 2}} << "menu";
}

void TestShutdown::closeRefusedWhileEditCannotBeStored()
{
    QFETCH(int, row);
    QFETCH(QString, startField);
    QFETCH(QStringList, cells);
    QFETCH(QString, badField);
    QFETCH(QString, correction);
    QFETCH(qint64, id);
    QFETCH(QVariantMap, expected);
    QFETCH(QString, how);
    const TestCompetition competition;
    addFive(competition);
    MainWindowSession session(competition.path());
    session.settings().write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), Before);
    QVERIFY(session.showForTyping());
    DataGrid *grid = session.entryGrid();
    const int editedRow = row < 0 ? grid->model()->rowCount() - 1 : row;
    const QList<QVariantMap> storedBefore = competition.rows(QStringLiteral("SELECT * FROM Ergebnisse ORDER BY ID"));

    typeFrom(grid, row, startField, cells, QString());
    QVERIFY2(!session.close(how), "the window closed although the typed row could not be stored");

    // One message, the window open, the database untouched, every typed cell still there.
    QCOMPARE(session.dialogs().shown().size(), std::size_t(1));
    QCOMPARE(session.dialogs().shown().front().kind, QStringLiteral("message"));
    QCOMPARE(session.dialogs().shown().front().title, QStringLiteral("Fehler"));
    QVERIFY(session.dialogs().shown().front().text.startsWith(QStringLiteral("Fehler: ")));
    QVERIFY(session.window().isVisible());
    QCOMPARE(competition.rows(QStringLiteral("SELECT * FROM Ergebnisse ORDER BY ID")), storedBefore);
    QCOMPARE(session.last(), Before);
    const int first = column(startField);
    for (int i = 0; i < cells.size(); ++i) {
        if (!cells.at(i).isEmpty())
            QCOMPARE(cellText(grid, editedRow, GridInput::fields().at(first + i)), cells.at(i));
    }
    QVERIFY(grid->hasPendingEdit());

    // Corrected, the same row is stored on the next close.
    clickCell(grid, editedRow, column(badField));
    type(grid, correction);
    press(grid, Qt::Key_Return);
    QVERIFY(session.close(how));
    QCOMPARE(session.dialogs().shown().size(), std::size_t(1));
    const qint64 target = targetId(competition, id);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(stored(competition, target, it.key()).toString(), it.value().toString());
    QCOMPARE(session.last(), competition.path());
}

QTEST_MAIN(TestShutdown)
#include "tst_shutdown.moc"
