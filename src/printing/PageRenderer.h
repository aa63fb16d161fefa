#pragma once

#include "grid/PrintInfo.h"
#include "printing/PageLayout.h"
#include "printing/PageSource.h"
#include "printing/PrintTable.h"
#include "printing/TextRunCache.h"

#include <QSizeF>
#include <memory>

class GlyphBatch;
class QPaintDevice;
class QPainter;

// Paints the pages of a table as the print settings say: the page header's
// parts at the top, the caption and column headings, the rows, the footer's
// parts at the bottom, with \p and \P filled in. Texts are measured on the
// device the pages are meant for (the printer), so that a preview and the
// print break the pages alike.
class PageRenderer : public PageSource
{
public:
    // The paper's full size in twips, as the device's page is oriented.
    // Throws RingtalError when the margins leave no room for a row.
    PageRenderer(const PrintInfo &info, PrintTable table, QPaintDevice *device, const QSizeF &paperTwips);

    const PageLayout &layout() const { return *m_layout; }
    int pageCount() const override { return m_layout->pageCount(); }
    const QSizeF &paperTwips() const { return m_paper; }
    const PrintTable &table() const { return m_table; }
    // The paper in the device's pixels.
    QSizeF paperPixels() const override;

    // Paints page `index` (0-based). The painter draws in the device's
    // pixels, its origin at the paper's top left.
    void paint(QPainter &painter, int index) override;

private:
    PageLayout::Input measure();
    double contentWidth(int column);
    void paintPageText(QPainter &painter, TextRunCache &texts, const QString &text, int index, double top);
    void paintCaption(QPainter &painter);
    void paintHeadings(QPainter &painter, int index);
    void paintRows(QPainter &painter, const PageLayout::Page &page);
    void paintHeadingRows(QPainter &painter, const PageLayout::Page &page);
    void paintGridLines(QPainter &painter, int index);
    void placeText(GlyphBatch &batch, TextRunCache &texts, const QString &text, Qt::Alignment alignment, int column,
                   double top, double height);

    double x(double twips) const;
    double y(double twips) const;
    double toTwipsY(double pixels) const;

    PrintInfo m_info;
    PrintTable m_table;
    QPaintDevice *m_device;
    QSizeF m_paper;
    QMarginsF m_margins;
    double m_dpiX;
    double m_dpiY;
    TextRunCache m_headerTexts;
    TextRunCache m_footerTexts;
    TextRunCache m_cellTexts;
    TextRunCache m_headingTexts;
    std::unique_ptr<PageLayout> m_layout;
};
