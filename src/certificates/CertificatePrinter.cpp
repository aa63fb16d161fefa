#include "certificates/CertificatePrinter.h"

#include "certificates/CertificatePages.h"
#include "printing/GridPrinter.h"
#include "printing/PrintPreviewWindow.h"
#include "store/RingtalError.h"
#include "widgets/UiDialogs.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

namespace {

void withdraw(QPrinter &printer, QPainter &painter)
{
    printer.abort();
    painter.end();
    // A half-written file is no set of certificates; a printer's job is withdrawn by abort.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        QFile::remove(printer.outputFileName());
}

} // namespace

bool CertificatePrinter::print(const CertificateLayout &layout, const std::vector<Certificate> &certificates)
{
    QPrinter printer(QPrinter::HighResolution);
    CertificatePages::setUpPrinter(printer, layout);
    if (!UiDialogs::current().printDialog(printer))
        return false;
    // The layout was checked for its own paper; a dialog that chose another must not shift it.
    CertificatePages::setUpPrinter(printer, layout);
    return printTo(printer, layout, certificates);
}

bool CertificatePrinter::printTo(QPrinter &printer, const CertificateLayout &layout,
                                 const std::vector<Certificate> &certificates)
{
    const int count = int(certificates.size());
    const std::unique_ptr<UiDialogs::Progress> progress =
            UiDialogs::current().progress(QStringLiteral("Die Urkunden werden gedruckt …"), std::max(1, count));
    CertificatePages pages(layout, certificates, &printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw cannotPrint(printer);
    for (int page = 0; page < count; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            throw cannotPrint(printer);
        }
        pages.paint(painter, page);
        if (!progress->advance(page + 1)) {
            withdraw(printer, painter);
            return false;
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw cannotPrint(printer);
    return true;
}

PrintPreviewWindow *CertificatePrinter::preview(const CertificateLayout &layout,
                                                const std::vector<Certificate> &certificates, QWidget *owner)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    CertificatePages::setUpPrinter(*printer, layout);
    auto pages = std::make_unique<CertificatePages>(layout, certificates, printer.get());
    auto *window = new PrintPreviewWindow(std::move(printer), std::move(pages), QStringLiteral("Urkunden"),
                                          QStringLiteral("Urkunde \\p von \\P"), owner);
    window->show();
    return window;
}
