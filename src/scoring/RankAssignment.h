#pragma once

#include <QStringList>

#include <vector>

// Places of the result rows from their sort keys, in the order the ranking
// walks them (descending Sortierung, rows without a key last as empty text).
namespace RankAssignment {

// Ties share the place of the first of them and the next place skips:
// keys K1 > K2 = K3 > K4 give 1, 2, 2, 4. Rows without a key form one tied
// group at the end.
std::vector<int> places(const QStringList &keysInWalkOrder);

} // namespace RankAssignment
