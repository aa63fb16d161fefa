#pragma once

#include "scoring/RowAccess.h"

#include <QHash>
#include <QStringList>

// A result row held in a plain map, for running the score computation without
// a grid. A column never set reads as Null, like an empty database field.
// Every write is logged, so a test can see which cells the code touched.
class MapRow : public RowAccess
{
public:
    explicit MapRow(const QHash<QString, QVariant> &cells);

    QVariant cell(const QString &column) const override;
    void setCell(const QString &column, const QVariant &value) override;

    // Column names in the order of the writes, one entry per write.
    const QStringList &writes() const { return m_writes; }

private:
    QHash<QString, QVariant> m_cells;
    QStringList m_writes;
};
