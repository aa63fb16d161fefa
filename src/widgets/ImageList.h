#pragma once

#include <QIcon>
#include <QList>
#include <QStringList>

// Pictures addressed by key, in the order they were added, as toolbar
// buttons name the picture they show.
class ImageList
{
public:
    // A key already in the list is not added a second time.
    void add(const QString &key, const QIcon &image);
    bool contains(const QString &key) const { return m_keys.contains(key); }
    // Throws RingtalError for a key that is not in the list.
    QIcon image(const QString &key) const;
    const QStringList &keys() const { return m_keys; }
    int count() const { return int(m_keys.size()); }

private:
    QStringList m_keys;
    QList<QIcon> m_images;
};
