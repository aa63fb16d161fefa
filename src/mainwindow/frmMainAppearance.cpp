// Fonts, colours, position and column layouts of the main window.
#include "mainwindow/frmMain.h"

#include "grid/DataGrid.h"
#include "grid/GridSettings.h"
#include "store/Dialogs.h"
#include "widgets/FontSettings.h"
#include "widgets/UiDialogs.h"
#include "widgets/WindowSettings.h"

#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QTableView>

void frmMain::restorePositionsAndLayouts()
{
    applyColumnWidths(*TDBGrid1, LoadFormPosition(this, TDBGrid1->columnCount()));
    LoadColumnWidths(TDBGrid2->objectName(), *TDBGrid2);
    LoadGridLayout(TDBGrid1->objectName(), *TDBGrid1);
    LoadGridLayout(TDBGrid2->objectName(), *TDBGrid2);
}

void frmMain::restoreFontsAndColours()
{
    QFont winners = TDBGrid2->font();
    LoadFont(QStringLiteral("Siegerliste"), winners);
    TDBGrid2->setFont(winners);
    TDBGrid2->setTextColor(LoadColour(QStringLiteral("Siegerliste-Forecolor"), TDBGrid2->textColor()));
    applyWinnersLooksToTeams();
    QFont entry = TDBGrid1->font();
    LoadFont(QStringLiteral("Dateneingabe"), entry);
    TDBGrid1->setFont(entry);
    TDBGrid1->setTextColor(LoadColour(QStringLiteral("Dateneingabe-Forecolor"), QColor(Qt::black)));
}

// Only a window in its normal state is stored; after a maximised or
// minimised close the previous entries stay.
void frmMain::savePositionsAndLayouts()
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    SaveFormPosition(this, columnStates(*TDBGrid1));
    SaveColumnWidths(TDBGrid2->objectName(), *TDBGrid2);
    SaveGridLayout(TDBGrid1->objectName(), *TDBGrid1);
    SaveGridLayout(TDBGrid2->objectName(), *TDBGrid2);
}

void frmMain::chooseGridFont(DataGrid *grid, const QString &fontName, const QString &colourKey)
{
    QFont font = grid->font();
    QColor colour = grid->textColor();
    if (!UiDialogs::current().chooseFont(font, colour))
        return;
    grid->setFont(font);
    grid->setTextColor(colour);
    SaveFont(fontName, grid->font());
    SaveColour(colourKey, grid->textColor());
}

void frmMain::mnuAnsEingabeFont_Click()
{
    chooseGridFont(TDBGrid1, QStringLiteral("Dateneingabe"), QStringLiteral("Dateneingabe-Forecolor"));
}

void frmMain::mnuAnsSiegerliste_Click()
{
    chooseGridFont(TDBGrid2, QStringLiteral("Siegerliste"), QStringLiteral("Siegerliste-Forecolor"));
    applyWinnersLooksToTeams();
}

// The team list is a list of winners too: it looks like the winners list.
void frmMain::applyWinnersLooksToTeams()
{
    grdMannschaften->setFont(TDBGrid2->font());
    grdMannschaften->verticalHeader()->setMinimumSectionSize(1);
    grdMannschaften->verticalHeader()->setDefaultSectionSize(TDBGrid2->verticalHeader()->defaultSectionSize());
    QPalette palette = grdMannschaften->palette();
    palette.setColor(QPalette::Text, TDBGrid2->textColor());
    grdMannschaften->setPalette(palette);
}

// The title line is printed only: the choice is stored, the screen stays as it is.
void frmMain::mnuAnsTitelzeileFont_Click()
{
    QFont font;
    LoadFont(QStringLiteral("Titelzeile"), font);
    // The chooser starts from the colour chosen last time.
    QColor colour = LoadColour(QStringLiteral("Titelzeile-Forecolor"), QColor(Qt::black));
    if (!UiDialogs::current().chooseFont(font, colour))
        return;
    SaveFont(QStringLiteral("Titelzeile"), font);
    SaveColour(QStringLiteral("Titelzeile-Forecolor"), colour);
}
