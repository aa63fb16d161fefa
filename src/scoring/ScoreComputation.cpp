#include "scoring/ScoreComputation.h"

#include "scoring/RowAccess.h"
#include "scoring/TieRule.h"
#include "store/Numbers.h"
#include "store/tempModule.h"

#include <cmath>

namespace {

const QString SerieColumn = QStringLiteral("Serie");
const QString InnerTensColumn = QStringLiteral("Innenzehner");
const QString SortKeyColumn = QStringLiteral("Sortierung");

// Decimal scoring ends at 10,9; a typed 11 or 10,95 is a typing error.
constexpr double HighestShot = 10.9;
constexpr int HighestCountedValue = 11;

// Explicit, so that a changed floating-point rounding mode cannot move a
// shot into another count: 9.5 gives 10, 8.5 gives 8.
double roundHalfEven(double value)
{
    const double below = std::floor(value);
    const double rest = value - below;
    if (rest > 0.5)
        return below + 1.0;
    if (rest < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

} // namespace

ScoreComputation::ScoreComputation(RowAccess &row, TieRule rule)
    : m_row(row)
    , m_rule(rule)
{
}

bool ScoreComputation::isCleanShot(const QVariant &value)
{
    const int type = value.typeId();
    if (type != QMetaType::Double && type != QMetaType::Int && type != QMetaType::LongLong)
        return false;
    const double shot = value.toDouble();
    return shot >= 0.0 && shot <= HighestShot;
}

QString ScoreComputation::ringColumn(int shot)
{
    return QStringLiteral("Ring") + QString::number(shot);
}

std::vector<ScoreComputation::CleanedShot> ScoreComputation::computeRow(RowAccess &row, TieRule rule)
{
    ScoreComputation run(row, rule);
    std::vector<CleanedShot> cleaned;
    for (int shot = 1; shot <= ShotCount; ++shot)
        run.takeShot(ringColumn(shot), cleaned);
    run.writeResult();
    return cleaned;
}

QString ScoreComputation::cellText(const QString &column) const
{
    return Numbers::cellText(m_row.cell(column));
}

// Each step reads the cell again, so it sees what the step before it wrote.
void ScoreComputation::takeShot(const QString &column, std::vector<CleanedShot> &cleaned)
{
    const QString typed = cellText(column);
    replaceMark(column);
    replaceNonNumeric(column);
    replaceOutOfRange(column);
    countShot(column);
    const QString kept = cellText(column);
    m_total += ParseDecimal(kept);
    // Every rewrite other than the marks' ten sets 0.
    if (kept != typed && kept == QLatin1String("0") && !typed.trimmed().isEmpty())
        cleaned.push_back({column, typed});
}

// Shooters mark a ten on the paper target with "*" or "+" and type it so.
void ScoreComputation::replaceMark(const QString &column)
{
    const QString text = cellText(column);
    if (text == QLatin1String("*") || text == QLatin1String("+"))
        m_row.setCell(column, 10);
}

void ScoreComputation::replaceNonNumeric(const QString &column)
{
    if (!Numbers::isNumeric(m_row.cell(column)))
        m_row.setCell(column, 0);
}

// A negative entry is no shot either; letting it through would lower the
// total below what was shot.
void ScoreComputation::replaceOutOfRange(const QString &column)
{
    const double value = ParseDecimal(cellText(column));
    if (value > HighestShot || value < 0.0)
        m_row.setCell(column, 0);
}

// The count goes by the text before the decimal comma, so 10,9 is a ten and
// 9,5 a nine. Forms like "12,5e-1" pass the checks above but have no counter;
// they are treated like any other unusable entry.
double ScoreComputation::countedValue(const QString &cellText)
{
    return roundHalfEven(Numbers::leadingNumber(cellText));
}

void ScoreComputation::countShot(const QString &column)
{
    const double value = countedValue(cellText(column));
    if (!(value >= 0.0 && value <= HighestCountedValue)) {
        m_row.setCell(column, 0);
        ++m_counts[0];
        return;
    }
    ++m_counts[static_cast<std::size_t>(value)];
}

void ScoreComputation::writeResult()
{
    m_row.setCell(SerieColumn, m_total);
    std::array<int, 11> counts{};
    for (int value = 1; value <= 10; ++value)
        counts[size_t(value)] = m_counts[size_t(value)];
    m_row.setCell(SortKeyColumn,
                  TieRules::sortKey(m_rule, cellText(SerieColumn), cellText(InnerTensColumn), counts));
}
