#include "grid/GridSettings.h"

#include "grid/DataGrid.h"
#include "settings/GridLayout.h"
#include "settings/SettingsStore.h"
#include "settings/WidthList.h"
#include "store/ErrorProtocol.h"
#include "store/Numbers.h"

#include <QStringList>

#include <algorithm>

namespace {

const QString Positions = QStringLiteral("Positionen");

// Fields that earlier versions did not have, by the version that brought
// them: the classes (with birth year and sex of the master list), then the
// teams. Settings of an earlier version hold one width or piece per column
// of those days, and would hand each value to the column beside the one it
// was written for (or, for a layout, hide the new columns).
const std::vector<QStringList> LaterFields{
    {QStringLiteral("Klasse"), QStringLiteral("Jahrgang"), QStringLiteral("Geschlecht")},
    {QStringLiteral("Mannschaft")},
};

// The columns of the grid that settings of `count` columns did not know, by
// index: those of the oldest version whose settings had that many. None
// when no earlier version had that many columns.
std::vector<int> laterColumns(DataGrid &grid, qsizetype count)
{
    for (size_t since = 0; since < LaterFields.size(); ++since) {
        std::vector<int> later;
        for (int i = 0; i < grid.columnCount(); ++i) {
            for (size_t version = since; version < LaterFields.size(); ++version) {
                if (LaterFields[version].contains(grid.columns(i).dataField(), Qt::CaseInsensitive))
                    later.push_back(i);
            }
        }
        if (!later.empty() && size_t(count) + later.size() == size_t(grid.columnCount()))
            return later;
    }
    return {};
}

// A list of one width per column of an earlier version gets each later
// column's width of today where it stands.
std::vector<double> withLaterWidths(DataGrid &grid, std::vector<double> widths)
{
    const std::vector<int> later = laterColumns(grid, qsizetype(widths.size()));
    if (later.empty())
        return widths;
    for (const int column : later)
        widths.insert(widths.begin() + column, grid.columns(column).width());
    return widths;
}

// A layout an earlier version wrote, one "position - width" piece per column
// of those days, gets a piece for each later column: shown right after the
// column before it, at its width of today. Anything else is read as it is.
QString withLaterPieces(DataGrid &grid, const QString &text)
{
    QStringList pieces = text.split(QLatin1Char(';'));
    if (pieces.takeLast().trimmed().size() != 0)
        return text;
    const std::vector<int> later = laterColumns(grid, pieces.size());
    if (later.empty())
        return text;
    std::vector<int> positions;
    std::vector<QString> widths;
    for (const QString &piece : pieces) {
        const QStringList parts = piece.split(QLatin1Char('-'));
        bool ok = parts.size() == 2;
        positions.push_back(ok ? parts.at(0).trimmed().toInt(&ok) : 0);
        if (!ok)
            return text;
        widths.push_back(parts.at(1).trimmed());
    }
    for (const int column : later) {
        const int position = column == 0 ? 0 : positions[size_t(column - 1)] + 1;
        for (int &p : positions)
            p += p >= position ? 1 : 0;
        positions.insert(positions.begin() + column, position);
        const GridColumn added = grid.columns(column);
        widths.insert(widths.begin() + column, added.isVisible() ? Numbers::singleText(added.width()) : QStringLiteral("0"));
    }
    QString converted;
    for (size_t i = 0; i < positions.size(); ++i)
        converted += QString::number(positions[i]) + QLatin1String(" - ") + widths[i] + QLatin1Char(';');
    return converted;
}

} // namespace

std::vector<ColumnState> columnStates(DataGrid &grid)
{
    std::vector<ColumnState> columns;
    for (int i = 0; i < grid.columnCount(); ++i) {
        const GridColumn column = grid.columns(i);
        columns.push_back({column.width(), column.isVisible(), column.order()});
    }
    return columns;
}

void applyColumnWidths(DataGrid &grid, const std::vector<double> &stored)
{
    const std::vector<double> widths = withLaterWidths(grid, stored);
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
    const QString text = withLaterPieces(
        grid, SettingsStore::read(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-") + name, QString()));
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
