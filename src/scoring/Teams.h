#pragma once

#include "scoring/TieRule.h"

#include <QString>

#include <array>
#include <vector>

class Database;
class Recordset;
struct ClassDef;

// Team ranking: a team is the shooters of one class with the same team text
// (letter case and surrounding blanks ignored); its result is the sum of its
// best shooters' results, and equal sums are told apart by the
// competition's tie rule applied to the counted shooters together.
namespace Teams {

// How many of a team's shooters count, unless the competition sets it; 0
// counts every member.
constexpr int DefaultCounted = 3;

// How many count in this competition (Einstellungen, "Mannschaft"): the
// default for a file that names none, or a number this version cannot use.
// Throws RingtalError.
int storedCounted(Database &database);
// Stores it, 0 or more. Throws RingtalError.
void storeCounted(Database &database, int counted);

// A shooter as the team ranking needs it; row is the caller's.
struct Shooter
{
    int row = 0;
    QString klasse;
    QString team;
    QString key; // Sortierung: a shooter's ranking under the competition's rule
    double total = 0;
    int innerTens = 0;
    std::array<int, 11> counts{}; // counts[v]: shots counted as v
};

// The shooters of a competition's rows (Klasse, Mannschaft, Sortierung,
// Serie, Innenzehner, Ring1 ... Ring10; a field the rows lack reads as
// empty), row being the row's index, in the winners list's order of
// classes, so that the teams come in it too.
std::vector<Shooter> shootersOf(const Recordset &rows, const std::vector<ClassDef> &classes);

struct Team
{
    QString klasse;
    QString name;             // as its best shooter's row spells it
    double total = 0;
    std::vector<int> counted; // rows, best first
    int place = 0;            // RankAssignment::NoPlace for a team short of shooters
};

// The teams of every class, each class in the order its first shooter comes,
// within it the complete teams by place (equal ones share it, the next place
// skips) and then those with fewer shooters with a result than count, by
// total, without a place. Shooters without a team or without a result count
// for none.
std::vector<Team> rank(const std::vector<Shooter> &shooters, int counted, TieRule rule);

} // namespace Teams
