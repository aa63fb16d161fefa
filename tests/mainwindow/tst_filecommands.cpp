// The file commands of the main window: New, Open (an Access competition
// taken over into a new file), the title, and Exportieren... writing the
// winners list as CSV, read back by Python's csv module.
#include "AccessFixtures.h"
#include "CheckConnection.h"
#include "DataSource.h"
#include "IndependentCsv.h"
#include "MainWindowSession.h"
#include "Recordset.h"

#include <QCryptographicHash>
#include <QDir>

namespace {

using Records = QList<QStringList>;

const QString TakeOverFailed = QStringLiteral("Der Wettkampf wurde nicht übernommen; die Access-Datei ist unverändert.");
const QString ExportFailed = QStringLiteral("Die Siegerliste wurde nicht exportiert.");

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

} // namespace

class tst_FileCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newAsksForTheFile();
    void newCreatesAndLoadsACopyOfTheTemplate();
    void newOnTheOpenCompetition_data();
    void newOnTheOpenCompetition();
    void openAsksForTheFile();
    void openForeignFileReportsIt();
    void title_data();
    void title();
    void titleWithoutCompetitionSaysSo();

    void takeOverLoadsTheNewCompetition();
    void takeOverDeclined_data();
    void takeOverDeclined();
    void takeOverRefusesTheOriginalAsTarget();
    void takeOverOfDamagedFiles_data();
    void takeOverOfDamagedFiles();

    void exportDialog();
    void exportWritesTheWinnersList();
    void exportFollowsTheShownColumns();
    void exportFileBytes();
    void exportWithoutCompetition();
    void exportFailures_data();
    void exportFailures();

private:
    void openSession(bool withCompetition = true);
    // The answers of the question and, when given, of the save dialog (empty: cancelled).
    void openAccess(const QString &access, const QList<Dialogs::Answer> &answers, const std::optional<QString> &target);
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
    // The window still on the competition it had open.
    void checkStillOnTheCompetition();

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

void tst_FileCommands::openSession(bool withCompetition)
{
    m_session = std::make_unique<MainWindowSession>(withCompetition ? QVariant(m_competition->path()) : QVariant());
}

void tst_FileCommands::openAccess(const QString &access, const QList<Dialogs::Answer> &answers,
                                  const std::optional<QString> &target)
{
    openSession();
    dialogs().answerFile(access);
    for (const Dialogs::Answer answer : answers)
        dialogs().answer(answer);
    if (target)
        dialogs().answerFile(*target);
    trigger(QStringLiteral("mnuDateiOpen"));
}

void tst_FileCommands::checkStillOnTheCompetition()
{
    QCOMPARE(m_session->window().CompetitionPath(), m_competition->path());
    QCOMPARE(m_session->window().windowTitle(), QStringLiteral("Ringtal") + m_competition->path());
    QCOMPARE(m_session->title(), QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(shownRows("Data1"), 3);
    QVERIFY(m_session->closeByMenu());
    QCOMPARE(m_session->last(), m_competition->path());
}

// ---------------------------------------------------------------- new, open, title

void tst_FileCommands::newAsksForTheFile()
{
    openSession();
    dialogs().answerFile(QString());
    trigger(QStringLiteral("mnuDateiNeu"));
    QCOMPARE(dialogs().shown().size(), size_t(1));
    const ScriptedDialogs::Shown &dialog = dialogs().shown().front();
    QCOMPARE(dialog.kind, QStringLiteral("save"));
    QCOMPARE(dialog.request.title, QStringLiteral("Bitte neuen Wettkampfnamen wählen:"));
    QCOMPARE(dialog.request.filter, QStringLiteral("Access 2000 Datenbank (*.wkd)|*.wkd|Alle Dateien(*.*)|*.*"));
    QCOMPARE(dialog.request.defaultSuffix, QStringLiteral("wkd"));
    QCOMPARE(dialog.request.folder, QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    QVERIFY(dialog.request.confirmOverwrite);
    checkStillOnTheCompetition(); // cancelled
}

void tst_FileCommands::newCreatesAndLoadsACopyOfTheTemplate()
{
    openSession();
    const QString target = folderFile(QStringLiteral("Neuer Wettkampf #2.wkd"));
    dialogs().answerFile(target);
    trigger(QStringLiteral("mnuDateiNeu"));
    QVERIFY(QFile::exists(target));
    QCOMPARE(m_session->window().windowTitle(), QStringLiteral("Ringtal") + target);
    QCOMPARE(shownRows("Data1"), 0);
    QCOMPARE(shownRows("Data2"), 0);
    QVERIFY(m_session->entryGrid()->isEnabled());
    // The template holds no title, so the previous one stays shown.
    QCOMPARE(m_session->title(), QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(dialogs().shown().size(), size_t(1));
    QVERIFY(m_session->closeByMenu());
    QCOMPARE(m_session->last(), target);
}

void tst_FileCommands::newOnTheOpenCompetition_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<int>("rows");
    QTest::newRow("no keeps the competition") << Dialogs::Answer::No << 3;
    QTest::newRow("yes makes it anew") << Dialogs::Answer::Yes << 0;
}

void tst_FileCommands::newOnTheOpenCompetition()
{
    QFETCH(Dialogs::Answer, answer);
    QFETCH(int, rows);
    openSession();
    dialogs().answerFile(m_competition->path());
    dialogs().answer(answer);
    trigger(QStringLiteral("mnuDateiNeu"));
    QCOMPARE(dialogs().shown().size(), size_t(2));
    const ScriptedDialogs::Shown &question = dialogs().shown().back();
    QCOMPARE(question.title, QStringLiteral("Hinweis"));
    QCOMPARE(question.text, QStringLiteral("Soll der geöffnete Wettkampf wirklich gelöscht werden?"));
    QCOMPARE(question.icon, Dialogs::Icon::Exclamation);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), rows);
    QCOMPARE(shownRows("Data1"), rows);
    QCOMPARE(shownRows("Data2"), rows);
    QCOMPARE(m_session->window().windowTitle(), QStringLiteral("Ringtal") + m_competition->path());
}

// The dialog as designed; a competition of this program opens without a question.
void tst_FileCommands::openAsksForTheFile()
{
    TestCompetition other(QStringLiteral("zweiter.wkd"));
    other.addResult(7, QStringLiteral("Anna"), QStringLiteral("SV"));
    openSession(false);
    dialogs().answerFile(other.path());
    trigger(QStringLiteral("mnuDateiOpen"));
    QCOMPARE(dialogs().shown().size(), size_t(1));
    const ScriptedDialogs::Shown &dialog = dialogs().shown().front();
    QCOMPARE(dialog.kind, QStringLiteral("open"));
    QCOMPARE(dialog.request.filter, QStringLiteral("Ringtal Wettkämpfe (*.wkd)|*.wkd|Alle Dateien (*.*)|*.*"));
    QVERIFY(dialog.request.mustExist);
    QCOMPARE(m_session->window().CompetitionPath(), other.path());
    QCOMPARE(m_session->window().windowTitle(), QStringLiteral("Ringtal") + other.path());
    QCOMPARE(shownRows("Data1"), 1);
}

void tst_FileCommands::openForeignFileReportsIt()
{
    openSession();
    const QString foreign = AccessFixtures::write(folderFile(QStringLiteral("notiz.wkd")),
                                                  "Dies ist keine Datenbank, nur ein Text.\n");
    dialogs().answerFile(foreign);
    dialogs().answer(Dialogs::Answer::Abort);
    trigger(QStringLiteral("mnuDateiOpen"));
    QCOMPARE(lastShown().kind, QStringLiteral("error"));
    QVERIFY(lastShown().text.startsWith(QStringLiteral("Fehler: 3343 - ")));
    QVERIFY(lastShown().text.endsWith(QStringLiteral("\nFehler beim Laden eines Wettkampfs")));
    checkStillOnTheCompetition();
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

void tst_FileCommands::titleWithoutCompetitionSaysSo()
{
    openSession(false);
    trigger(QStringLiteral("mnuDateiBezeichnung"));
    QCOMPARE(dialogs().shown().size(), size_t(1));
    QCOMPARE(dialogs().shown().front().kind, QStringLiteral("message"));
    QVERIFY(dialogs().shown().front().text.contains(QStringLiteral("kein Wettkampf geöffnet")));
}

// ---------------------------------------------------------------- taking over

void tst_FileCommands::takeOverLoadsTheNewCompetition()
{
    const QString fixture = AccessFixtures::path(AccessFixtures::Competition);
    const QByteArray before = sha(fixture);
    const QString target = folderFile(QStringLiteral("Vereinsmeisterschaft (übernommen).wkd"));
    openAccess(fixture, {Dialogs::Answer::Yes}, target);
    const std::vector<ScriptedDialogs::Shown> &shown = dialogs().shown();
    QCOMPARE(shown.size(), size_t(3));
    QCOMPARE(shown.at(1).kind, QStringLiteral("question"));
    QCOMPARE(shown.at(1).title, QStringLiteral("Hinweis"));
    QVERIFY(shown.at(1).text.contains(QStringLiteral("legacy-competition.wkd")));
    const Dialogs::FileRequest &request = shown.at(2).request;
    QCOMPARE(shown.at(2).kind, QStringLiteral("save"));
    QCOMPARE(request.folder, QFileInfo(fixture).absolutePath() + QLatin1Char('/'));
    QCOMPARE(request.fileName, QStringLiteral("legacy-competition (übernommen).wkd"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("wkd"));
    QVERIFY(request.confirmOverwrite);

    QCOMPARE(m_session->window().CompetitionPath(), target);
    QCOMPARE(m_session->window().windowTitle(), QStringLiteral("Ringtal") + target);
    QCOMPARE(m_session->title(), QStringLiteral("Vereinsmeisterschaft Luftgewehr 2026"));
    QCOMPARE(shownRows("Data1"), 8);
    QCOMPARE(shownRows("Data2"), 8);
    QCOMPARE(CheckConnection::scalar(target, QStringLiteral("SELECT group_concat(Schuetze, '|') FROM "
                                                            "(SELECT Schuetze FROM Ergebnisse ORDER BY ID)"))
                 .toString(),
             QStringLiteral("Jürgen Müßig|Anna Beispiel|Ömer Yıldız|Zoë Ærø|Karl-Heinz O'Brien|Beate Schmitt|"
                            "Lukas Wagner|Marie Dupont"));
    QCOMPARE(sha(fixture), before);
    QVERIFY(m_session->closeByMenu());
    QCOMPARE(m_session->last(), target);
}

void tst_FileCommands::takeOverDeclined_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<int>("shownCount");
    QTest::newRow("answer No") << Dialogs::Answer::No << 2;
    QTest::newRow("save dialog cancelled") << Dialogs::Answer::Yes << 3;
}

void tst_FileCommands::takeOverDeclined()
{
    QFETCH(Dialogs::Answer, answer);
    QFETCH(int, shownCount);
    const QStringList filesBefore = QDir(m_competition->folder()).entryList(QDir::Files | QDir::Hidden);
    openAccess(AccessFixtures::path(AccessFixtures::Competition), {answer},
               answer == Dialogs::Answer::Yes ? std::optional<QString>(QString()) : std::nullopt);
    QCOMPARE(int(dialogs().shown().size()), shownCount);
    QCOMPARE(dialogs().unexpected(), 0);
    QCOMPARE(m_session->window().CompetitionPath(), m_competition->path());
    QCOMPARE(m_session->window().windowTitle(), QStringLiteral("Ringtal") + m_competition->path());
    QCOMPARE(m_session->title(), QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(shownRows("Data1"), 3);
    QCOMPARE(QDir(m_competition->folder()).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

void tst_FileCommands::takeOverRefusesTheOriginalAsTarget()
{
    const QString access = AccessFixtures::write(folderFile(QStringLiteral("alt.wkd")),
                                                 AccessFixtures::bytes(AccessFixtures::Competition));
    const QByteArray before = sha(access);
    openAccess(access, {Dialogs::Answer::Yes}, access);
    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QVERIFY(lastShown().text.startsWith(QStringLiteral("Fehler: 75 - ")));
    QCOMPARE(sha(access), before);
    QCOMPARE(m_session->window().CompetitionPath(), m_competition->path());
}

void tst_FileCommands::takeOverOfDamagedFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("number");
    QTest::newRow("last page missing") << "last page missing" << 3343;
    QTest::newRow("master list instead of a competition") << "other table" << 3078;
    QTest::newRow("duplicate IDs") << "duplicate IDs" << 3022;
}

void tst_FileCommands::takeOverOfDamagedFiles()
{
    QFETCH(QString, kind);
    QFETCH(int, number);
    const QString access = AccessFixtures::damagedCopy(kind, AccessFixtures::Competition, folderFile("kaputt.wkd"));
    QVERIFY(!access.isEmpty());
    const QString target = folderFile(QStringLiteral("neu.wkd"));
    openAccess(access, {Dialogs::Answer::Yes}, target);
    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QCOMPARE(lastShown().title, QStringLiteral("Fehler"));
    QVERIFY2(lastShown().text.startsWith(QStringLiteral("Fehler: %1 - ").arg(number)), qPrintable(lastShown().text));
    QVERIFY(lastShown().text.endsWith(QLatin1Char('\n') + TakeOverFailed));
    QVERIFY(!QFile::exists(target));
    QCOMPARE(m_session->window().CompetitionPath(), m_competition->path());
    QCOMPARE(shownRows("Data1"), 3);
    QCOMPARE(m_session->title(), QStringLiteral("Kreismeisterschaft"));
}

// ---------------------------------------------------------------- export

QString tst_FileCommands::exportTo(const QString &fileName)
{
    const QString target = folderFile(fileName);
    dialogs().answerFile(target);
    trigger(QStringLiteral("mnuDateiExport"));
    return target;
}

void tst_FileCommands::exportDialog()
{
    openSession();
    dialogs().answerFile(QString());
    trigger(QStringLiteral("mnuDateiExport"));
    QCOMPARE(dialogs().shown().size(), size_t(1));
    const Dialogs::FileRequest &request = lastShown().request;
    QCOMPARE(lastShown().kind, QStringLiteral("save"));
    QCOMPARE(request.folder, m_competition->folder() + QLatin1Char('/'));
    QCOMPARE(request.fileName, QStringLiteral("Kreis Meisterschaft.csv"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("csv"));
    QVERIFY(request.confirmOverwrite);
    QVERIFY(request.filter.contains(QStringLiteral("*.csv")));
    QCOMPARE(QDir(m_competition->folder()).entryList({QStringLiteral("*.csv")}), QStringList());
}

// Places by F5 first; rows best first, Null cells empty, numbers with the
// decimal comma, hidden ID and key left out.
void tst_FileCommands::exportWritesTheWinnersList()
{
    openSession();
    trigger(QStringLiteral("mnuEditUpdatePlaetze"));
    const QString file = exportTo(QStringLiteral("Siegerliste Grün.csv"));
    QString error;
    const Records records = IndependentCsv::read(file, QLatin1Char(';'), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const Records expected{
        QStringList{"Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner"} + ringHeadings(),
        QStringList{"1", "1", "Jürgen Müßig", "SV Grün-Weiß", "98,7", "", "10,4", "9,8", "10", "9", "10", "10", "9,9",
                    "10", "9,6", "10"},
        QStringList{"2", "3", "Meier; Hans", "SG \"Tell\"", "95", ""} + QStringList(10, QString()),
        QStringList{"3", "2", "Karl-Heinz O'Brien", "", "", ""} + QStringList(10, QString()),
    };
    QCOMPARE(records, expected);
    QCOMPARE(lastShown().kind, QStringLiteral("save"));
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

void tst_FileCommands::exportFileBytes()
{
    openSession();
    QFile file(exportTo(QStringLiteral("roh.csv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFPlatz;StartNr;Schuetze;Verein;Serie;Innenzehner;1;2;3;"));
    QVERIFY(bytes.contains(";J\xC3\xBCrgen M\xC3\xBC\xC3\x9Fig;SV Gr\xC3\xBCn-Wei\xC3\x9F;\"98,7\";;\"10,4\";"));
    QVERIFY(bytes.contains(";\"Meier; Hans\";\"SG \"\"Tell\"\"\";95;"));
    QCOMPARE(bytes.count("\r\n"), 4);
    QCOMPARE(bytes.count("\n"), 4);
    QVERIFY(bytes.endsWith("\r\n"));
}

void tst_FileCommands::exportWithoutCompetition()
{
    m_session = std::make_unique<MainWindowSession>();
    trigger(QStringLiteral("mnuDateiExport"));
    QCOMPARE(dialogs().shown().size(), size_t(1));
    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QCOMPARE(lastShown().title, QStringLiteral("Hinweis"));
}

void tst_FileCommands::exportFailures_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("the open competition") << "Kreis Meisterschaft.wkd";
    QTest::newRow("a folder that is not there") << "fehlt/liste.csv";
}

void tst_FileCommands::exportFailures()
{
    QFETCH(QString, target);
    openSession();
    const QByteArray before = sha(m_competition->path());
    exportTo(target);
    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QVERIFY2(lastShown().text.startsWith(QStringLiteral("Fehler: 75 - ")), qPrintable(lastShown().text));
    QVERIFY(lastShown().text.endsWith(QLatin1Char('\n') + ExportFailed));
    QCOMPARE(sha(m_competition->path()), before);
    QVERIFY(!QFile::exists(folderFile(QStringLiteral("fehlt"))));
}

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
