#pragma once

#include <QPixmap>
#include <QScrollBar>
#include <QStyle>

// The grids' scroll bars. A jump through the list moves the slider across
// the whole bar, and the style paints the groove, the full length of the
// bar, afresh each time: the raster engine hands fills that tall to its
// thread pool, and waiting for that was half of a search keystroke. The
// groove does not change when the slider moves, so it is kept as a picture
// and only slider and buttons are painted over it.
class GridScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    GridScrollBar(Qt::Orientation orientation, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool keepsGroove() const;
    const QPixmap &groove(const QStyleOptionSlider &option);

    QPixmap m_groove;
    // What the kept groove was painted for.
    QSize m_grooveSize;
    QStyle::State m_grooveState;
    qint64 m_groovePalette = 0;
    const QStyle *m_grooveStyle = nullptr;
};
