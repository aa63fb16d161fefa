#pragma once

#include "printing/PageSource.h"
#include "settings/CertificateFields.h"
#include "settings/CertificateLayout.h"

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;
class QPrinter;
class QSvgRenderer;

// The certificates of a layout, one page each, measured and painted for one
// device (the printer): lengths are the layout's millimetres in the device's
// pixels, fonts its points at the device's resolution. Texts are shaped on
// that device, so that what the check finds to fit is what is printed, and
// a preview scaled from it breaks nothing differently.
class CertificatePages : public PageSource
{
public:
    CertificatePages(CertificateLayout layout, std::vector<Certificate> certificates, QPaintDevice *device);
    ~CertificatePages() override;

    int pageCount() const override { return int(m_certificates.size()); }
    QSizeF paperPixels() const override;
    void paint(QPainter &painter, int index) override;

    const CertificateLayout &layout() const { return m_layout; }
    const std::vector<Certificate> &certificates() const { return m_certificates; }

    // The first thing that would not print as laid out, as a sentence: a
    // field that does not exist, a picture that cannot be read or lies off
    // the page, a line below the paper's bottom or too wide for one of the
    // certificates. None when all of them print right.
    std::optional<QString> problem();

    // Paper and orientation of the layout, the whole sheet to paint on.
    static void setUpPrinter(QPrinter &printer, const CertificateLayout &layout);

private:
    struct Shaped
    {
        QList<QGlyphRun> runs;
        double width = 0;
    };
    struct LineFont
    {
        QFont font;
        double height = 0;
        QHash<QString, Shaped> shaped;
    };

    const Shaped &shaped(int line, const QString &text);
    void loadPicture();
    QRectF pictureMm() const;
    void paintPicture(QPainter &painter);
    std::optional<QString> lineProblem(int line);
    double pxX(double mm) const;
    double pxY(double mm) const;

    CertificateLayout m_layout;
    std::vector<Certificate> m_certificates;
    QPaintDevice *m_device;
    double m_dpiX;
    double m_dpiY;
    std::vector<LineFont> m_fonts;
    QImage m_image;
    std::unique_ptr<QSvgRenderer> m_svg;
    QSizeF m_pictureSize; // its own size in millimetres; empty when it cannot be read
};
