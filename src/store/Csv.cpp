#include "store/Csv.h"

#include "store/RingtalError.h"

#include <QStringDecoder>

namespace Csv {

namespace {

const QChar Quote = QLatin1Char('"');
const QChar Cr = QLatin1Char('\r');
const QChar Lf = QLatin1Char('\n');

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; 0 marks the five
// bytes without a character.
constexpr char16_t Cp1252High[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

RingtalError formatError(int line, const QString &what)
{
    return RingtalError(ErrorNumber::InvalidFileFormat,
                        QStringLiteral("Ungültiges Dateiformat in Zeile %1: %2").arg(line).arg(what));
}

bool isLineEnd(QChar c)
{
    return c == Cr || c == Lf;
}

// Reads the text from `at` over one line end; false when there is none.
bool skipLineEnd(const QString &text, qsizetype &at)
{
    if (at >= text.size() || !isLineEnd(text.at(at)))
        return false;
    if (text.at(at) == Cr && at + 1 < text.size() && text.at(at + 1) == Lf)
        ++at;
    ++at;
    return true;
}

// A quoted field from its opening quote at `at`; afterwards `at` stands
// behind the closing quote and the blanks after it.
QString quotedField(const QString &text, qsizetype &at, int &line, QChar separator)
{
    const int startLine = line;
    QString field;
    for (++at;; ++at) {
        if (at >= text.size())
            throw formatError(startLine, QStringLiteral("Ein Anführungszeichen wird nicht geschlossen."));
        const QChar c = text.at(at);
        if (c == Quote) {
            if (at + 1 < text.size() && text.at(at + 1) == Quote) {
                field += Quote;
                ++at;
                continue;
            }
            ++at;
            break;
        }
        if (c == Lf || (c == Cr && (at + 1 >= text.size() || text.at(at + 1) != Lf)))
            ++line;
        field += c;
    }
    while (at < text.size() && (text.at(at) == QLatin1Char(' ') || text.at(at) == QLatin1Char('\t')))
        ++at;
    if (at < text.size() && text.at(at) != separator && !isLineEnd(text.at(at)))
        throw formatError(line, QStringLiteral("Nach einem schließenden Anführungszeichen folgt weiterer Text."));
    return field;
}

QString plainField(const QString &text, qsizetype &at, QChar separator)
{
    const qsizetype start = at;
    while (at < text.size() && text.at(at) != separator && !isLineEnd(text.at(at)))
        ++at;
    return text.mid(start, at - start);
}

} // namespace

QString fromWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        const char16_t high = code >= 0x80 && code < 0xA0 ? Cp1252High[code - 0x80] : 0;
        *out++ = QChar(high ? high : char16_t(code));
    }
    return text;
}

Decoded decode(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        throw RingtalError(ErrorNumber::InvalidFileFormat,
                           QStringLiteral("Ungültiges Dateiformat: Die Datei ist keine Textdatei."));
    Decoded result;
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) {
        result.byteOrderMark = true;
        body.remove(0, 3);
    }
    // The mark is dropped above, once; a second one is text of the first field.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    result.text = utf8.decode(body);
    if (utf8.hasError() && !result.byteOrderMark) {
        result.text = fromWindows1252(body);
        result.encoding = Encoding::Windows1252;
    }
    return result;
}

QChar detectSeparator(const QString &text)
{
    int semicolons = 0;
    int commas = 0;
    bool quoted = false;
    bool fieldStart = true;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (quoted) {
            if (c == Quote && at + 1 < text.size() && text.at(at + 1) == Quote)
                ++at;
            else if (c == Quote)
                quoted = false;
            fieldStart = false;
            continue;
        }
        if (isLineEnd(c) && semicolons + commas > 0)
            break;
        quoted = c == Quote && fieldStart;
        semicolons += c == QLatin1Char(';') ? 1 : 0;
        commas += c == QLatin1Char(',') ? 1 : 0;
        fieldStart = c == QLatin1Char(';') || c == QLatin1Char(',') || isLineEnd(c);
    }
    return commas > semicolons ? QLatin1Char(',') : QLatin1Char(';');
}

QVector<QStringList> parse(const QString &text, QChar separator)
{
    QVector<QStringList> records;
    QStringList record;
    qsizetype at = 0;
    int line = 1;
    while (at < text.size()) {
        if (text.at(at) == Quote)
            record << quotedField(text, at, line, separator);
        else
            record << plainField(text, at, separator);
        if (at < text.size() && text.at(at) == separator) {
            ++at;
            // A separator at the very end still opens an empty last field.
            if (at == text.size())
                record << QString();
            continue;
        }
        skipLineEnd(text, at);
        ++line;
        records << record;
        record.clear();
    }
    if (!record.isEmpty())
        records << record;
    return records;
}

QVector<QStringList> parse(const QString &text)
{
    return parse(text, detectSeparator(text));
}

QString quoteField(const QString &field, QChar separator)
{
    bool needsQuotes = field.contains(separator);
    for (const QChar c : field) {
        if (c == QLatin1Char(';') || c == QLatin1Char(',') || c == Quote || isLineEnd(c))
            needsQuotes = true;
    }
    if (!needsQuotes)
        return field;
    QString quoted = field;
    quoted.replace(Quote, QStringLiteral("\"\""));
    return Quote + quoted + Quote;
}

QByteArray write(const QVector<QStringList> &records, QChar separator)
{
    QString text;
    for (const QStringList &record : records) {
        for (qsizetype i = 0; i < record.size(); ++i) {
            if (i > 0)
                text += separator;
            text += quoteField(record.at(i), separator);
        }
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace Csv
