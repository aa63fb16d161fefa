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

// Names of the recordset's stored rows, in set order; "(null)" for Null.
QStringList names(const Recordset &recordset);

} // namespace RecordsetChecks
