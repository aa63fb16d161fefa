#include "DataGrid.h"

#include "DataSource.h"
#include "Dialogs.h"
#include "GridDelegate.h"
#include "GridModel.h"
#include "Recordset.h"
#include "RingtalError.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
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
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Typing into a cell starts editing it, as range officers type without the mouse.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
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
    connect(m_model, &GridModel::editFailed, this, &DataGrid::reportStoreFailure);
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

bool DataGrid::hasPendingEdit()
{
    commitOpenEditor();
    const Recordset *rs = recordset();
    return rs && rs->isDirty();
}

void DataGrid::storePendingEdit()
{
    commitOpenEditor();
    Recordset *rs = recordset();
    if (!rs)
        return;
    if (rs->isDirty())
        rs->update();
    else
        rs->cancelUpdate();
}

void DataGrid::refreshRows()
{
    m_entryRow = -1;
    m_model->reload();
    showRecordsetRow();
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
        row = rs->isEof() ? m_model->rowCount() - 1 : rs->position();
    // Re-reading the rows resets the view's cell; the column stays where the user was.
    int column = currentIndex().isValid() ? currentIndex().column() : m_lastColumn;
    if (column < 0 || column >= m_model->columnCount() || isColumnHidden(column)) {
        for (int visual = 0; visual < horizontalHeader()->count(); ++visual) {
            const int logical = horizontalHeader()->logicalIndex(visual);
            if (!isColumnHidden(logical)) {
                column = logical;
                break;
            }
        }
    }
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
}

// The row the user moved to becomes the current row; the row left is stored
// first. When it cannot be stored, the user is told why and taken back to it.
void DataGrid::followViewRow(int row)
{
    Recordset *rs = recordset();
    if (!rs || row == m_model->addNewRow())
        return;
    try {
        if (m_model->isNewRowLine(row)) {
            storePendingEdit();
            rs->moveTo(rs->rowCount());
        } else {
            rs->moveTo(row);
        }
    } catch (const RingtalError &error) {
        reportStoreFailure(error.number(), error.description());
        QTimer::singleShot(0, this, &DataGrid::showRecordsetRow);
    }
}

void DataGrid::reportStoreFailure(int number, const QString &description)
{
    Dialogs::current().message(QStringLiteral("Fehler"),
                               QStringLiteral("Fehler: %1 - %2\nDie Zeile wurde nicht gespeichert und bleibt "
                                              "zur Korrektur in Bearbeitung.")
                                   .arg(number)
                                   .arg(description),
                               Dialogs::Icon::Critical);
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
    const QModelIndex to = QTableView::moveCursor(action, modifiers);
    if (action == MoveNext && from.isValid() && to.isValid() && to.row() == from.row() + 1
        && from.row() == m_entryRow && m_entryColumn >= 0 && !isColumnHidden(m_entryColumn))
        return m_model->index(to.row(), m_entryColumn);
    return to;
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
            rs->cancelUpdate();
            m_model->reload();
            showRecordsetRow();
            event->accept();
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
