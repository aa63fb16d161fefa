#pragma once

#include <QString>
#include <QVariant>

class Recordset;

// Shared procedures used by every window.

// Null-safe field read: a Null or empty value becomes the empty text for
// fields whose type code is above 8 (binary, text, memo, ...) and 0 for the
// others; a text of NUL characters becomes the empty text; a failed read
// gives the neutral value of the field's type.
QVariant GetFieldValue(const Recordset &recordset, const QString &fieldName);
// The same for a field given by its index, for walks over many rows.
QVariant GetFieldValue(const Recordset &recordset, int field);

// The neutral-value rule of GetFieldValue on a value already read.
QVariant neutralFieldValue(int typeCode, const QVariant &value);

// A typed number with decimal comma: "," becomes ".", "." is dropped, then the
// leading number is read. "10,5" -> 10.5, "10.5" -> 105, "1.000,5" -> 1000.5.
double ParseDecimal(const QString &text);

// True when the path names a regular file (or a link to one) that can be
// opened for reading. A blank path, a folder, a named pipe, a socket, a
// device or any failure gives false; nothing is reported.
bool FileExists(const QString &path);
