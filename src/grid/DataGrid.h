#pragma once

#include "grid/GridColumn.h"
#include "grid/PrintInfo.h"

#include <QColor>
#include <QPointer>
#include <QTableView>

#include "store/DataSource.h"
class GridDelegate;
class GridModel;
class Recordset;
class RingtalError;

// The data-bound grid used by every window: the rows of its data source,
// edited in place, a new-row line at the end, rows stored when the row is
// left. Columns are addressed by index or field name; widths are in twips.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    // Binding for good: the grid follows every refresh of the source.
    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }
    Recordset *recordset() const;
    GridModel *gridModel() const { return m_model; }

    // The designed column set, captions equal to the field names.
    void setDesignedColumns(const QStringList &fields, const QVector<double> &widthsInTwips = {});
    int columnCount() const;
    // Throws RingtalError (subscript out of range) for an unknown index or name.
    GridColumn columns(int index);
    GridColumn columns(const QString &name);
    int columnIndex(const QString &name) const;

    // The current row has changes that are not stored yet (an open cell editor counts).
    bool hasPendingEdit();
    // Stores them; throws RingtalError and leaves the row in edit.
    void storePendingEdit();
    // Rows another program stored meanwhile are shown, the pending edit, the
    // cursor and the scroll position kept, and the cell being typed in open
    // unless closingCell takes its text into the row. True when rows were read again.
    bool refreshChangedRows(bool closingCell = true);
    // A cell's editor is open: the user is typing in it.
    bool isCellOpen() const;
    // A row is being stored (a question about it may be open).
    bool isStoring() const { return m_storing; }
    // Keep the present column set while the data source is re-pointed or re-read.
    void holdFields() { m_holdFields = true; }
    bool holdsFields() const { return m_holdFields; }
    // Shows the data source's rows again.
    void refreshRows();
    // A grid that only shows rows: no editing, no new-row line, no deleting.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    // Tab and Enter pass over a column the program fills itself.
    void setTabStop(int column, bool tabStop);

    // The print facility's settings: header, footer, their fonts, margins, orientation.
    PrintInfo &printInfo() { return m_printInfo; }

    QColor textColor() const;
    void setTextColor(const QColor &color);

    // Conversion at the window edge: stored lengths are twips.
    double pixelsToTwips(double pixels) const;
    int twipsToPixels(double twips) const;

    // Used by GridColumn.
    QVariant currentValue(int column) const;
    void setCurrentValue(int column, const QVariant &value);
    void moveColumnTo(int column, int position);

signals:
    // After the user has edited a cell of the current row, with the column's index.
    void afterColEdit(int column);
    // A row could not be stored, and the user was told why.
    void storeFailed();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void onRecordsetChanged(Recordset *recordset);
    void followViewRow(int viewRow);
    void paintGrid(const QRegion &region);
    void paintHeadingLines(const QRegion &region);
    void showRecordsetRow();
    void commitOpenEditor();
    void moveToNextCell();
    QModelIndex nextTabStop(const QModelIndex &from, bool forward) const;
    int firstTabStop() const;
    bool isTabStop(int column) const;
    bool mayGiveUpRow();
    void reportStoreFailure(const RingtalError &error);
    bool resolveStoreConflict(const RingtalError &error);
    int idField() const;
    int rowOfId(const QVariant &id, int fallback) const;
    QString conflictText() const;
    void fitRowsToFont();
    void showColumnMenu(const QPoint &at);
    void setColumnShown(int column, bool shown);
    void paintGridLines(QPainter &painter, QRect area, const QColor &colour) const;

    QPointer<DataSource> m_source;
    GridModel *m_model;
    GridDelegate *m_delegate;
    bool m_holdFields = false;
    bool m_syncing = false;
    // Where the user began typing in a row: Tab or Enter after its last cell
    // goes on in that column of the next row.
    int m_entryRow = -1;
    int m_entryColumn = -1;
    // The column of the last current cell, kept while the rows are read again.
    int m_lastColumn = -1;
    int m_keptScroll = -1;
    bool m_storing = false;
    PrintInfo m_printInfo;
};
