// The commands of the master list: search, take-over, deleting, sorting again.
#include "frmGesamt.h"

#include "Criterion.h"
#include "DataGrid.h"
#include "DataSource.h"
#include "Database.h"
#include "Dialogs.h"
#include "Recordset.h"
#include "frmMain.h"
#include "tempModule.h"


namespace {

const QString Name = QStringLiteral("Schuetze");
const QString Club = QStringLiteral("Verein");

bool confirmed(const QString &question)
{
    return Dialogs::current().question(QStringLiteral("Hinweis"), question, Dialogs::Icon::Question)
           == Dialogs::Answer::Yes;
}

} // namespace

void frmGesamt::txtSuche_Change(const QString &text)
{
    Recordset *rs = Data1->recordset();
    if (!rs)
        return;
    try {
        rs->findFirst(Criterion::likePrefix(Name, text));
    } catch (const std::exception &) {
        // A text that makes no valid pattern (an open "[") moves nothing.
    }
}

// Name, tab, club of the current shooter; empty when there is none, which
// the main window refuses.
QString frmGesamt::handOverText() const
{
    const Recordset *rs = Data1->recordset();
    if (!rs || (!rs->hasCurrent() && rs->editMode() == Recordset::EditMode::None))
        return QString();
    return GetFieldValue(*rs, Name).toString() + QLatin1Char('\t') + GetFieldValue(*rs, Club).toString();
}

// The window stays open on its row, so that the next shooter can follow.
// Nothing that fails here is reported: the shooter is simply not taken over.
void frmGesamt::cmdUebernahme_Click()
{
    try {
        // A shooter just typed into the list is stored before it is handed on.
        TDBGrid1->storePendingEdit();
        const QString text = handOverText();
        if (m_main)
            m_main->setNeuerSchuetze(text);
    } catch (const std::exception &) {
    }
}

void frmGesamt::mnuEditDeleteSchuetze_Click()
{
    if (!storePendingEdit())
        return;
    Recordset *rs = Data1->recordset();
    if (!rs || !rs->hasCurrent())
        return;
    const QString name = GetFieldValue(*rs, Name).toString();
    if (!confirmed(QStringLiteral("Soll der Schütze ") + name + QStringLiteral(" wirklich gelöscht werden?")))
        return;
    try {
        rs->deleteCurrent();
        Data1->refresh();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Der Schütze konnte nicht gelöscht werden."));
    }
}

void frmGesamt::mnuEditDeleteAll_Click()
{
    if (!storePendingEdit())
        return;
    if (!confirmed(QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?")))
        return;
    Recordset *rs = Data1->recordset();
    if (!rs)
        return;
    try {
        rs->deleteAll();
        Data1->refresh();
        TDBGrid1->refreshRows();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Es konnten nicht alle Schützen gelöscht werden."));
        TDBGrid1->refreshRows();
    }
}

void frmGesamt::mnuAnsichtSort_Click()
{
    // A list that could not be opened is tried again.
    if (!Data1->isOpen()) {
        openMasterList();
        return;
    }
    if (!storePendingEdit())
        return;
    try {
        Data1->refresh();
        TDBGrid1->refreshRows();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Gesamtliste konnte nicht neu gelesen werden."));
    }
}
