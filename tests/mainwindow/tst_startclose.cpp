// The main window from start to close: the last competition loaded or not, load failures answered
// box by box, "Last" written on closing, typed results stored before the window loads another
// competition, and the keyboard in the entry grid once a competition is open.
#include "mainwindow/MainWindowSession.h"
#include "support/AccessFixtures.h"
#include "support/CheckConnection.h"
#include "support/NonRegularFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace GridInput;

namespace {

const QString Before = QStringLiteral("/ältere Sitzung/Kreis.wkd");

// A "Last" value for each way a stored path can be unusable: nothing there, or a file that passes
// the existence test but is no competition.
QVariant unusableLast(const QString &kind, const QTemporaryDir &scratch)
{
    const QString path = scratch.path() + QStringLiteral("/Kaputt.wkd");
    if (kind == QLatin1String("never stored"))
        return QVariant();
    if (kind == QLatin1String("blanks"))
        return QStringLiteral("   ");
    if (kind == QLatin1String("folder"))
        return QDir(scratch.path()).mkpath(QStringLiteral("Kaputt.wkd")) ? path : QString();
    if (NonRegularFiles::make(kind, path))
        return path;
    AccessFixtures::write(path, kind == QLatin1String("text file") ? "StartNr;Schuetze;Verein\r\n1;Anna;SV\r\n" : "");
    if (kind == QLatin1String("deleted file"))
        QFile::remove(path);
    if (kind == QLatin1String("title only")) {
        CheckConnection::exec(path, QStringLiteral("CREATE TABLE Wettkampf (Bezeichnung TEXT)"));
        CheckConnection::exec(path, QStringLiteral("INSERT INTO Wettkampf VALUES ('Nur ein Titel')"));
    }
    return path;
}

} // namespace

class tst_StartClose : public QObject
{
    Q_OBJECT

private slots:
    void startAndClose_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QVariant>("title"); // the title row's text; invalid: no title row
        QTest::addColumn<QString>("how");    // closed by "menu" or "frame", "deleted" by the menu after the file was deleted
        QTest::newRow("umlauts and blanks in the folders, closed by the frame")
            << "Verein Jürgen Mäder/Saison 2024 ÄÖÜ/Liga Runde 1.wkd" << QVariant("Schützenfest, Runde 1") << "frame";
        QTest::newRow("characters a file URI reads as syntax, apostrophes")
            << "d'Artagnan #3 (100% dabei) ?.wkd" << QVariant("Pokal des 'Alten Fritz'") << "menu";
        QTest::newRow("title row holding Null") << "ohne Titel.wkd" << QVariant(QMetaType(QMetaType::QString)) << "menu";
        QTest::newRow("empty title table, file deleted while open: Last keeps the old value")
            << "frisch.wkd" << QVariant() << "deleted";
    }

    // German numbers: no grouping, a whole ring stored as a double without decimals, Null empty. The
    // entry grid has the new-row line, the read-only winners list none, and heads its rings with
    // their numbers alone. That ID and the sort key stay hidden is the heading menu's test, that a
    // hidden column is left out of the view the printed list's.
    void startAndClose()
    {
        QFETCH(QString, fileName);
        QFETCH(QVariant, title);
        QFETCH(QString, how);
        const TestCompetition competition(fileName);
        if (title.isValid())
            competition.exec(QStringLiteral("INSERT INTO Wettkampf (Bezeichnung) VALUES (?)"), {title});
        addFive(competition);
        competition.exec(QStringLiteral("UPDATE Ergebnisse SET Ring2 = 9.0, Innenzehner = 0, Serie = 1043.5 WHERE ID = 3"));
        MainWindowSession session(competition.path());
        QVERIFY2(session.dialogs().shown().empty(), "loading a good competition shows no message");
        QCOMPARE(session.window().windowTitle(), QStringLiteral("Ringtal") + competition.path());
        QCOMPARE(session.window().CompetitionPath(), competition.path());
        QCOMPARE(session.title(), title.toString());
        for (DataGrid *grid : {session.entryGrid(), session.winnersGrid()}) {
            const bool entry = grid == session.entryGrid();
            QVERIFY(grid->isEnabled() && grid->columnCount() == 20);
            QCOMPARE(grid->model()->rowCount(), entry ? 6 : 5);
            QStringList shown;
            for (const char *field : {"Schuetze", "Serie", "Ring2", "Innenzehner", "Ring4"})
                shown << cellText(grid, 0, field);
            QCOMPARE(shown, QStringList({"Anna Weiß", "1043,5", "9", "0", ""}));
            QCOMPARE(grid->model()->headerData(grid->columnIndex(QStringLiteral("Ring10")), Qt::Horizontal).toString(),
                     entry ? QStringLiteral("Ring10") : QStringLiteral("10"));
        }
        // Another value in between shows that closing really wrote it.
        session.settings().write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), Before);
        if (how == QLatin1String("deleted"))
            QVERIFY(QFile::remove(competition.path()));
        session.window().show();
        QVERIFY(session.close(how == QLatin1String("frame") ? how : QStringLiteral("menu")));
        QCOMPARE(session.last(), how == QLatin1String("deleted") ? Before : competition.path());
        QVERIFY(session.dialogs().shown().empty());
    }

    void startFailure_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("runsThrough");
        QTest::addColumn<bool>("entryEnabled");
        QTest::addColumn<QString>("title");
        const int abort = 3, ignore = 5; // Retry is the error protocol's test
        // Without a file there is nothing to report; nor in a named pipe, which the start must not wait
        // for (sockets, devices and links are no file alike: FileExists's test).
        for (const char *kind : {"never stored", "blanks", "deleted file", "folder", "named pipe"})
            QTest::addRow("Last: %s", kind) << kind << QList<int>{} << false << false << "";
        // Each broken file fails at opening the entry rows, the winners rows and the title.
        QTest::newRow("text file: Abort stops at the first box") << "text file" << QList<int>{abort} << false << false << "";
        QTest::newRow("empty file: Ignore on every step runs through")
            << "empty file" << QList<int>{ignore, ignore, ignore} << true << true << "";
        QTest::newRow("text file: Ignore, then Abort at the winners list") << "text file" << QList<int>{ignore, abort} << false
                                                                          << true << "";
        // Only the two result sources fail; the title is read.
        QTest::newRow("title table only: Ignore twice shows the title")
            << "title only" << QList<int>{ignore, ignore} << true << true << "Nur ein Titel";
    }

    // The window stays usable; closing stores the path only when loading ran through, and never an
    // empty one.
    void startFailure()
    {
        QFETCH(QString, kind);
        QFETCH(QList<int>, answers);
        QFETCH(bool, runsThrough);
        QFETCH(bool, entryEnabled);
        QFETCH(QString, title);
        const QTemporaryDir scratch;
        const QVariant last = unusableLast(kind, scratch);
        std::unique_ptr<MainWindowSession> started;
        {
            const HangGuard guard(QStringLiteral("The start with Last: ") + kind);
            started = std::make_unique<MainWindowSession>(last, answers);
        }
        MainWindowSession &session = *started;
        QVERIFY2(session.dialogs().unexpected() == 0 && session.dialogs().allAnswersUsed(), "not one box per answer");
        static const QRegularExpression box(QStringLiteral("^Fehler: [1-9][0-9]* - \\S.*\nFehler beim Laden eines Wettkampfs$"));
        for (const ScriptedDialogs::Shown &shown : session.dialogs().shown())
            QVERIFY2(shown.kind == "error" && shown.title == "Fehler" && box.match(shown.text).hasMatch(), qPrintable(shown.text));
        QCOMPARE(session.window().windowTitle(), QStringLiteral("Ringtal") + (runsThrough ? last.toString() : QString()));
        QCOMPARE(session.window().CompetitionPath(), runsThrough ? last.toString() : QString());
        QVERIFY(session.entryGrid()->isEnabled() == entryEnabled && session.title() == title);
        QVERIFY(session.entryGrid()->model()->rowCount() == 0 && session.winnersGrid()->model()->rowCount() == 0);
        if (last.isValid())
            session.settings().write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), Before);
        session.window().show();
        QVERIFY(session.close());
        QCOMPARE(session.hasLast(), last.isValid());
        QCOMPARE(session.last(), !last.isValid() ? QString() : runsThrough ? last.toString() : Before);
        QCOMPARE(session.dialogs().shown().size(), std::size_t(answers.size()));
    }

    // Typed results are stored before another competition is loaded (storing them on closing is the
    // result entry's test). Rows of the sample: 1 Bauer, 2 Zeller (ID 4); the other competition holds
    // Anna alone.
    void pendingEditStoredOnLeaving_data()
    {
        QTest::addColumn<QStringList>("script"); // see GridInput::run
        QTest::newRow("ring with decimal comma, cell editor still open")
            << QStringList{"@2:Ring1", "9,5", "!file:OTHER", "#mnuDateiOpen", "?boxes 1", "?shown 2", "?cell 0:Schuetze=Anna",
                           "?rows 5", "?stored 4.Ring1=9.5"};
        QTest::newRow("new row on the new-row line")
            << QStringList{"@new:StartNr", "42", "<Tab>", "Kurz", "!file:OTHER", "#mnuDateiOpen", "?boxes 1", "?shown 2",
                           "?rows 6", "?stored 0.StartNr=42", "?stored 0.Schuetze=Kurz"};
    }

    void pendingEditStoredOnLeaving()
    {
        QFETCH(QStringList, script);
        const TestCompetition competition;
        addFive(competition);
        const TestCompetition other(QStringLiteral("zweiter.wkd"));
        other.addResult(7, QStringLiteral("Anna"), QStringLiteral("SV"));
        MainWindowSession session(competition.path());
        QVERIFY(session.showForTyping());
        run(session, competition, script.replaceInStrings(QStringLiteral("!file:OTHER"), "!file:" + other.path()));
    }

    // Digits typed right after a competition is opened are a start number, not a search: at the
    // start, before the window is shown, and by a command while the search box has the keyboard.
    void keysGoToTheEntryGrid_data()
    {
        QTest::addColumn<bool>("atStart");
        QTest::newRow("start with the last competition") << true;
        QTest::newRow("competition opened") << false;
    }

    void keysGoToTheEntryGrid()
    {
        QFETCH(bool, atStart);
        const TestCompetition competition;
        MainWindowSession session(atStart ? QVariant(competition.path()) : QVariant());
        session.window().show();
        QVERIFY(QTest::qWaitForWindowActive(&session.window()));
        if (!atStart) {
            session.window().findChild<QWidget *>(QStringLiteral("txtSuche"))->setFocus();
            session.dialogs().answerFile(competition.path());
            session.trigger(QStringLiteral("mnuDateiOpen"));
            QCOMPARE(session.dialogs().shown().size(), size_t(1));
        }
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(session.entryGrid()));
    }
};

QTEST_MAIN(tst_StartClose)
#include "tst_startclose.moc"
