#include "printing/PrintTable.h"

#include "grid/DataGrid.h"
#include "grid/GridModel.h"

#include <QHeaderView>

void PrintTable::addRow(const QVector<QString> &texts, const QVector<Qt::Alignment> &aligns, const QString &heading)
{
    cells += texts;
    alignments += aligns;
    headings += heading;
    ++rowCount;
}

QVector<int> PrintTable::headingRows() const
{
    QVector<int> rows;
    for (int row = 0; row < rowCount; ++row) {
        if (!headings.at(row).isEmpty())
            rows << row;
    }
    return rows;
}

namespace {

bool anyValue(const GridModel &model, const GridModel::Column &column)
{
    const Recordset *rs = model.recordset();
    for (int row = 0; rs && column.fieldIndex >= 0 && row < rs->rowCount(); ++row) {
        if (!rs->storedValue(row, column.fieldIndex).toString().isEmpty())
            return true;
    }
    return false;
}

} // namespace

PrintTable PrintTable::layoutOf(DataGrid &grid)
{
    PrintTable table;
    table.caption = grid.windowTitle();
    const QHeaderView *header = grid.horizontalHeader();
    const GridModel &model = *grid.gridModel();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || grid.isColumnHidden(logical))
            continue;
        const GridModel::Column &column = model.columns()[size_t(logical)];
        if (!column.printedWhenEmpty && !anyValue(model, column))
            continue;
        table.gridColumns.push_back(logical);
        table.columns.push_back(
                {column.caption, column.widthTwips, column.headingAlignment & Qt::AlignHorizontal_Mask});
    }
    table.cellFont = grid.font();
    table.headingFont = header->font();
    const QPalette palette = grid.palette();
    table.textColor = palette.color(QPalette::Text);
    table.background = palette.color(QPalette::Base);
    table.headingTextColor = header->palette().color(QPalette::ButtonText);
    table.headingBackground = header->palette().color(QPalette::Button);
    table.rowHeightTwips = grid.pixelsToTwips(grid.verticalHeader()->defaultSectionSize());
    // The heading as it would show, also while its tab was never opened.
    table.headingHeightTwips = grid.pixelsToTwips(header->sizeHint().height());
    return table;
}

int PrintTable::printableRows(DataGrid &grid)
{
    const GridModel *model = grid.gridModel();
    const int rows = model->rowCount();
    return rows > 0 && model->isNewRowLine(rows - 1) ? rows - 1 : rows;
}

void PrintTable::appendRows(DataGrid &grid, int first, int count)
{
    const GridModel *model = grid.gridModel();
    const QVector<int> &logicals = gridColumns;
    QVector<QString> texts(logicals.size());
    QVector<Qt::Alignment> aligns(logicals.size());
    for (int row = first; row < first + count; ++row) {
        for (int i = 0; i < logicals.size(); ++i) {
            const QModelIndex index = model->index(row, logicals.at(i));
            texts[i] = model->data(index, Qt::DisplayRole).toString();
            aligns[i] = model->data(index, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
        }
        addRow(texts, aligns, model->isHeading(row) ? model->index(row, 0).data(GridModel::HeadingRole).toString() : QString());
    }
}
