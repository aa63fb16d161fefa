#include "WindowSettings.h"

#include "DataGrid.h"
#include "ErrorProtocol.h"
#include "FormTools.h"
#include "GridLayout.h"
#include "SettingsStore.h"
#include "WidthList.h"
#include "WindowEntry.h"
#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

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

// The primary screen first, as WindowPlacement wants them.
QList<QRectF> availableScreens()
{
    QList<QRectF> areas;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        areas << primary->availableGeometry();
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen != primary)
            areas << screen->availableGeometry();
    }
    return areas;
}

// Nothing until the window has been shown once.
QMarginsF frameMargins(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMarginsF(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                     outer.bottom() - inner.bottom());
}

// Stored twips may be far beyond what an int of pixels holds.
int boundedPixels(double pixels)
{
    return qRound(std::clamp(pixels, -double(QWIDGETSIZE_MAX), double(QWIDGETSIZE_MAX)));
}

// The stored place as far as it fits the screens, in pixels.
QRectF storedPlace(const QWidget *window, const WindowEntry::Reading &reading)
{
    const double perTwip = window->logicalDpiX() / 1440.0;
    const auto pixels = [perTwip](const std::optional<double> &twips, int current) {
        return twips ? *twips * perTwip : double(current);
    };
    const QRectF stored(pixels(reading.left, window->x()), pixels(reading.top, window->y()),
                        pixels(reading.width, window->width()), pixels(reading.height, window->height()));
    return WindowPlacement::fitted(stored, frameMargins(window), availableScreens());
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
    const QRectF place = storedPlace(window, reading);
    window->move(boundedPixels(place.x()), boundedPixels(place.y()));
    window->resize(boundedPixels(place.width()), boundedPixels(place.height()));
    if (grid)
        applyWidths(grid, reading.columnWidths);
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
