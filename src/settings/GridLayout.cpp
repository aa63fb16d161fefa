#include "settings/GridLayout.h"

#include "settings/SingleNumber.h"
#include "store/Numbers.h"
#include "store/RingtalError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace GridLayout {

namespace {

// Position and width of the latest piece that had them. A piece without "-",
// an empty piece and a reading that failed and was ignored leave them as they
// are, so such a piece repeats the values of the piece before it.
struct PieceValues
{
    int position = 0;
    double width = 0.0;
};

// Display positions and widths per column, 0 and 0 for a column without a
// piece, which therefore goes to the far left and is hidden.
struct WorkingArrays
{
    explicit WorkingArrays(int columnCount)
        : positions(std::size_t(columnCount), 0)
        , widths(std::size_t(columnCount), 0.0)
    {
    }

    std::vector<int> positions;
    std::vector<double> widths;
};

// The integer value of a position: the text as a German number, rounded to a
// whole one with halves to even, as the classic integer conversion does.
int positionValue(const QString &text)
{
    const std::optional<double> number = Numbers::parseLocale(text);
    if (!number)
        throw RingtalError(ErrorNumber::TypeMismatch,
                           QStringLiteral("Die Spaltenposition \"%1\" ist keine Zahl.").arg(text.trimmed()));
    const double whole = std::nearbyint(*number);
    if (whole < double(std::numeric_limits<int>::min()) || whole > double(std::numeric_limits<int>::max()))
        throw RingtalError(
                ErrorNumber::Overflow,
                QStringLiteral("Die Spaltenposition \"%1\" liegt außerhalb des Zahlenbereichs von %2 bis %3.")
                        .arg(text.trimmed())
                        .arg(std::numeric_limits<int>::min())
                        .arg(std::numeric_limits<int>::max()));
    return int(whole);
}

double widthValue(const QString &text)
{
    const std::optional<double> number = Numbers::parseLocale(text);
    if (!number)
        throw RingtalError(ErrorNumber::TypeMismatch,
                           QStringLiteral("Die Spaltenbreite \"%1\" ist keine Zahl.").arg(text.trimmed()));
    return *number;
}

double columnWidth(double width)
{
    const std::optional<double> single = SingleNumber::fromDouble(width);
    // Only widths above 0 come here; the others hide their column.
    if (!single)
        throw RingtalError(
                ErrorNumber::Overflow,
                QStringLiteral("Die Spaltenbreite %1 ist zu groß: Sie darf höchstens %2 betragen.")
                        .arg(Numbers::numberText(width), Numbers::singleText(std::numeric_limits<float>::max())));
    return *single;
}

// Position and width are read one after the other, each a step of its own.
bool readPiece(const QString &piece, PieceValues &values, const StepRunner &runStep)
{
    const qsizetype dash = piece.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return true;
    return runStep([&] { values.position = positionValue(piece.left(dash)); })
           && runStep([&] { values.width = widthValue(piece.mid(dash + 1)); });
}

// Fills the working arrays; false when the user aborted.
bool readPieces(const QString &text, int columnCount, WorkingArrays &arrays, const StepRunner &runStep)
{
    QString rest = text.contains(QLatin1Char(';')) ? text : QString();
    QString piece;
    PieceValues values;
    // Pieces beyond the grid's columns (the grid lost columns since the
    // layout was saved) have nothing to go to and are skipped silently.
    for (int i = 0; !rest.isEmpty() && i < columnCount; ++i) {
        const qsizetype separator = rest.indexOf(QLatin1Char(';'));
        if (separator >= 0) {
            piece = rest.left(separator);
            rest = rest.mid(separator + 1);
        } else {
            // A tail without ";" repeats the piece before it.
            rest.clear();
        }
        if (!piece.isEmpty() && !readPiece(piece, values, runStep))
            return false;
        // A position equal to the column count is kept but never applied.
        if (values.position <= columnCount) {
            arrays.positions[std::size_t(i)] = values.position;
            arrays.widths[std::size_t(i)] = values.width;
        }
    }
    return true;
}

// One column moved and sized; false when the user aborted after the move.
bool placeColumn(int column, int position, double width, const StepRunner &runStep, Reading &reading)
{
    Operation operation{column, position, Operation::Change::Hide, 0.0};
    bool goOn = true;
    if (width > 0.0) {
        operation.change = Operation::Change::KeepWidth;
        goOn = runStep([&] {
            operation.width = columnWidth(width);
            operation.change = Operation::Change::SetWidth;
        });
    }
    reading.operations.push_back(operation);
    return goOn;
}

} // namespace

QString toText(const std::vector<ColumnState> &columns)
{
    QString text;
    for (const ColumnState &column : columns) {
        text += QString::number(column.displayPosition) + QLatin1String(" - ")
                + (column.visible ? Numbers::singleText(column.width) : QStringLiteral("0")) + QLatin1Char(';');
    }
    return text;
}

Reading fromText(const QString &text, int columnCount, const StepRunner &runStep)
{
    Reading reading;
    if (text.isEmpty())
        return reading;
    reading.stored = true;
    const int n = std::max(columnCount, 0);
    WorkingArrays arrays(n);
    if (!readPieces(text, n, arrays, runStep)) {
        reading.aborted = true;
        return reading;
    }
    // Each move shifts the columns between a column's old and new place, so
    // the order of the moves decides the arrangement: right-most place first.
    for (int k = n - 1; k >= 0; --k) {
        for (int j = 0; j < n; ++j) {
            if (arrays.positions[std::size_t(j)] == k
                && !placeColumn(j, k, arrays.widths[std::size_t(j)], runStep, reading)) {
                reading.aborted = true;
                return reading;
            }
        }
    }
    return reading;
}

} // namespace GridLayout
