// Opening competition files and what fails there, read-only files, rules a
// file brings, transactions, and the data source that (re)runs a query.
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "support/NonRegularFiles.h"
#include "support/OrdinaryUserFileAccess.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace RecordsetChecks;

namespace {

const QString Name = QStringLiteral("Schuetze");

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A file that is not a competition, of the kind named, at the path given.
bool makeForeignFile(const QString &kind, const QString &path)
{
    QFile file(path);
    if (kind == QLatin1String("folder"))
        return QDir().mkpath(path);
    if (kind == QLatin1String("text"))
        return file.open(QIODevice::WriteOnly) && file.write(QByteArray("Schütze, Verein, Ringe\n").repeated(400)) > 0;
    if (kind == QLatin1String("empty"))
        return file.open(QIODevice::WriteOnly);
    return kind == QLatin1String("missing") || NonRegularFiles::make(kind, path);
}

// One write through the recordset: "edit" renames the first row Bäcker, "add"
// stores a row Neu, "delete" deletes Adler.
void writeStep(Recordset &rs, const QString &step)
{
    if (step == QLatin1String("edit")) {
        rs.moveFirst();
        rs.edit();
        rs.setValue(Name, QStringLiteral("Bäcker"));
    } else if (step == QLatin1String("add")) {
        rs.addNew();
        rs.setValue(Name, QStringLiteral("Neu"));
    } else {
        rs.findFirst(QStringLiteral("Schuetze = 'Adler'"));
        return rs.deleteCurrent();
    }
    rs.update();
}

// Descriptors of this process that point at the file: a released file has none.
int openHandles(const QString &path)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString link = QFile::symLinkTarget(fds.filePath(fd));
        count += link == target || link == target + QStringLiteral(" (deleted)");
    }
    return count;
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<Recordset *>(); }

    // A refresh on a file that is no competition fails when the file is opened
    // or, for a database without the tables, when the query runs, and so does
    // a query on a missing table. The rows of the refresh before stay and can
    // still be written; the file stays as it was, and nothing is made beside it.
    void refreshFails_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing file") << "missing" << 3024 << "Königsschießen #2 ?.wkd' wurde nicht gefunden.";
        QTest::newRow("folder named like a competition") << "folder" << 3051 << "' ist ein Ordner und keine Wettkampfdatei.";
        QTest::newRow("text file renamed") << "text" << 3343 << "Nicht erkanntes Datenbankformat '";
        QTest::newRow("empty file") << "empty" << 3078
                                    << "Die Tabelle 'Ergebnisse' gibt es in der Datei '…ist kein Ringtal-Wettkampf.";
        const QString pipe = QStringLiteral("' ist eine benannte Pipe (FIFO) und keine Wettkampfdatei.");
        QTest::newRow("named pipe") << "named pipe" << 3051 << pipe;
        QTest::newRow("link to a named pipe") << "link to a named pipe" << 3051 << pipe;
        QTest::newRow("socket") << "socket" << 3051 << "' ist ein Socket und keine Wettkampfdatei.";
        QTest::newRow("link to a device") << "character device" << 3051 << "' ist ein Gerät und keine Wettkampfdatei.";
        QTest::newRow("same file, query on a missing table") << "query" << 3078 << "Die Tabelle 'Ergebnis' gibt es";
    }

    void refreshFails()
    {
        QFETCH(QString, kind);
        QFETCH(int, number);
        QFETCH(QString, text);
        TestCompetition tc;
        addThree(tc);
        DataSource source;
        source.setDatabaseName(tc.path());
        source.setRecordSource(ByKey);
        source.refresh();
        Recordset *previous = source.recordset();
        previous->moveTo(1);
        QSignalSpy changed(&source, &DataSource::recordsetChanged);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Königsschießen #2 ?.wkd"));
        if (kind == QLatin1String("query"))
            source.setRecordSource(QStringLiteral("Select * from Ergebnis order by Sortierung desc"));
        else
            QVERIFY(makeForeignFile(kind, path));
        source.setDatabaseName(kind == QLatin1String("query") ? tc.path() : path);
        const QStringList before = entries(dir.path());
        const auto content = [&path] {
            QFile file(path);
            // Reading a pipe would wait for a writer.
            return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
        };
        const QByteArray bytes = content();
        RaisedError raised;
        {
            const HangGuard guard(QStringLiteral("Opening a ") + kind);
            raised = raisedError([&] { source.refresh(); });
        }
        QCOMPARE(raised.number, number);
        for (const QString &piece : text.split(QStringLiteral("…")))
            QVERIFY2(raised.description.contains(piece), qPrintable(raised.description));
        QCOMPARE(entries(dir.path()), before);
        QCOMPARE(content(), bytes);
        QCOMPARE(source.recordset(), previous);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(source.database()->path(), tc.path());
        QCOMPARE(RecordsetChecks::names(*previous), (QStringList{"Becker", "Adler", "Cramer"}));
        QCOMPARE(previous->position(), 1);
        previous->edit();
        previous->setValue(Name, QStringLiteral("Ädler"));
        QCOMPARE(raisedNumber([&] { previous->update(); }), 0);
        QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Becker", "Ädler"}));
    }

    // Closing lets go of the file, so that a new competition can take its name.
    void closeReleasesTheFile()
    {
        TestCompetition tc;
        DataSource source;
        source.setDatabaseName(tc.path());
        source.setRecordSource(ByKey);
        source.refresh();
        QSignalSpy changed(&source, &DataSource::recordsetChanged);
        QVERIFY(openHandles(tc.path()) > 0);
        source.close();
        QVERIFY(!source.isOpen() && !source.recordset() && !source.database());
        QCOMPARE(changed, QList<QVariantList>{{QVariant::fromValue<Recordset *>(nullptr)}});
        QCOMPARE(openHandles(tc.path()), 0);
        QVERIFY(QFile::remove(tc.path()));
        QVERIFY(QFile::copy(TestCompetition::templatePath(), tc.path()));
        QVERIFY(QFile::setPermissions(tc.path(), QFile::ReadOwner | QFile::WriteOwner));
        insertShooter(tc, 1, QStringLiteral("Erster Neuer"), QStringLiteral("0800"));
        QCOMPARE(raisedNumber([&] { source.refresh(); }), 0);
        QCOMPARE(RecordsetChecks::names(*source.recordset()), QStringList{"Erster Neuer"});
    }

    // Checked as an ordinary user: root writes read-only files. A new row is
    // stored in a transaction, a deletion without one.
    void readOnlyFile_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("add a row") << "add";
        QTest::newRow("delete a row") << "delete";
    }

    void readOnlyFile()
    {
        QFETCH(QString, step);
        TestCompetition tc;
        insertShooter(tc, 1, QStringLiteral("Adler"), QStringLiteral("0900"));
        insertShooter(tc, 2, QStringLiteral("O'Brien"), QStringLiteral("0950"));
        QVERIFY(QFile::setPermissions(tc.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(tc.folder(), QFileDevice::Permissions(0x7555)));
        RaisedError writeError;
        QStringList shown;
        {
            OrdinaryUserFileAccess access;
            if (access.rootNotDropped())
                QSKIP("running as root without the right to check files as another user");
            std::unique_ptr<Recordset> rs;
            QCOMPARE(raisedNumber([&] { rs = Database::open(tc.path())->openRecordset(ByKey); }), 0);
            shown = RecordsetChecks::names(*rs);
            writeError = raisedError([&] { writeStep(*rs, step); });
        }
        QCOMPARE(shown, (QStringList{"O'Brien", "Adler"}));
        QCOMPARE(writeError.number, 3027);
        QVERIFY2(writeError.description.contains(QStringLiteral("ist schreibgeschützt")), qPrintable(writeError.description));
        QCOMPARE(tableNames(tc), (QStringList{"Adler", "O'Brien"}));
    }

    // A hostile file brings rules of its own for StartNr. Each failed rule is
    // named as what it is, never as a duplicate key, and the row stays new.
    void ruleOfTheFileFails_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QVariant>("startNr");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        const QString notStored = QStringLiteral("Die Änderung wurde nicht gespeichert, weil ");
        const QString foreignKey = notStored + "sie eine Beziehung zu einer anderen Tabelle verletzt: Der verknüpfte "
                                               "Datensatz fehlt, oder ein anderer verweist noch auf diesen "
                                               "(FOREIGN KEY constraint failed).";
        QTest::newRow("CHECK") << "CHECK (StartNr > 0)" << QVariant(0) << 3317
            << notStored + "ein Wert gegen eine Gültigkeitsregel der Tabelle verstößt (CHECK constraint failed: StartNr > 0).";
        QTest::newRow("NOT NULL") << "NOT NULL" << QVariant() << 3314
            << notStored + "ein Feld leer ist, das einen Wert verlangt (NOT NULL constraint failed: Ergebnisse.StartNr).";
        QTest::newRow("FOREIGN KEY") << "REFERENCES Starter (Nr)" << QVariant(7) << 3201 << foreignKey;
        // Reported by the driver, which drops SQLite's code of a failed commit.
        QTest::newRow("FOREIGN KEY checked at commit")
            << "REFERENCES Starter (Nr) DEFERRABLE INITIALLY DEFERRED" << QVariant(7) << 3201 << foreignKey;
        QTest::newRow("UNIQUE") << "UNIQUE" << QVariant(1) << 3022
            << notStored + "sie einen doppelten Schlüssel ergäbe (UNIQUE constraint failed: Ergebnisse.StartNr).";
    }

    void ruleOfTheFileFails()
    {
        QFETCH(QString, rule);
        QFETCH(QVariant, startNr);
        QFETCH(int, number);
        QFETCH(QString, text);
        TestCompetition tc;
        tc.exec(QStringLiteral("DROP TABLE Ergebnisse"));
        tc.exec(QStringLiteral("CREATE TABLE Starter (Nr INTEGER PRIMARY KEY)"));
        tc.exec(QStringLiteral("INSERT INTO Starter VALUES (1)"));
        tc.exec(QStringLiteral("CREATE TABLE Ergebnisse (ID INTEGER PRIMARY KEY AUTOINCREMENT, StartNr INTEGER %1, "
                               "Schuetze TEXT, Sortierung TEXT)").arg(rule));
        tc.exec(QStringLiteral("INSERT INTO Ergebnisse (StartNr, Schuetze) VALUES (1, 'Adler')"));
        const std::shared_ptr<Database> db = Database::open(tc.path());
        // A file cannot switch foreign keys on for the program; the text must fit when they are.
        db->execute(QStringLiteral("PRAGMA foreign_keys = ON"), {});
        const std::unique_ptr<Recordset> rs = db->openRecordset(ByKey);
        rs->addNew();
        rs->setValue(QStringLiteral("StartNr"), startNr);
        rs->setValue(Name, QStringLiteral("Neu"));
        const RaisedError raised = raisedError([&] { rs->update(); });
        QCOMPARE(raised.number, number);
        QCOMPARE(raised.description, text);
        QCOMPARE(rs->editMode(), Recordset::EditMode::AddNew);
        QCOMPARE(tableNames(tc), QStringList{"Adler"});
    }

    // The file's name has umlauts, blanks and the characters a file URI treats
    // as syntax; nothing but the file stays in its folder.
    void transactions_data()
    {
        QTest::addColumn<QString>("writes");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QStringList>("expected");
        const QStringList before{"Becker", "Adler"};
        QTest::newRow("ended without a commit: undone") << "edit" << "none" << before;
        QTest::newRow("several writes committed together") << "edit add delete" << "commit" << QStringList{"Bäcker", "Neu"};
        QTest::newRow("rollback undoes several writes") << "edit add delete" << "rollback" << before;
        QTest::newRow("inner transaction joins the outer rollback") << "edit add" << "nested rollback" << before;
        QTest::newRow("inner end does not commit early") << "edit" << "nested commit" << before;
    }

    void transactions()
    {
        QFETCH(QString, writes);
        QFETCH(QString, end);
        QFETCH(QStringList, expected);
        const QString fileName = QStringLiteral("Schützen Ärger #1 ?%20 & Co's.wkd");
        TestCompetition tc(fileName);
        insertShooter(tc, 1, QStringLiteral("Becker"), QStringLiteral("0950"));
        insertShooter(tc, 2, QStringLiteral("Adler"), QStringLiteral("0900"));
        const QStringList before = tableNames(tc);
        auto db = Database::open(tc.path());
        auto rs = db->openRecordset(ByKey);
        {
            Transaction outer(*db);
            const auto writeAll = [&] {
                for (const QString &step : writes.split(QLatin1Char(' ')))
                    writeStep(*rs, step);
            };
            if (end.startsWith(QLatin1String("nested"))) {
                Transaction inner(*db);
                QCOMPARE(raisedNumber(writeAll), 0);
                if (end == QLatin1String("nested rollback"))
                    inner.commit();
            } else {
                QCOMPARE(raisedNumber(writeAll), 0);
            }
            QVERIFY(db->inTransaction());
            // Another connection sees nothing of the command before it ends.
            QCOMPARE(tableNames(tc), before);
            if (end == QLatin1String("commit"))
                outer.commit();
            else if (end.endsWith(QLatin1String("rollback")))
                outer.rollback();
        }
        QVERIFY(!db->inTransaction());
        QCOMPARE(tableNames(tc), expected);
        rs.reset();
        db.reset();
        QCOMPARE(entries(tc.folder()), QStringList{fileName});
    }

    // Two sources on one file, as the entry list and the winners list. A
    // refresh runs the query, storing a pending edit first; after the first
    // wrote through its own rows, the second shows what reading would give,
    // whether it takes the first's rows or has to read because someone else wrote.
    void refreshRunsTheQuery_data()
    {
        QTest::addColumn<QString>("between");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("first refresh opens") << "" << QStringList{"Becker", "Adler", "Cramer"};
        QTest::newRow("row added by another connection") << "other add" << QStringList{"Dorn", "Becker", "Adler", "Cramer"};
        QTest::newRow("pending edit stored first") << "pending key" << QStringList{"Cramer", "Becker", "Adler"};
        QTest::newRow("sibling wrote a name") << "sibling edit" << QStringList{"Becker", "Zeller", "Cramer"};
        QTest::newRow("another program wrote after the sibling")
            << "sibling edit, other add" << QStringList{"Dorn", "Becker", "Zeller", "Cramer"};
        QTest::newRow("sibling re-sorted after a key change") << "sibling key" << QStringList{"Adler", "Becker", "Cramer"};
    }

    void refreshRunsTheQuery()
    {
        QFETCH(QString, between);
        QFETCH(QStringList, expected);
        TestCompetition tc;
        addThree(tc);
        DataSource entry;
        DataSource winners;
        std::vector<Recordset *> changed;
        connect(&entry, &DataSource::recordsetChanged, this, [&](Recordset *rs) { changed.push_back(rs); });
        for (DataSource *source : {&entry, &winners}) {
            source->setDatabaseName(tc.path());
            source->setRecordSource(ByKey);
        }
        QVERIFY(!entry.isOpen());
        if (!between.isEmpty()) {
            entry.refresh();
            winners.refresh();
            Recordset *rs = entry.recordset();
            if (between != QLatin1String("other add")) {
                rs->moveTo(between == QLatin1String("pending key") ? 2 : 1);
                rs->edit();
                if (between.endsWith(QLatin1String("key")))
                    rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("0999"));
                else
                    rs->setValue(Name, QStringLiteral("Zeller"));
                if (between.startsWith(QLatin1String("sibling")))
                    rs->update();
            }
            if (between.endsWith(QLatin1String("other add"))) {
                if (between.startsWith(QLatin1String("sibling")))
                    entry.refresh();
                insertShooter(tc, 40, QStringLiteral("Dorn"), QStringLiteral("0990"));
            }
        }
        QCOMPARE(raisedNumber([&] { entry.refresh(); }), 0);
        winners.refresh(&entry);
        QVERIFY(entry.isOpen());
        if (between.isEmpty())
            QCOMPARE(changed, std::vector<Recordset *>{entry.recordset()});
        QCOMPARE(entry.database()->path(), tc.path());
        QCOMPARE(RecordsetChecks::names(*entry.recordset()), expected);
        QCOMPARE(RecordsetChecks::names(*winners.recordset()), expected);
        QCOMPARE(entry.recordset()->position(), 0);
        QCOMPARE(winners.recordset()->position(), 0);
        QCOMPARE(entry.recordset()->editMode(), Recordset::EditMode::None);
        QCOMPARE(tableNames(tc).size(), expected.size());
    }

};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
