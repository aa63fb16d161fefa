// Taking an Access competition over into a new competition file: every
// field of every row, read back through a connection of its own and compared
// with what mdb-export shows of the fixture; exact doubles; failures that
// leave nothing behind.
#include "AccessFile.h"
#include "AccessFixtures.h"
#include "CheckConnection.h"
#include "CompetitionTakeOver.h"
#include "Database.h"
#include "RecordsetChecks.h"
#include "TestCompetition.h"

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

class tst_CompetitionTakeOver : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyField_data();
    void everyField();
    void rowsAndTitle();
    void newRowsGetNewNumbers();
    void exactDoubles_data();
    void exactDoubles();
    void originalStaysAsItWas();
    void replacesAnExistingFile();
    void proposedName_data();
    void proposedName();
    void failures_data();
    void failures();
    void failureInsideTheTransactionRollsBack();

private:
    QString takeOver(const QString &access);
    QString target() const { return m_dir->filePath(QStringLiteral("Übernommen 2026.wkd")); }
    QStringList folderEntries() const { return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_CompetitionTakeOver::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void tst_CompetitionTakeOver::cleanup()
{
    m_dir.reset();
}

QString tst_CompetitionTakeOver::takeOver(const QString &access)
{
    CompetitionTakeOver::intoNewFile(access, TestCompetition::templatePath(), target());
    return target();
}

void tst_CompetitionTakeOver::everyField_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("exported");

    const char *const names[] = {"umlauts and ß",       "tie on 89, first", "letters beyond Latin-1", "no club",
                                 "apostrophe, place 1", "tie on place 1",   "no results",             "no club, no results"};
    for (int i = 0; i < 8; ++i)
        QTest::newRow(names[i]) << i + 1 << QString::fromUtf8(Exported[i]);
}

void tst_CompetitionTakeOver::everyField()
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

void tst_CompetitionTakeOver::rowsAndTitle()
{
    const QString file = takeOver(AccessFixtures::path(AccessFixtures::Competition));
    QCOMPARE(CheckConnection::scalar(file, QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), 8);
    QCOMPARE(CheckConnection::scalar(file, QStringLiteral("SELECT group_concat(ID, ',') FROM Ergebnisse")).toString(),
             QStringLiteral("1,2,3,4,5,6,7,8"));
    const QList<QVariantMap> titles = CheckConnection::rows(file, QStringLiteral("SELECT * FROM Wettkampf"));
    QCOMPARE(titles.size(), 1);
    QCOMPARE(titles.front().value(QStringLiteral("Bezeichnung")).toString(),
             QStringLiteral("Vereinsmeisterschaft Luftgewehr 2026"));
    QVERIFY(!QFile::exists(file + QStringLiteral("-journal")));
    QCOMPARE(folderEntries(), QStringList{QStringLiteral("Übernommen 2026.wkd")});
}

void tst_CompetitionTakeOver::newRowsGetNewNumbers()
{
    const QString file = takeOver(AccessFixtures::path(AccessFixtures::Competition));
    QVERIFY(CheckConnection::scalar(file, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = 'Ergebnisse'"))
                    .toLongLong()
            >= 8);
    const std::shared_ptr<Database> database = Database::open(file);
    database->execute(QStringLiteral("INSERT INTO Ergebnisse (Schuetze) VALUES (?)"), {QStringLiteral("Neu")});
    QCOMPARE(CheckConnection::scalar(file, QStringLiteral("SELECT ID FROM Ergebnisse WHERE Schuetze = 'Neu'")).toLongLong(),
             9);
}

// Zoë's total of 46 is the only 46.0 in the file; each copy carries another
// value in its place, written as the eight bytes Access stores.
void tst_CompetitionTakeOver::exactDoubles_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("a tenth") << 46.1;
    QTest::newRow("the last bit") << std::nextafter(46.1, 100.0);
    QTest::newRow("seventeen digits") << std::nextafter(std::nextafter(46.1, 100.0), 100.0);
    QTest::newRow("a sum of tenths") << 0.1 + 0.2;
    QTest::newRow("a total of tenths") << 98.69999999999999;
    QTest::newRow("smallest subnormal") << 4.9406564584124654e-324;
    QTest::newRow("negative") << -0.1;
}

void tst_CompetitionTakeOver::exactDoubles()
{
    QFETCH(double, value);
    const QString access = AccessFixtures::patchedCopy(AccessFixtures::Competition, doubleBytes(46.0), doubleBytes(value),
                                                       m_dir->filePath(QStringLiteral("patched.wkd")));
    QVERIFY(!access.isEmpty());
    const QString file = takeOver(access);
    const QVariant stored = CheckConnection::scalar(file, QStringLiteral("SELECT Serie FROM Ergebnisse WHERE ID = 4"));
    QCOMPARE(stored.typeId(), QMetaType::Double);
    const double read = stored.toDouble();
    QVERIFY2(std::memcmp(&read, &value, sizeof value) == 0,
             qPrintable(QStringLiteral("%1 instead of %2").arg(read, 0, 'g', 17).arg(value, 0, 'g', 17)));
}

void tst_CompetitionTakeOver::originalStaysAsItWas()
{
    const QString access = AccessFixtures::write(m_dir->filePath(QStringLiteral("alt.wkd")),
                                                 AccessFixtures::bytes(AccessFixtures::Competition));
    const QByteArray before = sha(access);
    const QDateTime modified = QFileInfo(access).lastModified();
    takeOver(access);
    QCOMPARE(sha(access), before);
    QCOMPARE(QFileInfo(access).lastModified(), modified);
}

void tst_CompetitionTakeOver::replacesAnExistingFile()
{
    TestCompetition existing(QStringLiteral("Übernommen 2026.wkd"));
    existing.addResult(1, QStringLiteral("Alt"), QStringLiteral("V"));
    CompetitionTakeOver::intoNewFile(AccessFixtures::path(AccessFixtures::Competition), TestCompetition::templatePath(),
                                     existing.path());
    QCOMPARE(CheckConnection::scalar(existing.path(), QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), 8);
    QCOMPARE(CheckConnection::scalar(existing.path(), QStringLiteral("SELECT count(*) FROM Ergebnisse WHERE Schuetze = 'Alt'"))
                     .toInt(),
             0);
}

void tst_CompetitionTakeOver::proposedName_data()
{
    QTest::addColumn<QString>("access");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("competition") << "/daten/Kreis 2019.wkd" << "Kreis 2019 (übernommen).wkd";
    QTest::newRow("database extension") << "/daten/liga.mdb" << "liga (übernommen).wkd";
    QTest::newRow("dots in the name") << "/daten/v1.2.wkd" << "v1.2 (übernommen).wkd";
    QTest::newRow("umlauts") << "/daten/Schützenfest Ö.wkd" << "Schützenfest Ö (übernommen).wkd";
}

void tst_CompetitionTakeOver::proposedName()
{
    QFETCH(QString, access);
    QFETCH(QString, proposed);
    QCOMPARE(CompetitionTakeOver::proposedFileName(access), proposed);
}

void tst_CompetitionTakeOver::failures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("existingTarget");
    QTest::addColumn<int>("number");

    QTest::newRow("cut inside a page") << "cut inside a page" << false << 3343;
    QTest::newRow("last page missing, rows would be lost") << "last page missing" << false << 3343;
    QTest::newRow("first page only") << "first page only" << false << 3343;
    QTest::newRow("catalog missing") << "catalog missing" << false << 3343;
    QTest::newRow("empty file") << "empty file" << false << 3343;
    QTest::newRow("text file") << "text file" << false << 3343;
    QTest::newRow("master list instead of a competition") << "other table" << false << 3078;
    QTest::newRow("duplicate IDs") << "duplicate IDs" << false << 3022;
    QTest::newRow("damaged file, existing target kept") << "last page missing" << true << 3343;
    QTest::newRow("duplicate IDs, existing target kept") << "duplicate IDs" << true << 3022;
}

void tst_CompetitionTakeOver::failures()
{
    QFETCH(QString, kind);
    QFETCH(bool, existingTarget);
    QFETCH(int, number);
    const QString access = AccessFixtures::damagedCopy(kind, AccessFixtures::Competition,
                                                       m_dir->filePath(QStringLiteral("kaputt.wkd")));
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
void tst_CompetitionTakeOver::failureInsideTheTransactionRollsBack()
{
    const QString access = AccessFixtures::damagedCopy(QStringLiteral("duplicate IDs"), AccessFixtures::Competition,
                                                       m_dir->filePath(QStringLiteral("doppelt.wkd")));
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

QTEST_GUILESS_MAIN(tst_CompetitionTakeOver)
#include "tst_competitiontakeover.moc"
