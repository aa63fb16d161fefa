#include "store/FileUpgrade.h"

#include "store/Database.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace {

// The fields of Ergebnisse as earlier versions laid them out, oldest first:
// before the classes, then before the teams.
QStringList withRings(QStringList fields)
{
    fields << QStringLiteral("Serie") << QStringLiteral("Innenzehner");
    for (int shot = 1; shot <= 10; ++shot)
        fields << QStringLiteral("Ring%1").arg(shot);
    return fields << QStringLiteral("Sortierung");
}
const QStringList FirstFields{QStringLiteral("ID"), QStringLiteral("Platz"), QStringLiteral("StartNr"),
                              QStringLiteral("Schuetze"), QStringLiteral("Verein")};
const std::vector<QStringList> EarlierResultLayouts{
    withRings(FirstFields),
    withRings(FirstFields + QStringList{QStringLiteral("Klasse")}),
};
// The fields each of them lacks, in the order they came.
const QStringList LaterResultFields{QStringLiteral("Klasse"), QStringLiteral("Mannschaft")};

// As in the template: the field order is the column order of both grids,
// so class and team stand beside the club.
const QString ResultsTable = QStringLiteral(
    "CREATE TABLE %1 (ID INTEGER PRIMARY KEY AUTOINCREMENT, Platz INTEGER, StartNr INTEGER, "
    "Schuetze TEXT, Verein TEXT, Klasse TEXT, Mannschaft TEXT, Serie REAL, Innenzehner INTEGER, Ring1 REAL, "
    "Ring2 REAL, Ring3 REAL, Ring4 REAL, Ring5 REAL, Ring6 REAL, Ring7 REAL, Ring8 REAL, Ring9 REAL, "
    "Ring10 REAL, Sortierung TEXT)");
const QString ClassesTable = QStringLiteral(
    "CREATE TABLE Klassen (ID INTEGER PRIMARY KEY AUTOINCREMENT, Reihenfolge INTEGER, Name TEXT, "
    "JahrgangVon INTEGER, JahrgangBis INTEGER, Geschlecht TEXT)");
const QString SettingsTable = QStringLiteral("CREATE TABLE Einstellungen (Name TEXT PRIMARY KEY, Wert TEXT)");

bool hasTable(Database &database, const QString &table)
{
    return !database.declaredTypes(table).isEmpty();
}

bool hasField(Database &database, const QString &table, const QString &field)
{
    return database.declaredTypes(table).contains(field.toLower());
}

void execute(Database &database, const QString &sql)
{
    database.execute(sql, {});
}

// SQLite adds a field only at the end; the results are copied into a table
// of today's layout instead, their IDs and the numbering kept, so that an
// ID once given is not given again. A table someone laid out otherwise
// gets the fields at its end rather than losing what it holds.
void addLaterFields(Database &database)
{
    const QHash<QString, QString> types = database.declaredTypes(QStringLiteral("Ergebnisse"));
    const auto isLayout = [&types](const QStringList &fields) {
        return types.size() == fields.size()
               && std::all_of(fields.cbegin(), fields.cend(),
                              [&types](const QString &field) { return types.contains(field.toLower()); });
    };
    const auto earlier = std::find_if(EarlierResultLayouts.cbegin(), EarlierResultLayouts.cend(), isLayout);
    if (earlier == EarlierResultLayouts.cend()) {
        for (const QString &field : LaterResultFields) {
            if (!types.contains(field.toLower()))
                execute(database, QStringLiteral("ALTER TABLE Ergebnisse ADD COLUMN %1 TEXT").arg(field));
        }
        return;
    }
    const QVariant numbering =
        database.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = 'Ergebnisse'"));
    const QString list = earlier->join(QStringLiteral(", "));
    execute(database, ResultsTable.arg(QStringLiteral("Ergebnisse_Neu")));
    execute(database, QStringLiteral("INSERT INTO Ergebnisse_Neu (%1) SELECT %1 FROM Ergebnisse").arg(list));
    execute(database, QStringLiteral("DROP TABLE Ergebnisse"));
    execute(database, QStringLiteral("ALTER TABLE Ergebnisse_Neu RENAME TO Ergebnisse"));
    if (!numbering.isNull())
        database.execute(QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = 'Ergebnisse'"),
                         {numbering});
}

template<typename Work>
FileUpgrade::Outcome upgrade(Database &database, bool needed, Work &&work)
{
    if (!needed)
        return FileUpgrade::Outcome::Current;
    if (database.isReadOnly())
        return FileUpgrade::Outcome::ReadOnly;
    allOrNothing(database, work);
    return FileUpgrade::Outcome::Upgraded;
}

} // namespace

bool FileUpgrade::hasClasses(Database &database)
{
    return hasField(database, QStringLiteral("Ergebnisse"), QStringLiteral("Klasse"));
}

bool FileUpgrade::hasTeams(Database &database)
{
    return hasField(database, QStringLiteral("Ergebnisse"), QStringLiteral("Mannschaft"));
}

FileUpgrade::Outcome FileUpgrade::upgradeCompetition(Database &database)
{
    // A file without results is no competition; opening it says so.
    if (!hasTable(database, QStringLiteral("Ergebnisse")))
        return Outcome::Current;
    const bool fields = hasClasses(database) && hasTeams(database);
    const bool classes = hasTable(database, QStringLiteral("Klassen"));
    const bool settings = hasTable(database, QStringLiteral("Einstellungen"));
    return upgrade(database, !fields || !classes || !settings, [&] {
        if (!fields)
            addLaterFields(database);
        if (!classes)
            execute(database, ClassesTable);
        if (!settings)
            execute(database, SettingsTable);
    });
}

FileUpgrade::Outcome FileUpgrade::upgradeMasterList(Database &database)
{
    const QString table = QStringLiteral("Schuetzen");
    if (!hasTable(database, table))
        return Outcome::Current;
    const bool year = hasField(database, table, QStringLiteral("Jahrgang"));
    const bool sex = hasField(database, table, QStringLiteral("Geschlecht"));
    return upgrade(database, !year || !sex, [&] {
        if (!year)
            execute(database, QStringLiteral("ALTER TABLE Schuetzen ADD COLUMN Jahrgang INTEGER"));
        if (!sex)
            execute(database, QStringLiteral("ALTER TABLE Schuetzen ADD COLUMN Geschlecht TEXT"));
    });
}
