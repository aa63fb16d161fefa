#include "printing/PrintPreviewWindow.h"

#include "printing/PageSource.h"
#include "printing/PageText.h"
#include "printing/PreviewPage.h"
#include "widgets/FormTools.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <iterator>

namespace {

const int ZoomSteps[] = {50, 75, 100, 150, 200};
constexpr double ZoomFactor = 1.25;
constexpr double MinPercent = 10;
constexpr double MaxPercent = 800;
// Grey room around the page, in screen pixels.
constexpr int PageRoom = 24;

// Zoom steps read best as the signs users know from every viewer.
template<typename Slot>
void addZoomAction(QToolBar *bar, const char *name, const QString &sign, const QString &tip, Slot slot)
{
    QAction *action = bar->addAction(sign, slot);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(tip);
    QFont font = bar->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    action->setFont(font);
}

} // namespace

PrintPreviewWindow::PrintPreviewWindow(std::unique_ptr<QPrinter> printer, std::unique_ptr<PageSource> pages,
                                       const QString &caption, const QString &pageOf, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_printer(std::move(printer))
    , m_pages(std::move(pages))
    , m_pageOf(pageOf)
{
    setObjectName(QStringLiteral("PrintPreviewWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("previewArea"));
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->installEventFilter(this);
    m_page = new PreviewPage(*m_pages);
    m_scroll->setWidget(m_page);
    createToolbar();
    layout()->addWidget(m_scroll);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 0.8);
    CenterForm(this);
    showPageState();
    applyZoom();
}

PrintPreviewWindow::~PrintPreviewWindow()
{
    // The page widget paints with the pages, so it goes first.
    delete m_scroll;
}

void PrintPreviewWindow::createToolbar()
{
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("previewToolbar"));
    box->addWidget(bar);
    auto addAction = [&](const char *name, const QString &text, QStyle::StandardPixmap icon, auto slot) {
        QAction *action = bar->addAction(style()->standardIcon(icon), text, this, slot);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    m_navigation << addAction("firstPage", QStringLiteral("Erste Seite"), QStyle::SP_MediaSkipBackward,
                              [this] { setCurrentPage(1); });
    m_navigation << addAction("previousPage", QStringLiteral("Vorige Seite"), QStyle::SP_MediaSeekBackward,
                              [this] { setCurrentPage(currentPage() - 1); });
    m_indicator = new QLabel(bar);
    m_indicator->setObjectName(QStringLiteral("pageIndicator"));
    m_indicator->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_indicator);
    m_navigation << addAction("nextPage", QStringLiteral("Nächste Seite"), QStyle::SP_MediaSeekForward,
                              [this] { setCurrentPage(currentPage() + 1); });
    m_navigation << addAction("lastPage", QStringLiteral("Letzte Seite"), QStyle::SP_MediaSkipForward,
                              [this] { setCurrentPage(pageCount()); });
    bar->addSeparator();
    addZoomAction(bar, "zoomOut", QStringLiteral("−"), QStringLiteral("Verkleinern"), [this] { zoomOut(); });
    m_zoomBox = new QComboBox(bar);
    m_zoomBox->setObjectName(QStringLiteral("zoomBox"));
    m_zoomBox->addItems({QStringLiteral("Ganze Seite"), QStringLiteral("Seitenbreite")});
    for (int percent : ZoomSteps)
        m_zoomBox->addItem(QStringLiteral("%1 %").arg(percent));
    connect(m_zoomBox, QOverload<int>::of(&QComboBox::activated), this, &PrintPreviewWindow::zoomChosen);
    bar->addWidget(m_zoomBox);
    addZoomAction(bar, "zoomIn", QStringLiteral("+"), QStringLiteral("Vergrößern"), [this] { zoomIn(); });
    bar->addSeparator();
    addAction("closePreview", QStringLiteral("Schließen"), QStyle::SP_DialogCloseButton, [this] { close(); });
}

int PrintPreviewWindow::currentPage() const
{
    return m_page->page() + 1;
}

int PrintPreviewWindow::pageCount() const
{
    return m_pages->pageCount();
}

void PrintPreviewWindow::setCurrentPage(int page)
{
    m_page->setPage(std::clamp(page, 1, pageCount()) - 1);
    showPageState();
}

QString PrintPreviewWindow::pageIndicator() const
{
    return m_indicator->text();
}

void PrintPreviewWindow::showPageState()
{
    m_indicator->setText(PageText::substitute(m_pageOf, currentPage(), pageCount()));
    m_navigation.at(0)->setEnabled(currentPage() > 1);
    m_navigation.at(1)->setEnabled(currentPage() > 1);
    m_navigation.at(2)->setEnabled(currentPage() < pageCount());
    m_navigation.at(3)->setEnabled(currentPage() < pageCount());
}

int PrintPreviewWindow::printerResolution() const
{
    return m_printer->resolution();
}

double PrintPreviewWindow::zoomPercent() const
{
    return m_page->scale() * m_printer->resolution() / logicalDpiX() * 100.0;
}

void PrintPreviewWindow::setZoom(Zoom zoom, double percent)
{
    m_zoom = zoom;
    m_percent = std::clamp(percent, MinPercent, MaxPercent);
    applyZoom();
}

void PrintPreviewWindow::zoomIn()
{
    setZoom(Zoom::Percent, zoomPercent() * ZoomFactor);
}

void PrintPreviewWindow::zoomOut()
{
    setZoom(Zoom::Percent, zoomPercent() / ZoomFactor);
}

void PrintPreviewWindow::zoomChosen(int index)
{
    if (index <= 1)
        setZoom(index == 0 ? Zoom::WholePage : Zoom::PageWidth);
    else if (index - 2 < int(std::size(ZoomSteps)))
        setZoom(Zoom::Percent, ZoomSteps[index - 2]);
}

void PrintPreviewWindow::applyZoom()
{
    const QSizeF paper = m_pages->paperPixels();
    // The area inside the frame, with or without scroll bars: the viewport
    // itself changes as they come and go, and the fit would follow them.
    const QSize room = m_scroll->contentsRect().size() - QSize(PageRoom, PageRoom);
    double scale = m_percent / 100.0 * logicalDpiX() / m_printer->resolution();
    if (m_zoom == Zoom::WholePage) {
        scale = std::min(room.width() / paper.width(), room.height() / paper.height());
    } else if (m_zoom == Zoom::PageWidth) {
        scale = room.width() / paper.width();
        // A page taller than the window brings the vertical scroll bar, which takes its width.
        if (paper.height() * scale > room.height())
            scale = (room.width() - m_scroll->verticalScrollBar()->sizeHint().width()) / paper.width();
    }
    m_page->setScale(std::max(scale, 0.01));
    showZoomState();
}

// A zoom between the listed steps is shown as one more entry at the end.
void PrintPreviewWindow::showZoomState()
{
    int index = m_zoom == Zoom::WholePage ? 0 : 1;
    if (m_zoom == Zoom::Percent) {
        const QString text = QStringLiteral("%1 %").arg(qRound(zoomPercent()));
        const int custom = 2 + int(std::size(ZoomSteps));
        index = m_zoomBox->findText(text);
        if (index < 0 && m_zoomBox->count() > custom)
            m_zoomBox->setItemText(custom, text);
        else if (index < 0)
            m_zoomBox->addItem(text);
        if (index < 0)
            index = custom;
    }
    m_zoomBox->setCurrentIndex(index);
}

// The fit follows the scroll area, not the window: the area gets its size
// from the layout only after the window's own resize (at opening, after it).
bool PrintPreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll && event->type() == QEvent::Resize && m_zoom != Zoom::Percent)
        applyZoom();
    return QWidget::eventFilter(watched, event);
}

void PrintPreviewWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        setCurrentPage(currentPage() + 1);
        break;
    case Qt::Key_PageUp:
        setCurrentPage(currentPage() - 1);
        break;
    case Qt::Key_Home:
        setCurrentPage(1);
        break;
    case Qt::Key_End:
        setCurrentPage(pageCount());
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
