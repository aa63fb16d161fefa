#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QColor;
class QFont;
class QPrinter;

// The windows' half of the dialog seam (the message boxes are Dialogs): input
// box, file, font and print dialogs and the progress of a long task. The
// program installs the real Qt dialogs, tests install scripted answers.
class UiDialogs
{
public:
    struct FileRequest
    {
        QString title;
        QString folder;
        QString fileName;
        QString filter;          // "Text|*.ext|Other|*.*" as the pairs are written
        QString defaultSuffix;
        bool confirmOverwrite = false;
        bool mustExist = false;
    };

    // A running task's progress with a cancel button, shown only when the task
    // takes longer than about a second.
    class Progress
    {
    public:
        virtual ~Progress() = default;
        // Reports that `done` steps of the maximum are done; false once the user cancelled.
        virtual bool advance(int done) = 0;
    };

    virtual ~UiDialogs() = default;

    // One-line text input; an empty optional means Cancel. A hidden text (a
    // password) shows as dots.
    virtual std::optional<QString> inputText(const QString &prompt, const QString &title, bool hidden = false) = 0;
    // A whole number asked together with a choice, for a setting that goes
    // with it (a spin box under the list).
    struct NumberField
    {
        QString prompt;   // its label
        QString prefix;   // before the number in the box
        QString suffix;   // after it
        QString zeroText; // what 0 shows as; empty when 0 shows as the others
        int minimum = 0;
        int maximum = 99;
        int value = 0; // the preset, and the number chosen once OK was pressed
    };

    // One of a few items (a drop-down list with OK and Cancel), preset to the
    // item `current`; the chosen item's index, an empty optional on Cancel.
    // With a number field, the number is asked beside it.
    virtual std::optional<int> chooseItem(const QString &prompt, const QString &title, const QStringList &items,
                                          int current, NumberField *number = nullptr) = 0;
    // File dialogs; an empty text means Cancel.
    virtual QString saveFileName(const FileRequest &request) = 0;
    virtual QString openFileName(const FileRequest &request) = 0;
    // Font chooser with face, size, styles, effects and a text colour, preset
    // from the arguments; they hold the choice afterwards. False when cancelled.
    virtual bool chooseFont(QFont &font, QColor &colour) = 0;
    // The print dialog: the user chooses a printer or a PDF file, which fills
    // the printer; false means Cancel.
    virtual bool printDialog(QPrinter &printer) = 0;
    // Progress of a task of `maximum` steps.
    virtual std::unique_ptr<Progress> progress(const QString &text, int maximum) = 0;

    // The installed seam. Never null once the program or a test has set one.
    static UiDialogs &current();
    static void install(UiDialogs *dialogs);
};
