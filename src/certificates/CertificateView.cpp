#include "certificates/CertificateView.h"

#include "certificates/CertificatePages.h"

#include <QPainter>

namespace {

constexpr double Room = 8;

} // namespace

CertificateView::CertificateView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picVorschau"));
    setMinimumSize(180, 180);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CertificateView::setPages(std::shared_ptr<CertificatePages> pages)
{
    m_pages = std::move(pages);
    update();
}

QRectF CertificateView::paperRect() const
{
    if (!m_pages)
        return {};
    const QSizeF paper = m_pages->paperPixels();
    const double scale = std::min((width() - 2 * Room) / paper.width(), (height() - 2 * Room) / paper.height());
    const QSizeF shown = paper * std::max(scale, 0.0);
    return QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

void CertificateView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    if (!m_pages || m_pages->pageCount() == 0)
        return;
    const QRectF paper = paperRect();
    painter.fillRect(paper, Qt::white);
    painter.setPen(Qt::darkGray);
    painter.drawRect(paper.adjusted(0, 0, -1, -1));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(paper);
    painter.translate(paper.topLeft());
    painter.scale(paper.width() / m_pages->paperPixels().width(), paper.height() / m_pages->paperPixels().height());
    m_pages->paint(painter, 0);
}
