#pragma once

#include <QFont>

class QWidget;

// Centres a window on the primary screen.
void CenterForm(QWidget *window);

// The font the windows were designed with (MS Sans Serif, replaced by a
// similar font where it is missing), in points.
QFont designFont(double points, bool bold = false);
