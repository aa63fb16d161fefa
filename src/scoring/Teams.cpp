#include "scoring/Teams.h"

#include "scoring/Classes.h"
#include "scoring/RankAssignment.h"
#include "scoring/ScoreComputation.h"
#include "store/Database.h"
#include "store/Numbers.h"
#include "store/Recordset.h"

#include <QHash>

#include <algorithm>

namespace {

const QString CountedName = QStringLiteral("Mannschaft");

struct Forming
{
    Teams::Team team;
    std::vector<const Teams::Shooter *> members; // with a result, best first
    std::vector<double> order;
    bool complete = false;
};

} // namespace

int Teams::storedCounted(Database &database)
{
    if (database.declaredTypes(QStringLiteral("Einstellungen")).isEmpty())
        return DefaultCounted;
    const QVariant value =
        database.scalar(QStringLiteral("SELECT Wert FROM Einstellungen WHERE Name = ?"), {CountedName});
    bool ok = false;
    const int counted = value.toString().trimmed().toInt(&ok);
    return ok && counted >= 0 ? counted : DefaultCounted;
}

void Teams::storeCounted(Database &database, int counted)
{
    database.execute(QStringLiteral("INSERT INTO Einstellungen (Name, Wert) VALUES (?, ?) ON CONFLICT (Name) DO UPDATE SET Wert = excluded.Wert"),
                     {CountedName, QString::number(std::max(counted, 0))});
}

std::vector<Teams::Shooter> Teams::shootersOf(const Recordset &rows, const std::vector<ClassDef> &classes)
{
    const auto field = [&rows](const QString &name) { return rows.fieldIndex(name); };
    const int klasse = field(QStringLiteral("Klasse"));
    const int team = field(QStringLiteral("Mannschaft"));
    const int key = field(QStringLiteral("Sortierung"));
    const int serie = field(QStringLiteral("Serie"));
    const int innerTens = field(QStringLiteral("Innenzehner"));
    std::array<int, ScoreComputation::ShotCount> shots{};
    for (int shot = 1; shot <= ScoreComputation::ShotCount; ++shot)
        shots[size_t(shot - 1)] = field(ScoreComputation::ringColumn(shot));
    const auto value = [&rows](int row, int at) { return at < 0 ? QVariant() : rows.storedValue(row, at); };

    QStringList classOfRows;
    classOfRows.reserve(rows.rowCount());
    for (int row = 0; row < rows.rowCount(); ++row)
        classOfRows << value(row, klasse).toString();
    std::vector<Shooter> shooters;
    shooters.reserve(size_t(rows.rowCount()));
    for (const Classes::Line &line : Classes::arrange(classOfRows, classes)) {
        if (line.row < 0)
            continue;
        Shooter shooter;
        shooter.row = line.row;
        shooter.klasse = classOfRows.at(line.row);
        shooter.team = value(line.row, team).toString();
        shooter.key = value(line.row, key).toString();
        shooter.total = value(line.row, serie).toDouble();
        shooter.innerTens = value(line.row, innerTens).toInt();
        for (const int at : shots) {
            const QVariant shot = value(line.row, at);
            const double counted = ScoreComputation::isCleanShot(shot)
                                       ? ScoreComputation::countedValue(Numbers::cellText(shot)) : 0;
            if (counted >= 1 && counted <= 10)
                ++shooter.counts[size_t(counted)];
        }
        shooters.push_back(shooter);
    }
    return shooters;
}

std::vector<Teams::Team> Teams::rank(const std::vector<Shooter> &shooters, int counted, TieRule rule)
{
    std::vector<const Shooter *> best;
    for (const Shooter &shooter : shooters) {
        if (!shooter.team.trimmed().isEmpty() && RankAssignment::hasResult(shooter.key))
            best.push_back(&shooter);
    }
    std::stable_sort(best.begin(), best.end(), [](const Shooter *a, const Shooter *b) { return a->key > b->key; });

    // Classes keep the order their first shooter comes in, as given.
    QHash<QString, int> classOrder;
    for (const Shooter &shooter : shooters)
        classOrder.insert(shooter.klasse, classOrder.value(shooter.klasse, int(classOrder.size())));

    std::vector<Forming> teams;
    QHash<QString, size_t> teamOf;
    for (const Shooter *shooter : best) {
        const QString id = shooter->klasse + QLatin1Char('\n') + shooter->team.trimmed().toCaseFolded();
        const auto found = teamOf.constFind(id);
        if (found == teamOf.constEnd()) {
            teamOf.insert(id, teams.size());
            teams.push_back({{shooter->klasse, shooter->team.trimmed(), 0, {}, RankAssignment::NoPlace}, {shooter}, {}, false});
        } else {
            teams[*found].members.push_back(shooter);
        }
    }
    for (Forming &forming : teams) {
        const size_t count = counted > 0 ? size_t(counted) : forming.members.size();
        forming.complete = forming.members.size() >= count;
        int innerTens = 0;
        std::array<int, 11> counts{};
        for (size_t i = 0; i < std::min(count, forming.members.size()); ++i) {
            const Shooter *member = forming.members[i];
            forming.team.total += member->total;
            forming.team.counted.push_back(member->row);
            innerTens += member->innerTens;
            for (size_t value = 1; value < counts.size(); ++value)
                counts[value] += member->counts[value];
        }
        forming.order = forming.complete ? TieRules::orderOf(rule, forming.team.total, innerTens, counts)
                                         : std::vector<double>{forming.team.total};
    }
    std::stable_sort(teams.begin(), teams.end(), [&classOrder](const Forming &a, const Forming &b) {
        const int classA = classOrder.value(a.team.klasse);
        const int classB = classOrder.value(b.team.klasse);
        if (classA != classB)
            return classA < classB;
        if (a.complete != b.complete)
            return a.complete;
        return a.order > b.order;
    });
    std::vector<Team> ranked;
    int position = 0; // complete teams of the class so far
    for (size_t i = 0; i < teams.size(); ++i) {
        Forming &forming = teams[i];
        const Forming *before = i > 0 && teams[i - 1].team.klasse == forming.team.klasse ? &teams[i - 1] : nullptr;
        position = before ? position : 0;
        if (forming.complete) {
            ++position;
            const bool tied = before && before->complete && before->order == forming.order;
            forming.team.place = tied ? ranked.back().place : position;
        }
        ranked.push_back(forming.team);
    }
    return ranked;
}
