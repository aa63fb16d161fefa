#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QVector>

// Reading and writing CSV files as spreadsheet programs exchange them:
// fields separated by ";" (German spreadsheets) or ",", quoted with '"' where
// a field holds a separator, a quote or a line break, a quote inside a quoted
// field doubled. Pure functions; failures throw RingtalError 321.
namespace Csv {

enum class Encoding { Utf8, Windows1252 };

struct Decoded
{
    QString text;
    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false;
};

// The bytes of a text file as text: UTF-8 (a leading byte-order mark is
// dropped) when the bytes are valid UTF-8, otherwise Windows-1252, which is
// what spreadsheet programs on Windows write. Bytes holding a NUL are no text
// file and throw.
Decoded decode(const QByteArray &bytes);

// Every byte as its Windows-1252 character; the five bytes that code has no
// character for stand for the control characters of the same number.
QString fromWindows1252(const QByteArray &bytes);

// ";" or ",": whichever occurs more often outside quotes in the first record
// that holds either; ";" when none does.
QChar detectSeparator(const QString &text);

// The records of the text, each a list of its fields. Line ends may be CR LF,
// LF or CR; a line end after the last record adds no record. A quote inside
// an unquoted field is kept as it is. Throws when a quoted field is not
// closed, or when something other than blanks follows its closing quote.
QVector<QStringList> parse(const QString &text, QChar separator);
QVector<QStringList> parse(const QString &text);

// The field as written between separators: quoted when it holds ";", ",",
// '"', CR or LF, so that a reader that guesses the separator reads it whole.
QString quoteField(const QString &field, QChar separator);

// The records as a file: UTF-8 with a byte-order mark (spreadsheet programs
// take files without one for their own code page and garble umlauts), CR LF
// after every record.
QByteArray write(const QVector<QStringList> &records, QChar separator = QLatin1Char(';'));

} // namespace Csv
