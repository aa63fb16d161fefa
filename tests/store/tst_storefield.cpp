// Storing one field of every row at once, as the ranking does with the places.
#include "Database.h"
#include "Recordset.h"
#include "RecordsetChecks.h"
#include "TestCompetition.h"

#include <QtTest>

namespace {

const QString ByStartNr = QStringLiteral("Select * from Ergebnisse order by StartNr");

// Rows the connection wrote since it was opened, as SQLite counts them.
int rowsWritten(Database &database)
{
    return database.scalar(QStringLiteral("SELECT total_changes()")).toInt();
}

QVariantList placesInFile(const TestCompetition &tc)
{
    QVariantList result;
    for (const QVariantMap &row : tc.rows(QStringLiteral("SELECT Platz FROM Ergebnisse ORDER BY StartNr")))
        result << row.value(QStringLiteral("Platz"));
    return result;
}

QVariantList sequence(int count, int first)
{
    QVariantList result;
    for (int i = 0; i < count; ++i)
        result << first + i;
    return result;
}

} // namespace

class tst_StoreField : public QObject
{
    Q_OBJECT

private slots:
    void writesOnlyWhatChanged_data();
    void writesOnlyWhatChanged();
    void failureKeepsEarlierWrites();
    void editUnderWay();
    void refused_data();
    void refused();
};

void tst_StoreField::writesOnlyWhatChanged_data()
{
    QTest::addColumn<QVariantList>("before"); // places in start number order
    QTest::addColumn<QVariantList>("after");
    QTest::addColumn<int>("written"); // rows

    QTest::newRow("one moved shooter among right places")
        << QVariantList{1, 2, 2, 4, 5} << QVariantList{1, 2, 3, 4, 5} << 1;
    QTest::newRow("nothing changed writes nothing") << QVariantList{1, 2} << QVariantList{1, 2} << 0;
    QTest::newRow("Null is no place 0, and 0 is no Null")
        << QVariantList{QVariant(), 0} << QVariantList{0, QVariant()} << 2;
    QTest::newRow("300 new places, more than one statement takes")
        << QVariantList(300, QVariant()) << sequence(300, 1) << 300;
}

void tst_StoreField::writesOnlyWhatChanged()
{
    QFETCH(QVariantList, before);
    QFETCH(QVariantList, after);
    QFETCH(int, written);
    TestCompetition tc;
    for (int i = 0; i < before.size(); ++i) {
        tc.addResult(i + 1, QStringLiteral("S%1").arg(i + 1), QStringLiteral("V"));
        tc.exec(QStringLiteral("UPDATE Ergebnisse SET Platz = ? WHERE StartNr = ?"), {before.at(i), i + 1});
    }
    const std::shared_ptr<Database> database = Database::open(tc.path());
    auto rs = database->openRecordset(ByStartNr);
    rs->moveTo(1);
    const int place = rs->fieldIndex(QStringLiteral("Platz"));
    rs->storeField(place, std::vector<QVariant>(after.begin(), after.end()));

    QCOMPARE(rowsWritten(*database), written);
    QCOMPARE(rs->position(), 1);
    const QVariantList inFile = placesInFile(tc);
    for (int i = 0; i < after.size(); ++i) {
        QByteArray message;
        QVERIFY2(RecordsetChecks::sameValue(inFile.at(i), after.at(i), &message), message.constData());
        QVERIFY2(RecordsetChecks::sameValue(rs->storedValue(i, place), after.at(i), &message), message.constData());
    }
}

// The file refuses one row: what was stored before stays, and the rows in
// memory say what the file holds, row for row.
void tst_StoreField::failureKeepsEarlierWrites()
{
    TestCompetition tc;
    tc.exec(QStringLiteral("CREATE TABLE Plaetze (ID INTEGER PRIMARY KEY, Platz INTEGER CHECK (Platz <> 200))"));
    for (int i = 1; i <= 300; ++i)
        tc.exec(QStringLiteral("INSERT INTO Plaetze (ID) VALUES (?)"), {i});
    auto rs = Database::open(tc.path())->openRecordset(QStringLiteral("Select * from Plaetze order by ID"));
    const int place = rs->fieldIndex(QStringLiteral("Platz"));
    const QVariantList places = sequence(300, 1);
    QVERIFY(raisedNumber([&] { rs->storeField(place, std::vector<QVariant>(places.begin(), places.end())); }) > 0);

    QVariantList inFile;
    for (const QVariantMap &row : tc.rows(QStringLiteral("SELECT Platz FROM Plaetze ORDER BY ID")))
        inFile << row.value(QStringLiteral("Platz"));
    int stored = 0;
    while (stored < inFile.size() && !inFile.at(stored).isNull())
        ++stored;
    QVERIFY2(stored > 0, "nothing written before the refused row stayed");
    QVERIFY(stored < 200);
    for (int i = 0; i < inFile.size(); ++i) {
        QCOMPARE(inFile.at(i).isNull(), i >= stored);
        QByteArray message;
        QVERIFY2(RecordsetChecks::sameValue(rs->storedValue(i, place), inFile.at(i), &message), message.constData());
    }
}

// A row being edited shows the new value of a field it did not change, keeps
// its own change of the field, and stores its own changes afterwards.
void tst_StoreField::editUnderWay()
{
    TestCompetition tc;
    tc.addResult(1, QStringLiteral("Anna"), QStringLiteral("V"));
    tc.addResult(2, QStringLiteral("Bernd"), QStringLiteral("V"));
    auto rs = Database::open(tc.path())->openRecordset(ByStartNr);
    const int place = rs->fieldIndex(QStringLiteral("Platz"));
    rs->moveTo(0);
    rs->edit();
    rs->setValue(QStringLiteral("Schuetze"), QStringLiteral("Anna Berg"));
    rs->storeField(place, {7, 8});
    QCOMPARE(rs->bufferValue(place).toInt(), 7);
    QVERIFY(rs->isDirty());
    rs->update();
    QCOMPARE(tc.rows(QStringLiteral("SELECT Schuetze, Platz FROM Ergebnisse WHERE StartNr = 1")).front(),
             (QVariantMap{{QStringLiteral("Schuetze"), QStringLiteral("Anna Berg")}, {QStringLiteral("Platz"), 7}}));

    rs->moveTo(1);
    rs->edit();
    rs->setValue(place, 1);
    rs->storeField(place, {7, 8});
    QCOMPARE(rs->bufferValue(place).toInt(), 1);
    rs->update();
    QCOMPARE(tc.scalar(QStringLiteral("SELECT Platz FROM Ergebnisse WHERE StartNr = 2")).toInt(), 1);
}

void tst_StoreField::refused_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("values");
    QTest::addColumn<int>("error");

    QTest::newRow("fewer values than rows") << ByStartNr << 1 << 9;
    QTest::newRow("more values than rows") << ByStartNr << 3 << 9;
    QTest::newRow("a query that names no table") << QStringLiteral("Select 1 AS Platz UNION Select 2") << 2 << 3027;
}

void tst_StoreField::refused()
{
    QFETCH(QString, sql);
    QFETCH(int, values);
    QFETCH(int, error);
    TestCompetition tc;
    tc.addResult(1, QStringLiteral("Anna"), QStringLiteral("V"));
    tc.addResult(2, QStringLiteral("Bernd"), QStringLiteral("V"));
    auto rs = Database::open(tc.path())->openRecordset(sql);
    const int place = rs->fieldIndex(QStringLiteral("Platz"));
    QCOMPARE(raisedNumber([&] { rs->storeField(place, std::vector<QVariant>(size_t(values), 5)); }), error);
    QCOMPARE(tc.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse WHERE Platz IS NOT NULL")).toInt(), 0);
}

QTEST_MAIN(tst_StoreField)
#include "tst_storefield.moc"
