// The file commands of the main window: New, Open (an Access competition taken over into a new
// file), the title, and Exportieren... writing the winners list as CSV, read back by Python's csv
// module; and each of them refused without harm when it cannot be done.
#include "mainwindow/MainWindowSession.h"
#include "store/DataSource.h"
#include "support/AccessFixtures.h"
#include "support/IndependentCsv.h"
#include "support/NonRegularFiles.h"

#include <QCryptographicHash>
#include <QDir>

namespace {

// Empty for what is no regular file: opening a named pipe would wait for a writer.
QByteArray sha(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The winners list heads its rings with their numbers alone.
const QStringList RingHeadings{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

const QString LoadFailed = QStringLiteral("\nFehler beim Laden eines Wettkampfs");
const QString NotTakenOver = QStringLiteral("\nDer Wettkampf wurde nicht übernommen; die Access-Datei ist unverändert.");
const QString NotExported = QStringLiteral("\nDie Siegerliste wurde nicht exportiert.");
const QString NoCompetition = QStringLiteral("Es ist kein Wettkampf geöffnet.|");
const int Yes = int(Dialogs::Answer::Yes), No = int(Dialogs::Answer::No), Abort = int(Dialogs::Answer::Abort);

} // namespace

class tst_FileCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<MainWindowSession> m_session;

    QString folderFile(const QString &name) const { return m_competition->folder() + QLatin1Char('/') + name; }
    ScriptedDialogs &dialogs() { return m_session->dialogs(); }
    int shownRows(const char *source) const
    {
        const Recordset *rs = m_session->window().findChild<DataSource *>(QLatin1String(source))->recordset();
        return rs ? rs->rowCount() : -1;
    }

private slots:
    void init()
    {
        m_competition = std::make_unique<TestCompetition>(QStringLiteral("Kreis Meisterschaft.wkd"));
        m_competition->setTitle(QStringLiteral("Kreismeisterschaft"));
        m_competition->addResult(1, "Jürgen Müßig", "SV Grün-Weiß", 98.7, "0000990000000000000000000000",
                                 {10.4, 9.8, 10.0, 9.0, 10.0, 10.0, 9.9, 10.0, 9.6, 10.0});
        m_competition->addResult(3, "Meier; Hans", "SG \"Tell\"", 95, "0000950000000000000000000000");
        m_competition->exec(QStringLiteral("INSERT INTO Ergebnisse (StartNr, Schuetze) VALUES (2, 'Karl-Heinz O''Brien')"));
    }
    void cleanup()
    {
        m_session.reset();
        m_competition.reset();
    }

    // The open competition holds three shooters and the title "Kreismeisterschaft". What the first
    // file dialog answers: empty for Cancel, "THIS" the open competition, "other" another one,
    // "access" the Access fixture, "itself" a copy of it that is also the take-over's target, a
    // damaged or foreign kind (AccessFixtures::damagedCopy, "kind:name" to name it), or a file name in
    // the competition's folder.
    void command_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("answers"); // to the questions and error boxes, in order
        QTest::addColumn<QString>("second");     // the take-over's save dialog, or the title typed; "-": none, "(cancel)"
        QTest::addColumn<QString>("kinds");      // of the dialogs shown
        QTest::addColumn<QString>("message");    // start|end of the last box, %1 the file; empty: none
        QTest::addColumn<QString>("shown");      // afterwards: "same", "new" (the file), "other", "taken over", "none"
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("title");
        const QString same = QStringLiteral("same"), kreis = QStringLiteral("Kreismeisterschaft"), none;
        const QString neu = QStringLiteral("mnuDateiNeu"), open = QStringLiteral("mnuDateiOpen");
        const QString name = QStringLiteral("mnuDateiBezeichnung"), exporting = QStringLiteral("mnuDateiExport");
        QTest::newRow("New cancelled") << neu << "" << QList<int>{} << "-" << "save" << none << same << 3 << kreis;
        // The template holds no title: a new competition shows none, not the previous one's.
        QTest::newRow("New: a copy of the template") << neu << "Neuer Wettkampf #2.wkd" << QList<int>{} << "-" << "save" << none
                                                     << "new" << 0 << "";
        QTest::newRow("New onto the open competition, No keeps it") << neu << "THIS" << QList<int>{No} << "-" << "save,question"
                                                                    << none << same << 3 << kreis;
        QTest::newRow("New onto the open competition, Yes makes it anew") << neu << "THIS" << QList<int>{Yes} << "-"
                                                                          << "save,question" << none << same << 0 << "";
        QTest::newRow("Open a competition of this program, without a question")
            << open << "other" << QList<int>{} << "-" << "open" << none << "other" << 1 << "";
        QTest::newRow("Open a file that is no competition, Abort: the window stays on its competition")
            << open << "text file" << QList<int>{Abort} << "-" << "open,error" << "Fehler: 3343 - |" + LoadFailed << same << 3 << kreis;
        QTest::newRow("Open an Access competition: taken over into a new file")
            << open << "access" << QList<int>{Yes} << "Vereinsmeisterschaft (übernommen).wkd" << "open,question,save" << none
            << "taken over" << 8 << "Vereinsmeisterschaft Luftgewehr 2026";
        QTest::newRow("Open an Access competition, No") << open << "access" << QList<int>{No} << "-" << "open,question" << none
                                                        << same << 3 << kreis;
        QTest::newRow("Open an Access competition, save dialog cancelled")
            << open << "access" << QList<int>{Yes} << "" << "open,question,save" << none << same << 3 << kreis;
        // A message instead of waiting for a writer.
        const QString pipe = "Fehler: 3051 - '%1' ist eine benannte Pipe (FIFO) und keine Wettkampfdatei." + LoadFailed + "|";
        QTest::newRow("Open a named pipe, Abort") << open << "named pipe" << QList<int>{Abort} << "-" << "open,error" << pipe
                                                  << same << 3 << kreis;
        QTest::newRow("the first title adds the title row") << name << "no title row" << QList<int>{} << "Pokal 2026" << "input"
                                                            << none << same << 3 << "Pokal 2026";
        QTest::newRow("a later title changes the row") << name << "-" << QList<int>{} << "Pokal's Ü" << "input" << none << same
                                                       << 3 << "Pokal's Ü";
        QTest::newRow("Cancel keeps the title") << name << "-" << QList<int>{} << "(cancel)" << "input" << none << same << 3 << kreis;
        QTest::newRow("an empty title keeps the title") << name << "-" << QList<int>{} << "" << "input" << none << same << 3 << kreis;
        QTest::newRow("the title without a competition") << name << "-" << QList<int>{} << "-" << "message" << NoCompetition
                                                         << "none" << 0 << "";
        QTest::newRow("export without a competition") << exporting << "-" << QList<int>{} << "-" << "message" << NoCompetition
                                                      << "none" << 0 << "";
        QTest::newRow("take-over onto the Access file itself") << open << "itself" << QList<int>{Yes} << "itself"
                                                               << "open,question,save,message" << "Fehler: 75 - |" << same << 3
                                                               << kreis;
        // Which Access files fail to come over is the take-over's own test; the window reports any alike.
        QTest::newRow("take-over, duplicate IDs") << open << "duplicate IDs" << QList<int>{Yes} << "neu.wkd"
                                                  << "open,question,save,message" << "Fehler: 3022 - |" + NotTakenOver << same
                                                  << 3 << kreis;
        // The places are not current: exporting asks first whether to update them.
        QTest::newRow("export onto the open competition") << exporting << "Kreis Meisterschaft.wkd" << QList<int>{No} << "-"
                                                          << "question,save,message" << "Fehler: 75 - |" + NotExported << same << 3 << kreis;
        QTest::newRow("export into a folder that is not there") << exporting << "fehlt/liste.csv" << QList<int>{No} << "-"
                                                                << "question,save,message" << "Fehler: 75 - |" + NotExported << same << 3
                                                                << kreis;
        QTest::newRow("export onto a named pipe, which stays")
            << exporting << "named pipe:Pipe.csv" << QList<int>{No} << "-" << "question,save,message"
            << "Fehler: 75 - Fehler beim Zugriff auf Pfad/Datei: '%1' ist eine benannte Pipe (FIFO) und keine gewöhnliche Datei."
                   + NotExported + "|"
            << same << 3 << kreis;
    }

    // The user is told at most once; whatever was refused or cancelled leaves the competition, the
    // Access file and the folder as they were. Closing stores the competition shown as the last one.
    void command()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QList<int>, answers);
        QFETCH(QString, second);
        QFETCH(QString, kinds);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QFETCH(int, rows);
        QFETCH(QString, title);
        const TestCompetition other(QStringLiteral("zweiter.wkd"));
        other.addResult(7, QStringLiteral("Anna"), QStringLiteral("SV"));
        const QString fixture = AccessFixtures::path(AccessFixtures::Competition);
        if (file == QLatin1String("no title row"))
            m_competition->exec(QStringLiteral("DELETE FROM Wettkampf"));
        const bool asked = file != "-" && file != "no title row"; // the first dialog is a file dialog
        QString path = QHash<QString, QString>{{"THIS", m_competition->path()}, {"other", other.path()}, {"access", fixture}}.value(file);
        if (file == QLatin1String("itself"))
            path = AccessFixtures::write(folderFile("alt.wkd"), AccessFixtures::bytes(AccessFixtures::Competition));
        else if (path.isEmpty() && asked && !file.isEmpty())
            path = AccessFixtures::damagedCopy(file.section(':', 0, 0), AccessFixtures::Competition,
                                               folderFile(file.contains(':') ? file.section(':', 1) : "kaputt.wkd"));
        if (path.isEmpty() && asked && !file.isEmpty())
            path = folderFile(file); // a new file's name
        const QByteArray competitionBefore = sha(m_competition->path()), fixtureBefore = sha(fixture), pathBefore = sha(path);
        const QStringList filesBefore = QDir(m_competition->folder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        m_session = std::make_unique<MainWindowSession>(shown == "none" ? QVariant() : QVariant(m_competition->path()));
        if (asked)
            dialogs().answerFile(path);
        for (const int answer : answers)
            dialogs().answer(Dialogs::Answer(answer));
        const QString target = second == QLatin1String("itself") ? path : second.isEmpty() ? QString() : folderFile(second);
        if (command == QLatin1String("mnuDateiBezeichnung") && second != "-")
            dialogs().answerText(second == "(cancel)" ? std::optional<QString>() : std::optional<QString>(second));
        else if (second != "-")
            dialogs().answerFile(target);
        {
            const HangGuard guard(QTest::currentDataTag());
            m_session->trigger(command);
        }
        QStringList seen;
        for (const ScriptedDialogs::Shown &box : dialogs().shown())
            seen << box.kind;
        QCOMPARE(seen.join(','), kinds);
        QCOMPARE(dialogs().unexpected(), 0);
        const ScriptedDialogs::Shown &first = dialogs().shown().front(), &last = dialogs().shown().back();
        if (!message.isEmpty())
            QVERIFY2(last.text.startsWith(message.section('|', 0, 0).arg(path)) && last.text.endsWith(message.section('|', 1).arg(path)),
                     qPrintable(last.text));
        if (command == QLatin1String("mnuDateiNeu"))
            QVERIFY(first.request.title == "Bitte neuen Wettkampfnamen wählen:" && first.request.defaultSuffix == "wkd"
                    && first.request.confirmOverwrite);
        if (kinds.startsWith(QLatin1String("open")))
            QVERIFY(first.request.mustExist);
        if (kinds.startsWith(QLatin1String("save,question")))
            QVERIFY(last.title == "Hinweis" && last.icon == Dialogs::Icon::Exclamation
                    && last.text == "Soll der geöffnete Wettkampf wirklich gelöscht werden?");
        if (kinds.startsWith(QLatin1String("open,question,save"))) {
            const UiDialogs::FileRequest &request = dialogs().shown().at(2).request;
            QVERIFY(dialogs().shown().at(1).title == "Hinweis" && dialogs().shown().at(1).text.contains(QFileInfo(path).fileName()));
            QCOMPARE(request.folder, QFileInfo(path).absolutePath() + QLatin1Char('/'));
            QCOMPARE(request.fileName, QFileInfo(path).completeBaseName() + QStringLiteral(" (übernommen).wkd"));
            QVERIFY(request.defaultSuffix == "wkd" && request.confirmOverwrite);
        }
        if (kinds == QLatin1String("input")) {
            QCOMPARE(first.text, QStringLiteral("Bitte Wettkampfbezeichnung eingeben"));
            const QList<QVariantMap> titles = m_competition->rows(QStringLiteral("SELECT Bezeichnung FROM Wettkampf"));
            QVERIFY(titles.size() == 1 && titles.first().value("Bezeichnung") == title); // never a second title row
        }
        QCOMPARE(sha(fixture), fixtureBefore);
        if (rows == 3 || shown == QLatin1String("none"))
            QVERIFY(sha(m_competition->path()) == competitionBefore || kinds == "input");
        if (shown != QLatin1String("new") && shown != QLatin1String("taken over")) {
            QCOMPARE(QDir(m_competition->folder()).entryList(QDir::Files | QDir::Hidden | QDir::System), filesBefore);
            QVERIFY((sha(path) == pathBefore || path == m_competition->path()) && !QFile::exists(folderFile("fehlt")));
        }
        const QString expected = shown == "none" ? QString() : shown == "same" ? m_competition->path() : shown == "other" ? other.path()
                                                          : shown == "new" ? path : target;
        QCOMPARE(m_session->window().CompetitionPath(), expected);
        QCOMPARE(m_session->title(), title);
        if (shown == QLatin1String("none"))
            return;
        QCOMPARE(m_session->window().windowTitle(), QStringLiteral("Ringtal") + expected);
        QVERIFY(shownRows("Data1") == rows && shownRows("Data2") == rows && m_session->entryGrid()->isEnabled());
        QVERIFY(m_session->close());
        QCOMPARE(m_session->last(), expected);
    }

    // Places by F5 first; rows best first, Null cells empty, numbers with the decimal comma, hidden ID
    // and key left out, read back by another CSV reader (the mark and line ends are the CSV writer's
    // test). The columns are the winners list's as shown.
    void exportWritesTheWinnersList()
    {
        m_session = std::make_unique<MainWindowSession>(m_competition->path());
        m_session->trigger(QStringLiteral("mnuEditUpdatePlaetze"));
        dialogs().answerFile(folderFile(QStringLiteral("Siegerliste Grün.csv")));
        m_session->trigger(QStringLiteral("mnuDateiExport"));
        const UiDialogs::FileRequest &request = dialogs().shown().back().request;
        QVERIFY(dialogs().shown().back().kind == "save" && request.folder == m_competition->folder() + QLatin1Char('/'));
        QVERIFY(request.fileName == "Kreis Meisterschaft.csv" && request.defaultSuffix == "csv" && request.confirmOverwrite);
        QString error;
        const QList<QStringList> records = IndependentCsv::read(folderFile(QStringLiteral("Siegerliste Grün.csv")), ';', &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(records, (QList<QStringList>{
                              QStringList{"Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner"} + RingHeadings,
                              {"1", "1", "Jürgen Müßig", "SV Grün-Weiß", "98,7", "", "10,4", "9,8", "10", "9", "10", "10", "9,9", "10", "9,6", "10"},
                              QStringList{"2", "3", "Meier; Hans", "SG \"Tell\"", "95", ""} + QStringList(10, QString()),
                              QStringList{"", "2", "Karl-Heinz O'Brien", "", "", ""} + QStringList(10, QString()), // no result, no place
                          }));
        // Another reader takes a bare quote inside a field as it stands; a spreadsheet program does not.
        QFile raw(folderFile(QStringLiteral("Siegerliste Grün.csv")));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(raw.readAll().contains(";\"Meier; Hans\";\"SG \"\"Tell\"\"\";"));
        // Then the visible columns in display order, with their captions.
        DataGrid *winners = m_session->winnersGrid();
        winners->columns(QStringLiteral("Verein")).setOrder(winners->columns(QStringLiteral("Schuetze")).order());
        winners->columns(QStringLiteral("Innenzehner")).setVisible(false);
        winners->columns(QStringLiteral("Platz")).setCaption(QStringLiteral("Rang"));
        dialogs().answerFile(folderFile(QStringLiteral("spalten.csv")));
        m_session->trigger(QStringLiteral("mnuDateiExport"));
        const QList<QStringList> shown = IndependentCsv::read(folderFile(QStringLiteral("spalten.csv")), ';', &error);
        QVERIFY2(error.isEmpty() && shown.size() == 4, qPrintable(error));
        QCOMPARE(shown.value(0), QStringList({"Rang", "StartNr", "Verein", "Schuetze", "Serie"}) + RingHeadings);
        QCOMPARE(shown.value(2).mid(0, 5), QStringList({"2", "3", "SG \"Tell\"", "Meier; Hans", "95"}));
    }
};

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
