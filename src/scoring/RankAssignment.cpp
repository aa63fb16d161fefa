#include "RankAssignment.h"

namespace RankAssignment {

std::vector<int> places(const QStringList &keysInWalkOrder)
{
    std::vector<int> result;
    result.reserve(static_cast<std::size_t>(keysInWalkOrder.size()));
    int position = 0;
    int place = 0;
    QString previousKey;
    for (const QString &key : keysInWalkOrder) {
        ++position;
        // Exact comparison: keys equal in total but not in inner tens or
        // counts are different results.
        if (position == 1 || key != previousKey) {
            place = position;
            previousKey = key;
        }
        result.push_back(place);
    }
    return result;
}

} // namespace RankAssignment
