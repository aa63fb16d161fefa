// The competition's own rules in the main window: its classes and its tie rule.
#include "mainwindow/frmMain.h"

#include "printing/TeamList.h"

#include "classes/frmKlassen.h"
#include "grid/DataGrid.h"
#include "grid/GridModel.h"
#include "scoring/Classes.h"
#include "scoring/TieRule.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/FileUpgrade.h"
#include "store/Dialogs.h"
#include "store/Recordset.h"
#include "widgets/UiDialogs.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QStatusBar>

namespace {

constexpr int PlacesHintMilliseconds = 15000;

} // namespace

// A file of an earlier version gets the classes and teams before anything
// reads it, so that both grids see one layout. It still opens when that
// fails: what it holds is shown as it is, without what it lacks.
void frmMain::upgradeCompetitionFile(const QString &path)
{
    m_upgradeNote.clear();
    std::shared_ptr<Database> database;
    try {
        database = Database::open(path);
    } catch (const std::exception &) {
        return; // no competition at all: loading it says so
    }
    // What the file lacks is what it is shown without.
    const QString lacking = FileUpgrade::hasClasses(*database) ? QStringLiteral("Mannschaften")
                                                               : QStringLiteral("Klassen und Mannschaften");
    try {
        if (FileUpgrade::upgradeCompetition(*database) == FileUpgrade::Outcome::ReadOnly)
            m_upgradeNote = QStringLiteral("Der Wettkampf stammt von einer früheren Version und kann nicht geändert "
                                           "werden: Er wird ohne %1 gezeigt.")
                                .arg(lacking);
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Der Wettkampf konnte nicht um %1 erweitert werden und ist "
                                              "unverändert. Er wird ohne %1 geöffnet.")
                                   .arg(lacking));
        m_upgradeNote = QStringLiteral("Der Wettkampf wird ohne %1 gezeigt.").arg(lacking);
    }
}

void frmMain::readCompetitionRules()
{
    const std::shared_ptr<Database> database = Data1->database();
    m_tieRule = database ? TieRules::stored(*database) : TieRule::InnerTensFirst;
    m_classes = database ? Classes::read(*database) : std::vector<ClassDef>();
    m_teamCounted = database ? Teams::storedCounted(*database) : Teams::DefaultCounted;
    QStringList names;
    for (const ClassDef &def : m_classes)
        names << def.name;
    TDBGrid1->columns(QStringLiteral("Klasse")).setChoices(names);
    TDBGrid2->gridModel()->setGrouping(QStringLiteral("Klasse"), m_classes);
    m_ruleChosen = database && TieRules::chosen(*database).has_value();
    lblWertung->setText(tieRuleLine());
    lblWertung->setHidden(lblWertung->text().isEmpty());
    placeWinnersNotice();
}

// A competition that never chose a rule ranks as it always has, and its
// list looks as it always did.
QString frmMain::tieRuleLine() const
{
    return m_ruleChosen ? QStringLiteral("Wertung: ") + TieRules::title(m_tieRule) : QString();
}

// A class that is not in the list would rank a group of its own, so a typo
// must not make one unasked. The letters typed pick the class they begin.
std::optional<QString> frmMain::chooseClass(const QString &typed)
{
    const QString text = typed.trimmed();
    QStringList begun;
    for (const ClassDef &def : m_classes) {
        if (def.name.compare(text, Qt::CaseInsensitive) == 0)
            return def.name;
        if (def.name.startsWith(text, Qt::CaseInsensitive))
            begun << def.name;
    }
    if (begun.size() == 1)
        return begun.first();
    // The question takes the focus from the cell, which would be confirmed again.
    if (m_askingClass || !Data1->database())
        return std::nullopt;
    m_askingClass = true;
    const Dialogs::Answer answer = Dialogs::current().question(
        QStringLiteral("Klasse"),
        QStringLiteral("Die Klasse „%1“ steht nicht in der Klassenliste.\nKlasse „%1“ anlegen?").arg(text),
        Dialogs::Icon::Question);
    m_askingClass = false;
    if (answer != Dialogs::Answer::Yes) {
        statusBar()->showMessage(QStringLiteral("Die Klasse „%1“ wurde nicht eingetragen.").arg(text));
        return std::nullopt;
    }
    try {
        Classes::append(*Data1->database(), text);
        readCompetitionRules();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Klasse „%1“ wurde nicht angelegt.").arg(text));
        return std::nullopt;
    }
    return text;
}

// The tie rule and how many of a team count: both decide the lists' order.
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
    UiDialogs::NumberField counted{QStringLiteral("Mannschaft:"), QStringLiteral("beste "), QStringLiteral(" Schützen"),
                                   QStringLiteral("alle Schützen"), 0, 99, m_teamCounted};
    const std::optional<int> chosen = UiDialogs::current().chooseItem(
        QStringLiteral("Bei gleicher Ringzahl entscheiden:"), QStringLiteral("Wertung"), titles, current, &counted);
    if (!chosen)
        return;
    const TieRule rule = TieRules::All[size_t(*chosen)];
    const bool ruleChanged = *chosen != current;
    QString done;
    try {
        if (counted.value != m_teamCounted) {
            Teams::storeCounted(*Data1->database(), counted.value);
            done = TeamList::caption(counted.value) + QLatin1Char('.');
        }
        if (ruleChanged) {
            Recordset *rs = Data1->recordset();
            rs->requery();
            {
                const QSignalBlocker quiet(rs);
                TieRules::change(*rs, rule);
            }
            done = QStringLiteral("Wertung: %1. Die Plätze werden mit F5 neu vergeben. ").arg(TieRules::title(rule)) + done;
        }
        if (done.isEmpty())
            return;
        readCompetitionRules();
        refreshBothGrids();
        // Timed: after F5 the hint would be wrong, and the winners list's
        // notice stands for as long as the places are old.
        statusBar()->showMessage(done.trimmed(), PlacesHintMilliseconds);
    } catch (const std::exception &failure) {
        reportAndReread(failure, QStringLiteral("Die Wertung wurde nicht geändert."));
        readCompetitionRules();
    }
}

void frmMain::mnuEditKlassen_Click()
{
    if (!competitionIsOpen() || !storePendingEntry())
        return;
    const std::shared_ptr<Database> database = Data1->database();
    if (!database || !FileUpgrade::hasClasses(*database)) {
        Dialogs::current().message(QStringLiteral("Klassen"),
                                   QStringLiteral("Dieser Wettkampf stammt von einer früheren Version und kann nicht "
                                                  "geändert werden: Er kann keine Klassen bekommen."),
                                   Dialogs::Icon::Information);
        return;
    }
    frmKlassen dialog(m_classes, [database](const QString &name) { return Classes::shootersIn(*database, name); },
                      this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        Classes::store(*database, m_classes, dialog.classes());
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Klassen wurden nicht geändert."));
        return;
    }
    try {
        readCompetitionRules();
        refreshBothGrids();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Schützen konnten nicht neu gelesen werden."));
    }
}
