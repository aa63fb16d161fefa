#include "Database.h"
#include "Recordset.h"
#include "RecordsetChecks.h"
#include "OrdinaryUserFileAccess.h"
#include "RingtalError.h"
#include "TestCompetition.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <QtTest>


using namespace RecordsetChecks;

namespace {

const QString Name = QStringLiteral("Schuetze");

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The first bytes of an Access 97/2000 file, as a user might still pick one.
QByteArray jetFile()
{
    QByteArray bytes("\x00\x01\x00\x00Standard Jet DB\x00", 20);
    bytes.append(QByteArray(4096 - bytes.size(), '\0'));
    return bytes;
}

bool makeSqliteFileWithoutTables(const QString &path)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(path);
        ok = db.open() && QSqlQuery(db).exec(QStringLiteral("CREATE TABLE Notizen (Text TEXT)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    return ok;
}


} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void missingFile_data();
    void missingFile();
    void folder_data();
    void folder();
    void notADatabase_data();
    void notADatabase();
    void missingTables_data();
    void missingTables();
    void readOnlyFile_data();
    void readOnlyFile();
    void unusualPaths_data();
    void unusualPaths();
    void transactions_data();
    void transactions();
};

// ---------------------------------------------------------------- opening

void TestDatabase::missingFile_data()
{
    QTest::addColumn<QString>("relative");

    QTest::newRow("missing file in an existing folder") << "nicht-da.wkd";
    QTest::newRow("missing folder") << "fehlt/wettkampf.wkd";
    QTest::newRow("name with umlauts, blank and question mark") << "Königsschießen ?.wkd";
    QTest::newRow("name with hash") << "Runde #2.wkd";
}

void TestDatabase::missingFile()
{
    QFETCH(QString, relative);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(relative);

    QCOMPARE(raisedNumber([&] { Database::open(path); }), ErrorNumber::DatabaseFileNotFound);
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(entries(dir.path()), QStringList());
}

void TestDatabase::folder_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("plain folder") << "Wettkaempfe";
    QTest::newRow("folder named like a competition") << "Alt.wkd";
}

void TestDatabase::folder()
{
    QFETCH(QString, name);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);
    QVERIFY(QDir(dir.path()).mkdir(name));

    QCOMPARE(raisedNumber([&] { Database::open(path); }), ErrorNumber::CannotOpenFile);
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(entries(path), QStringList());
}

void TestDatabase::notADatabase_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("short text file renamed") << QByteArray("Name;Verein\nMüller;SV Tal\n");
    QTest::newRow("long text file renamed") << QByteArray("Schütze, Verein, Ringe\n").repeated(400);
    QTest::newRow("old Access file") << jetFile();
    QTest::newRow("damaged header") << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x7f');
}

void TestDatabase::notADatabase()
{
    QFETCH(QByteArray, bytes);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Import.wkd"));
    QVERIFY(writeFile(path, bytes));

    QCOMPARE(raisedNumber([&] { Database::open(path)->openRecordset(ByKey); }), ErrorNumber::UnrecognizedFormat);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestDatabase::missingTables_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("sql");

    QTest::newRow("empty file, results") << "empty" << ByKey;
    QTest::newRow("empty file, title") << "empty" << "Select * from Wettkampf";
    QTest::newRow("database of another program") << "foreign" << ByKey;
    QTest::newRow("master list picked as competition") << "master" << ByStartNr;
}

void TestDatabase::missingTables()
{
    QFETCH(QString, kind);
    QFETCH(QString, sql);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Wettkampf.wkd"));
    if (kind == QLatin1String("empty"))
        QVERIFY(writeFile(path, QByteArray()));
    else if (kind == QLatin1String("foreign"))
        QVERIFY(makeSqliteFileWithoutTables(path));
    else
        QVERIFY(QFile::copy(TestCompetition::masterPath(), path));

    std::shared_ptr<Database> db;
    QCOMPARE(raisedNumber([&] { db = Database::open(path); }), 0);
    QVERIFY(db);
    QCOMPARE(raisedNumber([&] { db->openRecordset(sql); }), ErrorNumber::TableNotFound);
}

// ---------------------------------------------------------------- read-only

void TestDatabase::readOnlyFile_data()
{
    QTest::addColumn<QString>("write");

    QTest::newRow("edit a row") << "edit";
    QTest::newRow("add a row") << "add";
    QTest::newRow("delete a row") << "delete";
}

void TestDatabase::readOnlyFile()
{
    QFETCH(QString, write);

    TestCompetition tc;
    insertShooter(tc, 1, QStringLiteral("Müller"), QStringLiteral("0900"));
    insertShooter(tc, 2, QStringLiteral("O'Brien"), QStringLiteral("0950"));
    QVERIFY(QFile::setPermissions(tc.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(tc.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                   | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                   | QFile::ExeOther));
    int writeError = 0;
    QStringList shown;
    {
        OrdinaryUserFileAccess access;
        if (access.rootNotDropped())
            QSKIP("running as root without the right to check files as another user; root writes read-only files");
        QFile probe(tc.path());
        if (probe.open(QIODevice::ReadWrite))
            QSKIP("this process can open a file of mode 0444 for writing, so the row cannot be built");

        std::shared_ptr<Database> db;
        QCOMPARE(raisedNumber([&] { db = Database::open(tc.path()); }), 0);
        std::unique_ptr<Recordset> rs;
        QCOMPARE(raisedNumber([&] { rs = db->openRecordset(ByKey); }), 0);
        shown = RecordsetChecks::names(*rs);
        writeError = raisedNumber([&] {
            if (write == QLatin1String("edit")) {
                rs->edit();
                rs->setValue(Name, QStringLiteral("Möller"));
                rs->update();
            } else if (write == QLatin1String("add")) {
                rs->addNew();
                rs->setValue(Name, QStringLiteral("Neu"));
                rs->update();
            } else {
                rs->deleteCurrent();
            }
        });
    }
    QCOMPARE(shown, (QStringList{"O'Brien", "Müller"}));
    QCOMPARE(writeError, ErrorNumber::ReadOnly);
    QCOMPARE(tableNames(tc), (QStringList{"Müller", "O'Brien"}));
}

// ---------------------------------------------------------------- paths

void TestDatabase::unusualPaths_data()
{
    QTest::addColumn<QString>("fileName");

    QTest::newRow("umlauts and blanks") << "Königsschießen Müller 2024.wkd";
    QTest::newRow("hash") << "Runde #2.wkd";
    QTest::newRow("question mark") << "Wer ist vorn?.wkd";
    QTest::newRow("percent and hex digits") << "100%41 Treffer.wkd";
    QTest::newRow("everything at once") << "Schützen Ärger #1 ?%20 & Co's.wkd";
}

void TestDatabase::unusualPaths()
{
    QFETCH(QString, fileName);

    TestCompetition tc(fileName);
    insertShooter(tc, 1, QStringLiteral("Müller"), QStringLiteral("0900"));
    {
        std::shared_ptr<Database> db;
        QCOMPARE(raisedNumber([&] { db = Database::open(tc.path()); }), 0);
        std::unique_ptr<Recordset> rs;
        QCOMPARE(raisedNumber([&] { rs = db->openRecordset(ByKey); }), 0);
        QCOMPARE(RecordsetChecks::names(*rs), QStringList{"Müller"});
        rs->edit();
        rs->setValue(Name, QStringLiteral("Möller"));
        QCOMPARE(raisedNumber([&] { rs->update(); }), 0);
    }
    QCOMPARE(tableNames(tc), QStringList{"Möller"});
    QCOMPARE(entries(tc.folder()), QStringList{fileName});
}

// ---------------------------------------------------------------- transactions

void TestDatabase::transactions_data()
{
    QTest::addColumn<QString>("writes");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QStringList>("expected");

    const QStringList before{"Becker", "Adler"};
    QTest::newRow("ended without a call: committed") << "edit" << "none" << QStringList{"Bäcker", "Adler"};
    QTest::newRow("explicit commit") << "edit" << "commit" << QStringList{"Bäcker", "Adler"};
    QTest::newRow("several writes committed together") << "edit add delete" << "none" << QStringList{"Bäcker", "Neu"};
    QTest::newRow("rollback undoes an edit") << "edit" << "rollback" << before;
    QTest::newRow("rollback undoes an added row") << "add" << "rollback" << before;
    QTest::newRow("rollback undoes a delete") << "delete" << "rollback" << before;
    QTest::newRow("rollback undoes several writes") << "edit add delete" << "rollback" << before;
    QTest::newRow("inner transaction joins the outer rollback") << "edit add" << "nested rollback" << before;
    QTest::newRow("inner end does not commit early") << "edit" << "nested commit" << QStringList{"Bäcker", "Adler"};
}

void TestDatabase::transactions()
{
    QFETCH(QString, writes);
    QFETCH(QString, end);
    QFETCH(QStringList, expected);

    TestCompetition tc;
    insertShooter(tc, 1, QStringLiteral("Becker"), QStringLiteral("0950"));
    insertShooter(tc, 2, QStringLiteral("Adler"), QStringLiteral("0900"));
    const QStringList before = tableNames(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    {
        Transaction outer(*db);
        auto writeAll = [&] {
            for (const QString &step : writes.split(QLatin1Char(' '))) {
                if (step == QLatin1String("edit")) {
                    rs->moveFirst();
                    rs->edit();
                    rs->setValue(Name, QStringLiteral("Bäcker"));
                    rs->update();
                } else if (step == QLatin1String("add")) {
                    rs->addNew();
                    rs->setValue(Name, QStringLiteral("Neu"));
                    rs->update();
                } else {
                    rs->findFirst(QStringLiteral("Schuetze = 'Adler'"));
                    rs->deleteCurrent();
                }
            }
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
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
