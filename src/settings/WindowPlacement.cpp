#include "settings/WindowPlacement.h"

#include <algorithm>

namespace WindowPlacement {

namespace {

double area(const QRectF &rect)
{
    return rect.isEmpty() ? 0.0 : rect.width() * rect.height();
}

// Screens side by side do not overlap, so their shares add up; mirrored
// screens would count twice, hence the cap.
double visibleArea(const QRectF &outer, const QList<QRectF> &screens)
{
    double visible = 0.0;
    for (const QRectF &screen : screens)
        visible += area(outer.intersected(screen));
    return std::min(visible, area(outer));
}

// The screen holding most of the window; the primary one when none holds any.
QRectF homeScreen(const QRectF &outer, const QList<QRectF> &screens)
{
    QRectF home = screens.front();
    double most = 0.0;
    for (const QRectF &screen : screens) {
        const double share = area(outer.intersected(screen));
        if (share > most) {
            most = share;
            home = screen;
        }
    }
    return home;
}

// As large as the screen at most; a side cut to the screen's size can only
// stand on the screen where the screen's edge is.
QRectF limitedTo(QRectF outer, const QRectF &screen)
{
    if (outer.width() > screen.width()) {
        outer.setWidth(screen.width());
        outer.moveLeft(screen.left());
    }
    if (outer.height() > screen.height()) {
        outer.setHeight(screen.height());
        outer.moveTop(screen.top());
    }
    return outer;
}

} // namespace

QRectF fitted(const QRectF &window, const QMarginsF &frame, const QList<QRectF> &screens)
{
    if (screens.isEmpty())
        return window;
    // The stored corner is the frame's already; only the size grows by the frame.
    const QRectF stored(window.topLeft(), window.size().grownBy(frame));
    QRectF outer = limitedTo(stored, homeScreen(stored, screens));
    if (visibleArea(outer, screens) < VisibleShare * area(outer)) {
        const QRectF &primary = screens.front();
        outer = limitedTo(outer, primary);
        outer.moveCenter(primary.center());
    }
    const QSizeF inner = outer.size().shrunkBy(frame);
    // A frame larger than the screen leaves no inner area; the window system keeps its smallest size.
    return QRectF(outer.topLeft(), QSizeF(std::max(inner.width(), 0.0), std::max(inner.height(), 0.0)));
}

} // namespace WindowPlacement
