// Shooter entries of the main window: take-over, search, deleting; scores and places.
#include "mainwindow/frmMain.h"

#include "grid/DataGrid.h"
#include "grid/GridModel.h"
#include "grid/GridRowAccess.h"
#include "grid/ShooterDeletion.h"
#include "scoring/Ranking.h"
#include "scoring/ScoreComputation.h"
#include "store/Criterion.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dialogs.h"
#include "store/Numbers.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"
#include "store/tempModule.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QSignalBlocker>

namespace {

RingtalError noCompetition()
{
    return RingtalError(ErrorNumber::NoCurrentRecord, QStringLiteral("Es ist kein Wettkampf geöffnet."));
}

} // namespace

// The cleaning rule turns a typo into 0 and so changes the result: the cell
// stays marked with what was typed until the row is left.
void frmMain::ComputeRowScore(int column)
{
    GridRowAccess row(*TDBGrid1);
    const std::vector<ScoreComputation::CleanedShot> cleaned = ScoreComputation::computeRow(row, m_tieRule);
    GridModel *model = TDBGrid1->gridModel();
    model->clearCellNote(column);
    for (const ScoreComputation::CleanedShot &shot : cleaned) {
        model->setCellNote(TDBGrid1->columnIndex(shot.column),
                           QStringLiteral("Eingegeben: „%1“ – kein gültiger Wert, zählt 0").arg(shot.typed));
        statusBar()->showMessage(QStringLiteral("%1: „%2“ ist kein gültiger Wert und zählt 0").arg(shot.column, shot.typed));
    }
    if (TDBGrid1->columns(column).dataField().compare(QLatin1String("StartNr"), Qt::CaseInsensitive) == 0)
        noteSharedStartNr(column);
}

// Two shooters with one start number are stored (the user may mean it), but
// not without a word. A message box would swallow the next typed keys.
void frmMain::noteSharedStartNr(int column)
{
    const Recordset *rs = Data1->recordset();
    const std::optional<double> number = Numbers::parseLocale(TDBGrid1->columns(column).text());
    if (!rs || !number)
        return;
    const int startNr = rs->fieldIndex(QStringLiteral("StartNr"));
    const int name = rs->fieldIndex(QStringLiteral("Schuetze"));
    const int own = rs->editMode() == Recordset::EditMode::AddNew ? -1 : rs->position();
    for (int row = 0; row < rs->rowCount(); ++row) {
        const QVariant other = rs->storedValue(row, startNr);
        if (row == own || other.isNull() || other.toDouble() != *number)
            continue;
        const QString text = QStringLiteral("Die Startnummer %1 hat schon %2.")
                                 .arg(Numbers::numberText(*number), name < 0 ? QString() : rs->storedValue(row, name).toString());
        TDBGrid1->gridModel()->setCellNote(column, text);
        statusBar()->showMessage(text);
        return;
    }
}

void frmMain::refreshBothGrids()
{
    TDBGrid1->holdFields();
    Data1->refresh();
    TDBGrid1->refreshRows();
    Data2->refresh(Data1);
    TDBGrid2->refreshRows();
    updatePlacesNotice();
}

bool frmMain::placesAreCurrent() const
{
    const Recordset *rs = Data1->recordset();
    return !rs || Ranking::placesAreCurrent(*rs, Ranking::classScope(*rs));
}

// Called whenever the stored rows may have changed: what shows their ranking follows.
void frmMain::updatePlacesNotice()
{
    showTeamList();
    const bool stale = !placesAreCurrent();
    if (stale == lblPlaetzeNichtAktuell->isVisibleTo(lblPlaetzeNichtAktuell->parentWidget()))
        return;
    lblPlaetzeNichtAktuell->setHidden(!stale);
    placeWinnersNotice();
}

// What goes on paper or into a file is the stored rows, ranked: a typed row
// is stored first, and places from before a change are offered to be updated.
bool frmMain::winnersListReady()
{
    if (!Data1->recordset())
        return true;
    if (!storePendingEntry())
        return false;
    if (!placesAreCurrent()
        && Dialogs::current().question(QStringLiteral("Hinweis"),
                                       QStringLiteral("Die Plätze sind nicht aktuell: seit dem letzten Aktualisieren "
                                                      "wurden Schützen geändert, hinzugefügt oder gelöscht.\n"
                                                      "Sollen die Plätze zuerst aktualisiert werden?"),
                                       Dialogs::Icon::Question)
               == Dialogs::Answer::Yes) {
        mnuEditUpdatePlaetze_Click();
        return true;
    }
    return showWinnersList();
}

// The winners list shows the stored rows as they stand, with a notice while
// their places are older than a change.
bool frmMain::showWinnersList()
{
    if (!Data2->recordset())
        return true;
    try {
        Data2->refresh(Data1);
        TDBGrid2->refreshRows();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Siegerliste konnte nicht neu gelesen werden."));
        return false;
    }
    updatePlacesNotice();
    return true;
}

void frmMain::mnuEditUpdatePlaetze_Click()
{
    try {
        if (TDBGrid1->hasPendingEdit())
            TDBGrid1->storePendingEdit();
        Recordset *rs = Data1->recordset();
        if (!rs)
            return;
        // Two PCs pressing F5 at once: each ranks the rows as they stand once
        // it holds the table, so that the last one leaves one consistent set
        // of places, and a failure leaves all of them as they were.
        allOrNothing(rs->database(), [&] {
            rs->database().lockForWriting(QStringLiteral("Ergebnisse"));
            rs->requery();
            if (rs->rowCount() == 0)
                return;
            // The grid is re-read afterwards; it need not follow every written row.
            const QSignalBlocker quiet(rs);
            Ranking::storePlaces(*rs, Ranking::classScope(*rs));
        });
        refreshBothGrids();
    } catch (const std::exception &failure) {
        reportAndReread(failure, QStringLiteral("Die Plätze konnten nicht vollständig vergeben werden."));
    }
}

// After a command that writes every row failed: the rows in memory may hold
// what the file undid, so both lists are read again.
void frmMain::reportAndReread(const std::exception &failure, const QString &what)
{
    reportFailure(failure, what);
    try {
        refreshBothGrids();
    } catch (const std::exception &) {
        // Reading failed as well; the failure was told already.
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

void frmMain::setNeuerSchuetze(const QString &value, const QVariant &birthYear, const QString &sex)
{
    const int tab = int(value.indexOf(QLatin1Char('\t')));
    if (tab < 0)
        throw RingtalError(ErrorNumber::InvalidProcedureCall,
                           QStringLiteral("Ungültiger Prozeduraufruf: Name und Verein sind nicht durch einen "
                                          "Tabulator getrennt."));
    const QString name = value.left(tab);
    const QString club = value.mid(tab + 1);
    const QString proposedClass = Classes::proposed(m_classes, birthYear, sex);
    Recordset *rs = Data1->recordset();
    if (!rs)
        throw noCompetition();
    const QString who = club.isEmpty() ? QStringLiteral("„%1“").arg(name) : QStringLiteral("„%1“ (%2)").arg(name, club);
    if (alreadyEntered(name, club)
        && Dialogs::current().question(QStringLiteral("Hinweis"),
                                       who + QStringLiteral(" steht schon im Wettkampf. Noch einmal übernehmen?"),
                                       Dialogs::Icon::Question)
               != Dialogs::Answer::Yes)
        return;
    if (rs->rowCount() > 0)
        rs->moveLast();
    const int startNr = HighestStartNr() + 1;
    rs->addNew();
    try {
        rs->setValue(QStringLiteral("Schuetze"), name);
        rs->setValue(QStringLiteral("Verein"), club);
        rs->setValue(QStringLiteral("StartNr"), startNr);
        if (!proposedClass.isEmpty())
            rs->setValue(QStringLiteral("Klasse"), proposedClass);
        rs->update();
    } catch (...) {
        // A shooter that cannot be stored (a name too long for the field) is
        // not left in the grid as a row the file does not hold.
        rs->cancelUpdate();
        throw;
    }
    // The file gives the new row its number when it is stored.
    const qint64 id = rs->storedValue(rs->rowCount() - 1, rs->fieldIndex(QStringLiteral("ID"))).toLongLong();
    rs->findFirst(QStringLiteral("ID = %1").arg(id));
    statusBar()->showMessage(who + QStringLiteral(" übernommen mit Startnummer %1").arg(startNr)
                             + (proposedClass.isEmpty() ? QString() : QStringLiteral(", Klasse %1").arg(proposedClass)));
    updatePlacesNotice();
}

// Name and club as a person compares them: letter case and surrounding blanks do not count.
bool frmMain::alreadyEntered(const QString &name, const QString &club) const
{
    const Recordset *rs = Data1->recordset();
    const int nameField = rs ? rs->fieldIndex(QStringLiteral("Schuetze")) : -1;
    const int clubField = rs ? rs->fieldIndex(QStringLiteral("Verein")) : -1;
    if (nameField < 0 || clubField < 0)
        return false;
    const auto same = [](const QVariant &stored, const QString &text) {
        return stored.toString().trimmed().compare(text.trimmed(), Qt::CaseInsensitive) == 0;
    };
    for (int row = 0; row < rs->rowCount(); ++row) {
        if (same(rs->storedValue(row, nameField), name) && same(rs->storedValue(row, clubField), club))
            return true;
    }
    return false;
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

// The winners list is a view of the ranking; shooters are deleted where they are typed.
bool frmMain::onEntryTab()
{
    if (SSTab1->currentIndex() == 0)
        return true;
    Dialogs::current().message(QStringLiteral("Hinweis"),
                               QStringLiteral("In der Siegerliste wird nichts geändert. Schützen werden auf der "
                                              "Seite „Dateneingabe“ gelöscht."),
                               Dialogs::Icon::Information);
    return false;
}

void frmMain::mnuEditDelSchuetze_Click()
{
    if (!onEntryTab() || !storePendingEntry())
        return;
    ShooterDeletion::deleteCurrent(
            Data1->recordset(),
            [this] {
                Data1->refresh();
                Data2->refresh(Data1);
                updatePlacesNotice();
            },
            [this](const std::exception &failure, const QString &what) { reportFailure(failure, what); });
}

void frmMain::mnuEditDeleteAll_Click()
{
    if (!onEntryTab() || !storePendingEntry())
        return;
    ShooterDeletion::deleteAll(
            Data1->recordset(), [this] { refreshBothGrids(); },
            [this](const std::exception &failure, const QString &what) { reportFailure(failure, what); });
}
