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
void frmMain::PrintWinnersList(int mode)
{
    QFont title;
    LoadFont(QStringLiteral("Titelzeile"), title);
    PrintInfo &info = TDBGrid2->printInfo();
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
    GridPrinter printer(*TDBGrid2);
    if (mode == 1)
        printer.printPreview(this);
    else
        printer.print();
}

void frmMain::mnuDateiPrint_Click()
{
    if (!winnersListReady())
        return;
    try {
        PrintWinnersList(2);
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Siegerliste wurde nicht gedruckt."));
    }
}

void frmMain::mnuPreviou_Click()
{
    if (!winnersListReady())
        return;
    try {
        PrintWinnersList(1);
    } catch (const std::exception &) {
        // A preview that cannot be prepared or started is simply not shown.
    }
}

void frmMain::mnuDateiPrinterSetup_Click()
{
    frmPrinterSetup dialog(this);
    dialog.exec();
}
