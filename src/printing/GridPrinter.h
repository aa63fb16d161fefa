#pragma once

#include "grid/PrintInfo.h"
#include "printing/PrintTable.h"
#include "widgets/UiDialogs.h"

#include <QSizeF>
#include <optional>

class DataGrid;
class RingtalError;
class PrintPreviewWindow;
class QPrinter;
class QWidget;

// What a printer or PDF file that refused the pages is told as: the file
// that cannot be written, or the printer's fault.
RingtalError cannotPrint(const QPrinter &printer);

// The print facility of a grid: prints or previews all its rows with the
// grid's print settings. Lists of thousands of rows show their progress,
// with a cancel button, once the task takes longer than about a second.
// A list that is no grid's (the team list) is printed from a table made
// beforehand, with print settings of its own.
class GridPrinter
{
public:
    explicit GridPrinter(DataGrid &grid);
    // listName as the progress names it ("Mannschaftsliste").
    GridPrinter(const PrintInfo &info, PrintTable table, const QString &listName);

    // The print dialog, then every row to the printer or PDF file chosen.
    // Cancelling ends quietly; a failure throws RingtalError.
    void print();
    // Every row to a printer already chosen; false when the user cancelled.
    bool printTo(QPrinter &printer);
    // Opens the preview window over every row; nullptr when the user
    // cancelled. A failure throws RingtalError.
    PrintPreviewWindow *printPreview(QWidget *owner);

    // Orientation from the print settings; the margins are the print's own.
    static void setUpPrinter(QPrinter &printer, const PrintInfo &info);
    // The printer's paper, as oriented, in twips.
    static QSizeF paperTwips(const QPrinter &printer);

private:
    std::optional<PrintTable> takeRows(UiDialogs::Progress &progress);
    const PrintInfo &info() const;
    int rowCount() const;

    DataGrid *m_grid = nullptr;
    PrintInfo m_info;
    std::optional<PrintTable> m_table;
    QString m_listName = QStringLiteral("Siegerliste");
};
