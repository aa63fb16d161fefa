#pragma once

#include "store/Database.h"
#include "store/TextOrder.h"

#include <QBitArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <vector>


// An updatable result set that behaves like a dynaset: rows in query order, a
// current row, an edit buffer for a new or changed row, store and delete by
// the row's ID, find-first by a criterion, and running the query again. Rows
// added or changed stay where they are until the query runs again.
class Recordset : public QObject
{
    Q_OBJECT

public:
    enum class EditMode { None, Edit, AddNew };

    // Field type codes as the program compares them: up to 8 numbers, dates
    // and truth values; above 8 binary, text and memo fields.
    enum TypeCode { Boolean = 1, Long = 4, Double = 7, Date = 8, Binary = 9, Text = 10, LongBinary = 11, Memo = 12 };

    // Runs the query, its "order by" comparing texts in the given order; throws RingtalError.
    Recordset(std::shared_ptr<Database> database, QString sql, TextOrder order = TextOrder::Exact);
    ~Recordset() override;

    Database &database() const { return *m_database; }
    const QString &sql() const { return m_sql; }
    TextOrder textOrder() const { return m_textOrder; }

    // Fields.
    int fieldCount() const { return int(m_fieldNames.size()); }
    const QStringList &fieldNames() const { return m_fieldNames; }
    int fieldIndex(const QString &name) const; // -1 when there is none
    int typeCode(const QString &name) const;   // throws when there is no such field
    int typeCode(int field) const { return m_typeCodes.at(field); }

    // Rows and position. The position equals rowCount() past the last row.
    int rowCount() const { return int(m_rows.size()); }
    int position() const { return m_position; }
    bool isEof() const { return m_position >= rowCount(); }
    bool hasCurrent() const { return !isEof() && m_position >= 0; }
    void moveTo(int row);
    void moveFirst() { moveTo(0); }
    void moveNext() { moveTo(m_position + 1); }
    void moveLast() { moveTo(rowCount() - 1); }
    bool noMatch() const { return m_noMatch; }

    // Values: of the current row (the edit buffer while editing), or of any stored row.
    QVariant value(const QString &field) const;
    QVariant storedValue(int row, int field) const { return m_rows[size_t(row)][field]; }
    QVariant bufferValue(int field) const { return m_buffer[field]; }

    // Editing.
    EditMode editMode() const { return m_editMode; }
    bool isDirty() const { return m_editMode != EditMode::None && m_changed.count(true) > 0; }
    void addNew();
    void edit();
    void setValue(const QString &field, const QVariant &value);
    void setValue(int field, const QVariant &value);
    void update();
    void cancelUpdate();
    void deleteCurrent();
    void deleteAll();
    // Stores one field of every row, values in row order, without moving the
    // current row. Rows already holding their value are not written; rows
    // written before a failure keep their new value.
    void storeField(int field, const std::vector<QVariant> &values);

    // Two programs on one file. Storing a changed row first compares it in
    // the file with what was read: one another program deleted raises
    // RecordDeleted, one it changed RecordChangedElsewhere, and the row stays
    // in edit until the user chooses what to keep.
    const QVector<QVariant> &rowInFile() const { return m_fileRow; }
    const QBitArray &changedFields() const { return m_changed; }
    // The other program's row wins: the edit is given up and the row shows the file's values.
    void takeRowInFile();
    // The fields in `keep` of this edit go onto the other program's row; the
    // row stays in edit, to be stored again.
    void keepOnRowInFile(const QBitArray &keep);
    // The edit of a row deleted meanwhile is stored as a new row.
    void storeAsNew();
    // The edit of a row deleted meanwhile is given up, and so is the row.
    void dropDeletedRow();
    // Reads the rows again when another program stored rows since they were
    // read, keeping the row in edit with its buffer and the current row. True
    // when the rows were read again.
    bool refreshChanged();

    void findFirst(const QString &criterion);
    // Rows read again in query order. A sibling set on the same file and query
    // may lend its rows when they are current.
    void requery(Recordset *sibling = nullptr);

signals:
    void aboutToReset();
    void reset();                 // rows read again
    void aboutToRemoveRow(int row);
    void rowAppended(int row);    // a new row was stored at the end
    void rowRemoved(int row);
    void rowChanged(int row);     // stored values of a row changed
    void bufferChanged(int field); // one field of the buffer, or -1: edit mode or whole buffer
    void currentMoved(int row);

private:
    QString quoted(const QString &identifier) const;
    void readFieldTypes();
    bool isWritable() const;
    QString keyColumn() const;
    QVariant rowKey(int row) const;
    void readOrderFields();
    bool rowsAreCurrent();
    bool takeRowsFrom(Recordset *sibling);
    void load();
    QVariant storable(int field, const QVariant &value) const;
    void insertBuffer();
    void updateBuffer();
    const QString &updateStatement();
    void storeFieldBatch(int field, const int *rows, const QVariant *values, size_t count);
    void requireCurrent() const;
    void checkRowInFile();
    void removeRowFromMemory(int row);
    Database::Rows readRows();
    const std::vector<char16_t> &initials(int field);
    void forgetInitials() { m_initialsField = -1; }

    std::shared_ptr<Database> m_database;
    QString m_sql;
    TextOrder m_textOrder;
    QString m_table;
    QString m_readSql;
    bool m_rowidKey = false;
    std::vector<QVariant> m_rowKeys;
    QStringList m_fieldNames;
    QVector<int> m_typeCodes;
    int m_idField = -1;
    std::vector<QVector<QVariant>> m_rows;
    int m_position = 0;
    bool m_noMatch = false;
    EditMode m_editMode = EditMode::None;
    QVector<QVariant> m_buffer;
    QBitArray m_changed;
    QHash<QBitArray, QString> m_updateStatements;
    QVector<int> m_orderFields;
    bool m_inQueryOrder = false;
    bool m_orderKnown = true;
    quint64 m_ownWrites = 0;
    qint64 m_dataVersion = 0;
    QVector<QVariant> m_fileRow;
    // The initials (Criterion::asciiInitial) of one field, row by row: a
    // search through 20,000 names reads one small array instead of every
    // row. Forgotten whenever the rows change.
    std::vector<char16_t> m_initials;
    int m_initialsField = -1;
};
