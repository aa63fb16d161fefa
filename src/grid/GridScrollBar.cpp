#include "grid/GridScrollBar.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

GridScrollBar::GridScrollBar(Qt::Orientation orientation, QWidget *parent)
    : QScrollBar(orientation, parent)
{
}

// While the mouse is on the bar, hover and pressed parts change the look and
// QScrollBar paints it itself; a style that fades its bars in and out does too.
bool GridScrollBar::keepsGroove() const
{
    return !underMouse() && !isSliderDown() && QApplication::mouseButtons() == Qt::NoButton
        && !style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this);
}

void GridScrollBar::paintEvent(QPaintEvent *event)
{
    if (!keepsGroove()) {
        QScrollBar::paintEvent(event);
        return;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.activeSubControls = QStyle::SC_None;
    QPainter painter(this);
    painter.drawPixmap(0, 0, groove(option));
    // The style paints the parts in this order: groove, slider, buttons.
    option.subControls = QStyle::SC_ScrollBarSubPage | QStyle::SC_ScrollBarAddPage | QStyle::SC_ScrollBarSlider
                       | QStyle::SC_ScrollBarSubLine | QStyle::SC_ScrollBarAddLine | QStyle::SC_ScrollBarFirst
                       | QStyle::SC_ScrollBarLast;
    style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
}

const QPixmap &GridScrollBar::groove(const QStyleOptionSlider &option)
{
    if (m_grooveSize == size() && m_grooveState == option.state && m_groovePalette == palette().cacheKey()
        && m_grooveStyle == style())
        return m_groove;
    m_grooveSize = size();
    m_grooveState = option.state;
    m_groovePalette = palette().cacheKey();
    m_grooveStyle = style();
    m_groove = QPixmap(size() * devicePixelRatio());
    m_groove.setDevicePixelRatio(devicePixelRatio());
    m_groove.fill(Qt::transparent);
    QStyleOptionSlider grooveOnly = option;
    grooveOnly.subControls = QStyle::SC_ScrollBarGroove;
    QPainter painter(&m_groove);
    style()->drawComplexControl(QStyle::CC_ScrollBar, &grooveOnly, &painter, this);
    return m_groove;
}
