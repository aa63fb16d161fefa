#include "support/ScriptedMessages.h"

namespace {
// Seams nest: a test's seam restores the one it replaced.
Dialogs *g_installed = nullptr;
}

ScriptedMessages::ScriptedMessages(const QList<int> &answers)
    : m_previous(g_installed)
{
    for (const int answer : answers)
        m_answers.push_back(Answer(answer));
    g_installed = this;
    Dialogs::install(this);
}

ScriptedMessages::~ScriptedMessages()
{
    g_installed = m_previous;
    Dialogs::install(m_previous);
}

QStringList ScriptedMessages::boxes() const
{
    QStringList texts;
    for (const Shown &box : m_shown)
        texts << box.title + QLatin1Char('|') + box.text;
    return texts;
}

void ScriptedMessages::clear()
{
    m_answers.clear();
    m_shown.clear();
    m_unexpected = 0;
}

Dialogs::Answer ScriptedMessages::errorBox(const QString &title, const QString &text)
{
    record({QStringLiteral("error"), title, text, Icon::Exclamation, {}});
    return next(m_answers, Answer::Abort);
}

Dialogs::Answer ScriptedMessages::question(const QString &title, const QString &text, Icon icon)
{
    record({QStringLiteral("question"), title, text, icon, {}});
    return next(m_answers, Answer::No);
}

void ScriptedMessages::message(const QString &title, const QString &text, Icon icon)
{
    record({QStringLiteral("message"), title, text, icon, {}});
}
