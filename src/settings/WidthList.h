#pragma once

#include "settings/ColumnState.h"

#include <QString>
#include <vector>

// The width list of a grid (section "Positionen", key = the grid's name):
// ";" and then every column width in collection order, each followed by ";":
// ";600;2400;1500;", or ";" alone for a grid without columns.
namespace WidthList {

QString toText(const std::vector<ColumnState> &columns);

// The widths to give columns 0, 1, ... in that order; columns beyond the
// list keep theirs. An empty text, or a grid without columns, gives none.
std::vector<double> fromText(const QString &text, int columnCount);

// The width loop shared with the window entry: fields "w;" one after the
// other, each read as a leading number after every "," became ".".
std::vector<double> readWidthFields(const QString &fields, int columnCount);

} // namespace WidthList
