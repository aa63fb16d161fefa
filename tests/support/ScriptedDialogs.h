#pragma once

#include "store/Dialogs.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <deque>

// Dialog seam for tests: every dialog the program shows is recorded, and its
// answer is taken from a queue the test fills beforehand. A dialog without a
// queued answer is recorded as unexpected and answered with Abort/No/Cancel.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString kind;   // "error", "question", "message", "input", "save", "open", "print", "progress"
        QString title;
        QString text;
        Icon icon = Icon::Information;
        FileRequest request;
        int maximum = 0; // of a progress
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answer(Answer answer) { m_answers.push_back(answer); }
    // An empty optional answers Cancel.
    void answerText(const std::optional<QString> &text) { m_texts.push_back({!text.has_value(), text.value_or(QString())}); }
    void answerFile(const QString &path) { m_files.push_back(path); }
    void answerFont(const QFont &font, const QColor &colour) { m_fonts.push_back({false, font, colour}); }
    void cancelFont() { m_fonts.push_back({true, QFont(), QColor()}); }
    // What the last font chooser was preset with.
    const QFont &presetFont() const { return m_presetFont; }
    const QColor &presetColour() const { return m_presetColour; }


    // The print dialog: the user chooses a PDF file on A4 paper; an empty text answers Cancel.
    void answerPrint(const QString &pdfPath) { m_prints.push_back(pdfPath); }
    // The user presses the progress's cancel button once a task has done this many steps.
    void cancelProgressAt(int step) { m_cancelAt = step; }
    // The steps every progress was told, in order.
    const std::vector<int> &progressSteps() const { return m_progressSteps; }

    const std::vector<Shown> &shown() const { return m_shown; }
    int unexpected() const { return m_unexpected; }
    bool allAnswersUsed() const
    {
        return m_answers.empty() && m_texts.empty() && m_files.empty() && m_prints.empty()
            && m_fonts.empty();
    }
    void clear();

    Answer errorBox(const QString &title, const QString &text) override;
    Answer question(const QString &title, const QString &text, Icon icon) override;
    void message(const QString &title, const QString &text, Icon icon) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title) override;
    QString saveFileName(const FileRequest &request) override;
    QString openFileName(const FileRequest &request) override;
    bool chooseFont(QFont &font, QColor &colour) override;
    bool printDialog(QPrinter &printer) override;
    std::unique_ptr<Progress> progress(const QString &text, int maximum) override;

private:
    Answer nextAnswer(Answer fallback);

    Dialogs *m_previous = nullptr;
    std::deque<Answer> m_answers;
    struct TextAnswer
    {
        bool cancel;
        QString text;
    };
    std::deque<TextAnswer> m_texts;
    std::deque<QString> m_files;
    struct FontAnswer
    {
        bool cancel;
        QFont font;
        QColor colour;
    };
    std::deque<FontAnswer> m_fonts;
    QFont m_presetFont;
    QColor m_presetColour;
    std::deque<QString> m_prints;
    int m_cancelAt = -1;
    std::vector<int> m_progressSteps;
    std::vector<Shown> m_shown;
    int m_unexpected = 0;
};
