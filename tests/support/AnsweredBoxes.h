#pragma once

#include "store/Dialogs.h"

#include <QList>
#include <QStringList>

// The dialog seam for tests of the logic, which show nothing but error boxes:
// while it lives, every box is recorded and answered from the list given,
// then with Abort. Any other dialog counts as unexpected. Needs no Qt Gui.
class AnsweredBoxes : public Dialogs
{
public:
    explicit AnsweredBoxes(QList<int> answers = {})
        : m_answers(std::move(answers))
    {
        Dialogs::install(this);
    }
    ~AnsweredBoxes() override { Dialogs::install(nullptr); }

    // "title|text" of every box, in order.
    const QStringList &shown() const { return m_shown; }
    bool allAnswersUsed() const { return m_answers.isEmpty() && m_unexpected == 0; }

    Answer errorBox(const QString &title, const QString &text) override
    {
        m_shown << title + QLatin1Char('|') + text;
        return m_answers.isEmpty() ? Answer::Abort : Answer(m_answers.takeFirst());
    }
    Answer question(const QString &, const QString &, Icon) override { return unexpected(Answer::No); }
    void message(const QString &, const QString &, Icon) override { unexpected(); }
    std::optional<QString> inputText(const QString &, const QString &) override { return unexpected(std::nullopt); }
    QString saveFileName(const FileRequest &) override { return unexpected(QString()); }
    QString openFileName(const FileRequest &) override { return unexpected(QString()); }
    bool chooseFont(QFont &, QColor &) override { return unexpected(false); }
    bool printDialog(QPrinter &) override { return unexpected(false); }
    std::unique_ptr<Progress> progress(const QString &, int) override { return unexpected(nullptr); }

private:
    template <typename T = int>
    T unexpected(T answer = {})
    {
        ++m_unexpected;
        return answer;
    }

    QList<int> m_answers;
    QStringList m_shown;
    int m_unexpected = 0;
};
