#pragma once

#include <QString>

// Every message box of the program goes through this seam: the program
// installs the real Qt dialogs, tests install scripted answers, so every
// command can be driven offscreen. Only the message boxes are here, which the
// store and the grid need; the windows' other dialogs (input, files, font,
// printer, progress) are the other half of the seam, UiDialogs.
class Dialogs
{
public:
    enum class Answer { Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7, Ok = 1, Cancel = 2 };
    enum class Icon { Question, Exclamation, Information, Critical };

    virtual ~Dialogs() = default;

    // Abort/Retry/Ignore box, Abort the default button.
    virtual Answer errorBox(const QString &title, const QString &text) = 0;
    // Yes/No question.
    virtual Answer question(const QString &title, const QString &text, Icon icon) = 0;
    // Plain message with an OK button.
    virtual void message(const QString &title, const QString &text, Icon icon) = 0;

    // The installed seam. Never null once the program or a test has set one.
    static Dialogs &current();
    static void install(Dialogs *dialogs);
};
