#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// A text colour as the settings store keeps it: one signed 32-bit number with
// red in the lowest byte, then green, then blue (0x00BBGGRR), written in
// decimal. Values with the highest bit set name system colours and come out
// negative.
namespace ColourValue {

struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const Rgb &other) const { return red == other.red && green == other.green && blue == other.blue; }
};

// Components outside 0..255 are clamped.
qint32 fromRgb(int red, int green, int blue);
// No value for a system colour or any other number above 0x00FFFFFF: the
// window then keeps the colour it has.
std::optional<Rgb> toRgb(qint32 value);

// "255" for pure red, "-2147483640" for a system colour.
QString toText(qint32 value);
// The text as a number in the German format, rounded to a whole number the
// way the classic conversion does (halves to even); no value for a text that
// is no number or lies outside the 32-bit range.
std::optional<qint32> fromText(const QString &text);

} // namespace ColourValue
