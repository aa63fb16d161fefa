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

} // namespace RecordsetChecks
