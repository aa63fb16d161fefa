#include "support/MapRow.h"

MapRow::MapRow(const QHash<QString, QVariant> &cells)
    : m_cells(cells)
{
}

QVariant MapRow::cell(const QString &column) const
{
    return m_cells.value(column);
}

void MapRow::setCell(const QString &column, const QVariant &value)
{
    m_cells.insert(column, value);
    m_writes.append(column);
}
