#include "printing/PageText.h"

#include <QStringList>

namespace PageText {

std::array<QString, 3> parts(const QString &text)
{
    const QStringList pieces = text.split(QStringLiteral("\\t"));
    std::array<QString, 3> result;
    for (int i = 0; i < pieces.size(); ++i) {
        QString &target = result[size_t(std::min(i, 2))];
        if (i > 2)
            target += QLatin1Char(' ');
        target += pieces.at(i);
    }
    return result;
}

QString substitute(const QString &part, int page, int pageCount)
{
    QString result;
    result.reserve(part.size() + 8);
    for (int i = 0; i < part.size(); ++i) {
        const QChar c = part.at(i);
        const QChar next = i + 1 < part.size() ? part.at(i + 1) : QChar();
        if (c == QLatin1Char('\\') && next == QLatin1Char('p')) {
            result += QString::number(page);
            ++i;
        } else if (c == QLatin1Char('\\') && next == QLatin1Char('P')) {
            result += QString::number(pageCount);
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace PageText
