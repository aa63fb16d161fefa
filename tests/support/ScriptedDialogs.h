#pragma once

#include "support/ScriptedMessages.h"

#include <QColor>
#include <QFont>

// Both halves of the dialog seam for tests: the message boxes of
// ScriptedMessages and the windows' dialogs, recorded the same way and
// answered from queues. A dialog without a queued answer is recorded as
// unexpected and answered with Cancel.
class ScriptedDialogs : public ScriptedMessages, public UiDialogs
{
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // An empty optional answers Cancel.
    void answerText(const std::optional<QString> &text)
    {
        // A typed empty text stays distinct from Cancel (a null text).
        m_texts.push_back(text ? (text->isNull() ? QStringLiteral("") : *text) : QString());
    }
    // The number of a choice that asks one beside it; unanswered, the preset stays.
    void answerNumber(int number) { m_numbers.push_back(number); }
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

    bool allAnswersUsed() const override
    {
        return ScriptedMessages::allAnswersUsed() && m_texts.empty() && m_numbers.empty() && m_files.empty() && m_prints.empty()
            && m_fonts.empty();
    }
    void clear() override;

    std::optional<QString> inputText(const QString &prompt, const QString &title, bool hidden = false) override;
    // Answered from the text queue with the item's text; a text no item has is Cancel.
    std::optional<int> chooseItem(const QString &prompt, const QString &title, const QStringList &items,
                                  int current, NumberField *number) override;
    QString saveFileName(const FileRequest &request) override;
    QString openFileName(const FileRequest &request) override;
    bool chooseFont(QFont &font, QColor &colour) override;
    bool printDialog(QPrinter &printer) override;
    std::unique_ptr<Progress> progress(const QString &text, int maximum) override;

private:
    struct FontAnswer
    {
        bool cancel;
        QFont font;
        QColor colour;
    };

    UiDialogs *m_previous = nullptr;
    std::deque<QString> m_texts;
    std::deque<QString> m_files;
    std::deque<int> m_numbers;
    std::deque<FontAnswer> m_fonts;
    QFont m_presetFont;
    QColor m_presetColour;
    std::deque<QString> m_prints;
    int m_cancelAt = -1;
    std::vector<int> m_progressSteps;
};
