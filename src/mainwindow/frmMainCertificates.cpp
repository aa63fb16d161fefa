// Certificates for the first places of every class: what the certificates
// dialog prints, taken from the competition's stored places.
#include "mainwindow/frmMain.h"

#include "certificates/frmUrkunden.h"
#include "scoring/Classes.h"
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

struct Placed
{
    int place;
    Certificate certificate;
};

// Within a class by place; equal places keep the winners list's order.
void appendByPlace(std::vector<Placed> &placed, std::vector<Certificate> &certificates)
{
    std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) { return a.place < b.place; });
    for (Placed &one : placed)
        certificates.push_back(std::move(one.certificate));
    placed.clear();
}

} // namespace

// Class by class in the winners list's order, and in each class its
// shooters placed 1 to `places`, a shared place giving each its certificate.
std::vector<Certificate> frmMain::certificatesFor(bool shooters, bool teams, int places) const
{
    Q_UNUSED(teams)
    std::vector<Certificate> certificates;
    const Recordset *rows = Data1 ? Data1->recordset() : nullptr;
    if (!rows || !shooters)
        return certificates;
    QStringList classOfRows;
    for (int row = 0; row < rows->rowCount(); ++row)
        classOfRows << fieldText(*rows, row, QStringLiteral("Klasse"));
    const QString title = Label1->text();
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    std::vector<Placed> placed;
    for (const Classes::Line &line : Classes::arrange(classOfRows, m_classes)) {
        if (line.row < 0) {
            appendByPlace(placed, certificates);
            continue;
        }
        const int place = placeOf(*rows, line.row);
        if (place < 1 || place > places)
            continue;
        placed.push_back({place,
                          {title, classOfRows.at(line.row), QString::number(place),
                           fieldText(*rows, line.row, QStringLiteral("Schuetze")),
                           fieldText(*rows, line.row, QStringLiteral("Verein")),
                           fieldText(*rows, line.row, QStringLiteral("Mannschaft")),
                           fieldText(*rows, line.row, QStringLiteral("Serie")), today}});
    }
    appendByPlace(placed, certificates);
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
