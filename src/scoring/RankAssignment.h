#pragma once

#include <QStringList>

#include <vector>

// Places of the result rows from their sort keys, in the order the ranking
// walks them (descending Sortierung, rows without a key last as empty text).
namespace RankAssignment {

// The place of a row without a result: a shooter who has not shot yet is no
// last place.
constexpr int NoPlace = 0;

// A key without any result: empty, or all zeros (no ring, no inner ten).
bool hasResult(const QString &key);

// Ties share the place of the first of them and the next place skips:
// keys K1 > K2 = K3 > K4 give 1, 2, 2, 4. Rows without a result get NoPlace
// and do not count for the places of the others.
std::vector<int> places(const QStringList &keysInWalkOrder);

// The same places for rows in any order: each row's place among all of them.
std::vector<int> placesOfKeys(const QStringList &keys);

// Whether the stored places are the ones a ranking of these keys gives; rows
// in any order, a missing place as NoPlace.
bool placesAreCurrent(const QStringList &keys, const std::vector<int> &storedPlaces);

} // namespace RankAssignment
