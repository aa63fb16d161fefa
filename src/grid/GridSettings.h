#pragma once

#include "settings/ColumnState.h"

#include <QString>
#include <vector>

class DataGrid;

// The grid's column settings in the settings store, widths in twips.

// What the settings keep of each column: width, visibility, display position.
std::vector<ColumnState> columnStates(DataGrid &grid);
// Widths for the first columns; a negative width counts as 0.
void applyColumnWidths(DataGrid &grid, const std::vector<double> &widths);

// "Positionen" / name: the column widths of a grid.
void SaveColumnWidths(const QString &name, DataGrid &grid);
void LoadColumnWidths(const QString &name, DataGrid &grid);

// "Allgemein" / "Grid-Layout-" + name: display order, widths, hidden columns.
void SaveGridLayout(const QString &name, DataGrid &grid);
void LoadGridLayout(const QString &name, DataGrid &grid);
