#pragma once

#include <QApplication>

// The application object. Any failure that escapes a command is shown as a
// message instead of ending the program: what the user typed must never be
// lost to an unexpected error.
class RingtalApplication : public QApplication
{
    Q_OBJECT

public:
    RingtalApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // German texts for Qt's own buttons and dialogs; false when not installed.
    static bool loadQtTranslations();
};
