#pragma once

#include "settings/ColumnState.h"

#include <vector>

class QWidget;

// Window positions in the settings store. Lengths are stored in twips and
// converted with the screen's logical DPI, so a stored entry means the same
// size on the next start.

// "Positionen" / object name + "-": position and client size of the window,
// then the column widths of the window's grid when columns are given.
void SaveFormPosition(QWidget *window, const std::vector<ColumnState> &columns = {});
// Nothing stored centres the window. A stored place is applied as far as it
// fits the screens (WindowPlacement): a size larger than its screen becomes
// the screen's, a window mostly beyond every screen (a monitor removed since)
// is centred on the primary one. Returns the stored widths of the first
// columnCount columns, for the grid's settings to apply.
std::vector<double> LoadFormPosition(QWidget *window, int columnCount = 0);
