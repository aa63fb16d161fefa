#include "widgets/WindowSettings.h"

#include "settings/SettingsStore.h"
#include "settings/WindowEntry.h"
#include "settings/WindowPlacement.h"
#include "widgets/FormTools.h"
#include "widgets/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

const QString Positions = QStringLiteral("Positionen");

QString windowKey(const QWidget *window)
{
    return window->objectName() + QLatin1Char('-') + window->property("tag").toString();
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
    const double perTwip = 1.0 / tw(window, 1); // unrounded: the place is fitted before it is rounded
    const auto pixels = [perTwip](const std::optional<double> &twips, int current) {
        return twips ? *twips * perTwip : double(current);
    };
    const QRectF stored(pixels(reading.left, window->x()), pixels(reading.top, window->y()),
                        pixels(reading.width, window->width()), pixels(reading.height, window->height()));
    return WindowPlacement::fitted(stored, frameMargins(window), availableScreens());
}

} // namespace

void SaveFormPosition(QWidget *window, const std::vector<ColumnState> &columns)
{
    if (window->isMinimized())
        return;
    if (window->isMaximized()) {
        // As the classic window did: a maximised window is asked to step back
        // to 10, 10 and a little smaller; what it then reports is stored.
        window->resize(window->width() - px(window, 20), window->height() - px(window, 20));
        window->move(px(window, 10), px(window, 10));
    }
    const WindowGeometry geometry{tw(window, window->x()), tw(window, window->y()),
                                  tw(window, window->width()), tw(window, window->height())};
    SettingsStore::write(Positions, windowKey(window), WindowEntry::toText(geometry, columns));
}

std::vector<double> LoadFormPosition(QWidget *window, int columnCount)
{
    const QString text = SettingsStore::read(Positions, windowKey(window), QString());
    const WindowEntry::Reading reading = WindowEntry::fromText(text, columnCount);
    if (reading.centre) {
        CenterForm(window);
        return {};
    }
    const QRectF place = storedPlace(window, reading);
    window->move(boundedPixels(place.x()), boundedPixels(place.y()));
    window->resize(boundedPixels(place.width()), boundedPixels(place.height()));
    return reading.columnWidths;
}

