#pragma once

#include <QVector>

// Which rows land on which page, and where the columns stand: all in twips,
// measured from the top left of the printable area (inside the margins).
// Every page carries all columns, in display order with their widths, scaled
// down together when they are wider than the area. The page header stands at
// the top and the footer at the bottom of every page; the grid's caption and
// the column headings stand on the first page and, when they are repeated,
// on every following page.
class PageLayout
{
public:
    struct Input
    {
        double areaWidth = 0;
        double areaHeight = 0;
        double headerHeight = 0; // 0 when the page header is blank
        double footerHeight = 0;
        double captionHeight = 0; // 0 when the grid has no caption
        double headingHeight = 0;
        double rowHeight = 0;
        QVector<double> columnWidths;
        int rowCount = 0;
        bool repeatGridHeader = false;
        bool repeatColumnHeaders = false;
        // Heading lines (classes), in order: none ends a page, and with
        // newPagePerHeading each but the first starts one.
        QVector<int> headingRows;
        bool newPagePerHeading = false;
    };

    struct Page
    {
        int firstRow = 0;
        int rowCount = 0;
        bool caption = false;
        bool headings = false;
        double bodyTop = 0; // top of the first row
    };

    // Throws RingtalError (invalid procedure call) when the margins leave no
    // room for a row, or a height is not positive.
    explicit PageLayout(const Input &input);

    int pageCount() const { return int(m_pages.size()); }
    const Page &page(int index) const { return m_pages.at(index); }
    // 0-based page of a row.
    int pageOfRow(int row) const;

    double scale() const { return m_scale; }
    double columnLeft(int column) const { return m_columnLefts.at(column); }
    double columnWidth(int column) const { return m_columnWidths.at(column); }
    double tableWidth() const;
    const Input &input() const { return m_input; }
    // Top of the caption and headings bands of a page.
    double captionTop() const { return m_input.headerHeight; }
    double headingTop(int page) const;
    double footerTop() const { return m_input.areaHeight - m_input.footerHeight; }

private:
    void placeColumns();
    void placeRows();
    Page nextPage(int firstRow, bool first) const;

    Input m_input;
    double m_scale = 1.0;
    QVector<double> m_columnLefts;
    QVector<double> m_columnWidths;
    QVector<Page> m_pages;
};
