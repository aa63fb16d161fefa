#pragma once

#include "grid/DataGrid.h"
#include "mainwindow/frmMain.h"
#include "store/Recordset.h"
#include "store/tempModule.h"
#include "support/GuiTyping.h"
#include "support/ScriptedDialogs.h"
#include "support/TestCompetition.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QWindow>
#include <functional>
#include <QtTest>
#include <memory>

// One run of the main window for a test: its own settings store, scripted dialogs, and the window.
// The window reads the last competition while it is built, so "Last" (unset when invalid) and the
// answers for boxes it shows while it opens are given before.
class MainWindowSession
{
public:
    explicit MainWindowSession(const QVariant &last = QVariant(), const QList<int> &answers = {})
    {
        if (last.isValid())
            m_settings.write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), last.toString());
        for (const int answer : answers)
            m_dialogs.answer(static_cast<Dialogs::Answer>(answer));
        m_window = std::make_unique<frmMain>();
    }
    ~MainWindowSession() { m_window.reset(); } // before the dialog seam and the settings it uses

    frmMain &window() { return *m_window; }
    ScriptedDialogs &dialogs() { return m_dialogs; }
    TempSettings &settings() { return m_settings; }
    DataGrid *entryGrid() const { return m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid1")); }
    DataGrid *winnersGrid() const { return m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid2")); }
    QString title() const { return m_window->findChild<QLabel *>(QStringLiteral("Label1"))->text(); }
    QString last() const { return m_settings.read(QStringLiteral("Wettkampf"), QStringLiteral("Last")); }
    bool hasLast() const { return m_settings.contains(QStringLiteral("Wettkampf"), QStringLiteral("Last")); }
    void trigger(const QString &action) { m_window->findChild<QAction *>(action)->trigger(); }

    // Shows the window and gives the entry grid the keyboard, as a user's first click would.
    bool showForTyping()
    {
        m_window->show();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            return false;
        entryGrid()->setFocus();
        return QApplication::focusWidget() == entryGrid();
    }

    // By the menu command "Schließen" or the frame's close button (through the platform window);
    // true when the window closed.
    bool close(const QString &how = QStringLiteral("menu"))
    {
        if (how == QLatin1String("frame"))
            m_window->windowHandle()->close();
        else
            trigger(QStringLiteral("mnuDateiClose"));
        QCoreApplication::processEvents();
        return !m_window->isVisible();
    }

private:
    TempSettings m_settings;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

// Keyboard and mouse on a grid the way a range officer uses it, and five sample shooters.
// The window of a kind the program opened on its own (the master list
// beside the main window), the last one when there are several.
template<typename Window>
Window *openedWindow()
{
    Window *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets())
        found = qobject_cast<Window *>(window) ? qobject_cast<Window *>(window) : found;
    return found;
}

namespace GridInput {

// The cell of a row ("new": the new-row line) in the column of a field.
inline QModelIndex cell(const DataGrid *grid, const QString &row, const QString &field)
{
    return grid->model()->index(row == "new" ? grid->model()->rowCount() - 1 : row.toInt(), grid->columnIndex(field));
}

inline QString cellText(const DataGrid *grid, int row, const QString &field)
{
    return cell(grid, QString::number(row), field).data(Qt::DisplayRole).toString();
}

// The texts of a column in every row but the new-row line.
inline QStringList columnTexts(const DataGrid *grid, const QString &field)
{
    QStringList texts;
    for (int row = 0; row < grid->model()->rowCount() - 1; ++row)
        texts << cellText(grid, row, field);
    return texts;
}

// Five shooters inserted out of order, IDs in insertion order: Bauer 1, Öztürk 2, Anna Weiß 3,
// Zeller 4, Dreher 5. Öztürk and Dreher were taken over from the master list and have no sort key
// yet. Best first the grids show Anna Weiß (row 0), Bauer (1), Zeller (2), then the two without a
// key; row 5 is the new-row line.
inline void addFive(const TestCompetition &competition)
{
    competition.addResult(3, QStringLiteral("Bauer"), QStringLiteral("SV Tell"), 95.2, "000952" "01" "05040100000000000000");
    competition.addResult(7, QStringLiteral("Öztürk"), QStringLiteral("SG Hubertus"));
    competition.addResult(1, QStringLiteral("Anna Weiß"), QStringLiteral("SV Tell"), 98.7, "000987" "03" "07030000000000000000");
    competition.addResult(5, QStringLiteral("Zeller"), QStringLiteral("SSV Altdorf"), 90.0, "000900" "00" "02050300000000000000");
    competition.addResult(9, QStringLiteral("Dreher"), QStringLiteral("SG Hubertus"));
}

// What a window's own test adds to run(): steps by their whole text, which tell what failed, if
// anything; checks by their first word, given what follows it, which give what they see.
using Own = QHash<QString, std::function<QString(const QString &)>>;

// A user's work on the window as a script of steps and, starting with "?", checks made where they
// stand. Steps, on the entry grid (or the grid given) until "<winners tab>" shows the winners list:
// plain entries are typed; "<Tab>", "<Backtab>", "<Return>", "<Enter>" (keypad), "<Esc>", "<Del>",
// "<Up>", "<Down>", "<Backspace>" and "<F5>" are keys; "@2:Verein" clicks the cell of row 2 in
// column Verein, "@new:StartNr" one on the new-row line; "<focus txtSuche>" (or "<focus grid>");
// "<activate>" brings the window to the front; "<wait 600>" lets it run that many ms; "<close menu>", "<close frame>"; "#mnuDateiOpen"
// runs a command of the grid's window; "&Name\tClub" hands a shooter over from the master list;
// "!Yes", "!No", "!file:PATH" and "!print" (Cancel) queue the next answer; "$SQL" is another
// program's write. Checks: "?at 1:Ring9" the current cell; "?on Zeller" the current shooter; "?cell
// 2:Schuetze=Neu" a shown text; "?stored 3.Ring2=9" a stored field (ID 0: the row added last);
// "?rows 5" the stored rows; "?shown 6" the grid's lines, in the model and in the view;
// "?winners 5" the winners list's rows; "?note 0:Ring3", "?plain 0:Ring3" a cell marked or not;
// "?status TEXT" ("?status" none); "?boxes 2" the dialogs so far, "?box TEXT" the last one's start;
// "?text txtSuche=" a box's text; "?last PATH" the stored last competition; and "?pending", "?not
// pending" (a typed row waiting), "?right", "?left" (the open editor's alignment), "?notice", "?no
// notice" (the places' notice), "?refused" (the last hand-over failed), "?open", "?closed".
inline void run(MainWindowSession &session, const TestCompetition &competition, const QStringList &script,
                const Own &own = {}, DataGrid *start = nullptr)
{
    static const QHash<QString, Qt::Key> keys{
        {"<Tab>", Qt::Key_Tab}, {"<Backtab>", Qt::Key_Backtab}, {"<Return>", Qt::Key_Return}, {"<Enter>", Qt::Key_Enter},
        {"<Esc>", Qt::Key_Escape}, {"<Del>", Qt::Key_Delete}, {"<Up>", Qt::Key_Up}, {"<Down>", Qt::Key_Down},
        {"<Backspace>", Qt::Key_Backspace}};
    DataGrid *grid = start ? start : session.entryGrid();
    bool refused = false;
    for (const QString &step : script) {
        const QString key = step.section(QLatin1Char(' '), 0, 0), arg = step.section(QLatin1Char(' '), 1);
        const QString where = arg.section(QLatin1Char('='), 0, 0);
        const std::vector<ScriptedDialogs::Shown> &shown = session.dialogs().shown();
        // Looked at only when checked: asking a grid for a pending edit commits its open editor.
        const auto notice = [&session](bool shown) {
            auto *label = session.window().findChild<QLabel *>(QStringLiteral("lblPlaetzeNichtAktuell"));
            return label->isVisible() == shown && label->text() == QStringLiteral("Plätze nicht aktuell – Aktualisieren mit F5");
        };
        const auto right = [](bool expected) {
            auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            return editor && bool(editor->alignment() & Qt::AlignRight) == expected;
        };
        const QHash<QString, std::function<bool()>> flags{
            {"?pending", [&] { return grid->hasPendingEdit(); }}, {"?not pending", [&] { return !grid->hasPendingEdit(); }},
            {"?right", [&] { return right(true); }}, {"?left", [&] { return right(false); }},
            {"?notice", [&] { return notice(true); }}, {"?no notice", [&] { return notice(false); }},
            {"?refused", [&] { return refused; }}, {"?open", [&] { return session.window().isVisible(); }},
            {"?closed", [&] { return !session.window().isVisible(); }}};
        // Looked up only when checked: the grid may be gone with its window.
        const auto at = [&] { return cell(grid, where.section(QLatin1Char(':'), 0, 0), where.section(':', 1)); };
        const auto marked = [&] { return at().data(Qt::BackgroundRole).isValid() && at().data(Qt::ToolTipRole).isValid(); };
        const qint64 id = arg.section('.', 0, 0).toLongLong();
        const QHash<QString, std::function<QString()>> values{
            {"?at", [&] { return QStringLiteral("%1:%2").arg(grid->currentIndex().row()).arg(grid->columns(grid->currentIndex().column()).dataField()); }},
            {"?on", [&] { return GetFieldValue(*grid->recordset(), QStringLiteral("Schuetze")).toString(); }},
            {"?cell", [&] { return at().data().toString(); }},
            {"?stored", [&] {
                 const qint64 row = id ? id : competition.scalar("SELECT max(ID) FROM Ergebnisse").toLongLong();
                 return competition.scalar(QStringLiteral("SELECT \"%1\" FROM Ergebnisse WHERE ID = ?").arg(where.section('.', 1)), {row}).toString();
             }},
            {"?rows", [&] { return competition.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toString(); }},
            {"?shown", [&] { // what the model holds and what the view was told of
                 return QString::number(grid->model()->rowCount() == grid->verticalHeader()->count() ? grid->model()->rowCount() : -1);
             }},
            {"?winners", [&] { return QString::number(session.winnersGrid()->recordset()->rowCount()); }},
            {"?note", [&] { return marked() ? where : QStringLiteral("plain"); }},
            {"?plain", [&] { return marked() ? at().data(Qt::ToolTipRole).toString() : where; }},
            {"?status", [&] { return session.window().statusBar()->currentMessage(); }},
            {"?boxes", [&] { return QString::number(qsizetype(shown.size())); }},
            {"?box", [&] { return shown.empty() ? QString() : shown.back().text; }},
            {"?text", [&] { return session.window().findChild<QLineEdit *>(where)->text(); }},
            {"?last", [&] { return session.last(); }}};
        if (!step.startsWith(QLatin1Char('?')) && own.contains(step)) {
            const QString failed = own.value(step)(QString());
            QVERIFY2(failed.isEmpty(), qPrintable(step + QStringLiteral(" - ") + failed));
        } else if (step.startsWith(QLatin1String("!file:"))) {
            session.dialogs().answerFile(step.mid(6));
        } else if (step == QLatin1String("!print")) {
            session.dialogs().answerPrint(QString());
        } else if (step.startsWith(QLatin1Char('!'))) {
            session.dialogs().answer(step == QLatin1String("!Yes") ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        } else if (step.startsWith(QLatin1Char('#'))) {
            grid->window()->findChild<QAction *>(step.mid(1))->trigger();
        } else if (step.startsWith(QLatin1Char('$'))) {
            competition.exec(step.mid(1));
        } else if (step.startsWith(QLatin1Char('&'))) {
            try {
                refused = false;
                session.window().setNeuerSchuetze(step.mid(1));
            } catch (const std::exception &) {
                refused = true;
            }
        } else if (keys.contains(step)) {
            GuiTyping::press(keys.value(step));
        } else if (step == QLatin1String("<F5>")) {
            QTest::keyClick(grid->window(), Qt::Key_F5);
        } else if (step.startsWith(QLatin1Char('@'))) {
            const QModelIndex clicked = cell(grid, step.mid(1).section(QLatin1Char(':'), 0, 0), step.section(':', 1));
            grid->scrollTo(clicked);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->visualRect(clicked).center());
            QCoreApplication::processEvents();
        } else if (step == QLatin1String("<winners tab>")) {
            session.window().findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
            grid = session.winnersGrid();
            grid->setFocus();
        } else if (step.startsWith(QLatin1String("<focus "))) {
            QWidget *widget = session.window().findChild<QWidget *>(step.mid(7).chopped(1));
            (widget ? widget : grid)->setFocus();
        } else if (step == QLatin1String("<activate>")) {
            QEvent activated(QEvent::ActivationChange);
            QApplication::sendEvent(&session.window(), &activated);
            QTest::qWait(20);
        } else if (step.startsWith(QLatin1String("<wait "))) {
            QTest::qWait(step.mid(6).chopped(1).toInt());
        } else if (step.startsWith(QLatin1String("<close "))) {
            session.close(step.mid(7).chopped(1));
        } else if (!step.startsWith(QLatin1Char('?'))) {
            GuiTyping::typeText(step); // to the grid for the first key, to the cell editor it opens for the rest
        } else if (flags.contains(step)) {
            QVERIFY2(flags.value(step)(), qPrintable(step));
        } else {
            QVERIFY2(values.contains(key) || own.contains(key), qPrintable(step + " is no check"));
            const QString seen = own.contains(key) ? own.value(key)(arg == step ? QString() : arg) : values.value(key)();
            const QString expected = QStringList{"?cell", "?stored", "?text"}.contains(key) ? arg.section(QLatin1Char('='), 1)
                                     : arg == step                                    ? QString()
                                                                                      : arg;
            bool numbers = false, number = false;
            const double have = seen.toDouble(&numbers), want = expected.toDouble(&number);
            const bool good = key == "?box" ? seen.startsWith(expected)
                              : numbers && number ? qFuzzyCompare(1 + have, 1 + want) // sums of tenths in binary
                                                  : seen == expected;
            QVERIFY2(good, qPrintable(step + QStringLiteral(" - ") + seen));
        }
    }
}

} // namespace GridInput
