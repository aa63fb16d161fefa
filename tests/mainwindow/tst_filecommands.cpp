// The file commands of the main window: New, Open (an Access competition
// taken over into a new file), the title, and Exportieren... writing the
// winners list as CSV, read back by Python's csv module; and each of them
// refused without harm when it cannot be done.
#include "mainwindow/MainWindowSession.h"
#include "store/DataSource.h"
#include "store/Recordset.h"
#include "support/AccessFixtures.h"
#include "support/CheckConnection.h"
#include "support/IndependentCsv.h"
#include "support/NonRegularFiles.h"

#include <QCryptographicHash>
#include <QDir>

namespace {

using Records = QList<QStringList>;

QByteArray sha(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList ringHeadings()
{
    QStringList heading;
    for (int ring = 1; ring <= 10; ++ring)
        heading << QString::number(ring);
    return heading;
}

int count(const QString &path)
{
    return CheckConnection::scalar(path, QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt();
}

} // namespace

class tst_FileCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newCompetition_data();
    void newCompetition();
    void open_data();
    void open();
    void title_data();
    void title();
    void refused_data();
    void refused();
    void exportWritesTheWinnersList();
    void exportFollowsTheShownColumns();

private:
    void openSession(bool withCompetition = true)
    {
        m_session = std::make_unique<MainWindowSession>(withCompetition ? QVariant(m_competition->path()) : QVariant());
    }
    void trigger(const QString &action) { m_session->window().findChild<QAction *>(action)->trigger(); }
    ScriptedDialogs &dialogs() { return m_session->dialogs(); }
    int shownRows(const char *source) const
    {
        const Recordset *rs = m_session->window().findChild<DataSource *>(QLatin1String(source))->recordset();
        return rs ? rs->rowCount() : -1;
    }
    QString exportTo(const QString &fileName);
    const ScriptedDialogs::Shown &lastShown() const { return m_session->dialogs().shown().back(); }
    QString folderFile(const QString &name) const { return m_competition->folder() + QLatin1Char('/') + name; }
    QStringList shownKinds() const
    {
        QStringList kinds;
        for (const ScriptedDialogs::Shown &shown : m_session->dialogs().shown())
            kinds << shown.kind;
        return kinds;
    }
    // The window on `path` with `rows` shooters, and closing stores it as the last competition.
    void checkShowsAndCloses(const QString &path, int rows);

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<MainWindowSession> m_session;
};

void tst_FileCommands::init()
{
    m_competition = std::make_unique<TestCompetition>(QStringLiteral("Kreis Meisterschaft.wkd"));
    m_competition->setTitle(QStringLiteral("Kreismeisterschaft"));
    m_competition->addResult(1, QStringLiteral("Jürgen Müßig"), QStringLiteral("SV Grün-Weiß"), 98.7,
                             QStringLiteral("0000990000000000000000000000"),
                             {10.4, 9.8, 10.0, 9.0, 10.0, 10.0, 9.9, 10.0, 9.6, 10.0});
    m_competition->addResult(3, QStringLiteral("Meier; Hans"), QStringLiteral("SG \"Tell\""), 95,
                             QStringLiteral("0000950000000000000000000000"));
    m_competition->exec(QStringLiteral("INSERT INTO Ergebnisse (StartNr, Schuetze) VALUES (2, 'Karl-Heinz O''Brien')"));
}

void tst_FileCommands::cleanup()
{
    m_session.reset();
    m_competition.reset();
}

void tst_FileCommands::checkShowsAndCloses(const QString &path, int rows)
{
    QCOMPARE(m_session->window().CompetitionPath(), path);
    QCOMPARE(m_session->window().windowTitle(), QStringLiteral("Ringtal") + path);
    QCOMPARE(shownRows("Data1"), rows);
    QCOMPARE(shownRows("Data2"), rows);
    QVERIFY(m_session->close());
    QCOMPARE(m_session->last(), path);
}

// ---------------------------------------------------------------- new, open, title

void tst_FileCommands::newCompetition_data()
{
    QTest::addColumn<QString>("target"); // empty: the dialog cancelled; "open": the open competition
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<int>("rows");
    QTest::newRow("cancelled") << "" << Dialogs::Answer::No << 3;
    QTest::newRow("a new file: a copy of the template") << "Neuer Wettkampf #2.wkd" << Dialogs::Answer::No << 0;
    QTest::newRow("the open competition, No keeps it") << "open" << Dialogs::Answer::No << 3;
    QTest::newRow("the open competition, Yes makes it anew") << "open" << Dialogs::Answer::Yes << 0;
}

void tst_FileCommands::newCompetition()
{
    QFETCH(QString, target);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(int, rows);
    const bool onTheOpen = target == QLatin1String("open");
    const QString path = onTheOpen || target.isEmpty() ? m_competition->path() : folderFile(target);
    openSession();
    dialogs().answerFile(target.isEmpty() ? QString() : path);
    dialogs().answer(answer);
    trigger(QStringLiteral("mnuDateiNeu"));
    QCOMPARE(shownKinds(), onTheOpen ? QStringList({"save", "question"}) : QStringList{"save"});
    const ScriptedDialogs::Shown &save = dialogs().shown().front();
    QCOMPARE(save.request.title, QStringLiteral("Bitte neuen Wettkampfnamen wählen:"));
    QCOMPARE(save.request.defaultSuffix, QStringLiteral("wkd"));
    QVERIFY(save.request.confirmOverwrite);
    if (onTheOpen) {
        QCOMPARE(lastShown().title, QStringLiteral("Hinweis"));
        QCOMPARE(lastShown().text, QStringLiteral("Soll der geöffnete Wettkampf wirklich gelöscht werden?"));
        QCOMPARE(lastShown().icon, Dialogs::Icon::Exclamation);
    }
    QCOMPARE(count(path), rows);
    // The template holds no title: a new competition shows none, not the previous one's.
    QCOMPARE(m_session->title(), rows == 0 ? QString() : QStringLiteral("Kreismeisterschaft"));
    QVERIFY(m_session->entryGrid()->isEnabled());
    checkShowsAndCloses(path, rows);
}

void tst_FileCommands::open_data()
{
    QTest::addColumn<QString>("file"); // "competition" of this program, "text", "access"
    QTest::addColumn<QList<Dialogs::Answer>>("answers");
    QTest::addColumn<QString>("target"); // of the take-over; "-": not asked, empty: cancelled
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("rows");
    const auto yes = Dialogs::Answer::Yes;
    QTest::newRow("a competition of this program, without a question")
        << "competition" << QList<Dialogs::Answer>{} << "-" << QStringList{"open"} << true << 1;
    QTest::newRow("a file that is no competition, Abort: the window stays on its competition")
        << "text" << QList<Dialogs::Answer>{Dialogs::Answer::Abort} << "-" << QStringList{"open", "error"} << false << 3;
    QTest::newRow("Access competition taken over into a new file")
        << "access" << QList<Dialogs::Answer>{yes} << "Vereinsmeisterschaft (übernommen).wkd"
        << QStringList{"open", "question", "save"} << true << 8;
    QTest::newRow("Access competition, answer No")
        << "access" << QList<Dialogs::Answer>{Dialogs::Answer::No} << "-" << QStringList{"open", "question"} << false
        << 3;
    QTest::newRow("Access competition, save dialog cancelled")
        << "access" << QList<Dialogs::Answer>{yes} << "" << QStringList{"open", "question", "save"} << false << 3;
    // A message instead of waiting for a writer; without "open" the file is named on the command line.
    QTest::newRow("a named pipe, Abort: the window stays on its competition")
        << "named pipe" << QList<Dialogs::Answer>{Dialogs::Answer::Abort} << "-" << QStringList{"open", "error"}
        << false << 3;
    QTest::newRow("a link to a named pipe on the command line, Abort")
        << "link to a named pipe" << QList<Dialogs::Answer>{Dialogs::Answer::Abort} << "-" << QStringList{"error"}
        << false << 3;
}

void tst_FileCommands::open()
{
    QFETCH(QString, file);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(QString, target);
    QFETCH(QStringList, kinds);
    QFETCH(bool, loaded);
    QFETCH(int, rows);
    const TestCompetition other(QStringLiteral("zweiter.wkd"));
    other.addResult(7, QStringLiteral("Anna"), QStringLiteral("SV"));
    const QString fixture = AccessFixtures::path(AccessFixtures::Competition);
    const QByteArray fixtureBefore = sha(fixture);
    QString opened = other.path();
    if (file == QLatin1String("text"))
        opened = AccessFixtures::write(folderFile(QStringLiteral("notiz.wkd")), "Dies ist keine Datenbank, nur ein Text.\n");
    else if (file == QLatin1String("access"))
        opened = fixture;
    else if (file.contains(QLatin1String("pipe")) && NonRegularFiles::make(file, folderFile("Pipe.wkd")))
        opened = folderFile(QStringLiteral("Pipe.wkd"));
    QVERIFY(opened != other.path() || file == QLatin1String("competition"));
    const QStringList filesBefore = QDir(m_competition->folder()).entryList(QDir::Files | QDir::Hidden);
    const QString targetPath = target.isEmpty() ? QString() : folderFile(target);
    openSession();
    const bool byDialog = kinds.front() == QLatin1String("open");
    if (byDialog)
        dialogs().answerFile(opened);
    for (const Dialogs::Answer answer : answers)
        dialogs().answer(answer);
    if (target != QLatin1String("-"))
        dialogs().answerFile(targetPath);
    {
        const HangGuard guard(QStringLiteral("Opening a ") + file);
        if (byDialog)
            trigger(QStringLiteral("mnuDateiOpen"));
        else
            m_session->window().openCompetitionFile(opened);
    }

    QCOMPARE(shownKinds(), kinds);
    QCOMPARE(dialogs().unexpected(), 0);
    if (byDialog)
        QVERIFY(dialogs().shown().front().request.mustExist);
    if (file == QLatin1String("text")) {
        QVERIFY(lastShown().text.startsWith(QStringLiteral("Fehler: 3343 - ")));
        QVERIFY(lastShown().text.endsWith(QStringLiteral("\nFehler beim Laden eines Wettkampfs")));
    }
    if (file.contains(QLatin1String("pipe")))
        QCOMPARE(lastShown().text, QStringLiteral("Fehler: 3051 - '%1' ist eine benannte Pipe (FIFO) und keine "
                                                  "Wettkampfdatei.\nFehler beim Laden eines Wettkampfs")
                                           .arg(opened));
    if (kinds.size() == 3) {
        QCOMPARE(dialogs().shown().at(1).title, QStringLiteral("Hinweis"));
        QVERIFY(dialogs().shown().at(1).text.contains(QStringLiteral("legacy-competition.wkd")));
        const UiDialogs::FileRequest &request = dialogs().shown().at(2).request;
        QCOMPARE(request.folder, QFileInfo(fixture).absolutePath() + QLatin1Char('/'));
        QCOMPARE(request.fileName, QStringLiteral("legacy-competition (übernommen).wkd"));
        QCOMPARE(request.defaultSuffix, QStringLiteral("wkd"));
        QVERIFY(request.confirmOverwrite);
    }
    QCOMPARE(sha(fixture), fixtureBefore);
    if (loaded && file == QLatin1String("access")) {
        QCOMPARE(m_session->title(), QStringLiteral("Vereinsmeisterschaft Luftgewehr 2026"));
        QCOMPARE(CheckConnection::scalar(targetPath, QStringLiteral("SELECT group_concat(Schuetze, '|') FROM "
                                                                    "(SELECT Schuetze FROM Ergebnisse ORDER BY ID)"))
                     .toString(),
                 QStringLiteral("Jürgen Müßig|Anna Beispiel|Ömer Yıldız|Zoë Ærø|Karl-Heinz O'Brien|Beate Schmitt|"
                                "Lukas Wagner|Marie Dupont"));
    } else {
        QCOMPARE(QDir(m_competition->folder()).entryList(QDir::Files | QDir::Hidden), filesBefore);
    }
    if (!loaded)
        QCOMPARE(m_session->title(), QStringLiteral("Kreismeisterschaft"));
    checkShowsAndCloses(!loaded ? m_competition->path() : file == QLatin1String("access") ? targetPath : opened, rows);
}

void tst_FileCommands::title_data()
{
    QTest::addColumn<bool>("emptyTable");
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("stored");
    QTest::newRow("first title adds the row") << true << std::optional<QString>(QStringLiteral("Pokal 2026")) << "Pokal 2026";
    QTest::newRow("later title changes the row") << false << std::optional<QString>(QStringLiteral("Pokal's Ü")) << "Pokal's Ü";
    QTest::newRow("cancel keeps the title") << false << std::optional<QString>() << "Kreismeisterschaft";
    QTest::newRow("empty answer keeps the title") << false << std::optional<QString>(QString()) << "Kreismeisterschaft";
}

void tst_FileCommands::title()
{
    QFETCH(bool, emptyTable);
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, stored);
    if (emptyTable)
        m_competition->exec(QStringLiteral("DELETE FROM Wettkampf"));
    openSession();
    dialogs().answerText(answer);
    trigger(QStringLiteral("mnuDateiBezeichnung"));
    QCOMPARE(dialogs().shown().front().kind, QStringLiteral("input"));
    QCOMPARE(dialogs().shown().front().text, QStringLiteral("Bitte Wettkampfbezeichnung eingeben"));
    const QList<QVariantMap> rows = m_competition->rows(QStringLiteral("SELECT Bezeichnung FROM Wettkampf"));
    QCOMPARE(rows.size(), 1); // never a second title row
    QCOMPARE(rows.first().value("Bezeichnung").toString(), stored);
    if (answer && !answer->isEmpty())
        QCOMPARE(m_session->title(), stored);
}

// ---------------------------------------------------------------- refused

void tst_FileCommands::refused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("competition"); // one is open
    QTest::addColumn<QString>("file");     // of the take-over: a damaged kind or "itself"; of the export: the target
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    const QString none = QStringLiteral("Es ist kein Wettkampf geöffnet.");
    const QString takeOverFailed =
        QStringLiteral("\nDer Wettkampf wurde nicht übernommen; die Access-Datei ist unverändert.");
    const QString exportFailed = QStringLiteral("\nDie Siegerliste wurde nicht exportiert.");
    QTest::newRow("title without a competition") << "mnuDateiBezeichnung" << false << "" << none << "";
    QTest::newRow("export without a competition") << "mnuDateiExport" << false << "" << none << "";
    QTest::newRow("take-over onto the Access file itself") << "mnuDateiOpen" << true << "itself" << "Fehler: 75 - " << "";
    QTest::newRow("take-over, last page missing")
        << "mnuDateiOpen" << true << "last page missing" << "Fehler: 3343 - " << takeOverFailed;
    QTest::newRow("take-over of a master list") << "mnuDateiOpen" << true << "other table" << "Fehler: 3078 - "
                                                << takeOverFailed;
    QTest::newRow("take-over, duplicate IDs") << "mnuDateiOpen" << true << "duplicate IDs" << "Fehler: 3022 - "
                                              << takeOverFailed;
    QTest::newRow("export onto the open competition")
        << "mnuDateiExport" << true << "Kreis Meisterschaft.wkd" << "Fehler: 75 - " << exportFailed;
    QTest::newRow("export into a folder that is not there")
        << "mnuDateiExport" << true << "fehlt/liste.csv" << "Fehler: 75 - " << exportFailed;
    QTest::newRow("export onto a named pipe, which stays")
        << "mnuDateiExport" << true << "Pipe.csv" << "Fehler: 75 - Fehler beim Zugriff auf Pfad/Datei: '"
        << "/Pipe.csv' ist eine benannte Pipe (FIFO) und keine gewöhnliche Datei." + exportFailed;
}

// The user is told once; the window, the competition and the Access file stay as they were.
void tst_FileCommands::refused()
{
    QFETCH(QString, command);
    QFETCH(bool, competition);
    QFETCH(QString, file);
    QFETCH(QString, start);
    QFETCH(QString, end);
    const QByteArray competitionBefore = sha(m_competition->path());
    QString access;
    const QString target = folderFile(QStringLiteral("neu.wkd"));
    openSession(competition);
    if (file == QLatin1String("itself")) {
        access = AccessFixtures::write(folderFile(QStringLiteral("alt.wkd")),
                                       AccessFixtures::bytes(AccessFixtures::Competition));
        dialogs().answerFile(access);
        dialogs().answer(Dialogs::Answer::Yes);
        dialogs().answerFile(access);
    } else if (command == QLatin1String("mnuDateiOpen")) {
        access = AccessFixtures::damagedCopy(file, AccessFixtures::Competition, folderFile("kaputt.wkd"));
        QVERIFY(!access.isEmpty());
        dialogs().answerFile(access);
        dialogs().answer(Dialogs::Answer::Yes);
        dialogs().answerFile(target);
    } else if (!file.isEmpty()) {
        dialogs().answerFile(folderFile(file));
    }
    const bool pipe = file.startsWith(QLatin1String("Pipe"));
    if (pipe)
        QVERIFY(NonRegularFiles::makeFifo(folderFile(file)));
    const QByteArray accessBefore = sha(access);
    {
        const HangGuard guard(QStringLiteral("The command ") + command + QStringLiteral(" on ") + file);
        trigger(command);
    }
    if (pipe)
        QVERIFY(QFileInfo(folderFile(file)).exists() && !QFileInfo(folderFile(file)).isFile());

    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QVERIFY2(lastShown().text.startsWith(start) && lastShown().text.endsWith(end), qPrintable(lastShown().text));
    QCOMPARE(shownKinds().count(QStringLiteral("message")), 1);
    QCOMPARE(sha(m_competition->path()), competitionBefore);
    QCOMPARE(sha(access), accessBefore);
    QVERIFY(!QFile::exists(target));
    QVERIFY(!QFile::exists(folderFile(QStringLiteral("fehlt"))));
    QCOMPARE(m_session->window().CompetitionPath(), competition ? m_competition->path() : QString());
    if (competition) {
        QCOMPARE(m_session->title(), QStringLiteral("Kreismeisterschaft"));
        checkShowsAndCloses(m_competition->path(), 3);
    }
}

// ---------------------------------------------------------------- export

QString tst_FileCommands::exportTo(const QString &fileName)
{
    const QString target = folderFile(fileName);
    dialogs().answerFile(target);
    trigger(QStringLiteral("mnuDateiExport"));
    return target;
}

// Places by F5 first; rows best first, Null cells empty, numbers with the
// decimal comma, hidden ID and key left out; UTF-8 with a byte-order mark
// and CRLF, as a spreadsheet program reads it.
void tst_FileCommands::exportWritesTheWinnersList()
{
    openSession();
    trigger(QStringLiteral("mnuEditUpdatePlaetze"));
    const QString file = exportTo(QStringLiteral("Siegerliste Grün.csv"));
    const UiDialogs::FileRequest &request = lastShown().request;
    QCOMPARE(lastShown().kind, QStringLiteral("save"));
    QCOMPARE(request.folder, m_competition->folder() + QLatin1Char('/'));
    QCOMPARE(request.fileName, QStringLiteral("Kreis Meisterschaft.csv"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("csv"));
    QVERIFY(request.confirmOverwrite);
    QString error;
    const Records records = IndependentCsv::read(file, QLatin1Char(';'), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const Records expected{
        QStringList{"Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner"} + ringHeadings(),
        QStringList{"1", "1", "Jürgen Müßig", "SV Grün-Weiß", "98,7", "", "10,4", "9,8", "10", "9", "10", "10", "9,9",
                    "10", "9,6", "10"},
        QStringList{"2", "3", "Meier; Hans", "SG \"Tell\"", "95", ""} + QStringList(10, QString()),
        // No result, no place.
        QStringList{"", "2", "Karl-Heinz O'Brien", "", "", ""} + QStringList(10, QString()),
    };
    QCOMPARE(records, expected);
    QFile raw(file);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFPlatz;StartNr;Schuetze;Verein;Serie;Innenzehner;1;2;3;"));
    QVERIFY(bytes.contains(";\"98,7\";;\"10,4\";"));
    QCOMPARE(bytes.count("\r\n"), 4);
    QCOMPARE(bytes.count("\n"), 4);
}

void tst_FileCommands::exportFollowsTheShownColumns()
{
    openSession();
    DataGrid *winners = m_session->winnersGrid();
    winners->columns(QStringLiteral("Verein")).setOrder(winners->columns(QStringLiteral("Schuetze")).order());
    winners->columns(QStringLiteral("Innenzehner")).setVisible(false);
    winners->columns(QStringLiteral("Platz")).setCaption(QStringLiteral("Rang"));
    const QString file = exportTo(QStringLiteral("spalten.csv"));
    QString error;
    const Records records = IndependentCsv::read(file, QLatin1Char(';'), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(records.value(0), QStringList({"Rang", "StartNr", "Verein", "Schuetze", "Serie"}) + ringHeadings());
    QCOMPARE(records.value(2).mid(0, 5), QStringList({"", "3", "SG \"Tell\"", "Meier; Hans", "95"}));
    QCOMPARE(records.size(), 4);
}

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
