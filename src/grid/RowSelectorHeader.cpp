#include "grid/RowSelectorHeader.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionHeader>

RowSelectorHeader::RowSelectorHeader(const QStringList &symbols, QWidget *parent)
    : QHeaderView(Qt::Vertical, parent)
    , m_symbols(symbols)
{
}

// Measured as QHeaderView measures a section, the text in bold, for each
// symbol instead of each row.
QSize RowSelectorHeader::sizeHint() const
{
    if (count() == 0)
        return QSize(0, 0);
    if (m_hint.isValid())
        return m_hint;
    ensurePolished();
    QStyleOptionHeader option;
    initStyleOption(&option);
    QFont bold = font();
    bold.setBold(true);
    option.fontMetrics = QFontMetrics(bold);
    QSize hint(0, 0);
    for (const QString &symbol : m_symbols) {
        option.text = symbol;
        hint = hint.expandedTo(style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this));
    }
    m_hint = hint;
    return hint;
}

void RowSelectorHeader::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_hint = QSize();
    QHeaderView::changeEvent(event);
}
