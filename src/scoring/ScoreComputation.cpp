#include "scoring/ScoreComputation.h"

#include "scoring/RowAccess.h"
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

// Four decimals are finer than any target measures, and the fraction field of
// the key must have a fixed width to sort.
constexpr qint64 FractionScale = 10000;
constexpr int FractionDigits = 4;

QString lastChars(const QString &text, int count)
{
    return text.size() > count ? text.right(count) : text;
}

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

// Whole totals keep the plain six digits, so their keys stay comparable with
// those already stored in competition files. A fraction that rounds away at
// four decimals is no fraction: 98,99999 is keyed as 99.
QString totalField(const QString &serieText)
{
    const double total = ParseDecimal(serieText);
    const bool fractional = serieText.contains(Numbers::locale().decimalPoint());
    // Ten shots stay far below the bound; it only keeps the scaling in range
    // should Serie ever read back as something unexpected.
    if (!fractional || !std::isfinite(total) || std::fabs(total) >= 1e12)
        return lastChars(QStringLiteral("000000") + serieText, 6);

    const qint64 scaled = std::llround(total * FractionScale);
    const qint64 whole = scaled / FractionScale;
    const qint64 fraction = scaled % FractionScale;
    const QString wholeField = lastChars(QStringLiteral("000000") + QString::number(whole), 6);
    if (fraction == 0)
        return wholeField;
    return wholeField + QLatin1Char(':')
        + QStringLiteral("%1").arg(fraction, FractionDigits, 10, QLatin1Char('0'));
}

QString innerTensField(const QString &innerTensText)
{
    const QString number = Numbers::numberText(ParseDecimal(innerTensText));
    return lastChars(QStringLiteral("00") + number, 2);
}

} // namespace

ScoreComputation::ScoreComputation(RowAccess &row)
    : m_row(row)
{
}

QString ScoreComputation::ringColumn(int shot)
{
    return QStringLiteral("Ring") + QString::number(shot);
}

std::vector<ScoreComputation::CleanedShot> ScoreComputation::computeRow(RowAccess &row)
{
    ScoreComputation run(row);
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
void ScoreComputation::countShot(const QString &column)
{
    const double value = roundHalfEven(Numbers::leadingNumber(cellText(column)));
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
    QString key = totalField(cellText(SerieColumn));
    key += innerTensField(cellText(InnerTensColumn));
    for (int value = 10; value >= 1; --value)
        key += lastChars(QStringLiteral("00") + QString::number(m_counts[static_cast<std::size_t>(value)]), 2);
    m_row.setCell(SortKeyColumn, key);
}
