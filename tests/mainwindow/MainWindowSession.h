#pragma once

#include "grid/DataGrid.h"
#include "mainwindow/frmMain.h"
#include "support/GuiTyping.h"
#include "support/ScriptedDialogs.h"
#include "support/TestCompetition.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QWindow>
#include <QtTest>
#include <memory>

// One run of the main window for a test: its own settings store, scripted
// dialogs, and the window itself. The window reads the last competition while
// it is built, so "Last" is stored before that.
class MainWindowSession
{
public:
    // An invalid value leaves "Last" unset. Answers for boxes the window
    // shows while it opens are queued before it is built.
    explicit MainWindowSession(const QVariant &last = QVariant(), const QList<int> &answers = {})
    {
        if (last.isValid())
            m_settings.write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), last.toString());
        for (const int answer : answers)
            m_dialogs.answer(static_cast<Dialogs::Answer>(answer));
        m_window = std::make_unique<frmMain>();
    }

    ~MainWindowSession()
    {
        // The window goes before the dialog seam and the settings it uses.
        m_window.reset();
    }

    frmMain &window() { return *m_window; }
    ScriptedDialogs &dialogs() { return m_dialogs; }
    TempSettings &settings() { return m_settings; }

    DataGrid *grid(const char *name) const { return m_window->findChild<DataGrid *>(QLatin1String(name)); }
    DataGrid *entryGrid() const { return grid("TDBGrid1"); }
    DataGrid *winnersGrid() const { return grid("TDBGrid2"); }
    QString title() const { return m_window->findChild<QLabel *>(QStringLiteral("Label1"))->text(); }
    QString last() const { return m_settings.read(QStringLiteral("Wettkampf"), QStringLiteral("Last")); }
    bool hasLast() const { return m_settings.contains(QStringLiteral("Wettkampf"), QStringLiteral("Last")); }

    // Shows the window and gives the entry grid the keyboard, as a user's
    // first click would. Keys then go where the focus is, like real typing.
    bool showForTyping()
    {
        m_window->show();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            return false;
        entryGrid()->setFocus();
        return QApplication::focusWidget() == entryGrid();
    }

    // The menu command "Schließen"; true when the window closed.
    bool closeByMenu()
    {
        m_window->findChild<QAction *>(QStringLiteral("mnuDateiClose"))->trigger();
        return !m_window->isVisible();
    }

    // The close button of the window frame, which goes through the platform window.
    bool closeByFrame()
    {
        m_window->windowHandle()->close();
        QCoreApplication::processEvents();
        return !m_window->isVisible();
    }

    bool close(const QString &how) { return how == QLatin1String("frame") ? closeByFrame() : closeByMenu(); }

private:
    TempSettings m_settings;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

// Keyboard and mouse on a grid the way a range officer uses it.
namespace GridInput {

// The fields of Ergebnisse in the column order of both result grids.
inline const QStringList &fields()
{
    static const QStringList names = [] {
        QStringList f{QStringLiteral("ID"),       QStringLiteral("Platz"),  QStringLiteral("StartNr"),
                      QStringLiteral("Schuetze"), QStringLiteral("Verein"), QStringLiteral("Serie"),
                      QStringLiteral("Innenzehner")};
        for (int i = 1; i <= 10; ++i)
            f << QStringLiteral("Ring%1").arg(i);
        f << QStringLiteral("Sortierung");
        return f;
    }();
    return names;
}

inline int column(const QString &field)
{
    return int(fields().indexOf(field));
}

inline void clickCell(DataGrid *grid, int row, int column)
{
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->visualRect(index).center());
    QCoreApplication::processEvents();
}

// The new-row line is the last line of a grid.
inline int newRowLine(const DataGrid *grid)
{
    return grid->model()->rowCount() - 1;
}

// A line of keyboard and mouse input: plain entries are typed; "<Tab>",
// "<Return>", "<Enter>" (keypad), "<Esc>", "<Del>", "<Up>", "<Down>" are keys; "@2:Verein"
// clicks the cell of row 2 in column Verein, "@new:StartNr" one on the new-row line.
inline void play(DataGrid *grid, const QStringList &script)
{
    static const QHash<QString, Qt::Key> keys{{QStringLiteral("<Tab>"), Qt::Key_Tab},
                                              {QStringLiteral("<Backtab>"), Qt::Key_Backtab},
                                              {QStringLiteral("<Return>"), Qt::Key_Return},
                                              {QStringLiteral("<Enter>"), Qt::Key_Enter},
                                              {QStringLiteral("<Esc>"), Qt::Key_Escape},
                                              {QStringLiteral("<Del>"), Qt::Key_Delete},
                                              {QStringLiteral("<Up>"), Qt::Key_Up},
                                              {QStringLiteral("<Down>"), Qt::Key_Down}};
    for (const QString &step : script) {
        if (keys.contains(step)) {
            GuiTyping::press(keys.value(step));
        } else if (step.startsWith(QLatin1Char('@'))) {
            const QStringList parts = step.mid(1).split(QLatin1Char(':'));
            const int row = parts.at(0) == QLatin1String("new") ? newRowLine(grid) : parts.at(0).toInt();
            clickCell(grid, row, column(parts.at(1)));
        } else {
            GuiTyping::typeText(step); // to the grid for the first key, to the cell editor it opens for the rest
        }
    }
}

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

} // namespace GridInput
