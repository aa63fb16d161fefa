#pragma once

#include <QString>

class Recordset;

// The ranking of a competition's result rows: each row's place in Platz from
// its sort key Sortierung, the rows taken in the order of the result set
// (descending Sortierung, rows without a key last).
namespace Ranking {

// Which rows are ranked together. No group column ranks the whole field;
// with one, rows holding the same value there (a class) are ranked among
// themselves, each group from place 1.
struct Scope
{
    QString groupColumn;
};

// Per class (Klasse) when the results can hold one; rows without a class
// are one group of their own, so a competition without classes is ranked as
// one field.
Scope classScope(const Recordset &rows);

// Writes every row's place (RankAssignment's rules; no place, Null, for a
// row without a result). Places already right are not written again. All
// places are stored in one transaction or, on a failure, none; the rows in
// memory may then hold places the file does not, so the caller re-reads them.
// Throws RingtalError.
void storePlaces(Recordset &rows, const Scope &scope = {});

// Whether the stored places are the ones storePlaces would write. A result
// set without the key or the place column has nothing to be stale.
bool placesAreCurrent(const Recordset &rows, const Scope &scope = {});

} // namespace Ranking
