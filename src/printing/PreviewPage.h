#pragma once

#include <QImage>
#include <QWidget>

class PageSource;

// One page of a preview on the screen, drawn by the same page source as
// the print and scaled to the zoom. The page is painted once per page and zoom
// and kept as an image, so scrolling costs nothing.
class PreviewPage : public QWidget
{
    Q_OBJECT

public:
    PreviewPage(PageSource &pages, QWidget *parent = nullptr);

    int page() const { return m_page; }
    void setPage(int index);
    // Screen pixels per pixel of the printer.
    double scale() const { return m_scale; }
    void setScale(double scale);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void renderImage();

    PageSource &m_pages;
    int m_page = 0;
    double m_scale = 0.1;
    QImage m_image;
    bool m_stale = true;
};
