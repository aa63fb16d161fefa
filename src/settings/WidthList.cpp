#include "settings/WidthList.h"

#include "settings/SingleNumber.h"
#include "store/Numbers.h"

namespace WidthList {

QString toText(const std::vector<ColumnState> &columns)
{
    QString text = QStringLiteral(";");
    for (const ColumnState &column : columns)
        text += Numbers::singleText(column.width) + QLatin1Char(';');
    return text;
}

std::vector<double> fromText(const QString &text, int columnCount)
{
    if (text.isEmpty() || columnCount <= 0)
        return {};
    return readWidthFields(text.startsWith(QLatin1Char(';')) ? text.mid(1) : text, columnCount);
}

std::vector<double> readWidthFields(const QString &fields, int columnCount)
{
    std::vector<double> widths;
    qsizetype start = 0;
    // A single character left over ends the list, as it does after the last
    // ";" of a list the program wrote.
    while (fields.size() - start >= 2) {
        // The program never writes a field without ";" after it, and a width
        // that no column can take; such a text is read up to there and the
        // widths before it are kept, rather than giving up on all of them.
        const qsizetype separator = fields.indexOf(QLatin1Char(';'), start);
        if (separator < 0)
            break;
        if (qsizetype(widths.size()) < columnCount) {
            QString field = fields.mid(start, separator - start);
            const std::optional<double> width =
                    SingleNumber::fromDouble(Numbers::leadingNumber(field.replace(QLatin1Char(','), QLatin1Char('.'))));
            if (!width)
                break;
            widths.push_back(*width);
        }
        start = separator + 1;
    }
    return widths;
}

} // namespace WidthList
