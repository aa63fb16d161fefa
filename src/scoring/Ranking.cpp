#include "scoring/Ranking.h"

#include "scoring/RankAssignment.h"
#include "store/Database.h"
#include "store/Recordset.h"

#include <QHash>
#include <vector>

namespace {

const QString KeyColumn = QStringLiteral("Sortierung");
const QString PlaceColumn = QStringLiteral("Platz");

// The place the rules give each row: every group is ranked on its own. Rows
// may be in any order (a row typed since the query ran stands at the end).
std::vector<int> rankedPlaces(const Recordset &rows, int key, int group)
{
    // The rows of each group, in the order of the set; without a group column one group of all.
    std::vector<std::vector<int>> groups;
    QHash<QString, size_t> groupOf;
    for (int row = 0; row < rows.rowCount(); ++row) {
        size_t at = 0;
        if (group >= 0) {
            const QString name = rows.storedValue(row, group).toString();
            auto found = groupOf.find(name);
            if (found == groupOf.end())
                found = groupOf.insert(name, groups.size());
            at = *found;
        }
        if (at == groups.size())
            groups.emplace_back();
        groups[at].push_back(row);
    }
    std::vector<int> places(size_t(rows.rowCount()), RankAssignment::NoPlace);
    for (const std::vector<int> &members : groups) {
        QStringList keys;
        keys.reserve(qsizetype(members.size()));
        for (const int row : members)
            keys << rows.storedValue(row, key).toString();
        const std::vector<int> groupPlaces = RankAssignment::placesOfKeys(keys);
        for (size_t i = 0; i < members.size(); ++i)
            places[size_t(members[i])] = groupPlaces[i];
    }
    return places;
}

// A group column the file lacks is an error, not one group of everybody.
int groupField(const Recordset &rows, const Ranking::Scope &scope)
{
    if (scope.groupColumn.isEmpty())
        return -1;
    rows.typeCode(scope.groupColumn);
    return rows.fieldIndex(scope.groupColumn);
}

} // namespace

Ranking::Scope Ranking::classScope(const Recordset &rows)
{
    const QString column = QStringLiteral("Klasse");
    return {rows.fieldIndex(column) >= 0 ? column : QString()};
}

void Ranking::storePlaces(Recordset &rows, const Scope &scope)
{
    // Both throw when the column is missing.
    rows.typeCode(KeyColumn);
    rows.typeCode(PlaceColumn);
    const int place = rows.fieldIndex(PlaceColumn);
    const std::vector<int> places = rankedPlaces(rows, rows.fieldIndex(KeyColumn), groupField(rows, scope));
    std::vector<QVariant> values;
    values.reserve(places.size());
    for (const int p : places)
        values.push_back(p == RankAssignment::NoPlace ? QVariant() : QVariant(p));
    allOrNothing(rows.database(), [&] { rows.storeField(place, values); });
}

bool Ranking::placesAreCurrent(const Recordset &rows, const Scope &scope)
{
    const int key = rows.fieldIndex(KeyColumn);
    const int place = rows.fieldIndex(PlaceColumn);
    if (key < 0 || place < 0)
        return true;
    const std::vector<int> places = rankedPlaces(rows, key, groupField(rows, scope));
    for (int row = 0; row < rows.rowCount(); ++row) {
        if (rows.storedValue(row, place).toInt() != places[size_t(row)])
            return false;
    }
    return true;
}
