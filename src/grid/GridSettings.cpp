#include "grid/GridSettings.h"

#include "grid/DataGrid.h"
#include "settings/GridLayout.h"
#include "settings/SettingsStore.h"
#include "settings/WidthList.h"
#include "store/ErrorProtocol.h"

#include <algorithm>

namespace {
const QString Positions = QStringLiteral("Positionen");
}

std::vector<ColumnState> columnStates(DataGrid &grid)
{
    std::vector<ColumnState> columns;
    for (int i = 0; i < grid.columnCount(); ++i) {
        const GridColumn column = grid.columns(i);
        columns.push_back({column.width(), column.isVisible(), column.order()});
    }
    return columns;
}

void applyColumnWidths(DataGrid &grid, const std::vector<double> &widths)
{
    for (size_t i = 0; i < widths.size() && int(i) < grid.columnCount(); ++i)
        grid.columns(int(i)).setWidth(std::max(0.0, widths[i]));
}

void SaveColumnWidths(const QString &name, DataGrid &grid)
{
    SettingsStore::write(Positions, name, WidthList::toText(columnStates(grid)));
}

void LoadColumnWidths(const QString &name, DataGrid &grid)
{
    const QString text = SettingsStore::read(Positions, name, QString());
    if (text.isEmpty())
        return;
    applyColumnWidths(grid, WidthList::fromText(text, grid.columnCount()));
}

void SaveGridLayout(const QString &name, DataGrid &grid)
{
    QString text;
    const ErrorProtocol protocol(QStringLiteral("Fehler beim Speichern des Grid-Layouts."));
    protocol.run({
        [&] { text = GridLayout::toText(columnStates(grid)); },
        [&] { SettingsStore::write(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-") + name, text); },
    });
}

void LoadGridLayout(const QString &name, DataGrid &grid)
{
    const ErrorProtocol protocol(QStringLiteral("Fehler beim Laden des Grid-Konfiguration."));
    const QString text = SettingsStore::read(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-") + name, QString());
    const GridLayout::Reading reading = GridLayout::fromText(
        text, grid.columnCount(), [&](const std::function<void()> &step) { return protocol.runStep(step); });
    if (!reading.stored)
        return;
    grid.holdFields();
    for (const GridLayout::Operation &operation : reading.operations) {
        GridColumn column = grid.columns(operation.column);
        column.setOrder(operation.displayPosition);
        if (operation.change == GridLayout::Operation::Change::SetWidth)
            column.setWidth(operation.width);
        else if (operation.change == GridLayout::Operation::Change::Hide)
            column.setVisible(false);
    }
    if (!reading.aborted)
        grid.refreshRows();
}
