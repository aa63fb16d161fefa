#include "settings/FontEntryReader.h"

#include "store/Numbers.h"
#include "store/RingtalError.h"

#include <cmath>

namespace {

// The font keeps its size as a fixed-point number with four decimals; a font
// of no size, or of one that no screen or page holds, cannot be shown.
constexpr double sizeScale = 10000.0;
constexpr double smallestSize = 1.0 / sizeScale;
constexpr double largestSize = 2048.0;

// How a stored field becomes a value of the font; a field the font cannot
// take throws.
double sizeValue(const QString &field)
{
    const std::optional<double> number = Numbers::parseLocale(field);
    if (!number)
        throw RingtalError(ErrorNumber::TypeMismatch,
                           QStringLiteral("Die Schriftgröße \"%1\" ist keine Zahl.").arg(field));
    const double size = std::fabs(*number) <= largestSize ? std::nearbyint(*number * sizeScale) / sizeScale : *number;
    if (!(size > 0.0 && size <= largestSize))
        throw RingtalError(ErrorNumber::InvalidPropertyValue,
                           QStringLiteral("Die Schriftgröße \"%1\" ist zu %2: Sie muss mindestens %3 und höchstens %4 "
                                          "Punkt betragen.")
                                   .arg(field, size > largestSize ? QStringLiteral("groß") : QStringLiteral("klein"),
                                        Numbers::numberText(smallestSize), Numbers::numberText(largestSize)));
    return size;
}

bool flagValue(const QString &field, const QString &flagName)
{
    const std::optional<double> number = Numbers::parseLocale(field);
    if (!number)
        throw RingtalError(ErrorNumber::TypeMismatch,
                           QStringLiteral("\"%1\" ist kein Wahrheitswert für %2.").arg(field, flagName));
    return *number != 0.0;
}

} // namespace

FontEntryReader::FontEntryReader(QString text, FontEntry &target)
    : m_rest(std::move(text))
    , m_target(target)
{
}

std::vector<FontEntryReader::Step> FontEntryReader::steps()
{
    if (m_rest.isEmpty())
        return {};
    std::vector<Step> list;
    const auto addField = [&](const std::function<void(const QString &)> &assign, const QString &fieldName) {
        list.push_back(findSeparator());
        list.push_back(cutField(assign, fieldName));
        list.push_back(dropField());
    };
    addField([this](const QString &field) { m_target.face = field; }, QStringLiteral("Schriftname"));
    addField([this](const QString &field) { m_target.size = sizeValue(field); }, QStringLiteral("Schriftgröße"));
    addField([this](const QString &field) { m_target.bold = flagValue(field, QStringLiteral("Fett")); },
             QStringLiteral("Fett"));
    addField([this](const QString &field) { m_target.italic = flagValue(field, QStringLiteral("Kursiv")); },
             QStringLiteral("Kursiv"));
    addField([this](const QString &field) { m_target.underline = flagValue(field, QStringLiteral("Unterstrichen")); },
             QStringLiteral("Unterstrichen"));
    // The last field has no ";" after it: it is the whole text that is left.
    list.push_back(assignFlag(&FontEntry::strikeOut, QStringLiteral("Durchgestrichen")));
    return list;
}

FontEntryReader::Step FontEntryReader::findSeparator()
{
    return [this] { m_separator = int(m_rest.indexOf(QLatin1Char(';'))); };
}

FontEntryReader::Step FontEntryReader::cutField(const std::function<void(const QString &)> &assign,
                                                const QString &fieldName)
{
    return [this, assign, fieldName] {
        if (m_separator < 0)
            throw RingtalError(
                    ErrorNumber::InvalidProcedureCall,
                    QStringLiteral("Im Schriftart-Eintrag fehlt das \";\" nach dem Feld %1.").arg(fieldName));
        assign(m_rest.left(m_separator));
    };
}

FontEntryReader::Step FontEntryReader::dropField()
{
    // Without a ";" the whole text stays for the next field, as a cut from
    // the first character on gives it.
    return [this] { m_rest = m_rest.mid(m_separator + 1); };
}

FontEntryReader::Step FontEntryReader::assignFlag(bool FontEntry::*flag, const QString &flagName)
{
    return [this, flag, flagName] { m_target.*flag = flagValue(m_rest, flagName); };
}
