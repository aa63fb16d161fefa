#pragma once

#include <QString>

class DataGrid;
class QWidget;

// Window positions, column widths and grid layouts in the settings store.
// Lengths are stored in twips and converted with the screen's logical DPI,
// so a stored entry means the same size on the next start.

// "Positionen" / object name + "-": position and client size of the window,
// then the column widths of the grid when one is given.
void SaveFormPosition(QWidget *window, DataGrid *grid);
// Nothing stored centres the window. A stored place is applied as far as it
// fits the screens (WindowPlacement): a size larger than its screen becomes
// the screen's, a window mostly beyond every screen (a monitor removed since)
// is centred on the primary one.
void LoadFormPosition(QWidget *window, DataGrid *grid);

// "Positionen" / name: the column widths of a grid.
void SaveColumnWidths(const QString &name, DataGrid *grid);
void LoadColumnWidths(const QString &name, DataGrid *grid);

// "Allgemein" / "Grid-Layout-" + name: display order, widths, hidden columns.
void SaveGridLayout(const QString &name, DataGrid *grid);
void LoadGridLayout(const QString &name, DataGrid *grid);
