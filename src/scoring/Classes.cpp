#include "scoring/Classes.h"

#include "store/Database.h"

#include <QHash>

#include <algorithm>
#include <QStringList>

namespace {

QVariant yearValue(const std::optional<int> &year)
{
    return year ? QVariant(*year) : QVariant();
}

std::optional<int> yearOf(const QVariant &value)
{
    bool ok = false;
    const int year = value.toInt(&ok);
    return value.isNull() || !ok ? std::nullopt : std::optional<int>(year);
}

QString sexOf(const QVariant &value)
{
    const QString sex = value.toString().trimmed().toLower();
    return sex == QLatin1String("m") || sex == QLatin1String("w") ? sex : QStringLiteral("beide");
}

QVector<QVariant> fieldsOf(const ClassDef &def, int order)
{
    return {order, def.name, yearValue(def.yearFrom), yearValue(def.yearTo), def.sex};
}

// One statement for every renamed and every removed class, so that two
// classes that swap their names do not end up as one.
void moveShooters(Database &database, const QHash<QString, QVariant> &newNames)
{
    if (newNames.isEmpty())
        return;
    QString cases;
    QStringList marks;
    QVector<QVariant> values;
    for (auto it = newNames.constBegin(); it != newNames.constEnd(); ++it) {
        cases += QStringLiteral(" WHEN ? THEN ?");
        values << it.key() << it.value();
    }
    for (auto it = newNames.constBegin(); it != newNames.constEnd(); ++it) {
        marks << QStringLiteral("?");
        values << it.key();
    }
    database.execute(QStringLiteral("UPDATE Ergebnisse SET Klasse = CASE Klasse%1 END WHERE Klasse IN (%2)")
                         .arg(cases, marks.join(QLatin1Char(','))),
                     values);
}

} // namespace

std::vector<ClassDef> Classes::read(Database &database)
{
    std::vector<ClassDef> classes;
    if (database.declaredTypes(QStringLiteral("Klassen")).isEmpty())
        return classes;
    const Database::Rows rows = database.readAll(
        QStringLiteral("SELECT ID, Name, JahrgangVon, JahrgangBis, Geschlecht FROM Klassen ORDER BY Reihenfolge, ID"));
    for (const QVector<QVariant> &row : rows.rows)
        classes.push_back({row.at(0), row.at(1).toString(), yearOf(row.at(2)), yearOf(row.at(3)), sexOf(row.at(4))});
    return classes;
}

int Classes::shootersIn(Database &database, const QString &name)
{
    return database.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse WHERE Klasse = ?"), {name}).toInt();
}

void Classes::store(Database &database, const std::vector<ClassDef> &before, const std::vector<ClassDef> &after)
{
    QHash<QString, QString> nameNow; // by ID
    for (const ClassDef &def : after) {
        if (!def.id.isNull())
            nameNow.insert(def.id.toString(), def.name);
    }
    QStringList listed;
    for (const ClassDef &def : after)
        listed << def.name;
    QHash<QString, QVariant> newNames;
    for (const ClassDef &def : before) {
        const auto kept = nameNow.constFind(def.id.toString());
        if (kept == nameNow.constEnd()) {
            if (!listed.contains(def.name))
                newNames.insert(def.name, QVariant());
        } else if (*kept != def.name) {
            newNames.insert(def.name, *kept);
        }
    }
    allOrNothing(database, [&] {
        moveShooters(database, newNames);
        for (const ClassDef &def : before) {
            if (!nameNow.contains(def.id.toString()))
                database.execute(QStringLiteral("DELETE FROM Klassen WHERE ID = ?"), {def.id});
        }
        for (size_t i = 0; i < after.size(); ++i) {
            QVector<QVariant> values = fieldsOf(after[i], int(i) + 1);
            if (after[i].id.isNull()) {
                database.execute(QStringLiteral("INSERT INTO Klassen (Reihenfolge, Name, JahrgangVon, JahrgangBis, "
                                                "Geschlecht) VALUES (?, ?, ?, ?, ?)"),
                                 values);
            } else {
                values << after[i].id;
                database.execute(QStringLiteral("UPDATE Klassen SET Reihenfolge = ?, Name = ?, JahrgangVon = ?, "
                                                "JahrgangBis = ?, Geschlecht = ? WHERE ID = ?"),
                                 values);
            }
        }
    });
}

void Classes::append(Database &database, const QString &name)
{
    database.execute(QStringLiteral("INSERT INTO Klassen (Reihenfolge, Name, Geschlecht) "
                                    "VALUES ((SELECT coalesce(max(Reihenfolge), 0) + 1 FROM Klassen), ?, 'beide')"),
                     {name});
}

QString Classes::proposed(const std::vector<ClassDef> &classes, const QVariant &birthYear, const QString &sex)
{
    const std::optional<int> year = yearOf(birthYear);
    const QString shooterSex = sex.trimmed().toLower();
    for (const ClassDef &def : classes) {
        const bool byYear = def.yearFrom || def.yearTo;
        const bool bySex = def.sex != QLatin1String("beide");
        if (!byYear && !bySex)
            continue;
        if (byYear && (!year || (def.yearFrom && *year < *def.yearFrom) || (def.yearTo && *year > *def.yearTo)))
            continue;
        if (bySex && shooterSex != def.sex)
            continue;
        return def.name;
    }
    return QString();
}

QString Classes::withoutClassHeading()
{
    return QStringLiteral("Ohne Klasse");
}

std::vector<Classes::Line> Classes::arrange(const QStringList &classOfRows, const std::vector<ClassDef> &classes)
{
    std::vector<Line> lines;
    lines.reserve(size_t(classOfRows.size()));
    const bool anyClass = std::any_of(classOfRows.begin(), classOfRows.end(),
                                      [](const QString &name) { return !name.isEmpty(); });
    if (!anyClass) {
        for (int row = 0; row < classOfRows.size(); ++row)
            lines.push_back({row, QString()});
        return lines;
    }
    QHash<QString, std::vector<int>> rowsOf;
    QStringList unlisted;
    QStringList listed;
    for (const ClassDef &def : classes)
        listed << def.name;
    for (int row = 0; row < classOfRows.size(); ++row) {
        const QString &name = classOfRows.at(row);
        auto found = rowsOf.find(name);
        if (found == rowsOf.end()) {
            found = rowsOf.insert(name, {});
            if (!name.isEmpty() && !listed.contains(name))
                unlisted << name;
        }
        found->push_back(row);
    }
    std::sort(unlisted.begin(), unlisted.end(),
              [](const QString &a, const QString &b) { return QString::localeAwareCompare(a, b) < 0; });
    const QStringList order = listed + unlisted + QStringList{QString()};
    for (const QString &name : order) {
        const auto found = rowsOf.constFind(name);
        if (found == rowsOf.constEnd())
            continue;
        lines.push_back({-1, name.isEmpty() ? withoutClassHeading() : name});
        for (const int row : *found)
            lines.push_back({row, QString()});
        rowsOf.remove(name); // a name listed twice is shown once
    }
    return lines;
}
