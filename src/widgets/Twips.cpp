#include "widgets/Twips.h"

#include <QWidget>

namespace {
constexpr double TwipsPerInch = 1440.0;
}

int px(const QWidget *widget, double twips)
{
    return qRound(twips * widget->logicalDpiX() / TwipsPerInch);
}

double tw(const QWidget *widget, int pixels)
{
    return pixels * TwipsPerInch / widget->logicalDpiX();
}

void place(QWidget *control, const Placement &placement, double shiftUp)
{
    control->setGeometry(px(control, placement.left), px(control, placement.top - shiftUp),
                         px(control, placement.width), px(control, placement.height));
}
