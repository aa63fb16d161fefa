// Reading Access files: recognising them, their tables and values as mdb-export
// shows them, and damaged or foreign files.
#include "AccessFile.h"
#include "AccessFixtures.h"
#include "RecordsetChecks.h"
#include "TestCompetition.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <cstring>

class tst_AccessFile : public QObject
{
    Q_OBJECT

private slots:
    void header_data();
    void header();
    void tables_data();
    void tables();
    void masterListValues_data();
    void masterListValues();
    void numbersAreRead();
    void fieldsByNameIgnoreCase_data();
    void fieldsByNameIgnoreCase();
    void damaged_data();
    void damaged();

private:
    QTemporaryDir m_dir;
};

void tst_AccessFile::header_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("access");

    const QString folder = m_dir.path() + QLatin1Char('/');
    QTest::newRow("Access competition") << AccessFixtures::path(AccessFixtures::Competition) << true;
    QTest::newRow("Access master list") << AccessFixtures::path(AccessFixtures::MasterList) << true;
    QTest::newRow("a cut copy keeps its header")
        << AccessFixtures::damagedCopy(QStringLiteral("first page only"), AccessFixtures::Competition,
                                       folder + QStringLiteral("cut.wkd"))
        << true;
    QTest::newRow("the program's own template") << TestCompetition::templatePath() << false;
    QTest::newRow("empty file") << AccessFixtures::write(folder + QStringLiteral("empty.wkd"), QByteArray()) << false;
    QTest::newRow("text file") << AccessFixtures::write(folder + QStringLiteral("text.wkd"), "Standard Jet DB\n") << false;
    QTest::newRow("signature cut short")
        << AccessFixtures::write(folder + QStringLiteral("short.wkd"), AccessFixtures::bytes(AccessFixtures::Competition).left(12))
        << false;
    QTest::newRow("missing file") << folder + QStringLiteral("nirgends.wkd") << false;
    QTest::newRow("folder") << m_dir.path() << false;
}

void tst_AccessFile::header()
{
    QFETCH(QString, path);
    QFETCH(bool, access);
    QCOMPARE(AccessFile::hasAccessHeader(path), access);
}

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
    QTest::newRow("title of the competition") << AccessFixtures::Competition << "Wettkampf" << QStringList{"Bezeichnung"}
                                              << 1;
    QTest::newRow("shooters of the master list") << AccessFixtures::MasterList << "Schuetzen"
                                                 << QStringList{"ID", "Schuetze", "Verein"} << 5;
    QTest::newRow("5000 results") << AccessFixtures::Competition5000 << "Ergebnisse" << results << 5000;
    QTest::newRow("table name in other case") << AccessFixtures::MasterList << "SCHUETZEN"
                                              << QStringList{"ID", "Schuetze", "Verein"} << 5;
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
}

// mdb-export legacy-schuetzen.mdb Schuetzen, row by row.
void tst_AccessFile::masterListValues_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("club");

    QTest::newRow("umlauts and ß") << 0 << qint64(1) << "Jürgen Müßig" << QVariant(QStringLiteral("SV Grün-Weiß Öhringen"));
    QTest::newRow("plain") << 1 << qint64(2) << "Anna Beispiel" << QVariant(QStringLiteral("SG Tell Ahlen"));
    QTest::newRow("no club is Null") << 2 << qint64(3) << "Zoë Ærø" << QVariant();
    QTest::newRow("apostrophe") << 3 << qint64(4) << "Karl-Heinz O'Brien" << QVariant(QStringLiteral("SG Tell Ahlen"));
    QTest::newRow("letters beyond Latin-1") << 4 << qint64(5) << "Ömer Yıldız"
                                            << QVariant(QStringLiteral("SV Grün-Weiß Öhringen"));
}

void tst_AccessFile::masterListValues()
{
    QFETCH(int, row);
    QFETCH(qint64, id);
    QFETCH(QString, name);
    QFETCH(QVariant, club);
    const AccessFile::Table table = AccessFile(AccessFixtures::path(AccessFixtures::MasterList)).readTable("Schuetzen");
    const QVector<QVariant> &values = table.rows.at(size_t(row));
    QCOMPARE(values.at(0).typeId(), QMetaType::LongLong);
    QCOMPARE(values.at(0).toLongLong(), id);
    QCOMPARE(values.at(1).toString(), name);
    QCOMPARE(values.at(2).isNull(), club.isNull());
    QCOMPARE(values.at(2).toString(), club.toString());
}

// Whole numbers as whole numbers, doubles as doubles: row 1 of Ergebnisse is
// 1,3,1,...,89,2,10,9,... in mdb-export.
void tst_AccessFile::numbersAreRead()
{
    const AccessFile::Table table = AccessFile(AccessFixtures::path(AccessFixtures::Competition)).readTable("Ergebnisse");
    const QVector<QVariant> &first = table.rows.front();
    QCOMPARE(first.at(table.fieldIndex("Platz")).typeId(), QMetaType::LongLong);
    QCOMPARE(first.at(table.fieldIndex("Platz")).toLongLong(), 3);
    QCOMPARE(first.at(table.fieldIndex("Serie")).typeId(), QMetaType::Double);
    QCOMPARE(first.at(table.fieldIndex("Serie")).toDouble(), 89.0);
    QCOMPARE(first.at(table.fieldIndex("Ring2")).toDouble(), 9.0);
    QCOMPARE(first.at(table.fieldIndex("Sortierung")).toString(), QStringLiteral("0000890203040201000000000000"));
}

void tst_AccessFile::fieldsByNameIgnoreCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::newRow("as written") << "Verein" << 2;
    QTest::newRow("lower case") << "schuetze" << 1;
    QTest::newRow("upper case") << "ID" << 0;
    QTest::newRow("missing") << "Geburtstag" << -1;
}

void tst_AccessFile::fieldsByNameIgnoreCase()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    const AccessFile::Table table = AccessFile(AccessFixtures::path(AccessFixtures::MasterList)).readTable("Schuetzen");
    QCOMPARE(table.fieldIndex(name), index);
}

void tst_AccessFile::damaged_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("number");

    const QString competition = AccessFixtures::Competition;
    const QString master = AccessFixtures::MasterList;
    QTest::newRow("competition cut inside a page") << "cut inside a page" << competition << "Ergebnisse" << 3343;
    QTest::newRow("competition without its last page") << "last page missing" << competition << "Ergebnisse" << 3343;
    QTest::newRow("master list without its last page") << "last page missing" << master << "Schuetzen" << 3343;
    QTest::newRow("first page only") << "first page only" << competition << "Ergebnisse" << 3343;
    QTest::newRow("catalog missing") << "catalog missing" << master << "Schuetzen" << 3343;
    QTest::newRow("empty file") << "empty file" << competition << "Ergebnisse" << 3343;
    QTest::newRow("text file") << "text file" << competition << "Ergebnisse" << 3343;
    QTest::newRow("master list has no results") << "other table" << competition << "Ergebnisse" << 3078;
    QTest::newRow("competition has no shooters table") << "other table" << master << "Schuetzen" << 3078;
}

void tst_AccessFile::damaged()
{
    QFETCH(QString, kind);
    QFETCH(QString, fixture);
    QFETCH(QString, table);
    QFETCH(int, number);
    const QString path = AccessFixtures::damagedCopy(kind, fixture, m_dir.filePath(QStringLiteral("kaputt.wkd")));
    QVERIFY(!path.isEmpty());
    QCOMPARE(raisedNumber([&] { AccessFile(path).readTable(table); }), number);
}

QTEST_GUILESS_MAIN(tst_AccessFile)
#include "tst_accessfile.moc"
