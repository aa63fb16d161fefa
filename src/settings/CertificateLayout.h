#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <vector>

// How a certificate is laid out ("Urkundenvorlage"): lines of text with
// their fields, an optional picture, the paper. Every length is millimetres
// from the paper's top left, so that a layout prints alike on any printer.
struct CertificateLine
{
    enum class Align { Left, Center, Right };

    QString text;
    QString family = QStringLiteral("DejaVu Serif");
    double pointSize = 14;
    bool bold = false;
    bool italic = false;
    Align align = Align::Center;
    double topMm = 0;   // the top of the line's box
    double leftMm = 20; // room kept free on either side of the line
    double rightMm = 20;

    bool operator==(const CertificateLine &other) const;
};

struct CertificatePicture
{
    QString name;     // the file it came from, for messages
    QByteArray bytes; // PNG, JPEG or SVG as read; empty: no picture
    double leftMm = 20;
    double topMm = 20;
    double widthMm = 30; // 0: from the other side and the picture's own aspect
    double heightMm = 0;

    bool isEmpty() const { return bytes.isEmpty(); }
    bool operator==(const CertificatePicture &other) const;
};

struct CertificateLayout
{
    enum class Paper { A4, A5 };

    Paper paper = Paper::A4;
    bool landscape = false;
    std::vector<CertificateLine> lines;
    CertificatePicture picture;

    // The paper as it is turned, in millimetres.
    QSizeF paperMm() const;
    bool operator==(const CertificateLayout &other) const;

    // What a first start offers: a layout for A4 portrait.
    static CertificateLayout standard();

    // The layout as a readable text (JSON, the picture's bytes in Base64),
    // as files and the settings hold it.
    QByteArray toText() const;
    // Throws RingtalError (321) with a German description when the text is
    // not a layout this version can read.
    static CertificateLayout fromText(const QByteArray &text);

    // The user's layout in the settings ("Urkundenvorlage" / "Vorlage"); the
    // standard layout when none is stored or the stored one cannot be read.
    static CertificateLayout stored();
    void store() const;
};
