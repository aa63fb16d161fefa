#pragma once

#include "printing/PrintTable.h"
#include "scoring/Teams.h"

class Recordset;

// The team list as it is shown, printed and exported, made once so that the
// three agree: a line per team with its place, name, class and total, and
// under it a line per counted shooter with name and total.
namespace TeamList {

// rows are the shooters' rows the teams' counted rows point into. The class
// column is left out when no team has a class, as in a competition without
// classes. Fonts and colours are the caller's.
PrintTable table(const std::vector<Teams::Team> &teams, const Recordset &rows);

// The list's caption: how many of a team count.
QString caption(int counted);

} // namespace TeamList
