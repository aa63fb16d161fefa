#include "printing/PageRenderer.h"

#include "printing/GlyphBatch.h"
#include "printing/PageText.h"

#include <QPaintDevice>
#include <QPainter>

namespace {

constexpr double TwipsPerInch = 1440.0;
// Room between a cell's text and its lines, and between the header or footer and the list.
constexpr double CellPaddingX = 30;
constexpr double CellPaddingY = 40;
constexpr double BandGap = 120;
constexpr double GridLineWidth = 8;

} // namespace

PageRenderer::PageRenderer(const PrintInfo &info, PrintTable table, QPaintDevice *device, const QSizeF &paperTwips)
    : m_info(info)
    , m_table(std::move(table))
    , m_device(device)
    , m_paper(paperTwips)
    , m_margins(info.marginsInTwips())
    , m_dpiX(device->logicalDpiX())
    , m_dpiY(device->logicalDpiY())
    , m_headerTexts(info.pageHeaderFont, device)
    , m_footerTexts(info.pageFooterFont, device)
    , m_cellTexts(m_table.cellFont, device)
    , m_headingTexts(m_table.headingFont, device)
{
    m_layout = std::make_unique<PageLayout>(measure());
}

PageLayout::Input PageRenderer::measure()
{
    PageLayout::Input input;
    input.areaWidth = m_paper.width() - m_margins.left() - m_margins.right();
    input.areaHeight = m_paper.height() - m_margins.top() - m_margins.bottom();
    if (!m_info.pageHeader.isEmpty())
        input.headerHeight = toTwipsY(m_headerTexts.lineHeight()) + BandGap;
    if (!m_info.pageSubheader.isEmpty())
        input.headerHeight += toTwipsY(m_footerTexts.lineHeight()) + (m_info.pageHeader.isEmpty() ? BandGap : 0);
    if (!m_info.pageFooter.isEmpty())
        input.footerHeight = toTwipsY(m_footerTexts.lineHeight()) + BandGap;
    const double headingLine = toTwipsY(m_headingTexts.lineHeight()) + 2 * CellPaddingY;
    if (!m_table.caption.isEmpty())
        input.captionHeight = headingLine;
    input.headingHeight = std::max(m_table.headingHeightTwips, headingLine);
    input.rowHeight = std::max(m_table.rowHeightTwips, toTwipsY(m_cellTexts.lineHeight()) + 2 * CellPaddingY);
    for (int column = 0; column < m_table.columns.size(); ++column)
        input.columnWidths.push_back(m_info.fitColumnsToContents ? contentWidth(column)
                                                                 : m_table.columns.at(column).widthTwips);
    input.rowCount = m_table.rowCount;
    input.repeatGridHeader = m_info.repeatGridHeader;
    input.repeatColumnHeaders = m_info.repeatColumnHeaders;
    input.headingRows = m_table.headingRows();
    input.newPagePerHeading = m_info.newPagePerHeading;
    return input;
}

// The widest text of a column in the fonts it prints in, with the room
// placeText leaves on either side. The layout scales these down together
// when the page is too narrow, as it does the grid's widths.
double PageRenderer::contentWidth(int column)
{
    qreal widest = m_headingTexts.shaped(m_table.columns.at(column).caption).width;
    for (int row = 0; row < m_table.rowCount; ++row)
        widest = std::max(widest, m_cellTexts.shaped(m_table.text(row, column)).width);
    // A twip more, so that rounding on the way back to pixels does not cut the widest text.
    return widest * TwipsPerInch / m_dpiX + 2 * CellPaddingX + 1;
}

QSizeF PageRenderer::paperPixels() const
{
    return QSizeF(m_paper.width() * m_dpiX / TwipsPerInch, m_paper.height() * m_dpiY / TwipsPerInch);
}

double PageRenderer::x(double twips) const
{
    return (m_margins.left() + twips) * m_dpiX / TwipsPerInch;
}

double PageRenderer::y(double twips) const
{
    return (m_margins.top() + twips) * m_dpiY / TwipsPerInch;
}

double PageRenderer::toTwipsY(double pixels) const
{
    return pixels * TwipsPerInch / m_dpiY;
}

void PageRenderer::paint(QPainter &painter, int index)
{
    const PageLayout::Page &page = m_layout->page(index);
    const bool plain = m_table.background == QColor(Qt::white);
    const PageLayout::Input &input = m_layout->input();
    if (!plain && page.rowCount > 0)
        painter.fillRect(QRectF(QPointF(x(0), y(page.bodyTop)),
                                QPointF(x(m_layout->tableWidth()), y(page.bodyTop + page.rowCount * input.rowHeight))),
                         m_table.background);
    if (page.caption)
        paintCaption(painter);
    if (page.headings)
        paintHeadings(painter, index);
    paintRows(painter, page);
    paintGridLines(painter, index);
    paintHeadingRows(painter, page);
    painter.setPen(Qt::black);
    paintPageText(painter, m_headerTexts, m_info.pageHeader, index, 0);
    if (!m_info.pageSubheader.isEmpty())
        paintPageText(painter, m_footerTexts, m_info.pageSubheader, index,
                      m_info.pageHeader.isEmpty() ? 0 : toTwipsY(m_headerTexts.lineHeight()));
    paintPageText(painter, m_footerTexts, m_info.pageFooter, index,
                  input.areaHeight - toTwipsY(m_footerTexts.lineHeight()));
}

// Left part at the left margin, centre part centred, right part ending at the right margin.
void PageRenderer::paintPageText(QPainter &painter, TextRunCache &texts, const QString &text, int index, double top)
{
    if (text.isEmpty())
        return;
    const std::array<QString, 3> parts = PageText::parts(text);
    const double left = x(0);
    const double right = x(m_layout->input().areaWidth);
    GlyphBatch batch(painter);
    for (size_t i = 0; i < parts.size(); ++i) {
        const QString shown = PageText::substitute(parts[i], index + 1, pageCount());
        if (shown.isEmpty())
            continue;
        const TextRunCache::Entry &entry = texts.shaped(shown);
        const double at = i == 0 ? left : i == 1 ? (left + right - entry.width) / 2 : right - entry.width;
        batch.add(entry.runs, QPointF(at, y(top)));
    }
}

void PageRenderer::paintCaption(QPainter &painter)
{
    const double top = m_layout->captionTop();
    const double height = m_layout->input().captionHeight;
    const QRectF band(QPointF(x(0), y(top)), QPointF(x(m_layout->tableWidth()), y(top + height)));
    painter.fillRect(band, m_table.headingBackground);
    painter.setPen(m_table.headingTextColor);
    GlyphBatch batch(painter);
    const TextRunCache::Entry &entry = m_headingTexts.fitted(m_table.caption, band.width());
    const double textTop = top + (height - toTwipsY(m_headingTexts.lineHeight())) / 2;
    batch.add(entry.runs, QPointF(band.center().x() - entry.width / 2, y(textTop)));
}

void PageRenderer::paintHeadings(QPainter &painter, int index)
{
    const double top = m_layout->headingTop(index);
    const double height = m_layout->input().headingHeight;
    painter.fillRect(QRectF(QPointF(x(0), y(top)), QPointF(x(m_layout->tableWidth()), y(top + height))),
                     m_table.headingBackground);
    painter.setPen(m_table.headingTextColor);
    GlyphBatch batch(painter);
    for (int column = 0; column < m_table.columns.size(); ++column) {
        const PrintTable::Column &c = m_table.columns.at(column);
        placeText(batch, m_headingTexts, c.caption, c.headingAlignment, column, top, height);
    }
}

void PageRenderer::paintRows(QPainter &painter, const PageLayout::Page &page)
{
    const double rowHeight = m_layout->input().rowHeight;
    painter.setPen(m_table.textColor);
    GlyphBatch batch(painter);
    for (int i = 0; i < page.rowCount; ++i) {
        const int row = page.firstRow + i;
        const double top = page.bodyTop + i * rowHeight;
        for (int column = 0; column < m_table.columns.size(); ++column)
            placeText(batch, m_cellTexts, m_table.text(row, column), m_table.alignment(row, column), column, top,
                      rowHeight);
    }
}

// A heading line runs across the columns: drawn over the lines between them,
// inside the lines around it, in the column headings' looks.
void PageRenderer::paintHeadingRows(QPainter &painter, const PageLayout::Page &page)
{
    const double rowHeight = m_layout->input().rowHeight;
    const double line = GridLineWidth / 2;
    for (int i = 0; i < page.rowCount; ++i) {
        const QString &heading = m_table.heading(page.firstRow + i);
        if (heading.isEmpty())
            continue;
        const double top = page.bodyTop + i * rowHeight;
        const QRectF band(QPointF(x(line), y(top + line)), QPointF(x(m_layout->tableWidth() - line), y(top + rowHeight - line)));
        painter.fillRect(band, m_table.headingBackground);
        painter.setPen(m_table.headingTextColor);
        GlyphBatch batch(painter);
        const TextRunCache::Entry &entry = m_headingTexts.fitted(heading, band.width() - x(2 * CellPaddingX) + x(0));
        batch.add(entry.runs, QPointF(x(CellPaddingX), y(top + (rowHeight - toTwipsY(m_headingTexts.lineHeight())) / 2)));
    }
}

// A cell's text in its column, vertically centred, cut with an ellipsis when it is wider.
void PageRenderer::placeText(GlyphBatch &batch, TextRunCache &texts, const QString &text, Qt::Alignment alignment,
                             int column, double top, double height)
{
    if (text.isEmpty())
        return;
    const double left = x(m_layout->columnLeft(column) + CellPaddingX);
    const double right = x(m_layout->columnLeft(column) + m_layout->columnWidth(column) - CellPaddingX);
    if (right <= left)
        return;
    const TextRunCache::Entry &entry = texts.fitted(text, right - left);
    double at = left;
    if (alignment & Qt::AlignRight)
        at = right - entry.width;
    else if (alignment & Qt::AlignHCenter)
        at = (left + right - entry.width) / 2;
    batch.add(entry.runs, QPointF(at, y(top + (height - toTwipsY(texts.lineHeight())) / 2)));
}

void PageRenderer::paintGridLines(QPainter &painter, int index)
{
    const PageLayout::Page &page = m_layout->page(index);
    const PageLayout::Input &input = m_layout->input();
    const double top = page.caption    ? m_layout->captionTop()
                       : page.headings ? m_layout->headingTop(index)
                                       : page.bodyTop;
    const double bottom = page.bodyTop + page.rowCount * input.rowHeight;
    const double left = 0;
    const double right = m_layout->tableWidth();
    QVector<QLineF> lines;
    lines.reserve(page.rowCount + m_table.columns.size() + 4);
    if (page.caption)
        lines.push_back(QLineF(x(left), y(top), x(right), y(top)));
    if (page.headings)
        lines.push_back(QLineF(x(left), y(m_layout->headingTop(index)), x(right), y(m_layout->headingTop(index))));
    for (int i = 0; i <= page.rowCount; ++i) {
        const double at = page.bodyTop + i * input.rowHeight;
        lines.push_back(QLineF(x(left), y(at), x(right), y(at)));
    }
    const double columnsTop = page.headings ? m_layout->headingTop(index) : page.bodyTop;
    for (int column = 0; column <= m_table.columns.size(); ++column) {
        const double at = column < m_table.columns.size() ? m_layout->columnLeft(column) : right;
        lines.push_back(QLineF(x(at), y(columnsTop), x(at), y(bottom)));
    }
    if (page.caption) {
        lines.push_back(QLineF(x(left), y(top), x(left), y(columnsTop)));
        lines.push_back(QLineF(x(right), y(top), x(right), y(columnsTop)));
    }
    painter.setPen(QPen(m_table.gridLineColor, GridLineWidth * m_dpiX / TwipsPerInch));
    painter.drawLines(lines);
}
