#pragma once

#include "settings/CertificateFields.h"
#include "settings/CertificateLayout.h"

#include <vector>

class PrintPreviewWindow;
class QPrinter;
class QWidget;

// Certificates to paper or a PDF file, one page each, and into the
// program's preview window. Callers check the pages first
// (CertificatePages::problem); what is printed here is printed as laid out.
namespace CertificatePrinter {

// The print dialog, then every certificate to the printer or file chosen;
// false when the user cancelled. A failure throws RingtalError.
bool print(const CertificateLayout &layout, const std::vector<Certificate> &certificates);
// Every certificate to a printer already chosen, with progress and a cancel
// button; false when the user cancelled (a PDF begun is removed again).
bool printTo(QPrinter &printer, const CertificateLayout &layout, const std::vector<Certificate> &certificates);
// Opens the preview window over every certificate.
PrintPreviewWindow *preview(const CertificateLayout &layout, const std::vector<Certificate> &certificates,
                            QWidget *owner);

} // namespace CertificatePrinter
