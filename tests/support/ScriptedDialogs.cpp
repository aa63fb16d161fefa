#include "support/ScriptedDialogs.h"

#include "support/ScriptedProgress.h"

#include <QPageSize>
#include <QPrinter>

namespace {
Dialogs *g_installed = nullptr;
}

ScriptedDialogs::ScriptedDialogs()
    : m_previous(g_installed)
{
    g_installed = this;
    Dialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    g_installed = m_previous;
    Dialogs::install(m_previous);
}

void ScriptedDialogs::clear()
{
    m_answers.clear();
    m_texts.clear();
    m_files.clear();
    m_fonts.clear();
    m_shown.clear();
    m_unexpected = 0;
}

Dialogs::Answer ScriptedDialogs::nextAnswer(Answer fallback)
{
    if (m_answers.empty()) {
        ++m_unexpected;
        return fallback;
    }
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

Dialogs::Answer ScriptedDialogs::errorBox(const QString &title, const QString &text)
{
    m_shown.push_back({QStringLiteral("error"), title, text, Icon::Exclamation, {}});
    return nextAnswer(Answer::Abort);
}

Dialogs::Answer ScriptedDialogs::question(const QString &title, const QString &text, Icon icon)
{
    m_shown.push_back({QStringLiteral("question"), title, text, icon, {}});
    return nextAnswer(Answer::No);
}

void ScriptedDialogs::message(const QString &title, const QString &text, Icon icon)
{
    m_shown.push_back({QStringLiteral("message"), title, text, icon, {}});
}

std::optional<QString> ScriptedDialogs::inputText(const QString &prompt, const QString &title)
{
    m_shown.push_back({QStringLiteral("input"), title, prompt, Icon::Information, {}});
    if (m_texts.empty()) {
        ++m_unexpected;
        return std::nullopt;
    }
    const TextAnswer t = m_texts.front();
    m_texts.pop_front();
    if (t.cancel)
        return std::nullopt;
    return std::make_optional(t.text);
}

QString ScriptedDialogs::saveFileName(const FileRequest &request)
{
    m_shown.push_back({QStringLiteral("save"), request.title, QString(), Icon::Information, request});
    if (m_files.empty()) {
        ++m_unexpected;
        return QString();
    }
    const QString f = m_files.front();
    m_files.pop_front();
    return f;
}

QString ScriptedDialogs::openFileName(const FileRequest &request)
{
    m_shown.push_back({QStringLiteral("open"), request.title, QString(), Icon::Information, request});
    if (m_files.empty()) {
        ++m_unexpected;
        return QString();
    }
    const QString f = m_files.front();
    m_files.pop_front();
    return f;
}

bool ScriptedDialogs::chooseFont(QFont &font, QColor &colour)
{
    m_shown.push_back({QStringLiteral("font"), QString(), QString(), Icon::Information, {}});
    m_presetFont = font;
    m_presetColour = colour;
    if (m_fonts.empty()) {
        ++m_unexpected;
        return false;
    }
    const FontAnswer a = m_fonts.front();
    m_fonts.pop_front();
    if (a.cancel)
        return false;
    font = a.font;
    colour = a.colour;
    return true;
}

bool ScriptedDialogs::printDialog(QPrinter &printer)
{
    m_shown.push_back({QStringLiteral("print"), QString(), QString(), Icon::Information, {}});
    if (m_prints.empty()) {
        ++m_unexpected;
        return false;
    }
    const QString pdf = m_prints.front();
    m_prints.pop_front();
    if (pdf.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    return true;
}

std::unique_ptr<Dialogs::Progress> ScriptedDialogs::progress(const QString &text, int maximum)
{
    m_shown.push_back({QStringLiteral("progress"), QString(), text, Icon::Information, {}, maximum});
    return std::make_unique<ScriptedProgress>(m_cancelAt, m_progressSteps);
}
