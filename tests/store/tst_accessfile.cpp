// Reading Access files: recognising them, their tables and values as mdb-export
// shows them, and damaged or foreign files. Taking an Access competition over
// into a new competition file: every field of every row, read back through a
// connection of its own; exact doubles; failures that leave nothing behind.
#include "store/AccessFile.h"
#include "store/CompetitionTakeOver.h"
#include "store/Database.h"
#include "support/AccessFixtures.h"
#include "support/CheckConnection.h"
#include "support/NonRegularFiles.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <cstring>

namespace {

// `mdb-export legacy-competition.wkd Ergebnisse` without its quotes; an empty
// field there is Null (no text of the fixture holds a comma).
const char *const Exported[] = {
    "1,3,1,Jürgen Müßig,SV Grün-Weiß Öhringen,89,2,10,9,9,8,10,7,9,10,8,9,0000890203040201000000000000",
    "2,4,2,Anna Beispiel,SG Tell Ahlen,89,2,10,10,9,9,9,8,8,9,8,9,0000890202050300000000000000",
    "3,5,3,Ömer Yıldız,SV Grün-Weiß Öhringen,89,1,10,10,10,9,9,7,8,9,8,9,0000890103040201000000000000",
    "4,6,4,Zoë Ærø,,46,0,9,9,8,10,10,0,0,0,0,0,0000460002020100000000000000",
    "5,1,5,Karl-Heinz O'Brien,SG Tell Ahlen,94,3,10,10,10,10,9,9,9,9,9,9,0000940304060000000000000000",
    "6,1,6,Beate Schmitt,SV Hubertus Kirchberg,94,3,10,10,10,10,9,9,9,9,9,9,0000940304060000000000000000",
    "7,7,7,Lukas Wagner,SV Hubertus Kirchberg,,,,,,,,,,,,,",
    "8,7,8,Marie Dupont,,,,,,,,,,,,,,",
};

QStringList resultFields()
{
    QStringList fields{"ID", "Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner"};
    for (int ring = 1; ring <= 10; ++ring)
        fields << QStringLiteral("Ring%1").arg(ring);
    return fields << QStringLiteral("Sortierung");
}

// SQLite's storage class each field must have when it is not Null.
QString storageClass(const QString &field)
{
    if (field == QLatin1String("Schuetze") || field == QLatin1String("Verein") || field == QLatin1String("Sortierung"))
        return QStringLiteral("text");
    if (field == QLatin1String("Serie") || field.startsWith(QLatin1String("Ring")))
        return QStringLiteral("real");
    return QStringLiteral("integer");
}

QByteArray doubleBytes(double value)
{
    QByteArray bytes(8, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray sha(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class tst_AccessFile : public QObject
{
    Q_OBJECT

private slots:
    void tables_data();
    void tables();
    void values_data();
    void values();
    void damaged_data();
    void damaged();

    void init();
    void everyField_data();
    void everyField();
    void wholeFile();
    void exactDoubles_data();
    void exactDoubles();
    void proposedName_data();
    void proposedName();
    void failures_data();
    void failures();
    void failureInsideTheTransactionRollsBack();

private:
    QString takeOver(const QString &access);
    QString target() const { return m_work->filePath(QStringLiteral("Übernommen 2026.wkd")); }
    QStringList folderEntries() const { return QDir(m_work->path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir m_dir;
    // A folder of its own for each take-over, so that what is left behind shows.
    std::unique_ptr<QTemporaryDir> m_work;
};

// Field names and row counts as mdb-export lists them.
void tst_AccessFile::tables_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("rows");

    QStringList results{"ID", "Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner"};
    for (int ring = 1; ring <= 10; ++ring)
        results << QStringLiteral("Ring%1").arg(ring);
    results << QStringLiteral("Sortierung");
    QTest::newRow("results of the competition") << AccessFixtures::Competition << "Ergebnisse" << results << 8;
    QTest::newRow("shooters of the master list") << AccessFixtures::MasterList << "Schuetzen"
                                                 << QStringList{"ID", "Schuetze", "Verein"} << 5;
    QTest::newRow("5000 results") << AccessFixtures::Competition5000 << "Ergebnisse" << results << 5000;
}

void tst_AccessFile::tables()
{
    QFETCH(QString, fixture);
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    QFETCH(int, rows);
    const AccessFile file(AccessFixtures::path(fixture));
    QVERIFY(file.hasTable(table));
    const AccessFile::Table read = file.readTable(table);
    QCOMPARE(read.fieldNames, fields);
    QCOMPARE(int(read.rows.size()), rows);
    for (const QVector<QVariant> &row : read.rows)
        QCOMPARE(row.size(), fields.size());
    // Fields are found by name whatever the letter case.
    QCOMPARE(read.fieldIndex(fields.last().toLower()), fields.size() - 1);
    QCOMPARE(read.fieldIndex(QStringLiteral("Geburtstag")), -1);
}

// Values as mdb-export shows them: whole numbers as whole numbers, doubles as
// doubles, Null as Null, letters beyond Latin-1.
void tst_AccessFile::values_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");
    const QString master = AccessFixtures::MasterList, competition = AccessFixtures::Competition;
    QTest::newRow("ID is a whole number") << master << 0 << "ID" << QVariant(qlonglong(1));
    QTest::newRow("umlauts and ß") << master << 0 << "Schuetze" << QVariant(QStringLiteral("Jürgen Müßig"));
    QTest::newRow("no club is Null") << master << 2 << "Verein" << QVariant();
    QTest::newRow("letters beyond Latin-1") << master << 4 << "Schuetze" << QVariant(QStringLiteral("Ömer Yıldız"));
    QTest::newRow("place of a result") << competition << 0 << "Platz" << QVariant(qlonglong(3));
    QTest::newRow("total is a double") << competition << 0 << "Serie" << QVariant(89.0);
    QTest::newRow("key is text") << competition << 0 << "Sortierung" << QVariant(QStringLiteral("0000890203040201000000000000"));
}

void tst_AccessFile::values()
{
    QFETCH(QString, fixture);
    QFETCH(int, row);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    const AccessFile file(AccessFixtures::path(fixture));
    const AccessFile::Table table = file.readTable(file.hasTable("Schuetzen") ? "Schuetzen" : "Ergebnisse");
    const QVariant value = table.rows.at(size_t(row)).at(table.fieldIndex(field));
    QCOMPARE(value.isNull(), expected.isNull());
    if (!expected.isNull()) {
        QCOMPARE(value.typeId(), expected.typeId());
        QCOMPARE(value, expected);
    }
}

// Damaged and foreign files are refused when read; a cut copy still has the
// header that tells an Access file, so the reading must notice the damage.
void tst_AccessFile::damaged_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("header");
    QTest::addColumn<int>("number");

    const QString competition = AccessFixtures::Competition;
    const QString master = AccessFixtures::MasterList;
    QTest::newRow("competition cut inside a page") << "cut inside a page" << competition << "Ergebnisse" << true << 3343;
    QTest::newRow("competition without its last page") << "last page missing" << competition << "Ergebnisse" << true
                                                       << 3343;
    QTest::newRow("catalog missing") << "catalog missing" << master << "Schuetzen" << true << 3343;
    QTest::newRow("empty file") << "empty file" << competition << "Ergebnisse" << false << 3343;
    QTest::newRow("text file") << "text file" << competition << "Ergebnisse" << false << 3343;
    QTest::newRow("master list has no results") << "other table" << competition << "Ergebnisse" << true << 3078;
    // Neither waits for a writer nor reads a device: no Access file, error 75.
    for (const char *kind : {"named pipe", "link to a named pipe", "socket", "character device"})
        QTest::newRow(kind) << kind << competition << "Ergebnisse" << false << 75;
}

void tst_AccessFile::damaged()
{
    QFETCH(QString, kind);
    QFETCH(QString, fixture);
    QFETCH(QString, table);
    QFETCH(bool, header);
    QFETCH(int, number);
    // A file of its own per row: writing over the named pipe of a row before would wait for a reader.
    const QString target = m_dir.filePath(QString::fromUtf8(QTest::currentDataTag()) + QStringLiteral(".wkd"));
    const QString path = AccessFixtures::damagedCopy(kind, fixture, target);
    QVERIFY(!path.isEmpty());
    {
        const HangGuard guard(QStringLiteral("Reading a ") + kind);
        QCOMPARE(AccessFile::hasAccessHeader(path), header);
        QCOMPARE(raisedNumber([&] { AccessFile(path).readTable(table); }), number);
    }
    // Neither the program's own files nor a missing one pass for Access files.
    QVERIFY(AccessFile::hasAccessHeader(AccessFixtures::path(fixture)));
    QVERIFY(!AccessFile::hasAccessHeader(TestCompetition::templatePath()));
    QVERIFY(!AccessFile::hasAccessHeader(m_dir.filePath(QStringLiteral("nirgends.wkd"))));
}

void tst_AccessFile::init()
{
    m_work = std::make_unique<QTemporaryDir>();
}

QString tst_AccessFile::takeOver(const QString &access)
{
    CompetitionTakeOver::intoNewFile(access, TestCompetition::templatePath(), target());
    return target();
}

void tst_AccessFile::everyField_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("exported");

    const char *const names[] = {"umlauts and ß",       "tie on 89, first", "letters beyond Latin-1", "no club",
                                 "apostrophe, place 1", "tie on place 1",   "no results",             "no club, no results"};
    for (int i = 0; i < 8; ++i)
        QTest::newRow(names[i]) << i + 1 << QString::fromUtf8(Exported[i]);
}

void tst_AccessFile::everyField()
{
    QFETCH(int, id);
    QFETCH(QString, exported);
    const QString file = takeOver(AccessFixtures::path(AccessFixtures::Competition));
    const QStringList fields = resultFields();
    const QStringList expected = exported.split(QLatin1Char(','));
    QCOMPARE(expected.size(), fields.size());
    for (int i = 0; i < fields.size(); ++i) {
        const QString &field = fields.at(i);
        const QVariantMap stored = CheckConnection::rows(
                file, QStringLiteral("SELECT typeof(%1) AS kind, %1 AS value FROM Ergebnisse WHERE ID = ?").arg(field),
                {id}).value(0);
        const QString kind = stored.value(QStringLiteral("kind")).toString();
        if (expected.at(i).isEmpty()) {
            QVERIFY2(kind == QLatin1String("null"), qPrintable(field + QStringLiteral(" is ") + kind));
            continue;
        }
        QVERIFY2(kind == storageClass(field), qPrintable(field + QStringLiteral(" is ") + kind));
        QCOMPARE(stored.value(QStringLiteral("value")).toString(), expected.at(i));
    }
}

// A take-over replaces a competition file of that name, leaves the Access
// file as it was, and nothing beside the new file; new rows get new numbers.
void tst_AccessFile::wholeFile()
{
    QVERIFY(QFile::copy(TestCompetition::templatePath(), target()));
    QVERIFY(QFile::setPermissions(target(), QFile::ReadOwner | QFile::WriteOwner));
    CheckConnection::exec(target(), QStringLiteral("INSERT INTO Ergebnisse (Schuetze) VALUES ('Alt')"));
    const QString access = AccessFixtures::write(m_work->filePath(QStringLiteral("alt.wkd")),
                                                 AccessFixtures::bytes(AccessFixtures::Competition));
    const QByteArray before = sha(access);
    const QDateTime modified = QFileInfo(access).lastModified();
    const QString file = takeOver(access);
    QCOMPARE(sha(access), before);
    QCOMPARE(QFileInfo(access).lastModified(), modified);
    QCOMPARE(CheckConnection::scalar(file, QStringLiteral("SELECT group_concat(ID, ',') FROM Ergebnisse")).toString(),
             QStringLiteral("1,2,3,4,5,6,7,8"));
    const QList<QVariantMap> titles = CheckConnection::rows(file, QStringLiteral("SELECT * FROM Wettkampf"));
    QCOMPARE(titles.size(), 1);
    QCOMPARE(titles.front().value(QStringLiteral("Bezeichnung")).toString(),
             QStringLiteral("Vereinsmeisterschaft Luftgewehr 2026"));
    QStringList entries = folderEntries();
    entries.sort();
    QCOMPARE(entries, (QStringList{"alt.wkd", "Übernommen 2026.wkd"}));

    Database::open(file)->execute(QStringLiteral("INSERT INTO Ergebnisse (Schuetze) VALUES (?)"), {QStringLiteral("Neu")});
    QCOMPARE(CheckConnection::scalar(file, QStringLiteral("SELECT ID FROM Ergebnisse WHERE Schuetze = 'Neu'")).toLongLong(),
             9);
}

// Zoë's total of 46 is the only 46.0 in the file; each copy carries another
// value in its place, written as the eight bytes Access stores.
void tst_AccessFile::exactDoubles_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("a tenth") << 46.1;
    QTest::newRow("seventeen digits") << std::nextafter(std::nextafter(46.1, 100.0), 100.0);
    QTest::newRow("smallest subnormal") << 4.9406564584124654e-324;
}

void tst_AccessFile::exactDoubles()
{
    QFETCH(double, value);
    const QString access = AccessFixtures::patchedCopy(AccessFixtures::Competition, doubleBytes(46.0), doubleBytes(value),
                                                       m_work->filePath(QStringLiteral("patched.wkd")));
    QVERIFY(!access.isEmpty());
    const QString file = takeOver(access);
    const QVariant stored = CheckConnection::scalar(file, QStringLiteral("SELECT Serie FROM Ergebnisse WHERE ID = 4"));
    QCOMPARE(stored.typeId(), QMetaType::Double);
    const double read = stored.toDouble();
    QVERIFY2(std::memcmp(&read, &value, sizeof value) == 0,
             qPrintable(QStringLiteral("%1 instead of %2").arg(read, 0, 'g', 17).arg(value, 0, 'g', 17)));
}

void tst_AccessFile::proposedName_data()
{
    QTest::addColumn<QString>("access");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("competition") << "/daten/Kreis 2019.wkd" << "Kreis 2019 (übernommen).wkd";
    QTest::newRow("dots in the name") << "/daten/v1.2.wkd" << "v1.2 (übernommen).wkd";
}

void tst_AccessFile::proposedName()
{
    QFETCH(QString, access);
    QFETCH(QString, proposed);
    QCOMPARE(CompetitionTakeOver::proposedFileName(access), proposed);
}

void tst_AccessFile::failures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("existingTarget");
    QTest::addColumn<int>("number");

    QTest::newRow("master list instead of a competition") << "other table" << false << 3078;
    QTest::newRow("duplicate IDs") << "duplicate IDs" << false << 3022;
    QTest::newRow("damaged file, existing target kept") << "last page missing" << true << 3343;
    QTest::newRow("duplicate IDs, existing target kept") << "duplicate IDs" << true << 3022;
}

void tst_AccessFile::failures()
{
    QFETCH(QString, kind);
    QFETCH(bool, existingTarget);
    QFETCH(int, number);
    const QString access = AccessFixtures::damagedCopy(kind, AccessFixtures::Competition,
                                                       m_work->filePath(QStringLiteral("kaputt.wkd")));
    QVERIFY(!access.isEmpty());
    const QByteArray accessBefore = sha(access);
    QByteArray targetBefore;
    if (existingTarget)
        targetBefore = sha(AccessFixtures::write(target(), "was da war"));
    QCOMPARE(raisedNumber([&] { takeOver(access); }), number);
    QCOMPARE(sha(access), accessBefore);
    QCOMPARE(QFile::exists(target()), existingTarget);
    if (existingTarget)
        QCOMPARE(sha(target()), targetBefore);
    // Neither the file being built nor its journal is left behind.
    QStringList expected{QStringLiteral("kaputt.wkd")};
    if (existingTarget)
        expected << QStringLiteral("Übernommen 2026.wkd");
    QStringList entries = folderEntries();
    entries.sort();
    QCOMPARE(entries, expected);
}

// copy() on its own: the duplicate ID fails at the second row, after the
// first was written; the target keeps nothing of it.
void tst_AccessFile::failureInsideTheTransactionRollsBack()
{
    const QString access = AccessFixtures::damagedCopy(QStringLiteral("duplicate IDs"), AccessFixtures::Competition,
                                                       m_work->filePath(QStringLiteral("doppelt.wkd")));
    QVERIFY(!access.isEmpty());
    TestCompetition competition;
    {
        const AccessFile source(access);
        const std::shared_ptr<Database> database = Database::open(competition.path());
        QCOMPARE(raisedNumber([&] { CompetitionTakeOver::copy(source, *database); }), 3022);
        QVERIFY(!database->inTransaction());
    }
    QCOMPARE(competition.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), 0);
    QCOMPARE(competition.scalar(QStringLiteral("SELECT count(*) FROM Wettkampf")).toInt(), 0);
}

QTEST_GUILESS_MAIN(tst_AccessFile)
#include "tst_accessfile.moc"
