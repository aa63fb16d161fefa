#include "store/FileDatabase.h"

#include "store/FileKind.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <sqlite3.h>

namespace {

const char *const AlphabeticalCollation = "ringtal_alphabetical";

int compareAlphabeticallyForSqlite(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    return compareAlphabetically(QByteArrayView(static_cast<const char *>(a), lengthA),
                                 QByteArrayView(static_cast<const char *>(b), lengthB));
}

// SQLite reads '?', '#' and '%' in a URI as syntax; every other character of
// a path (umlauts, blanks) may stand as it is.
QString sqliteUri(const QString &path)
{
    QString escaped = QFileInfo(path).absoluteFilePath();
    escaped.replace(QLatin1Char('%'), QLatin1String("%25"));
    escaped.replace(QLatin1Char('?'), QLatin1String("%3F"));
    escaped.replace(QLatin1Char('#'), QLatin1String("%23"));
    return QStringLiteral("file://") + escaped + QStringLiteral("?mode=rw");
}

RingtalError missingFile(const QString &path)
{
    return RingtalError(ErrorNumber::DatabaseFileNotFound,
                        QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(path));
}

// A file chosen by the user may bring rules of its own; each failed rule is
// told as what it is, with SQLite's words for the rule after it.
RingtalError ruleFailed(int extendedCode, const QString &detail)
{
    const QString notStored = QStringLiteral("Die Änderung wurde nicht gespeichert, weil ");
    switch (extendedCode) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_ROWID:
        return RingtalError(ErrorNumber::DuplicateKey,
                            notStored + QStringLiteral("sie einen doppelten Schlüssel ergäbe (%1).").arg(detail));
    case SQLITE_CONSTRAINT_NOTNULL:
        return RingtalError(ErrorNumber::FieldRequired,
                            notStored + QStringLiteral("ein Feld leer ist, das einen Wert verlangt (%1).").arg(detail));
    case SQLITE_CONSTRAINT_CHECK:
        return RingtalError(ErrorNumber::ValidationRule,
                            notStored
                                    + QStringLiteral("ein Wert gegen eine Gültigkeitsregel der Tabelle verstößt (%1).")
                                              .arg(detail));
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        return RingtalError(ErrorNumber::RelatedRecordRequired,
                            notStored
                                    + QStringLiteral("sie eine Beziehung zu einer anderen Tabelle verletzt: Der "
                                                     "verknüpfte Datensatz fehlt, oder ein anderer verweist noch auf "
                                                     "diesen (%1).")
                                              .arg(detail));
    default:
        return RingtalError(ErrorNumber::EngineFailure,
                            notStored + QStringLiteral("sie gegen eine Regel der Datei verstößt (%1).").arg(detail));
    }
}

} // namespace

FileDatabase::FileDatabase(QString path)
    : Database(std::move(path))
{
}

FileDatabase::~FileDatabase()
{
    for (void *statement : std::as_const(m_statements))
        sqlite3_finalize(static_cast<sqlite3_stmt *>(statement));
    m_statements.clear();
    closeConnection();
}

std::shared_ptr<Database> FileDatabase::open(const QString &path)
{
    const QFileInfo info(path);
    if (path.trimmed().isEmpty() || !info.exists())
        throw missingFile(path);
    // SQLite would read a device and hang on a named pipe; only a regular file is a competition.
    if (!FileKind::isRegular(path))
        throw RingtalError(ErrorNumber::CannotOpenFile,
                           QStringLiteral("'%1' ist %2 und keine Wettkampfdatei.").arg(path, FileKind::describe(path)));
    if (!info.isReadable())
        throw RingtalError(ErrorNumber::CannotOpenFile,
                           QStringLiteral("Die Datei '%1' kann nicht geöffnet werden: Es fehlt die Leseberechtigung.")
                               .arg(path));
    std::shared_ptr<FileDatabase> database(new FileDatabase(path));
    database->rememberFile();
    database->connect();
    return database;
}

void FileDatabase::connect()
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
    m_db.setDatabaseName(sqliteUri(m_path));
    if (!m_db.open())
        raise(m_db.lastError());
    applyDefensiveSettings();
    registerCollations();
    // SQLite reads the file lazily; reading the schema here turns a text file
    // renamed to .wkd into an error at opening instead of at the first query.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        raise(probe.lastError());
}

void FileDatabase::applyDefensiveSettings()
{
    const QVariant handle = m_db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
        m_sqlite = db;
        if (db) {
            sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
            sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
            sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
            sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
        }
    }
}

void FileDatabase::registerCollations()
{
    if (m_sqlite && sqlite3_create_collation_v2(static_cast<sqlite3 *>(m_sqlite), AlphabeticalCollation,
                                                SQLITE_UTF8, nullptr, compareAlphabeticallyForSqlite, nullptr)
                        != SQLITE_OK)
        raiseSqlite(sqlite3_errcode(static_cast<sqlite3 *>(m_sqlite)));
}

QString FileDatabase::collation(TextOrder order) const
{
    if (order == TextOrder::Alphabetical && m_sqlite)
        return QString::fromLatin1(AlphabeticalCollation);
    return QString();
}

Database::Rows FileDatabase::readAll(const QString &sql)
{
    return m_sqlite ? readAllWithSqlite(sql) : readAllWithDriver(sql);
}

// Reading a whole result through the driver costs several times what SQLite
// itself needs; loading a competition is what users wait for, so rows are
// read with SQLite directly into the same values the driver would give.
Database::Rows FileDatabase::readAllWithSqlite(const QString &sql)
{
    auto *db = static_cast<sqlite3 *>(m_sqlite);
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
        raiseSqlite(sqlite3_errcode(db));
    Rows result;
    const int n = sqlite3_column_count(stmt);
    for (int i = 0; i < n; ++i)
        result.fieldNames << QString::fromUtf8(sqlite3_column_name(stmt, i));
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QVector<QVariant> row;
        row.reserve(n);
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_INTEGER:
                row.emplace_back(qint64(sqlite3_column_int64(stmt, i)));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(stmt, i));
                break;
            case SQLITE_TEXT:
                row.emplace_back(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                                                   sqlite3_column_bytes(stmt, i)));
                break;
            case SQLITE_BLOB:
                row.emplace_back(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, i)),
                                            sqlite3_column_bytes(stmt, i)));
                break;
            default:
                row.emplace_back();
                break;
            }
        }
        result.rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        raiseSqlite(rc);
    return result;
}

void FileDatabase::raiseSqlite(int code)
{
    auto *db = static_cast<sqlite3 *>(m_sqlite);
    FileDatabase::raise(QSqlError(QStringLiteral("SQLite"), QString::fromUtf8(sqlite3_errmsg(db)),
                                  QSqlError::StatementError, QString::number(code)));
}

void *FileDatabase::statement(const QString &sql)
{
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray text = sql.toUtf8();
        auto *db = static_cast<sqlite3 *>(m_sqlite);
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
            raiseSqlite(sqlite3_errcode(db));
        it = m_statements.insert(sql, stmt);
    }
    return it.value();
}

void FileDatabase::bind(void *statement, const QVector<QVariant> &values)
{
    auto *stmt = static_cast<sqlite3_stmt *>(statement);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &v = values.at(i);
        const int at = i + 1;
        switch (v.isNull() ? QMetaType::UnknownType : v.typeId()) {
        case QMetaType::UnknownType:
            sqlite3_bind_null(stmt, at);
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Bool:
            sqlite3_bind_int64(stmt, at, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            sqlite3_bind_double(stmt, at, v.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = v.toByteArray();
            sqlite3_bind_blob(stmt, at, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = v.toString().toUtf8();
            sqlite3_bind_text(stmt, at, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
}

void FileDatabase::execute(const QString &sql, const QVector<QVariant> &values)
{
    if (!m_sqlite) {
        executeWithDriver(sql, values);
        return;
    }
    countWrite();
    auto *stmt = static_cast<sqlite3_stmt *>(statement(sql));
    bind(stmt, values);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        auto *db = static_cast<sqlite3 *>(m_sqlite);
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        const int code = sqlite3_extended_errcode(db);
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        raise(QSqlError(QStringLiteral("SQLite"), message, QSqlError::StatementError, QString::number(code)));
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
}

// A writing statement takes the file's write lock, even one that changes nothing.
void FileDatabase::lockForWriting(const QString &table)
{
    execute(QStringLiteral("DELETE FROM %1 WHERE 0").arg(quote(table)), {});
}

// A second program on the same file adds rows too, so a new row's number is
// the file's to give when the row is stored. An ID that is not the row's own
// number (a file of an older program) gets the next free one.
Database::Inserted FileDatabase::insert(const QString &table, const QStringList &columns, const QVector<QVariant> &values,
                                        const QString &idColumn)
{
    execute(insertStatement(table, columns), values);
    Inserted inserted;
    inserted.rowNumber = scalar(QStringLiteral("SELECT last_insert_rowid()"));
    if (idColumn.isEmpty())
        return inserted;
    const QString id = quote(idColumn);
    const QString read = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(id, quote(table));
    inserted.id = scalar(read, {inserted.rowNumber});
    if (inserted.id.isNull()) {
        execute(QStringLiteral("UPDATE %2 SET %1 = (SELECT coalesce(max(%1), 0) + 1 FROM %2) WHERE rowid = ?")
                    .arg(id, quote(table)),
                {inserted.rowNumber});
        inserted.id = scalar(read, {inserted.rowNumber});
    }
    return inserted;
}

qint64 FileDatabase::dataVersion()
{
    return scalar(QStringLiteral("PRAGMA data_version")).toLongLong();
}

QHash<QString, QString> FileDatabase::declaredTypes(const QString &table)
{
    QHash<QString, QString> types;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"));
    query.addBindValue(table);
    if (!query.exec())
        raise(query.lastError());
    while (query.next())
        types.insert(query.value(0).toString().toLower(), query.value(1).toString());
    return types;
}

// The driver tells only the primary code of a failure, or none at all for a
// failed commit; the connection still holds the extended one, which tells a
// CHECK from a UNIQUE rule.
int FileDatabase::extendedCode(const QSqlError &error) const
{
    const int native = error.nativeErrorCode().toInt();
    if (native > 0xFF || !m_sqlite)
        return native;
    const int extended = sqlite3_extended_errcode(static_cast<sqlite3 *>(m_sqlite));
    return native == 0 || (extended & 0xFF) == native ? extended : native;
}

void FileDatabase::raise(const QSqlError &error) const
{
    const int extended = extendedCode(error);
    const int code = extended & 0xFF;
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    static const QRegularExpression noTable(QStringLiteral("no such table: (\\S+)"));
    const QRegularExpressionMatch table = noTable.match(detail);
    if (table.hasMatch())
        throw RingtalError(ErrorNumber::TableNotFound,
                           QStringLiteral("Die Tabelle '%1' gibt es in der Datei '%2' nicht. "
                                          "Die Datei ist kein Ringtal-Wettkampf.")
                               .arg(table.captured(1), m_path));
    switch (code) {
    case SQLITE_CANTOPEN:
        if (!QFileInfo::exists(m_path))
            throw missingFile(m_path);
        throw RingtalError(ErrorNumber::CannotOpenFile,
                           QStringLiteral("Die Datei '%1' kann nicht geöffnet werden. Sie ist möglicherweise "
                                          "gesperrt, oder es fehlt die Berechtigung.")
                               .arg(m_path));
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw RingtalError(ErrorNumber::UnrecognizedFormat,
                           QStringLiteral("Nicht erkanntes Datenbankformat '%1'. Die Datei ist keine "
                                          "Ringtal-Datenbank oder beschädigt.")
                               .arg(m_path));
    case SQLITE_READONLY:
        raiseFileChanged();
        throw RingtalError(ErrorNumber::ReadOnly,
                           QStringLiteral("Die Datei '%1' ist schreibgeschützt. Änderungen können nicht "
                                          "gespeichert werden.")
                               .arg(m_path));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw RingtalError(ErrorNumber::DatabaseLocked,
                           QStringLiteral("Die Datei '%1' wird gerade von einem anderen Programm benutzt. "
                                          "Bitte später noch einmal versuchen.")
                               .arg(m_path));
    case SQLITE_CONSTRAINT:
        throw ruleFailed(extended, detail);
    case SQLITE_FULL:
        throw RingtalError(ErrorNumber::EngineFailure,
                           QStringLiteral("Der Datenträger ist voll; '%1' kann nicht gespeichert werden.")
                               .arg(m_path));
    case SQLITE_IOERR:
        raiseFileChanged();
        throw RingtalError(ErrorNumber::EngineFailure,
                           QStringLiteral("Die Datei '%1' konnte nicht gelesen oder geschrieben werden (%2).")
                               .arg(m_path, detail));
    default:
        throw RingtalError(ErrorNumber::EngineFailure,
                           QStringLiteral("Datenbankfehler in '%1': %2").arg(m_path, detail));
    }
}
