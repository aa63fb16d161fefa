#include "support/RecordsetChecks.h"

#include "store/Recordset.h"
#include "support/TestCompetition.h"

namespace RecordsetChecks {

void fill(const TestCompetition &competition, const QStringList &shooters)
{
    for (const QString &shooter : shooters) {
        QVariantList values;
        for (int field = 0; field < 4; ++field) {
            const QString text = shooter.section(QLatin1Char('|'), field, field);
            const bool null = text == QLatin1String("(null)") || field > shooter.count(QLatin1Char('|'));
            values << (null ? QVariant() : field == 3 ? QVariant(text.toInt()) : QVariant(text.isEmpty() ? "" : text));
        }
        competition.exec(QStringLiteral("INSERT INTO Ergebnisse (Schuetze, Verein, Sortierung, StartNr) VALUES (?, ?, ?, ?)"),
                         values);
    }
}

void addThree(const TestCompetition &competition)
{
    fill(competition, {"Cramer|(null)|0870|30", "Becker|(null)|0950|10", "Adler|(null)|0910|20"});
}

QStringList names(const Recordset &recordset)
{
    QStringList result;
    const int field = recordset.fieldIndex(QStringLiteral("Schuetze"));
    for (int row = 0; row < recordset.rowCount(); ++row) {
        const QVariant name = recordset.storedValue(row, field);
        result << (name.isNull() ? QStringLiteral("(null)") : name.toString());
    }
    return result;
}

StoredValue storedValue(const TestCompetition &competition, const QString &field, qint64 id)
{
    const QList<QVariantMap> rows = competition.rows(
        QStringLiteral("SELECT typeof(%1) AS storageClass, %1 AS value FROM Ergebnisse WHERE ID = ?").arg(field),
        {id});
    if (rows.isEmpty())
        return {QStringLiteral("no row"), QVariant()};
    return {rows.first().value(QStringLiteral("storageClass")).toString(), rows.first().value(QStringLiteral("value"))};
}

} // namespace RecordsetChecks
