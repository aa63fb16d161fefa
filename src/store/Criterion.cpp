#include "store/Criterion.h"

#include "store/Numbers.h"
#include "store/RingtalError.h"

namespace {

RingtalError syntaxError(const QString &text)
{
    return RingtalError(ErrorNumber::SyntaxInExpression,
                        QStringLiteral("Syntaxfehler in Suchbedingung: %1").arg(text));
}

// Reads a quoted text starting at an apostrophe; '' stands for one apostrophe.
// Returns the position after the closing apostrophe, or -1.
int readQuoted(const QString &text, int at, QString &out)
{
    for (int i = at + 1; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\'')) {
            out.append(text.at(i));
        } else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\'')) {
            out.append(QLatin1Char('\''));
            ++i;
        } else {
            return i + 1;
        }
    }
    return -1;
}

QString patternToRegex(const QString &pattern)
{
    QString rx = QStringLiteral("\\A");
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('*')) {
            rx += QStringLiteral(".*");
        } else if (c == QLatin1Char('?')) {
            rx += QLatin1Char('.');
        } else if (c == QLatin1Char('#')) {
            rx += QStringLiteral("[0-9]");
        } else if (c == QLatin1Char('[')) {
            const int close = int(pattern.indexOf(QLatin1Char(']'), i + 1));
            if (close < 0)
                throw syntaxError(pattern);
            QString list = pattern.mid(i + 1, close - i - 1);
            const bool negate = list.startsWith(QLatin1Char('!'));
            if (negate)
                list.remove(0, 1);
            QString set;
            for (const QChar m : list)
                set += m == QLatin1Char('-') ? QString(m) : QRegularExpression::escape(QString(m));
            rx += QStringLiteral("[") + (negate ? QStringLiteral("^") : QString()) + set + QStringLiteral("]");
            i = close;
        } else {
            rx += QRegularExpression::escape(QString(c));
        }
    }
    return rx + QStringLiteral("\\z");
}

bool isPlainPrefix(const QString &pattern)
{
    if (!pattern.endsWith(QLatin1Char('*')))
        return false;
    for (int i = 0; i + 1 < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('['))
            return false;
    }
    return true;
}

// The first character of a text in lower case when it is ASCII, else 0.
// Other characters are left to the full comparison: some fold to ASCII
// letters (the long s to s, the Kelvin sign to k).
char16_t initialOf(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const char16_t c = text.front().unicode();
    if (c >= 0x80)
        return 0;
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// True when both texts begin with an ASCII character and these differ in
// more than letter case.
bool differInAsciiLetter(const QString &text, const QString &prefix)
{
    if (text.isEmpty())
        return true;
    const char16_t a = initialOf(text);
    const char16_t b = initialOf(prefix);
    return a != 0 && b != 0 && a != b;
}

} // namespace

Criterion Criterion::parse(const QString &text)
{
    static const QRegularExpression head(QStringLiteral("\\A\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*(=|like\\b)\\s*"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = head.match(text);
    if (!m.hasMatch())
        throw syntaxError(text);
    Criterion c;
    c.m_field = m.captured(1);
    const bool like = m.captured(2).compare(QLatin1String("like"), Qt::CaseInsensitive) == 0;
    const int valueAt = int(m.capturedEnd(0));
    if (valueAt < text.size() && text.at(valueAt) == QLatin1Char('\'')) {
        const int end = readQuoted(text, valueAt, c.m_text);
        if (end < 0 || !text.mid(end).trimmed().isEmpty())
            throw syntaxError(text);
        c.m_kind = like ? Kind::Like : Kind::EqualText;
        if (like) {
            c.m_plainPrefix = isPlainPrefix(c.m_text);
            if (c.m_plainPrefix)
                c.m_text.chop(1);
            else
                c.m_pattern = QRegularExpression(patternToRegex(c.m_text),
                                                 QRegularExpression::CaseInsensitiveOption
                                                     | QRegularExpression::DotMatchesEverythingOption);
        }
        return c;
    }
    if (like)
        throw syntaxError(text);
    // A number in criterion syntax: "." is the decimal point, nothing else may follow.
    static const QRegularExpression number(QStringLiteral("\\A[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*\\z"));
    const QString rest = text.mid(valueAt);
    if (!number.match(rest).hasMatch())
        throw syntaxError(text);
    c.m_kind = Kind::EqualNumber;
    c.m_number = rest.trimmed().toDouble();
    return c;
}

bool Criterion::matches(const QVariant &value) const
{
    // The search boxes ask this of every row at each keystroke: a name is
    // compared where it lies, without copying it first, and most names are
    // told apart by their first letter already.
    if (m_kind == Kind::Like && m_plainPrefix && value.typeId() == QMetaType::QString) {
        const QString &text = *static_cast<const QString *>(value.constData());
        if (!m_text.isEmpty() && differInAsciiLetter(text, m_text))
            return false;
        return text.startsWith(m_text, Qt::CaseInsensitive);
    }
    if (!value.isValid() || value.isNull())
        return false;
    switch (m_kind) {
    case Kind::EqualNumber: {
        bool ok = false;
        const double v = value.typeId() == QMetaType::QString ? Numbers::locale().toDouble(value.toString(), &ok)
                                                               : value.toDouble(&ok);
        return ok && v == m_number;
    }
    case Kind::EqualText:
        return Numbers::cellText(value) == m_text;
    case Kind::Like: {
        const QString s = Numbers::cellText(value);
        if (m_plainPrefix)
            return s.startsWith(m_text, Qt::CaseInsensitive);
        return m_pattern.match(s).hasMatch();
    }
    }
    return false;
}

char16_t Criterion::asciiInitial() const
{
    return m_kind == Kind::Like && m_plainPrefix ? initialOf(m_text) : 0;
}

char16_t Criterion::asciiInitial(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return 0;
    return initialOf(*static_cast<const QString *>(value.constData()));
}

QString Criterion::likePrefix(const QString &field, const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return field + QStringLiteral(" like '") + quoted + QStringLiteral("*'");
}
