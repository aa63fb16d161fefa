#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

class Database;

// The classes of a competition (table Klassen), in the order the winners
// list shows them. A shooter's class is its name in Ergebnisse.Klasse.
struct ClassDef
{
    QVariant id; // Null for a class not yet stored
    QString name;
    std::optional<int> yearFrom;
    std::optional<int> yearTo;
    // "m", "w" or "beide".
    QString sex = QStringLiteral("beide");
};

namespace Classes {

// In their order; none when the file has no class list. Throws RingtalError.
std::vector<ClassDef> read(Database &database);

// How many shooters of the competition are in the class.
int shootersIn(Database &database, const QString &name);

// Stores the list as edited from `before` (as read): the order, the names
// and what each class is for. A renamed class takes its shooters along; the
// shooters of a class no longer listed are in no class. One transaction, or
// on a failure nothing. Throws RingtalError.
void store(Database &database, const std::vector<ClassDef> &before, const std::vector<ClassDef> &after);

// Appends one class at the end of the list. Throws RingtalError.
void append(Database &database, const QString &name);

// The first class in the list that is for a shooter of that birth year and
// sex ("m"/"w"; Null or empty when unknown); empty when none is. A class
// that names neither years nor a sex (a discipline) is chosen by hand and
// never proposed.
QString proposed(const std::vector<ClassDef> &classes, const QVariant &birthYear, const QString &sex);

// A line of the winners list: a shooter's row, or the heading of a class.
struct Line
{
    int row = -1; // -1 for a heading
    QString heading;
};

// The winners list by class: the classes in the order of the list, then
// classes the list does not name (alphabetically), then the rows without a
// class, each group under its heading and in the order the rows come (best
// first). Rows that all have no class are one list without a heading, as a
// competition without classes has always been shown.
std::vector<Line> arrange(const QStringList &classOfRows, const std::vector<ClassDef> &classes);

// The heading of the rows without a class.
QString withoutClassHeading();

} // namespace Classes
