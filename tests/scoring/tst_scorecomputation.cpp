// The score of one row: the ring cells cleaned, the series total and the sort
// key written; keys sort as their results; places from keys in set order.
#include "scoring/RankAssignment.h"
#include "scoring/ScoreComputation.h"
#include "store/Numbers.h"
#include "support/MapRow.h"

#include <QtTest>

#include <vector>

namespace {

const QString Serie = QStringLiteral("Serie"), InnerTens = QStringLiteral("Innenzehner"), SortKey = QStringLiteral("Sortierung");

// A sort key: the total's text, the inner tens' two characters, then the
// counts of tens, nines, ... ones in two digits each (those not given are 0).
QString key(const char *total, const char *innerTens, const QList<int> &counts = {})
{
    QString key = QString::fromLatin1(total) + QString::fromLatin1(innerTens);
    for (int i = 0; i < 10; ++i)
        key += QStringLiteral("%1").arg(i < counts.size() ? counts.at(i) : 0, 2, 10, QLatin1Char('0'));
    return key;
}

// Nine tens and the entry under test at the given shot (1 ... 10).
QStringList tensWith(int shot, const QString &entry)
{
    QStringList list(ScoreComputation::ShotCount, QStringLiteral("10"));
    list[shot - 1] = entry;
    return list;
}

// As typed into the grid; a null text stands for a cell never touched (Null).
QVariantList typedCells(const QStringList &texts)
{
    QVariantList cells;
    for (const QString &text : texts)
        cells.append(text.isNull() ? QVariant() : QVariant(text));
    return cells;
}

// An invalid value reads as a Null cell, like a column never set.
MapRow rowOf(const QVariantList &rings, const QVariant &innerTens)
{
    QHash<QString, QVariant> cells{{InnerTens, innerTens}};
    for (int shot = 1; shot <= rings.size(); ++shot)
        cells.insert(ScoreComputation::ringColumn(shot), rings[shot - 1]);
    return MapRow(cells);
}

void addRow(const char *name, const QStringList &rings, const QString &innerTens, const QStringList &cleaned,
            double serie, const QString &key)
{
    QTest::newRow(name) << typedCells(rings) << (innerTens.isNull() ? QVariant() : QVariant(innerTens)) << cleaned << serie
                        << key;
}

// An entry at one shot among nine tens that the computation leaves as typed.
void addKeptEntry(const char *name, int shot, const QString &entry, double serie, const QString &key)
{
    addRow(name, tensWith(shot, entry), QString(), tensWith(shot, entry), serie, key);
}

// An entry at one shot among nine tens that the computation turns into 0.
void addZeroedEntry(const char *name, int shot, const QString &entry)
{
    addRow(name, tensWith(shot, entry), QString(), tensWith(shot, QStringLiteral("0")), 90, key("000090", "00", {9}));
}

} // namespace

class TestScoreComputation : public QObject
{
    Q_OBJECT

private slots:
    void computeRow_data()
    {
        QTest::addColumn<QVariantList>("rings");
        QTest::addColumn<QVariant>("innerTens");
        QTest::addColumn<QStringList>("cleaned");
        QTest::addColumn<double>("serie");
        QTest::addColumn<QString>("key");
        const QString n; // Null cell

        // The worked example.
        addRow("A: star, three tens", {"10", "9", "9", "8", "*", "7", "9", "10", "8", "9"}, "2",
               {"10", "9", "9", "8", "10", "7", "9", "10", "8", "9"}, 89, key("000089", "02", {3, 4, 2, 1}));
        addRow("D: plus, five Null cells, no inner tens", {"9", "9", "8", "+", "10", n, n, n, n, n}, n,
               {"9", "9", "8", "10", "10", "0", "0", "0", "0", "0"}, 46, key("000046", "00", {2, 2, 1}));
        addRow("ten ones fill the last count", QStringList(10, "1"), "0", QStringList(10, "1"), 10,
               key("000010", "00", {0, 0, 0, 0, 0, 0, 0, 0, 0, 10}));
        // Marks for a ten: only "*" or "+" alone.
        addZeroedEntry("blank before star", 1, " *");
        // Entries that are no ring value count as 0.
        addZeroedEntry("10,95 above 10,9", 2, "10,95");
        addZeroedEntry("letter", 4, "x");
        addZeroedEntry("minus three", 6, "-3");
        addZeroedEntry("blank", 5, " ");
        // Entries that stay; a shot counts under its whole part.
        addKeptEntry("10,9 stays and counts as ten", 1, "10,9", 100.9, key("000100:9000", "00", {10}));
        addKeptEntry("blanks around a number", 4, " 9 ", 99, key("000099", "00", {9, 1}));
        // An exponent form is counted by its rounded value, halves to even.
        addKeptEntry("8,5 as exponent counts as even eight", 8, "85e-1", 98.5, key("000098:5000", "00", {9, 0, 1}));
        addKeptEntry("8,7 as exponent counts as nine", 5, "87e-1", 98.7, key("000098:7000", "00", {9, 1}));
        addKeptEntry("count of eleven stays out of the key", 10, "11,0e-1", 91.1, key("000091:1000", "00", {9}));
        // Numbers stored in the table, not typed.
        QTest::newRow("doubles from the table") << (QVariantList(8, 10.0) << 9.5 << 10.9) << QVariant(2)
                                                << QStringList(8, "10") + QStringList{"9,5", "10,9"} << 100.4
                                                << key("000100:4000", "02", {9, 1});
        // Fractional totals: whole part in six digits, ":" and four decimals.
        const QStringList mixed{"10,9", "10,9", "10,9", "10,9", "9,9", "9,9", "9,9", "9,9", "9,9", "5,6"};
        addRow("98,7 from a sum with rounding error", mixed, "2", mixed, 98.7, key("000098:7000", "02", {4, 5, 0, 0, 0, 1}));
        addKeptEntry("rounded to four decimals", 1, "9,12346", 99.12346, key("000099:1235", "00", {9, 1}));
        addKeptEntry("fraction below one hundredth", 2, "9,0001", 99.0001, key("000099:0001", "00", {9, 1}));
        addKeptEntry("fraction rounding away is whole", 3, "8,99999", 98.99999, key("000099", "00", {9, 0, 1}));
        // The two characters after the total hold the inner tens: the last two
        // characters of the number text as it stands; fractions and signs sort below "00".
        const struct { const char *name; QVariant innerTens; const char *field; } innerTensRows[] = {
            {"inner tens 123 keep the last two digits", QVariant("123"), "23"},
            {"inner tens of letters", QVariant("ab"), "00"},
            {"inner tens with a dot dropped", QVariant("2.5"), "25"},
            {"inner tens with a comma fraction", QVariant("2,5"), ",5"},
            {"negative inner tens", QVariant("-1"), "-1"},
        };
        for (const auto &row : innerTensRows)
            QTest::newRow(row.name) << typedCells(QStringList(10, "9")) << row.innerTens << QStringList(10, "9") << 90.0
                                    << key("000090", row.field, {0, 10});
    }

    void computeRow()
    {
        QFETCH(QVariantList, rings);
        QFETCH(QVariant, innerTens);
        QFETCH(QStringList, cleaned);
        QFETCH(double, serie);
        QFETCH(QString, key);
        MapRow row = rowOf(rings, innerTens);
        const std::vector<ScoreComputation::CleanedShot> reported = ScoreComputation::computeRow(row);
        // A typed text that became 0 is reported with what was typed; an empty
        // cell becoming 0 and a mark becoming 10 are no typing errors. Only a
        // shot whose text changes is written, as a whole number; the results
        // are written every time, and nothing else.
        QStringList expectedReports, reports, writes;
        for (int shot = 1; shot <= ScoreComputation::ShotCount; ++shot) {
            const QString column = ScoreComputation::ringColumn(shot);
            const QString typed = Numbers::cellText(rings.at(shot - 1));
            if (cleaned.at(shot - 1) == QLatin1String("0") && !typed.trimmed().isEmpty() && typed != cleaned.at(shot - 1))
                expectedReports << column + '=' + typed;
            if (typed != cleaned.at(shot - 1)) {
                writes << column;
                QCOMPARE(row.cell(column).typeId(), int(QMetaType::Int));
            }
            QCOMPARE(Numbers::cellText(row.cell(column)), cleaned.at(shot - 1));
        }
        for (const ScoreComputation::CleanedShot &shot : reported)
            reports << shot.column + '=' + shot.typed;
        QCOMPARE(reports, expectedReports);
        QCOMPARE(row.writes(), writes << Serie << SortKey);
        QCOMPARE(row.cell(Serie).typeId(), int(QMetaType::Double));
        QCOMPARE(row.cell(Serie).toDouble(), serie);
        QCOMPARE(row.cell(SortKey).toString(), key);
    }

    // Keys sort as the results they stand for: by the total, fractions
    // included, then the inner tens, then the tens, nines and so on; one
    // result typed in two ways gives one key. Each shooter here has a lower
    // result than the one before, or the same one ("tie").
    void keysSortAsResults()
    {
        const QStringList tens(10, QStringLiteral("10"));
        const struct { QStringList rings; const char *innerTens; bool tie; } falling[] = {
            {QStringList(10, "10,9"), "0", false},
            {tens.mid(1) << "10,5", "0", false},
            {tens, "3", false},
            {tens, "2", false},
            {QStringList{"*", "+"} + tens.mid(2), "2", true},
            {tens.mid(1) << "9,5", "0", false},
            {tens.mid(1) << "9", "9", false},
            {tens.mid(2) << "9,5" << "9,5", "9", false},
            {QStringList(10, QString()), "", false},
        };
        QString previous;
        for (const auto &shooter : falling) {
            MapRow row = rowOf(typedCells(shooter.rings), shooter.innerTens);
            ScoreComputation::computeRow(row);
            const QString key = row.cell(SortKey).toString();
            QVERIFY2(previous.isNull() || (shooter.tie ? key == previous : key < previous),
                     qPrintable(key + " after " + previous));
            previous = key;
        }
    }

    // Places from the keys in set order; rows without a result (no key, an
    // empty one or all zeros) get no place (0) and take none from the others.
    // Keys compare exactly, character by character, each with the one before it only.
    void places_data()
    {
        const QString a = key("000089", "02", {3, 4, 2, 1});
        const QString b = key("000089", "02", {2, 5, 3});
        const QString zeros(28, '0');
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QList<int>>("places");
        QTest::newRow("two tie groups") << QStringList{a, a, b, b, key("000046", "00", {2})} << QList<int>{1, 1, 3, 3, 5};
        QTest::newRow("Null, empty text and all zeros are no result") << QStringList{a, a, QString(), "", zeros}
                                                                      << QList<int>{1, 1, 0, 0, 0};
        QTest::newRow("inner tens alone are a result") << QStringList{"000000" "01" + QString(20, '0'), zeros}
                                                       << QList<int>{1, 0};
        QTest::newRow("trailing blank is a different key") << QStringList{a + ' ', a} << QList<int>{1, 2};
        QTest::newRow("equal keys apart are not tied") << QStringList{a, b, a} << QList<int>{1, 2, 3};
    }

    void places()
    {
        QFETCH(QStringList, keys);
        QFETCH(QList<int>, places);
        const std::vector<int> result = RankAssignment::places(keys);
        QCOMPARE(QList<int>(result.begin(), result.end()), places);
    }
};

QTEST_GUILESS_MAIN(TestScoreComputation)
#include "tst_scorecomputation.moc"
