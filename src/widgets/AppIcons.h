#pragma once

#include "widgets/ImageList.h"

#include <QCursor>
#include <QIcon>

// The program's own pictures, compiled into it: the window icon, the
// toolbar's image list and the hand pointer over links.
class AppIcons
{
public:
    static QIcon windowIcon();
    // imlToolbarIcons: "exit", "New", "Delete", "Print", "Sort Ascending",
    // "vorschau", "NOTE04", "Macro", "Open", in this order.
    static ImageList toolbarImages();
    // 32 × 32 pixels with the hot spot at the finger tip, column 12, row 1.
    static QCursor handCursor();
    static constexpr int HandHotSpotX = 12;
    static constexpr int HandHotSpotY = 1;

private:
    static QIcon picture(const QString &file);
};
