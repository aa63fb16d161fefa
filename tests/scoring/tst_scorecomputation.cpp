#include "scoring/RankAssignment.h"
#include "scoring/ScoreComputation.h"
#include "store/Numbers.h"
#include "support/MapRow.h"

#include <QRandomGenerator>
#include <QtTest>

#include <array>
#include <vector>

namespace {

const QString Serie = QStringLiteral("Serie");
const QString InnerTens = QStringLiteral("Innenzehner");
const QString SortKey = QStringLiteral("Sortierung");
// Nine tens and nothing else: the key every row of tensWith() has when its
// entry counts as 0.
const QString Ninety = "000090" "00" "09" "00" "00" "00" "00" "00" "00" "00" "00" "00";

QStringList repeat(const QString &text, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(text);
    return list;
}

// Nine tens and the entry under test at the given shot (1 ... 10).
QStringList tensWith(int shot, const QString &entry)
{
    QStringList list = repeat(QStringLiteral("10"), ScoreComputation::ShotCount);
    list[shot - 1] = entry;
    return list;
}

// As typed into the grid; a null text stands for a cell never touched (Null).
QVariant typed(const QString &text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

QVariantList typedCells(const QStringList &texts)
{
    QVariantList cells;
    for (const QString &text : texts)
        cells.append(typed(text));
    return cells;
}

MapRow rowOf(const QVariantList &rings, const QVariant &innerTens)
{
    QHash<QString, QVariant> cells;
    for (int shot = 1; shot <= rings.size(); ++shot) {
        if (rings[shot - 1].isValid())
            cells.insert(ScoreComputation::ringColumn(shot), rings[shot - 1]);
    }
    if (innerTens.isValid())
        cells.insert(InnerTens, innerTens);
    return MapRow(cells);
}

QStringList ringTexts(const MapRow &row)
{
    QStringList texts;
    for (int shot = 1; shot <= ScoreComputation::ShotCount; ++shot)
        texts.append(Numbers::cellText(row.cell(ScoreComputation::ringColumn(shot))));
    return texts;
}

QString computedKey(const QStringList &rings, const QString &innerTens)
{
    MapRow row = rowOf(typedCells(rings), typed(innerTens));
    ScoreComputation::computeRow(row);
    return row.cell(SortKey).toString();
}

void addRow(const char *name, const QStringList &rings, const QString &innerTens, const QStringList &cleaned,
            double serie, const QString &key)
{
    QTest::newRow(name) << typedCells(rings) << typed(innerTens) << cleaned << serie << key;
}

// An entry at one shot among nine tens that the computation leaves as typed.
void addKeptEntry(const char *name, int shot, const QString &entry, double serie, const QString &key)
{
    addRow(name, tensWith(shot, entry), QString(), tensWith(shot, entry), serie, key);
}

// An entry at one shot among nine tens that the computation turns into 0.
void addZeroedEntry(const char *name, int shot, const QString &entry)
{
    addRow(name, tensWith(shot, entry), QString(), tensWith(shot, QStringLiteral("0")), 90, Ninety);
}

// The ring values of one generated shooter, in tenths, and what they are typed as.
struct GeneratedShooter
{
    QStringList rings;
    QString innerTens;
    // Total in tenths, inner tens, then the counts of tens, nines, ... ones.
    std::array<int, 12> result{};
};

enum class Shots { Whole, Tenths, FewValues };

QString typedShot(QRandomGenerator &random, int tenths)
{
    if (tenths == 100 && random.bounded(3) == 0)
        return random.bounded(2) == 0 ? QStringLiteral("*") : QStringLiteral("+");
    if (tenths == 0 && random.bounded(3) == 0)
        return QString();
    QString text = QString::number(tenths / 10);
    if (tenths % 10 != 0)
        text += QLatin1Char(',') + QString::number(tenths % 10);
    return text;
}

int randomTenths(QRandomGenerator &random, Shots shots)
{
    switch (shots) {
    case Shots::Whole:
        return 10 * random.bounded(11);
    case Shots::Tenths:
        return random.bounded(110);
    case Shots::FewValues:
        return 10 * (9 + random.bounded(2));
    }
    return 0;
}

GeneratedShooter generateShooter(QRandomGenerator &random, Shots shots)
{
    GeneratedShooter shooter;
    for (int shot = 0; shot < ScoreComputation::ShotCount; ++shot) {
        const int tenths = randomTenths(random, shots);
        shooter.rings.append(typedShot(random, tenths));
        shooter.result[0] += tenths;
        // A shot counts under its whole part: 10,9 is a ten, 9,5 a nine.
        const int whole = tenths / 10;
        if (whole >= 1)
            ++shooter.result[static_cast<std::size_t>(2 + 10 - whole)];
    }
    const int innerTens = shots == Shots::FewValues ? random.bounded(2) : random.bounded(11);
    shooter.result[1] = innerTens;
    shooter.innerTens = QString::number(innerTens);
    return shooter;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

Q_DECLARE_METATYPE(Shots)

class TestScoreComputation : public QObject
{
    Q_OBJECT

private slots:
    void computeRow_data();
    void computeRow();
    void keyOrderMatchesResultOrder_data();
    void keyOrderMatchesResultOrder();
    void places_data();
    void places();
};

void TestScoreComputation::computeRow_data()
{
    QTest::addColumn<QVariantList>("rings");
    QTest::addColumn<QVariant>("innerTens");
    QTest::addColumn<QStringList>("cleaned");
    QTest::addColumn<double>("serie");
    QTest::addColumn<QString>("key");
    const QString n; // Null cell

    // The worked example.
    const QStringList b{"10", "10", "9", "9", "9", "8", "8", "9", "8", "9"};
    const QStringList c{"10", "10", "10", "9", "9", "7", "8", "9", "8", "9"};
    addRow("A: star, three tens", {"10", "9", "9", "8", "*", "7", "9", "10", "8", "9"}, "2",
           {"10", "9", "9", "8", "10", "7", "9", "10", "8", "9"},
           89, "000089" "02" "03" "04" "02" "01" "00" "00" "00" "00" "00" "00");
    addRow("B: two tens, five nines", b, "2", b, 89, "000089" "02" "02" "05" "03" "00" "00" "00" "00" "00" "00" "00");
    addRow("C: fewer inner tens", c, "1", c, 89, "000089" "01" "03" "04" "02" "01" "00" "00" "00" "00" "00" "00");
    addRow("D: plus, five Null cells, no inner tens", {"9", "9", "8", "+", "10", n, n, n, n, n}, n,
           {"9", "9", "8", "10", "10", "0", "0", "0", "0", "0"},
           46, "000046" "00" "02" "02" "01" "00" "00" "00" "00" "00" "00" "00");
    addRow("D: five empty texts, empty inner tens", {"9", "9", "8", "+", "10", "", "", "", "", ""}, "",
           {"9", "9", "8", "10", "10", "0", "0", "0", "0", "0"},
           46, "000046" "00" "02" "02" "01" "00" "00" "00" "00" "00" "00" "00");
    addRow("ten tens", repeat("10", 10), n, repeat("10", 10),
           100, "000100" "00" "10" "00" "00" "00" "00" "00" "00" "00" "00" "00");
    addRow("empty row", repeat(n, 10), n, repeat("0", 10),
           0, "000000" "00" "00" "00" "00" "00" "00" "00" "00" "00" "00" "00");
    addRow("ten ones fill the last count", repeat("1", 10), "0", repeat("1", 10),
           10, "000010" "00" "00" "00" "00" "00" "00" "00" "00" "00" "00" "10");

    // Marks for a ten: only "*" or "+" alone.
    addRow("star in the last shot", repeat("9", 9) + QStringList{"*"}, n, repeat("9", 9) + QStringList{"10"},
           91, "000091" "00" "01" "09" "00" "00" "00" "00" "00" "00" "00" "00");
    addZeroedEntry("blank before star", 1, " *");
    addZeroedEntry("star with a digit", 10, "*9");

    // Entries that are no ring value count as 0.
    addZeroedEntry("eleven", 1, "11");
    addZeroedEntry("10,95 above 10,9", 2, "10,95");
    addZeroedEntry("9.5 reads as 95", 3, "9.5");
    addZeroedEntry("letter", 4, "x");
    addZeroedEntry("minus three", 6, "-3");
    addZeroedEntry("blank", 5, " ");

    // Entries that stay; a shot counts under its whole part.
    addKeptEntry("10,9 stays and counts as ten", 1, "10,9",
                 100.9, "000100:9000" "00" "10" "00" "00" "00" "00" "00" "00" "00" "00" "00");
    addKeptEntry("9,5 counts as nine", 2, "9,5",
                 99.5, "000099:5000" "00" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00");
    addKeptEntry("blanks around a number", 4, " 9 ",
                 99, "000099" "00" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00");
    // An exponent form is counted by its rounded value, halves to even.
    addKeptEntry("8,5 as exponent counts as even eight", 8, "85e-1",
                 98.5, "000098:5000" "00" "09" "00" "01" "00" "00" "00" "00" "00" "00" "00");
    addKeptEntry("8,7 as exponent counts as nine", 5, "87e-1",
                 98.7, "000098:7000" "00" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00");
    addKeptEntry("count of eleven stays out of the key", 10, "11,0e-1",
                 91.1, "000091:1000" "00" "09" "00" "00" "00" "00" "00" "00" "00" "00" "00");

    // Numbers stored in the table, not typed.
    QVariantList doubles;
    for (int shot = 0; shot < 8; ++shot)
        doubles.append(10.0);
    doubles << 9.5 << 10.9;
    QTest::newRow("doubles from the table") << doubles << QVariant(2) << repeat("10", 8) + QStringList{"9,5", "10,9"}
        << 100.4 << QString("000100:4000" "02" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00");
    QVariantList eleven{11.0};
    for (int shot = 1; shot < 10; ++shot)
        eleven.append(9.0);
    QTest::newRow("stored eleven") << eleven << QVariant() << QStringList{"0"} + repeat("9", 9)
        << 81.0 << QString("000081" "00" "00" "09" "00" "00" "00" "00" "00" "00" "00" "00");

    // Fractional totals: whole part in six digits, ":" and four decimals.
    const QStringList mixed{"10,9", "10,9", "10,9", "10,9", "9,9", "9,9", "9,9", "9,9", "9,9", "5,6"};
    addRow("98,7 from a sum with rounding error", mixed, "2", mixed,
           98.7, "000098:7000" "02" "04" "05" "00" "00" "00" "01" "00" "00" "00" "00");
    addKeptEntry("rounded to four decimals", 1, "9,12346",
                 99.12346, "000099:1235" "00" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00");
    addKeptEntry("fraction below one hundredth", 2, "9,0001",
                 99.0001, "000099:0001" "00" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00");
    addKeptEntry("fraction rounding away is whole", 3, "8,99999",
                 98.99999, "000099" "00" "09" "00" "01" "00" "00" "00" "00" "00" "00" "00");
    addRow("total below one", QStringList{"0,5"} + repeat(n, 9), n, QStringList{"0,5"} + repeat("0", 9),
           0.5, "000000:5000" "00" "00" "00" "00" "00" "00" "00" "00" "00" "00" "00");
    // The two characters after the total hold the inner tens: the last two
    // characters of the number text as it stands; fractions and signs sort below "00".
    const struct { const char *name; QVariant innerTens; const char *field; } innerTensRows[] = {
        {"inner tens 123 keep the last two digits", QVariant("123"), "23"},
        {"inner tens stored as a number", QVariant(3), "03"},
        {"inner tens of letters", QVariant("ab"), "00"},
        {"inner tens with a dot dropped", QVariant("2.5"), "25"},
        {"inner tens with a comma fraction", QVariant("2,5"), ",5"},
        {"negative inner tens", QVariant("-1"), "-1"},
    };
    for (const auto &row : innerTensRows)
        QTest::newRow(row.name) << typedCells(repeat("9", 10)) << row.innerTens << repeat("9", 10) << 90.0
                                << QString("000090" + QString(row.field) + "00" "10" "00" "00" "00" "00" "00" "00" "00" "00");
}

void TestScoreComputation::computeRow()
{
    QFETCH(QVariantList, rings);
    QFETCH(QVariant, innerTens);
    QFETCH(QStringList, cleaned);
    QFETCH(double, serie);
    QFETCH(QString, key);

    MapRow row = rowOf(rings, innerTens);
    const std::vector<ScoreComputation::CleanedShot> reported = ScoreComputation::computeRow(row);

    QCOMPARE(ringTexts(row), cleaned);
    // A typed text that became 0 is reported with what was typed; an empty
    // cell becoming 0 and a mark becoming 10 are no typing errors.
    QStringList expectedReports;
    for (int shot = 1; shot <= ScoreComputation::ShotCount; ++shot) {
        const QString typed = Numbers::cellText(rings.at(shot - 1));
        if (cleaned.at(shot - 1) == QLatin1String("0") && !typed.trimmed().isEmpty() && typed != cleaned.at(shot - 1))
            expectedReports << ScoreComputation::ringColumn(shot) + '=' + typed;
    }
    QStringList reports;
    for (const ScoreComputation::CleanedShot &shot : reported)
        reports << shot.column + '=' + shot.typed;
    QCOMPARE(reports, expectedReports);
    // Only a shot whose text changes is written, as a whole number; the
    // results are written every time, and nothing else.
    QStringList writes;
    for (int shot = 1; shot <= ScoreComputation::ShotCount; ++shot) {
        const QString column = ScoreComputation::ringColumn(shot);
        if (Numbers::cellText(rings.at(shot - 1)) != cleaned.at(shot - 1)) {
            writes << column;
            QCOMPARE(row.cell(column).typeId(), int(QMetaType::Int));
        }
        QVERIFY(Numbers::isNumeric(row.cell(column)));
    }
    QCOMPARE(row.writes(), writes << Serie << SortKey);
    QCOMPARE(row.cell(Serie).typeId(), int(QMetaType::Double));
    QCOMPARE(row.cell(Serie).toDouble(), serie);
    QCOMPARE(row.cell(SortKey).toString(), key);
    QCOMPARE(row.cell(InnerTens), innerTens);

    // A second run finds nothing to clean and computes the same results.
    const QHash<QString, QVariant> afterFirst = row.cells();
    row.clearWrites();
    QVERIFY(ScoreComputation::computeRow(row).empty());
    QCOMPARE(row.cells(), afterFirst);
    QCOMPARE(row.writes(), (QStringList{Serie, SortKey}));
}

void TestScoreComputation::keyOrderMatchesResultOrder_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("shooters");
    QTest::addColumn<Shots>("shots");
    QTest::newRow("whole shots, seed 1") << 1u << 400 << Shots::Whole;
    QTest::newRow("tenths, seed 7") << 7u << 400 << Shots::Tenths;
    QTest::newRow("nines and tens only, many ties, seed 5") << 5u << 300 << Shots::FewValues;
}

void TestScoreComputation::keyOrderMatchesResultOrder()
{
    QFETCH(quint32, seed);
    QFETCH(int, shooters);
    QFETCH(Shots, shots);
    QRandomGenerator random(seed);
    std::vector<GeneratedShooter> field;
    QStringList keys;
    for (int i = 0; i < shooters; ++i) {
        field.push_back(generateShooter(random, shots));
        keys.append(computedKey(field.back().rings, field.back().innerTens));
        const int expectedLength = field.back().result[0] % 10 == 0 ? 28 : 33;
        QCOMPARE(keys.back().size(), expectedLength);
    }
    // Sorting by key equals sorting by result exactly when every pair
    // compares the same way under both, ties included.
    int ties = 0;
    for (int i = 0; i < shooters; ++i) {
        for (int j = i + 1; j < shooters; ++j) {
            const int byKey = sign(QString::compare(keys[i], keys[j]));
            const std::array<int, 12> &a = field[i].result, &b = field[j].result;
            const int byResult = a < b ? -1 : (b < a ? 1 : 0);
            if (byKey != byResult)
                QFAIL(qPrintable(field[i].rings.join('|') + " / " + field[j].rings.join('|')
                                 + ": " + keys[i] + " vs " + keys[j]));
            ties += byResult == 0;
        }
    }
    if (shots == Shots::FewValues)
        QVERIFY(ties > 0);
}

// Places from the keys in set order (worked example A to D).
void TestScoreComputation::places_data()
{
    const QString a = "000089" "02" "03" "04" "02" "01" "00" "00" "00" "00" "00" "00";
    const QString b = "000089" "02" "02" "05" "03" "00" "00" "00" "00" "00" "00" "00";
    const QString c = "000089" "01" "03" "04" "02" "01" "00" "00" "00" "00" "00" "00";
    const QString d = "000046" "00" "02" "02" "01" "00" "00" "00" "00" "00" "00" "00";
    const QString hundred = "000100" "00" "10" "00" "00" "00" "00" "00" "00" "00" "00" "00";
    const QString ninetyNineFive = "000099:5000" "00" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00";
    const QString ninetyNine = "000099" "03" "09" "01" "00" "00" "00" "00" "00" "00" "00" "00";
    const QString none;
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QList<int>>("places");
    QTest::newRow("no rows") << QStringList{} << QList<int>{};
    QTest::newRow("worked example, all different") << QStringList{a, b, c, d} << QList<int>{1, 2, 3, 4};
    QTest::newRow("tie in the middle: 1, 2, 2, 4") << QStringList{a, b, b, d} << QList<int>{1, 2, 2, 4};
    QTest::newRow("tie at the start") << QStringList{a, a, a, d} << QList<int>{1, 1, 1, 4};
    QTest::newRow("two tie groups") << QStringList{a, a, b, b, d} << QList<int>{1, 1, 3, 3, 5};
    // Rows without a result get no place and take none from the others.
    const QString zeros(28, '0');
    QTest::newRow("two without key after two with") << QStringList{a, b, none, none} << QList<int>{1, 2, 0, 0};
    QTest::newRow("Null, empty text and all zeros are no result") << QStringList{a, a, none, "", zeros}
                                                                  << QList<int>{1, 1, 0, 0, 0};
    QTest::newRow("no shooter has a key") << QStringList{none, none, none} << QList<int>{0, 0, 0};
    QTest::newRow("inner tens alone are a result") << QStringList{"000000" "01" + QString(20, '0'), zeros}
                                                   << QList<int>{1, 0};
    // Keys compare exactly, character by character, each with the one before it only.
    QTest::newRow("fractional total between whole totals") << QStringList{hundred, ninetyNineFive, ninetyNine}
                                                           << QList<int>{1, 2, 3};
    QTest::newRow("trailing blank is a different key") << QStringList{a + ' ', a} << QList<int>{1, 2};
    QTest::newRow("equal keys apart are not tied") << QStringList{a, b, a} << QList<int>{1, 2, 3};
}

void TestScoreComputation::places()
{
    QFETCH(QStringList, keys);
    QFETCH(QList<int>, places);
    const std::vector<int> result = RankAssignment::places(keys);
    QCOMPARE(QList<int>(result.begin(), result.end()), places);
}

QTEST_GUILESS_MAIN(TestScoreComputation)
#include "tst_scorecomputation.moc"
