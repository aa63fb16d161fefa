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

// One open competition on its own uniquely named connection, removed again
// when the object goes: a file (FileDatabase) or a competition on a
// PostgreSQL server (ServerDatabase). Recordsets, rankings and grids speak to
// this interface only; what the two engines write differently is asked of
// it (quoting, a typed parameter, the order of empty values, a new row's ID).
class Database : public std::enable_shared_from_this<Database>
{
public:
    virtual ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // A file path, or the text of a server competition (ServerLocation).
    // Throws RingtalError when it is missing, unreachable or no competition.
    static std::shared_ptr<Database> open(const QString &location);

    // The location as opened: the path of a file, the text of a server competition.
    const QString &path() const { return m_path; }
    // How messages and the title bar name it.
    virtual QString displayName() const { return m_path; }
    virtual bool isServer() const { return false; }
    QSqlDatabase &connection() { return m_db; }

    // A dynaset over the query; throws RingtalError.
    std::unique_ptr<Recordset> openRecordset(const QString &sql, TextOrder order = TextOrder::Exact);
    // The collation that makes "order by" compare texts in that order; empty
    // when texts compare by character codes, as they do without one.
    virtual QString collation(TextOrder order) const;

    // Runs a query and returns its field names and all rows. Throws RingtalError.
    struct Rows
    {
        QStringList fieldNames;
        std::vector<QVector<QVariant>> rows;
    };
    virtual Rows readAll(const QString &sql);
    // The same for a query with bound values (one row by its key).
    Rows readAll(const QString &sql, const QVector<QVariant> &values);

    // Runs a writing statement with bound values; throws RingtalError.
    // Statements are kept prepared per text, so repeated writes (a place per
    // row) do not parse the same statement again.
    virtual void execute(const QString &sql, const QVector<QVariant> &values);
    // First value of the first row of a query; Null when there is none.
    QVariant scalar(const QString &sql, const QVector<QVariant> &values = {});

    // Counts the writes through this connection.
    quint64 writeSerial() const { return m_writeSerial; }
    // Changes when another connection committed a change to the competition.
    virtual qint64 dataVersion() = 0;

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // The program's error for a failure reported by the driver.
    [[noreturn]] virtual void raise(const QSqlError &error) const = 0;

    // Declared type of every column of a table, by column name, lower case,
    // as the template declares it (INTEGER, REAL, TEXT).
    virtual QHash<QString, QString> declaredTypes(const QString &table) = 0;

    // What became of a file since it was opened: another program or the
    // user may delete it, rename another file onto its name, or take the
    // right to write it away. A server competition stays where it is.
    enum class FileState { Unchanged, Gone, Replaced };
    virtual FileState fileState() const { return FileState::Unchanged; }
    // Nothing can be stored: the file or its folder (where SQLite keeps its
    // journal) may not be written by this user.
    virtual bool isReadOnly() const { return false; }
    // Throws before a write when the competition can no longer be written.
    virtual void requireWritable() const {}

    // A field name as the template writes it, for one as the engine reports it.
    virtual QString canonical(const QString &reported) const { return reported; }
    // A table or column name as a statement writes it.
    virtual QString quote(const QString &identifier) const;
    // A parameter where nothing around it tells its type (a list of VALUES).
    virtual QString typedMark(const QString &declaredType) const;
    // What keeps empty values where a file sorts them (first, before every
    // value), appended to an "order by" term.
    virtual QString emptyValuesOrder(bool descending) const;
    // Inside a transaction: no other program writes the table until it ends,
    // and the next requery reads it again (a ranking of the rows as they stand).
    virtual void lockForWriting(const QString &table) = 0;
    // Appended to the query that reads a row before it is stored, so that
    // no other program stores it in between.
    virtual QString rowLock() const { return {}; }
    // Adds a row; the ID the competition gave it (when idColumn names one)
    // and the engine's own row number for a table without ID.
    struct Inserted
    {
        QVariant id;
        QVariant rowNumber;
    };
    virtual Inserted insert(const QString &table, const QStringList &columns, const QVector<QVariant> &values,
                            const QString &idColumn) = 0;
    // "INSERT INTO table (columns) VALUES (?, …)", or of default values; the
    // columns as quote() writes them.
    QString insertStatement(const QString &table, const QStringList &columns) const;

protected:
    explicit Database(QString path);
    // Before the first write outside a transaction and every counted write.
    void countWrite();
    Rows readAllWithDriver(const QString &sql, const QVector<QVariant> &values = {});
    void executeWithDriver(const QString &sql, const QVector<QVariant> &values);
    // Ends the connection; derived engines call it from their destructor.
    void closeConnection();

    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    QHash<QString, QSqlQuery> m_queries;
    quint64 m_writeSerial = 0;
    bool m_inTransaction = false;
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
