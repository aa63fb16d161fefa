#include "settings/FontEntry.h"

#include "store/Numbers.h"

#include <cmath>

namespace FontEntryFormat {

QString sizeText(double size)
{
    QString text = Numbers::locale().toString(size, 'f', 4);
    const QChar comma = Numbers::locale().decimalPoint().front();
    while (text.endsWith(QLatin1Char('0')) && text.contains(comma))
        text.chop(1);
    if (text.endsWith(comma))
        text.chop(1);
    // A size that rounds to nothing would otherwise come out as "-0".
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString flagText(bool on)
{
    return on ? QStringLiteral("-1") : QStringLiteral("0");
}

} // namespace FontEntryFormat

QString FontEntry::toText() const
{
    using namespace FontEntryFormat;
    const QChar semicolon = QLatin1Char(';');
    return face + semicolon + sizeText(size) + semicolon + flagText(bold) + semicolon + flagText(italic) + semicolon
           + flagText(underline) + semicolon + flagText(strikeOut);
}

bool FontEntry::operator==(const FontEntry &other) const
{
    return face == other.face && size == other.size && bold == other.bold && italic == other.italic
           && underline == other.underline && strikeOut == other.strikeOut;
}
