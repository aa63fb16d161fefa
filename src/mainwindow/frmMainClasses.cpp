// The competition's own rules in the main window: its classes and its tie rule.
#include "mainwindow/frmMain.h"

#include "grid/DataGrid.h"
#include "scoring/TieRule.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/FileUpgrade.h"
#include "store/Recordset.h"
#include "widgets/UiDialogs.h"

#include <QSignalBlocker>
#include <QStatusBar>

// A file of an earlier version gets the classes before anything reads it, so
// that both grids see one layout. It still opens when that fails: what it
// holds is shown as it is, without classes.
void frmMain::upgradeCompetitionFile(const QString &path)
{
    m_upgradeNote.clear();
    std::shared_ptr<Database> database;
    try {
        database = Database::open(path);
    } catch (const std::exception &) {
        return; // no competition at all: loading it says so
    }
    try {
        if (FileUpgrade::upgradeCompetition(*database) == FileUpgrade::Outcome::ReadOnly)
            m_upgradeNote = QStringLiteral("Der Wettkampf stammt von einer früheren Version und kann nicht geändert "
                                           "werden: Er wird ohne Klassen gezeigt.");
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Der Wettkampf konnte nicht um Klassen erweitert werden und ist "
                                              "unverändert. Er wird ohne Klassen geöffnet."));
        m_upgradeNote = QStringLiteral("Der Wettkampf wird ohne Klassen gezeigt.");
    }
}

void frmMain::readTieRule()
{
    m_tieRule = Data1->database() ? TieRules::stored(*Data1->database()) : TieRule::InnerTensFirst;
}

void frmMain::mnuEditWertung_Click()
{
    if (!competitionIsOpen() || !storePendingEntry())
        return;
    QStringList titles;
    int current = 0;
    for (const TieRule rule : TieRules::All) {
        if (rule == m_tieRule)
            current = int(titles.size());
        titles << TieRules::title(rule);
    }
    const std::optional<int> chosen = UiDialogs::current().chooseItem(
        QStringLiteral("Bei gleicher Ringzahl entscheiden:"), QStringLiteral("Wertung"), titles, current);
    if (!chosen || *chosen == current)
        return;
    const TieRule rule = TieRules::All[size_t(*chosen)];
    try {
        Recordset *rs = Data1->recordset();
        rs->requery();
        {
            const QSignalBlocker quiet(rs);
            TieRules::change(*rs, rule);
        }
        m_tieRule = rule;
        refreshBothGrids();
        statusBar()->showMessage(QStringLiteral("Wertung: %1. Die Plätze werden mit F5 neu vergeben.")
                                     .arg(TieRules::title(rule)));
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Wertung wurde nicht geändert."));
        try {
            refreshBothGrids();
        } catch (const std::exception &) {
        }
    }
}
