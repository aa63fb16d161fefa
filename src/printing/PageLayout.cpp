#include "printing/PageLayout.h"

#include "store/RingtalError.h"

#include <algorithm>
#include <cmath>

namespace {

// Heights are rounded on their way to twips, so a row that fits within a
// hair's breadth still counts as fitting.
constexpr double Tolerance = 1e-6;

[[noreturn]] void noRoom()
{
    throw RingtalError(ErrorNumber::InvalidProcedureCall,
                       QStringLiteral("Die Ränder lassen auf der Seite keinen Platz für die Liste."));
}

} // namespace

PageLayout::PageLayout(const Input &input)
    : m_input(input)
{
    if (input.rowHeight <= 0 || input.areaWidth <= 0)
        noRoom();
    placeColumns();
    placeRows();
}

void PageLayout::placeColumns()
{
    double total = 0;
    for (double width : m_input.columnWidths)
        total += std::max(0.0, width);
    m_scale = total > m_input.areaWidth ? m_input.areaWidth / total : 1.0;
    double left = 0;
    for (double width : m_input.columnWidths) {
        const double scaled = std::max(0.0, width) * m_scale;
        m_columnLefts.push_back(left);
        m_columnWidths.push_back(scaled);
        left += scaled;
    }
}

PageLayout::Page PageLayout::nextPage(int firstRow, bool first) const
{
    Page page;
    page.firstRow = firstRow;
    page.caption = m_input.captionHeight > 0 && (first || m_input.repeatGridHeader);
    page.headings = first || m_input.repeatColumnHeaders;
    page.bodyTop = m_input.headerHeight + (page.caption ? m_input.captionHeight : 0)
                   + (page.headings ? m_input.headingHeight : 0);
    const double room = m_input.areaHeight - m_input.footerHeight - page.bodyTop;
    const int fits = int(std::floor(room / m_input.rowHeight + Tolerance));
    if (fits < 1)
        noRoom();
    page.rowCount = std::min(fits, m_input.rowCount - firstRow);
    const QVector<int> &headings = m_input.headingRows;
    const auto next = std::upper_bound(headings.cbegin(), headings.cend(), firstRow);
    if (m_input.newPagePerHeading && next != headings.cend() && *next < firstRow + page.rowCount)
        page.rowCount = *next - firstRow;
    // A heading at the foot of a page would stand apart from its rows.
    const int last = firstRow + page.rowCount - 1;
    if (page.rowCount > 1 && last + 1 < m_input.rowCount && std::binary_search(headings.cbegin(), headings.cend(), last))
        --page.rowCount;
    return page;
}

void PageLayout::placeRows()
{
    // A list without rows still prints one page: the title, the headings, the footer.
    m_pages.push_back(nextPage(0, true));
    while (m_pages.back().firstRow + m_pages.back().rowCount < m_input.rowCount) {
        const Page &last = m_pages.back();
        m_pages.push_back(nextPage(last.firstRow + last.rowCount, false));
    }
}

int PageLayout::pageOfRow(int row) const
{
    const auto after = std::upper_bound(m_pages.cbegin(), m_pages.cend(), row,
                                        [](int r, const Page &page) { return r < page.firstRow; });
    return int(after - m_pages.cbegin()) - 1;
}

double PageLayout::tableWidth() const
{
    return m_columnLefts.isEmpty() ? 0 : m_columnLefts.back() + m_columnWidths.back();
}

double PageLayout::headingTop(int page) const
{
    return m_input.headerHeight + (m_pages.at(page).caption ? m_input.captionHeight : 0);
}
