// Two programs on one competition file (two PCs on a share): this window, and another program's
// connection that writes between this window's steps. Nothing typed here or stored there may be
// lost or overwritten unseen; a file deleted, replaced or made read-only under the window is named.
#include "mainwindow/MainWindowSession.h"
#include "support/OrdinaryUserFileAccess.h"

#include <QFile>

using namespace GridInput;

namespace {

// Ten nines for Zeller (ID 4, row 2, no shots yet), as the other program stores them.
const QString OtherShots = QStringLiteral(
    "$UPDATE Ergebnisse SET Ring1 = 9, Ring2 = 9, Ring3 = 9, Ring4 = 9, Ring5 = 9, Ring6 = 9, Ring7 = 9, Ring8 = 9, "
    "Ring9 = 9, Ring10 = 9, Serie = 90, Sortierung = '0000900000100000000000000000' WHERE ID = 4");
const QString OtherDeletes = QStringLiteral("$DELETE FROM Ergebnisse WHERE ID = 4");
const QString Changed = QStringLiteral("?box Die Zeile wurde inzwischen von einem anderen Programm geändert.");
const QString Deleted = QStringLiteral("?box Der Schütze wurde inzwischen von einem anderen Programm gelöscht.");

} // namespace

class tst_SharedFile : public QObject
{
    Q_OBJECT

private slots:
    // A row changed by the other program is asked about when stored: Yes puts the typed fields onto
    // the other's row and computes the score again, No takes the other's; a deleted one may be
    // stored as new. Afterwards the grid shows what the file holds.
    void storingAfterTheOtherProgram_data()
    {
        QTest::addColumn<QStringList>("script"); // see GridInput::run
        const QStringList typed{"@2:Verein", "SV Neu", "<Return>"};
        QTest::newRow("stored before this one went to the row: the club goes onto the shots")
            << QStringList{OtherShots, "@2:Verein", "SV Neu", "<Down>", "?boxes 0", "?stored 4.Verein=SV Neu",
                           "?stored 4.Ring1=9", "?stored 4.Serie=90", "?shown 6"};
        QTest::newRow("changed while typed here, Yes: the club onto the other's shots")
            << typed + QStringList{OtherShots, "!Yes", "<Down>", "?boxes 1", Changed, "?not pending", "?stored 4.Verein=SV Neu",
                                   "?stored 4.Ring1=9", "?stored 4.Serie=90"};
        QTest::newRow("changed while typed here, No: the other's row as it is")
            << typed + QStringList{OtherShots, "!No", "<Down>", "?boxes 1", Changed, "?not pending",
                                   "?stored 4.Verein=SSV Altdorf", "?stored 4.Serie=90"};
        QTest::newRow("deleted while typed here, Yes: stored as a new row")
            << typed + QStringList{OtherDeletes, "!Yes", "<Down>", "?boxes 1", Deleted, "?not pending", "?rows 5",
                                   "?stored 0.Verein=SV Neu", "?stored 0.StartNr=5", "?stored 0.Ring1=0", "?shown 6"};
        QTest::newRow("deleted while typed here, No: gone")
            << typed + QStringList{OtherDeletes, "!No", "<Down>", "?boxes 1", Deleted, "?not pending", "?rows 4", "?shown 5"};
        QTest::newRow("deleted before this one went to the row: nothing to store")
            << QStringList{OtherDeletes, "@1:Verein", "<Down>", "?boxes 0", "?rows 4", "?shown 5"};
        // Coming back to the window shows the other program's new shooter; the name being typed here
        // stays typed, in its row, with the cursor on it.
        // A PC that only shows the list is never activated: the other's rows come within a second.
        // Typing in a cell goes on where it was.
        const QString otherAdds = QStringLiteral(
            "$INSERT INTO Ergebnisse (StartNr, Schuetze, Verein, Serie, Sortierung) VALUES (2, 'Anderer PC', 'SV', 99, "
            "'0000990000000000000000000000')");
        QTest::newRow("the other's rows shown within a second while the window stands")
            << QStringList{otherAdds, "<wait 1000>", "?shown 7", "?cell 3:Schuetze=Anderer PC", "?boxes 0"};
        QTest::newRow("the other's rows shown while a cell is typed in, the cell kept open")
            << QStringList{"@1:Schuetze", "Bauer-Neu", otherAdds, "<wait 1000>", "?shown 7", "?cell 3:Schuetze=Anderer PC",
                           "?at 1:Schuetze", "-Ost", "<Down>", "?stored 1.Schuetze=Bauer-Neu-Ost", "?rows 6", "?boxes 0"};
        QTest::newRow("the other's rows shown while a new shooter is typed, the cell kept open")
            << QStringList{"@new:StartNr", "7", otherAdds, "<wait 1000>", "?shown 7", "?cell 3:Schuetze=Anderer PC", "8",
                           "<Tab>", "Neuer", "<Up>", "?stored 0.StartNr=78", "?stored 0.Schuetze=Neuer", "?rows 7", "?boxes 0"};
        // A failure that stays (the other program took the table away) is told once, not at every look.
        QTest::newRow("a lasting failure of the look told once")
            << QStringList{"$ALTER TABLE Ergebnisse RENAME TO Weg", "<wait 600>", "?boxes 1",
                           "?box Fehler: 3078 - Die Tabelle 'Ergebnisse' gibt es"};
        QTest::newRow("the other's rows shown when the window is activated")
            << QStringList{"@1:Schuetze", "Bauer-Neu",
                           "$INSERT INTO Ergebnisse (StartNr, Schuetze, Verein, Serie, Sortierung) VALUES (2, 'Anderer PC', 'SV', "
                           "99, '0000990000000000000000000000')",
                           "<activate>", "?shown 7", "?cell 3:Schuetze=Anderer PC", "?at 1:Schuetze", "?cell 1:Schuetze=Bauer-Neu",
                           "?pending", "<Down>", "?stored 1.Schuetze=Bauer-Neu", "?boxes 0"};
    }

    void storingAfterTheOtherProgram()
    {
        QFETCH(QStringList, script);
        const TestCompetition competition;
        addFive(competition);
        MainWindowSession session(competition.path());
        QVERIFY(session.showForTyping());
        run(session, competition, script);
    }

    // The messages say what happened, and the window never goes on showing rows as stored that the
    // file does not hold: deleted, the competition is closed; replaced, the new file is shown; made
    // read-only, the typed row stays in edit, to be stored once the file may be written again.
    void fileChangedWhileOpen_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("leave"); // how the typed row is left: a key, or "<activate>" the window
        QTest::addColumn<QStringList>("messages"); // starts of the messages, in order
        QTest::addColumn<QString>("firstName"); // first shooter shown afterwards; empty: the competition closed
        const QString gone = QStringLiteral("Die Wettkampfdatei '%1' gibt es nicht mehr");
        const QString replaced = QStringLiteral("Die Wettkampfdatei '%1' wurde durch eine andere Datei ersetzt");
        const QString readOnly = QStringLiteral("Fehler: 3027 - Die Datei '%1' ist schreibgeschützt");
        QTest::newRow("deleted, the typed row left") << "delete" << "<Down>" << QStringList{"Fehler: 3024 - " + gone, gone} << "";
        QTest::newRow("deleted, the window activated") << "delete" << "<activate>" << QStringList{gone} << "";
        QTest::newRow("replaced by another competition, the typed row left")
            << "replace" << "<Down>" << QStringList{"Fehler: 3024 - " + replaced, replaced} << "Anderer";
        QTest::newRow("made read-only, the typed row left") << "read-only" << "<Down>" << QStringList{readOnly} << "Anna Weiß";
        QTest::newRow("folder made read-only, the typed row left") << "read-only folder" << "<Down>" << QStringList{readOnly}
                                                                   << "Anna Weiß";
    }

    void fileChangedWhileOpen()
    {
        QFETCH(QString, change);
        QFETCH(QString, leave);
        QFETCH(QStringList, messages);
        QFETCH(QString, firstName);
        const TestCompetition competition;
        addFive(competition);
        const TestCompetition other(QStringLiteral("anderer.wkd"));
        other.addResult(1, QStringLiteral("Anderer"), QStringLiteral("SV"));
        for (const TestCompetition *file : {&competition, &other}) {
            QVERIFY(QFile::setPermissions(file->folder(), QFile::Permissions(0x7777)));
            QVERIFY(QFile::setPermissions(file->path(), QFile::Permissions(0x6666)));
        }
        auto access = std::make_unique<OrdinaryUserFileAccess>();
        if (access->rootNotDropped())
            QSKIP("running as root without the right to use files as another user");
        MainWindowSession session(competition.path());
        QVERIFY(session.showForTyping());
        run(session, competition, {"@0:Verein", "SV Neu", "<Return>"});
        access.reset(); // the owner changes the file
        if (change == QLatin1String("delete"))
            QVERIFY(QFile::remove(competition.path()));
        else if (change == QLatin1String("replace"))
            QVERIFY(::rename(QFile::encodeName(other.path()).constData(), QFile::encodeName(competition.path()).constData()) == 0);
        else
            QVERIFY(QFile::setPermissions(change.endsWith("folder") ? competition.folder() : competition.path(),
                                          QFile::Permissions(change.endsWith("folder") ? 0x5555 : 0x4444)));
        access = std::make_unique<OrdinaryUserFileAccess>();
        run(session, competition, {leave});
        QTest::qWait(20);
        QCOMPARE(session.dialogs().shown().size(), size_t(messages.size()));
        for (int i = 0; i < messages.size(); ++i)
            QVERIFY2(session.dialogs().shown().at(size_t(i)).text.startsWith(messages.at(i).arg(competition.path())),
                     qPrintable(session.dialogs().shown().at(size_t(i)).text));
        QCOMPARE(session.window().CompetitionPath(), firstName.isEmpty() ? QString() : competition.path());
        QCOMPARE(session.entryGrid()->isEnabled(), !firstName.isEmpty());
        if (firstName.isEmpty())
            QCOMPARE(session.entryGrid()->model()->rowCount(), 0);
        else
            QCOMPARE(cellText(session.entryGrid(), 0, QStringLiteral("Schuetze")), firstName);
        QCOMPARE(session.entryGrid()->hasPendingEdit(), change.startsWith(QLatin1String("read-only")));
        access.reset();
        QFile::setPermissions(competition.folder(), QFile::Permissions(0x7777));
    }
};

QTEST_MAIN(tst_SharedFile)
#include "tst_sharedfile.moc"
