#pragma once

#include <QString>
#include <QVariant>

// A cell of the current row, read and written by column name. The entry grid
// implements it over its row buffer; tests implement it over a plain map, so
// the score computation runs the same on both.
class RowAccess
{
public:
    virtual ~RowAccess() = default;
    virtual QVariant cell(const QString &column) const = 0;
    virtual void setCell(const QString &column, const QVariant &value) = 0;
};
