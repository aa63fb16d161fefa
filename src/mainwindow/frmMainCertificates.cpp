// Certificates for the first places of every class: what the certificates
// dialog prints, taken from the competition's stored places.
#include "mainwindow/frmMain.h"

#include "certificates/frmUrkunden.h"
#include "scoring/Classes.h"
#include "scoring/Teams.h"
#include "store/DataSource.h"
#include "store/Numbers.h"
#include "store/Recordset.h"

#include <QDate>
#include <QLabel>
#include <algorithm>

namespace {

QString fieldText(const Recordset &rows, int row, const QString &field)
{
    const int at = rows.fieldIndex(field);
    return at < 0 ? QString() : Numbers::cellText(rows.storedValue(row, at));
}

int placeOf(const Recordset &rows, int row)
{
    const int at = rows.fieldIndex(QStringLiteral("Platz"));
    const QVariant place = at < 0 ? QVariant() : rows.storedValue(row, at);
    bool whole = false;
    const int number = place.isNull() ? 0 : place.toInt(&whole);
    return whole ? number : 0;
}

// A team's club, when every counted shooter shoots for the same one; a team
// of several clubs names none rather than one of them.
QString teamClub(const Recordset &rows, const Teams::Team &team)
{
    QString club;
    for (size_t at = 0; at < team.counted.size(); ++at) {
        const QString own = fieldText(rows, team.counted[at], QStringLiteral("Verein")).trimmed();
        if (at > 0 && own.compare(club, Qt::CaseInsensitive) != 0)
            return QString();
        club = at == 0 ? own : club;
    }
    return club;
}

} // namespace

// Class by class in the winners list's order; in each class its shooters
// placed 1 to `places`, a shared place giving each its certificate, then
// its teams so placed.
std::vector<Certificate> frmMain::certificatesFor(bool shooters, bool teams, int places) const
{
    std::vector<Certificate> certificates;
    const Recordset *rows = Data1 ? Data1->recordset() : nullptr;
    if (!rows)
        return certificates;
    QStringList classOfRows;
    for (int row = 0; row < rows->rowCount(); ++row)
        classOfRows << fieldText(*rows, row, QStringLiteral("Klasse"));
    const QString title = Label1->text();
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    // Each class once, in the order the winners list shows them, with its placed rows.
    QStringList classOrder;
    std::vector<std::vector<int>> placedRows;
    for (const Classes::Line &line : Classes::arrange(classOfRows, m_classes)) {
        if (line.row < 0)
            continue;
        if (!classOrder.contains(classOfRows.at(line.row))) {
            classOrder << classOfRows.at(line.row);
            placedRows.emplace_back();
        }
        const int place = placeOf(*rows, line.row);
        if (shooters && place >= 1 && place <= places)
            placedRows[size_t(classOrder.indexOf(classOfRows.at(line.row)))].push_back(line.row);
    }
    const std::vector<Teams::Team> ranked = teams ? Teams::rank(Teams::shootersOf(*rows, m_classes), m_teamCounted,
                                                                m_tieRule)
                                                  : std::vector<Teams::Team>();
    for (qsizetype klasse = 0; klasse < classOrder.size(); ++klasse) {
        std::vector<int> &inClass = placedRows[size_t(klasse)];
        // Equal places keep the winners list's order.
        std::stable_sort(inClass.begin(), inClass.end(),
                         [&](int a, int b) { return placeOf(*rows, a) < placeOf(*rows, b); });
        for (const int row : inClass)
            certificates.push_back({title, classOfRows.at(row), QString::number(placeOf(*rows, row)),
                                    fieldText(*rows, row, QStringLiteral("Schuetze")),
                                    fieldText(*rows, row, QStringLiteral("Verein")),
                                    fieldText(*rows, row, QStringLiteral("Mannschaft")),
                                    fieldText(*rows, row, QStringLiteral("Serie")), today});
        for (const Teams::Team &team : ranked) {
            if (team.klasse == classOrder.at(klasse) && team.place >= 1 && team.place <= places)
                certificates.push_back({title, team.klasse, QString::number(team.place), team.name,
                                        teamClub(*rows, team), team.name, Numbers::numberText(team.total), today});
        }
    }
    return certificates;
}

void frmMain::mnuDateiUrkunden_Click()
{
    if (!winnersListReady())
        return;
    frmUrkunden dialog([this](bool shooters, bool teams, int places) { return certificatesFor(shooters, teams, places); },
                       this);
    dialog.exec();
}
