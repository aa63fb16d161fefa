#include "grid/DataGrid.h"

#include "grid/GridDelegate.h"
#include "grid/GridModel.h"
#include "grid/GridScrollBar.h"
#include "grid/RowSelectorHeader.h"
#include "store/DataSource.h"
#include "store/Dialogs.h"
#include "store/Numbers.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QMenu>
#include <QPainter>
#include <QTimer>

namespace {
constexpr double DefaultColumnTwips = 1000.0;
constexpr double TwipsPerInch = 1440.0;
} // namespace

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new GridModel(this))
    , m_delegate(new GridDelegate(this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    auto *selectors = new RowSelectorHeader(GridModel::rowSelectorSymbols(), this);
    // As QTableView sets up its own row header.
    selectors->setSectionsClickable(true);
    selectors->setHighlightSections(true);
    setVerticalHeader(selectors);
    setVerticalScrollBar(new GridScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new GridScrollBar(Qt::Horizontal, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Typing into a cell starts editing it, as range officers type without the mouse.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The grid lines are drawn here, not by QTableView (see paintEvent).
    setGridStyle(Qt::NoPen);
    // Rows are one line high: a long club name is cut with "…" where the
    // column ends, not after its first word.
    setWordWrap(false);
    fitRowsToFont();
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QHeaderView::customContextMenuRequested, this, &DataGrid::showColumnMenu);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical, int, int newSize) {
        // A width set in twips keeps its exact value; only a user's drag changes it.
        if (logical < columnCount() && newSize > 0
            && twipsToPixels(m_model->columns()[size_t(logical)].widthTwips) != newSize)
            m_model->columns()[size_t(logical)].widthTwips = pixelsToTwips(newSize);
    });
    connect(m_model, &GridModel::userEdited, this, [this](int column) {
        if (currentIndex().row() != m_entryRow) {
            m_entryRow = currentIndex().row();
            m_entryColumn = column;
        }
    });
    connect(m_model, &GridModel::userEdited, this, &DataGrid::afterColEdit);
    connect(m_model, &GridModel::editFailed, this,
            [this](int number, const QString &description) { reportStoreFailure(RingtalError(number, description)); });
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataSource(DataSource *source)
{
    if (m_source)
        m_source->disconnect(this);
    m_source = source;
    if (source) {
        connect(source, &DataSource::recordsetChanged, this, &DataGrid::onRecordsetChanged);
        onRecordsetChanged(source->recordset());
    }
}

Recordset *DataGrid::recordset() const
{
    return m_source ? m_source->recordset() : nullptr;
}

void DataGrid::onRecordsetChanged(Recordset *recordset)
{
    // Without held fields the grid takes the source's field list as its columns.
    if (recordset && (!m_holdFields || m_model->columns().empty()))
        setDesignedColumns(recordset->fieldNames());
    m_model->setRecordset(recordset);
    if (recordset) {
        connect(recordset, &Recordset::currentMoved, this, &DataGrid::showRecordsetRow);
        connect(recordset, &Recordset::reset, this, &DataGrid::showRecordsetRow);
        connect(recordset, &Recordset::reset, this, [this] {
            if (m_keptScroll < 0)
                return;
            verticalScrollBar()->setValue(m_keptScroll);
            m_keptScroll = -1;
            scrollTo(currentIndex());
        });
    }
    showRecordsetRow();
}

void DataGrid::setDesignedColumns(const QStringList &fields, const QVector<double> &widthsInTwips)
{
    m_model->setColumns(fields);
    for (int i = 0; i < fields.size(); ++i) {
        setColumnHidden(i, false);
        columns(i).setWidth(i < widthsInTwips.size() ? widthsInTwips.at(i) : DefaultColumnTwips);
    }
}

int DataGrid::columnCount() const
{
    return int(m_model->columns().size());
}

GridColumn DataGrid::columns(int index)
{
    if (index < 0 || index >= columnCount())
        throw RingtalError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("Index außerhalb des gültigen Bereichs: Spalte %1.").arg(index));
    return GridColumn(this, index);
}

GridColumn DataGrid::columns(const QString &name)
{
    const int index = columnIndex(name);
    if (index < 0)
        throw RingtalError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("Die Spalte '%1' gibt es in diesem Raster nicht.").arg(name));
    return GridColumn(this, index);
}

int DataGrid::columnIndex(const QString &name) const
{
    const auto &cols = m_model->columns();
    for (size_t i = 0; i < cols.size(); ++i) {
        if (cols[i].field.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void DataGrid::commitOpenEditor()
{
    QWidget *editor = m_delegate->openEditor();
    if (editor && state() == QAbstractItemView::EditingState) {
        commitData(editor);
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool DataGrid::isCellOpen() const
{
    return m_delegate->openEditor() && state() == QAbstractItemView::EditingState;
}

bool DataGrid::hasPendingEdit()
{
    commitOpenEditor();
    const Recordset *rs = recordset();
    return rs && rs->isDirty();
}

void DataGrid::refreshRows()
{
    m_entryRow = -1;
    m_model->reload();
    showRecordsetRow();
}

void DataGrid::setReadOnly(bool readOnly)
{
    m_model->setReadOnly(readOnly);
    m_model->setAllowAddNew(!readOnly);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                                   | QAbstractItemView::EditKeyPressed);
}

bool DataGrid::isReadOnly() const
{
    return m_model->isReadOnly();
}

void DataGrid::setTabStop(int column, bool tabStop)
{
    columns(column); // throws for a column that does not exist
    m_model->columns()[size_t(column)].tabStop = tabStop;
}

bool DataGrid::isTabStop(int column) const
{
    return column >= 0 && column < columnCount() && !isColumnHidden(column)
        && m_model->columns()[size_t(column)].tabStop;
}

int DataGrid::firstTabStop() const
{
    int firstVisible = -1;
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual) {
        const int logical = horizontalHeader()->logicalIndex(visual);
        if (isTabStop(logical))
            return logical;
        if (firstVisible < 0 && !isColumnHidden(logical))
            firstVisible = logical;
    }
    return firstVisible;
}

QColor DataGrid::textColor() const
{
    return palette().color(QPalette::Text);
}

void DataGrid::setTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Text, color);
    setPalette(p);
}

double DataGrid::pixelsToTwips(double pixels) const
{
    return pixels * TwipsPerInch / logicalDpiX();
}

int DataGrid::twipsToPixels(double twips) const
{
    return qRound(twips * logicalDpiX() / TwipsPerInch);
}

QVariant DataGrid::currentValue(int column) const
{
    const Recordset *rs = recordset();
    const int field = m_model->columns()[size_t(column)].fieldIndex;
    if (!rs || field < 0)
        return QVariant();
    if (rs->editMode() != Recordset::EditMode::None)
        return rs->bufferValue(field);
    return rs->hasCurrent() ? rs->storedValue(rs->position(), field) : QVariant();
}

void DataGrid::setCurrentValue(int column, const QVariant &value)
{
    Recordset *rs = recordset();
    const int field = m_model->columns()[size_t(column)].fieldIndex;
    if (!rs || field < 0)
        throw RingtalError(ErrorNumber::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
    if (rs->editMode() == Recordset::EditMode::None)
        rs->edit();
    rs->setValue(field, value);
}

void DataGrid::moveColumnTo(int column, int position)
{
    QHeaderView *header = horizontalHeader();
    const int to = std::clamp(position, 0, std::max(0, header->count() - 1));
    header->moveSection(header->visualIndex(column), to);
}

void DataGrid::showRecordsetRow()
{
    const Recordset *rs = recordset();
    if (!rs || m_model->rowCount() == 0)
        return;
    int row = m_model->addNewRow();
    if (row < 0)
        row = rs->isEof() ? m_model->rowCount() - 1 : m_model->viewRow(rs->position());
    // Re-reading the rows resets the view's cell; the column stays where the user was.
    int column = currentIndex().isValid() ? currentIndex().column() : m_lastColumn;
    if (column < 0 || column >= m_model->columnCount() || isColumnHidden(column))
        column = firstTabStop();
    if (column < 0)
        return;
    m_syncing = true;
    setCurrentIndex(m_model->index(row, column));
    m_syncing = false;
    scrollTo(currentIndex());
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        m_lastColumn = current.column();
    if (m_syncing || !current.isValid() || current.row() == previous.row())
        return;
    followViewRow(current.row());
    // A new shooter is typed from the start number on, not from a column
    // the program fills.
    if (m_model->isNewRowLine(current.row()) && !isTabStop(current.column()) && firstTabStop() >= 0)
        QTimer::singleShot(0, this, [this] {
            if (m_model->isNewRowLine(currentIndex().row()) && !isTabStop(currentIndex().column()))
                setCurrentIndex(m_model->index(currentIndex().row(), firstTabStop()));
        });
}

void DataGrid::moveToNextCell()
{
    const QModelIndex next = moveCursor(QAbstractItemView::MoveNext, Qt::NoModifier);
    if (next.isValid())
        setCurrentIndex(next);
}

// A range officer types the shots of one shooter after another: after the
// last shot the cursor goes to the first shot of the next shooter, not to the
// place column that nobody types into.
QModelIndex DataGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex from = currentIndex();
    if ((action != MoveNext && action != MovePrevious) || !from.isValid())
        return QTableView::moveCursor(action, modifiers);
    const QModelIndex to = nextTabStop(from, action == MoveNext);
    if (action == MoveNext && to.row() == from.row() + 1 && from.row() == m_entryRow
        && isTabStop(m_entryColumn) && !m_model->isNewRowLine(to.row()))
        return m_model->index(to.row(), m_entryColumn);
    return to;
}

// The next cell in display order that Tab stops at, over to the next row
// after the last one; the cell itself when there is none.
QModelIndex DataGrid::nextTabStop(const QModelIndex &from, bool forward) const
{
    const QHeaderView *header = horizontalHeader();
    const int step = forward ? 1 : -1;
    int row = from.row();
    int visual = header->visualIndex(from.column());
    for (int tries = 0; tries <= 2 * header->count(); ++tries) {
        visual += step;
        if (visual < 0 || visual >= header->count()) {
            row += step;
            if (row < 0 || row >= m_model->rowCount())
                return from;
            visual = forward ? 0 : header->count() - 1;
        }
        const int logical = header->logicalIndex(visual);
        if (isTabStop(logical))
            return m_model->index(row, logical);
    }
    return from;
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    if (state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            moveToNextCell();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && currentIndex().isValid()
            && (m_model->flags(currentIndex()) & Qt::ItemIsEditable)) {
            // Del empties the cell, as in every table program: an edit like
            // typing, stored when the row is left and given up with Escape.
            m_model->setData(currentIndex(), QString(), Qt::EditRole);
            event->accept();
            return;
        }
        Recordset *rs = recordset();
        if (event->key() == Qt::Key_Escape && rs && rs->editMode() != Recordset::EditMode::None) {
            // Escape on a row in edit gives up its changes, as in every table program.
            event->accept();
            if (!mayGiveUpRow())
                return;
            rs->cancelUpdate();
            m_model->reload();
            showRecordsetRow();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

// A font chosen later (a large one for the projector) must not be cut off by
// rows sized for the font the grid was built with.
void DataGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowsToFont();
}

void DataGrid::fitRowsToFont()
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MM")));
}

// The columns in display order, checked while shown: a club prints its list
// without the ten shots. Hiding and showing go through the column, so the
// stored layout keeps what the user chose.
void DataGrid::showColumnMenu(const QPoint &at)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("columnMenu"));
    const QHeaderView *header = horizontalHeader();
    int shown = 0;
    for (int column = 0; column < columnCount(); ++column)
        shown += isColumnHidden(column) ? 0 : 1;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        const GridModel::Column &column = m_model->columns()[size_t(logical)];
        if (!column.inColumnMenu)
            continue;
        QAction *action = menu.addAction(column.caption.isEmpty() ? column.field : column.caption);
        action->setCheckable(true);
        action->setChecked(!isColumnHidden(logical));
        // Without a visible column the heading is gone, and with it the menu to bring one back.
        action->setEnabled(isColumnHidden(logical) || shown > 1);
        connect(action, &QAction::toggled, this, [this, logical](bool on) { setColumnShown(logical, on); });
    }
    menu.exec(header->viewport()->mapToGlobal(at));
}

void DataGrid::setColumnShown(int column, bool shown)
{
    // What is typed in the cell stays in the row, also when its column goes.
    commitOpenEditor();
    columns(column).setVisible(shown);
    if (!shown && currentIndex().column() == column)
        showRecordsetRow();
}

void DataGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Enter in a cell accepts it and moves on, like Tab.
    if (hint == QAbstractItemDelegate::SubmitModelCache) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        moveToNextCell();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

// QTableView strokes each grid line as a pen line, which the raster engine
// sets pixel by pixel through span buffers (and hands to its thread pool)
// whenever a widget is painted under its clip. After a search jump that was
// a fifth of the repaint. The same pixels as one-pixel rectangles are filled
// directly; the view still keeps the pixel for the grid in every cell.
void DataGrid::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (showGrid() && horizontalHeader()->count() > 0 && verticalHeader()->count() > 0)
        paintGrid(event->region());
    paintHeadingLines(event->region());
}

void DataGrid::paintGrid(const QRegion &region)
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QColor colour =
        QColor::fromRgba(QRgb(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    // Where the rows and columns end, as QTableView limits its painting.
    const int right = horizontalHeader()->length() - horizontalHeader()->offset() - (isRightToLeft() ? 0 : 1);
    const int bottom = verticalHeader()->length() - verticalHeader()->offset() - 1;
    QPainter painter(viewport());
    for (QRect area : region) {
        area.setBottom(std::min(area.bottom(), bottom));
        if (isRightToLeft())
            area.setLeft(std::max(area.left(), viewport()->width() - right));
        else
            area.setRight(std::min(area.right(), right));
        if (area.isValid())
            paintGridLines(painter, area, colour);
    }
}

// A heading line (a class of the winners list) runs across all columns, so it
// is drawn over the empty cells the view painted for it.
void DataGrid::paintHeadingLines(const QRegion &region)
{
    if (!m_model->hasHeadings())
        return;
    const QHeaderView *rows = verticalHeader();
    const QRect bounds = region.boundingRect();
    int top = rows->visualIndexAt(bounds.top());
    int bottom = rows->visualIndexAt(bounds.bottom());
    if (top < 0 || rows->count() == 0)
        return;
    bottom = bottom < 0 ? rows->count() - 1 : bottom;
    const int width = std::min(viewport()->width(), horizontalHeader()->length() - horizontalHeader()->offset());
    QPainter painter(viewport());
    painter.setClipRegion(region);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    for (int visual = top; visual <= bottom; ++visual) {
        const int row = rows->logicalIndex(visual);
        if (!m_model->isHeading(row))
            continue;
        const QRect line(isRightToLeft() ? viewport()->width() - width : 0, rowViewportPosition(row), width,
                         rowHeight(row) - (showGrid() ? 1 : 0));
        painter.fillRect(line, palette().color(QPalette::AlternateBase));
        painter.setPen(palette().color(QPalette::Text));
        const int padding = fontMetrics().averageCharWidth() / 2 + 2;
        painter.drawText(line.adjusted(padding, 0, -padding, 0), Qt::AlignVCenter | Qt::AlignLeading | Qt::TextSingleLine,
                         m_model->index(row, 0).data(GridModel::HeadingRole).toString());
    }
}

// Below each row and at the trailing edge of each column of the area.
void DataGrid::paintGridLines(QPainter &painter, QRect area, const QColor &colour) const
{
    const QHeaderView *rows = verticalHeader();
    const QHeaderView *cols = horizontalHeader();
    const int top = rows->visualIndexAt(area.top());
    int bottom = rows->visualIndexAt(area.bottom());
    if (bottom < 0)
        bottom = rows->count() - 1;
    int first = cols->visualIndexAt(isRightToLeft() ? area.right() : area.left());
    int last = cols->visualIndexAt(isRightToLeft() ? area.left() : area.right());
    first = first < 0 ? 0 : first;
    last = last < 0 ? cols->count() - 1 : last;
    if (top < 0 || top > bottom)
        return;
    for (int visual = top; visual <= bottom; ++visual) {
        const int row = rows->logicalIndex(visual);
        if (rows->isSectionHidden(row))
            continue;
        const int y = rowViewportPosition(row) + rowHeight(row) - 1;
        painter.fillRect(QRect(QPoint(area.left(), y), QPoint(area.right(), y)), colour);
    }
    for (int visual = first; visual <= last; ++visual) {
        const int column = cols->logicalIndex(visual);
        if (cols->isSectionHidden(column))
            continue;
        const int x = columnViewportPosition(column) + (isRightToLeft() ? 0 : columnWidth(column) - 1);
        painter.fillRect(QRect(QPoint(x, area.top()), QPoint(x, area.bottom())), colour);
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    if (!style()->styleHint(QStyle::SH_Table_AlwaysDrawLeftTopGridLines, &option, this))
        return;
    // Some styles close the grid at the top and left when a header is hidden.
    if (cols->isHidden()) {
        const int y = rowViewportPosition(rows->logicalIndex(top)) - 1;
        painter.fillRect(QRect(QPoint(area.left(), y), QPoint(area.right(), y)), colour);
    }
    if (rows->isHidden()) {
        const int x = columnViewportPosition(cols->logicalIndex(first)) - 1;
        painter.fillRect(QRect(QPoint(x, area.top()), QPoint(x, area.bottom())), colour);
    }
}
