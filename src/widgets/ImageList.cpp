#include "widgets/ImageList.h"

#include "store/RingtalError.h"

void ImageList::add(const QString &key, const QIcon &image)
{
    if (m_keys.contains(key))
        return;
    m_keys << key;
    m_images << image;
}

QIcon ImageList::image(const QString &key) const
{
    const qsizetype index = m_keys.indexOf(key);
    if (index < 0)
        throw RingtalError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("Index außerhalb des gültigen Bereichs: kein Bild '%1'.").arg(key));
    return m_images.at(index);
}
