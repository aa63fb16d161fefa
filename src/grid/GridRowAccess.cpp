#include "grid/GridRowAccess.h"

#include "grid/DataGrid.h"

GridRowAccess::GridRowAccess(DataGrid &grid)
    : m_grid(grid)
{
}

QVariant GridRowAccess::cell(const QString &column) const
{
    return m_grid.columns(column).value();
}

void GridRowAccess::setCell(const QString &column, const QVariant &value)
{
    m_grid.columns(column).setValue(value);
}
