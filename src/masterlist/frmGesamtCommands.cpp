// The commands of the master list: search, take-over, deleting, sorting again.
#include "masterlist/frmGesamt.h"

#include "grid/DataGrid.h"
#include "grid/ShooterDeletion.h"
#include "store/Criterion.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dialogs.h"
#include "store/ErrorProtocol.h"
#include "store/Recordset.h"
#include "store/tempModule.h"

#include <QLineEdit>
#include <QStyle>

namespace {

const QString Name = QStringLiteral("Schuetze");
const QString Club = QStringLiteral("Verein");

} // namespace

void frmGesamt::txtSuche_Change(const QString &text)
{
    Recordset *rs = Data1->recordset();
    if (!rs)
        return;
    bool found = true;
    try {
        rs->findFirst(Criterion::likePrefix(Name, text));
        found = !rs->noMatch();
    } catch (const std::exception &) {
        // A text that makes no valid pattern (an open "[") moves nothing.
        found = false;
    }
    showSearchFound(text.isEmpty() || found);
}

// The marker stays on the last shooter that matched; without a plain sign
// "Übernehmen" would take him for the one searched for.
void frmGesamt::showSearchFound(bool found)
{
    // A new palette repaints the box; every keystroke must stay quick.
    if (found == m_searchFound)
        return;
    m_searchFound = found;
    QPalette palette = txtSuche->style()->standardPalette();
    if (!found)
        palette.setColor(QPalette::Base, QColor(255, 190, 190));
    txtSuche->setPalette(palette);
    txtSuche->setToolTip(found ? QString() : QStringLiteral("Kein Schütze gefunden"));
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

// The window stays open on its row, so that the next shooter can follow. A
// shooter that cannot be taken over (a name too long for the competition)
// is refused with the reason.
void frmGesamt::cmdUebernahme_Click()
{
    if (!m_searchFound) {
        Dialogs::current().message(QStringLiteral("Hinweis"),
                                   QStringLiteral("Kein Schütze passt zur Suche „%1“. Es wurde niemand übernommen.")
                                       .arg(txtSuche->text()),
                                   Dialogs::Icon::Information);
        return;
    }
    try {
        // A shooter just typed into the list is stored before it is handed on.
        TDBGrid1->storePendingEdit();
        const QString text = handOverText();
        // No shooter under the marker (the new-row line, an empty list): nothing to take over.
        // Birth year and sex, where the list has them, propose the class.
        const Recordset *rs = Data1->recordset();
        const auto field = [rs](const QString &name) {
            return rs && rs->fieldIndex(name) >= 0 ? rs->value(name) : QVariant();
        };
        if (m_handOver && !text.isEmpty())
            m_handOver(text, field(QStringLiteral("Jahrgang")), field(QStringLiteral("Geschlecht")).toString());
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Der Schütze wurde nicht übernommen."));
    }
}

void frmGesamt::mnuEditDeleteSchuetze_Click()
{
    if (!storePendingEdit())
        return;
    ShooterDeletion::deleteCurrent(Data1->recordset(), [this] { Data1->refresh(); }, &reportFailure);
}

void frmGesamt::mnuEditDeleteAll_Click()
{
    if (!storePendingEdit())
        return;
    ShooterDeletion::deleteAll(
            Data1->recordset(),
            [this] {
                Data1->refresh();
                TDBGrid1->refreshRows();
            },
            &reportFailure);
}

void frmGesamt::mnuAnsichtSort_Click()
{
    // A list that could not be opened is tried again.
    if (!Data1->isOpen()) {
        openMasterList();
        return;
    }
    if (storePendingEdit())
        rereadList();
}

// Runs the query again: rows added or changed since take their places in name order.
void frmGesamt::rereadList()
{
    try {
        Data1->refresh();
        TDBGrid1->refreshRows();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Gesamtliste konnte nicht neu gelesen werden."));
    }
}
