// The main window from start to close: the last competition loaded or not,
// load failures answered box by box, "Last" written on closing, and typed
// results stored before the window closes or loads another competition.
#include "mainwindow/MainWindowSession.h"
#include "mainwindow/SampleShooters.h"
#include "support/AccessFixtures.h"
#include "support/CheckConnection.h"
#include "support/NonRegularFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace GridInput;
using namespace SampleShooters;

namespace {

const QString LoadFailed = QStringLiteral("Fehler beim Laden eines Wettkampfs");
const QString Before = QStringLiteral("/ältere Sitzung/Kreis.wkd");

// A "Last" value for each way a stored path can be unusable: nothing there,
// or a file that passes the existence test but is no competition.
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
    if (kind == QLatin1String("no tables")) {
        CheckConnection::exec(path, QStringLiteral("CREATE TABLE Zwischen (a)"));
        CheckConnection::exec(path, QStringLiteral("DROP TABLE Zwischen"));
    } else if (kind == QLatin1String("title only")) {
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
    void startAndClose_data();
    void startAndClose();
    void startFailure_data();
    void startFailure();
    void pendingEditStoredOnLeaving_data();
    void pendingEditStoredOnLeaving();
    void keysGoToTheEntryGrid_data();
    void keysGoToTheEntryGrid();
};

void tst_StartClose::startAndClose_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("titleRow");
    QTest::addColumn<QString>("bezeichnung");
    QTest::addColumn<QString>("expectedTitle");
    QTest::addColumn<QString>("how"); // closed by "menu" or "frame", "deleted" by the menu after the file was deleted
    QTest::newRow("umlauts and blanks in the folders, closed by the frame")
        << "Verein Jürgen Mäder/Saison 2024 ÄÖÜ/Liga Runde 1.wkd" << true << "Schützenfest, Runde 1"
        << "Schützenfest, Runde 1" << "frame";
    QTest::newRow("characters a file URI reads as syntax, apostrophes")
        << "d'Artagnan #3 (100% dabei) ?.wkd" << true << "Pokal des 'Alten Fritz'" << "Pokal des 'Alten Fritz'" << "menu";
    QTest::newRow("title row holding Null") << "ohne Titel.wkd" << true << QString() << "" << "menu";
    QTest::newRow("empty title table, file deleted while open: Last keeps the old value")
        << "frisch.wkd" << false << "" << "" << "deleted";
}

void tst_StartClose::startAndClose()
{
    QFETCH(QString, fileName);
    QFETCH(bool, titleRow);
    QFETCH(QString, bezeichnung);
    QFETCH(QString, expectedTitle);
    QFETCH(QString, how);
    const TestCompetition competition(fileName);
    if (titleRow)
        competition.exec(QStringLiteral("INSERT INTO Wettkampf (Bezeichnung) VALUES (?)"), {bezeichnung});
    addFive(competition);
    competition.exec(QStringLiteral("UPDATE Ergebnisse SET Ring2 = 9.0, Innenzehner = 0, Serie = 1043.5 WHERE ID = 3"));

    MainWindowSession session(competition.path());

    QVERIFY2(session.dialogs().shown().empty(), "loading a good competition shows no message");
    QCOMPARE(session.window().windowTitle(), QStringLiteral("Ringtal") + competition.path());
    QCOMPARE(session.window().CompetitionPath(), competition.path());
    QCOMPARE(session.title(), expectedTitle);
    for (const DataGrid *grid : {session.entryGrid(), session.winnersGrid()}) {
        QVERIFY(grid->isEnabled());
        // Five shooters; the entry grid has the new-row line, the read-only winners list none.
        QCOMPARE(grid->model()->rowCount(), grid == session.entryGrid() ? 6 : 5);
        QCOMPARE(cellText(grid, 0, QStringLiteral("Schuetze")), QStringLiteral("Anna Weiß"));
        // German numbers: no grouping, a whole ring stored as a double without decimals, Null empty.
        QCOMPARE(cellText(grid, 0, QStringLiteral("Serie")), QStringLiteral("1043,5"));
        QCOMPARE(cellText(grid, 0, QStringLiteral("Ring2")), QStringLiteral("9"));
        QCOMPARE(cellText(grid, 0, QStringLiteral("Innenzehner")), QStringLiteral("0"));
        QCOMPARE(cellText(grid, 0, QStringLiteral("Ring4")), QString());
        QCOMPARE(grid->columnCount(), 18);
        for (const QString &field : fields()) {
            const bool hidden = field == QLatin1String("ID") || field == QLatin1String("Sortierung");
            QVERIFY2(grid->isColumnHidden(column(field)) == hidden, qPrintable(field));
        }
    }
    // The winners list heads its rings with their numbers alone.
    QCOMPARE(session.entryGrid()->model()->headerData(column(QStringLiteral("Ring10")), Qt::Horizontal).toString(), QStringLiteral("Ring10"));
    QCOMPARE(session.winnersGrid()->model()->headerData(column(QStringLiteral("Ring10")), Qt::Horizontal).toString(), QStringLiteral("10"));

    // Another value in between shows that closing really wrote it.
    session.settings().write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), Before);
    if (how == QLatin1String("deleted"))
        QVERIFY(QFile::remove(competition.path()));
    session.window().show();
    QVERIFY(session.close(how));
    QCOMPARE(session.last(), how == QLatin1String("deleted") ? Before : competition.path());
    QVERIFY(session.dialogs().shown().empty());
}

void tst_StartClose::startFailure_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("runsThrough");
    QTest::addColumn<bool>("entryEnabled");
    QTest::addColumn<QString>("expectedTitle");
    const int abort = 3, retry = 4, ignore = 5;
    // Without a file there is nothing to report.
    // Nor in a named pipe, a socket or a device, which the start must not wait for.
    for (const char *kind : {"never stored", "blanks", "deleted file", "folder", "named pipe", "link to a named pipe",
                             "socket", "character device"})
        QTest::addRow("Last: %s", kind) << kind << QList<int>{} << false << false << "";
    // Each broken file fails at opening the entry rows, the winners rows and the title.
    QTest::newRow("text file: Abort stops at the first box") << "text file" << QList<int>{abort} << false << false << "";
    QTest::newRow("SQLite file without tables: Retry then Abort shows the box twice")
        << "no tables" << QList<int>{retry, abort} << false << false << "";
    QTest::newRow("empty file: Ignore on every step runs through")
        << "empty file" << QList<int>{ignore, ignore, ignore} << true << true << "";
    QTest::newRow("text file: Ignore, then Abort at the winners list")
        << "text file" << QList<int>{ignore, abort} << false << true << "";
    // Only the two result sources fail; the title is read.
    QTest::newRow("title table only: Ignore twice shows the title")
        << "title only" << QList<int>{ignore, ignore} << true << true << "Nur ein Titel";
}

void tst_StartClose::startFailure()
{
    QFETCH(QString, kind);
    QFETCH(QList<int>, answers);
    QFETCH(bool, runsThrough);
    QFETCH(bool, entryEnabled);
    QFETCH(QString, expectedTitle);
    const QTemporaryDir scratch;
    const QVariant last = unusableLast(kind, scratch);
    const QString path = last.toString();

    std::unique_ptr<MainWindowSession> started;
    {
        const HangGuard guard(QStringLiteral("The start with Last: ") + kind);
        started = std::make_unique<MainWindowSession>(last, answers);
    }
    MainWindowSession &session = *started;

    QCOMPARE(session.dialogs().unexpected(), 0);
    QVERIFY2(session.dialogs().allAnswersUsed(), "fewer boxes than answers");
    static const QRegularExpression box(QStringLiteral("^Fehler: [1-9][0-9]* - \\S.*\n") + LoadFailed + "$");
    for (const ScriptedDialogs::Shown &shown : session.dialogs().shown()) {
        QCOMPARE(shown.kind, QStringLiteral("error"));
        QCOMPARE(shown.title, QStringLiteral("Fehler"));
        QVERIFY2(box.match(shown.text).hasMatch(), qPrintable(shown.text));
    }
    QCOMPARE(session.window().windowTitle(), runsThrough ? QStringLiteral("Ringtal") + path : QStringLiteral("Ringtal"));
    QCOMPARE(session.window().CompetitionPath(), runsThrough ? path : QString());
    QCOMPARE(session.entryGrid()->isEnabled(), entryEnabled);
    QCOMPARE(session.title(), expectedTitle);
    QCOMPARE(session.entryGrid()->model()->rowCount(), 0);
    QCOMPARE(session.winnersGrid()->model()->rowCount(), 0);

    // The window stays usable: closing stores the path only when loading ran
    // through, and never stores an empty one.
    if (last.isValid())
        session.settings().write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), Before);
    session.window().show();
    QVERIFY(session.closeByMenu());
    QCOMPARE(session.hasLast(), last.isValid());
    if (last.isValid())
        QCOMPARE(session.last(), runsThrough ? path : Before);
    QCOMPARE(session.dialogs().shown().size(), std::size_t(answers.size()));
}

void tst_StartClose::pendingEditStoredOnLeaving_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("how"); // "menu", "frame" (closing) or "open" (another competition)
    QTest::addColumn<qint64>("id");   // 0: the new row
    QTest::addColumn<QVariantMap>("expected");
    // Rows of the grid: 0 Anna Weiß (ID 3), 1 Bauer (ID 1), 2 Zeller (ID 4).
    QTest::newRow("name typed, cell editor still open, closed by the menu")
        << QStringList{"@0:Schuetze", "Neumann"} << "menu" << qint64(3)
        << QVariantMap{{"Schuetze", "Neumann"}, {"StartNr", 1}};
    QTest::newRow("club with umlauts and a comma, confirmed, closed by the window frame")
        << QStringList{"@1:Verein", "SV Grün-Weiß, Ölbronn", "<Return>"} << "frame" << qint64(1)
        << QVariantMap{{"Verein", "SV Grün-Weiß, Ölbronn"}, {"Schuetze", "Bauer"}};
    QTest::newRow("ring with decimal comma, another competition opened")
        << QStringList{"@2:Ring1", "9,5"} << "open" << qint64(4) << QVariantMap{{"Ring1", 9.5}};
    QTest::newRow("new row on the new-row line, another competition opened")
        << QStringList{"@new:StartNr", "42", "<Tab>", "Kurz"} << "open" << qint64(0)
        << QVariantMap{{"StartNr", 42}, {"Schuetze", "Kurz"}};
}

void tst_StartClose::pendingEditStoredOnLeaving()
{
    QFETCH(QStringList, script);
    QFETCH(QString, how);
    QFETCH(qint64, id);
    QFETCH(QVariantMap, expected);
    const TestCompetition competition;
    addFive(competition);
    const TestCompetition other(QStringLiteral("zweiter.wkd"));
    other.addResult(7, QStringLiteral("Anna"), QStringLiteral("SV"));
    MainWindowSession session(competition.path());
    QVERIFY(session.showForTyping());
    play(session.entryGrid(), script);
    QCOMPARE(rowCount(competition), 5); // nothing stored yet

    if (how == QLatin1String("open")) {
        session.dialogs().answerFile(other.path());
        session.window().findChild<QAction *>(QStringLiteral("mnuDateiOpen"))->trigger();
        QCOMPARE(session.window().CompetitionPath(), other.path());
        QCOMPARE(columnTexts(session.entryGrid(), QStringLiteral("Schuetze")), (QStringList{"Anna", ""}));
        QCOMPARE(session.dialogs().shown().size(), std::size_t(1)); // the open dialog
    } else {
        QVERIFY(session.close(how));
        QVERIFY(session.dialogs().shown().empty());
        QCOMPARE(session.last(), competition.path());
    }
    QCOMPARE(rowCount(competition), id == 0 ? 6 : 5);
    if (id == 0)
        id = competition.scalar(QStringLiteral("SELECT max(ID) FROM Ergebnisse")).toLongLong();
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(stored(competition, id, it.key()).toString(), it.value().toString());
}

// Digits typed right after a competition is opened are a start number, not a search.
void tst_StartClose::keysGoToTheEntryGrid_data()
{
    QTest::addColumn<QString>("how"); // "start", or the menu command that opens it
    QTest::newRow("start with the last competition") << "start";
    QTest::newRow("new competition") << "mnuDateiNeu";
    QTest::newRow("competition opened") << "mnuDateiOpen";
}

void tst_StartClose::keysGoToTheEntryGrid()
{
    QFETCH(QString, how);
    const TestCompetition competition;
    addFive(competition);
    const QTemporaryDir folder;
    MainWindowSession session(how == QLatin1String("start") ? QVariant(competition.path()) : QVariant());
    session.window().show();
    QVERIFY(QTest::qWaitForWindowActive(&session.window()));
    if (how != QLatin1String("start")) {
        session.window().findChild<QWidget *>(QStringLiteral("txtSuche"))->setFocus();
        session.dialogs().answerFile(how == QLatin1String("mnuDateiNeu") ? folder.filePath(QStringLiteral("neu.wkd"))
                                                                         : competition.path());
        session.window().findChild<QAction *>(how)->trigger();
        QCOMPARE(session.dialogs().shown().size(), size_t(1));
    }
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(session.entryGrid()));
}

QTEST_MAIN(tst_StartClose)
#include "tst_startclose.moc"
