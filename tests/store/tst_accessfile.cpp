// Reading Access files: recognising them, their tables and values, and
// damaged or foreign files. Taking an Access competition over into a new
// competition file: every field of every row, read back through a connection
// of its own; exact doubles; failures that leave nothing behind.
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

const QStringList ResultFields{"ID",    "Platz", "StartNr", "Schuetze", "Verein", "Serie", "Innenzehner",
                               "Ring1", "Ring2", "Ring3",   "Ring4",    "Ring5",  "Ring6", "Ring7",
                               "Ring8", "Ring9", "Ring10",  "Sortierung"};

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
    // Field names and row counts as mdb-export lists them; values ("row/field")
    // whole numbers as qint64, doubles as double, Null as Null.
    void tables_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QVariantMap>("values");
        QTest::newRow("results of the competition") << AccessFixtures::Competition << "Ergebnisse" << ResultFields << 8
            << QVariantMap{{"0/Platz", qlonglong(3)}, {"0/Serie", 89.0}, {"0/Sortierung", "0000890203040201000000000000"}};
        QTest::newRow("shooters of the master list")
            << AccessFixtures::MasterList << "Schuetzen" << QStringList{"ID", "Schuetze", "Verein"} << 5
            << QVariantMap{{"0/ID", qlonglong(1)}, {"0/Schuetze", "Jürgen Müßig"}, {"2/Verein", QVariant()},
                           {"4/Schuetze", "Ömer Yıldız"}};
        QTest::newRow("5000 results") << AccessFixtures::Competition5000 << "Ergebnisse" << ResultFields << 5000
                                      << QVariantMap{};
    }

    void tables()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, table);
        QFETCH(QStringList, fields);
        QFETCH(int, rows);
        QFETCH(QVariantMap, values);
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
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const QVariant value = read.rows.at(it.key().section('/', 0, 0).toUInt()).at(read.fieldIndex(it.key().section('/', 1)));
            QCOMPARE(value.isNull(), it->isNull());
            if (!it->isNull())
                QCOMPARE(value.typeId(), it->typeId());
            QCOMPARE(value, *it);
        }
    }

    // Damaged and foreign files are refused when read; a cut copy still has
    // the header that tells an Access file, so the reading must notice the damage.
    void damaged_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("header");
        QTest::addColumn<int>("number");
        const QString competition = AccessFixtures::Competition;
        QTest::newRow("competition cut inside a page") << "cut inside a page" << competition << true << 3343;
        QTest::newRow("competition without its last page") << "last page missing" << competition << true << 3343;
        QTest::newRow("catalog missing") << "catalog missing" << AccessFixtures::MasterList << true << 3343;
        QTest::newRow("empty file") << "empty file" << competition << false << 3343;
        QTest::newRow("text file") << "text file" << competition << false << 3343;
        QTest::newRow("master list has no results") << "other table" << competition << true << 3078;
        // Neither waits for a writer nor reads a device: no Access file, error 75.
        QTest::newRow("named pipe") << "named pipe" << competition << false << 75;
        QTest::newRow("character device") << "character device" << competition << false << 75;
    }

    void damaged()
    {
        QFETCH(QString, kind);
        QFETCH(QString, fixture);
        QFETCH(bool, header);
        QFETCH(int, number);
        // A file of its own per row: writing over the named pipe of a row before would wait for a reader.
        const QString path = AccessFixtures::damagedCopy(kind, fixture, m_dir.filePath(QTest::currentDataTag()));
        QVERIFY(!path.isEmpty());
        const QString table = fixture == AccessFixtures::MasterList ? QStringLiteral("Schuetzen") : QStringLiteral("Ergebnisse");
        const HangGuard guard(QStringLiteral("Reading a ") + kind);
        QCOMPARE(AccessFile::hasAccessHeader(path), header);
        QCOMPARE(raisedNumber([&] { AccessFile(path).readTable(table); }), number);
    }

    // Neither the program's own files nor a missing one pass for Access files.
    void header()
    {
        QVERIFY(AccessFile::hasAccessHeader(AccessFixtures::path(AccessFixtures::MasterList)));
        QVERIFY(!AccessFile::hasAccessHeader(TestCompetition::templatePath()));
        QVERIFY(!AccessFile::hasAccessHeader(m_dir.filePath(QStringLiteral("nirgends.wkd"))));
    }

    void init() { m_work = std::make_unique<QTemporaryDir>(); }

    // Every field of every row with SQLite's storage class it must have.
    void everyField()
    {
        const QString file = takeOver(AccessFixtures::path(AccessFixtures::Competition));
        QStringList columns;
        for (const QString &field : ResultFields)
            columns << QStringLiteral("typeof(%1) AS %1_kind, %1").arg(field);
        const QList<QVariantMap> rows = CheckConnection::rows(
                file, QStringLiteral("SELECT %1 FROM Ergebnisse ORDER BY ID").arg(columns.join(QStringLiteral(", "))));
        QCOMPARE(rows.size(), 8);
        for (int i = 0; i < 8; ++i) {
            QStringList expected;
            QStringList actual;
            for (const QString &value : QString::fromUtf8(Exported[i]).split(QLatin1Char(','))) {
                const QString &field = ResultFields.at(expected.size());
                const bool text = field == "Schuetze" || field == "Verein" || field == "Sortierung";
                const bool real = field == "Serie" || field.startsWith(QLatin1String("Ring"));
                expected << (value.isEmpty() ? "null" : text ? "text" : real ? "real" : "integer") + (':' + value);
                actual << rows.at(i).value(field + "_kind").toString() + ':' + rows.at(i).value(field).toString();
            }
            QCOMPARE(actual, expected);
        }
    }

    // A take-over replaces a competition file of that name, leaves the Access
    // file as it was, and nothing beside the new file; new rows get new numbers.
    void wholeFile()
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
        QCOMPARE(CheckConnection::scalar(file, QStringLiteral("SELECT group_concat(Bezeichnung, '|') FROM Wettkampf")),
                 QStringLiteral("Vereinsmeisterschaft Luftgewehr 2026"));
        QCOMPARE(folderEntries(), (QStringList{"alt.wkd", "Übernommen 2026.wkd"}));
        Database::open(file)->execute(QStringLiteral("INSERT INTO Ergebnisse (Schuetze) VALUES ('Neu')"), {});
        QCOMPARE(CheckConnection::scalar(file, QStringLiteral("SELECT ID FROM Ergebnisse WHERE Schuetze = 'Neu'")), 9);
        // The name proposed for the new file keeps the dots of the old name.
        QCOMPARE(CompetitionTakeOver::proposedFileName(QStringLiteral("/daten/v1.2.wkd")),
                 QStringLiteral("v1.2 (übernommen).wkd"));
    }

    // Zoë's total of 46 is the only 46.0 in the file; each copy carries another
    // value in its place, written as the eight bytes Access stores.
    void exactDoubles_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("seventeen digits") << std::nextafter(std::nextafter(46.1, 100.0), 100.0);
        QTest::newRow("smallest subnormal") << 4.9406564584124654e-324;
    }

    void exactDoubles()
    {
        QFETCH(double, value);
        const QString access = AccessFixtures::patchedCopy(AccessFixtures::Competition, doubleBytes(46.0), doubleBytes(value),
                                                           m_work->filePath(QStringLiteral("patched.wkd")));
        QVERIFY(!access.isEmpty());
        const QVariant stored = CheckConnection::scalar(takeOver(access), QStringLiteral("SELECT Serie FROM Ergebnisse WHERE ID = 4"));
        QCOMPARE(stored.typeId(), QMetaType::Double);
        const double read = stored.toDouble();
        QVERIFY2(std::memcmp(&read, &value, sizeof value) == 0, QByteArray::number(read, 'g', 17).constData());
    }

    // The Access file stays as it was, a competition file already there too,
    // and neither the file being built nor its journal is left behind.
    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("existingTarget");
        QTest::addColumn<int>("number");
        QTest::newRow("master list instead of a competition") << "other table" << false << 3078;
        QTest::newRow("damaged file, existing target kept") << "last page missing" << true << 3343;
        QTest::newRow("duplicate IDs, existing target kept") << "duplicate IDs" << true << 3022;
    }

    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(bool, existingTarget);
        QFETCH(int, number);
        const QString access = AccessFixtures::damagedCopy(kind, AccessFixtures::Competition,
                                                           m_work->filePath(QStringLiteral("kaputt.wkd")));
        QVERIFY(!access.isEmpty());
        const QByteArray accessBefore = sha(access);
        const QByteArray targetBefore = existingTarget ? sha(AccessFixtures::write(target(), "was da war")) : QByteArray();
        QCOMPARE(raisedNumber([&] { takeOver(access); }), number);
        QCOMPARE(sha(access), accessBefore);
        QCOMPARE(QFile::exists(target()) ? sha(target()) : QByteArray(), targetBefore);
        QCOMPARE(folderEntries(), QStringList{"kaputt.wkd"} + QStringList(existingTarget, "Übernommen 2026.wkd"));
    }

    // copy() on its own: the duplicate ID fails at the second row, after the
    // first was written; the target keeps nothing of it.
    void failureInsideTheTransactionRollsBack()
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

private:
    QString takeOver(const QString &access)
    {
        CompetitionTakeOver::intoNewFile(access, TestCompetition::templatePath(), target());
        return target();
    }
    QString target() const { return m_work->filePath(QStringLiteral("Übernommen 2026.wkd")); }
    QStringList folderEntries() const
    {
        return QDir(m_work->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir m_dir;
    // A folder of its own for each take-over, so that what is left behind shows.
    std::unique_ptr<QTemporaryDir> m_work;
};

QTEST_GUILESS_MAIN(tst_AccessFile)
#include "tst_accessfile.moc"
