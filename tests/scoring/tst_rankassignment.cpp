#include "RankAssignment.h"

#include <QtTest>

namespace {

// Keys as the score computation writes them (worked example A to D).
const QString A = QStringLiteral("000089" "02" "03" "04" "02" "01" "00" "00" "00" "00" "00" "00");
const QString B = QStringLiteral("000089" "02" "02" "05" "03" "00" "00" "00" "00" "00" "00" "00");
const QString C = QStringLiteral("000089" "01" "03" "04" "02" "01" "00" "00" "00" "00" "00" "00");
const QString D = QStringLiteral("000046" "00" "02" "02" "01" "00" "00" "00" "00" "00" "00" "00");
const QString Hundred = QStringLiteral("000100" "00" "10" "00" "00" "00" "00" "00" "00" "00" "00" "00");
const QString NinetyNineFive = QStringLiteral("000099:5000" "00" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00");
const QString NinetyNine = QStringLiteral("000099" "03" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00");
// Same total and inner tens as A (three tens, five nines, two sevens instead
// of four nines, two eights and a seven), so the two differ only in the counts.
const QString ACountsOnly = QStringLiteral("000089" "02" "03" "05" "00" "02" "00" "00" "00" "00" "00" "00");
const QString NoKey;

} // namespace

class TestRankAssignment : public QObject
{
    Q_OBJECT

private slots:
    void places_data();
    void places();
};

void TestRankAssignment::places_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QList<int>>("places");
    QTest::newRow("no rows") << QStringList{} << QList<int>{};
    QTest::newRow("single shooter") << QStringList{A} << QList<int>{1};
    QTest::newRow("worked example, all different") << QStringList{A, B, C, D} << QList<int>{1, 2, 3, 4};
    QTest::newRow("tie in the middle: 1, 2, 2, 4") << QStringList{A, B, B, D} << QList<int>{1, 2, 2, 4};
    QTest::newRow("tie at the start") << QStringList{A, A, A, D} << QList<int>{1, 1, 1, 4};
    QTest::newRow("tie at the end") << QStringList{A, C, C} << QList<int>{1, 2, 2};
    QTest::newRow("two tie groups") << QStringList{A, A, B, B, D} << QList<int>{1, 1, 3, 3, 5};
    // Rows without a key are one tied group at the end.
    QTest::newRow("two without key after two with") << QStringList{A, B, NoKey, NoKey} << QList<int>{1, 2, 3, 3};
    QTest::newRow("Null and empty text are the same") << QStringList{A, NoKey, QStringLiteral("")}
                                                       << QList<int>{1, 2, 2};
    QTest::newRow("no shooter has a key") << QStringList{NoKey, NoKey, NoKey} << QList<int>{1, 1, 1};
    // Keys compare exactly, character by character.
    QTest::newRow("same total, different inner tens") << QStringList{B, C} << QList<int>{1, 2};
    QTest::newRow("same total and inner tens, different counts") << QStringList{ACountsOnly, A} << QList<int>{1, 2};
    QTest::newRow("fractional total between whole totals") << QStringList{Hundred, NinetyNineFive, NinetyNine}
                                                           << QList<int>{1, 2, 3};
    QTest::newRow("trailing blank is a different key") << QStringList{A + QLatin1Char(' '), A} << QList<int>{1, 2};
    // The walk compares each row with the one before it only.
    QTest::newRow("equal keys apart are not tied") << QStringList{A, B, A} << QList<int>{1, 2, 3};
}

void TestRankAssignment::places()
{
    QFETCH(QStringList, keys);
    QFETCH(QList<int>, places);
    const std::vector<int> result = RankAssignment::places(keys);
    QCOMPARE(QList<int>(result.begin(), result.end()), places);
}

QTEST_GUILESS_MAIN(TestRankAssignment)
#include "tst_rankassignment.moc"
