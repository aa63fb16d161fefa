#include "store/ServerDatabase.h"

#include "store/RingtalError.h"

#include <QSqlDriver>
#include <QSqlError>
#include <charconv>
#include <libpq-fe.h>

namespace {

// Type numbers of the server's built-in types (pg_type.oid).
constexpr Oid BoolType = 16;
constexpr Oid Int8Type = 20;
constexpr Oid Int2Type = 21;
constexpr Oid Int4Type = 23;
constexpr Oid Float4Type = 700;
constexpr Oid Float8Type = 701;
constexpr Oid NumericType = 1700;

// A server that went away is asked again this often at most, in ms.
constexpr qint64 ReconnectPause = 2000;
// How long connecting may take before the server counts as unreachable, in seconds.
constexpr int ConnectSeconds = 5;

const QString Catalog = QStringLiteral("public.ringtal_wettkaempfe");

QVariant valueOf(const PGresult *result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return QVariant();
    const char *text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (PQftype(result, column)) {
    case Int2Type:
    case Int4Type:
    case Int8Type: {
        qint64 number = 0;
        std::from_chars(text, text + length, number);
        return number;
    }
    case Float4Type:
    case Float8Type:
    case NumericType: {
        double number = 0;
        // The server writes numbers in the C format, whatever the client's locale.
        std::from_chars(text, text + length, number);
        return number;
    }
    case BoolType:
        return length > 0 && text[0] == 't';
    default:
        return QString::fromUtf8(text, length);
    }
}

QString declaredName(const QString &serverType)
{
    if (serverType == QLatin1String("integer") || serverType == QLatin1String("bigint")
        || serverType == QLatin1String("smallint"))
        return QStringLiteral("INTEGER");
    if (serverType == QLatin1String("double precision") || serverType == QLatin1String("real")
        || serverType == QLatin1String("numeric"))
        return QStringLiteral("REAL");
    return QStringLiteral("TEXT");
}

QString serverTypeOf(const QString &declared)
{
    const QString t = declared.toUpper();
    if (t.contains(QLatin1String("INT")))
        return QStringLiteral("integer");
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) || t.isEmpty())
        return QStringLiteral("text");
    return QStringLiteral("double precision");
}

// Why a connection could not be made, asked of the client library itself:
// the driver keeps only a text, in the client's language.
enum class Refusal { Unreachable, NeedsPassword, WrongPassword };

Refusal probeRefusal(const ServerLogin &login, QString &detail)
{
    const QByteArray host = login.host.toUtf8(), port = QByteArray::number(login.port),
                     database = login.database.toUtf8(), user = login.user.toUtf8(),
                     timeout = QByteArray::number(ConnectSeconds);
    const std::optional<QString> kept = ServerPasswords::of(login);
    const QByteArray password = kept ? kept->toUtf8() : QByteArray();
    const char *keys[] = {"host", "port", "dbname", "user", "connect_timeout", kept ? "password" : nullptr, nullptr};
    const char *values[] = {host.constData(), port.constData(), database.constData(), user.constData(),
                            timeout.constData(), password.constData(), nullptr};
    PGconn *probe = PQconnectdbParams(keys, values, 0);
    Refusal refusal = Refusal::Unreachable;
    if (PQstatus(probe) != CONNECTION_OK) {
        detail = QString::fromUtf8(PQerrorMessage(probe)).trimmed();
        if (PQconnectionNeedsPassword(probe))
            refusal = Refusal::NeedsPassword;
        else if (PQconnectionUsedPassword(probe))
            refusal = Refusal::WrongPassword;
    }
    PQfinish(probe);
    return refusal;
}

} // namespace

ServerDatabase::ServerDatabase(ServerLocation location)
    : Database(location.toText())
    , m_location(std::move(location))
{
}

ServerDatabase::~ServerDatabase()
{
    closeConnection();
}

std::shared_ptr<ServerDatabase> ServerDatabase::connectTo(const ServerLogin &login)
{
    ServerLocation location;
    location.login = login;
    std::shared_ptr<ServerDatabase> database(new ServerDatabase(location));
    database->connect();
    return database;
}

std::shared_ptr<Database> ServerDatabase::open(const ServerLocation &location)
{
    if (!ServerLocation::isCompetitionName(location.competition))
        throw RingtalError(ErrorNumber::DatabaseFileNotFound,
                           QStringLiteral("'%1' nennt keinen Wettkampf auf einem Server.").arg(location.toText()));
    std::shared_ptr<ServerDatabase> database(new ServerDatabase(location));
    database->connect();
    database->enterCompetition();
    return database;
}

void ServerDatabase::connect()
{
    const ServerLogin &login = m_location.login;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        raiseUnreachable(QStringLiteral("Der PostgreSQL-Treiber von Qt fehlt (Paket libqt6sql6-psql)."));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
    m_db.setHostName(login.host);
    m_db.setPort(login.port);
    m_db.setDatabaseName(login.database);
    m_db.setUserName(login.user);
    if (const std::optional<QString> password = ServerPasswords::of(login))
        m_db.setPassword(*password);
    m_db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=Ringtal").arg(ConnectSeconds));
    if (m_db.open()) {
        quietNotices();
        return;
    }
    QString detail = m_db.lastError().databaseText();
    switch (probeRefusal(login, detail)) {
    case Refusal::NeedsPassword:
        throw RingtalError(ErrorNumber::PasswordRequired,
                           QStringLiteral("Der Server %1 verlangt ein Kennwort für den Benutzer '%2'.")
                                   .arg(login.described(), login.user));
    case Refusal::WrongPassword:
        throw RingtalError(ErrorNumber::PasswordRequired,
                           QStringLiteral("Der Server %1 hat das Kennwort für den Benutzer '%2' abgelehnt.")
                                   .arg(login.described(), login.user));
    case Refusal::Unreachable:
        break;
    }
    raiseUnreachable(detail);
}

// Names are read from the server as it keeps them: an entry of another
// program's version, or typed into the settings, is checked before use.
void ServerDatabase::enterCompetition()
{
    const QString &schema = m_location.competition;
    const QString missing = QStringLiteral("Den Wettkampf '%1' gibt es auf dem Server %2 nicht (mehr).")
                                    .arg(schema, m_location.login.described());
    if (scalar(QStringLiteral("SELECT to_regclass(?)::text"), {Catalog}).isNull())
        throw RingtalError(ErrorNumber::DatabaseFileNotFound, missing);
    const QVariant name = scalar(QStringLiteral("SELECT name FROM %1 WHERE schema = ?").arg(Catalog), {schema});
    if (name.isNull())
        throw RingtalError(ErrorNumber::DatabaseFileNotFound, missing);
    m_name = name.toString();
    run(QStringLiteral("SET search_path TO %1").arg(schema));
    m_names.clear();
    for (const QVector<QVariant> &row : readAll(QStringLiteral("SELECT name FROM ringtal_namen")).rows)
        m_names.insert(row.at(0).toString().toLower(), row.at(0).toString());
    run(QStringLiteral("LISTEN ringtal_%1").arg(schema));
}

QString ServerDatabase::displayName() const
{
    return QStringLiteral("%1 (Server %2)").arg(m_name, m_location.login.described());
}

void *ServerDatabase::handle() const
{
    if (!m_db.isOpen())
        return nullptr;
    const QVariant handle = m_db.driver()->handle();
    // The driver names libpq's struct, not its typedef.
    if (!handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

// The server's notices ("already exists, skipping") are for its log, not for
// the program's output.
void ServerDatabase::quietNotices()
{
    if (auto *connection = static_cast<PGconn *>(handle()))
        PQsetNoticeProcessor(connection, [](void *, const char *) {}, nullptr);
}

bool ServerDatabase::connectionLost() const
{
    auto *connection = static_cast<PGconn *>(handle());
    return !connection || PQstatus(connection) == CONNECTION_BAD;
}

void ServerDatabase::reconnectIfLost()
{
    if (!connectionLost())
        return;
    // The transaction went with the connection: its writes are not there.
    if (m_inTransaction)
        raiseUnreachable(QStringLiteral("Die Verbindung brach während des Speicherns ab; nichts davon wurde "
                                        "gespeichert."));
    if (m_sinceAttempt.isValid() && m_sinceAttempt.elapsed() < ReconnectPause)
        raiseUnreachable(QStringLiteral("Die Verbindung ist unterbrochen."));
    m_sinceAttempt.start();
    m_queries.clear();
    m_db.close();
    if (!m_db.open())
        raiseUnreachable(m_db.lastError().databaseText());
    quietNotices();
    if (!m_location.competition.isEmpty())
        enterCompetition();
    // What other programs stored while the connection was down was told to no one.
    ++m_othersVersion;
    ++m_writeSerial;
}

void ServerDatabase::run(const QString &sql)
{
    reconnectIfLost();
    countWrite();
    QSqlQuery query(m_db);
    if (!query.exec(sql))
        raise(query.lastError());
}

Database::Rows ServerDatabase::readAll(const QString &sql)
{
    reconnectIfLost();
    auto *connection = static_cast<PGconn *>(handle());
    PGresult *result = PQexec(connection, sql.toUtf8().constData());
    if (PQresultStatus(result) != PGRES_TUPLES_OK)
        raiseResult(result);
    Rows rows;
    const int columns = PQnfields(result);
    const int count = PQntuples(result);
    for (int column = 0; column < columns; ++column)
        rows.fieldNames << canonical(QString::fromUtf8(PQfname(result, column)));
    rows.rows.reserve(size_t(count));
    for (int row = 0; row < count; ++row) {
        QVector<QVariant> values;
        values.reserve(columns);
        for (int column = 0; column < columns; ++column)
            values.append(valueOf(result, row, column));
        rows.rows.push_back(std::move(values));
    }
    PQclear(result);
    return rows;
}

void ServerDatabase::execute(const QString &sql, const QVector<QVariant> &values)
{
    reconnectIfLost();
    executeWithDriver(sql, values);
}

qint64 ServerDatabase::dataVersion()
{
    reconnectIfLost();
    auto *connection = static_cast<PGconn *>(handle());
    // Reads what the server sent meanwhile without waiting for more.
    if (!PQconsumeInput(connection) && connectionLost())
        raiseUnreachable(QString::fromUtf8(PQerrorMessage(connection)).trimmed());
    const int own = PQbackendPID(connection);
    while (PGnotify *notice = PQnotifies(connection)) {
        if (notice->be_pid != own)
            ++m_othersVersion;
        PQfreemem(notice);
    }
    return m_othersVersion;
}

// The tables of a competition are made once, from the template; their columns
// are asked of the server (its catalogue views are slow) once per table.
QHash<QString, QString> ServerDatabase::declaredTypes(const QString &table)
{
    const auto known = m_declared.constFind(table.toLower());
    if (known != m_declared.constEnd())
        return *known;
    QHash<QString, QString> types;
    const Rows rows = Database::readAll(QStringLiteral("SELECT column_name::text, data_type::text FROM "
                                                       "information_schema.columns WHERE table_schema = "
                                                       "current_schema() AND table_name = ?"),
                                        {table.toLower()});
    for (const QVector<QVariant> &row : rows.rows)
        types.insert(row.at(0).toString().toLower(), declaredName(row.at(1).toString()));
    if (!types.isEmpty() && !m_location.competition.isEmpty())
        m_declared.insert(table.toLower(), types);
    return types;
}

void ServerDatabase::requireWritable() const
{
    if (connectionLost() && m_sinceAttempt.isValid() && m_sinceAttempt.elapsed() < ReconnectPause)
        raiseUnreachable(QStringLiteral("Die Verbindung ist unterbrochen."));
}

// Names written without quotes are folded to lower case by the server; a
// quoted one must be written so to mean the same table or column.
QString ServerDatabase::quote(const QString &identifier) const
{
    return Database::quote(identifier.toLower());
}

QString ServerDatabase::typedMark(const QString &declaredType) const
{
    return QStringLiteral("CAST(? AS %1)").arg(serverTypeOf(declaredType));
}

// A file sorts empty values before every value; the server after them.
QString ServerDatabase::emptyValuesOrder(bool descending) const
{
    return descending ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST");
}

QString ServerDatabase::rowLock() const
{
    return QStringLiteral(" FOR UPDATE");
}

// Other programs still read; their writes of the table wait for the end of
// the transaction, and so does another program's ranking.
void ServerDatabase::lockForWriting(const QString &table)
{
    run(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(quote(table)));
}

Database::Inserted ServerDatabase::insert(const QString &table, const QStringList &columns,
                                          const QVector<QVariant> &values, const QString &idColumn)
{
    const QString returning = idColumn.isEmpty() ? QString() : QStringLiteral(" RETURNING ") + quote(idColumn);
    reconnectIfLost();
    countWrite();
    Inserted inserted;
    const QVariant id = scalar(insertStatement(table, columns) + returning, values);
    if (!id.isNull())
        inserted.id = qint64(id.toLongLong());
    return inserted;
}

QString ServerDatabase::canonical(const QString &reported) const
{
    return m_names.value(reported, reported);
}

void ServerDatabase::raiseUnreachable(const QString &detail) const
{
    throw RingtalError(ErrorNumber::ServerUnreachable,
                       QStringLiteral("Der Server %1 ist nicht erreichbar. %2")
                               .arg(m_location.login.described(), detail)
                               .trimmed());
}

void ServerDatabase::raiseResult(void *result) const
{
    auto *failed = static_cast<PGresult *>(result);
    const char *state = PQresultErrorField(failed, PG_DIAG_SQLSTATE);
    const QSqlError error(QStringLiteral("PostgreSQL"), QString::fromUtf8(PQresultErrorMessage(failed)).trimmed(),
                          QSqlError::StatementError, state ? QString::fromLatin1(state) : QString());
    PQclear(failed);
    ServerDatabase::raise(error);
}

void ServerDatabase::raise(const QSqlError &error) const
{
    const QString state = error.nativeErrorCode();
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (connectionLost() || error.type() == QSqlError::ConnectionError || state.startsWith(QLatin1String("08"))
        || state.startsWith(QLatin1String("57P")))
        raiseUnreachable(detail);
    const QString notStored = QStringLiteral("Die Änderung wurde nicht gespeichert, weil ");
    const QString where = displayName();
    if (state == QLatin1String("23505"))
        throw RingtalError(ErrorNumber::DuplicateKey,
                           notStored + QStringLiteral("sie einen doppelten Schlüssel ergäbe (%1).").arg(detail));
    if (state == QLatin1String("23502"))
        throw RingtalError(ErrorNumber::FieldRequired,
                           notStored + QStringLiteral("ein Feld leer ist, das einen Wert verlangt (%1).").arg(detail));
    if (state == QLatin1String("23514"))
        throw RingtalError(ErrorNumber::ValidationRule,
                           notStored + QStringLiteral("ein Wert gegen eine Gültigkeitsregel der Tabelle verstößt (%1).")
                                           .arg(detail));
    if (state == QLatin1String("22003"))
        throw RingtalError(ErrorNumber::NumericOverflow,
                           notStored + QStringLiteral("eine Zahl zu groß für ihr Feld ist (%1).").arg(detail));
    if (state == QLatin1String("42P01"))
        throw RingtalError(ErrorNumber::TableNotFound,
                           QStringLiteral("Eine Tabelle fehlt im Wettkampf %1: %2").arg(where, detail));
    if (state == QLatin1String("42501"))
        throw RingtalError(ErrorNumber::ReadOnly,
                           QStringLiteral("Der Benutzer '%1' darf den Wettkampf %2 nicht ändern (%3).")
                                   .arg(m_location.login.user, where, detail));
    if (state == QLatin1String("40001") || state == QLatin1String("40P01") || state == QLatin1String("55P03"))
        throw RingtalError(ErrorNumber::DatabaseLocked,
                           QStringLiteral("Der Wettkampf %1 wird gerade von einem anderen Programm geändert. "
                                          "Bitte später noch einmal versuchen.")
                                   .arg(where));
    throw RingtalError(ErrorNumber::EngineFailure, QStringLiteral("Datenbankfehler im Wettkampf %1: %2").arg(where, detail));
}
