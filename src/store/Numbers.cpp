#include "store/Numbers.h"

#include <cmath>

namespace Numbers {

const QLocale &locale()
{
    static const QLocale german = [] {
        QLocale l(QLocale::German, QLocale::Germany);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return german;
}

QString numberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0"); // also for -0
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15)
        return QString::number(static_cast<qlonglong>(value));
    return locale().toString(value, 'g', 15);
}

QString singleText(double value)
{
    const float single = static_cast<float>(value);
    if (single == 0.0f)
        return QStringLiteral("0");
    return locale().toString(static_cast<double>(single), 'g', 7);
}

QString cellText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    default:
        return value.toString();
    }
}

std::optional<double> parseLocale(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = locale().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isNumeric(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    case QMetaType::QString:
        return parseLocale(value.toString()).has_value();
    default:
        return false;
    }
}

namespace {

// Reads "&H..." or "&O..." integers; like the classic parser a value of up to
// four hex digits is a 16-bit and up to eight a 32-bit signed number.
double radixNumber(const QString &digits, int radix)
{
    qint64 value = 0;
    int count = 0;
    for (const QChar c : digits) {
        const int digit = c.isDigit() ? c.digitValue()
                        : (radix == 16 && c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))
                            ? c.toLower().unicode() - 'a' + 10
                            : -1;
        if (digit < 0 || digit >= radix)
            break;
        value = (value * radix + digit) & 0xFFFFFFFFLL;
        ++count;
    }
    const int bits = radix == 16 ? count * 4 : count * 3;
    if (bits <= 16 && value >= 0x8000 && value <= 0xFFFF)
        return static_cast<double>(value - 0x10000);
    if (value >= 0x80000000LL)
        return static_cast<double>(value - 0x100000000LL);
    return static_cast<double>(value);
}

} // namespace

double leadingNumber(const QString &text)
{
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            s.append(c);
    }
    if (s.size() >= 2 && s.at(0) == QLatin1Char('&')) {
        const QChar kind = s.at(1).toUpper();
        if (kind == QLatin1Char('H'))
            return radixNumber(s.mid(2), 16);
        if (kind == QLatin1Char('O'))
            return radixNumber(s.mid(2), 8);
        return 0.0;
    }

    QByteArray number;
    int i = 0;
    const int n = int(s.size());
    auto isDigit = [&](int at) { return at < n && s.at(at) >= QLatin1Char('0') && s.at(at) <= QLatin1Char('9'); };
    if (i < n && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        number.append(char(s.at(i++).unicode()));
    bool digits = false;
    while (isDigit(i)) {
        number.append(char(s.at(i++).unicode()));
        digits = true;
    }
    if (i < n && s.at(i) == QLatin1Char('.')) {
        number.append('.');
        ++i;
        while (isDigit(i)) {
            number.append(char(s.at(i++).unicode()));
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < n && QStringLiteral("EeDd").contains(s.at(i))) {
        int j = i + 1;
        QByteArray exponent("e");
        if (j < n && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
            exponent.append(char(s.at(j++).unicode()));
        if (isDigit(j)) {
            while (isDigit(j))
                exponent.append(char(s.at(j++).unicode()));
            number.append(exponent);
        }
    }
    // QByteArray reads with "." whatever the process locale says.
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

} // namespace Numbers
