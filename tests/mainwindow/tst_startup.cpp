#include "MainWindowSession.h"
#include "Recordset.h"
#include "SampleShooters.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace GridInput;
using namespace SampleShooters;

namespace {

const QString LoadFailed = QStringLiteral("Fehler beim Laden eines Wettkampfs");

// A "Last" value for each way a stored path can be unusable.
QVariant unusableLast(const QString &kind, const QTemporaryDir &scratch)
{
    if (kind == QLatin1String("never stored"))
        return QVariant();
    if (kind == QLatin1String("empty"))
        return QString();
    if (kind == QLatin1String("blanks"))
        return QStringLiteral("   ");
    if (kind == QLatin1String("deleted file")) {
        const QString path = scratch.path() + QStringLiteral("/gelöscht.wkd");
        if (!QFile::copy(TestCompetition::templatePath(), path) || !QFile::remove(path))
            qFatal("cannot create and delete %s", qPrintable(path));
        return path;
    }
    if (kind == QLatin1String("folder")) {
        QDir(scratch.path()).mkpath(QStringLiteral("Wettkampf.wkd"));
        return scratch.path() + QStringLiteral("/Wettkampf.wkd");
    }
    return scratch.path() + QStringLiteral("/gibt es nicht/Kreis.wkd");
}

enum class Broken { TextFile, NoTables, EmptyFile, TitleOnly };

// Files that pass the existence test but are no competition.
QString makeBrokenFile(Broken kind, const QTemporaryDir &scratch)
{
    const QString path = scratch.path() + QStringLiteral("/Kaputt.wkd");
    if (kind == Broken::TextFile || kind == Broken::EmptyFile) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        if (kind == Broken::TextFile)
            file.write("StartNr;Schuetze;Verein\r\n1;Anna Weiß;SV Tell\r\n");
        return path;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("broken"));
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot create %s", qPrintable(path));
        QSqlQuery q(db);
        if (kind == Broken::NoTables) {
            q.exec(QStringLiteral("CREATE TABLE Zwischen (a)"));
            q.exec(QStringLiteral("DROP TABLE Zwischen"));
        } else {
            q.exec(QStringLiteral("CREATE TABLE Wettkampf (Bezeichnung TEXT)"));
            q.exec(QStringLiteral("INSERT INTO Wettkampf VALUES ('Nur ein Titel')"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("broken"));
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly) || written.read(16) != QByteArray("SQLite format 3", 16))
        qFatal("%s is no SQLite file", qPrintable(path));
    return path;
}

} // namespace

Q_DECLARE_METATYPE(Broken)

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void startWithoutCompetition_data();
    void startWithoutCompetition();
    void startWithCompetition_data();
    void startWithCompetition();
    void startShowsRowsBestFirst_data();
    void startShowsRowsBestFirst();
    void loadFailure_data();
    void loadFailure();
};

void TestStartup::startWithoutCompetition_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("Last never stored") << "never stored";
    QTest::newRow("Last empty") << "empty";
    QTest::newRow("Last only blanks") << "blanks";
    QTest::newRow("Last names a deleted file") << "deleted file";
    QTest::newRow("Last names a folder") << "folder";
    QTest::newRow("Last names a file in a missing folder") << "missing folder";
}

void TestStartup::startWithoutCompetition()
{
    QFETCH(QString, kind);
    const QTemporaryDir scratch;
    const QVariant last = unusableLast(kind, scratch);
    MainWindowSession session(last);

    QVERIFY2(session.dialogs().shown().empty(), "a start without a usable competition shows no message");
    QCOMPARE(session.window().windowTitle(), QStringLiteral("Ringtal"));
    QCOMPARE(session.window().CompetitionPath(), QString());
    QCOMPARE(session.title(), QString());
    QVERIFY(!session.entryGrid()->isEnabled());
    QCOMPARE(session.entryGrid()->model()->rowCount(), 0);
    QCOMPARE(session.winnersGrid()->model()->rowCount(), 0);
    // The stale value stays for the next start.
    QCOMPARE(session.hasLast(), last.isValid());
    if (last.isValid())
        QCOMPARE(session.last(), last.toString());
}

void TestStartup::startWithCompetition_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("titleRow");
    QTest::addColumn<QString>("bezeichnung");
    QTest::addColumn<QString>("expectedTitle");
    QTest::newRow("plain name with title") << "wettkampf.wkd" << true << "Kreismeisterschaft 2024"
                                           << "Kreismeisterschaft 2024";
    QTest::newRow("umlauts and blanks in the file name")
        << "Schützenfest Große Halle 2024.wkd" << true << "Schützenfest der Gemeinde Überlingen"
        << "Schützenfest der Gemeinde Überlingen";
    QTest::newRow("umlauts and blanks in the folders")
        << "Verein Jürgen Mäder/Saison 2024 ÄÖÜ/Liga Runde 1.wkd" << true << "Liga, Runde 1"
        << "Liga, Runde 1";
    QTest::newRow("characters a file URI reads as syntax")
        << "Runde #3 (100% dabei) ?.wkd" << true << "Runde #3" << "Runde #3";
    QTest::newRow("apostrophes in path and title") << "d'Artagnan Pokal.wkd" << true
                                                   << "Pokal des 'Alten Fritz'" << "Pokal des 'Alten Fritz'";
    QTest::newRow("title row holding Null") << "ohne Titel.wkd" << true << QString() << "";
    QTest::newRow("title of NUL characters") << "nul.wkd" << true << QString(3, QChar(0)) << "";
    QTest::newRow("empty title table") << "frisch.wkd" << false << "" << "";
}

void TestStartup::startWithCompetition()
{
    QFETCH(QString, fileName);
    QFETCH(bool, titleRow);
    QFETCH(QString, bezeichnung);
    QFETCH(QString, expectedTitle);
    const TestCompetition competition(fileName);
    if (titleRow)
        competition.exec(QStringLiteral("INSERT INTO Wettkampf (Bezeichnung) VALUES (?)"), {bezeichnung});
    if (titleRow && !bezeichnung.isNull()) // the fixture itself: every character arrived, NULs too
        QCOMPARE(competition.scalar(QStringLiteral("SELECT length(CAST(Bezeichnung AS BLOB)) FROM Wettkampf")).toInt(),
                 int(bezeichnung.toUtf8().size()));
    addFive(competition);

    MainWindowSession session(competition.path());

    QVERIFY2(session.dialogs().shown().empty(), "loading a good competition shows no message");
    QCOMPARE(session.window().windowTitle(), QStringLiteral("Ringtal") + competition.path());
    QCOMPARE(session.window().CompetitionPath(), competition.path());
    QCOMPARE(session.title(), expectedTitle);
    QVERIFY(session.entryGrid()->isEnabled());
    QVERIFY(session.winnersGrid()->isEnabled());
    for (const DataGrid *grid : {session.entryGrid(), session.winnersGrid()}) {
        // Five shooters and the new-row line below them.
        QCOMPARE(grid->model()->rowCount(), 6);
        QCOMPARE(grid->recordset()->rowCount(), 5);
        QCOMPARE(cellText(grid, 0, QStringLiteral("StartNr")), QStringLiteral("1"));
        QCOMPARE(cellText(grid, 0, QStringLiteral("Schuetze")), QStringLiteral("Anna Weiß"));
        QCOMPARE(cellText(grid, 0, QStringLiteral("Verein")), QStringLiteral("SV Tell"));
        QCOMPARE(cellText(grid, 0, QStringLiteral("Serie")), QStringLiteral("98,7"));
        QCOMPARE(cellText(grid, 5, QStringLiteral("Schuetze")), QString());
    }
}

void TestStartup::startShowsRowsBestFirst_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QList<QStringList>>("expectedGroups");
    QTest::newRow("three keys, two rows without key")
        << QStringList{"Bauer", "Öztürk", "Anna Weiß", "Zeller", "Dreher"}
        << QStringList{KeyMiddle, "", KeyBest, KeyLow, ""}
        << QList<QStringList>{{"Anna Weiß"}, {"Bauer"}, {"Zeller"}, {"Öztürk", "Dreher"}};
    QTest::newRow("row without key inserted first")
        << QStringList{"Öztürk", "Zeller", "Anna Weiß"} << QStringList{"", KeyLow, KeyBest}
        << QList<QStringList>{{"Anna Weiß"}, {"Zeller"}, {"Öztürk"}};
    QTest::newRow("tie stays together between the others")
        << QStringList{"Zeller", "Bauer", "Anna Weiß", "Cem"} << QStringList{KeyLow, KeyMiddle, KeyBest, KeyMiddle}
        << QList<QStringList>{{"Anna Weiß"}, {"Bauer", "Cem"}, {"Zeller"}};
    // As numbers 10 would lead; as text "9" comes first.
    QTest::newRow("keys compare as text, not as numbers")
        << QStringList{"Lang", "Kurz"} << QStringList{"10", "9"} << QList<QStringList>{{"Kurz"}, {"Lang"}};
    QTest::newRow("only rows without key") << QStringList{"Öztürk", "Dreher"} << QStringList{"", ""}
                                           << QList<QStringList>{{"Öztürk", "Dreher"}};
    QTest::newRow("no rows at all") << QStringList{} << QStringList{} << QList<QStringList>{};
}

void TestStartup::startShowsRowsBestFirst()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, keys);
    QFETCH(QList<QStringList>, expectedGroups);
    const TestCompetition competition;
    competition.setTitle(QStringLiteral("Reihenfolge"));
    for (int i = 0; i < names.size(); ++i)
        competition.addResult(i + 1, names.at(i), QStringLiteral("SV Tell"), QVariant(),
                              keys.at(i).isEmpty() ? QString() : keys.at(i));

    MainWindowSession session(competition.path());
    QVERIFY(session.dialogs().shown().empty());

    for (const DataGrid *grid : {session.entryGrid(), session.winnersGrid()}) {
        const QStringList shown = columnTexts(grid, QStringLiteral("Schuetze"));
        QCOMPARE(shown.size(), names.size() + 1);
        QCOMPARE(shown.last(), QString()); // the new-row line
        // Rows with equal keys (and all rows without one) may come in any order among themselves.
        int at = 0;
        for (const QStringList &group : expectedGroups) {
            const QStringList part = shown.mid(at, group.size());
            QCOMPARE(QSet<QString>(part.begin(), part.end()), QSet<QString>(group.begin(), group.end()));
            at += int(group.size());
        }
    }
}

void TestStartup::loadFailure_data()
{
    QTest::addColumn<Broken>("kind");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("runsThrough");
    QTest::addColumn<bool>("entryEnabled");
    QTest::addColumn<QString>("expectedTitle");
    const int abort = 3, retry = 4, ignore = 5;
    const QList<std::pair<const char *, Broken>> kinds{{"text file renamed .wkd", Broken::TextFile},
                                                      {"SQLite file without tables", Broken::NoTables},
                                                      {"empty file", Broken::EmptyFile}};
    // Each of these fails at opening the entry rows, the winners rows and the title.
    for (const auto &[name, kind] : kinds) {
        QTest::addRow("%s: Abort stops at the first box", name) << kind << QList<int>{abort} << false << false << "";
        QTest::addRow("%s: Retry then Abort shows the box twice", name)
            << kind << QList<int>{retry, abort} << false << false << "";
        QTest::addRow("%s: Ignore on every step runs through", name)
            << kind << QList<int>{ignore, ignore, ignore} << true << true << "";
        QTest::addRow("%s: Ignore, then Abort at the winners list", name)
            << kind << QList<int>{ignore, abort} << false << true << "";
    }
    // Only the two result sources fail; the title is read.
    QTest::newRow("title table only: Ignore twice shows the title")
        << Broken::TitleOnly << QList<int>{ignore, ignore} << true << true << "Nur ein Titel";
    QTest::newRow("title table only: Retry, Retry, Abort")
        << Broken::TitleOnly << QList<int>{retry, retry, abort} << false << false << "";
}

void TestStartup::loadFailure()
{
    QFETCH(Broken, kind);
    QFETCH(QList<int>, answers);
    QFETCH(bool, runsThrough);
    QFETCH(bool, entryEnabled);
    QFETCH(QString, expectedTitle);
    const QTemporaryDir scratch;
    const QString path = makeBrokenFile(kind, scratch);

    MainWindowSession session(path, answers);

    QCOMPARE(session.dialogs().unexpected(), 0);
    QVERIFY2(session.dialogs().allAnswersUsed(), "fewer boxes than answers");
    QCOMPARE(session.dialogs().shown().size(), std::size_t(answers.size()));
    static const QRegularExpression firstLine(QStringLiteral("^Fehler: [1-9][0-9]* - \\S.*$"));
    for (const ScriptedDialogs::Shown &box : session.dialogs().shown()) {
        QCOMPARE(box.kind, QStringLiteral("error"));
        QCOMPARE(box.title, QStringLiteral("Fehler"));
        const QStringList lines = box.text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(firstLine.match(lines.at(0)).hasMatch(), qPrintable(lines.at(0)));
        QCOMPARE(lines.at(1), LoadFailed);
    }
    const QString caption = runsThrough ? QStringLiteral("Ringtal") + path : QStringLiteral("Ringtal");
    QCOMPARE(session.window().windowTitle(), caption);
    QCOMPARE(session.window().CompetitionPath(), runsThrough ? path : QString());
    QCOMPARE(session.entryGrid()->isEnabled(), entryEnabled);
    QCOMPARE(session.title(), expectedTitle);
    QCOMPARE(session.entryGrid()->model()->rowCount(), 0);
    QCOMPARE(session.winnersGrid()->model()->rowCount(), 0);

    // The window stays usable: closing stores the path only when loading ran through.
    session.settings().write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), QStringLiteral("vorher"));
    session.window().show();
    QVERIFY(session.closeByMenu());
    QCOMPARE(session.last(), runsThrough ? path : QStringLiteral("vorher"));
    QCOMPARE(session.dialogs().shown().size(), std::size_t(answers.size()));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
