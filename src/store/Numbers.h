#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

// The program's one number format: German (decimal comma), no digit grouping
// when numbers are written. Every conversion between numbers and text goes
// through here.
namespace Numbers {

// German locale that omits group separators when writing.
const QLocale &locale();

// Text of a cell value as the user sees it: doubles as numberText, whole
// numbers in decimal, texts unchanged, Null as the empty text.
QString cellText(const QVariant &value);

// A double written with at most 15 significant digits, decimal comma only when
// there is a fractional part, no grouping: 89 -> "89", 98.69999999999999 -> "98,7".
QString numberText(double value);

// A single-precision value as stored in window entries and width lists: at most
// seven significant digits, decimal comma, no grouping: 1234.5 -> "1234,5".
QString singleText(double value);

// The numeric test: a number, or a text that reads completely as a number in
// the German format (decimal comma, dots as grouping, optional sign, blanks
// around it). An empty cell is not numeric.
bool isNumeric(const QVariant &value);

// The locale reading: the whole text (blanks around it allowed) as a German
// number; no value when the text is no number.
std::optional<double> parseLocale(const QString &text);

// The leading number of a text with "." as the decimal point: blanks, tabs and
// line feeds anywhere are ignored; optional sign, digits, one decimal point and
// an exponent with E or D; "&H" and "&O" read hexadecimal and octal integers.
// No leading number gives 0.
double leadingNumber(const QString &text);

} // namespace Numbers
