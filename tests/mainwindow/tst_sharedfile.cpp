// Two programs on one competition file (two PCs on a share): this window, and
// another program's connection that writes between this window's steps.
// Nothing typed here or stored there may be lost or overwritten unseen.
#include "mainwindow/MainWindowSession.h"
#include "mainwindow/SampleShooters.h"

#include "support/OrdinaryUserFileAccess.h"

#include <QFile>
#include <QTabWidget>
#include <memory>

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
    void fileChangedWhileOpen_data();
    void fileChangedWhileOpen();
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

// The file is deleted, replaced or made read-only under the open window:
// the messages say what happened, and the window never goes on showing rows
// as stored that the file does not hold.
void tst_SharedFile::fileChangedWhileOpen_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("leave");       // how the typed row is left: a key, or "activate" the window
    QTest::addColumn<QStringList>("messages"); // starts of the messages, in order
    QTest::addColumn<QString>("shownPath");   // competition open afterwards: "same", "" (none)
    QTest::addColumn<QString>("firstName");   // first shooter shown afterwards
    const QString gone = QStringLiteral("Die Wettkampfdatei '%1' gibt es nicht mehr");
    const QString replaced = QStringLiteral("Die Wettkampfdatei '%1' wurde durch eine andere Datei ersetzt");
    QTest::newRow("deleted, the typed row left") << "delete" << "<Down>"
                                                 << QStringList{"Fehler: 3024 - " + gone, gone} << "" << "";
    QTest::newRow("deleted, the window activated") << "delete" << "activate" << QStringList{gone} << "" << "";
    QTest::newRow("replaced by another competition, the typed row left")
        << "replace" << "<Down>" << QStringList{"Fehler: 3024 - " + replaced, replaced} << "same" << "Anderer";
    // The typed row stays in edit, to be stored once the file may be written again.
    const QString readOnly = QStringLiteral("Fehler: 3027 - Die Datei '%1' ist schreibgeschützt");
    QTest::newRow("made read-only, the typed row left") << "read-only" << "<Down>" << QStringList{readOnly} << "same"
                                                        << "Anna Weiß";
    QTest::newRow("folder made read-only, the typed row left") << "read-only folder" << "<Down>"
                                                               << QStringList{readOnly} << "same" << "Anna Weiß";
}

void tst_SharedFile::fileChangedWhileOpen()
{
    QFETCH(QString, change);
    QFETCH(QString, leave);
    QFETCH(QStringList, messages);
    QFETCH(QString, shownPath);
    QFETCH(QString, firstName);
    const TestCompetition competition;
    addFive(competition);
    const TestCompetition other(QStringLiteral("anderer.wkd"));
    other.addResult(1, QStringLiteral("Anderer"), QStringLiteral("SV"));
    for (const QString &path : {competition.folder(), other.folder()})
        QVERIFY(QFile::setPermissions(path, QFile::Permissions(0x7777)));
    for (const QString &path : {competition.path(), other.path()})
        QVERIFY(QFile::setPermissions(path, QFile::Permissions(0x6666)));
    auto access = std::make_unique<OrdinaryUserFileAccess>();
    if (access->rootNotDropped())
        QSKIP("running as root without the right to use files as another user");
    MainWindowSession session(competition.path());
    QVERIFY(session.showForTyping());
    play(session.entryGrid(), {"@0:Verein", "SV Neu", "<Return>"});
    access.reset(); // the owner changes the file
    if (change == QLatin1String("delete"))
        QVERIFY(QFile::remove(competition.path()));
    else if (change == QLatin1String("replace"))
        QVERIFY(::rename(QFile::encodeName(other.path()).constData(), QFile::encodeName(competition.path()).constData()) == 0);
    else if (change == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(competition.path(), QFile::ReadOwner | QFile::ReadOther));
    else
        QVERIFY(QFile::setPermissions(competition.folder(), QFile::Permissions(0x5555)));
    access = std::make_unique<OrdinaryUserFileAccess>();
    if (leave == QLatin1String("activate")) {
        QEvent activated(QEvent::ActivationChange);
        QApplication::sendEvent(&session.window(), &activated);
    } else {
        play(session.entryGrid(), {leave});
    }
    QTest::qWait(20);

    QStringList shown;
    for (const ScriptedDialogs::Shown &box : session.dialogs().shown())
        shown << box.text;
    QCOMPARE(shown.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i)
        QVERIFY2(shown.at(i).startsWith(messages.at(i).arg(competition.path())), qPrintable(shown.at(i)));
    QCOMPARE(session.window().CompetitionPath(), shownPath.isEmpty() ? QString() : competition.path());
    DataGrid *grid = session.entryGrid();
    QCOMPARE(grid->isEnabled(), !shownPath.isEmpty());
    if (!firstName.isEmpty())
        QCOMPARE(cellText(grid, 0, QStringLiteral("Schuetze")), firstName);
    else
        QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(grid->hasPendingEdit(), change.startsWith(QLatin1String("read-only")));
    access.reset();
    QFile::setPermissions(competition.folder(), QFile::Permissions(0x7777));
}

QTEST_MAIN(tst_SharedFile)
#include "tst_sharedfile.moc"
