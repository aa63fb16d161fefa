// 300 certificates to a PDF file, one page each with a logo and eight lines
// of filled fields, beside the winners list printing the same number of
// pages to PDF: a certificate run must not make the user wait longer than
// the list he prints every evening.
#include "BenchSupport.h"
#include "certificates/CertificatePages.h"
#include "certificates/CertificatePrinter.h"
#include "grid/DataGrid.h"
#include "mainwindow/frmMain.h"
#include "printing/GridPrinter.h"
#include "widgets/QtDialogs.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Pages = 300;
// The winners list's A4 landscape page holds 28 rows.
constexpr int WinnersRows = 300 * 28;

void pdfPrinter(QPrinter &printer, const QString &file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
}

QByteArray logo()
{
    QImage image(400, 400, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setBrush(QColor(0, 90, 40));
    painter.drawEllipse(10, 10, 380, 380);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::vector<Certificate> certificates()
{
    std::vector<Certificate> all;
    for (int at = 0; at < Pages; ++at)
        all.push_back({QStringLiteral("Kreismeisterschaft Luftgewehr"), QStringLiteral("Klasse %1").arg(at / 3 + 1),
                       QString::number(at % 3 + 1), QStringLiteral("Schütze Nummer %1").arg(at + 1),
                       QStringLiteral("SV Verein %1").arg(at % 40), QString(), QStringLiteral("%1,%2").arg(90 + at % 10).arg(at % 10),
                       QStringLiteral("07.06.2024")});
    return all;
}

void BM_Certificates300_Pdf(benchmark::State &state)
{
    QtDialogs dialogs;
    QtDialogs::installSeam(&dialogs);
    CertificateLayout layout = CertificateLayout::standard();
    layout.picture.name = QStringLiteral("logo.png");
    layout.picture.bytes = logo();
    const std::vector<Certificate> all = certificates();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("urkunden.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        CertificatePages::setUpPrinter(printer, layout);
        pdfPrinter(printer, file);
        benchmark::DoNotOptimize(CertificatePrinter::printTo(printer, layout, all));
    }
    countPages(state, file);
    QtDialogs::installSeam(nullptr);
}
BENCHMARK(BM_Certificates300_Pdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WinnersList300Pages_Pdf(benchmark::State &state)
{
    static const BenchCompetition competition(WinnersRows);
    QtDialogs dialogs;
    QtDialogs::installSeam(&dialogs);
    BenchWindow bench(competition.path());
    DataGrid &grid = *bench.window().findChild<DataGrid *>(QStringLiteral("TDBGrid2"));
    PrintInfo &info = grid.printInfo();
    info.pageHeader = QStringLiteral("Kreismeisterschaft Luftgewehr");
    info.repeatGridHeader = true;
    info.pageFooter = QStringLiteral("\\tSeite \\p von \\P\\tRingtal (Velmor-Software GmbH)");
    info.repeatColumnHeaders = true;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("siegerliste.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        GridPrinter::setUpPrinter(printer, grid.printInfo());
        pdfPrinter(printer, file);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        benchmark::DoNotOptimize(GridPrinter(grid).printTo(printer));
    }
    countPages(state, file);
    QtDialogs::installSeam(nullptr);
}
BENCHMARK(BM_WinnersList300Pages_Pdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
