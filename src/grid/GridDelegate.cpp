#include "grid/GridDelegate.h"

#include "grid/GridModel.h"

#include <QApplication>
#include <QCompleter>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

namespace {

// A cell the style has nothing to paint for but its text: not selected,
// without focus or hover, background, check box or icon.
bool isPlain(const QStyleOptionViewItem &cell)
{
    return !(cell.state & (QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver))
        && cell.backgroundBrush.style() == Qt::NoBrush
        && !(cell.features
             & (QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration
                | QStyleOptionViewItem::Alternate));
}

} // namespace

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setFrame(false);
        // A number typed into a right-aligned column stands where it will be shown.
        line->setAlignment(Qt::AlignVCenter
                           | (index.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask));
        // The list shows what fits the letters typed so far.
        const QStringList choices = index.data(GridModel::ChoicesRole).toStringList();
        if (!choices.isEmpty()) {
            auto *completer = new QCompleter(choices, line);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            completer->setCompletionMode(QCompleter::PopupCompletion);
            line->setCompleter(completer);
        }
    }
    m_editor = editor;
    return editor;
}

void GridDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (editor == m_editor)
        m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

// The style lays a cell's text out two or three times for every paint (size,
// eliding, drawing); with a whole page of new rows after each search
// keystroke that is most of the keystroke's time. Here the style still paints
// background, selection and focus, and each text (or its elided form, for a
// text too wide for its one-line cell) is laid out once per font and drawn
// from that layout where the style would draw it.
void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QWidget *widget = cell.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = cell.rect.adjusted(margin, 0, -margin, 0);
    const QString text = cell.text;
    const QStaticText *laid = text.isEmpty() ? nullptr : &laidOut(text, cell.font);
    if (laid && laid->size().width() > area.width()) {
        // A view that wraps long texts onto further lines is the style's to paint.
        if (cell.features & QStyleOptionViewItem::WrapText) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        laid = &laidOut(elided(text, cell, area.width()), cell.font);
    }
    cell.text.clear();
    // Asking the style costs more than the text on a plain cell, which is
    // most of a page, when it draws nothing there anyway.
    if (!isPlain(cell) || !leavesPlainCellsEmpty(style, cell))
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    if (!laid)
        return;

    const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (cell.state & QStyle::State_Active) ? QPalette::Normal
                                                                               : QPalette::Inactive;
    const QPalette::ColorRole role =
        (cell.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    const QSizeF size = laid->size();
    const Qt::Alignment horizontal = QStyle::visualAlignment(cell.direction, cell.displayAlignment);
    qreal x = area.x();
    if (horizontal & Qt::AlignRight)
        x += area.width() - size.width();
    else if (horizontal & Qt::AlignHCenter)
        x += (area.width() - size.width()) / 2;
    const QRect vertical = QStyle::alignedRect(Qt::LayoutDirectionAuto, cell.displayAlignment & Qt::AlignVertical_Mask,
                                               size.toSize(), area);
    painter->save();
    painter->setFont(cell.font);
    painter->setPen(cell.palette.color(group, role));
    painter->drawStaticText(QPointF(x, vertical.top()), *laid);
    painter->restore();
}

// Asked once per style, by painting a plain cell where it can be seen.
bool GridDelegate::leavesPlainCellsEmpty(const QStyle *style, const QStyleOptionViewItem &cell) const
{
    if (style == m_probedStyle)
        return m_plainCellsEmpty;
    QImage probe(cell.rect.size(), QImage::Format_ARGB32_Premultiplied);
    probe.fill(Qt::transparent);
    {
        QPainter painter(&probe);
        painter.translate(-cell.rect.topLeft());
        style->drawControl(QStyle::CE_ItemViewItem, &cell, &painter, cell.widget);
    }
    m_probedStyle = style;
    m_plainCellsEmpty = true;
    for (int y = 0; y < probe.height() && m_plainCellsEmpty; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(probe.constScanLine(y));
        m_plainCellsEmpty = std::all_of(line, line + probe.width(), [](QRgb pixel) { return pixel == 0; });
    }
    return m_plainCellsEmpty;
}

QString GridDelegate::elided(const QString &text, const QStyleOptionViewItem &cell, int width) const
{
    const QString key = QString::number(width) + QLatin1Char(' ') + QString::number(int(cell.textElideMode))
                        + QLatin1Char(' ') + text;
    if (const QString *known = m_elided.object(key))
        return *known;
    const QString result = cell.fontMetrics.elidedText(text, cell.textElideMode, width);
    m_elided.insert(key, new QString(result));
    return result;
}

const QStaticText &GridDelegate::laidOut(const QString &text, const QFont &font) const
{
    if (font != m_textsFont) {
        m_texts.clear();
        m_elided.clear();
        m_textsFont = font;
    }
    if (QStaticText *known = m_texts.object(text))
        return *known;
    auto *laid = new QStaticText(text);
    laid->setTextFormat(Qt::PlainText);
    laid->prepare(QTransform(), font);
    m_texts.insert(text, laid);
    return *laid;
}
