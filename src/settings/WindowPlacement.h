#pragma once

#include <QList>
#include <QMarginsF>
#include <QRectF>

// Where a restored window goes. A stored entry may come from other screens,
// or be edited or damaged: a window larger than its screen is of no use (at
// 99999999 twips its picture alone takes gigabytes), and one beyond every
// screen cannot be reached. The entry is kept as far as it fits. Lengths are
// in one unit, the caller's.
namespace WindowPlacement {

// Less than this share of the window on the screens counts as off-screen.
constexpr double VisibleShare = 0.5;

// `window`: the left top corner of the frame and the size of the inner area,
// as the window entry keeps them; `frame`: what the window system draws
// around the inner area; `screens`: the available area of every screen, the
// primary one first. The result in the same terms, which is then also what
// the window reports, and so stores, when it closes:
// - wider or higher than the screen holding most of it: that screen's size,
//   moved onto that screen in that direction;
// - less than VisibleShare of it on the screens: centred on the primary one;
// - otherwise, or without any screen, the window as it is.
QRectF fitted(const QRectF &window, const QMarginsF &frame, const QList<QRectF> &screens);

} // namespace WindowPlacement
