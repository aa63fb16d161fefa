// Reading Access files: recognising them and damaged or foreign files.
// Taking an Access competition over into a new competition file: every field
// of every row, read back through a connection of its own, doubles bit for
// bit; failures that leave nothing behind.
#include "store/AccessFile.h"
#include "store/CompetitionTakeOver.h"
#include "store/Database.h"
#include "support/AccessFixtures.h"
#include "support/CheckConnection.h"
#include "support/NonRegularFiles.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <cmath>

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

// The start of Serie's column in the table definition of Ergebnisse: its type
// (7, a double), and that type made a Yes/No (1).
const QByteArray SerieColumn = QByteArray::fromHex("075906000005000200");
const QByteArray YesNoColumn = QByteArray::fromHex("015906000005000200");

QByteArray doubleBytes(double value)
{
    QByteArray bytes(8, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_AccessFile : public QObject
{
    Q_OBJECT

private slots:
    // Damaged and foreign files are refused when read; a cut copy still has
    // the header that tells an Access file, so the reading must notice the damage.
    void damaged_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("header");
        QTest::addColumn<int>("number");
        QTest::newRow("cut inside a page") << "cut inside a page" << true << 3343;
        QTest::newRow("without its last page") << "last page missing" << true << 3343;
        QTest::newRow("catalog missing") << "catalog missing" << true << 3343;
        QTest::newRow("text file") << "text file" << false << 3343;
        QTest::newRow("a competition has no shooters") << "other table" << true << 3078;
        // Never waits for a writer: no Access file, error 75.
        QTest::newRow("named pipe") << "named pipe" << false << 75;
        QTest::newRow("missing file") << "missing" << false << 53;
    }

    void damaged()
    {
        QFETCH(QString, kind);
        QFETCH(bool, header);
        QFETCH(int, number);
        // A file of its own per row: writing over the named pipe of a row before would wait for a reader.
        const QString path = kind == QLatin1String("missing")
            ? m_dir.filePath(QStringLiteral("nirgends.mdb"))
            : AccessFixtures::damagedCopy(kind, AccessFixtures::MasterList, m_dir.filePath(kind));
        QVERIFY(!path.isEmpty());
        const HangGuard guard(QStringLiteral("Reading a ") + kind);
        QCOMPARE(AccessFile::hasAccessHeader(path), header);
        QCOMPARE(raisedNumber([&] { AccessFile(path).readTable(QStringLiteral("Schuetzen")); }), number);
    }

    void init() { m_work = std::make_unique<QTemporaryDir>(); }

    // A take-over replaces a competition file of that name; the Access file
    // stays as it was, and nothing but the new file is left beside it. Every
    // field of every row comes over with the storage class it must have. Zoë's
    // total of 46 is the only 46.0 in the file; the copy carries another value
    // in its place, written as the eight bytes Access stores, which must come
    // over bit for bit: the shortest text that reads back as the double tells
    // every double apart. A failed take-over leaves the file already there as
    // it was, and neither the file being built nor its journal behind.
    void takeOver_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("serie");
        QTest::addColumn<int>("number");
        QTest::newRow("a total of seventeen digits") << "" << std::nextafter(std::nextafter(46.1, 100.0), 100.0) << 0;
        // Serie made a Yes/No field: Access's yes is -1, as the program writes a truth value.
        QTest::newRow("a Yes/No field") << "Yes/No" << 0.0 << 0;
        QTest::newRow("duplicate IDs") << "duplicate IDs" << 0.0 << 3022;
    }

    void takeOver()
    {
        QFETCH(QString, kind);
        QFETCH(double, serie);
        QFETCH(int, number);
        const QString path = m_work->filePath(QStringLiteral("alt.wkd"));
        const bool yesNo = kind == QLatin1String("Yes/No");
        const QString access = kind.isEmpty()
            ? AccessFixtures::patchedCopy(AccessFixtures::Competition, doubleBytes(46.0), doubleBytes(serie), path)
            : yesNo ? AccessFixtures::patchedCopy(AccessFixtures::Competition, SerieColumn, YesNoColumn, path)
                    : AccessFixtures::damagedCopy(kind, AccessFixtures::Competition, path);
        QVERIFY(!access.isEmpty());
        const QByteArray accessBefore = contents(access);
        const QDateTime modified = QFileInfo(access).lastModified();
        const QByteArray targetBefore = contents(AccessFixtures::write(target(), "was da war"));
        QCOMPARE(raisedNumber([&] { CompetitionTakeOver::intoNewFile(access, TestCompetition::templatePath(), target()); }),
                 number);
        QCOMPARE(contents(access), accessBefore);
        QCOMPARE(QFileInfo(access).lastModified(), modified);
        QCOMPARE(folderEntries(), (QStringList{"alt.wkd", "Übernommen 2026.wkd"}));
        if (number) {
            QCOMPARE(contents(target()), targetBefore);
            // copy() on its own takes back what it wrote: the duplicate ID is the second row.
            const TestCompetition fresh;
            QCOMPARE(raisedNumber([&] { CompetitionTakeOver::copy(AccessFile(access), *Database::open(fresh.path())); }),
                     number);
            QCOMPARE(fresh.scalar("SELECT (SELECT count(*) FROM Ergebnisse) + (SELECT count(*) FROM Wettkampf)").toInt(), 0);
            return;
        }
        QStringList columns;
        for (const QString &field : ResultFields)
            columns << QStringLiteral("typeof(%1) AS %1_kind, %1").arg(field);
        const QList<QVariantMap> rows = CheckConnection::rows(
                target(), QStringLiteral("SELECT %1 FROM Ergebnisse ORDER BY ID").arg(columns.join(QStringLiteral(", "))));
        QCOMPARE(rows.size(), 8);
        for (int i = 0; i < 8; ++i) {
            QStringList expected;
            QStringList actual;
            for (QString value : QString::fromUtf8(Exported[i]).split(QLatin1Char(','))) {
                const QString &field = ResultFields.at(expected.size());
                const bool text = field == "Schuetze" || field == "Verein" || field == "Sortierung";
                const bool real = field == "Serie" || field.startsWith(QLatin1String("Ring"));
                if (field == "Serie" && (yesNo || i == 3))
                    value = !yesNo ? QVariant(serie).toString() : value.isEmpty() ? "0" : "-1";
                expected << (value.isEmpty() ? "null" : text ? "text" : real ? "real" : "integer") + (':' + value);
                actual << rows.at(i).value(field + "_kind").toString() + ':' + rows.at(i).value(field).toString();
            }
            QCOMPARE(actual, expected);
        }
        QCOMPARE(CheckConnection::scalar(target(), QStringLiteral("SELECT group_concat(Bezeichnung, '|') FROM Wettkampf")),
                 QStringLiteral("Vereinsmeisterschaft Luftgewehr 2026"));
        // The name proposed for the new file keeps the dots of the old name.
        QCOMPARE(CompetitionTakeOver::proposedFileName(QStringLiteral("/daten/v1.2.wkd")),
                 QStringLiteral("v1.2 (übernommen).wkd"));
    }

private:
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
