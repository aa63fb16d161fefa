#pragma once

class Database;

// Brings files written by earlier versions to the fields and tables of
// today's template and master list, the first time they are opened
// writable. An earlier file lacks the classes (the field Klasse of
// Ergebnisse, the tables Klassen and Einstellungen) and the teams (the field
// Mannschaft); an earlier master list lacks Jahrgang and Geschlecht. Each upgrade runs in one transaction, so a
// failure leaves the file exactly as it was.
namespace FileUpgrade {

enum class Outcome {
    Current,  // the file had everything already
    Upgraded, // the missing fields and tables were added
    ReadOnly, // the file lacks some and may not be written: opened as it is
};

// Throws RingtalError when an upgrade that was begun fails (disk full);
// the file is then as it was. A file without the table (Ergebnisse,
// Schuetzen) is left alone: it is none of these files.
Outcome upgradeCompetition(Database &database);
Outcome upgradeMasterList(Database &database);

// Whether the competition's results can hold a class.
bool hasClasses(Database &database);
// Whether it can hold a team.
bool hasTeams(Database &database);

} // namespace FileUpgrade
