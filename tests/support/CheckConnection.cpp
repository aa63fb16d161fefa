#include "support/CheckConnection.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace CheckConnection {

namespace {

int g_connections = 0;

template<typename Body>
void withQuery(const QString &path, const QString &sql, const QVariantList &values, Body body)
{
    // QSQLITE would make a missing file; a check must not find a file it made itself.
    if (!QFileInfo::exists(path))
        qFatal("no database file at %s", qPrintable(path));
    const QString name = QStringLiteral("check-connection-%1").arg(++g_connections);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        QSqlQuery query(db);
        if (!query.prepare(sql))
            qFatal("prepare failed: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        for (const QVariant &value : values)
            query.addBindValue(value);
        if (!query.exec())
            qFatal("exec failed: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        body(query);
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

QList<QVariantMap> rows(const QString &path, const QString &sql, const QVariantList &values)
{
    QList<QVariantMap> result;
    withQuery(path, sql, values, [&](QSqlQuery &query) {
        while (query.next()) {
            QVariantMap row;
            const QSqlRecord record = query.record();
            for (int i = 0; i < record.count(); ++i)
                row.insert(record.fieldName(i), query.value(i));
            result << row;
        }
    });
    return result;
}

QVariant scalar(const QString &path, const QString &sql, const QVariantList &values)
{
    QVariant result;
    withQuery(path, sql, values, [&](QSqlQuery &query) {
        if (query.next())
            result = query.value(0);
    });
    return result;
}

void exec(const QString &path, const QString &sql, const QVariantList &values)
{
    withQuery(path, sql, values, [](QSqlQuery &) {});
}

} // namespace CheckConnection
