#include "scoring/TieRule.h"

#include "scoring/RowAccess.h"
#include "scoring/ScoreComputation.h"
#include "store/Database.h"
#include "store/Numbers.h"
#include "store/Recordset.h"
#include "store/tempModule.h"

#include <QHash>

#include <cmath>

namespace {

const QString KeyColumn = QStringLiteral("Sortierung");
const QString RuleName = QStringLiteral("Wertung");

// Four decimals are finer than any target measures, and the fraction field of
// the key must have a fixed width to sort.
constexpr qint64 FractionScale = 10000;
constexpr int FractionDigits = 4;

QString lastChars(const QString &text, int count)
{
    return text.size() > count ? text.right(count) : text;
}

QString zeroFilled(const QString &text, int width)
{
    return lastChars(QString(width, QLatin1Char('0')) + text, width);
}

// Whole totals keep the plain six digits, so their keys stay comparable with
// those already stored in competition files. A fraction gets ":" and four
// digits after the whole part; ":" sorts above every digit, so 99,5 still
// ranks above 99 and below 100. A fraction that rounds away at four
// decimals is no fraction: 98,99999 is keyed as 99.
QString totalField(const QString &serieText)
{
    const double total = ParseDecimal(serieText);
    const bool fractional = serieText.contains(Numbers::locale().decimalPoint());
    // Ten shots stay far below the bound; it only keeps the scaling in range
    // should Serie ever read back as something unexpected.
    if (!fractional || !std::isfinite(total) || std::fabs(total) >= 1e12)
        return zeroFilled(serieText, 6);

    const qint64 scaled = std::llround(total * FractionScale);
    const qint64 whole = scaled / FractionScale;
    const qint64 fraction = scaled % FractionScale;
    const QString wholeField = zeroFilled(QString::number(whole), 6);
    if (fraction == 0)
        return wholeField;
    return wholeField + QLatin1Char(':')
        + QStringLiteral("%1").arg(fraction, FractionDigits, 10, QLatin1Char('0'));
}

// The total in whole tenths, six digits: one field for whole and fractional
// totals alike, so that equal tenth totals give equal keys.
QString tenthsField(const QString &serieText)
{
    const double total = ParseDecimal(serieText);
    const qint64 tenths = std::isfinite(total) && std::fabs(total) < 1e12 ? std::llround(total * 10) : 0;
    return zeroFilled(QString::number(qMax<qint64>(tenths, 0)), 6);
}

QString innerTensField(const QString &innerTensText)
{
    return zeroFilled(Numbers::numberText(ParseDecimal(innerTensText)), 2);
}

QString countFields(const std::array<int, 11> &counts)
{
    QString fields;
    for (int value = 10; value >= 1; --value)
        fields += zeroFilled(QString::number(counts[size_t(value)]), 2);
    return fields;
}

// A stored row as the score computation sees its cells; what it writes stays
// here, for only the key is taken back.
class StoredRow : public RowAccess
{
public:
    StoredRow(const Recordset &rows, int row)
        : m_rows(rows)
        , m_row(row)
    {
    }

    QVariant cell(const QString &column) const override
    {
        const auto written = m_written.constFind(column);
        if (written != m_written.constEnd())
            return *written;
        const int field = m_rows.fieldIndex(column);
        return field < 0 ? QVariant() : m_rows.storedValue(m_row, field);
    }

    void setCell(const QString &column, const QVariant &value) override { m_written.insert(column, value); }

private:
    const Recordset &m_rows;
    int m_row;
    QHash<QString, QVariant> m_written;
};

} // namespace

QString TieRules::title(TieRule rule)
{
    switch (rule) {
    case TieRule::CountsFirst:
        return QStringLiteral("DSB-Sportordnung: Ringe, Zehner, Neuner … Einer, Innenzehner");
    case TieRule::Tenths:
        return QStringLiteral("Zehntelwertung: Ringe in Zehnteln");
    case TieRule::InnerTensFirst:
        break;
    }
    return QStringLiteral("Ringe, Innenzehner, Zehner, Neuner … Einer");
}

QString TieRules::sortKey(TieRule rule, const QString &serieText, const QString &innerTensText,
                          const std::array<int, 11> &counts)
{
    switch (rule) {
    case TieRule::CountsFirst:
        return totalField(serieText) + countFields(counts) + innerTensField(innerTensText);
    case TieRule::Tenths:
        return tenthsField(serieText);
    case TieRule::InnerTensFirst:
        break;
    }
    return totalField(serieText) + innerTensField(innerTensText) + countFields(counts);
}

std::vector<double> TieRules::orderOf(TieRule rule, double total, int innerTens, const std::array<int, 11> &counts)
{
    if (rule == TieRule::Tenths)
        return {double(std::llround(total * 10))};
    std::vector<double> order{total};
    if (rule == TieRule::InnerTensFirst)
        order.push_back(innerTens);
    for (int value = 10; value >= 1; --value)
        order.push_back(counts[size_t(value)]);
    if (rule == TieRule::CountsFirst)
        order.push_back(innerTens);
    return order;
}

TieRule TieRules::stored(Database &database)
{
    return chosen(database).value_or(TieRule::InnerTensFirst);
}

std::optional<TieRule> TieRules::chosen(Database &database)
{
    if (database.declaredTypes(QStringLiteral("Einstellungen")).isEmpty())
        return std::nullopt;
    const QVariant value =
        database.scalar(QStringLiteral("SELECT Wert FROM Einstellungen WHERE Name = ?"), {RuleName});
    bool ok = false;
    const int code = value.toString().trimmed().toInt(&ok);
    for (const TieRule rule : All) {
        if (ok && int(rule) == code)
            return rule;
    }
    return std::nullopt;
}

namespace {

// The key of a stored row whose shots are all clean, built from its stored
// total, inner tens and shots without cleaning them again; none when a shot
// is not clean (another program wrote it), which the score computation
// cleans as if typed.
std::optional<QString> keyOfCleanRow(const Recordset &rows, int row, const std::array<int, 12> &fields, TieRule rule)
{
    std::array<int, 11> counts{};
    for (int shot = 1; shot <= ScoreComputation::ShotCount; ++shot) {
        const QVariant value = fields[size_t(shot)] < 0 ? QVariant() : rows.storedValue(row, fields[size_t(shot)]);
        if (!ScoreComputation::isCleanShot(value))
            return std::nullopt;
        const double counted = ScoreComputation::countedValue(Numbers::cellText(value));
        if (counted >= 1 && counted <= 10)
            ++counts[size_t(counted)];
    }
    const auto text = [&](int field) { return field < 0 ? QString() : Numbers::cellText(rows.storedValue(row, field)); };
    return TieRules::sortKey(rule, text(fields[0]), text(fields[11]), counts);
}

} // namespace

void TieRules::change(Recordset &rows, TieRule rule)
{
    rows.typeCode(KeyColumn); // throws when the column is missing
    const int key = rows.fieldIndex(KeyColumn);
    // Serie, Ring1 ... Ring10, Innenzehner.
    std::array<int, 12> fields{};
    fields[0] = rows.fieldIndex(QStringLiteral("Serie"));
    for (int shot = 1; shot <= ScoreComputation::ShotCount; ++shot)
        fields[size_t(shot)] = rows.fieldIndex(ScoreComputation::ringColumn(shot));
    fields[11] = rows.fieldIndex(QStringLiteral("Innenzehner"));
    std::vector<QVariant> keys;
    keys.reserve(size_t(rows.rowCount()));
    for (int row = 0; row < rows.rowCount(); ++row) {
        const QVariant before = rows.storedValue(row, key);
        // A shooter who has not shot yet has no key under any rule.
        if (before.toString().isEmpty()) {
            keys.push_back(before);
            continue;
        }
        if (const std::optional<QString> clean = keyOfCleanRow(rows, row, fields, rule)) {
            keys.push_back(*clean);
            continue;
        }
        StoredRow cells(rows, row);
        ScoreComputation::computeRow(cells, rule);
        keys.push_back(cells.cell(KeyColumn));
    }
    allOrNothing(rows.database(), [&] {
        rows.database().execute(QStringLiteral("INSERT INTO Einstellungen (Name, Wert) VALUES (?, ?) ON CONFLICT (Name) DO UPDATE SET Wert = excluded.Wert"),
                                {RuleName, QString::number(int(rule))});
        rows.storeField(key, keys);
    });
}
