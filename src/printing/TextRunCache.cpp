#include "printing/TextRunCache.h"

#include <QFontMetricsF>
#include <QTextLayout>

TextRunCache::TextRunCache(const QFont &font, QPaintDevice *device)
    : m_font(font)
    , m_device(device)
    , m_lineHeight(QFontMetricsF(font, device).height())
{
}

const TextRunCache::Entry &TextRunCache::shaped(const QString &text)
{
    auto found = m_entries.find(text);
    if (found != m_entries.end())
        return *found;
    Entry entry;
    if (!text.isEmpty()) {
        QTextLayout layout(text, m_font, m_device);
        layout.setCacheEnabled(true);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        entry.width = line.isValid() ? line.naturalTextWidth() : 0;
        entry.runs = layout.glyphRuns();
    }
    return *m_entries.insert(text, entry);
}

const TextRunCache::Entry &TextRunCache::fitted(const QString &text, qreal maxWidth)
{
    const Entry &whole = shaped(text);
    if (whole.width <= maxWidth)
        return whole;
    const QString key = text + QLatin1Char('\x1f') + QString::number(maxWidth, 'f', 1);
    auto found = m_elided.find(key);
    if (found == m_elided.end())
        found = m_elided.insert(key, QFontMetricsF(m_font, m_device).elidedText(text, Qt::ElideRight, maxWidth));
    return shaped(*found);
}
