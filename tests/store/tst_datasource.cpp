#include "DataSource.h"
#include "Database.h"
#include "Recordset.h"
#include "RecordsetChecks.h"
#include "RingtalError.h"
#include "TestCompetition.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace RecordsetChecks;

namespace {

const QString Name = QStringLiteral("Schuetze");

void addThree(const TestCompetition &tc)
{
    insertShooter(tc, 30, QStringLiteral("Cramer"), QStringLiteral("0870"));
    insertShooter(tc, 10, QStringLiteral("Becker"), QStringLiteral("0950"));
    insertShooter(tc, 20, QStringLiteral("Adler"), QStringLiteral("0910"));
}

// Descriptors of this process that point at the file: a released file has none.
int openHandles(const QString &path)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString link = QFile::symLinkTarget(fds.filePath(fd));
        if (link == target || link == target + QStringLiteral(" (deleted)"))
            ++count;
    }
    return count;
}

} // namespace

class TestDataSource : public QObject
{
    Q_OBJECT

private slots:
    void refreshOpens_data();
    void refreshOpens();
    void refreshRunsAgain_data();
    void refreshRunsAgain();
    void failedRefreshKeepsPrevious_data();
    void failedRefreshKeepsPrevious();
    void closeReleasesFile_data();
    void closeReleasesFile();
    void siblingLendsCurrentRows_data();
    void siblingLendsCurrentRows();
};

void TestDataSource::refreshOpens_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("results by key") << ByKey << QStringList{"Becker", "Adler", "Cramer"};
    QTest::newRow("results by start number") << ByStartNr << QStringList{"Cramer", "Adler", "Becker"};
}

void TestDataSource::refreshOpens()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, expected);

    TestCompetition tc;
    addThree(tc);
    DataSource source;
    std::vector<Recordset *> changed;
    connect(&source, &DataSource::recordsetChanged, this, [&](Recordset *rs) { changed.push_back(rs); });
    source.setDatabaseName(tc.path());
    source.setRecordSource(sql);
    QVERIFY(!source.isOpen());

    QCOMPARE(raisedNumber([&] { source.refresh(); }), 0);
    QVERIFY(source.isOpen());
    QVERIFY(source.recordset());
    QCOMPARE(changed.size(), size_t(1));
    QCOMPARE(changed.front(), source.recordset());
    QCOMPARE(source.database()->path(), tc.path());
    QCOMPARE(source.recordset()->rowCount(), 3);
    QCOMPARE(source.recordset()->position(), 0);
    QCOMPARE(RecordsetChecks::names(*source.recordset()), expected);
    QVERIFY(source.recordset()->hasCurrent());
}

void TestDataSource::refreshRunsAgain_data()
{
    QTest::addColumn<QString>("between");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("row added by another connection") << "other add" << QStringList{"Dorn", "Becker", "Adler", "Cramer"};
    QTest::newRow("moved to the last row") << "move last" << QStringList{"Becker", "Adler", "Cramer"};
    QTest::newRow("pending edit stored first") << "edit" << QStringList{"Cramer", "Becker", "Adler"};
    QTest::newRow("pending new row stored first") << "add" << QStringList{"Becker", "Adler", "Cramer", "Neu"};
}

void TestDataSource::refreshRunsAgain()
{
    QFETCH(QString, between);
    QFETCH(QStringList, expected);

    TestCompetition tc;
    addThree(tc);
    DataSource source;
    source.setDatabaseName(tc.path());
    source.setRecordSource(ByKey);
    source.refresh();
    Recordset *rs = source.recordset();
    if (between == QLatin1String("other add")) {
        insertShooter(tc, 40, QStringLiteral("Dorn"), QStringLiteral("0990"));
    } else if (between == QLatin1String("move last")) {
        rs->moveLast();
    } else if (between == QLatin1String("edit")) {
        rs->moveLast();
        rs->edit();
        rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("0990"));
    } else {
        rs->addNew();
        rs->setValue(Name, QStringLiteral("Neu"));
    }

    QCOMPARE(raisedNumber([&] { source.refresh(); }), 0);
    QVERIFY(source.recordset());
    QCOMPARE(RecordsetChecks::names(*source.recordset()), expected);
    QCOMPARE(source.recordset()->position(), 0);
    QCOMPARE(source.recordset()->editMode(), Recordset::EditMode::None);
    QCOMPARE(tc.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), int(expected.size()));
}

void TestDataSource::failedRefreshKeepsPrevious_data()
{
    QTest::addColumn<QString>("bad");
    QTest::addColumn<int>("error");

    QTest::newRow("missing file") << "missing" << ErrorNumber::DatabaseFileNotFound;
    QTest::newRow("folder") << "folder" << ErrorNumber::CannotOpenFile;
    QTest::newRow("text file renamed") << "text" << ErrorNumber::UnrecognizedFormat;
    QTest::newRow("empty file") << "empty" << ErrorNumber::TableNotFound;
    QTest::newRow("master list instead of a competition") << "master" << ErrorNumber::TableNotFound;
    QTest::newRow("same file, query on a missing table") << "query" << ErrorNumber::TableNotFound;
}

void TestDataSource::failedRefreshKeepsPrevious()
{
    QFETCH(QString, bad);
    QFETCH(int, error);

    TestCompetition tc;
    addThree(tc);
    DataSource source;
    source.setDatabaseName(tc.path());
    source.setRecordSource(ByKey);
    source.refresh();
    Recordset *previous = source.recordset();
    previous->moveTo(1);
    QSignalSpy changed(&source, &DataSource::recordsetChanged);

    const QString badPath = tc.folder() + QStringLiteral("/Andere Datei.wkd");
    if (bad == QLatin1String("folder")) {
        QVERIFY(QDir(tc.folder()).mkdir(QStringLiteral("Andere Datei.wkd")));
    } else if (bad == QLatin1String("text") || bad == QLatin1String("empty")) {
        QFile file(badPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (bad == QLatin1String("text"))
            file.write("Name;Verein\nMüller;SV Tal\n");
    } else if (bad == QLatin1String("master")) {
        QVERIFY(QFile::copy(TestCompetition::masterPath(), badPath));
    }
    if (bad == QLatin1String("query"))
        source.setRecordSource(QStringLiteral("Select * from Ergebnis order by Sortierung desc"));
    else
        source.setDatabaseName(badPath);

    QCOMPARE(raisedNumber([&] { source.refresh(); }), error);
    QCOMPARE(source.recordset(), previous);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(source.database()->path(), tc.path());
    QCOMPARE(RecordsetChecks::names(*previous), (QStringList{"Becker", "Adler", "Cramer"}));
    QCOMPARE(previous->position(), 1);

    // Still usable: an edit goes to the file it came from.
    previous->edit();
    previous->setValue(Name, QStringLiteral("Ädler"));
    QCOMPARE(raisedNumber([&] { previous->update(); }), 0);
    QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Becker", "Ädler"}));
}

void TestDataSource::closeReleasesFile_data()
{
    QTest::addColumn<bool>("failedRefreshBefore");

    QTest::newRow("after a refresh") << false;
    QTest::newRow("after a failed refresh of a missing file") << true;
}

void TestDataSource::closeReleasesFile()
{
    QFETCH(bool, failedRefreshBefore);

    TestCompetition tc;
    addThree(tc);
    DataSource source;
    source.setDatabaseName(tc.path());
    source.setRecordSource(ByKey);
    source.refresh();
    QVERIFY(openHandles(tc.path()) > 0);
    if (failedRefreshBefore) {
        source.setDatabaseName(tc.folder() + QStringLiteral("/fehlt.wkd"));
        QCOMPARE(raisedNumber([&] { source.refresh(); }), ErrorNumber::DatabaseFileNotFound);
        source.setDatabaseName(tc.path());
    }
    std::vector<Recordset *> changed;
    connect(&source, &DataSource::recordsetChanged, this, [&](Recordset *rs) { changed.push_back(rs); });

    source.close();
    QVERIFY(!source.isOpen());
    QVERIFY(!source.recordset());
    QVERIFY(!source.database());
    QCOMPARE(changed.size(), size_t(1));
    QCOMPARE(changed.front(), nullptr);
    QCOMPARE(openHandles(tc.path()), 0);

    // The user makes a new competition under the same name.
    QVERIFY(QFile::remove(tc.path()));
    QVERIFY(QFile::copy(TestCompetition::templatePath(), tc.path()));
    QVERIFY(QFile::setPermissions(tc.path(), QFile::ReadOwner | QFile::WriteOwner));
    insertShooter(tc, 1, QStringLiteral("Erster Neuer"), QStringLiteral("0800"));
    QCOMPARE(raisedNumber([&] { source.refresh(); }), 0);
    QVERIFY(source.recordset());
    QCOMPARE(RecordsetChecks::names(*source.recordset()), QStringList{"Erster Neuer"});
}

// Two sources on one file, as the entry list and the winners list: after the
// first wrote through its own rows, the second shows what reading would give,
// whether it takes the first's rows or has to read because someone else wrote.
void TestDataSource::siblingLendsCurrentRows_data()
{
    QTest::addColumn<QString>("between");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("sibling wrote a name") << "sibling edit" << QStringList{"Becker", "Zeller", "Cramer"};
    QTest::newRow("sibling added a row, out of order") << "sibling add" << QStringList{"Becker", "Adler", "Cramer", "Neu"};
    QTest::newRow("another program wrote after the sibling")
        << "other add" << QStringList{"Dorn", "Becker", "Zeller", "Cramer"};
    QTest::newRow("sibling re-sorted after a key change") << "sibling key" << QStringList{"Adler", "Becker", "Cramer"};
}

void TestDataSource::siblingLendsCurrentRows()
{
    QFETCH(QString, between);
    QFETCH(QStringList, expected);
    TestCompetition tc;
    addThree(tc);
    DataSource entry;
    DataSource winners;
    for (DataSource *source : {&entry, &winners}) {
        source->setDatabaseName(tc.path());
        source->setRecordSource(ByKey);
        source->refresh();
    }
    Recordset *rs = entry.recordset();
    if (between == QLatin1String("sibling add")) {
        rs->addNew();
        rs->setValue(Name, QStringLiteral("Neu"));
        rs->update();
    } else {
        rs->moveTo(1);
        rs->edit();
        if (between == QLatin1String("sibling key"))
            rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("0999"));
        else
            rs->setValue(Name, QStringLiteral("Zeller"));
        rs->update();
        if (between == QLatin1String("other add")) {
            entry.refresh();
            insertShooter(tc, 40, QStringLiteral("Dorn"), QStringLiteral("0990"));
        }
    }
    entry.refresh();
    winners.refresh(&entry);
    QCOMPARE(RecordsetChecks::names(*winners.recordset()), expected);
    QCOMPARE(RecordsetChecks::names(*entry.recordset()), expected);
    QCOMPARE(winners.recordset()->position(), 0);
}

QTEST_GUILESS_MAIN(TestDataSource)
#include "tst_datasource.moc"
