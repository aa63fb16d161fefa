#include "grid/GridColumn.h"

#include "grid/DataGrid.h"
#include "grid/GridModel.h"
#include "store/Numbers.h"

#include <QHeaderView>

GridColumn::GridColumn(DataGrid *grid, int index)
    : m_grid(grid)
    , m_index(index)
{
}

QString GridColumn::dataField() const
{
    return m_grid->gridModel()->columns()[size_t(m_index)].field;
}

QString GridColumn::caption() const
{
    return m_grid->gridModel()->columns()[size_t(m_index)].caption;
}

void GridColumn::setCaption(const QString &caption)
{
    m_grid->gridModel()->columns()[size_t(m_index)].caption = caption;
    m_grid->gridModel()->columnsChanged(m_index, m_index);
}

double GridColumn::width() const
{
    return m_grid->gridModel()->columns()[size_t(m_index)].widthTwips;
}

void GridColumn::setWidth(double twips)
{
    double &stored = m_grid->gridModel()->columns()[size_t(m_index)].widthTwips;
    stored = twips;
    if (!m_grid->isColumnHidden(m_index))
        m_grid->horizontalHeader()->resizeSection(m_index, m_grid->twipsToPixels(twips));
    // The header does not draw a column narrower than its minimum and reports
    // that as a resize; the width set is still the column's width.
    stored = twips;
}

bool GridColumn::isVisible() const
{
    return !m_grid->isColumnHidden(m_index);
}

void GridColumn::setVisible(bool visible)
{
    if (visible == isVisible())
        return;
    // Showing a section brings back the pixel width it had when it was hidden,
    // which the grid would take as a new width; a width set meanwhile must win.
    const double twips = width();
    m_grid->setColumnHidden(m_index, !visible);
    if (visible)
        setWidth(twips);
}

bool GridColumn::isPrintedWhenEmpty() const
{
    return m_grid->gridModel()->columns()[size_t(m_index)].printedWhenEmpty;
}

void GridColumn::setPrintedWhenEmpty(bool printed)
{
    m_grid->gridModel()->columns()[size_t(m_index)].printedWhenEmpty = printed;
}

bool GridColumn::isInColumnMenu() const
{
    return m_grid->gridModel()->columns()[size_t(m_index)].inColumnMenu;
}

void GridColumn::setInColumnMenu(bool offered)
{
    m_grid->gridModel()->columns()[size_t(m_index)].inColumnMenu = offered;
}

void GridColumn::setChoices(const QStringList &choices)
{
    m_grid->gridModel()->columns()[size_t(m_index)].choices = choices;
}

void GridColumn::setChooser(Chooser choose)
{
    m_grid->gridModel()->columns()[size_t(m_index)].choose = std::move(choose);
}

QStringList GridColumn::choices() const
{
    return m_grid->gridModel()->columns()[size_t(m_index)].choices;
}

int GridColumn::order() const
{
    return m_grid->horizontalHeader()->visualIndex(m_index);
}

void GridColumn::setOrder(int position)
{
    m_grid->moveColumnTo(m_index, position);
}

int GridColumn::alignment() const
{
    const Qt::Alignment a = m_grid->gridModel()->columns()[size_t(m_index)].headingAlignment;
    if (a & Qt::AlignHCenter)
        return 2;
    return (a & Qt::AlignRight) ? 1 : 0;
}

void GridColumn::setAlignment(int alignment)
{
    const Qt::Alignment horizontal = alignment == 2 ? Qt::AlignHCenter : alignment == 1 ? Qt::AlignRight : Qt::AlignLeft;
    m_grid->gridModel()->columns()[size_t(m_index)].headingAlignment = horizontal | Qt::AlignVCenter;
    m_grid->gridModel()->columnsChanged(m_index, m_index);
}

QVariant GridColumn::value() const
{
    return m_grid->currentValue(m_index);
}

QString GridColumn::text() const
{
    return Numbers::cellText(value());
}

void GridColumn::setValue(const QVariant &value)
{
    m_grid->setCurrentValue(m_index, value);
}
