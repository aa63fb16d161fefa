#include "settings/WindowEntry.h"

#include "settings/SingleNumber.h"
#include "settings/WidthList.h"
#include "store/Numbers.h"

namespace WindowEntry {

namespace {

// Cuts the next field off the front of rest. The program writes every field
// with its ";", so a field without one only comes from a text edited by hand
// or damaged: reading stops there and what was read before stays applied,
// just as a window keeps the values it already took when the reading fails.
std::optional<QString> cutField(QString &rest)
{
    const qsizetype separator = rest.indexOf(QLatin1Char(';'));
    if (separator < 0)
        return std::nullopt;
    QString field = rest.left(separator);
    rest = rest.mid(separator + 1);
    return field;
}

// The window fields keep their ",": "1234,5" is read as 1234, unlike a
// column width.
std::optional<double> edgeValue(const QString &field)
{
    return SingleNumber::fromDouble(Numbers::leadingNumber(field));
}

// A size of 0 or less is no size: the window keeps the one it has.
bool readSize(QString &rest, std::optional<double> &size)
{
    const std::optional<QString> field = cutField(rest);
    if (!field)
        return false;
    const double value = Numbers::leadingNumber(*field);
    if (value > 0.0) {
        size = SingleNumber::fromDouble(value);
        return size.has_value();
    }
    return true;
}

bool readEdge(QString &rest, std::optional<double> &edge)
{
    const std::optional<QString> field = cutField(rest);
    if (!field)
        return false;
    edge = edgeValue(*field);
    return edge.has_value();
}

} // namespace

QString toText(const WindowGeometry &window, const std::vector<ColumnState> &columns)
{
    QString text;
    for (const double value : {window.left, window.top, window.width, window.height})
        text += Numbers::singleText(value) + QLatin1Char(';');
    for (const ColumnState &column : columns)
        text += Numbers::singleText(column.width) + QLatin1Char(';');
    return text;
}

Reading fromText(const QString &text, int columnCount)
{
    Reading reading;
    if (text.isEmpty()) {
        reading.centre = true;
        return reading;
    }
    QString rest = text;
    if (!readEdge(rest, reading.left) || !readEdge(rest, reading.top) || !readSize(rest, reading.width)
        || !readSize(rest, reading.height))
        return reading;
    if (columnCount > 0)
        reading.columnWidths = WidthList::readWidthFields(rest, columnCount);
    return reading;
}

} // namespace WindowEntry
