#include "TitleLineFont.h"

QFont titleLineFont()
{
    // The stored entry is read by the font-entry reader once it is in place;
    // until then the title prints in a new font's defaults, as with nothing stored.
    return QFont();
}
