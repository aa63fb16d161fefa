#include "scoring/RankAssignment.h"

#include <QHash>
#include <algorithm>

namespace RankAssignment {

bool hasResult(const QString &key)
{
    for (const QChar c : key) {
        if (c != QLatin1Char('0'))
            return true;
    }
    return false;
}

std::vector<int> places(const QStringList &keysInWalkOrder)
{
    std::vector<int> result;
    result.reserve(static_cast<std::size_t>(keysInWalkOrder.size()));
    int position = 0;
    int place = 0;
    QString previousKey;
    for (const QString &key : keysInWalkOrder) {
        if (!hasResult(key)) {
            result.push_back(NoPlace);
            continue;
        }
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

std::vector<int> placesOfKeys(const QStringList &keys)
{
    const auto better = [](const QString &a, const QString &b) { return a > b; };
    // Rows fresh from the query come in walk order already.
    if (std::is_sorted(keys.begin(), keys.end(), better))
        return places(keys);
    QStringList walk = keys;
    std::sort(walk.begin(), walk.end(), better);
    const std::vector<int> ranked = places(walk);
    // Equal keys share their place, so the place of a key is the place of the row.
    QHash<QString, int> placeOfKey;
    placeOfKey.reserve(walk.size());
    for (qsizetype i = 0; i < walk.size(); ++i)
        placeOfKey.insert(walk.at(i), ranked[size_t(i)]);
    std::vector<int> result;
    result.reserve(size_t(keys.size()));
    for (const QString &key : keys)
        result.push_back(placeOfKey.value(key));
    return result;
}

bool placesAreCurrent(const QStringList &keys, const std::vector<int> &storedPlaces)
{
    return storedPlaces == placesOfKeys(keys);
}

} // namespace RankAssignment
