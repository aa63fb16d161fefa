#include "support/ScriptedDialogs.h"

#include "support/ScriptedProgress.h"

#include <QPageSize>
#include <QPrinter>

namespace {
UiDialogs *g_installed = nullptr;
}

ScriptedDialogs::ScriptedDialogs()
    : m_previous(g_installed)
{
    g_installed = this;
    UiDialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    g_installed = m_previous;
    UiDialogs::install(m_previous);
}

void ScriptedDialogs::clear()
{
    ScriptedMessages::clear();
    m_texts.clear();
    m_numbers.clear();
    m_files.clear();
    m_fonts.clear();
}

std::optional<QString> ScriptedDialogs::inputText(const QString &prompt, const QString &title, bool hidden)
{
    record({hidden ? QStringLiteral("password") : QStringLiteral("input"), title, prompt, Icon::Information, {}});
    // An empty text stands for Cancel in the queue (an optional there trips a
    // false uninitialised warning of GCC).
    const QString text = next(m_texts, QString());
    if (text.isNull())
        return std::nullopt;
    return text;
}

std::optional<int> ScriptedDialogs::chooseItem(const QString &prompt, const QString &title, const QStringList &items,
                                               int current, NumberField *number)
{
    const QString asked = number ? QStringLiteral(" %1 [%2]").arg(number->prompt).arg(number->value) : QString();
    record({QStringLiteral("choice"), title, prompt + QStringLiteral(" [%1]").arg(items.value(current)) + asked,
            Icon::Information, {}});
    const qsizetype chosen = items.indexOf(next(m_texts, QString()));
    if (chosen < 0)
        return std::nullopt;
    if (number && !m_numbers.empty())
        number->value = next(m_numbers, number->value);
    return int(chosen);
}

QString ScriptedDialogs::saveFileName(const FileRequest &request)
{
    record({QStringLiteral("save"), request.title, QString(), Icon::Information, request});
    return next(m_files, QString());
}

QString ScriptedDialogs::openFileName(const FileRequest &request)
{
    record({QStringLiteral("open"), request.title, QString(), Icon::Information, request});
    return next(m_files, QString());
}

bool ScriptedDialogs::chooseFont(QFont &font, QColor &colour)
{
    record({QStringLiteral("font"), QString(), QString(), Icon::Information, {}});
    m_presetFont = font;
    m_presetColour = colour;
    const FontAnswer answer = next(m_fonts, FontAnswer{true, QFont(), QColor()});
    if (answer.cancel)
        return false;
    font = answer.font;
    colour = answer.colour;
    return true;
}

bool ScriptedDialogs::printDialog(QPrinter &printer)
{
    record({QStringLiteral("print"), QString(), QString(), Icon::Information, {}});
    const QString pdf = next(m_prints, QString());
    if (pdf.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    return true;
}

std::unique_ptr<UiDialogs::Progress> ScriptedDialogs::progress(const QString &text, int maximum)
{
    record({QStringLiteral("progress"), QString(), text, Icon::Information, {}, maximum});
    return std::make_unique<ScriptedProgress>(m_cancelAt, m_progressSteps);
}
