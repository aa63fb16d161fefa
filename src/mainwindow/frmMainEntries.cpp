// Shooter entries of the main window: take-over, search, deleting; scores and places.
#include "frmMain.h"

#include "Criterion.h"
#include "DataGrid.h"
#include "DataSource.h"
#include "Database.h"
#include "Dialogs.h"
#include "GridRowAccess.h"
#include "Numbers.h"
#include "RankAssignment.h"
#include "Recordset.h"
#include "RingtalError.h"
#include "ScoreComputation.h"
#include "tempModule.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace {

RingtalError noCompetition()
{
    return RingtalError(ErrorNumber::NoCurrentRecord, QStringLiteral("Es ist kein Wettkampf geöffnet."));
}

} // namespace

void frmMain::ComputeRowScore(int /*column*/)
{
    GridRowAccess row(*TDBGrid1);
    ScoreComputation::computeRow(row);
}

void frmMain::refreshBothGrids()
{
    TDBGrid1->holdFields();
    Data1->refresh();
    TDBGrid1->refreshRows();
    Data2->refresh(Data1);
    TDBGrid2->refreshRows();
}

void frmMain::mnuEditUpdatePlaetze_Click()
{
    try {
        if (TDBGrid1->hasPendingEdit())
            TDBGrid1->storePendingEdit();
        Recordset *rs = Data1->recordset();
        if (!rs)
            return;
        rs->requery();
        if (rs->rowCount() == 0)
            return;
        {
            // The grid is re-read afterwards; it need not follow every row of the walk.
            const QSignalBlocker quiet(rs);
            const int key = rs->fieldIndex(QStringLiteral("Sortierung"));
            const int place = rs->fieldIndex(QStringLiteral("Platz"));
            QStringList keys;
            keys.reserve(rs->rowCount());
            for (int row = 0; row < rs->rowCount(); ++row) {
                rs->moveTo(row);
                keys << GetFieldValue(*rs, key).toString();
            }
            const std::vector<int> places = RankAssignment::places(keys);
            // A place that is already right is not written again: after one new
            // result only the shooters between its old and new place move.
            Transaction transaction(rs->database());
            rs->storeField(place, std::vector<QVariant>(places.begin(), places.end()));
            transaction.commit();
        }
        refreshBothGrids();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Plätze konnten nicht vollständig vergeben werden."));
        try {
            refreshBothGrids();
        } catch (const std::exception &) {
        }
    }
}

int frmMain::HighestStartNr()
{
    if (!Data1->database())
        throw noCompetition();
    const std::unique_ptr<Recordset> numbers =
        Data1->database()->openRecordset(QStringLiteral("Select * from Ergebnisse order by StartNr desc"));
    if (numbers->rowCount() == 0)
        return 0;
    return GetFieldValue(*numbers, QStringLiteral("StartNr")).toInt();
}

void frmMain::setNeuerSchuetze(const QString &value)
{
    const int tab = int(value.indexOf(QLatin1Char('\t')));
    if (tab < 0)
        throw RingtalError(ErrorNumber::InvalidProcedureCall,
                           QStringLiteral("Ungültiger Prozeduraufruf: Name und Verein sind nicht durch einen "
                                          "Tabulator getrennt."));
    const QString name = value.left(tab);
    const QString club = value.mid(tab + 1);
    Recordset *rs = Data1->recordset();
    if (!rs)
        throw noCompetition();
    if (rs->rowCount() > 0)
        rs->moveLast();
    rs->addNew();
    rs->setValue(QStringLiteral("Schuetze"), name);
    rs->setValue(QStringLiteral("Verein"), club);
    rs->setValue(QStringLiteral("StartNr"), HighestStartNr() + 1);
    const qint64 id = rs->value(QStringLiteral("ID")).toLongLong();
    rs->update();
    rs->findFirst(QStringLiteral("ID = %1").arg(id));
}

void frmMain::txtSuche_Change(const QString &text)
{
    Recordset *rs = Data1->recordset();
    if (text.isEmpty() || !rs)
        return;
    const QString criterion = Numbers::isNumeric(text) ? QStringLiteral("StartNr = ") + text
                                                       : Criterion::likePrefix(QStringLiteral("Schuetze"), text);
    try {
        rs->findFirst(criterion);
    } catch (const std::exception &) {
        // A text that makes no valid search (a start number with a comma) moves nothing.
    }
}

void frmMain::txtSuche_LostFocus()
{
    txtSuche->clear();
}

void frmMain::mnuEditDelSchuetze_Click()
{
    if (!storePendingEntry())
        return;
    Recordset *rs = Data1->recordset();
    if (!rs || !rs->hasCurrent())
        return;
    const QString name = GetFieldValue(*rs, QStringLiteral("Schuetze")).toString();
    if (Dialogs::current().question(QStringLiteral("Hinweis"),
                                    QStringLiteral("Soll der Schütze ") + name + QStringLiteral(" wirklich gelöscht werden?"),
                                    Dialogs::Icon::Question)
        != Dialogs::Answer::Yes)
        return;
    try {
        rs->deleteCurrent();
        Data1->refresh();
        Data2->refresh(Data1);
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Der Schütze konnte nicht gelöscht werden."));
    }
}

void frmMain::mnuEditDeleteAll_Click()
{
    if (!storePendingEntry())
        return;
    if (Dialogs::current().question(QStringLiteral("Hinweis"),
                                    QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?"),
                                    Dialogs::Icon::Question)
        != Dialogs::Answer::Yes)
        return;
    Recordset *rs = Data1->recordset();
    if (!rs)
        return;
    try {
        rs->deleteAll();
        refreshBothGrids();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Es konnten nicht alle Schützen gelöscht werden."));
        try {
            refreshBothGrids();
        } catch (const std::exception &) {
        }
    }
}
