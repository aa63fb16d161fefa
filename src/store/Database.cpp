#include "store/Database.h"

#include "store/FileDatabase.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"
#include "store/ServerDatabase.h"
#include "store/ServerLocation.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlRecord>

namespace {

QAtomicInteger<quint64> g_connectionCounter;

} // namespace

Database::Database(QString path)
    : m_path(std::move(path))
    , m_connectionName(QStringLiteral("ringtal-%1").arg(++g_connectionCounter))
{
}

Database::~Database()
{
    closeConnection();
}

std::shared_ptr<Database> Database::open(const QString &location)
{
    if (const std::optional<ServerLocation> server = ServerLocation::fromText(location))
        return ServerDatabase::open(*server);
    return FileDatabase::open(location);
}

void Database::closeConnection()
{
    m_queries.clear();
    if (!m_db.isValid())
        return;
    if (m_inTransaction)
        m_db.commit();
    m_inTransaction = false;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<Recordset> Database::openRecordset(const QString &sql, TextOrder order)
{
    return std::make_unique<Recordset>(shared_from_this(), sql, order);
}

QString Database::collation(TextOrder) const
{
    return QString();
}

QString Database::quote(const QString &identifier) const
{
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString Database::insertStatement(const QString &table, const QStringList &columns) const
{
    if (columns.isEmpty())
        return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quote(table));
    const QStringList marks(columns.size(), QStringLiteral("?"));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quote(table), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

QString Database::typedMark(const QString &) const
{
    return QStringLiteral("?");
}

QString Database::emptyValuesOrder(bool) const
{
    return QString();
}

Database::Rows Database::readAll(const QString &sql)
{
    return readAllWithDriver(sql);
}

Database::Rows Database::readAll(const QString &sql, const QVector<QVariant> &values)
{
    return readAllWithDriver(sql, values);
}

Database::Rows Database::readAllWithDriver(const QString &sql, const QVector<QVariant> &values)
{
    Rows result;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        raise(query.lastError());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        raise(query.lastError());
    const QSqlRecord record = query.record();
    const int n = record.count();
    for (int i = 0; i < n; ++i)
        result.fieldNames << canonical(record.fieldName(i));
    while (query.next()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = query.value(i);
        result.rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        raise(query.lastError());
    return result;
}

void Database::countWrite()
{
    if (!m_inTransaction)
        requireWritable();
    ++m_writeSerial;
}

void Database::execute(const QString &sql, const QVector<QVariant> &values)
{
    executeWithDriver(sql, values);
}

void Database::executeWithDriver(const QString &sql, const QVector<QVariant> &values)
{
    countWrite();
    auto it = m_queries.find(sql);
    if (it == m_queries.end()) {
        QSqlQuery query(m_db);
        if (!query.prepare(sql))
            raise(query.lastError());
        it = m_queries.insert(sql, query);
    }
    for (int i = 0; i < values.size(); ++i)
        it->bindValue(i, values.at(i));
    if (!it->exec())
        raise(it->lastError());
}

QVariant Database::scalar(const QString &sql, const QVector<QVariant> &values)
{
    QSqlQuery query(m_db);
    if (!query.prepare(sql))
        raise(query.lastError());
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        raise(query.lastError());
    return query.next() ? query.value(0) : QVariant();
}

void Database::beginTransaction()
{
    if (m_inTransaction)
        return;
    requireWritable();
    if (!m_db.transaction())
        raise(m_db.lastError());
    m_inTransaction = true;
}

void Database::commit()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    if (!m_db.commit())
        raise(m_db.lastError());
}

void Database::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    // The sets of this connection hold the undone writes in memory: counted as
    // a write, it makes their next requery read the competition again.
    ++m_writeSerial;
    if (!m_db.rollback())
        raise(m_db.lastError());
}

Transaction::Transaction(Database &database)
    : m_database(database)
    , m_open(!database.inTransaction())
{
    if (m_open)
        m_database.beginTransaction();
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    try {
        m_database.rollback();
    } catch (const RingtalError &) {
        // The failure that ended the transaction is the one to report.
    }
}

void Transaction::commit()
{
    if (!m_open)
        return;
    m_open = false;
    m_database.commit();
}

void Transaction::rollback()
{
    if (!m_open)
        return;
    m_open = false;
    m_database.rollback();
}
