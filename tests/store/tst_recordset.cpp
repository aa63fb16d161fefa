#include "Database.h"
#include "Numbers.h"
#include "Recordset.h"
#include "RecordsetChecks.h"
#include "RingtalError.h"
#include "TestCompetition.h"

#include <QtTest>

using namespace RecordsetChecks;

namespace {

const QString Name = QStringLiteral("Schuetze");

// Shooters in insertion (ID) order; the keys put them in a different set order:
// Becker (ID 2), Adler (ID 3), Cramer (ID 1).
void addThree(const TestCompetition &tc)
{
    insertShooter(tc, 30, QStringLiteral("Cramer"), QStringLiteral("0870"));
    insertShooter(tc, 10, QStringLiteral("Becker"), QStringLiteral("0950"));
    insertShooter(tc, 20, QStringLiteral("Adler"), QStringLiteral("0910"));
}

qint64 idOf(const TestCompetition &tc, const QString &name)
{
    return tc.scalar(QStringLiteral("SELECT ID FROM Ergebnisse WHERE Schuetze = ?"), {name}).toLongLong();
}

qint64 rowCountInTable(const TestCompetition &tc)
{
    return tc.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toLongLong();
}

} // namespace

class TestRecordset : public QObject
{
    Q_OBJECT

private slots:
    void dynasetOrder_data();
    void dynasetOrder();

    void addNewId_data();
    void addNewId();
    void addNewAppendsAtEnd_data();
    void addNewAppendsAtEnd();
    void addNewFailedUpdateKeepsBuffer_data();
    void addNewFailedUpdateKeepsBuffer();

    void editStores_data();
    void editStores();
    void editRejects_data();
    void editRejects();
    void editSeenBeforeStore_data();
    void editSeenBeforeStore();

    void deleteCurrent_data();
    void deleteCurrent();
    void deleteWithoutCurrent_data();
    void deleteWithoutCurrent();
    void deleteAll_data();
    void deleteAll();

    void moveStoresBuffer_data();
    void moveStoresBuffer();
    void moveWithBadBufferStays_data();
    void moveWithBadBufferStays();

    void requery_data();
    void requery();
};

// ---------------------------------------------------------------- order

void TestRecordset::dynasetOrder_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("startNrs");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QVariantList>("keys");
    QTest::addColumn<QStringList>("expected");

    const QVariant null;
    const QVariant empty = QString(QLatin1String(""));
    QTest::newRow("keys descending")
        << ByKey << QVariantList{1, 2, 3} << QStringList{"Adler", "Becker", "Cramer"}
        << QVariantList{"000089020304", "000100001000", "000046000202"} << QStringList{"Becker", "Adler", "Cramer"};
    QTest::newRow("null key last although inserted first")
        << ByKey << QVariantList{1, 2, 3} << QStringList{"Neu", "Adler", "Becker"}
        << QVariantList{null, "000089020304", "000100001000"} << QStringList{"Becker", "Adler", "Neu"};
    QTest::newRow("null key last when inserted in the middle")
        << ByKey << QVariantList{1, 2, 3} << QStringList{"Adler", "Neu", "Becker"}
        << QVariantList{"000046000202", null, "000089020304"} << QStringList{"Becker", "Adler", "Neu"};
    QTest::newRow("empty key after all keys")
        << ByKey << QVariantList{1, 2, 3} << QStringList{"Leer", "Adler", "Becker"}
        << QVariantList{empty, "000046000202", "000000000000"} << QStringList{"Adler", "Becker", "Leer"};
    QTest::newRow("empty key, then null key last")
        << ByKey << QVariantList{1, 2, 3, 4} << QStringList{"Neu", "Leer", "Adler", "Becker"}
        << QVariantList{null, empty, "000089020304", "000046000202"}
        << QStringList{"Adler", "Becker", "Leer", "Neu"};
    QTest::newRow("keys compared as text, not as numbers")
        << ByKey << QVariantList{1, 2} << QStringList{"Zehn", "Neun"} << QVariantList{"10", "9"}
        << QStringList{"Neun", "Zehn"};

    QTest::newRow("start numbers descending numerically")
        << ByStartNr << QVariantList{2, 10, 9} << QStringList{"Zwei", "Zehn", "Neun"}
        << QVariantList{null, null, null} << QStringList{"Zehn", "Neun", "Zwei"};
    QTest::newRow("null start number last")
        << ByStartNr << QVariantList{null, 5, 12} << QStringList{"Ohne", "Fuenf", "Zwoelf"}
        << QVariantList{null, null, null} << QStringList{"Zwoelf", "Fuenf", "Ohne"};
    QTest::newRow("zero start number before null")
        << ByStartNr << QVariantList{0, null, 3} << QStringList{"Null", "Ohne", "Drei"}
        << QVariantList{null, null, null} << QStringList{"Drei", "Null", "Ohne"};
}

void TestRecordset::dynasetOrder()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, startNrs);
    QFETCH(QStringList, names);
    QFETCH(QVariantList, keys);
    QFETCH(QStringList, expected);

    TestCompetition tc;
    for (int i = 0; i < names.size(); ++i)
        insertShooter(tc, startNrs.at(i), names.at(i), keys.at(i));
    if (keys.contains(QVariant(QString(QLatin1String("")))))
        QCOMPARE(tc.scalar("SELECT count(*) FROM Ergebnisse WHERE Sortierung = ''").toInt(), 1);

    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(sql);
    QCOMPARE(RecordsetChecks::names(*rs), expected);
    QCOMPARE(rs->position(), 0);
    QCOMPARE(rs->value(Name).toString(), expected.first());
}

// ---------------------------------------------------------------- addNew

void TestRecordset::addNewId_data()
{
    QTest::addColumn<int>("existing");
    QTest::addColumn<QVariantList>("deletedIds");
    QTest::addColumn<bool>("deleteThroughRecordset");
    QTest::addColumn<int>("addedAfterOpening");
    QTest::addColumn<qint64>("expectedId");

    QTest::newRow("fresh template: first ID is 1") << 0 << QVariantList{} << false << 0 << qint64(1);
    QTest::newRow("after three rows") << 3 << QVariantList{} << false << 0 << qint64(4);
    QTest::newRow("highest row deleted: its ID is not given again") << 3 << QVariantList{3} << false << 0 << qint64(4);
    QTest::newRow("highest row deleted through the recordset") << 3 << QVariantList{3} << true << 0 << qint64(4);
    QTest::newRow("all rows deleted") << 3 << QVariantList{1, 2, 3} << false << 0 << qint64(4);
    QTest::newRow("gap in the middle is not filled") << 3 << QVariantList{2} << false << 0 << qint64(4);
    QTest::newRow("row added by another connection after opening") << 2 << QVariantList{} << false << 1 << qint64(4);
}

void TestRecordset::addNewId()
{
    QFETCH(int, existing);
    QFETCH(QVariantList, deletedIds);
    QFETCH(bool, deleteThroughRecordset);
    QFETCH(int, addedAfterOpening);
    QFETCH(qint64, expectedId);

    TestCompetition tc;
    for (int i = 0; i < existing; ++i)
        insertShooter(tc, i + 1, QStringLiteral("Vorher %1").arg(i + 1),
                      QStringLiteral("%1").arg(i, 4, 10, QChar('0')));
    if (!deleteThroughRecordset) {
        for (const QVariant &id : deletedIds)
            tc.exec(QStringLiteral("DELETE FROM Ergebnisse WHERE ID = ?"), {id});
    }
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    if (deleteThroughRecordset) {
        for (const QVariant &id : deletedIds) {
            rs->findFirst(QStringLiteral("ID = %1").arg(id.toLongLong()));
            QVERIFY(!rs->noMatch());
            rs->deleteCurrent();
        }
    }
    for (int i = 0; i < addedAfterOpening; ++i)
        insertShooter(tc, 100 + i, QStringLiteral("Anderes Programm %1").arg(i));

    rs->addNew();
    QCOMPARE(rs->value(QStringLiteral("ID")).toLongLong(), expectedId);
    rs->setValue(Name, QStringLiteral("Neu"));
    QCOMPARE(rs->value(QStringLiteral("ID")).toLongLong(), expectedId);
    rs->update();
    QCOMPARE(idOf(tc, QStringLiteral("Neu")), expectedId);
    const int idField = rs->fieldIndex(QStringLiteral("ID"));
    QCOMPARE(rs->storedValue(rs->rowCount() - 1, idField).toLongLong(), expectedId);
}

void TestRecordset::addNewAppendsAtEnd_data()
{
    QTest::addColumn<QVariant>("key");
    QTest::addColumn<QStringList>("expectedAfterRequery");

    QTest::newRow("best key still appended at the end")
        << QVariant("0999") << QStringList{"Neu", "Becker", "Adler", "Cramer"};
    QTest::newRow("key in the middle") << QVariant("0920") << QStringList{"Becker", "Neu", "Adler", "Cramer"};
    QTest::newRow("null key") << QVariant() << QStringList{"Becker", "Adler", "Cramer", "Neu"};
}

void TestRecordset::addNewAppendsAtEnd()
{
    QFETCH(QVariant, key);
    QFETCH(QStringList, expectedAfterRequery);

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->addNew();
    rs->setValue(Name, QStringLiteral("Neu"));
    rs->setValue(QStringLiteral("Sortierung"), key);
    rs->update();

    QCOMPARE(RecordsetChecks::names(*rs), (QStringList{"Becker", "Adler", "Cramer", "Neu"}));
    QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Becker", "Adler", "Neu"}));
    rs->requery();
    QCOMPARE(RecordsetChecks::names(*rs), expectedAfterRequery);
}

void TestRecordset::addNewFailedUpdateKeepsBuffer_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("bad");
    QTest::addColumn<int>("error");
    QTest::addColumn<QVariant>("corrected");
    QTest::addColumn<QString>("storageClass");
    QTest::addColumn<QVariant>("stored");

    QTest::newRow("letters in the start number")
        << "StartNr" << QVariant("zwölf") << ErrorNumber::TypeMismatch << QVariant("12") << "integer" << QVariant(12);
    QTest::newRow("start number beyond a long")
        << "StartNr" << QVariant("3000000000") << ErrorNumber::NumericOverflow << QVariant("3") << "integer"
        << QVariant(3);
    QTest::newRow("name of 256 characters")
        << "Schuetze" << QVariant(QString(256, QChar('x'))) << ErrorNumber::FieldTooSmall
        << QVariant(QString(255, QChar('x'))) << "text" << QVariant(QString(255, QChar('x')));
    QTest::newRow("letters in a shot value")
        << "Ring1" << QVariant("neun") << ErrorNumber::TypeMismatch << QVariant("9,5") << "real" << QVariant(9.5);
}

void TestRecordset::addNewFailedUpdateKeepsBuffer()
{
    QFETCH(QString, field);
    QFETCH(QVariant, bad);
    QFETCH(int, error);
    QFETCH(QVariant, corrected);
    QFETCH(QString, storageClass);
    QFETCH(QVariant, stored);

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->addNew();
    const qint64 id = rs->value(QStringLiteral("ID")).toLongLong();
    rs->setValue(QStringLiteral("Verein"), QStringLiteral("SV Tal"));
    rs->setValue(field, bad);

    QCOMPARE(raisedNumber([&] { rs->update(); }), error);
    QCOMPARE(rs->editMode(), Recordset::EditMode::AddNew);
    QCOMPARE(rs->value(field), bad);
    QCOMPARE(rs->value(QStringLiteral("Verein")).toString(), QStringLiteral("SV Tal"));
    QCOMPARE(rs->value(QStringLiteral("ID")).toLongLong(), id);
    QCOMPARE(rs->rowCount(), 3);
    QCOMPARE(rowCountInTable(tc), qint64(3));

    rs->setValue(field, corrected);
    QCOMPARE(raisedNumber([&] { rs->update(); }), 0);
    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(rs->rowCount(), 4);
    QCOMPARE(rowCountInTable(tc), qint64(4));
    const StoredValue written = storedValue(tc, field, id);
    QCOMPARE(written.storageClass, storageClass);
    QByteArray message;
    QVERIFY2(sameValue(written.value, stored, &message), message.constData());
    QCOMPARE(storedValue(tc, QStringLiteral("Verein"), id).value.toString(), QStringLiteral("SV Tal"));
}

// ---------------------------------------------------------------- edit

void TestRecordset::editStores_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QString>("storageClass");
    QTest::addColumn<QVariant>("expected");

    const QVariant null;
    QTest::newRow("decimal comma into a shot value") << "Ring1" << QVariant("9,5") << "real" << QVariant(9.5);
    QTest::newRow("tenth value with comma") << "Ring10" << QVariant("10,4") << "real" << QVariant(10.4);
    QTest::newRow("negative with comma") << "Serie" << QVariant("-0,5") << "real" << QVariant(-0.5);
    QTest::newRow("whole number text into a real field") << "Serie" << QVariant("98") << "real" << QVariant(98.0);
    QTest::newRow("number into a real field") << "Ring2" << QVariant(10.4) << "real" << QVariant(10.4);
    QTest::newRow("digits into the start number") << "StartNr" << QVariant("12") << "integer" << QVariant(12);
    QTest::newRow("largest long") << "StartNr" << QVariant("2147483647") << "integer" << QVariant(2147483647);
    QTest::newRow("lowest long") << "StartNr" << QVariant("-2147483648") << "integer"
                                 << QVariant(qint64(-2147483648LL));
    QTest::newRow("lowest long as a number") << "Innenzehner" << QVariant(qint64(-2147483648LL)) << "integer"
                                             << QVariant(qint64(-2147483648LL));
    QTest::newRow("empty text into the start number stores null") << "StartNr" << QVariant("") << "null" << null;
    QTest::newRow("empty text into a shot value stores null") << "Ring3" << QVariant("") << "null" << null;
    QTest::newRow("empty text into the inner tens stores null") << "Innenzehner" << QVariant("") << "null" << null;
    QTest::newRow("null into the name") << "Schuetze" << null << "null" << null;
    QTest::newRow("umlauts round-trip") << "Schuetze" << QVariant("Jürgen Öztürk-Weiß") << "text"
                                        << QVariant("Jürgen Öztürk-Weiß");
    QTest::newRow("apostrophe round-trip") << "Schuetze" << QVariant("O'Brien") << "text" << QVariant("O'Brien");
    QTest::newRow("comma and quotes in a club") << "Verein" << QVariant("SV \"Tell\", Ärzte e.V.") << "text"
                                                << QVariant("SV \"Tell\", Ärzte e.V.");
    QTest::newRow("name of 255 characters") << "Schuetze" << QVariant(QString(255, QChar('x'))) << "text"
                                            << QVariant(QString(255, QChar('x')));
    QTest::newRow("255 umlauts count as 255 characters")
        << "Verein" << QVariant(QString(255, QChar(0xE4))) << "text" << QVariant(QString(255, QChar(0xE4)));
    QTest::newRow("key of digits stays text") << "Sortierung" << QVariant("000089020304") << "text"
                                              << QVariant("000089020304");
}

void TestRecordset::editStores()
{
    QFETCH(QString, field);
    QFETCH(QVariant, input);
    QFETCH(QString, storageClass);
    QFETCH(QVariant, expected);

    TestCompetition tc;
    addThree(tc);
    tc.exec(QStringLiteral("UPDATE Ergebnisse SET Ring1 = 7, Ring2 = 8, Ring3 = 9, Ring10 = 6, Serie = 30, "
                           "Innenzehner = 1, Verein = 'Alt'"));
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveNext(); // Adler
    const qint64 id = rs->value(QStringLiteral("ID")).toLongLong();
    QCOMPARE(id, idOf(tc, QStringLiteral("Adler")));
    rs->edit();
    rs->setValue(field, input);
    QCOMPARE(raisedNumber([&] { rs->update(); }), 0);

    const StoredValue written = storedValue(tc, field, id);
    QCOMPARE(written.storageClass, storageClass);
    QByteArray message;
    QVERIFY2(sameValue(written.value, expected, &message), message.constData());
    QVERIFY2(sameValue(rs->value(field), expected, &message), message.constData());
    QCOMPARE(rs->position(), 1);
    // The other rows are untouched.
    QCOMPARE(tableNames(tc), (field == Name ? QStringList{"Cramer", "Becker", written.value.toString()}
                                            : QStringList{"Cramer", "Becker", "Adler"}));
}

void TestRecordset::editRejects_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<int>("error");

    QTest::newRow("letters into the start number") << "StartNr" << QVariant("zwölf") << ErrorNumber::TypeMismatch;
    QTest::newRow("letters into a shot value") << "Ring1" << QVariant("neun") << ErrorNumber::TypeMismatch;
    QTest::newRow("two decimal commas") << "Ring1" << QVariant("9,5,1") << ErrorNumber::TypeMismatch;
    QTest::newRow("3000000000 as text") << "StartNr" << QVariant("3000000000") << ErrorNumber::NumericOverflow;
    QTest::newRow("3000000000 as number") << "Innenzehner" << QVariant(qint64(3000000000LL))
                                          << ErrorNumber::NumericOverflow;
    QTest::newRow("one above the largest long") << "StartNr" << QVariant("2147483648") << ErrorNumber::NumericOverflow;
    QTest::newRow("one below the lowest long") << "StartNr" << QVariant("-2147483649")
                                               << ErrorNumber::NumericOverflow;
    QTest::newRow("name of 256 characters") << "Schuetze" << QVariant(QString(256, QChar('x')))
                                            << ErrorNumber::FieldTooSmall;
    QTest::newRow("club of 256 umlauts") << "Verein" << QVariant(QString(256, QChar(0xFC)))
                                         << ErrorNumber::FieldTooSmall;
}

void TestRecordset::editRejects()
{
    QFETCH(QString, field);
    QFETCH(QVariant, input);
    QFETCH(int, error);

    TestCompetition tc;
    addThree(tc);
    const qint64 id = idOf(tc, QStringLiteral("Becker"));
    const StoredValue before = storedValue(tc, field, id);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    const QVariant shownBefore = rs->value(field);
    rs->edit();
    rs->setValue(field, input);

    QCOMPARE(raisedNumber([&] { rs->update(); }), error);
    QCOMPARE(rs->editMode(), Recordset::EditMode::Edit);
    QCOMPARE(rs->value(field), input);
    QCOMPARE(rs->position(), 0);
    const StoredValue after = storedValue(tc, field, id);
    QCOMPARE(after.storageClass, before.storageClass);
    QCOMPARE(after.value, before.value);
    QCOMPARE(rs->storedValue(0, rs->fieldIndex(field)), shownBefore);

    // The row can be corrected and stored.
    rs->setValue(field, QStringLiteral("7"));
    QCOMPARE(raisedNumber([&] { rs->update(); }), 0);
    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(Numbers::cellText(storedValue(tc, field, id).value), QStringLiteral("7"));
}

void TestRecordset::editSeenBeforeStore_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("input");

    QTest::newRow("name with umlaut") << "Schuetze" << QVariant("Bäcker");
    QTest::newRow("start number as a number") << "StartNr" << QVariant(77);
    QTest::newRow("name cleared to null") << "Schuetze" << QVariant();
}

void TestRecordset::editSeenBeforeStore()
{
    QFETCH(QString, field);
    QFETCH(QVariant, input);

    TestCompetition tc;
    addThree(tc);
    const qint64 id = idOf(tc, QStringLiteral("Becker"));
    const StoredValue before = storedValue(tc, field, id);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->edit();
    rs->setValue(field, input);

    QByteArray message;
    QVERIFY2(sameValue(rs->value(field), input, &message), message.constData());
    QCOMPARE(storedValue(tc, field, id).value, before.value);
    QCOMPARE(raisedNumber([&] { rs->update(); }), 0);
    QVERIFY2(sameValue(storedValue(tc, field, id).value, input, &message), message.constData());
}

// ---------------------------------------------------------------- delete

void TestRecordset::deleteCurrent_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("remainingInSet");
    QTest::addColumn<QStringList>("remainingInTable");

    QTest::newRow("first row") << 0 << QStringList{"Adler", "Cramer"} << QStringList{"Cramer", "Adler"};
    QTest::newRow("middle row") << 1 << QStringList{"Becker", "Cramer"} << QStringList{"Cramer", "Becker"};
    QTest::newRow("last row") << 2 << QStringList{"Becker", "Adler"} << QStringList{"Becker", "Adler"};
}

void TestRecordset::deleteCurrent()
{
    QFETCH(int, position);
    QFETCH(QStringList, remainingInSet);
    QFETCH(QStringList, remainingInTable);

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveTo(position);
    rs->deleteCurrent();

    QCOMPARE(RecordsetChecks::names(*rs), remainingInSet);
    QCOMPARE(tableNames(tc), remainingInTable);
}

void TestRecordset::deleteWithoutCurrent_data()
{
    QTest::addColumn<int>("shooters");
    QTest::addColumn<QString>("situation");

    QTest::newRow("empty set") << 0 << "open";
    QTest::newRow("moved past the last row") << 3 << "past end";
    QTest::newRow("the only row already deleted") << 1 << "deleted";
}

void TestRecordset::deleteWithoutCurrent()
{
    QFETCH(int, shooters);
    QFETCH(QString, situation);

    TestCompetition tc;
    if (shooters == 1)
        insertShooter(tc, 1, QStringLiteral("Einzig"), QStringLiteral("0900"));
    else if (shooters == 3)
        addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    if (situation == QLatin1String("past end"))
        rs->moveTo(rs->rowCount());
    else if (situation == QLatin1String("deleted"))
        rs->deleteCurrent();
    QVERIFY(rs->isEof());
    const QStringList setBefore = RecordsetChecks::names(*rs);
    const QStringList tableBefore = tableNames(tc);

    QCOMPARE(raisedNumber([&] { rs->deleteCurrent(); }), ErrorNumber::NoCurrentRecord);
    QCOMPARE(RecordsetChecks::names(*rs), setBefore);
    QCOMPARE(tableNames(tc), tableBefore);
    QVERIFY(rs->isEof());
}

void TestRecordset::deleteAll_data()
{
    QTest::addColumn<QVariantList>("keys");

    QTest::newRow("empty table") << QVariantList{};
    QTest::newRow("one row") << QVariantList{"0900"};
    QTest::newRow("rows with a tie and a null key") << QVariantList{"0900", QVariant(), "0900", "0800"};
    QTest::newRow("rows with only null keys") << QVariantList{QVariant(), QVariant(), QVariant()};
}

void TestRecordset::deleteAll()
{
    QFETCH(QVariantList, keys);

    TestCompetition tc;
    tc.setTitle(QStringLiteral("Königsschießen 2024"));
    for (int i = 0; i < keys.size(); ++i)
        insertShooter(tc, i + 1, QStringLiteral("Schütze %1").arg(i + 1), keys.at(i));
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    int rounds = 0;
    while (rs->rowCount() > 0 && rounds <= keys.size()) {
        rs->moveFirst();
        rs->deleteCurrent();
        ++rounds;
    }

    QCOMPARE(rounds, int(keys.size()));
    QCOMPARE(rs->rowCount(), 0);
    QVERIFY(rs->isEof());
    QCOMPARE(rowCountInTable(tc), qint64(0));
    QCOMPARE(tc.scalar(QStringLiteral("SELECT Bezeichnung FROM Wettkampf")).toString(),
             QStringLiteral("Königsschießen 2024"));
}

// ---------------------------------------------------------------- move

void TestRecordset::moveStoresBuffer_data()
{
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("expectedPosition");
    QTest::addColumn<QStringList>("expectedTable");

    const QStringList three{"Cramer", "Becker", "Adler"};
    QTest::newRow("edited row, move to the next") << "edit" << "next" << 1 << QStringList{"Cramer", "Bäcker", "Adler"};
    QTest::newRow("edited row, move to the same row")
        << "edit" << "same" << 0 << QStringList{"Cramer", "Bäcker", "Adler"};
    QTest::newRow("edited row, move past the end") << "edit" << "end" << 3 << QStringList{"Cramer", "Bäcker", "Adler"};
    QTest::newRow("edited row, find first elsewhere")
        << "edit" << "find" << 2 << QStringList{"Cramer", "Bäcker", "Adler"};
    QTest::newRow("new row, move to the first")
        << "new" << "first" << 0 << QStringList{"Cramer", "Becker", "Adler", "Bäcker"};
    QTest::newRow("new row, find first") << "new" << "find" << 2 << QStringList{"Cramer", "Becker", "Adler", "Bäcker"};
    QTest::newRow("new row without typed values is not stored") << "untouched new" << "first" << 0 << three;
    QTest::newRow("opened for edit but unchanged") << "untouched edit" << "next" << 1 << three;
}

void TestRecordset::moveStoresBuffer()
{
    QFETCH(QString, buffer);
    QFETCH(QString, move);
    QFETCH(int, expectedPosition);
    QFETCH(QStringList, expectedTable);

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    if (buffer == QLatin1String("edit")) {
        rs->edit();
        rs->setValue(Name, QStringLiteral("Bäcker"));
    } else if (buffer == QLatin1String("new")) {
        rs->addNew();
        rs->setValue(Name, QStringLiteral("Bäcker"));
    } else if (buffer == QLatin1String("untouched new")) {
        rs->addNew();
    } else {
        rs->edit();
    }

    if (move == QLatin1String("next"))
        rs->moveNext();
    else if (move == QLatin1String("same"))
        rs->moveTo(0);
    else if (move == QLatin1String("end"))
        rs->moveTo(rs->rowCount());
    else if (move == QLatin1String("first"))
        rs->moveFirst();
    else
        rs->findFirst(QStringLiteral("Schuetze like 'C*'"));

    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(rs->position(), expectedPosition);
    QCOMPARE(tableNames(tc), expectedTable);
    QCOMPARE(rs->rowCount(), int(expectedTable.size()));
}

void TestRecordset::moveWithBadBufferStays_data()
{
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("error");

    QTest::newRow("edited start number with letters")
        << "edit" << "StartNr" << QVariant("zwölf") << ErrorNumber::TypeMismatch;
    QTest::newRow("new row with an overlong name")
        << "new" << "Schuetze" << QVariant(QString(300, QChar('y'))) << ErrorNumber::FieldTooSmall;
}

void TestRecordset::moveWithBadBufferStays()
{
    QFETCH(QString, buffer);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(int, error);

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveTo(1);
    if (buffer == QLatin1String("edit"))
        rs->edit();
    else
        rs->addNew();
    rs->setValue(field, value);

    QCOMPARE(raisedNumber([&] { rs->moveFirst(); }), error);
    QCOMPARE(rs->position(), 1);
    QCOMPARE(rs->editMode(), buffer == QLatin1String("edit") ? Recordset::EditMode::Edit : Recordset::EditMode::AddNew);
    QCOMPARE(rs->value(field), value);
    QCOMPARE(tableNames(tc), (QStringList{"Cramer", "Becker", "Adler"}));
}

// ---------------------------------------------------------------- requery

void TestRecordset::requery_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("new row sorted into its place") << "add stored" << QStringList{"Neu", "Becker", "Adler", "Cramer"};
    QTest::newRow("pending new row stored first") << "add pending" << QStringList{"Neu", "Becker", "Adler", "Cramer"};
    QTest::newRow("pending edit stored first") << "edit pending" << QStringList{"Cramer", "Becker", "Adler"};
    QTest::newRow("key changed by another connection") << "other edit" << QStringList{"Cramer", "Becker", "Adler"};
    QTest::newRow("row added by another connection") << "other add" << QStringList{"Becker", "Adler", "Dorn", "Cramer"};
    QTest::newRow("row deleted by another connection") << "other delete" << QStringList{"Becker", "Cramer"};
    QTest::newRow("from past the end") << "past end" << QStringList{"Becker", "Adler", "Cramer"};
}

void TestRecordset::requery()
{
    QFETCH(QString, action);
    QFETCH(QStringList, expected);

    TestCompetition tc;
    addThree(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveTo(2); // Cramer
    if (action.startsWith(QLatin1String("add"))) {
        rs->addNew();
        rs->setValue(Name, QStringLiteral("Neu"));
        rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("0990"));
        if (action == QLatin1String("add stored"))
            rs->update();
    } else if (action == QLatin1String("edit pending")) {
        rs->edit();
        rs->setValue(QStringLiteral("Sortierung"), QStringLiteral("0990"));
    } else if (action == QLatin1String("other edit")) {
        tc.exec(QStringLiteral("UPDATE Ergebnisse SET Sortierung = '0990' WHERE Schuetze = 'Cramer'"));
    } else if (action == QLatin1String("other add")) {
        insertShooter(tc, 40, QStringLiteral("Dorn"), QStringLiteral("0880"));
    } else if (action == QLatin1String("other delete")) {
        tc.exec(QStringLiteral("DELETE FROM Ergebnisse WHERE Schuetze = 'Adler'"));
    } else {
        rs->moveTo(rs->rowCount());
    }

    rs->requery();
    QCOMPARE(RecordsetChecks::names(*rs), expected);
    QCOMPARE(rs->position(), 0);
    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(rs->value(Name).toString(), expected.first());
    QCOMPARE(rowCountInTable(tc), qint64(expected.size()));
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
