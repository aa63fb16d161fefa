// Printing the winners list of 5,000 shooters (over 100 pages) to a PDF file,
// beside printing the same rows as one plain-text QTextDocument: the baseline.
// Both report pages per second; the list's own pages carry the grid, its
// headings on every page, the title and the footer.
#include "BenchSupport.h"
#include "grid/DataGrid.h"
#include "grid/GridModel.h"
#include "mainwindow/frmMain.h"
#include "printing/GridPrinter.h"
#include "printing/PrintPreviewWindow.h"
#include "printing/PrintTable.h"
#include "widgets/QtDialogs.h"

#include <QApplication>
#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

const BenchCompetition &competition()
{
    static const BenchCompetition file(5000);
    return file;
}

// The print settings as the print command sets them.
void setUpWinnersList(DataGrid &grid)
{
    PrintInfo &info = grid.printInfo();
    info.pageHeader = QStringLiteral("Kreismeisterschaft Luftgewehr");
    info.pageHeaderFont = QFont();
    info.repeatGridHeader = true;
    info.pageFooter = QStringLiteral("\\tSeite \\p von \\P\\tRingtal (Velmor-Software GmbH)");
    info.pageFooterFont.setPointSizeF(8);
    info.pageFooterFont.setBold(false);
    info.repeatColumnHeaders = true;
}

void pdfPrinter(QPrinter &printer, const QString &file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
}

// The visible cells of the winners list, a row a line, cells divided by tabs.
QString plainText(DataGrid &grid)
{
    PrintTable table = PrintTable::layoutOf(grid);
    table.appendRows(grid, 0, PrintTable::printableRows(grid));
    QString text;
    for (int row = 0; row < table.rowCount; ++row) {
        for (int column = 0; column < table.columns.size(); ++column)
            text += (column ? QStringLiteral("\t") : QString()) + table.text(row, column);
        text += QLatin1Char('\n');
    }
    return text;
}

void BM_PrintWinners5000_Pdf(benchmark::State &state)
{
    QtDialogs dialogs;
    QtDialogs::installSeam(&dialogs);
    BenchWindow bench(competition().path());
    DataGrid &grid = *bench.window().findChild<DataGrid *>(QStringLiteral("TDBGrid2"));
    setUpWinnersList(grid);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("siegerliste.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        GridPrinter::setUpPrinter(printer, grid.printInfo());
        pdfPrinter(printer, file);
        benchmark::DoNotOptimize(GridPrinter(grid).printTo(printer));
    }
    countPages(state, file);
    QtDialogs::installSeam(nullptr);
}
BENCHMARK(BM_PrintWinners5000_Pdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrintWinners5000_TextDocumentBaseline(benchmark::State &state)
{
    BenchWindow bench(competition().path());
    const QString text = plainText(*bench.window().findChild<DataGrid *>(QStringLiteral("TDBGrid2")));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("text.pdf"));
    for (auto _ : state) {
        QTextDocument document;
        document.setPlainText(text);
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, file);
        document.print(&printer);
    }
    countPages(state, file);
}
BENCHMARK(BM_PrintWinners5000_TextDocumentBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the preview: the rows copied, the pages laid out and the first one
// painted, which is all the user waits for.
void BM_PreviewWinners5000_Open(benchmark::State &state)
{
    QtDialogs dialogs;
    QtDialogs::installSeam(&dialogs);
    BenchWindow bench(competition().path());
    DataGrid &grid = *bench.window().findChild<DataGrid *>(QStringLiteral("TDBGrid2"));
    setUpWinnersList(grid);
    int pages = 0;
    for (auto _ : state) {
        PrintPreviewWindow *window = GridPrinter(grid).printPreview(&bench.window());
        QApplication::processEvents();
        window->grab();
        pages = window->pageCount();
        delete window;
    }
    state.counters["pages"] = pages;
    QtDialogs::installSeam(nullptr);
}
BENCHMARK(BM_PreviewWinners5000_Open)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
