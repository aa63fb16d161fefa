// Opening competition files and what fails there, and the data source that
// (re)runs a query in either text order.
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "support/AccessFixtures.h"
#include "support/NonRegularFiles.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace RecordsetChecks;

Q_DECLARE_METATYPE(TextOrder)

namespace {

// Names and sizes of what the folder holds; -1 for what is no file.
QStringList entries(const QString &folder)
{
    QStringList result;
    for (const QFileInfo &entry :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        result << entry.fileName() + ' ' + QString::number(entry.isFile() ? entry.size() : -1);
    return result;
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

// A refresh of the source on a file that is no competition (of the kind
// named) fails with the number and the pieces of text expected. The rows of
// the refresh before stay; the file stays as it was, and nothing is made
// beside it.
void refreshFails(DataSource &source, const QString &kind, const QStringList &expected)
{
    Recordset *previous = source.recordset();
    previous->moveTo(1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Königsschießen #2 ?.wkd"));
    source.setDatabaseName(path);
    if (kind != QLatin1String("missing"))
        QVERIFY(!AccessFixtures::damagedCopy(kind, AccessFixtures::Competition, path).isEmpty());
    const QStringList before = entries(dir.path());
    RaisedError raised;
    {
        const HangGuard guard(QStringLiteral("Opening a ") + kind);
        raised = raisedError([&] { source.refresh(); });
    }
    QCOMPARE(raised.number, expected.first().toInt());
    for (const QString &piece : expected.mid(1))
        QVERIFY2(raised.description.contains(piece), qPrintable(raised.description));
    QCOMPARE(entries(dir.path()), before);
    QVERIFY(source.recordset() == previous);
    QCOMPARE(RecordsetChecks::names(*previous), (QStringList{"Becker", "Adler", "Cramer"}));
    QCOMPARE(previous->position(), 1);
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    // Two sources on one file and query, as the entry list and the winners
    // list. After the first source wrote through its own rows, the second shows
    // what reading would give, whether it takes the first's rows or reads
    // because someone else wrote. Texts in order
    // of their characters or alphabetically, numbers by value. Closing both lets
    // go of the file. A failing refresh (refreshFails) is told by its texts.
    void refresh_data()
    {
        QTest::addColumn<QString>("orderBy");
        QTest::addColumn<TextOrder>("order");
        QTest::addColumn<QStringList>("shooters"); // as RecordsetChecks::fill() takes them
        QTest::addColumn<QString>("between");      // "other add": the last shooter comes after the first refresh
        QTest::addColumn<QStringList>("expected"); // names in set order, or what a failure says
        const auto row = [](const char *name, const char *orderBy, TextOrder order, const QStringList &shooters,
                            const char *between, const QStringList &expected) {
            QTest::newRow(name) << QString(orderBy) << order << shooters << QString(between) << expected;
        };
        const QStringList three{"Cramer||0870", "Becker||0950", "Adler||0910"};
        const TextOrder exact = TextOrder::Exact, alphabetical = TextOrder::Alphabetical;
        const char *const byKey = "Sortierung desc";
        row("first refresh opens", byKey, exact, three, "", {"Becker", "Adler", "Cramer"});
        row("sibling wrote a name", byKey, exact, three, "sibling edit", {"Becker", "Zeller", "Cramer"});
        row("sibling re-sorted after a key change", byKey, exact, three, "sibling key", {"Adler", "Becker", "Cramer"});
        const QStringList mixed{"müller", "Zander", "adler", "Bauer", "Ärger"};
        row("exact: upper case first, umlauts after z", "Schuetze", exact, mixed, "other add",
            {"Bauer", "Zander", "adler", "müller", "Ärger"});
        row("alphabetical: two terms, each alphabetical", "Verein, Schuetze", alphabetical,
            {"Otto|SV Ülzen", "berta|sv Alm", "Anton|SV Ülzen", "Carl|sv Alm"}, "other add", {"berta", "Carl", "Anton", "Otto"});
        row("alphabetical: numbers by value, zero before null", "StartNr desc", alphabetical,
            {"Zwei|||2", "Ohne", "Zehn|||10", "Null|||0", "Neun|||9"}, "other add", {"Zehn", "Neun", "Zwei", "Null", "Ohne"});
        const auto fails = [&](const char *name, const char *kind, const QStringList &expected) {
            row(name, byKey, exact, three, kind, expected);
        };
        const QString noCompetition = QStringLiteral(" und keine Wettkampfdatei.");
        fails("missing file", "missing", {"3024", "Königsschießen #2 ?.wkd' wurde nicht gefunden."});
        fails("text file renamed", "text file", {"3343", "Nicht erkanntes Datenbankformat '"});
        fails("empty file", "empty file", {"3078", "Die Tabelle 'Ergebnisse' gibt es in der Datei '", "ist kein Ringtal-Wettkampf."});
        fails("named pipe", "named pipe", {"3051", "' ist eine benannte Pipe (FIFO)" + noCompetition});
    }

    void refresh()
    {
        QFETCH(QString, orderBy);
        QFETCH(TextOrder, order);
        QFETCH(QStringList, shooters);
        QFETCH(QString, between);
        QFETCH(QStringList, expected);
        TestCompetition tc;
        const bool later = between == QLatin1String("other add");
        fill(tc, later ? shooters.mid(0, shooters.size() - 1) : shooters);
        DataSource entry;
        DataSource winners;
        std::vector<Recordset *> changed;
        connect(&entry, &DataSource::recordsetChanged, this, [&](Recordset *rs) { changed.push_back(rs); });
        for (DataSource *source : {&entry, &winners}) {
            source->setDatabaseName(tc.path());
            source->setRecordSource("Select * from Ergebnisse order by " + orderBy);
            source->setTextOrder(order);
        }
        if (!between.isEmpty()) {
            entry.refresh();
            winners.refresh();
            Recordset *rs = entry.recordset();
            const bool key = between.endsWith(QLatin1String("key"));
            if (later) {
                fill(tc, {shooters.last()});
            } else if (!between.startsWith(QLatin1String("sibling"))) {
                return refreshFails(entry, between, expected);
            } else {
                rs->moveTo(1);
                rs->edit();
                rs->setValue(key ? "Sortierung" : "Schuetze", key ? "0999" : "Zeller");
                rs->update();
            }
        }
        QCOMPARE(raisedNumber([&] { entry.refresh(); }), 0);
        winners.refresh(&entry);
        if (between.isEmpty())
            QCOMPARE(changed, std::vector<Recordset *>{entry.recordset()});
        QCOMPARE(RecordsetChecks::names(*entry.recordset()), expected);
        QCOMPARE(RecordsetChecks::names(*winners.recordset()), expected);
        QCOMPARE(entry.recordset()->position(), 0);
        QCOMPARE(winners.recordset()->position(), 0);
        QVERIFY(openHandles(tc.path()) > 0);
        entry.close();
        winners.close();
        QVERIFY(!entry.isOpen() && !entry.recordset() && !entry.database());
        QCOMPARE(changed.back(), nullptr);
        QCOMPARE(openHandles(tc.path()), 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
