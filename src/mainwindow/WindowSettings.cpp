#include "WindowSettings.h"

#include "DataGrid.h"
#include "ErrorProtocol.h"
#include "FormTools.h"
#include "GridLayout.h"
#include "SettingsStore.h"
#include "WidthList.h"
#include "WindowEntry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

const QString Positions = QStringLiteral("Positionen");

double toTwips(const QWidget *window, int pixels)
{
    return pixels * 1440.0 / window->logicalDpiX();
}

int toPixels(const QWidget *window, double twips)
{
    return qRound(twips * window->logicalDpiX() / 1440.0);
}

QString windowKey(const QWidget *window)
{
    return window->objectName() + QLatin1Char('-') + window->property("tag").toString();
}

std::vector<ColumnState> columnStates(DataGrid *grid)
{
    std::vector<ColumnState> columns;
    if (!grid)
        return columns;
    for (int i = 0; i < grid->columnCount(); ++i) {
        const GridColumn column = grid->columns(i);
        columns.push_back({column.width(), column.isVisible(), column.order()});
    }
    return columns;
}

void applyWidths(DataGrid *grid, const std::vector<double> &widths)
{
    for (size_t i = 0; i < widths.size() && int(i) < grid->columnCount(); ++i)
        grid->columns(int(i)).setWidth(std::max(0.0, widths[i]));
}

bool onSomeScreen(const QWidget *window)
{
    const QRect frame(window->pos(), window->size());
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(frame))
            return true;
    }
    return false;
}

} // namespace

void SaveFormPosition(QWidget *window, DataGrid *grid)
{
    if (window->isMinimized())
        return;
    if (window->isMaximized()) {
        // As the classic window did: a maximised window is asked to step back
        // to 10, 10 and a little smaller; what it then reports is stored.
        window->resize(window->width() - toPixels(window, 20), window->height() - toPixels(window, 20));
        window->move(toPixels(window, 10), toPixels(window, 10));
    }
    const WindowGeometry geometry{toTwips(window, window->x()), toTwips(window, window->y()),
                                  toTwips(window, window->width()), toTwips(window, window->height())};
    SettingsStore::write(Positions, windowKey(window), WindowEntry::toText(geometry, columnStates(grid)));
}

void LoadFormPosition(QWidget *window, DataGrid *grid)
{
    const QString text = SettingsStore::read(Positions, windowKey(window), QString());
    const WindowEntry::Reading reading = WindowEntry::fromText(text, grid ? grid->columnCount() : 0);
    if (reading.centre) {
        CenterForm(window);
        return;
    }
    if (reading.left || reading.top)
        window->move(reading.left ? toPixels(window, *reading.left) : window->x(),
                     reading.top ? toPixels(window, *reading.top) : window->y());
    if (reading.width || reading.height)
        window->resize(reading.width ? toPixels(window, *reading.width) : window->width(),
                       reading.height ? toPixels(window, *reading.height) : window->height());
    if (grid)
        applyWidths(grid, reading.columnWidths);
    if (!onSomeScreen(window))
        CenterForm(window);
}

void SaveColumnWidths(const QString &name, DataGrid *grid)
{
    SettingsStore::write(Positions, name, WidthList::toText(columnStates(grid)));
}

void LoadColumnWidths(const QString &name, DataGrid *grid)
{
    const QString text = SettingsStore::read(Positions, name, QString());
    if (text.isEmpty() || !grid)
        return;
    applyWidths(grid, WidthList::fromText(text, grid->columnCount()));
}

void SaveGridLayout(const QString &name, DataGrid *grid)
{
    QString text;
    const ErrorProtocol protocol(QStringLiteral("Fehler beim Speichern des Grid-Layouts."));
    protocol.run({
        [&] { text = GridLayout::toText(columnStates(grid)); },
        [&] { SettingsStore::write(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-") + name, text); },
    });
}

void LoadGridLayout(const QString &name, DataGrid *grid)
{
    const ErrorProtocol protocol(QStringLiteral("Fehler beim Laden des Grid-Konfiguration."));
    const QString text = SettingsStore::read(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-") + name, QString());
    const GridLayout::Reading reading = GridLayout::fromText(
        text, grid->columnCount(), [&](const std::function<void()> &step) { return protocol.runStep(step); });
    if (!reading.stored)
        return;
    grid->holdFields();
    for (const GridLayout::Operation &operation : reading.operations) {
        GridColumn column = grid->columns(operation.column);
        column.setOrder(operation.displayPosition);
        if (operation.change == GridLayout::Operation::Change::SetWidth)
            column.setWidth(operation.width);
        else if (operation.change == GridLayout::Operation::Change::Hide)
            column.setVisible(false);
    }
    if (!reading.aborted)
        grid->refreshRows();
}
