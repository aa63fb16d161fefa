// Opening competition files and what fails there, transactions, read-only
// files, and the data source that (re)runs a query in either text order.
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "support/AccessFixtures.h"
#include "support/NonRegularFiles.h"
#include "support/OrdinaryUserFileAccess.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace RecordsetChecks;

Q_DECLARE_METATYPE(TextOrder)

namespace {

const QString Name = QStringLiteral("Schuetze");

// Names and sizes of what the folder holds; -1 for what is no file.
QStringList entries(const QString &folder)
{
    QStringList result;
    for (const QFileInfo &entry :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        result << entry.fileName() + ' ' + QString::number(entry.isFile() ? entry.size() : -1);
    return result;
}

// Result rows as "name|club|key|start number"; a field left out or "(null)"
// is Null, an empty field an empty text.
void fill(const TestCompetition &tc, const QStringList &shooters)
{
    for (const QString &shooter : shooters) {
        QVariantList values;
        for (int field = 0; field < 4; ++field) {
            const QString text = shooter.section('|', field, field);
            const bool null = text == "(null)" || field > shooter.count('|');
            values << (null ? QVariant() : field == 3 ? QVariant(text.toInt()) : QVariant(text.isEmpty() ? "" : text));
        }
        tc.exec(QStringLiteral("INSERT INTO Ergebnisse (Schuetze, Verein, Sortierung, StartNr) VALUES (?, ?, ?, ?)"), values);
    }
}

// One write through the recordset: "edit" renames the first row Bäcker, "add"
// stores a row Neu, "delete" deletes Adler.
void writeStep(Recordset &rs, const QString &step)
{
    if (step == QLatin1String("delete")) {
        rs.findFirst(QStringLiteral("Schuetze = 'Adler'"));
        return rs.deleteCurrent();
    }
    if (step == QLatin1String("edit")) {
        rs.moveFirst();
        rs.edit();
    } else {
        rs.addNew();
    }
    rs.setValue(Name, step == QLatin1String("edit") ? QStringLiteral("Bäcker") : QStringLiteral("Neu"));
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
    // A refresh on a file that is no competition fails when the file is opened
    // or, for a database without the tables, when the query runs, and so does
    // a query on a missing table. The rows of the refresh before stay; the file
    // stays as it was, and nothing is made beside it.
    void refreshFails_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing file") << "missing" << 3024 << "Königsschießen #2 ?.wkd' wurde nicht gefunden.";
        QTest::newRow("folder named like a competition") << "folder" << 3051 << "' ist ein Ordner und keine Wettkampfdatei.";
        QTest::newRow("text file renamed") << "text file" << 3343 << "Nicht erkanntes Datenbankformat '";
        QTest::newRow("empty file") << "empty file" << 3078
                                    << "Die Tabelle 'Ergebnisse' gibt es in der Datei '…ist kein Ringtal-Wettkampf.";
        QTest::newRow("named pipe") << "named pipe" << 3051 << "' ist eine benannte Pipe (FIFO) und keine Wettkampfdatei.";
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
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Königsschießen #2 ?.wkd"));
        if (kind == QLatin1String("query"))
            source.setRecordSource(QStringLiteral("Select * from Ergebnis order by Sortierung desc"));
        else
            source.setDatabaseName(path);
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else if (kind != QLatin1String("missing") && kind != QLatin1String("query"))
            QVERIFY(!AccessFixtures::damagedCopy(kind, AccessFixtures::Competition, path).isEmpty());
        const QStringList before = entries(dir.path());
        RaisedError raised;
        {
            const HangGuard guard(QStringLiteral("Opening a ") + kind);
            raised = raisedError([&] { source.refresh(); });
        }
        QCOMPARE(raised.number, number);
        for (const QString &piece : text.split(QStringLiteral("…")))
            QVERIFY2(raised.description.contains(piece), qPrintable(raised.description));
        QCOMPARE(entries(dir.path()), before);
        QCOMPARE(source.recordset(), previous);
        QCOMPARE(source.database()->path(), tc.path());
        QCOMPARE(RecordsetChecks::names(*previous), (QStringList{"Becker", "Adler", "Cramer"}));
        QCOMPARE(previous->position(), 1);
    }

    // Steps "begin", "commit", "rollback", "end" (of the innermost
    // transaction's scope), "seen" (another connection sees nothing of the
    // command yet) and writes of writeStep. The file's name has umlauts, blanks
    // and the characters a file URI treats as syntax; nothing but the file
    // stays in its folder. A read-only file ("read-only" first) refuses every
    // write, checked as an ordinary user since root writes it: a new row is
    // stored in a transaction, a deletion without one.
    void transactions_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("expected");
        const QStringList before{"Cramer", "Becker", "Adler"};
        QTest::newRow("ended without a commit: undone") << "begin edit seen end" << before;
        QTest::newRow("several writes committed together")
            << "begin edit add delete seen commit end" << QStringList{"Cramer", "Bäcker", "Neu"};
        QTest::newRow("rollback undoes several writes") << "begin edit add delete seen rollback end" << before;
        QTest::newRow("inner transaction joins the outer rollback") << "begin begin edit add commit end seen rollback end" << before;
        QTest::newRow("inner end does not commit early") << "begin begin edit end seen end" << before;
        QTest::newRow("read-only file: add a row") << "read-only add" << before;
        QTest::newRow("read-only file: delete a row") << "read-only delete" << before;
    }

    void transactions()
    {
        QFETCH(QString, steps);
        QFETCH(QStringList, expected);
        TestCompetition tc(QStringLiteral("Schützen Ärger #1 ?%20 & Co's.wkd"));
        addThree(tc);
        const QStringList before = tableNames(tc);
        const bool readOnly = steps.startsWith(QLatin1String("read-only "));
        if (readOnly) {
            QVERIFY(QFile::setPermissions(tc.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            QVERIFY(QFile::setPermissions(tc.folder(), QFileDevice::Permissions(0x7555)));
        }
        std::optional<OrdinaryUserFileAccess> access;
        if (readOnly && access.emplace().rootNotDropped())
            QSKIP("running as root without the right to check files as another user");
        auto db = Database::open(tc.path());
        auto rs = db->openRecordset(ByKey);
        std::vector<std::unique_ptr<Transaction>> open;
        for (const QString &step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("begin")) {
                open.push_back(std::make_unique<Transaction>(*db));
            } else if (step == QLatin1String("end")) {
                open.pop_back();
            } else if (step == QLatin1String("commit") || step == QLatin1String("rollback")) {
                step == QLatin1String("commit") ? open.back()->commit() : open.back()->rollback();
            } else if (step == QLatin1String("seen")) {
                QVERIFY(db->inTransaction());
                QCOMPARE(tableNames(tc), before);
            } else if (step != QLatin1String("read-only")) {
                const RaisedError raised = raisedError([&] { writeStep(*rs, step); });
                QCOMPARE(raised.number, readOnly ? 3027 : 0);
                QVERIFY2(!readOnly || raised.description.contains("wkd' ist schreibgeschützt"), qPrintable(raised.description));
            }
        }
        access.reset();
        QVERIFY(!db->inTransaction());
        QCOMPARE(tableNames(tc), expected);
        rs.reset();
        db.reset();
        QCOMPARE(entries(tc.folder()).size(), 1);
    }

    // Two sources on one file and query, as the entry list and the winners
    // list. A refresh runs the query, storing a pending edit first; after the
    // first wrote through its own rows, the second shows what reading would
    // give, whether it takes the first's rows or has to read because someone
    // else wrote. Texts in order of their characters (keys too, Null and empty
    // keys last) or alphabetically, as people look names up; numbers by value.
    // Closing both lets go of the file, so that a new competition can take its name.
    void refresh_data()
    {
        QTest::addColumn<QString>("orderBy");
        QTest::addColumn<TextOrder>("order");
        QTest::addColumn<QStringList>("shooters"); // as fill() takes them
        QTest::addColumn<QString>("between");      // "other add": the last shooter comes after the first refresh
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *name, const char *orderBy, TextOrder order, const QStringList &shooters,
                            const char *between, const QStringList &expected) {
            QTest::newRow(name) << QString(orderBy) << order << shooters << QString(between) << expected;
        };
        const QStringList three{"Cramer||0870", "Becker||0950", "Adler||0910"};
        const TextOrder exact = TextOrder::Exact, alphabetical = TextOrder::Alphabetical;
        row("first refresh opens", "Sortierung desc", exact, three, "", {"Becker", "Adler", "Cramer"});
        row("row added by another connection", "Sortierung desc", exact, three + QStringList{"Dorn||0990"}, "other add",
            {"Dorn", "Becker", "Adler", "Cramer"});
        row("pending edit stored first", "Sortierung desc", exact, three, "pending key", {"Cramer", "Becker", "Adler"});
        row("sibling wrote a name", "Sortierung desc", exact, three, "sibling edit", {"Becker", "Zeller", "Cramer"});
        row("sibling re-sorted after a key change", "Sortierung desc", exact, three, "sibling key",
            {"Adler", "Becker", "Cramer"});
        const QStringList mixed{"müller", "Zander", "adler", "Bauer", "Ärger"};
        row("exact: keys as texts, the empty key after all keys, then the null key", "Sortierung desc", exact,
            {"Neu|", "Leer||", "Zehn||10", "Neun||9"}, "other add", {"Neun", "Zehn", "Leer", "Neu"});
        row("exact: upper case first, umlauts after z", "Schuetze", exact, mixed, "other add",
            {"Bauer", "Zander", "adler", "müller", "Ärger"});
        row("alphabetical: case ignored, Ä as A", "Schuetze", alphabetical, mixed, "other add",
            {"adler", "Ärger", "Bauer", "müller", "Zander"});
        row("alphabetical: Null name first, then the empty name", "Schuetze", alphabetical, {"Berta", "(null)", "anna", ""},
            "other add", {"(null)", "", "anna", "Berta"});
        row("alphabetical: two terms, each alphabetical", "Verein, Schuetze", alphabetical,
            {"Otto|SV Ülzen", "berta|SV Alm", "Anton|SV Ülzen", "Carl|SV Alm"}, "other add", {"berta", "Carl", "Anton", "Otto"});
        row("alphabetical: numbers by value, zero before null", "StartNr desc", alphabetical,
            {"Zwei|||2", "Ohne", "Zehn|||10", "Null|||0", "Neun|||9"}, "other add", {"Zehn", "Neun", "Zwei", "Null", "Ohne"});
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
            } else {
                rs->moveTo(between == QLatin1String("pending key") ? 2 : 1);
                rs->edit();
                rs->setValue(key ? QStringLiteral("Sortierung") : Name, key ? QStringLiteral("0999") : QStringLiteral("Zeller"));
                if (between.startsWith(QLatin1String("sibling")))
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
        QCOMPARE(entry.recordset()->editMode(), Recordset::EditMode::None);
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
