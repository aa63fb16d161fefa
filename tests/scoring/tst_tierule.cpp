#include "scoring/RankAssignment.h"
#include "scoring/ScoreComputation.h"
#include "scoring/TieRule.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "support/MapRow.h"
#include "support/RaisedError.h"
#include "support/TestCompetition.h"

#include <QtTest>

namespace {

// A shooter as typed: ten ring cells (";" between them) and the inner tens.
struct Typed
{
    QString rings;
    QString innerTens;
};

// The worked example of the scoring rules: four shooters, A to D; A, B and C
// shot 89. B and C differ in both tie breaks: B has more inner tens (2 to 1),
// C more tens (3 to 2).
const Typed A{"10;9;9;8;*;7;9;10;8;9", "2"};
const Typed B{"10;10;9;9;9;8;8;9;8;9", "2"};
const Typed C{"10;10;10;9;9;7;8;9;8;9", "1"};
const Typed D{"9;9;8;+;10;;;;;", ""};

QString keyOf(const Typed &typed, TieRule rule)
{
    QHash<QString, QVariant> cells{{QStringLiteral("Innenzehner"), typed.innerTens}};
    const QStringList rings = typed.rings.split(QLatin1Char(';'));
    for (int shot = 1; shot <= 10; ++shot)
        cells.insert(ScoreComputation::ringColumn(shot), rings.value(shot - 1));
    MapRow row(cells);
    ScoreComputation::computeRow(row, rule);
    return row.cell(QStringLiteral("Sortierung")).toString();
}

const QString EntryQuery = QStringLiteral("Select * from Ergebnisse order by Sortierung desc");

QString storedKey(const TestCompetition &tc, const QString &name)
{
    return tc.scalar(QStringLiteral("SELECT Sortierung FROM Ergebnisse WHERE Schuetze = ?"), {name}).toString();
}

// The rows of the worked example as the file holds them once typed under the
// first rule: rings cleaned, the total, the key of that rule.
void fillExample(const TestCompetition &tc)
{
    const QVariantList ringsA{10, 9, 9, 8, 10, 7, 9, 10, 8, 9};
    const QVariantList ringsB{10, 10, 9, 9, 9, 8, 8, 9, 8, 9};
    const QVariantList ringsC{10, 10, 10, 9, 9, 7, 8, 9, 8, 9};
    tc.addResult(1, "A", "SV", 89, "0000890203040201000000000000", ringsA);
    tc.addResult(2, "B", "SV", 89, "0000890202050300000000000000", ringsB);
    tc.addResult(3, "C", "SV", 89, "0000890103040201000000000000", ringsC);
    tc.addResult(4, "Neu", "SV");
    // Written by another program: a mark where a number belongs, cleaned as if typed.
    tc.addResult(5, "Stern", "SV", 19, "0000190001010000000000000000", {"*", 9.5});
    tc.exec("UPDATE Ergebnisse SET Innenzehner = 2 WHERE Schuetze IN ('A', 'B')");
    tc.exec("UPDATE Ergebnisse SET Innenzehner = 1 WHERE Schuetze = 'C'");
}

} // namespace

Q_DECLARE_METATYPE(TieRule)
Q_DECLARE_METATYPE(QList<Typed>)

class TestTieRule : public QObject
{
    Q_OBJECT

private slots:
    void keyLayout_data();
    void keyLayout();
    void places_data();
    void places();
    void changeRebuildsTheKeys_data();
    void changeRebuildsTheKeys();
    void failedChangeKeepsTheKeysAndTheRule();
    void storedRule_data();
    void storedRule();
};

// Each rule's key, field by field (blanks only for reading here).
void TestTieRule::keyLayout_data()
{
    QTest::addColumn<TieRule>("rule");
    QTest::addColumn<Typed>("typed");
    QTest::addColumn<QString>("key");

    QTest::newRow("rings, inner tens, tens ... ones")
        << TieRule::InnerTensFirst << A << "000089 02 03 04 02 01 00 00 00 00 00 00";
    QTest::newRow("rings, tens ... ones, inner tens")
        << TieRule::CountsFirst << A << "000089 03 04 02 01 00 00 00 00 00 00 02";
    QTest::newRow("counts first, fractional total") << TieRule::CountsFirst << Typed{"10,5;9,4;;;;;;;;", "1"}
                                                    << "000019:9000 01 01 00 00 00 00 00 00 00 00 01";
    QTest::newRow("tenths: the total in tenths alone") << TieRule::Tenths << A << "000890";
}

void TestTieRule::keyLayout()
{
    QFETCH(TieRule, rule);
    QFETCH(Typed, typed);
    QFETCH(QString, key);
    QCOMPARE(keyOf(typed, rule), key.remove(QLatin1Char(' ')));
}

void TestTieRule::places_data()
{
    QTest::addColumn<TieRule>("rule");
    QTest::addColumn<QList<Typed>>("shooters");
    QTest::addColumn<QList<int>>("places");

    QTest::newRow("first rule: inner tens before tens (B ahead of C)")
        << TieRule::InnerTensFirst << QList<Typed>{A, B, C, D} << QList<int>{1, 2, 3, 4};
    QTest::newRow("DSB rule: tens before inner tens (C ahead of B)")
        << TieRule::CountsFirst << QList<Typed>{A, B, C, D} << QList<int>{1, 3, 2, 4};
    QTest::newRow("DSB rule: equal counts, the inner tens decide last")
        << TieRule::CountsFirst << QList<Typed>{{A.rings, "1"}, {A.rings, "4"}, {A.rings, "4"}}
        << QList<int>{3, 1, 1};
    QTest::newRow("tenths: equal tenth totals share, whatever the counts and inner tens")
        << TieRule::Tenths
        << QList<Typed>{{"10,4;10,2;9,9;;;;;;;", "3"}, {"9,5;10,5;10,5;;;;;;;", "0"}, {"10;10;10;;;;;;;", "3"},
                        {"10,8;10;9,9;;;;;;;", "0"}}
        << QList<int>{2, 2, 4, 1};
    QTest::newRow("tenths: a fractional total between the whole ones around it")
        << TieRule::Tenths << QList<Typed>{{"10;10;;;;;;;;", ""}, {"9,5;10;;;;;;;;", ""}, {"9;10;;;;;;;;", ""}}
        << QList<int>{1, 2, 3};
    QTest::newRow("nothing shot is no place under any rule")
        << TieRule::Tenths << QList<Typed>{{";;;;;;;;;", "2"}, A} << QList<int>{RankAssignment::NoPlace, 1};
}

// From what is typed to the places, as F5 ranks the keys.
void TestTieRule::places()
{
    QFETCH(TieRule, rule);
    QFETCH(QList<Typed>, shooters);
    QFETCH(QList<int>, places);
    QStringList keys;
    for (const Typed &typed : shooters)
        keys << keyOf(typed, rule);
    const std::vector<int> ranked = RankAssignment::placesOfKeys(keys);
    QCOMPARE(QList<int>(ranked.begin(), ranked.end()), places);
}

void TestTieRule::changeRebuildsTheKeys_data()
{
    QTest::addColumn<TieRule>("rule");
    QTest::addColumn<QString>("keyA");
    QTest::addColumn<QString>("keyStar");
    QTest::addColumn<QString>("storedCode");

    QTest::newRow("to the DSB rule") << TieRule::CountsFirst << "0000890304020100000000000002"
                                     << "000019:50000101000000000000000000" << "2";
    QTest::newRow("to tenths") << TieRule::Tenths << "000890" << "000195" << "3";
    QTest::newRow("back to the first rule, byte for byte")
        << TieRule::InnerTensFirst << "0000890203040201000000000000" << "000019:50000001010000000000000000" << "1";
}

void TestTieRule::changeRebuildsTheKeys()
{
    QFETCH(TieRule, rule);
    QFETCH(QString, keyA);
    QFETCH(QString, keyStar);
    QFETCH(QString, storedCode);

    TestCompetition tc;
    fillExample(tc);
    const auto db = Database::open(tc.path());
    const auto rs = db->openRecordset(EntryQuery);
    TieRules::change(*rs, rule);
    QCOMPARE(storedKey(tc, "A"), keyA);
    QCOMPARE(storedKey(tc, "Stern"), keyStar);
    // A shooter who has not shot keeps no key.
    QVERIFY(tc.scalar("SELECT Sortierung FROM Ergebnisse WHERE Schuetze = 'Neu'").isNull());
    QCOMPARE(tc.scalar("SELECT Wert FROM Einstellungen WHERE Name = 'Wertung'").toString(), storedCode);
    QCOMPARE(TieRules::stored(*db), rule);
    // The rows in memory are what the file holds; A was first in the query.
    QCOMPARE(rs->storedValue(0, rs->fieldIndex("Sortierung")).toString(), keyA);
}

// The tenths rule gives A and C one key; a unique index on the key refuses it
// at the last row. Half the rows under one rule and half under the other
// would rank nonsense.
void TestTieRule::failedChangeKeepsTheKeysAndTheRule()
{
    TestCompetition tc;
    fillExample(tc);
    tc.exec("CREATE UNIQUE INDEX OneKeyEach ON Ergebnisse (Sortierung)");
    const auto db = Database::open(tc.path());
    const auto rs = db->openRecordset(EntryQuery);
    QCOMPARE(raisedError([&] { TieRules::change(*rs, TieRule::Tenths); }).number, 3022);
    QCOMPARE(storedKey(tc, "A"), QStringLiteral("0000890203040201000000000000"));
    QCOMPARE(storedKey(tc, "B"), QStringLiteral("0000890202050300000000000000"));
    QVERIFY(tc.scalar("SELECT count(*) FROM Einstellungen").toInt() == 0);
    QCOMPARE(TieRules::stored(*db), TieRule::InnerTensFirst);
}

void TestTieRule::storedRule_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<TieRule>("rule");

    QTest::newRow("a file of an earlier version") << "DROP TABLE Einstellungen" << TieRule::InnerTensFirst;
    QTest::newRow("DSB") << "INSERT INTO Einstellungen VALUES ('Wertung', '2')" << TieRule::CountsFirst;
    QTest::newRow("tenths") << "INSERT INTO Einstellungen VALUES ('Wertung', '3')" << TieRule::Tenths;
    QTest::newRow("a rule of a later version") << "INSERT INTO Einstellungen VALUES ('Wertung', '7')"
                                               << TieRule::InnerTensFirst;
}

void TestTieRule::storedRule()
{
    QFETCH(QString, setUp);
    QFETCH(TieRule, rule);
    TestCompetition tc;
    if (!setUp.isEmpty())
        tc.exec(setUp);
    QCOMPARE(TieRules::stored(*Database::open(tc.path())), rule);
}

QTEST_GUILESS_MAIN(TestTieRule)
#include "tst_tierule.moc"
