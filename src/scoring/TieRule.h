#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

class Database;
class Recordset;

// How equal totals are told apart: a rule of the sport that differs between
// events, chosen per competition and stored in its file (Einstellungen,
// "Wertung"). The rule decides the layout of the sort key Sortierung; the
// descending text order of the key is the ranking under the rule.
enum class TieRule {
    // Ringe, Innenzehner, then the counts of tens, nines ... ones: the key
    // this program has always built, and the rule of every file without one.
    InnerTensFirst = 1,
    // The DSB rule: Ringe, the counts of tens ... ones, then Innenzehner.
    CountsFirst = 2,
    // Tenth-ring events: the total in tenths decides alone; equal totals
    // share the place.
    Tenths = 3,
};

namespace TieRules {

constexpr std::array<TieRule, 3> All{TieRule::InnerTensFirst, TieRule::CountsFirst, TieRule::Tenths};

// "Ringe, Innenzehner, Zehner, Neuner … Einer", as the menu and the winners
// list name it.
QString title(TieRule rule);

// The sort key of a result. serieText and innerTensText are the texts read
// back from the row's cells (German format); counts[v] is how many shots
// count as v, for v = 1 ... 10 (index 0 unused).
QString sortKey(TieRule rule, const QString &serieText, const QString &innerTensText,
                const std::array<int, 11> &counts);

// What the rule compares, most significant first, for results too large for
// the key's fields (a team's added counts): the total, then inner tens and
// counts in the rule's order; under tenths the total in tenths alone.
std::vector<double> orderOf(TieRule rule, double total, int innerTens, const std::array<int, 11> &counts);

// The rule the competition chose; none when the file names none or one this
// version does not know. Throws RingtalError.
std::optional<TieRule> chosen(Database &database);
// The competition's rule: the one chosen, else the first.
TieRule stored(Database &database);

// Makes rule the competition's rule: the rule and the key of every row that
// has a result are stored in one transaction, or on a failure nothing. Only
// Sortierung is written; rows are given in any order. Throws RingtalError.
void change(Recordset &rows, TieRule rule);

} // namespace TieRules
