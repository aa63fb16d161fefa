#pragma once

#include "store/Dialogs.h"
#include "widgets/UiDialogs.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <vector>

// The message boxes for tests: every box the program shows is recorded, and
// its answer is taken from a queue the test fills beforehand. A box without a
// queued answer is recorded as unexpected and answered with Abort/No.
// Needs no Qt Gui, so the core's tests use it; ScriptedDialogs adds the rest.
class ScriptedMessages : public Dialogs
{
public:
    struct Shown
    {
        QString kind;   // "error", "question", "message", "input", "save", "open", "font", "print", "progress"
        QString title;
        QString text;
        Icon icon = Icon::Information;
        UiDialogs::FileRequest request;
        int maximum = 0; // of a progress
    };

    // The answers, as their classic codes, in the order the boxes come.
    explicit ScriptedMessages(const QList<int> &answers = {});
    ~ScriptedMessages() override;

    void answer(Answer answer) { m_answers.push_back(answer); }
    const std::vector<Shown> &shown() const { return m_shown; }
    // "title|text" of every box shown, in order.
    QStringList boxes() const;
    int unexpected() const { return m_unexpected; }
    virtual bool allAnswersUsed() const { return m_answers.empty(); }
    virtual void clear();

    Answer errorBox(const QString &title, const QString &text) override;
    Answer question(const QString &title, const QString &text, Icon icon) override;
    void message(const QString &title, const QString &text, Icon icon) override;

protected:
    void record(Shown shown) { m_shown.push_back(std::move(shown)); }
    // The next queued answer of a deque, or the fallback (and one unexpected) when there is none.
    template<typename T>
    T next(std::deque<T> &queue, T fallback)
    {
        if (queue.empty()) {
            ++m_unexpected;
            return fallback;
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }

private:
    Dialogs *m_previous = nullptr;
    std::deque<Answer> m_answers;
    std::vector<Shown> m_shown;
    int m_unexpected = 0;
};
