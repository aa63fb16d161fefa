#include "grid/GridModel.h"

#include "store/Numbers.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"

#include <QColor>

GridModel::GridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void GridModel::setRecordset(Recordset *recordset)
{
    beginResetModel();
    if (m_recordset)
        m_recordset->disconnect(this);
    m_recordset = recordset;
    if (recordset) {
        connect(recordset, &Recordset::aboutToReset, this, [this] {
            m_notes.clear();
            beginResetModel();
        });
        connect(recordset, &Recordset::reset, this, [this] {
            m_rowsShown = shownRows();
            endResetModel();
        });
        connect(recordset, &Recordset::aboutToRemoveRow, this, [this](int row) { beginRemoveRows({}, row, row); });
        connect(recordset, &Recordset::rowRemoved, this, [this] {
            m_rowsShown = shownRows();
            endRemoveRows();
            syncRowCount();
        });
        connect(recordset, &Recordset::rowChanged, this,
                [this](int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); });
        connect(recordset, &Recordset::rowAppended, this, [this](int row) {
            syncRowCount();
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        connect(recordset, &Recordset::currentMoved, this, [this](int row) {
            clearCellNotes();
            // Only the row selectors of the row left and the row reached change.
            const int last = std::max(0, rowCount() - 1);
            const int left = std::min(viewRow(m_markedRow), last);
            emit headerDataChanged(Qt::Vertical, left, left);
            m_markedRow = row;
            const int reached = std::min(viewRow(row), last);
            emit headerDataChanged(Qt::Vertical, reached, reached);
        });
        connect(recordset, &Recordset::bufferChanged, this, [this](int field) {
            if (field < 0 && m_recordset->editMode() == Recordset::EditMode::None) {
                clearCellNotes();
                m_typed.clear();
            }
            syncRowCount();
            const int row = addNewRow() >= 0 ? addNewRow() : m_recordset->position();
            if (row >= rowCount())
                return;
            if (field < 0) {
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
                emit headerDataChanged(Qt::Vertical, row, row);
                return;
            }
            // Cell by cell: the view repaints just those cells, not the whole
            // table, while a row's score is written after every keystroke.
            for (int column = 0; column < columnCount(); ++column) {
                if (m_columns[size_t(column)].fieldIndex == field)
                    emit dataChanged(index(row, column), index(row, column));
            }
        });
    }
    mapFields();
    arrangeLines();
    m_rowsShown = shownRows();
    m_markedRow = recordset ? recordset->position() : 0;
    endResetModel();
}

void GridModel::setColumns(const QStringList &fields)
{
    beginResetModel();
    m_columns.clear();
    for (const QString &field : fields) {
        Column column;
        column.field = field;
        column.caption = field;
        m_columns.push_back(std::move(column));
    }
    mapFields();
    endResetModel();
}

void GridModel::columnsChanged(int first, int last)
{
    emit headerDataChanged(Qt::Horizontal, first, last);
}

void GridModel::mapFields()
{
    for (Column &column : m_columns)
        column.fieldIndex = m_recordset ? m_recordset->fieldIndex(column.field) : -1;
}

void GridModel::setAllowAddNew(bool allow)
{
    if (allow == m_allowAddNew)
        return;
    beginResetModel();
    m_allowAddNew = allow;
    m_rowsShown = shownRows();
    endResetModel();
}

void GridModel::setGrouping(const QString &field, const std::vector<ClassDef> &classes)
{
    beginResetModel();
    m_groupField = field;
    m_classes = classes;
    arrangeLines();
    m_rowsShown = shownRows();
    endResetModel();
}

// Only a view nobody types into is grouped: typing needs the rows where the
// recordset has them.
void GridModel::arrangeLines()
{
    m_lines.clear();
    m_viewRowOf.clear();
    const int field = m_recordset ? m_recordset->fieldIndex(m_groupField) : -1;
    if (m_groupField.isEmpty() || field < 0 || !m_readOnly || m_allowAddNew)
        return;
    QStringList classOfRows;
    classOfRows.reserve(m_recordset->rowCount());
    for (int row = 0; row < m_recordset->rowCount(); ++row)
        classOfRows << m_recordset->storedValue(row, field).toString();
    std::vector<Classes::Line> lines = Classes::arrange(classOfRows, m_classes);
    if (lines.size() == size_t(classOfRows.size()))
        return; // no heading: the rows as they come
    m_lines = std::move(lines);
    m_viewRowOf.assign(size_t(classOfRows.size()), -1);
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].row >= 0)
            m_viewRowOf[size_t(m_lines[i].row)] = int(i);
    }
}

int GridModel::recordRow(int viewRow) const
{
    if (m_lines.empty())
        return viewRow;
    return viewRow >= 0 && size_t(viewRow) < m_lines.size() ? m_lines[size_t(viewRow)].row : -1;
}

int GridModel::viewRow(int recordRow) const
{
    if (m_lines.empty())
        return recordRow;
    return recordRow >= 0 && size_t(recordRow) < m_viewRowOf.size() ? m_viewRowOf[size_t(recordRow)]
                                                                    : int(m_lines.size());
}

int GridModel::shownRows() const
{
    if (!m_recordset)
        return 0;
    if (!m_lines.empty())
        return int(m_lines.size());
    return m_recordset->rowCount() + (addNewRow() >= 0 ? 1 : 0) + (m_allowAddNew ? 1 : 0);
}

// Rows come and go at the end only (a new row started or given up), so the
// change is announced as an insertion or removal there.
void GridModel::syncRowCount()
{
    const int now = shownRows();
    if (now > m_rowsShown) {
        beginInsertRows({}, m_rowsShown, now - 1);
        m_rowsShown = now;
        endInsertRows();
    } else if (now < m_rowsShown) {
        beginRemoveRows({}, now, m_rowsShown - 1);
        m_rowsShown = now;
        endRemoveRows();
    }
}

void GridModel::setCellNote(int column, const QString &note)
{
    if (!m_recordset || column < 0 || column >= columnCount())
        return;
    const int row = addNewRow() >= 0 ? addNewRow() : m_recordset->position();
    if (row != m_notesRow)
        clearCellNotes();
    m_notesRow = row;
    if (note.isEmpty() ? m_notes.remove(column) == 0 : m_notes.value(column) == note)
        return;
    if (!note.isEmpty())
        m_notes.insert(column, note);
    emit dataChanged(index(row, column), index(row, column), {Qt::BackgroundRole, Qt::ToolTipRole});
}

QString GridModel::cellNote(int row, int column) const
{
    return row == m_notesRow ? m_notes.value(column) : QString();
}

void GridModel::clearCellNotes()
{
    if (m_notes.isEmpty())
        return;
    const QList<int> columns = m_notes.keys();
    m_notes.clear();
    for (const int column : columns) {
        if (m_notesRow < rowCount())
            emit dataChanged(index(m_notesRow, column), index(m_notesRow, column), {Qt::BackgroundRole, Qt::ToolTipRole});
    }
}

void GridModel::reload()
{
    m_notes.clear();
    beginResetModel();
    mapFields();
    arrangeLines();
    m_rowsShown = shownRows();
    endResetModel();
}

int GridModel::addNewRow() const
{
    if (m_recordset && m_recordset->editMode() == Recordset::EditMode::AddNew)
        return m_recordset->rowCount();
    return -1;
}

bool GridModel::isNewRowLine(int row) const
{
    return m_allowAddNew && m_recordset && row == m_rowsShown - 1;
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowsShown;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::cellValue(int viewRow, int column) const
{
    if (!m_recordset || column < 0 || column >= int(m_columns.size()))
        return QVariant();
    const int row = recordRow(viewRow);
    if (row < 0)
        return QVariant();
    const int field = m_columns[size_t(column)].fieldIndex;
    if (field < 0 || isNewRowLine(row))
        return QVariant();
    const bool editing = m_recordset->editMode() != Recordset::EditMode::None;
    if (row == addNewRow() || (editing && row == m_recordset->position() && addNewRow() < 0))
        return m_recordset->bufferValue(field);
    if (row < m_recordset->rowCount())
        return m_recordset->storedValue(row, field);
    return QVariant();
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Numbers::cellText(cellValue(index.row(), index.column()));
    case ChoicesRole:
        return m_columns[size_t(index.column())].choices;
    case HeadingRole:
        return isHeading(index.row()) ? QVariant(m_lines[size_t(index.row())].heading) : QVariant();
    case Qt::TextAlignmentRole: {
        // A number field keeps its alignment while a value is typed into it,
        // before the value is converted on storing.
        const QVariant v = cellValue(index.row(), index.column());
        const bool number = v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong
                         || v.typeId() == QMetaType::Int
                         || ((v.isNull() || v.typeId() == QMetaType::QString)
                             && isNumberField(m_columns[size_t(index.column())].fieldIndex));
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    case Qt::BackgroundRole:
        if (!cellNote(index.row(), index.column()).isEmpty())
            return QColor(255, 214, 153);
        return QVariant();
    case Qt::ToolTipRole: {
        const QString note = cellNote(index.row(), index.column());
        return note.isEmpty() ? QVariant() : QVariant(note);
    }
    default:
        return QVariant();
    }
}

namespace {
const QString Marker = QStringLiteral("\u25B6");
const QString Pencil = QStringLiteral("\u270E");
const QString NewRow = QStringLiteral("*");
} // namespace

const QStringList &GridModel::rowSelectorSymbols()
{
    static const QStringList symbols{QString(), Marker, Pencil, NewRow};
    return symbols;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= int(m_columns.size()))
            return QVariant();
        if (role == Qt::DisplayRole)
            return m_columns[size_t(section)].caption;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(m_columns[size_t(section)].headingAlignment);
        return QVariant();
    }
    if (role != Qt::DisplayRole || !m_recordset || isHeading(section))
        return QVariant();
    section = recordRow(section);
    // Row selectors: the marker of the current row, a pencil while it is
    // being edited, a star on the new-row line.
    const bool editing = m_recordset->editMode() != Recordset::EditMode::None;
    if (section == addNewRow() || (editing && addNewRow() < 0 && section == m_recordset->position()))
        return Pencil;
    if (isNewRowLine(section))
        return NewRow;
    if (section == m_recordset->position())
        return Marker;
    return QString();
}

bool GridModel::isNumberField(int field) const
{
    if (!m_recordset || field < 0)
        return false;
    const int type = m_recordset->typeCode(field);
    return type == Recordset::Long || type == Recordset::Double;
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (isHeading(index.row()))
        return Qt::ItemIsEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_recordset && !m_readOnly && m_columns[size_t(index.column())].fieldIndex >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !m_recordset || m_readOnly)
        return false;
    const int row = index.row();
    const int field = m_columns[size_t(index.column())].fieldIndex;
    if (field < 0)
        return false;
    // Confirming a cell without changing it is no edit, and leaving an empty
    // cell of the new-row line starts no row: an editor that Tab opened there
    // after the last shot of the last row must not add an empty shooter.
    if (Numbers::cellText(cellValue(row, index.column())) == value.toString())
        return true;
    QVariant taken = value;
    const Column &column = m_columns[size_t(index.column())];
    // Blanks choose nothing: the cell is emptied.
    if (column.choose && value.toString().trimmed().isEmpty()) {
        taken = QVariant();
    } else if (column.choose) {
        const std::optional<QString> chosen = column.choose(value.toString());
        if (!chosen)
            return false;
        taken = *chosen;
    }
    try {
        if (isNewRowLine(row)) {
            m_recordset->addNew();
        } else if (row != addNewRow()) {
            if (row != m_recordset->position())
                m_recordset->moveTo(row);
            m_recordset->edit();
        }
        m_recordset->setValue(field, taken);
    } catch (const RingtalError &error) {
        emit editFailed(error.number(), error.description());
        return false;
    }
    m_typed.insert(field);
    emit userEdited(index.column());
    return true;
}

QBitArray GridModel::typedFields() const
{
    QBitArray fields(m_recordset ? m_recordset->fieldCount() : 0);
    for (const int field : m_typed) {
        if (field < fields.size())
            fields.setBit(field);
    }
    return fields;
}
