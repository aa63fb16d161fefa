#pragma once

#include <QSizeF>

class QPainter;

// Pages that the preview window shows and a print paints one after the
// other: the winners list's table pages, the certificates.
class PageSource
{
public:
    virtual ~PageSource() = default;

    virtual int pageCount() const = 0;
    // The paper in the pixels of the device the pages are meant for.
    virtual QSizeF paperPixels() const = 0;
    // Paints page `index` (0-based). The painter draws in the device's
    // pixels, its origin at the paper's top left.
    virtual void paint(QPainter &painter, int index) = 0;
};
