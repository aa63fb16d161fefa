#include "widgets/AppIcons.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resources live in a static library; nothing would pull them into the
// program unless they are registered by name once.
static void registerResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(ringtal);
        return true;
    }();
    Q_UNUSED(registered);
}

QIcon AppIcons::picture(const QString &file)
{
    registerResources();
    return QIcon(QStringLiteral(":/") + file);
}

QIcon AppIcons::windowIcon()
{
    return picture(QStringLiteral("icons/ringtal.svg"));
}

ImageList AppIcons::toolbarImages()
{
    const std::pair<const char *, const char *> images[] = {{"exit", "icons/exit.svg"},
                                                            {"New", "icons/new.svg"},
                                                            {"Delete", "icons/delete.svg"},
                                                            {"Print", "icons/print.svg"},
                                                            {"Sort Ascending", "icons/sortascending.svg"},
                                                            {"vorschau", "icons/vorschau.svg"},
                                                            {"NOTE04", "icons/note04.svg"},
                                                            {"Macro", "icons/macro.svg"},
                                                            {"Open", "icons/open.svg"}};
    ImageList list;
    for (const auto &[key, file] : images)
        list.add(QString::fromUtf8(key), picture(QString::fromUtf8(file)));
    return list;
}

// Drawn at exactly 32 × 32 so that the hot spot is where the finger tip is,
// whatever the screen's scale.
QCursor AppIcons::handCursor()
{
    registerResources();
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/cursors/hand.svg"));
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, 32, 32));
    painter.end();
    return QCursor(QPixmap::fromImage(image), HandHotSpotX, HandHotSpotY);
}
