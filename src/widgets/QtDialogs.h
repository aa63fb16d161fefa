#pragma once

#include "store/Dialogs.h"
#include "widgets/UiDialogs.h"

class QWidget;

// The real dialogs of the program: Qt's message boxes, input box and file
// dialogs, modal over the active window. Both halves of the seam.
class QtDialogs : public Dialogs, public UiDialogs
{
public:

    Answer errorBox(const QString &title, const QString &text) override;
    Answer question(const QString &title, const QString &text, Icon icon) override;
    void message(const QString &title, const QString &text, Icon icon) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title, bool hidden = false) override;
    std::optional<int> chooseItem(const QString &prompt, const QString &title, const QStringList &items,
                                  int current, NumberField *number) override;
    QString saveFileName(const FileRequest &request) override;
    QString openFileName(const FileRequest &request) override;
    bool chooseFont(QFont &font, QColor &colour) override;
    bool printDialog(QPrinter &printer) override;
    std::unique_ptr<Progress> progress(const QString &text, int maximum) override;

    // Makes these the program's dialogs, both halves of the seam; null removes them.
    static void installSeam(QtDialogs *dialogs);

    // "Text|*.ext|Other|*.*" as the program writes filters, in Qt's form.
    static QString qtFilter(const QString &filter);

private:
    static QWidget *owner();
    static std::optional<int> chooseItemAndNumber(const QString &prompt, const QString &title, const QStringList &items,
                                                  int current, NumberField &number);
    static QString runFileDialog(const FileRequest &request, bool save);
};
