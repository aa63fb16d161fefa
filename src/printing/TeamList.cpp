#include "printing/TeamList.h"

#include "scoring/Classes.h"
#include "scoring/RankAssignment.h"
#include "store/Numbers.h"
#include "store/Recordset.h"

#include <algorithm>

PrintTable TeamList::table(const std::vector<Teams::Team> &teams, const Recordset &rows)
{
    const bool classes = std::any_of(teams.begin(), teams.end(), [](const Teams::Team &t) { return !t.klasse.isEmpty(); });
    PrintTable table;
    const auto column = [&table](const char *caption, double width) {
        table.columns.push_back({QString::fromUtf8(caption), width, Qt::AlignHCenter});
    };
    column("Platz", 600);
    column("Mannschaft", 2400);
    if (classes)
        column("Klasse", 1400);
    column("Schütze", 2400);
    column("Ringe", 800);
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    const QVector<Qt::Alignment> aligns = classes ? QVector<Qt::Alignment>{right, left, left, left, right}
                                                  : QVector<Qt::Alignment>{right, left, left, right};
    const int name = rows.fieldIndex(QStringLiteral("Schuetze"));
    const int serie = rows.fieldIndex(QStringLiteral("Serie"));
    const auto cell = [&rows](int row, int field) {
        return field < 0 ? QString() : Numbers::cellText(rows.storedValue(row, field));
    };
    for (const Teams::Team &team : teams) {
        QVector<QString> line{team.place == RankAssignment::NoPlace ? QString() : QString::number(team.place),
                              team.name};
        if (classes)
            line << (team.klasse.isEmpty() ? Classes::withoutClassHeading() : team.klasse);
        line << QString() << Numbers::numberText(team.total);
        table.addRow(line, aligns);
        for (const int row : team.counted) {
            QVector<QString> member(line.size());
            member[line.size() - 2] = cell(row, name);
            member[line.size() - 1] = cell(row, serie);
            table.addRow(member, aligns);
        }
    }
    return table;
}

QString TeamList::caption(int counted)
{
    if (counted <= 0)
        return QStringLiteral("Mannschaften: alle Schützen zählen");
    if (counted == 1)
        return QStringLiteral("Mannschaften: der beste Schütze zählt");
    return QStringLiteral("Mannschaften: die besten %1 Schützen zählen").arg(counted);
}
