#include "certificates/CertificatePages.h"

#include "store/Numbers.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QSvgRenderer>
#include <QTextLayout>

namespace {

constexpr double MmPerInch = 25.4;
// A picture without a resolution of its own is taken as a screen's.
constexpr double PlainDpi = 96;
// Texts shaped per line are kept up to this many; a field of thousands of
// names does not keep them all.
constexpr int KeptTexts = 4096;
// Measurements in pixels of a high-resolution printer round; a line that
// fits exactly must not be refused for a hundredth of a pixel.
constexpr double Slack = 0.5;

QString mm(double value)
{
    return Numbers::numberText(std::round(value * 10) / 10);
}

QString pictureName(const CertificatePicture &picture)
{
    return picture.name.isEmpty() ? QStringLiteral("Bild") : picture.name;
}

} // namespace

CertificatePages::CertificatePages(CertificateLayout layout, std::vector<Certificate> certificates, QPaintDevice *device)
    : m_layout(std::move(layout))
    , m_certificates(std::move(certificates))
    , m_device(device)
    , m_dpiX(device->logicalDpiX())
    , m_dpiY(device->logicalDpiY())
{
    for (const CertificateLine &line : m_layout.lines) {
        QFont font(line.family);
        font.setPointSizeF(line.pointSize);
        font.setBold(line.bold);
        font.setItalic(line.italic);
        m_fonts.push_back({font, QFontMetricsF(font, m_device).height(), {}});
    }
    loadPicture();
}

CertificatePages::~CertificatePages() = default;

void CertificatePages::setUpPrinter(QPrinter &printer, const CertificateLayout &layout)
{
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(layout.paper == CertificateLayout::Paper::A4 ? QPageSize::A4 : QPageSize::A5));
    printer.setPageOrientation(layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

double CertificatePages::pxX(double mm) const
{
    return mm * m_dpiX / MmPerInch;
}

double CertificatePages::pxY(double mm) const
{
    return mm * m_dpiY / MmPerInch;
}

QSizeF CertificatePages::paperPixels() const
{
    const QSizeF paper = m_layout.paperMm();
    return QSizeF(pxX(paper.width()), pxY(paper.height()));
}

void CertificatePages::loadPicture()
{
    const QByteArray &bytes = m_layout.picture.bytes;
    if (bytes.isEmpty())
        return;
    if (m_image.loadFromData(bytes) && !m_image.isNull()) {
        const double dpmX = m_image.dotsPerMeterX() > 0 ? m_image.dotsPerMeterX() : PlainDpi / MmPerInch * 1000;
        const double dpmY = m_image.dotsPerMeterY() > 0 ? m_image.dotsPerMeterY() : PlainDpi / MmPerInch * 1000;
        m_pictureSize = QSizeF(m_image.width() / dpmX * 1000, m_image.height() / dpmY * 1000);
        return;
    }
    m_image = QImage();
    auto svg = std::make_unique<QSvgRenderer>();
    if (svg->load(bytes) && svg->isValid() && !svg->defaultSize().isEmpty()) {
        m_pictureSize = QSizeF(svg->defaultSize()) * MmPerInch / PlainDpi;
        m_svg = std::move(svg);
    }
}

// A side given as 0 follows from the other and the picture's aspect; both 0
// print the picture at its own size.
QRectF CertificatePages::pictureMm() const
{
    const CertificatePicture &picture = m_layout.picture;
    double width = picture.widthMm;
    double height = picture.heightMm;
    if (width <= 0 && height <= 0) {
        width = m_pictureSize.width();
        height = m_pictureSize.height();
    } else if (width <= 0) {
        width = height * m_pictureSize.width() / m_pictureSize.height();
    } else if (height <= 0) {
        height = width * m_pictureSize.height() / m_pictureSize.width();
    }
    return QRectF(picture.leftMm, picture.topMm, width, height);
}

const CertificatePages::Shaped &CertificatePages::shaped(int line, const QString &text)
{
    LineFont &font = m_fonts[size_t(line)];
    auto found = font.shaped.constFind(text);
    if (found != font.shaped.constEnd())
        return *found;
    if (font.shaped.size() >= KeptTexts)
        font.shaped.clear();
    QTextLayout layout(text, font.font, m_device);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    if (textLine.isValid())
        textLine.setLineWidth(std::numeric_limits<int>::max() / 4);
    layout.endLayout();
    Shaped entry;
    entry.runs = layout.glyphRuns();
    entry.width = textLine.isValid() ? textLine.naturalTextWidth() : 0;
    return *font.shaped.insert(text, entry);
}

std::optional<QString> CertificatePages::lineProblem(int index)
{
    const CertificateLine &line = m_layout.lines[size_t(index)];
    const QString number = QString::number(index + 1);
    if (const std::optional<QString> fields = CertificateFields::problem(line.text))
        return QStringLiteral("Zeile %1: %2").arg(number, *fields);
    if (line.text.trimmed().isEmpty())
        return std::nullopt;
    const QSizeF paper = m_layout.paperMm();
    const double bottom = line.topMm + m_fonts[size_t(index)].height * MmPerInch / m_dpiY;
    if (pxY(bottom) > pxY(paper.height()) + Slack)
        return QStringLiteral("Zeile %1 reicht bis %2 mm und damit über das Seitenende hinaus (die Seite ist %3 mm hoch).")
                .arg(number, mm(bottom), mm(paper.height()));
    const double room = pxX(paper.width() - line.leftMm - line.rightMm);
    if (room <= 0)
        return QStringLiteral("Zeile %1: Die Ränder links und rechts lassen keinen Platz für Text.").arg(number);
    for (const Certificate &certificate : m_certificates) {
        if (shaped(index, CertificateFields::fill(line.text, certificate)).width > room + Slack)
            return QStringLiteral("Zeile %1 passt für „%2“ nicht auf die Seite: Schrift kleiner oder die Ränder links "
                                  "und rechts schmaler wählen.")
                    .arg(number, certificate.name);
    }
    return std::nullopt;
}

std::optional<QString> CertificatePages::problem()
{
    for (int line = 0; line < int(m_layout.lines.size()); ++line) {
        if (CertificateFields::problem(m_layout.lines[size_t(line)].text))
            return lineProblem(line);
    }
    const CertificatePicture &picture = m_layout.picture;
    if (!picture.isEmpty() && m_pictureSize.isEmpty())
        return QStringLiteral("Das Bild „%1“ kann nicht gelesen werden: Es ist kein PNG-, JPEG- oder SVG-Bild.")
                .arg(pictureName(picture));
    if (!picture.isEmpty()) {
        const QRectF placed = pictureMm();
        const QSizeF paper = m_layout.paperMm();
        if (placed.right() > paper.width() + 1e-6 || placed.bottom() > paper.height() + 1e-6)
            return QStringLiteral("Das Bild „%1“ liegt nicht ganz auf der Seite (es reicht bis %2 × %3 mm, "
                                  "die Seite ist %4 × %5 mm groß).")
                    .arg(pictureName(picture), mm(placed.right()), mm(placed.bottom()), mm(paper.width()),
                         mm(paper.height()));
    }
    for (int line = 0; line < int(m_layout.lines.size()); ++line) {
        if (std::optional<QString> found = lineProblem(line))
            return found;
    }
    return std::nullopt;
}

void CertificatePages::paintPicture(QPainter &painter)
{
    if (m_pictureSize.isEmpty())
        return;
    const QRectF mmBox = pictureMm();
    const QRectF box(pxX(mmBox.left()), pxY(mmBox.top()), pxX(mmBox.width()), pxY(mmBox.height()));
    if (m_svg)
        m_svg->render(&painter, box);
    else
        painter.drawImage(box, m_image);
}

void CertificatePages::paint(QPainter &painter, int index)
{
    if (index < 0 || index >= pageCount())
        return;
    const Certificate &certificate = m_certificates[size_t(index)];
    paintPicture(painter);
    painter.setPen(Qt::black);
    const double paperWidth = m_layout.paperMm().width();
    for (int line = 0; line < int(m_layout.lines.size()); ++line) {
        const CertificateLine &laid = m_layout.lines[size_t(line)];
        const Shaped &text = shaped(line, CertificateFields::fill(laid.text, certificate));
        const double left = pxX(laid.leftMm);
        const double right = pxX(paperWidth - laid.rightMm);
        double x = left;
        if (laid.align == CertificateLine::Align::Center)
            x = left + (right - left - text.width) / 2;
        else if (laid.align == CertificateLine::Align::Right)
            x = right - text.width;
        const QPointF at(x, pxY(laid.topMm));
        for (const QGlyphRun &run : text.runs)
            painter.drawGlyphRun(at, run);
    }
}
