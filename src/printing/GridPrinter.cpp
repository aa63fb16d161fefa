#include "printing/GridPrinter.h"

#include "grid/DataGrid.h"
#include "printing/PageRenderer.h"
#include "printing/PrintPreviewWindow.h"
#include "store/RingtalError.h"
#include "widgets/UiDialogs.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

namespace {

// Rows are copied in steps this large, so that a long list can be cancelled.
constexpr int RowsPerStep = 250;

} // namespace

RingtalError cannotPrint(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return RingtalError(
                ErrorNumber::PathFileAccess,
                QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden.").arg(printer.outputFileName()));
    return RingtalError(ErrorNumber::PrinterError,
                        QStringLiteral("Der Drucker „%1“ meldet einen Fehler.").arg(printer.printerName()));
}

GridPrinter::GridPrinter(DataGrid &grid)
    : m_grid(&grid)
{
}

GridPrinter::GridPrinter(const PrintInfo &info, PrintTable table, const QString &listName)
    : m_info(info)
    , m_table(std::move(table))
    , m_listName(listName)
{
}

const PrintInfo &GridPrinter::info() const
{
    return m_grid ? m_grid->printInfo() : m_info;
}

int GridPrinter::rowCount() const
{
    return m_grid ? PrintTable::printableRows(*m_grid) : m_table->rowCount;
}

void GridPrinter::setUpPrinter(QPrinter &printer, const PrintInfo &info)
{
    printer.setFullPage(true);
    printer.setPageOrientation(info.pageOrientation());
}

QSizeF GridPrinter::paperTwips(const QPrinter &printer)
{
    return printer.pageLayout().fullRect(QPageLayout::Point).size() * 20.0;
}

std::optional<PrintTable> GridPrinter::takeRows(UiDialogs::Progress &progress)
{
    if (!m_grid)
        return m_table;
    PrintTable table = PrintTable::layoutOf(*m_grid);
    const int rows = PrintTable::printableRows(*m_grid);
    for (int first = 0; first < rows; first += RowsPerStep) {
        const int count = std::min(RowsPerStep, rows - first);
        table.appendRows(*m_grid, first, count);
        if (!progress.advance(first + count))
            return std::nullopt;
    }
    return table;
}

void GridPrinter::print()
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, info());
    if (!UiDialogs::current().printDialog(printer))
        return;
    // The dialog may have chosen another page; the margins stay the print's own.
    printer.setFullPage(true);
    printTo(printer);
}

bool GridPrinter::printTo(QPrinter &printer)
{
    const int rows = rowCount();
    const std::unique_ptr<UiDialogs::Progress> progress = UiDialogs::current().progress(
            QStringLiteral("Die %1 wird gedruckt …").arg(m_listName), std::max(1, 2 * rows));
    std::optional<PrintTable> table = takeRows(*progress);
    if (!table)
        return false;
    PageRenderer renderer(info(), std::move(*table), &printer, paperTwips(printer));
    QPainter painter;
    if (!painter.begin(&printer))
        throw cannotPrint(printer);
    for (int page = 0; page < renderer.pageCount(); ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            throw cannotPrint(printer);
        }
        renderer.paint(painter, page);
        const PageLayout::Page &done = renderer.layout().page(page);
        if (!progress->advance(rows + done.firstRow + done.rowCount)) {
            printer.abort();
            painter.end();
            // A half-written file is no list; a printer's job is withdrawn by abort.
            if (printer.outputFormat() == QPrinter::PdfFormat)
                QFile::remove(printer.outputFileName());
            return false;
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw cannotPrint(printer);
    return true;
}

PrintPreviewWindow *GridPrinter::printPreview(QWidget *owner)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    setUpPrinter(*printer, info());
    const int rows = rowCount();
    std::optional<PrintTable> table;
    {
        const std::unique_ptr<UiDialogs::Progress> progress =
                UiDialogs::current().progress(QStringLiteral("Die Seitenvorschau wird vorbereitet …"), std::max(1, rows));
        table = takeRows(*progress);
    }
    if (!table)
        return nullptr;
    auto renderer =
            std::make_unique<PageRenderer>(info(), std::move(*table), printer.get(), paperTwips(*printer));
    auto *window = new PrintPreviewWindow(std::move(printer), std::move(renderer), info().previewCaption,
                                          info().previewPageOf, owner);
    window->show();
    return window;
}
