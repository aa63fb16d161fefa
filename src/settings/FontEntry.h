#pragma once

#include <QString>

// A font as the settings store keeps it: face name, size in points and the
// four style flags. Plain data, so that the text format stays free of Qt Gui;
// the windows copy it to and from their QFont.
struct FontEntry
{
    QString face;
    double size = 0.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    // "Arial;10;-1;0;0;0": six fields, no ";" after the last one.
    QString toText() const;

    bool operator==(const FontEntry &other) const;
    bool operator!=(const FontEntry &other) const { return !(*this == other); }
};

namespace FontEntryFormat {

// The size as the font holds it: a fixed-point number with four decimals,
// written with decimal comma and no trailing zeros: 8.25 -> "8,25", 10 -> "10".
QString sizeText(double size);

// A style flag as stored: "-1" set, "0" not set.
QString flagText(bool on);

} // namespace FontEntryFormat
