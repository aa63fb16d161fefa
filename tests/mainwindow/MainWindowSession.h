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
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QWindow>
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
namespace GridInput {

// The fields of Ergebnisse in the column order of both result grids.
inline const QStringList Fields = QStringLiteral("ID Platz StartNr Schuetze Verein Serie Innenzehner Ring1 Ring2 Ring3 "
                                                 "Ring4 Ring5 Ring6 Ring7 Ring8 Ring9 Ring10 Sortierung")
                                      .split(QLatin1Char(' '));

inline int column(const QString &field) { return int(Fields.indexOf(field)); }
inline int newRowLine(const DataGrid *grid) { return grid->model()->rowCount() - 1; }
inline QString currentField(const DataGrid *grid) { return Fields.value(grid->currentIndex().column()); }

inline QString cellText(const DataGrid *grid, int row, const QString &field)
{
    return grid->model()->index(row, column(field)).data(Qt::DisplayRole).toString();
}

inline QStringList columnTexts(const DataGrid *grid, const QString &field)
{
    QStringList texts;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        texts << cellText(grid, row, field);
    return texts;
}

// Plain entries are typed; "<Tab>", "<Backtab>", "<Return>", "<Enter>" (keypad), "<Esc>", "<Del>",
// "<Up>", "<Down>", "<Backspace>" are keys; "@2:Verein" clicks the cell of row 2 in column Verein, "@new:StartNr"
// one on the new-row line.
inline void play(DataGrid *grid, const QStringList &script)
{
    static const QHash<QString, Qt::Key> keys{
        {"<Tab>", Qt::Key_Tab}, {"<Backtab>", Qt::Key_Backtab}, {"<Return>", Qt::Key_Return}, {"<Enter>", Qt::Key_Enter},
        {"<Esc>", Qt::Key_Escape}, {"<Del>", Qt::Key_Delete}, {"<Up>", Qt::Key_Up}, {"<Down>", Qt::Key_Down},
        {"<Backspace>", Qt::Key_Backspace}};
    for (const QString &step : script) {
        if (keys.contains(step)) {
            GuiTyping::press(keys.value(step));
        } else if (step.startsWith(QLatin1Char('@'))) {
            const QString row = step.mid(1).section(QLatin1Char(':'), 0, 0);
            const QModelIndex index = grid->model()->index(row == "new" ? newRowLine(grid) : row.toInt(), column(step.section(':', 1)));
            grid->scrollTo(index);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->visualRect(index).center());
            QCoreApplication::processEvents();
        } else {
            GuiTyping::typeText(step); // to the grid for the first key, to the cell editor it opens for the rest
        }
    }
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

// A field of one stored row, read through the test's own connection.
inline QVariant stored(const TestCompetition &competition, qint64 id, const QString &field)
{
    return competition.scalar(QStringLiteral("SELECT \"%1\" FROM Ergebnisse WHERE ID = ?").arg(field), {id});
}

inline int rowCount(const TestCompetition &competition)
{
    return competition.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt();
}

// A user's work on the window as a script of steps and, starting with "?", checks made where they
// stand. Steps: what play() takes, on the entry grid until "<winners tab>" shows the winners list;
// "<F5>"; "<focus txtSuche>" (or "<focus grid>"); "<activate>" brings the window to the front;
// "<close menu>", "<close frame>"; "#mnuDateiOpen" runs a menu command; "&Name\tClub" hands a
// shooter over from the master list; "!Yes" (or another answer), "!file:PATH" and "!print" (Cancel)
// queue the next answer; "$SQL" is another program's write. Checks: "?at 1:Ring9" the current cell;
// "?on Zeller" the current shooter; "?cell 2:Schuetze=Neu" a shown text; "?stored 3.Ring2=9" a
// stored field (ID 0: the row added last); "?rows 5" the stored rows; "?shown 6" the grid's lines;
// "?winners 5" the winners list's rows; "?pending", "?not pending" a typed row waiting; "?note
// 0:Ring3", "?no note 0:Ring3" a marked cell; "?status TEXT"; "?boxes 2" the dialogs shown so far;
// "?box TEXT" the last one starts so; "?right", "?left" the open editor's alignment; "?text
// txtSuche=" a box's text; "?notice", "?no notice" the places' notice; "?refused" the last hand-over
// failed; "?open", "?closed" the window; "?last PATH" the stored last competition.
inline void run(MainWindowSession &session, const TestCompetition &competition, const QStringList &script)
{
    static const QHash<QString, Dialogs::Answer> answers{{"Yes", Dialogs::Answer::Yes}, {"No", Dialogs::Answer::No}};
    DataGrid *grid = session.entryGrid();
    bool refused = false;
    for (const QString &step : script) {
        const QString arg = step.section(QLatin1Char(' '), 1), value = arg.section(QLatin1Char('='), 1);
        const QString where = arg.section(QLatin1Char('='), 0, 0), row = where.section(QLatin1Char(':'), 0, 0);
        const QModelIndex cell = grid->model()->index(row == "new" ? newRowLine(grid) : row.toInt(), column(where.section(':', 1)));
        const std::vector<ScriptedDialogs::Shown> &shown = session.dialogs().shown();
        auto *notice = session.window().findChild<QLabel *>(QStringLiteral("lblPlaetzeNichtAktuell"));
        const auto check = [&step](bool good, const QString &seen) {
            if (!good)
                QTest::qFail(qPrintable(step + QStringLiteral(" - ") + seen), __FILE__, __LINE__);
            return good;
        };
        bool good = true;
        if (step.startsWith(QLatin1String("!file:"))) {
            session.dialogs().answerFile(step.mid(6));
        } else if (step == QLatin1String("!print")) {
            session.dialogs().answerPrint(QString());
        } else if (step.startsWith(QLatin1Char('!'))) {
            session.dialogs().answer(answers.value(step.mid(1)));
        } else if (step.startsWith(QLatin1Char('#'))) {
            session.trigger(step.mid(1));
        } else if (step.startsWith(QLatin1Char('$'))) {
            competition.exec(step.mid(1));
        } else if (step.startsWith(QLatin1Char('&'))) {
            try {
                refused = false;
                session.window().setNeuerSchuetze(step.mid(1));
            } catch (const std::exception &) {
                refused = true;
            }
        } else if (step == QLatin1String("<F5>")) {
            QTest::keyClick(&session.window(), Qt::Key_F5);
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
        } else if (step.startsWith(QLatin1String("<close "))) {
            session.close(step.mid(7).chopped(1));
        } else if (!step.startsWith(QLatin1Char('?'))) {
            play(grid, {step});
        } else if (step.startsWith(QLatin1String("?at "))) {
            const QModelIndex at = grid->currentIndex();
            good = check(at == cell, QStringLiteral("at %1:%2").arg(at.row()).arg(Fields.value(at.column())));
        } else if (step.startsWith(QLatin1String("?on "))) {
            const QString name = GetFieldValue(*grid->recordset(), QStringLiteral("Schuetze")).toString();
            good = check(name == arg, name);
        } else if (step.startsWith(QLatin1String("?cell "))) {
            good = check(cell.data().toString() == value, cell.data().toString());
        } else if (step.startsWith(QLatin1String("?stored "))) {
            const qint64 id = arg.section('.', 0, 0).toLongLong();
            const QVariant have = stored(competition, id ? id : competition.scalar("SELECT max(ID) FROM Ergebnisse").toLongLong(),
                                         where.section('.', 1));
            good = check(have.typeId() == QMetaType::Double ? qFuzzyCompare(have.toDouble(), value.toDouble())
                                                            : have.toString() == value, have.toString());
        } else if (step.startsWith(QLatin1String("?rows "))) {
            good = check(rowCount(competition) == arg.toInt(), QString::number(rowCount(competition)));
        } else if (step.startsWith(QLatin1String("?shown "))) {
            good = check(grid->model()->rowCount() == arg.toInt(), QString::number(grid->model()->rowCount()));
        } else if (step.startsWith(QLatin1String("?winners "))) {
            const int rows = session.winnersGrid()->recordset()->rowCount();
            good = check(rows == arg.toInt(), QString::number(rows));
        } else if (step == QLatin1String("?pending") || step == QLatin1String("?not pending")) {
            good = check(grid->hasPendingEdit() == (step == QLatin1String("?pending")), QString());
        } else if (step.startsWith(QLatin1String("?note ")) || step.startsWith(QLatin1String("?no note "))) {
            const bool marked = cell.data(Qt::BackgroundRole).isValid() && cell.data(Qt::ToolTipRole).isValid();
            good = check(marked == step.startsWith(QLatin1String("?note ")), cell.data(Qt::ToolTipRole).toString());
        } else if (step.startsWith(QLatin1String("?status"))) {
            const QString message = session.window().statusBar()->currentMessage();
            good = check(message == (step.contains(QLatin1Char(' ')) ? arg : QString()), message);
        } else if (step.startsWith(QLatin1String("?boxes "))) {
            good = check(shown.size() == size_t(arg.toInt()), QString::number(qsizetype(shown.size())));
        } else if (step.startsWith(QLatin1String("?box "))) {
            good = check(!shown.empty() && shown.back().text.startsWith(arg), shown.empty() ? QString() : shown.back().text);
        } else if (step == QLatin1String("?right") || step == QLatin1String("?left")) {
            auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            good = check(editor && bool(editor->alignment() & Qt::AlignRight) == (step == QLatin1String("?right")), QString());
        } else if (step.startsWith(QLatin1String("?text "))) {
            const QString text = session.window().findChild<QLineEdit *>(where)->text();
            good = check(text == value, text);
        } else if (step == QLatin1String("?notice") || step == QLatin1String("?no notice")) {
            good = check(notice->isVisible() == (step == QLatin1String("?notice"))
                             && notice->text() == QStringLiteral("Plätze nicht aktuell – Aktualisieren mit F5"), notice->text());
        } else if (step == QLatin1String("?refused")) {
            good = check(refused, QString());
        } else if (step == QLatin1String("?open") || step == QLatin1String("?closed")) {
            good = check(session.window().isVisible() == (step == QLatin1String("?open")), QString());
        } else if (step.startsWith(QLatin1String("?last "))) {
            good = check(session.last() == arg, session.last());
        } else {
            good = check(false, QStringLiteral("no such check"));
        }
        if (!good)
            return;
    }
}

} // namespace GridInput
