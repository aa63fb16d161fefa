#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QVector>

// A CSV file read back by Python's csv module (strict mode, the file taken
// as UTF-8 with or without a byte-order mark), so that what the program
// writes is checked by a reader that is not its own.
namespace IndependentCsv {

// The records of the file; on failure none, and `error` says why.
QVector<QStringList> read(const QString &path, QChar delimiter, QString *error);

} // namespace IndependentCsv
