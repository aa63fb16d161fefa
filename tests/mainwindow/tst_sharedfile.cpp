// Two programs on one competition file (two PCs on a share): this window, and
// another program's connection that writes between this window's steps.
// Nothing typed here or stored there may be lost or overwritten unseen.
#include "MainWindowSession.h"
#include "SampleShooters.h"

#include <QTabWidget>

using namespace GridInput;
using namespace SampleShooters;

namespace {

// Ten nines for Zeller (ID 4), as the other program stores them.
const QString OtherShots = QStringLiteral(
    "UPDATE Ergebnisse SET Ring1 = 9, Ring2 = 9, Ring3 = 9, Ring4 = 9, Ring5 = 9, Ring6 = 9, Ring7 = 9, Ring8 = 9, "
    "Ring9 = 9, Ring10 = 9, Serie = 90, Sortierung = '0000900000100000000000000000' WHERE ID = 4");
const QString OtherDeletes = QStringLiteral("DELETE FROM Ergebnisse WHERE ID = 4");

} // namespace

class tst_SharedFile : public QObject
{
    Q_OBJECT

private slots:
    void storingAfterTheOtherProgram_data();
    void storingAfterTheOtherProgram();
    void otherRowsShownWhenActivated();
};

// Rows of the grid: 0 Anna Weiß (ID 3), 1 Bauer (ID 1), 2 Zeller (ID 4, no shots yet).
void tst_SharedFile::storingAfterTheOtherProgram_data()
{
    QTest::addColumn<QStringList>("before");   // typed before the other program writes
    QTest::addColumn<QString>("other");        // what it writes
    QTest::addColumn<QStringList>("after");    // typed afterwards
    QTest::addColumn<int>("answer");           // to the question; 0: none asked
    QTest::addColumn<QString>("asked");        // start of the question
    QTest::addColumn<QVariantMap>("zeller");   // his row in the file afterwards, by name; empty: gone
    const int yes = int(Dialogs::Answer::Yes);
    const int no = int(Dialogs::Answer::No);
    const QString changed = QStringLiteral("Die Zeile wurde inzwischen von einem anderen Programm geändert.");
    const QString deleted = QStringLiteral("Der Schütze wurde inzwischen von einem anderen Programm gelöscht.");
    const QVariantMap both{{"Verein", "SV Neu"}, {"Ring1", 9}, {"Serie", 90}};
    QTest::newRow("stored before this one went to the row: the club goes onto the shots")
        << QStringList{} << OtherShots << QStringList{"@2:Verein", "SV Neu", "<Down>"} << 0 << QString() << both;
    QTest::newRow("changed while typed here, Yes: the club onto the other's shots")
        << QStringList{"@2:Verein", "SV Neu", "<Return>"} << OtherShots << QStringList{"<Down>"} << yes << changed
        << both;
    QTest::newRow("changed while typed here, No: the other's row as it is")
        << QStringList{"@2:Verein", "SV Neu", "<Return>"} << OtherShots << QStringList{"<Down>"} << no << changed
        << QVariantMap{{"Verein", "SSV Altdorf"}, {"Ring1", 9}, {"Serie", 90}};
    QTest::newRow("deleted while typed here, Yes: stored as a new row")
        << QStringList{"@2:Verein", "SV Neu", "<Return>"} << OtherDeletes << QStringList{"<Down>"} << yes << deleted
        << QVariantMap{{"Verein", "SV Neu"}, {"StartNr", 5}, {"Ring1", 0}};
    QTest::newRow("deleted while typed here, No: gone") << QStringList{"@2:Verein", "SV Neu", "<Return>"}
                                                        << OtherDeletes << QStringList{"<Down>"} << no << deleted
                                                        << QVariantMap{};
    QTest::newRow("deleted before this one went to the row: nothing to store")
        << QStringList{} << OtherDeletes << QStringList{"@1:Verein", "<Down>"} << 0 << QString() << QVariantMap{};
}

void tst_SharedFile::storingAfterTheOtherProgram()
{
    QFETCH(QStringList, before);
    QFETCH(QString, other);
    QFETCH(QStringList, after);
    QFETCH(int, answer);
    QFETCH(QString, asked);
    QFETCH(QVariantMap, zeller);
    const TestCompetition competition;
    addFive(competition);
    MainWindowSession session(competition.path());
    QVERIFY(session.showForTyping());
    play(session.entryGrid(), before);
    competition.exec(other);
    if (answer != 0)
        session.dialogs().answer(Dialogs::Answer(answer));
    play(session.entryGrid(), after);
    QCoreApplication::processEvents();

    QCOMPARE(session.dialogs().shown().size(), size_t(answer != 0 ? 1 : 0));
    if (answer != 0)
        QVERIFY2(session.dialogs().shown().front().text.startsWith(asked), qPrintable(session.dialogs().shown().front().text));
    QVERIFY(!session.entryGrid()->hasPendingEdit());
    const QList<QVariantMap> rows =
        competition.rows(QStringLiteral("SELECT * FROM Ergebnisse WHERE Schuetze = 'Zeller'"));
    QCOMPARE(rows.size(), zeller.isEmpty() ? 0 : 1);
    for (auto it = zeller.cbegin(); it != zeller.cend(); ++it)
        QCOMPARE(rows.first().value(it.key()).toString(), it.value().toString());
    // The grid shows what the file holds: four or five shooters and the new-row line.
    QCOMPARE(session.entryGrid()->model()->rowCount(), rowCount(competition) + 1);
    QCOMPARE(columnTexts(session.entryGrid(), QStringLiteral("Schuetze")).contains(QStringLiteral("Zeller")),
             !zeller.isEmpty());
}

// Coming back to the window shows the other program's new shooter; the name
// being typed here stays typed, in its row, with the cursor on it.
void tst_SharedFile::otherRowsShownWhenActivated()
{
    const TestCompetition competition;
    addFive(competition);
    MainWindowSession session(competition.path());
    QVERIFY(session.showForTyping());
    DataGrid *grid = session.entryGrid();
    play(grid, {"@1:Schuetze", "Bauer-Neu"});
    competition.addResult(2, QStringLiteral("Anderer PC"), QStringLiteral("SV"), 99.0,
                          QStringLiteral("0000990000000000000000000000"));
    QEvent activated(QEvent::ActivationChange);
    QApplication::sendEvent(&session.window(), &activated);
    QCoreApplication::processEvents();

    QCOMPARE(grid->model()->rowCount(), 7);
    QVERIFY(columnTexts(grid, QStringLiteral("Schuetze")).contains(QStringLiteral("Anderer PC")));
    QCOMPARE(cellText(grid, grid->currentIndex().row(), QStringLiteral("Schuetze")), QStringLiteral("Bauer-Neu"));
    QCOMPARE(fields().value(grid->currentIndex().column()), QStringLiteral("Schuetze"));
    QVERIFY(grid->hasPendingEdit());
    play(grid, {"<Down>"});
    QCOMPARE(competition.scalar(QStringLiteral("SELECT Schuetze FROM Ergebnisse WHERE ID = 1")).toString(),
             QStringLiteral("Bauer-Neu"));
    QVERIFY(session.dialogs().shown().empty());
}

QTEST_MAIN(tst_SharedFile)
#include "tst_sharedfile.moc"
