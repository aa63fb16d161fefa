#include "Criterion.h"
#include "Database.h"
#include "Recordset.h"
#include "RaisedError.h"
#include "RecordsetChecks.h"
#include "RingtalError.h"
#include "TestCompetition.h"

#include <QtTest>

using namespace RecordsetChecks;

namespace {

// Set order (Sortierung desc) and the ID each row gets from its insertion:
//   0 Müller     ID 3  StartNr 7   SSV Tal
//   1 Ährenfeld  ID 5  StartNr 12  SV 1920 Musterstadt
//   2 O'Brien    ID 4  StartNr 3   SSV Tal
//   3 Becker     ID 1  StartNr 12  SV 1920 Musterstadt
//   4 öztürk     ID 2  StartNr 20  SG Öhringen
//   5 Mahler     ID 6  no start number, no club, no key
// Becker has the lowest ID of the two start numbers 12, so table order and
// set order give different answers.
void fill(const TestCompetition &tc)
{
    const QString add =
        QStringLiteral("INSERT INTO Ergebnisse (StartNr, Schuetze, Verein, Sortierung) VALUES (?, ?, ?, ?)");
    tc.exec(add, {12, "Becker", "SV 1920 Musterstadt", "0920"});
    tc.exec(add, {20, "öztürk", "SG Öhringen", "0910"});
    tc.exec(add, {7, "Müller", "SSV Tal", "0950"});
    tc.exec(add, {3, "O'Brien", "SSV Tal", "0930"});
    tc.exec(add, {12, "Ährenfeld", "SV 1920 Musterstadt", "0940"});
    tc.exec(add, {QVariant(), "Mahler", QVariant(), QVariant()});
}

} // namespace

class TestCriterion : public QObject
{
    Q_OBJECT

private slots:
    void findFirst_data();
    void findFirst();
    void findFirstInvalid_data();
    void findFirstInvalid();
    void likeMatches_data();
    void likeMatches();
    void likePrefixText_data();
    void likePrefixText();
};

void TestCriterion::findFirst_data()
{
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected"); // -1: no match, the position stays

    QTest::newRow("lowest ID is not the first row") << "ID = 1" << 0 << 3;
    QTest::newRow("ID that is not there") << "ID = 99" << 2 << -1;
    QTest::newRow("start number: first in set order, not lowest ID") << "StartNr = 12" << 4 << 1;
    QTest::newRow("search starts at the first row, not at the current") << "StartNr = 7" << 4 << 0;
    QTest::newRow("start number with leading zero") << "StartNr = 012" << 0 << 1;
    QTest::newRow("null start number is not 0") << "StartNr = 0" << 1 << -1;
    QTest::newRow("lower-case umlaut pattern finds capital") << "Schuetze like 'mü*'" << 3 << 0;
    QTest::newRow("keywords in any case") << "schuetze LIKE 'BECKER*'" << 0 << 3;
    QTest::newRow("apostrophe quoted by likePrefix") << Criterion::likePrefix("Schuetze", "O'B") << 0 << 2;
    QTest::newRow("star in the middle, first in set order") << "Schuetze like 'M*er'" << 5 << 0;
    QTest::newRow("question mark is one character") << "Schuetze like 'M?ller'" << 5 << 0;
    QTest::newRow("question mark needs a character") << "Schuetze like 'Becker?'" << 0 << -1;
    QTest::newRow("no star: the whole text must match") << "Schuetze like 'Müll'" << 2 << -1;
    QTest::newRow("hash is a digit") << "Verein like 'SV ####*'" << 0 << 1;
    QTest::newRow("range skips Ä") << "Schuetze like '[a-c]*'" << 0 << 3;
    QTest::newRow("negated list with umlaut ignores case") << "Schuetze like '[!mä]*'" << 0 << 2;
    QTest::newRow("list of capitals matches lower case") << "Schuetze like '[ÖX]*'" << 0 << 4;
}

void TestCriterion::findFirst()
{
    QFETCH(QString, criterion);
    QFETCH(int, start);
    QFETCH(int, expected);

    TestCompetition tc;
    fill(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    QCOMPARE(RecordsetChecks::names(*rs),
             (QStringList{"Müller", "Ährenfeld", "O'Brien", "Becker", "öztürk", "Mahler"}));
    rs->moveTo(start);

    QCOMPARE(raisedNumber([&] { rs->findFirst(criterion); }), 0);
    QCOMPARE(rs->noMatch(), expected < 0);
    QCOMPARE(rs->position(), expected < 0 ? start : expected);
}

void TestCriterion::findFirstInvalid_data()
{
    QTest::addColumn<QString>("criterion");

    QTest::newRow("decimal comma in a number") << "StartNr = 1,5";
    QTest::newRow("unterminated quote") << "Schuetze like 'Mü*";
    QTest::newRow("apostrophe inserted as typed") << "Schuetze like 'O'Brien*'";
    QTest::newRow("unterminated character list") << "Schuetze like '[a-c*'";
}

void TestCriterion::findFirstInvalid()
{
    QFETCH(QString, criterion);

    TestCompetition tc;
    fill(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
    rs->moveTo(2);

    const RaisedError raised = raisedError([&] { rs->findFirst(criterion); });
    QCOMPARE(raised.number, 3077);
    QVERIFY2(raised.description.startsWith(QStringLiteral("Syntaxfehler in Suchbedingung: ")),
             qPrintable(raised.description));
    QCOMPARE(rs->position(), 2);
    QCOMPARE(rs->value(QStringLiteral("Schuetze")).toString(), QStringLiteral("O'Brien"));
    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
}

void TestCriterion::likeMatches_data()
{
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("expected");

    QTest::newRow("prefix, capital umlaut in the value") << "Schuetze like 'ü*'" << QVariant("Übel") << true;
    QTest::newRow("prefix longer than the value") << "Schuetze like 'Müllers*'" << QVariant("Müller") << false;
    QTest::newRow("prefix, first letter in the other case") << "Schuetze like 'mÜL*'" << QVariant("Müller") << true;
    QTest::newRow("long s folds to s") << "Schuetze like 'St*'" << QVariant("ſtraße") << true;
    QTest::newRow("null value") << "Schuetze like '*'" << QVariant() << false;
    QTest::newRow("empty text matches a lone star") << "Schuetze like '*'" << QVariant("") << true;
    QTest::newRow("doubled apostrophe is one") << "Schuetze like 'd''Arc*'" << QVariant("d'Arcy") << true;
    QTest::newRow("dot is no pattern character") << "Verein like 'S.V?Tal'" << QVariant("SSV Tal") << false;
    QTest::newRow("plus is no pattern character") << "Verein like 'A+?'" << QVariant("AAA") << false;
    QTest::newRow("hash on a number") << "StartNr like '1#'" << QVariant(qint64(12)) << true;
    QTest::newRow("hash needs exactly one digit") << "StartNr like '1#'" << QVariant(qint64(123)) << false;
    QTest::newRow("range end included") << "Schuetze like '[a-c]*'" << QVariant("Cramer") << true;
    QTest::newRow("number equal to a whole number") << "StartNr = 12" << QVariant(qint64(12)) << true;
    QTest::newRow("number with decimal point") << "Serie = 98.5" << QVariant(98.5) << true;
}

void TestCriterion::likeMatches()
{
    QFETCH(QString, criterion);
    QFETCH(QVariant, value);
    QFETCH(bool, expected);

    bool matched = false;
    QCOMPARE(raisedNumber([&] { matched = Criterion::parse(criterion).matches(value); }), 0);
    QCOMPARE(matched, expected);
}

void TestCriterion::likePrefixText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("apostrophe doubled") << "O'B" << "Schuetze like 'O''B*'";
    QTest::newRow("empty text") << "" << "Schuetze like '*'";
    QTest::newRow("pattern characters kept") << "M?[a-c]#" << "Schuetze like 'M?[a-c]#*'";
}

void TestCriterion::likePrefixText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Criterion::likePrefix(QStringLiteral("Schuetze"), text), expected);
}

QTEST_GUILESS_MAIN(TestCriterion)
#include "tst_criterion.moc"
