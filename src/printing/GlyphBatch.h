#pragma once

#include <QGlyphRun>
#include <QPointF>
#include <QRawFont>
#include <QVector>

class QPainter;

// Collects the glyphs of many texts of one colour and draws them as one run
// per font: a page of a long list becomes a handful of drawing calls instead
// of one per cell. Underlined or struck-through texts are drawn at once, as
// their lines must end with each text.
class GlyphBatch
{
public:
    explicit GlyphBatch(QPainter &painter);
    ~GlyphBatch();

    GlyphBatch(const GlyphBatch &) = delete;
    GlyphBatch &operator=(const GlyphBatch &) = delete;

    void add(const QList<QGlyphRun> &runs, const QPointF &origin);
    void flush();

private:
    struct Group
    {
        QRawFont font;
        QVector<quint32> glyphs;
        QVector<QPointF> positions;
    };

    QPainter &m_painter;
    QVector<Group> m_groups;
};
