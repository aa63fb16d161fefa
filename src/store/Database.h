#pragma once

#include "store/TextOrder.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <vector>
#include <memory>
#include <type_traits>

class QSqlError;
class Recordset;

// One open database file on its own uniquely named connection, removed again
// when the object goes. Opening never creates a file: a path that vanished is
// an error, not a new empty competition. Files are opened defensively because
// users pick them: no trusted schema, defensive mode, a busy timeout for a
// second program holding the file.
class Database : public std::enable_shared_from_this<Database>
{
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Throws RingtalError when the file is missing, unreadable or no database.
    static std::shared_ptr<Database> open(const QString &path);

    const QString &path() const { return m_path; }
    QSqlDatabase &connection() { return m_db; }

    // A dynaset over the query; throws RingtalError.
    std::unique_ptr<Recordset> openRecordset(const QString &sql, TextOrder order = TextOrder::Exact);
    // The collation that makes "order by" compare texts in that order; empty
    // when texts compare by character codes, as they do without one.
    QString collation(TextOrder order) const;

    // Runs a query and returns its field names and all rows. Throws RingtalError.
    struct Rows
    {
        QStringList fieldNames;
        std::vector<QVector<QVariant>> rows;
    };
    Rows readAll(const QString &sql);
    // The same for a query with bound values (one row by its key).
    Rows readAll(const QString &sql, const QVector<QVariant> &values);

    // Runs a writing statement with bound values; throws RingtalError.
    // Statements are kept prepared per text, so repeated writes (a place per
    // row) do not parse the same statement again.
    void execute(const QString &sql, const QVector<QVariant> &values);
    // First value of the first row of a query; Null when there is none.
    QVariant scalar(const QString &sql, const QVector<QVariant> &values = {});

    // Counts the writes through this connection.
    quint64 writeSerial() const { return m_writeSerial; }
    // Changes when another connection committed a change to the file.
    qint64 dataVersion();

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // The program's error for a failure reported by the driver.
    [[noreturn]] void raise(const QSqlError &error) const;

    // Declared type of every column of a table, by column name, lower case.
    QHash<QString, QString> declaredTypes(const QString &table);

    // What became of the file since it was opened: another program or the
    // user may delete it, rename another file onto its name, or take the
    // right to write it away.
    enum class FileState { Unchanged, Gone, Replaced };
    FileState fileState() const;
    // Nothing can be stored: the file or its folder (where SQLite keeps its
    // journal) may not be written by this user.
    bool isReadOnly() const;
    // Throws before a write when the file went away or may no longer be
    // written: SQLite would go on writing through the handle it opened.
    void requireWritable() const;

private:
    explicit Database(QString path);
    void connect();
    void applyDefensiveSettings();
    void rememberFile();
    // Throws when a failed write was caused by what became of the file.
    void raiseFileChanged() const;
    void registerCollations();
    Rows readAllWithDriver(const QString &sql, const QVector<QVariant> &values = {});
    void *statement(const QString &sql);
    void bind(void *statement, const QVector<QVariant> &values);
    Rows readAllWithSqlite(const QString &sql);
    [[noreturn]] void raiseSqlite(int code);
    int extendedCode(const QSqlError &error) const;

    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    QHash<QString, QSqlQuery> m_queries;
    QHash<QString, void *> m_statements;
    quint64 m_writeSerial = 0;
    void *m_sqlite = nullptr; // the driver's own handle, for reading rows fast
    bool m_inTransaction = false;
    // Device and inode of the file as opened.
    quint64 m_device = 0;
    quint64 m_inode = 0;
};

// Writes of one command go in one transaction: they are kept when commit()
// is reached, and undone when the transaction ends without it (a failure
// thrown through it). Inside a transaction already open the outer one decides.
class Transaction
{
public:
    explicit Transaction(Database &database);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();
    void rollback();

private:
    Database &m_database;
    bool m_open;
};

// Runs the writes of work in one transaction: all of them are kept, or on a
// failure none, and the failure goes on to the caller.
template<typename Work>
auto allOrNothing(Database &database, Work &&work) -> decltype(work())
{
    Transaction transaction(database);
    if constexpr (std::is_void_v<decltype(work())>) {
        work();
        transaction.commit();
    } else {
        auto result = work();
        transaction.commit();
        return result;
    }
}
