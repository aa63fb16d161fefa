#pragma once

class QWidget;

// The windows are designed in twips (1440 to the inch) and laid out in
// pixels at the widget's logical DPI; every window converts here.
int px(const QWidget *widget, double twips);
double tw(const QWidget *widget, int pixels);

// Where a control sits in its window's design, in twips.
struct Placement
{
    double left, top, width, height;
};

// Puts the control at its design place, raised by shiftUp twips (a strip the
// design counted that the window lays out elsewhere).
void place(QWidget *control, const Placement &placement, double shiftUp = 0);
