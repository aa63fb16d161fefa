#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QString>

class QPaintDevice;

// Texts of one font shaped once for one paint device and kept: a list of
// 5,000 rows repeats its ring values, places and clubs thousands of times,
// and shaping is what drawing text costs most. Positions are in the device's
// pixels, relative to the top left of the text's line.
class TextRunCache
{
public:
    struct Entry
    {
        QList<QGlyphRun> runs;
        qreal width = 0;
    };

    TextRunCache(const QFont &font, QPaintDevice *device);

    const QFont &font() const { return m_font; }
    qreal lineHeight() const { return m_lineHeight; }
    // The text as shaped.
    const Entry &shaped(const QString &text);
    // The text, cut with an ellipsis when it is wider than maxWidth.
    const Entry &fitted(const QString &text, qreal maxWidth);

private:
    QFont m_font;
    QPaintDevice *m_device;
    qreal m_lineHeight = 0;
    QHash<QString, Entry> m_entries;
    QHash<QString, QString> m_elided;
};
