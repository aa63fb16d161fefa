#pragma once

#include "scoring/RowAccess.h"

class DataGrid;

// The current row of a grid as cells by column name, for the score
// computation. Writes go into the row buffer and raise no edit notification.
class GridRowAccess : public RowAccess
{
public:
    explicit GridRowAccess(DataGrid &grid);
    QVariant cell(const QString &column) const override;
    void setCell(const QString &column, const QVariant &value) override;

private:
    DataGrid &m_grid;
};
