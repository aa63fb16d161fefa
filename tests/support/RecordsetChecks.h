#pragma once

#include "support/RaisedError.h"

#include <QStringList>
#include <QVariant>

class Recordset;
class TestCompetition;

// The number of the RingtalError an action raises, as raisedError() finds it.
template <typename Action>
int raisedNumber(Action &&action)
{
    return raisedError(std::forward<Action>(action)).number;
}

namespace RecordsetChecks {

inline const QString ByKey = QStringLiteral("Select * from Ergebnisse order by Sortierung desc");

// Result rows as "name|club|key|start number", written through the
// competition's own check connection; a field left out or "(null)" is Null,
// an empty field an empty text.
void fill(const TestCompetition &competition, const QStringList &shooters);

// Cramer (ID 1, key 0870), Becker (ID 2, 0950), Adler (ID 3, 0910): set order
// by key is Becker, Adler, Cramer, which differs from the table order.
void addThree(const TestCompetition &competition);

// Names of the recordset's stored rows, in set order; "(null)" for Null.
QStringList names(const Recordset &recordset);

// The value of a field of one row as the table holds it, read through the
// check connection, with SQLite's storage class ("integer", "real", "text",
// "null"), so that a number stored as text is told apart from a number.
struct StoredValue
{
    QString storageClass;
    QVariant value;
};
StoredValue storedValue(const TestCompetition &competition, const QString &field, qint64 id);

} // namespace RecordsetChecks
