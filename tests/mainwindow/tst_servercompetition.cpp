// Two PCs on one competition on a PostgreSQL server (a throwaway cluster on a Unix socket, started and
// stopped by this test): two main windows in this process, each on its own connections. What one
// stores the other shows within a second without losing its own typing; the same row changed on both
// is asked about with both values; a server that goes away loses nothing typed; F5 on both leaves one
// set of places. And the way in: "Last" naming a server competition, a password asked for.
#include "mainwindow/MainWindowSession.h"
#include "scoring/TieRule.h"
#include "store/Database.h"
#include "store/RingtalError.h"
#include "store/ServerCompetitions.h"
#include "store/ServerDatabase.h"
#include "support/TestServer.h"

#include <QTimer>

using namespace GridInput;

namespace {

// Waits, bounded, until the check holds; false when it never did.
bool within(int milliseconds, const std::function<bool()> &check)
{
    QElapsedTimer waited;
    waited.start();
    while (!check()) {
        if (waited.elapsed() > milliseconds)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

class tst_ServerCompetition : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> m_server;
    int m_made = 0;

    // The sample five shooters, copied from a file onto the server.
    QString makeCompetition(const ServerLogin &login)
    {
        const TestCompetition file;
        file.setTitle(QStringLiteral("Kreismeisterschaft"));
        addFive(file);
        const std::shared_ptr<Database> layout = Database::open(TestCompetition::templatePath());
        const std::shared_ptr<Database> rows = Database::open(file.path());
        return ServerCompetitions::create(login, QStringLiteral("Kreis %1").arg(++m_made), *layout, *rows).toText();
    }

    static QVariant stored(const QString &location, const QString &sql)
    {
        return Database::open(location)->scalar(sql);
    }

    // The window that gets the keys, with its entry grid in front.
    static bool bringToFront(frmMain &window)
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        DataGrid *grid = window.findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
        grid->setFocus();
        return QApplication::focusWidget() == grid;
    }

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<TestServer>();
        QVERIFY2(m_server->isRunning(), qPrintable(m_server->failure()));
    }

    void cleanupTestCase() { m_server.reset(); }

    // One PC stores a row while the other types in a cell of another row: the other shows it within
    // a second, its cell still open with what was typed and where; F5 on one shows the places on both.
    // Then both change Zeller: the later one is asked, sees both values and takes the other's.
    void twoPCs()
    {
        const QString location = makeCompetition(m_server->login());
        MainWindowSession first(location);
        frmMain second; // "Last" of the same settings: it opens the same competition
        QCOMPARE(first.window().CompetitionPath(), location);
        QCOMPARE(second.CompetitionPath(), location);
        QVERIFY(first.window().windowTitle().startsWith(QStringLiteral("RingtalKreis ")));
        DataGrid *other = second.findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
        const TestCompetition unused;

        // The first PC stores through its own rows; the keyboard stays with the second, which types.
        Recordset *firstRows = first.entryGrid()->recordset();
        // Rows are found by ID: a changed name computes the row again, and the sample's Bauer has no
        // shots, so the rows' order changes on the way.
        const auto rowOf = [](Recordset *rows, qint64 id) {
            for (int row = 0; row < rows->rowCount(); ++row)
                if (rows->storedValue(row, rows->fieldIndex("ID")).toLongLong() == id)
                    return row;
            return -1;
        };
        const auto storeOnFirst = [&](qint64 id, const QString &field, const QString &value) {
            firstRows->moveTo(rowOf(firstRows, id));
            firstRows->edit();
            firstRows->setValue(field, value);
            firstRows->update();
        };
        QVERIFY(bringToFront(second));
        run(first, unused, {"@1:Schuetze", "Bauer-Ne"}, {}, other); // Bauer, typed over there
        storeOnFirst(4, QStringLiteral("Verein"), QStringLiteral("SG Hubertus")); // Zeller
        QVERIFY(within(1000, [&] { return cellText(other, 2, QStringLiteral("Verein")) == QLatin1String("SG Hubertus"); }));
        QVERIFY(other->isCellOpen());
        run(first, unused, {"u", "<Down>", "?boxes 0"}, {}, other);
        QCOMPARE(stored(location, QStringLiteral("SELECT Schuetze FROM Ergebnisse WHERE ID = 1")).toString(),
                 QStringLiteral("Bauer-Neu"));

        first.window().mnuEditUpdatePlaetze_Click();
        QVERIFY(within(1000, [&] { return cellText(other, 0, QStringLiteral("Platz")) == QLatin1String("1"); }));

        const QString zeller = QString::number(rowOf(other->recordset(), 4));
        run(first, unused, {"@" + zeller + ":Verein", "SSV B"}, {}, other);
        storeOnFirst(4, QStringLiteral("Verein"), QStringLiteral("SSV A"));
        run(first, unused, {"!No", "<Down>", "?boxes 1", "?box Die Zeile wurde inzwischen von einem anderen Programm geändert."},
            {}, other);
        const QString asked = first.dialogs().shown().back().text;
        QVERIFY2(asked.contains(QStringLiteral("gespeichert „SSV A“, Ihre Eingabe „SSV B“")), qPrintable(asked));
        QCOMPARE(cellText(other, rowOf(other->recordset(), 4), QStringLiteral("Verein")), QStringLiteral("SSV A"));
        QCOMPARE(stored(location, QStringLiteral("SELECT Verein FROM Ergebnisse WHERE ID = 4")).toString(), QStringLiteral("SSV A"));
    }

    // F5 on both PCs, the second not having looked for the first one's new shooter yet: the places
    // stored are one ranking of all rows with a result.
    void rankingOnBoth()
    {
        const QString location = makeCompetition(m_server->login());
        MainWindowSession first(location);
        frmMain second;
        // The second PC does not look for other programs' rows before it ranks.
        second.findChild<QTimer *>(QStringLiteral("tmrAndereProgramme"))->stop();
        const TestCompetition unused;
        QVERIFY(bringToFront(first.window()));
        run(first, unused, {"@new:StartNr", "42", "<Tab>", "Neu", "<Tab>", "SV", "<Tab>", "<Tab>", "<Tab>", "3",
                            "<Tab>", "10", "<Tab>", "10", "<Tab>", "10", "<Tab>", "10", "<Tab>", "10", "<Tab>", "10", "<Tab>",
                            "10", "<Tab>", "10", "<Tab>", "10", "<Tab>", "10", "<Up>", "<F5>", "?boxes 0"});
        // Brought to the front, the second PC shows what the first stored. Then a row it is not told
        // of (its notice lost while a connection was down): F5 ranks the rows as they stand once it
        // holds the table, not those it has in memory.
        QVERIFY(bringToFront(second));
        QVERIFY(within(1000, [&] { return second.findChild<DataGrid *>(QStringLiteral("TDBGrid1"))->model()->rowCount() == 7; }));
        {
            const std::shared_ptr<Database> unnoticed = Database::open(location);
            auto *server = dynamic_cast<ServerDatabase *>(unnoticed.get());
            server->run(QStringLiteral("SET session_replication_role = replica")); // no triggers, so no notice
            server->execute(QStringLiteral("INSERT INTO Ergebnisse (StartNr, Schuetze, Serie, Sortierung) VALUES (43, "
                                           "'Ohne Nachricht', 99.9, '0009990000000000000000000000')"),
                            {});
        }
        QTest::keyClick(&second, Qt::Key_F5);
        // Each place is one more than the number of keys above its own.
        for (const int startNr : {42, 43})
            QCOMPARE(stored(location, QStringLiteral("SELECT Platz FROM Ergebnisse WHERE StartNr = %1").arg(startNr)).toInt(),
                     stored(location, QStringLiteral("SELECT count(*) + 1 FROM Ergebnisse WHERE Sortierung > (SELECT "
                                                     "Sortierung FROM Ergebnisse WHERE StartNr = %1)")
                                              .arg(startNr))
                             .toInt());
        QCOMPARE(stored(location, QStringLiteral("SELECT count(DISTINCT Platz) || '/' || count(Platz) || '/' || max(Platz) "
                                                 "FROM Ergebnisse WHERE Sortierung IS NOT NULL"))
                         .toString(),
                 QStringLiteral("5/5/5"));
        QCOMPARE(first.dialogs().shown().size(), size_t(0));
    }

    // The server stops while a row is typed: leaving the row says the server cannot be reached and the
    // row stays typed; once the server is back, the row is stored by itself.
    void serverAwayWhileTyping()
    {
        const QString location = makeCompetition(m_server->login());
        MainWindowSession session(location);
        const TestCompetition unused;
        QVERIFY(session.showForTyping());
        run(session, unused, {"@2:Verein", "SV Unterwegs"});
        QVERIFY2(m_server->stop(), qPrintable(m_server->failure()));
        run(session, unused, {"<Down>", "?boxes 1", "?box Fehler: 3151 - Der Server", "?pending"});
        QVERIFY(within(1000, [&] { return session.window().statusBar()->currentMessage().startsWith("Der Server ist nicht erreichbar"); }));
        QVERIFY2(m_server->start(), qPrintable(m_server->failure()));
        QVERIFY(within(10000, [&] { return !session.entryGrid()->hasPendingEdit(); }));
        QCOMPARE(stored(location, QStringLiteral("SELECT Verein FROM Ergebnisse WHERE ID = 4")).toString(), QStringLiteral("SV Unterwegs"));
        QCOMPARE(session.window().statusBar()->currentMessage(), QStringLiteral("Die Zeile wurde gespeichert."));
        QCOMPARE(session.dialogs().shown().size(), size_t(1));
    }

    // Commands that write through statements of their own, on a server competition: the tie rule and
    // the counted team members, a shooter taken over from the master list, the export, deleting all.
    void commandsOnServer()
    {
        const QString location = makeCompetition(m_server->login());
        MainWindowSession session(location);
        session.dialogs().answerText(TieRules::title(TieRule::CountsFirst));
        session.dialogs().answerNumber(2);
        session.trigger(QStringLiteral("mnuEditWertung"));
        QCOMPARE(stored(location, QStringLiteral("SELECT string_agg(Name || '=' || Wert, ',' ORDER BY Name) FROM "
                                                 "Einstellungen"))
                         .toString(),
                 QStringLiteral("Mannschaft=2,Wertung=2"));
        session.window().setNeuerSchuetze(QStringLiteral("Neu\tSV Neu"));
        session.entryGrid()->storePendingEdit();
        QCOMPARE(stored(location, QStringLiteral("SELECT Verein FROM Ergebnisse WHERE Schuetze = 'Neu'")).toString(),
                 QStringLiteral("SV Neu"));
        const QTemporaryDir folder;
        session.dialogs().answerFile(folder.filePath(QStringLiteral("liste.csv")));
        session.trigger(QStringLiteral("mnuDateiExport"));
        QCOMPARE(session.dialogs().shown().back().request.fileName, QStringLiteral("Kreis %1.csv").arg(m_made));
        QFile csv(folder.filePath(QStringLiteral("liste.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(csv.readAll()).contains(QStringLiteral("Anna Weiß")));
        session.dialogs().answer(Dialogs::Answer::Yes);
        session.trigger(QStringLiteral("mnuEditDeleteAll"));
        QCOMPARE(stored(location, QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), 0);
    }

    // "Last" naming a server competition: opened at the start, a password asked for where the server
    // wants one; a server that cannot be reached is said so and leaves the empty window.
    void startOnServer_data()
    {
        QTest::addColumn<bool>("password");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("no password asked") << false << true;
        QTest::newRow("password asked") << true << true;
        QTest::newRow("server not reached") << false << false;
    }
    void startOnServer()
    {
        QFETCH(bool, password);
        QFETCH(bool, reachable);
        ServerLocation where = *ServerLocation::fromText(makeCompetition(m_server->login()));
        if (password)
            where.login.user = m_server->passwordLogin().user;
        if (!reachable)
            where.login.host = QDir::tempPath() + QStringLiteral("/ringtal-kein-server");
        const QString location = where.toText();
        ServerPasswords::forget(where.login);
        auto session = std::make_unique<MainWindowSession>(location, reachable ? QList<int>{} : QList<int>{int(Dialogs::Answer::Abort)});
        if (password) {
            // The first start asked; a second one with the answer queued opens it.
            QCOMPARE(session->window().CompetitionPath(), QString());
            QCOMPARE(session->dialogs().shown().back().kind, QStringLiteral("password"));
            QVERIFY(session->dialogs().shown().back().text.contains("verlangt ein Kennwort für den Benutzer 'kasse'"));
            session.reset();
            session = std::make_unique<MainWindowSession>(location);
            session->dialogs().answerText(QString::fromUtf8(TestServer::Password));
            session->window().openCompetitionFile(location);
        }
        QCOMPARE(session->window().CompetitionPath(), reachable ? location : QString());
        if (reachable) {
            QCOMPARE(session->title(), QStringLiteral("Kreismeisterschaft"));
            QCOMPARE(session->entryGrid()->model()->rowCount(), 6);
        } else {
            QVERIFY(session->dialogs().shown().front().text.startsWith(QStringLiteral("Fehler: 3151 - Der Server")));
            QCOMPARE(session->entryGrid()->model()->rowCount(), 0);
        }
        ServerPasswords::forget(where.login);
    }
};

QTEST_MAIN(tst_ServerCompetition)
#include "tst_servercompetition.moc"
