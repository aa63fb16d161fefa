#pragma once

#include "store/Database.h"
#include "store/ServerLocation.h"

#include <QElapsedTimer>

// A competition on a PostgreSQL server: one schema of the club's database,
// made from the template's tables (ServerCompetitions). Statements go through
// Qt's driver; whole results are read with libpq on the driver's connection,
// as the file engine reads them with SQLite itself. Other programs' writes
// are told by the server (LISTEN/NOTIFY, sent by a trigger of each table)
// and counted in dataVersion(), which the window asks often.
class ServerDatabase : public Database
{
public:
    ~ServerDatabase() override;

    // Throws RingtalError: 3151 when the server cannot be reached, 3029 when
    // it asks for a password that is not known or refuses it, 3024 when the
    // competition is not (or no longer) on the server.
    static std::shared_ptr<Database> open(const ServerLocation &location);
    // The club's database without a competition: for the list of
    // competitions and for making new ones.
    static std::shared_ptr<ServerDatabase> connectTo(const ServerLogin &login);

    const ServerLocation &location() const { return m_location; }
    // The competition's name in the server's list.
    const QString &name() const { return m_name; }

    using Database::readAll;
    QString displayName() const override;
    bool isServer() const override { return true; }
    Rows readAll(const QString &sql) override;
    void execute(const QString &sql, const QVector<QVariant> &values) override;
    qint64 dataVersion() override;
    [[noreturn]] void raise(const QSqlError &error) const override;
    QHash<QString, QString> declaredTypes(const QString &table) override;
    void requireWritable() const override;
    QString quote(const QString &identifier) const override;
    QString typedMark(const QString &declaredType) const override;
    QString emptyValuesOrder(bool descending) const override;
    QString rowLock() const override;
    void lockForWriting(const QString &table) override;
    Inserted insert(const QString &table, const QStringList &columns, const QVector<QVariant> &values,
                    const QString &idColumn) override;

    // A statement without parameters (schema work); throws RingtalError.
    void run(const QString &sql);
    // The name of a column or table as the template writes it, for one the
    // server gives in lower case.
    QString canonical(const QString &reported) const override;

private:
    explicit ServerDatabase(ServerLocation location);
    void connect();
    void enterCompetition();
    void *handle() const;
    bool connectionLost() const;
    void quietNotices();
    // After the connection broke: one attempt to connect again, at most
    // every few seconds, so that a window asking often does not hammer the network.
    void reconnectIfLost();
    [[noreturn]] void raiseUnreachable(const QString &detail) const;
    [[noreturn]] void raiseResult(void *result) const;

    ServerLocation m_location;
    QString m_name;
    QHash<QString, QString> m_names; // lower case → as the template writes it
    QHash<QString, QHash<QString, QString>> m_declared; // by table, lower case
    qint64 m_othersVersion = 0;
    QElapsedTimer m_sinceAttempt;
};
