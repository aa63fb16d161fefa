// Printing and previewing the winners list, and the printer settings dialog.
#include "mainwindow/frmMain.h"

#include "widgets/FontSettings.h"

#include "grid/DataGrid.h"
#include "printing/GridPrinter.h"
#include "printing/frmPrinterSetup.h"
#include "settings/SettingsStore.h"
#include "store/tempModule.h"

#include <QLabel>

namespace {

const QString PrinterSection = QStringLiteral("Printer");
const QString Footer = QStringLiteral("\\tSeite \\p von \\P\\tRingtal (Velmor-Software GmbH)");

double printerSetting(const QString &key, const QString &defaultValue)
{
    return ParseDecimal(SettingsStore::read(PrinterSection, key, defaultValue));
}

} // namespace

// Every run sets all fields again, so nothing of an earlier run carries over.
// Margins are twips, as every length this program stores.
void frmMain::fillPrintInfo(PrintInfo &info)
{
    QFont title;
    LoadFont(QStringLiteral("Titelzeile"), title);
    info.pageHeader = Label1->text();
    info.pageHeaderFont = title;
    info.repeatGridHeader = true;
    info.pageFooter = Footer;
    info.pageFooterFont.setPointSizeF(8);
    info.pageFooterFont.setBold(false);
    info.repeatColumnHeaders = true;
    info.marginLeft = printerSetting(QStringLiteral("Links"), QStringLiteral("1000"));
    info.marginRight = printerSetting(QStringLiteral("Rechts"), QStringLiteral("1000"));
    info.marginTop = printerSetting(QStringLiteral("Oben"), QStringLiteral("1000"));
    info.marginBottom = printerSetting(QStringLiteral("Unten"), QStringLiteral("1000"));
    info.orientation = printerSetting(QStringLiteral("Format"), QStringLiteral("2"));
    info.fitColumnsToContents = printerSetting(QStringLiteral("Spaltenanpassung"), QStringLiteral("0")) != 0;
    info.newPagePerHeading = printerSetting(QStringLiteral("Klassenumbruch"), QStringLiteral("0")) != 0;
    info.pageSubheader = tieRuleLine();
}

void frmMain::PrintWinnersList(int mode)
{
    fillPrintInfo(TDBGrid2->printInfo());
    GridPrinter printer(*TDBGrid2);
    if (mode == 1)
        printer.printPreview(this);
    else
        printer.print();
}

// The team list is printed with the winners list's settings, from the table
// the tab shows.
void frmMain::PrintTeamList(int mode)
{
    PrintInfo info = TDBGrid2->printInfo();
    fillPrintInfo(info);
    GridPrinter printer(info, teamListTable(), QStringLiteral("Mannschaftsliste"));
    if (mode == 1)
        printer.printPreview(this);
    else
        printer.print();
}

// The list of the tab that is shown: the team list on its tab, the winners
// list on every other.
void frmMain::mnuDateiPrint_Click()
{
    const bool teams = onTeamTab();
    if (!(teams ? teamListReady() : winnersListReady()))
        return;
    try {
        teams ? PrintTeamList(2) : PrintWinnersList(2);
    } catch (const std::exception &failure) {
        reportFailure(failure, teams ? QStringLiteral("Die Mannschaftsliste wurde nicht gedruckt.")
                                     : QStringLiteral("Die Siegerliste wurde nicht gedruckt."));
    }
}

void frmMain::mnuPreviou_Click()
{
    const bool teams = onTeamTab();
    if (!(teams ? teamListReady() : winnersListReady()))
        return;
    try {
        teams ? PrintTeamList(1) : PrintWinnersList(1);
    } catch (const std::exception &) {
        // A preview that cannot be prepared or started is simply not shown.
    }
}

void frmMain::mnuDateiPrinterSetup_Click()
{
    frmPrinterSetup dialog(this);
    dialog.exec();
}
