// One competition, two engines: what a file does, a competition on a PostgreSQL server does the same
// (a throwaway cluster on a Unix socket, started and stopped by this test). And what only a server has:
// its list of competitions, passwords, a connection that drops and comes back, the way back to a file.
#include "scoring/Classes.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"
#include "store/ServerCompetitions.h"
#include "store/ServerDatabase.h"
#include "store/Numbers.h"
#include "store/tempModule.h"
#include "support/RaisedError.h"
#include "support/TestCompetition.h"
#include "support/TestServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Results = QStringLiteral("Select * from Ergebnisse order by Sortierung desc");

// Other programs' writes reach a server's client a moment after they are committed.
bool seenWithin(Database &database, qint64 before, int milliseconds = 2000)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) {
        if (database.dataVersion() != before)
            return true;
        QTest::qWait(10);
    }
    return false;
}

void addShooter(Recordset &rows, int startNr, const QString &name, const QVariant &key)
{
    rows.addNew();
    rows.setValue(QStringLiteral("StartNr"), startNr);
    rows.setValue(QStringLiteral("Schuetze"), name);
    rows.setValue(QStringLiteral("Serie"), QStringLiteral("9,5"));
    rows.setValue(QStringLiteral("Sortierung"), key);
    rows.update();
}

} // namespace

class tst_ServerStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<TestCompetition> m_file;
    int m_made = 0;

    // A fresh competition of the engine: a copy of the template, or one made from it on the server.
    QString fresh(const QString &engine)
    {
        m_file = std::make_unique<TestCompetition>();
        if (engine == QLatin1String("file"))
            return m_file->path();
        const std::shared_ptr<Database> layout = Database::open(TestCompetition::templatePath());
        return ServerCompetitions::create(m_server->login(), QStringLiteral("Wettkampf %1").arg(++m_made), *layout, *layout)
                .toText();
    }

    void bothEngines()
    {
        QTest::addColumn<QString>("engine");
        QTest::newRow("file") << "file";
        QTest::newRow("server") << "server";
    }

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<TestServer>();
        QVERIFY2(m_server->isRunning(), qPrintable(m_server->failure()));
    }

    void cleanupTestCase() { m_server.reset(); }

    // Rows come back as the template names their fields, with their types, in the query's order
    // (an empty sort key last in descending order, as a file sorts it), IDs given by the competition.
    void rowsAsStored_data() { bothEngines(); }
    void rowsAsStored()
    {
        QFETCH(QString, engine);
        const std::shared_ptr<Database> database = Database::open(fresh(engine));
        {
            const std::unique_ptr<Recordset> rows = database->openRecordset(Results);
            addShooter(*rows, 1, QStringLiteral("Anna Weiß"), QStringLiteral("000950"));
            addShooter(*rows, 2, QStringLiteral("Ohne Schuss"), QVariant());
            addShooter(*rows, 3, QStringLiteral("Zeller"), QStringLiteral("000990"));
        }
        const std::unique_ptr<Recordset> rows = database->openRecordset(Results);
        QCOMPARE(rows->fieldNames().mid(0, 4), (QStringList{"ID", "Platz", "StartNr", "Schuetze"}));
        QCOMPARE(rows->rowCount(), 3);
        QStringList names;
        QList<qint64> ids;
        for (int row = 0; row < rows->rowCount(); ++row) {
            names << rows->storedValue(row, rows->fieldIndex("Schuetze")).toString();
            ids << rows->storedValue(row, rows->fieldIndex("ID")).toLongLong();
        }
        QCOMPARE(names, (QStringList{"Zeller", "Anna Weiß", "Ohne Schuss"}));
        QCOMPARE(ids, (QList<qint64>{3, 1, 2}));
        QCOMPARE(rows->storedValue(0, rows->fieldIndex("Serie")).typeId(), QMetaType::Double);
        QCOMPARE(rows->storedValue(0, rows->fieldIndex("Serie")).toDouble(), 9.5);
        QVERIFY(rows->storedValue(2, rows->fieldIndex("Platz")).isNull());
    }

    // What one program stores, the other is told of and reads, keeping its own row in edit; its own
    // writes it is not told of. A row changed or deleted meanwhile is refused when stored.
    void twoPrograms_data() { bothEngines(); }
    void twoPrograms()
    {
        QFETCH(QString, engine);
        const QString where = fresh(engine);
        const std::shared_ptr<Database> first = Database::open(where);
        const std::shared_ptr<Database> second = Database::open(where);
        const std::unique_ptr<Recordset> mine = first->openRecordset(Results);
        addShooter(*mine, 1, QStringLiteral("Anna"), QStringLiteral("000950"));
        addShooter(*mine, 2, QStringLiteral("Bert"), QStringLiteral("000940"));
        const qint64 own = first->dataVersion();
        const std::unique_ptr<Recordset> theirs = second->openRecordset(Results);
        QCOMPARE(theirs->rowCount(), 2);

        const qint64 before = second->dataVersion();
        addShooter(*mine, 3, QStringLiteral("Cora"), QStringLiteral("000990"));
        QVERIFY(seenWithin(*second, before));
        QCOMPARE(first->dataVersion(), own);
        theirs->moveTo(1); // Bert, in edit over there
        theirs->edit();
        theirs->setValue(QStringLiteral("Verein"), QStringLiteral("SV Tell"));
        QVERIFY(theirs->refreshChanged());
        QCOMPARE(theirs->rowCount(), 3);
        QCOMPARE(GetFieldValue(*theirs, QStringLiteral("Schuetze")).toString(), QStringLiteral("Bert"));
        QCOMPARE(theirs->bufferValue(theirs->fieldIndex("Verein")).toString(), QStringLiteral("SV Tell"));

        mine->moveTo(1); // Bert here too: stored first
        mine->edit();
        mine->setValue(QStringLiteral("Verein"), QStringLiteral("SG Nord"));
        mine->update();
        const RaisedError changed = raisedError([&] { theirs->update(); });
        QCOMPARE(changed.number, ErrorNumber::RecordChangedElsewhere);
        QCOMPARE(Numbers::cellText(theirs->rowInFile().at(theirs->fieldIndex("Verein"))), QStringLiteral("SG Nord"));
        theirs->cancelUpdate();

        theirs->moveTo(0);
        theirs->edit();
        theirs->setValue(QStringLiteral("Verein"), QStringLiteral("SV Alt"));
        first->execute(QStringLiteral("DELETE FROM Ergebnisse WHERE StartNr = 3"), {});
        QCOMPARE(raisedError([&] { theirs->update(); }).number, ErrorNumber::RecordDeleted);
    }

    // Places of many rows are written in batches; a setting is replaced, not added twice.
    void storedInBatches_data() { bothEngines(); }
    void storedInBatches()
    {
        QFETCH(QString, engine);
        const std::shared_ptr<Database> database = Database::open(fresh(engine));
        const std::unique_ptr<Recordset> rows = database->openRecordset(Results);
        constexpr int Count = 300; // two batches of 128 and a few smaller ones
        allOrNothing(*database, [&] {
            for (int n = 1; n <= Count; ++n)
                addShooter(*rows, n, QStringLiteral("Schütze %1").arg(n), QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')));
        });
        std::vector<QVariant> places;
        for (int row = 0; row < rows->rowCount(); ++row)
            places.emplace_back(row + 1);
        allOrNothing(*database, [&] { rows->storeField(rows->fieldIndex("Platz"), places); });
        // The rows in memory are in the order they were added: StartNr 1 first.
        QCOMPARE(database->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse WHERE Platz = StartNr")).toInt(), Count);
        for (const char *value : {"2", "3"})
            database->execute(QStringLiteral("INSERT INTO Einstellungen (Name, Wert) VALUES (?, ?) ON CONFLICT (Name) DO "
                                             "UPDATE SET Wert = excluded.Wert"),
                              {QStringLiteral("Wertung"), QString::fromLatin1(value)});
        QCOMPARE(database->scalar(QStringLiteral("SELECT count(*) || ':' || max(Wert) FROM Einstellungen")).toString(),
                 QStringLiteral("1:3"));
    }

    // The class list: added, renamed (the shooters' classes follow), removed, in their order.
    void classList_data() { bothEngines(); }
    void classList()
    {
        QFETCH(QString, engine);
        const std::shared_ptr<Database> database = Database::open(fresh(engine));
        const std::unique_ptr<Recordset> rows = database->openRecordset(Results);
        addShooter(*rows, 1, QStringLiteral("Anna"), QStringLiteral("000950"));
        rows->moveTo(0);
        rows->edit();
        rows->setValue(QStringLiteral("Klasse"), QStringLiteral("Damen"));
        rows->update();
        Classes::append(*database, QStringLiteral("Damen"));
        Classes::append(*database, QStringLiteral("Herren"));
        const std::vector<ClassDef> before = Classes::read(*database);
        std::vector<ClassDef> after{before.at(1), before.at(0)};
        after.at(1).name = QStringLiteral("Frauen");
        Classes::store(*database, before, after);
        const std::vector<ClassDef> stored = Classes::read(*database);
        QCOMPARE(stored.size(), size_t(2));
        QCOMPARE(stored.at(0).name + QLatin1Char(',') + stored.at(1).name, QStringLiteral("Herren,Frauen"));
        QCOMPARE(database->scalar(QStringLiteral("SELECT Klasse FROM Ergebnisse")).toString(), QStringLiteral("Frauen"));
        Classes::store(*database, stored, {stored.at(1)});
        QCOMPARE(Classes::read(*database).size(), size_t(1));
    }

    // The connection goes while places are written (the server stops during F5): not one of them
    // is stored, and the program is told.
    void placesAllOrNone()
    {
        const QString where = fresh(QStringLiteral("server"));
        const std::shared_ptr<Database> database = Database::open(where);
        const std::unique_ptr<Recordset> rows = database->openRecordset(Results);
        for (int n = 1; n <= 200; ++n)
            addShooter(*rows, n, QStringLiteral("Schütze %1").arg(n), QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')));
        const std::shared_ptr<Database> other = Database::open(where);
        std::vector<QVariant> places;
        for (int row = 0; row < rows->rowCount(); ++row)
            places.emplace_back(row + 1);
        const RaisedError cut = raisedError([&] {
            allOrNothing(*database, [&] {
                rows->storeField(rows->fieldIndex("Platz"), places);
                const QVariant pid = database->scalar(QStringLiteral("SELECT pg_backend_pid()"));
                other->scalar(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid});
            });
        });
        QCOMPARE(cut.number, ErrorNumber::ServerUnreachable);
        QCOMPARE(other->scalar(QStringLiteral("SELECT count(Platz) FROM Ergebnisse")).toInt(), 0);
    }

    // A server asks a password of some users: one not given, or a wrong one, is said so; the right
    // one opens. One that cannot be reached is said so too.
    void logins_data()
    {
        QTest::addColumn<QString>("password"); // "-": none given
        QTest::addColumn<bool>("other"); // a socket folder where no server is
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("message");
        QTest::newRow("no password") << "-" << false << ErrorNumber::PasswordRequired << "verlangt ein Kennwort für den Benutzer 'kasse'";
        QTest::newRow("a wrong password") << "falsch" << false << ErrorNumber::PasswordRequired << "hat das Kennwort für den Benutzer 'kasse' abgelehnt";
        QTest::newRow("the right password") << TestServer::Password << false << 0 << "";
        QTest::newRow("the password file") << "file" << false << 0 << "";
        QTest::newRow("no server there") << "-" << true << ErrorNumber::ServerUnreachable << "ist nicht erreichbar";
    }
    void logins()
    {
        QFETCH(QString, password);
        QFETCH(bool, other);
        QFETCH(int, number);
        QFETCH(QString, message);
        ServerLogin login = m_server->passwordLogin();
        if (other)
            login.host = QDir::tempPath() + QStringLiteral("/ringtal-kein-server");
        ServerPasswords::forget(login);
        // The client library reads the PostgreSQL password file by itself.
        const QTemporaryDir folder;
        const QString passwordFile = folder.filePath(QStringLiteral("pgpass"));
        if (password == QLatin1String("file")) {
            QFile file(passwordFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QStringLiteral("*:*:*:%1:%2\n").arg(login.user, QString::fromUtf8(TestServer::Password)).toUtf8());
            file.close();
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
            qputenv("PGPASSFILE", QFile::encodeName(passwordFile));
        } else if (password != QLatin1String("-")) {
            ServerPasswords::remember(login, password);
        }
        const RaisedError raised = raisedError([&] { ServerCompetitions::list(login); });
        qunsetenv("PGPASSFILE");
        ServerPasswords::forget(login);
        QCOMPARE(raised.number, number);
        QVERIFY2(raised.description.contains(message), qPrintable(raised.description));
    }

    // The list names every competition, newest first; a name is taken only once, whatever its case.
    void competitionList()
    {
        const ServerLogin login = m_server->login();
        const std::shared_ptr<Database> layout = Database::open(TestCompetition::templatePath());
        const ServerLocation made = ServerCompetitions::create(login, QStringLiteral("Kreismeisterschaft"), *layout, *layout);
        QVERIFY(ServerLocation::isCompetitionName(made.competition));
        const std::vector<ServerCompetitions::Entry> listed = ServerCompetitions::list(login);
        QVERIFY(!listed.empty());
        QCOMPARE(listed.front().name, QStringLiteral("Kreismeisterschaft"));
        QCOMPARE(listed.front().schema, made.competition);
        const RaisedError taken =
            raisedError([&] { ServerCompetitions::create(login, QStringLiteral(" kreismeisterschaft"), *layout, *layout); });
        QCOMPARE(taken.number, ErrorNumber::DuplicateKey);
        QCOMPARE(ServerCompetitions::list(login).size(), listed.size());
        QCOMPARE(ServerLocation::fromText(made.toText())->login, login);
        QCOMPARE(ServerLocation::fromText(made.toText())->competition, made.competition);
    }

    // A file onto the server and back: every row and field as it was, IDs kept, and a row added
    // afterwards gets the next ID.
    void fileOntoServerAndBack()
    {
        const TestCompetition file;
        file.setTitle(QStringLiteral("Vereinsmeisterschaft 2026"));
        file.addResult(4, QStringLiteral("Anna Weiß"), QStringLiteral("SV Tell"), 98.7, QStringLiteral("000987"),
                       {10, 9.5, 10, 10, 9, 10, 10, 10, 10, 10});
        file.addResult(9, QStringLiteral("O'Brien; \"Jim\""), QString(), QVariant());
        file.exec(QStringLiteral("DELETE FROM Ergebnisse WHERE StartNr = 4"));
        file.addResult(12, QStringLiteral("Zeller"), QStringLiteral("SSV"), 90.0, QStringLiteral("000900"));
        const std::shared_ptr<Database> layout = Database::open(TestCompetition::templatePath());
        const std::shared_ptr<Database> source = Database::open(file.path());
        const ServerLocation made = ServerCompetitions::create(m_server->login(), QStringLiteral("Hin und zurück"), *layout, *source);
        const std::shared_ptr<Database> server = Database::open(made.toText());
        const QString back = file.folder() + QStringLiteral("/zurück.wkd");
        ServerCompetitions::saveAsFile(*server, TestCompetition::templatePath(), back);
        const std::shared_ptr<Database> copy = Database::open(back);
        for (const QString &sql : {QStringLiteral("SELECT * FROM Ergebnisse ORDER BY ID"), QStringLiteral("SELECT * FROM Wettkampf")}) {
            const Database::Rows before = source->readAll(sql, {});
            const Database::Rows after = copy->readAll(sql, {});
            QCOMPARE(after.fieldNames, before.fieldNames);
            QCOMPARE(after.rows.size(), before.rows.size());
            for (size_t row = 0; row < before.rows.size(); ++row)
                for (int field = 0; field < before.fieldNames.size(); ++field)
                    QVERIFY2(Numbers::cellText(after.rows[row].at(field)) == Numbers::cellText(before.rows[row].at(field))
                                 && after.rows[row].at(field).isNull() == before.rows[row].at(field).isNull(),
                             qPrintable(before.fieldNames.at(field)));
        }
        const std::unique_ptr<Recordset> rows = server->openRecordset(Results);
        addShooter(*rows, 13, QStringLiteral("Neu"), QStringLiteral("000100"));
        QCOMPARE(server->scalar(QStringLiteral("SELECT max(ID) FROM Ergebnisse")).toInt(), 4);
    }

    // The server goes away: the program is told it cannot be reached, and nothing it thinks stored
    // is not; when the server is back, the connection comes back by itself and reads again.
    void serverGoesAndComes()
    {
        const std::shared_ptr<Database> database = Database::open(fresh(QStringLiteral("server")));
        const std::unique_ptr<Recordset> rows = database->openRecordset(Results);
        addShooter(*rows, 1, QStringLiteral("Anna"), QStringLiteral("000950"));
        const qint64 version = database->dataVersion();
        QVERIFY2(m_server->stop(), qPrintable(m_server->failure()));
        const RaisedError gone = raisedError([&] { addShooter(*rows, 2, QStringLiteral("Bert"), QStringLiteral("000940")); });
        QCOMPARE(gone.number, ErrorNumber::ServerUnreachable);
        QCOMPARE(raisedError([&] { database->dataVersion(); }).number, ErrorNumber::ServerUnreachable);
        QVERIFY2(m_server->start(), qPrintable(m_server->failure()));
        QElapsedTimer waited;
        waited.start();
        qint64 after = version;
        while (waited.elapsed() < 10000) { // the next attempt comes a few seconds after the last
            try {
                after = database->dataVersion();
                break;
            } catch (const RingtalError &) {
                QTest::qWait(100);
            }
        }
        QVERIFY(after != version);
        QVERIFY(rows->refreshChanged());
        QCOMPARE(rows->rowCount(), 1);
        rows->cancelUpdate();
        addShooter(*rows, 2, QStringLiteral("Bert"), QStringLiteral("000940"));
        QCOMPARE(database->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_ServerStore)
#include "tst_serverstore.moc"
