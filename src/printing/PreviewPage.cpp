#include "printing/PreviewPage.h"

#include "printing/PageSource.h"

#include <QPainter>

PreviewPage::PreviewPage(PageSource &pages, QWidget *parent)
    : QWidget(parent)
    , m_pages(pages)
{
    setObjectName(QStringLiteral("PreviewPage"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPage::setPage(int index)
{
    if (index == m_page)
        return;
    m_page = index;
    m_stale = true;
    update();
}

void PreviewPage::setScale(double scale)
{
    if (scale <= 0 || qFuzzyCompare(scale, m_scale))
        return;
    m_scale = scale;
    m_stale = true;
    resize(sizeHint());
    update();
}

QSize PreviewPage::sizeHint() const
{
    const QSizeF paper = m_pages.paperPixels() * m_scale;
    return QSize(std::max(1, qRound(paper.width())), std::max(1, qRound(paper.height())));
}

void PreviewPage::renderImage()
{
    const qreal ratio = devicePixelRatioF();
    m_image = QImage(sizeHint() * ratio, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
    m_image.fill(Qt::white);
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(m_scale, m_scale);
    m_pages.paint(painter, m_page);
    m_stale = false;
}

void PreviewPage::paintEvent(QPaintEvent *)
{
    if (m_stale || m_image.isNull())
        renderImage();
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
    painter.setPen(Qt::darkGray);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
