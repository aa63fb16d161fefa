#include "support/RecordsetChecks.h"

#include "store/Recordset.h"
#include "support/TestCompetition.h"

namespace RecordsetChecks {

qint64 insertShooter(const TestCompetition &competition, const QVariant &startNr, const QString &name,
                     const QVariant &key)
{
    competition.exec(QStringLiteral("INSERT INTO Ergebnisse (StartNr, Schuetze, Sortierung) VALUES (?, ?, ?)"),
                     {startNr, name, key});
    return competition.scalar(QStringLiteral("SELECT max(ID) FROM Ergebnisse")).toLongLong();
}

void addThree(const TestCompetition &competition)
{
    insertShooter(competition, 30, QStringLiteral("Cramer"), QStringLiteral("0870"));
    insertShooter(competition, 10, QStringLiteral("Becker"), QStringLiteral("0950"));
    insertShooter(competition, 20, QStringLiteral("Adler"), QStringLiteral("0910"));
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

QStringList tableNames(const TestCompetition &competition)
{
    QStringList result;
    for (const QVariantMap &row : competition.rows(QStringLiteral("SELECT Schuetze FROM Ergebnisse ORDER BY ID")))
        result << row.value(QStringLiteral("Schuetze")).toString();
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

namespace {

bool isNull(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

QByteArray describe(const QVariant &v)
{
    if (isNull(v))
        return "Null";
    if (isNumber(v))
        return QByteArray(v.typeName()) + ' ' + QByteArray::number(v.toDouble(), 'g', 17);
    return QByteArray(v.typeName()) + " \"" + v.toString().toUtf8() + '"';
}

} // namespace

bool sameValue(const QVariant &actual, const QVariant &expected, QByteArray *message)
{
    bool same = false;
    if (isNull(expected))
        same = isNull(actual);
    else if (isNumber(expected))
        same = !isNull(actual) && isNumber(actual) && actual.toDouble() == expected.toDouble();
    else
        same = !isNull(actual) && actual.typeId() == QMetaType::QString && actual.toString() == expected.toString();
    if (message)
        *message = "actual " + describe(actual) + ", expected " + describe(expected);
    return same;
}

} // namespace RecordsetChecks
