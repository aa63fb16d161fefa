// Data in and out of the main window: "&Öffnen..." taking an Access
// competition over into a new file, and "Exportieren..." writing the winners
// list as a CSV file, read back by Python's csv module.
#include "AccessFixtures.h"
#include "CheckConnection.h"
#include "DataSource.h"
#include "IndependentCsv.h"
#include "MainWindowSession.h"
#include "Recordset.h"

#include <QCryptographicHash>
#include <QDir>
#include <QMenu>

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

QStringList winnersHeading()
{
    QStringList heading{"Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner"};
    for (int ring = 1; ring <= 10; ++ring)
        heading << QString::number(ring);
    return heading;
}

QStringList emptyRings()
{
    return QStringList(10, QString());
}

} // namespace

class tst_DataExchange : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openAsksBeforeTakingOver();
    void takeOverLoadsTheNewCompetition();
    void takeOverDeclined_data();
    void takeOverDeclined();
    void takeOverRefusesTheOriginalAsTarget();
    void takeOverOfDamagedFiles_data();
    void takeOverOfDamagedFiles();
    void ownCompetitionOpensWithoutQuestion();

    void exportMenuItem();
    void exportDialog();
    void exportWritesTheWinnersList();
    void exportFollowsTheShownColumns();
    void exportFileBytes();
    void exportWithoutCompetition();
    void exportFailures_data();
    void exportFailures();

private:
    void openSession();
    // The answers of the question and, when given, of the save dialog (empty: cancelled).
    void openAccess(const QString &access, const QList<Dialogs::Answer> &answers, const std::optional<QString> &target);
    void trigger(const QString &action) { m_session->window().findChild<QAction *>(action)->trigger(); }
    int shownRows(const char *source) const
    {
        const Recordset *rs = m_session->window().findChild<DataSource *>(QLatin1String(source))->recordset();
        return rs ? rs->rowCount() : -1;
    }
    QString exportTo(const QString &fileName);
    const ScriptedDialogs::Shown &lastShown() const { return m_session->dialogs().shown().back(); }
    QString folderFile(const QString &name) const { return m_competition->folder() + QLatin1Char('/') + name; }

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<MainWindowSession> m_session;
};

void tst_DataExchange::init()
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

void tst_DataExchange::cleanup()
{
    m_session.reset();
    m_competition.reset();
}

void tst_DataExchange::openSession()
{
    m_session = std::make_unique<MainWindowSession>(m_competition->path());
}

void tst_DataExchange::openAccess(const QString &access, const QList<Dialogs::Answer> &answers,
                                  const std::optional<QString> &target)
{
    openSession();
    m_session->dialogs().answerFile(access);
    for (const Dialogs::Answer answer : answers)
        m_session->dialogs().answer(answer);
    if (target)
        m_session->dialogs().answerFile(*target);
    trigger(QStringLiteral("mnuDateiOpen"));
}

// ---------------------------------------------------------------- taking over

void tst_DataExchange::openAsksBeforeTakingOver()
{
    const QString fixture = AccessFixtures::path(AccessFixtures::Competition);
    openAccess(fixture, {Dialogs::Answer::Yes}, std::nullopt);
    const std::vector<ScriptedDialogs::Shown> &shown = m_session->dialogs().shown();
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
}

void tst_DataExchange::takeOverLoadsTheNewCompetition()
{
    const QString fixture = AccessFixtures::path(AccessFixtures::Competition);
    const QByteArray before = sha(fixture);
    const QString target = folderFile(QStringLiteral("Vereinsmeisterschaft (übernommen).wkd"));
    openAccess(fixture, {Dialogs::Answer::Yes}, target);
    QCOMPARE(m_session->dialogs().shown().size(), size_t(3));
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

void tst_DataExchange::takeOverDeclined_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("answer No") << Dialogs::Answer::No << 2;
    QTest::newRow("save dialog cancelled") << Dialogs::Answer::Yes << 3;
}

// A cancelled save dialog answers with an empty name.
void tst_DataExchange::takeOverDeclined()
{
    QFETCH(Dialogs::Answer, answer);
    QFETCH(int, dialogs);
    const QStringList filesBefore = QDir(m_competition->folder()).entryList(QDir::Files | QDir::Hidden);
    openAccess(AccessFixtures::path(AccessFixtures::Competition), {answer},
               answer == Dialogs::Answer::Yes ? std::optional<QString>(QString()) : std::nullopt);
    QCOMPARE(int(m_session->dialogs().shown().size()), dialogs);
    QCOMPARE(m_session->dialogs().unexpected(), 0);
    QCOMPARE(m_session->window().CompetitionPath(), m_competition->path());
    QCOMPARE(m_session->window().windowTitle(), QStringLiteral("Ringtal") + m_competition->path());
    QCOMPARE(m_session->title(), QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(shownRows("Data1"), 3);
    QCOMPARE(QDir(m_competition->folder()).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

void tst_DataExchange::takeOverRefusesTheOriginalAsTarget()
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

void tst_DataExchange::takeOverOfDamagedFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("number");
    QTest::newRow("last page missing") << "last page missing" << 3343;
    QTest::newRow("cut inside a page") << "cut inside a page" << 3343;
    QTest::newRow("master list instead of a competition") << "other table" << 3078;
    QTest::newRow("duplicate IDs") << "duplicate IDs" << 3022;
}

void tst_DataExchange::takeOverOfDamagedFiles()
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

void tst_DataExchange::ownCompetitionOpensWithoutQuestion()
{
    TestCompetition other(QStringLiteral("zweiter.wkd"));
    other.addResult(7, QStringLiteral("Anna"), QStringLiteral("SV"));
    openSession();
    m_session->dialogs().answerFile(other.path());
    trigger(QStringLiteral("mnuDateiOpen"));
    QCOMPARE(m_session->dialogs().shown().size(), size_t(1));
    QCOMPARE(m_session->window().CompetitionPath(), other.path());
    QCOMPARE(shownRows("Data1"), 1);
}

// ---------------------------------------------------------------- export

void tst_DataExchange::exportMenuItem()
{
    openSession();
    const auto *datei = m_session->window().findChild<QMenu *>(QStringLiteral("mnuDatei"));
    QStringList names;
    for (const QAction *action : datei->actions())
        names << action->objectName();
    QCOMPARE(names, QStringList({"mnuDateiNeu", "mnuDateiOpen", "mnuTemp1", "mnuPreviou", "mnuDateiPrint",
                                 "mnuDateiPrinterSetup", "mnuDateiExport", "mnuTemp2", "mnuDateiBezeichnung",
                                 "mnuTemp3", "mnuDateiClose"}));
    const QAction *item = datei->actions().at(int(names.indexOf(QStringLiteral("mnuDateiExport"))));
    QCOMPARE(item->text(), QStringLiteral("Exportieren..."));
    QVERIFY(item->shortcut().isEmpty());
}

QString tst_DataExchange::exportTo(const QString &fileName)
{
    const QString target = folderFile(fileName);
    m_session->dialogs().answerFile(target);
    trigger(QStringLiteral("mnuDateiExport"));
    return target;
}

void tst_DataExchange::exportDialog()
{
    openSession();
    m_session->dialogs().answerFile(QString());
    trigger(QStringLiteral("mnuDateiExport"));
    QCOMPARE(m_session->dialogs().shown().size(), size_t(1));
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
void tst_DataExchange::exportWritesTheWinnersList()
{
    openSession();
    trigger(QStringLiteral("mnuEditUpdatePlaetze"));
    const QString file = exportTo(QStringLiteral("Siegerliste Grün.csv"));
    QString error;
    const Records records = IndependentCsv::read(file, QLatin1Char(';'), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const Records expected{
        winnersHeading(),
        QStringList{"1", "1", "Jürgen Müßig", "SV Grün-Weiß", "98,7", "", "10,4", "9,8", "10", "9", "10", "10", "9,9",
                    "10", "9,6", "10"},
        QStringList{"2", "3", "Meier; Hans", "SG \"Tell\"", "95", ""} + emptyRings(),
        QStringList{"3", "2", "Karl-Heinz O'Brien", "", "", ""} + emptyRings(),
    };
    QCOMPARE(records, expected);
    QCOMPARE(lastShown().kind, QStringLiteral("save"));
}

void tst_DataExchange::exportFollowsTheShownColumns()
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
    QStringList heading{"Rang", "StartNr", "Verein", "Schuetze", "Serie"};
    for (int ring = 1; ring <= 10; ++ring)
        heading << QString::number(ring);
    QCOMPARE(records.value(0), heading);
    QCOMPARE(records.value(2).mid(0, 5), QStringList({"", "3", "SG \"Tell\"", "Meier; Hans", "95"}));
    QCOMPARE(records.size(), 4);
}

void tst_DataExchange::exportFileBytes()
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

void tst_DataExchange::exportWithoutCompetition()
{
    m_session = std::make_unique<MainWindowSession>();
    trigger(QStringLiteral("mnuDateiExport"));
    QCOMPARE(m_session->dialogs().shown().size(), size_t(1));
    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QCOMPARE(lastShown().title, QStringLiteral("Hinweis"));
}

void tst_DataExchange::exportFailures_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("the open competition") << "Kreis Meisterschaft.wkd";
    QTest::newRow("a folder that is not there") << "fehlt/liste.csv";
}

void tst_DataExchange::exportFailures()
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

QTEST_MAIN(tst_DataExchange)
#include "tst_dataexchange.moc"
