#pragma once

#include "support/TestCompetition.h"

// Five shooters inserted out of order; two were taken over from the master
// list and have no sort key yet. IDs follow the insertion: Bauer 1, Öztürk 2,
// Anna Weiß 3, Zeller 4, Dreher 5. Best first the grids show Anna Weiß,
// Bauer, Zeller, then Öztürk and Dreher in either order.
namespace SampleShooters {

// Sort keys: series in six places, inner tens in two, then ten counts of two.
// Only their text order matters here: best > middle > low.
inline const QString KeyBest = QStringLiteral("000987" "03" "07030000000000000000");
inline const QString KeyMiddle = QStringLiteral("000952" "01" "05040100000000000000");
inline const QString KeyLow = QStringLiteral("000900" "00" "02050300000000000000");

inline void addFive(const TestCompetition &competition)
{
    competition.addResult(3, QStringLiteral("Bauer"), QStringLiteral("SV Tell"), 95.2, KeyMiddle);
    competition.addResult(7, QStringLiteral("Öztürk"), QStringLiteral("SG Hubertus"));
    competition.addResult(1, QStringLiteral("Anna Weiß"), QStringLiteral("SV Tell"), 98.7, KeyBest);
    competition.addResult(5, QStringLiteral("Zeller"), QStringLiteral("SSV Altdorf"), 90.0, KeyLow);
    competition.addResult(9, QStringLiteral("Dreher"), QStringLiteral("SG Hubertus"));
}

// A field of one stored row, read through the test's own connection.
inline QVariant stored(const TestCompetition &competition, qint64 id, const QString &field)
{
    return competition.scalar(QStringLiteral("SELECT \"%1\" FROM Ergebnisse WHERE ID = ?").arg(field), {id});
}

inline int rowCount(const TestCompetition &competition)
{
    return competition.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt();
}

} // namespace SampleShooters
