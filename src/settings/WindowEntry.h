#pragma once

#include "settings/ColumnState.h"
#include "settings/WindowGeometry.h"

#include <QString>
#include <optional>
#include <vector>

// The window entry (section "Positionen", key = form name + "-" + tag text):
// left, top, width and height of a window, then the width of every column of
// one of its grids, every field followed by ";":
// "1200;900;9000;6000;600;2400;1500;".
namespace WindowEntry {

// What to do with the window, in the order left, top, width, height, then the
// widths of columns 0, 1, ...; an empty optional leaves that value alone.
struct Reading
{
    bool centre = false; // nothing stored: centre the window on the screen
    std::optional<double> left;
    std::optional<double> top;
    std::optional<double> width;
    std::optional<double> height;
    std::vector<double> columnWidths;
};

// Pass no columns for a window without a grid.
QString toText(const WindowGeometry &window, const std::vector<ColumnState> &columns);

// columnCount 0 for a window without a grid. Never throws: a text the program
// did not write is read as far as it goes.
Reading fromText(const QString &text, int columnCount);

} // namespace WindowEntry
