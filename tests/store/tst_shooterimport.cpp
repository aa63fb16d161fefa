// Which fields of CSV records are name and club, and which records are
// shooters at all; the file kinds the import tells apart.
#include "AccessFixtures.h"
#include "RecordsetChecks.h"
#include "ShooterImport.h"

#include <QTemporaryDir>
#include <QtTest>

using Records = QList<QStringList>;

namespace {

QStringList shown(const ShooterImport::Batch &batch)
{
    QStringList shooters;
    for (const ShooterImport::Shooter &shooter : batch.shooters)
        shooters << shooter.name + QLatin1Char('|') + shooter.club;
    return shooters;
}

} // namespace

class tst_ShooterImport : public QObject
{
    Q_OBJECT

private slots:
    void columns_data();
    void columns();
    void fileKinds_data();
    void fileKinds();
    void missingFile();

private:
    QTemporaryDir m_dir;
};

void tst_ShooterImport::columns_data()
{
    QTest::addColumn<Records>("records");
    QTest::addColumn<QStringList>("shooters");
    QTest::addColumn<int>("nameless");

    QTest::newRow("no heading: the first record is a shooter")
        << Records{{"Anna", "SV Alm"}, {"Berta", "SG Tell"}} << QStringList{"Anna|SV Alm", "Berta|SG Tell"} << 0;
    QTest::newRow("heading Name and Verein") << Records{{"Name", "Verein"}, {"Anna", "SV Alm"}}
                                             << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("heading in capitals with blanks") << Records{{" SCHUETZE ", "VEREIN"}, {"Anna", "SV Alm"}}
                                                     << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("club before name") << Records{{"Verein", "Schütze"}, {"SV Alm", "Anna"}}
                                      << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("club heading alone: the name is the first other column")
        << Records{{"Club", "Vorname"}, {"SV Alm", "Anna"}} << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("name heading alone: the club follows it")
        << Records{{"Nr", "Name", "Ort"}, {"7", "Anna", "Alm"}} << QStringList{"Anna|Alm"} << 0;
    QTest::newRow("columns of an exported winners list")
        << Records{{"Platz", "StartNr", "Schuetze", "Verein", "Serie"}, {"1", "4", "Anna", "SV Alm", "98,7"}}
        << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("one column only") << Records{{"Anna"}, {"Berta"}} << QStringList{"Anna|", "Berta|"} << 0;
    QTest::newRow("more columns than two") << Records{{"Anna", "SV Alm", "x", "y"}} << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("blanks trimmed") << Records{{"  Anna  ", "\tSV Alm "}} << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("blank records left out") << Records{{""}, {"", ""}, {" ", " "}, {"Anna", ""}}
                                            << QStringList{"Anna|"} << 0;
    QTest::newRow("a club without a name is counted") << Records{{"", "SV Alm"}, {"Anna", "SV Alm"}}
                                                      << QStringList{"Anna|SV Alm"} << 1;
    QTest::newRow("nothing") << Records{} << QStringList{} << 0;
}

void tst_ShooterImport::columns()
{
    QFETCH(Records, records);
    QFETCH(QStringList, shooters);
    QFETCH(int, nameless);
    const ShooterImport::Batch batch = ShooterImport::fromRecords(records);
    QCOMPARE(shown(batch), shooters);
    QCOMPARE(batch.nameless, nameless);
}

// The first bytes decide: an Access header is read as a master list, all
// else as CSV.
void tst_ShooterImport::fileKinds_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("shooters");

    const QString folder = m_dir.path() + QLatin1Char('/');
    QTest::newRow("Access master list named .csv")
        << AccessFixtures::write(folder + QStringLiteral("liste.csv"), AccessFixtures::bytes(AccessFixtures::MasterList))
        << 0 << 5;
    QTest::newRow("CSV named .mdb") << AccessFixtures::write(folder + QStringLiteral("liste.mdb"), "Anna;SV\n") << 0 << 1;
    QTest::newRow("empty file") << AccessFixtures::write(folder + QStringLiteral("leer.csv"), QByteArray()) << 321 << 0;
    QTest::newRow("broken quote") << AccessFixtures::write(folder + QStringLiteral("kaputt.csv"), "\"Anna;SV\n") << 321
                                  << 0;
    QTest::newRow("Access competition") << AccessFixtures::path(AccessFixtures::Competition) << 3078 << 0;
}

void tst_ShooterImport::fileKinds()
{
    QFETCH(QString, path);
    QFETCH(int, number);
    QFETCH(int, shooters);
    ShooterImport::Batch batch;
    QCOMPARE(raisedNumber([&] { batch = ShooterImport::readFile(path); }), number);
    QCOMPARE(batch.shooters.size(), shooters);
}

void tst_ShooterImport::missingFile()
{
    QCOMPARE(raisedNumber([&] { ShooterImport::readFile(m_dir.filePath(QStringLiteral("fehlt.csv"))); }), 53);
}

QTEST_GUILESS_MAIN(tst_ShooterImport)
#include "tst_shooterimport.moc"
