// Storing the grid's rows: the pending edit, rows left, what another program
// changed or deleted meanwhile.
#include "grid/DataGrid.h"

#include "grid/GridDelegate.h"
#include "grid/GridModel.h"
#include "store/DataSource.h"
#include "store/Dialogs.h"
#include "store/ErrorProtocol.h"
#include "store/Numbers.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"

#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

void DataGrid::storePendingEdit()
{
    commitOpenEditor();
    Recordset *rs = recordset();
    if (!rs)
        return;
    if (!rs->isDirty()) {
        rs->cancelUpdate();
        return;
    }
    const QScopedValueRollback<bool> storing(m_storing, true);
    try {
        rs->update();
    } catch (const RingtalError &error) {
        if (!resolveStoreConflict(error))
            throw;
    }
}

bool DataGrid::refreshChangedRows(bool closingCell)
{
    Recordset *rs = recordset();
    if (!rs || m_storing)
        return false;
    if (closingCell)
        commitOpenEditor();
    // Reading the rows again closes the cell being typed in. Its text is not
    // taken into the row (that may ask for a class, or begin a new row): the
    // cell is opened again with the text and the text cursor as they were.
    auto *line = isCellOpen() ? qobject_cast<QLineEdit *>(m_delegate->openEditor()) : nullptr;
    const QString typed = line ? line->text() : QString();
    const int cursor = line ? line->cursorPosition() : 0;
    const int selected = line ? line->selectionStart() : -1;
    const int selectedLength = line ? line->selectionLength() : 0;
    // The cell's row by its ID, since other rows may come before it now; the
    // view's row need not be the set's current one while nothing is stored.
    const QModelIndex cell = currentIndex();
    const int row = line ? m_model->recordRow(cell.row()) : -1;
    const bool newLine = line && (m_model->isNewRowLine(row) || cell.row() == m_model->addNewRow());
    const QVariant id = line && !newLine && row >= 0 && row < rs->rowCount() && idField() >= 0
                            ? rs->storedValue(row, idField())
                            : QVariant();
    m_keptScroll = verticalScrollBar()->value();
    if (!rs->refreshChanged()) {
        m_keptScroll = -1;
        return false;
    }
    if (line) {
        int viewRow = m_model->addNewRow();
        if (viewRow < 0)
            viewRow = m_model->viewRow(newLine ? rs->rowCount() : rowOfId(id, row));
        const QModelIndex again = m_model->index(viewRow, cell.column());
        if (!again.isValid())
            return true;
        m_syncing = true;
        setCurrentIndex(again);
        m_syncing = false;
        edit(again);
        if (auto *reopened = qobject_cast<QLineEdit *>(m_delegate->openEditor())) {
            reopened->setText(typed);
            if (selected >= 0)
                reopened->setSelection(selected, selectedLength);
            reopened->setCursorPosition(cursor);
        }
    }
    return true;
}


// Another program changed or deleted the row meanwhile: the user sees both
// and chooses; nothing is overwritten or dropped unseen. True when the row
// was dealt with (stored, or given up for the other program's).
bool DataGrid::resolveStoreConflict(const RingtalError &error)
{
    Recordset *rs = recordset();
    if (!rs || rs->editMode() != Recordset::EditMode::Edit)
        return false;
    Dialogs &dialogs = Dialogs::current();
    if (error.number() == ErrorNumber::RecordDeleted) {
        if (dialogs.question(QStringLiteral("Hinweis"),
                             error.description() + QStringLiteral("\nSollen Ihre Eingaben als neuer Schütze gespeichert werden?"),
                             Dialogs::Icon::Exclamation)
            == Dialogs::Answer::Yes)
            rs->storeAsNew();
        else
            rs->dropDeletedRow();
        return true;
    }
    if (error.number() != ErrorNumber::RecordChangedElsewhere)
        return false;
    if (dialogs.question(QStringLiteral("Hinweis"), conflictText(), Dialogs::Icon::Exclamation) != Dialogs::Answer::Yes) {
        rs->takeRowInFile();
        return true;
    }
    const QBitArray typed = m_model->typedFields();
    rs->keepOnRowInFile(typed);
    // What the program computes from the typed values is computed again on
    // the other program's row.
    for (int column = 0; column < columnCount(); ++column) {
        const int field = m_model->columns()[size_t(column)].fieldIndex;
        if (field >= 0 && field < typed.size() && typed.testBit(field)) {
            emit afterColEdit(column);
            break;
        }
    }
    rs->update();
    return true;
}

int DataGrid::idField() const
{
    const Recordset *rs = recordset();
    return rs ? rs->fieldIndex(QStringLiteral("ID")) : -1;
}

int DataGrid::rowOfId(const QVariant &id, int fallback) const
{
    const Recordset *rs = recordset();
    const int field = idField();
    for (int row = 0; rs && field >= 0 && row < rs->rowCount(); ++row) {
        if (rs->storedValue(row, field) == id)
            return row;
    }
    return fallback;
}

QString DataGrid::conflictText() const
{
    const Recordset *rs = recordset();
    const QVector<QVariant> &theirs = rs->rowInFile();
    QStringList lines;
    for (int column = 0; column < columnCount(); ++column) {
        const GridModel::Column &c = m_model->columns()[size_t(column)];
        if (c.fieldIndex < 0 || isColumnHidden(column) || c.fieldIndex >= theirs.size())
            continue;
        const QString stored = Numbers::cellText(theirs.at(c.fieldIndex));
        const QString typed = Numbers::cellText(rs->bufferValue(c.fieldIndex));
        if (stored != typed)
            lines << QStringLiteral("%1: gespeichert „%2“, Ihre Eingabe „%3“").arg(c.caption, stored, typed);
    }
    return QStringLiteral("Die Zeile wurde inzwischen von einem anderen Programm geändert.\n\n") + lines.join(QLatin1Char('\n'))
        + QStringLiteral("\n\nIhre Eingaben speichern? Ja: Ihre Eingaben kommen zu den Werten des anderen Programms. "
                         "Nein: die Werte des anderen Programms gelten, Ihre Eingaben werden verworfen.");
}

// The row the user moved to becomes the current row; the row left is stored
// first. When it cannot be stored, the user is told why and taken back to it.
void DataGrid::followViewRow(int viewRow)
{
    Recordset *rs = recordset();
    // A heading line is no row of the set: the current row stays.
    const int row = m_model->recordRow(viewRow);
    if (!rs || row < 0 || row == m_model->addNewRow())
        return;
    try {
        // The row left is stored first (and a conflict with another program
        // settled); then what other programs stored meanwhile is shown.
        storePendingEdit();
        const QVariant target = m_model->isNewRowLine(row) || row >= rs->rowCount() || idField() < 0
                                    ? QVariant()
                                    : rs->storedValue(row, idField());
        refreshChangedRows();
        if (m_model->isNewRowLine(row))
            rs->moveTo(rs->rowCount());
        else
            rs->moveTo(target.isValid() ? rowOfId(target, row) : row);
    } catch (const RingtalError &error) {
        reportStoreFailure(error);
        QTimer::singleShot(0, this, &DataGrid::showRecordsetRow);
    }
}

void DataGrid::reportStoreFailure(const RingtalError &error)
{
    reportFailure(error, QStringLiteral("Die Zeile wurde nicht gespeichert und bleibt zur Korrektur in Bearbeitung."));
    emit storeFailed();
}

// Typed values are asked about before they are thrown away: a second Escape
// comes quickly after the first, which only gave up the open cell.
bool DataGrid::mayGiveUpRow()
{
    const Recordset *rs = recordset();
    if (!rs || !rs->isDirty())
        return true;
    return Dialogs::current().question(QStringLiteral("Hinweis"),
                                       QStringLiteral("Sollen die Eingaben in dieser Zeile verworfen werden?"),
                                       Dialogs::Icon::Question)
        == Dialogs::Answer::Yes;
}
