#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// Typing as a user does: every key goes to the widget that has the focus at
// that moment (the grid, then the cell editor it opened). Characters outside
// ASCII (umlauts) are sent with their text, which QTest::keyClicks cannot do.
namespace GuiTyping {

inline QWidget *target()
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus : QApplication::activeWindow();
}

inline void typeText(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(target(), c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Enter in a cell editor closes it through a queued call, as the event loop
// of a real session would run it before the next key arrives.
inline void press(Qt::Key key)
{
    QTest::keyClick(target(), key);
    QCoreApplication::processEvents();
}

} // namespace GuiTyping
