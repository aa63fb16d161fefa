#pragma once

#include <QAbstractTableModel>
#include <QBitArray>
#include <QHash>
#include <QSet>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "scoring/Classes.h"
#include "store/Recordset.h"

// The rows of a recordset as a table for the grid, in the grid's own column
// set: each column names the field it shows. While a row is being edited the
// model shows the recordset's edit buffer; below the rows stands the new-row
// line, where typing starts a new row.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString field;
        QString caption;
        Qt::Alignment headingAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        double widthTwips = 1000.0; // kept while the column is hidden
        int fieldIndex = -1; // in the recordset, -1 when it has no such field
        // Tab and Enter pass over a column that the program fills itself.
        bool tabStop = true;
        bool inColumnMenu = true; // offered in the heading's menu to be shown or hidden
        // Printed and exported even when no row has a value in it.
        bool printedWhenEmpty = true;
        // What the cell's editor offers while typing (a class of the list).
        QStringList choices;
        // Takes a typed text for the cell: the text to store (the choice it
        // names), or none when the cell is to stay as it was.
        std::function<std::optional<QString>(const QString &)> choose;
    };

    // The choices of a column (Column::choices), for its editor.
    static constexpr int ChoicesRole = Qt::UserRole + 40;
    // The text of a heading line (the name of a class), on every cell of it.
    static constexpr int HeadingRole = Qt::UserRole + 41;

    explicit GridModel(QObject *parent = nullptr);

    void setRecordset(Recordset *recordset);
    Recordset *recordset() const { return m_recordset; }

    // The column set. Replacing it resets the model.
    void setColumns(const QStringList &fields);
    std::vector<Column> &columns() { return m_columns; }
    const std::vector<Column> &columns() const { return m_columns; }
    void columnsChanged(int first, int last);

    void setAllowAddNew(bool allow);
    // A view of rows that nothing recomputes: no cell can be edited.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }

    // A note on a cell of the row being edited (a typed value that counts as
    // something else): the cell is marked, the note is its tooltip. Notes go
    // when the row is stored, given up or left.
    void setCellNote(int column, const QString &note);
    void clearCellNote(int column) { setCellNote(column, QString()); }
    QString cellNote(int row, int column) const;
    // The fields the user typed into the row in edit (not those the program wrote).
    QBitArray typedFields() const;
    bool isNewRowLine(int row) const;
    // Row of the edit buffer of a new row, -1 when none is being added.
    int addNewRow() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Everything a row selector shows, for sizing the selector column.
    static const QStringList &rowSelectorSymbols();
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A user's edit: starts a new row on the new-row line, or edits the row.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // A read-only view shows its rows by the classes of `field`, each group
    // under a heading line (Classes::arrange); an empty field shows them as
    // they come. Heading lines are rows of the view, not of the recordset.
    void setGrouping(const QString &field, const std::vector<ClassDef> &classes);
    // The recordset row a view row shows, -1 for a heading line; and back.
    int recordRow(int viewRow) const;
    int viewRow(int recordRow) const;
    bool isHeading(int viewRow) const { return recordRow(viewRow) < 0 && !m_lines.empty(); }
    bool hasHeadings() const { return !m_lines.empty(); }

    // The value shown in a cell, from the buffer while that row is edited.
    QVariant cellValue(int row, int column) const;
    // Redraw everything from the recordset.
    void reload();

signals:
    // After a user's edit was taken into the row; never for the program's own writes.
    void userEdited(int column);
    // An edit could not be taken (the row before it could not be stored).
    void editFailed(int number, const QString &description);

private:
    void mapFields();
    void clearCellNotes();
    bool isNumberField(int field) const;
    void syncRowCount();
    int shownRows() const;
    void arrangeLines();

    QPointer<Recordset> m_recordset;
    std::vector<Column> m_columns;
    bool m_allowAddNew = true;
    bool m_readOnly = false;
    QHash<int, QString> m_notes; // by column
    QSet<int> m_typed;           // fields, while a row is in edit
    int m_notesRow = -1;
    int m_rowsShown = 0;
    int m_markedRow = 0;
    QString m_groupField;
    std::vector<ClassDef> m_classes;
    // View rows while grouped, else empty; m_viewRowOf inverts it.
    std::vector<Classes::Line> m_lines;
    std::vector<int> m_viewRowOf;
};
