#include "settings/ColourValue.h"

#include "store/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ColourValue {

qint32 fromRgb(int red, int green, int blue)
{
    const auto component = [](int value) { return qint32(std::clamp(value, 0, 255)); };
    return component(red) | component(green) << 8 | component(blue) << 16;
}

std::optional<Rgb> toRgb(qint32 value)
{
    if (value < 0 || value > 0xFFFFFF)
        return std::nullopt;
    return Rgb{value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF};
}

QString toText(qint32 value)
{
    return QString::number(value);
}

std::optional<qint32> fromText(const QString &text)
{
    const std::optional<double> number = Numbers::parseLocale(text);
    if (!number)
        return std::nullopt;
    const double whole = std::nearbyint(*number);
    if (whole < double(std::numeric_limits<qint32>::min()) || whole > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(whole);
}

} // namespace ColourValue
