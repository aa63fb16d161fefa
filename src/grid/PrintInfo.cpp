#include "grid/PrintInfo.h"

#include <algorithm>

namespace {

// The grids' designed print font, as on the screen's headings.
QFont designedPrintFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    return font;
}

} // namespace

PrintInfo::PrintInfo()
    : pageHeaderFont(designedPrintFont())
    , pageFooterFont(designedPrintFont())
{
}

QPageLayout::Orientation PrintInfo::pageOrientation() const
{
    return orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QMarginsF PrintInfo::marginsInTwips() const
{
    return QMarginsF(std::max(0.0, marginLeft), std::max(0.0, marginTop), std::max(0.0, marginRight),
                     std::max(0.0, marginBottom));
}
