#include "printing/GlyphBatch.h"

#include <QPainter>

GlyphBatch::GlyphBatch(QPainter &painter)
    : m_painter(painter)
{
}

GlyphBatch::~GlyphBatch()
{
    flush();
}

void GlyphBatch::add(const QList<QGlyphRun> &runs, const QPointF &origin)
{
    for (const QGlyphRun &run : runs) {
        if (run.underline() || run.strikeOut() || run.overline()) {
            m_painter.drawGlyphRun(origin, run);
            continue;
        }
        const QRawFont font = run.rawFont();
        auto group = std::find_if(m_groups.begin(), m_groups.end(), [&](const Group &g) { return g.font == font; });
        if (group == m_groups.end()) {
            m_groups.push_back({font, {}, {}});
            group = m_groups.end() - 1;
        }
        const QVector<quint32> glyphs = run.glyphIndexes();
        const QVector<QPointF> positions = run.positions();
        group->glyphs += glyphs;
        for (const QPointF &position : positions)
            group->positions.push_back(position + origin);
    }
}

void GlyphBatch::flush()
{
    for (const Group &group : std::as_const(m_groups)) {
        QGlyphRun run;
        run.setRawFont(group.font);
        run.setGlyphIndexes(group.glyphs);
        run.setPositions(group.positions);
        m_painter.drawGlyphRun(QPointF(0, 0), run);
    }
    m_groups.clear();
}
