// Recordsets: reading the query, fields, moving, finding and reading again.
#include "store/Recordset.h"

#include "store/Criterion.h"
#include "store/Database.h"
#include "store/RingtalError.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace {

int typeCodeForDeclared(const QString &declared, QMetaType::Type fallback)
{
    const QString t = declared.toUpper();
    if (t.contains(QLatin1String("INT")))
        return Recordset::Long;
    if (t.contains(QLatin1String("MEMO")))
        return Recordset::Memo;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) || t.contains(QLatin1String("CLOB")))
        return Recordset::Text;
    if (t.contains(QLatin1String("BLOB")))
        return Recordset::LongBinary;
    if (t.contains(QLatin1String("BOOL")) || t == QLatin1String("BIT"))
        return Recordset::Boolean;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return Recordset::Date;
    if (!t.isEmpty())
        return Recordset::Double;
    switch (fallback) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return Recordset::Long;
    case QMetaType::Double:
        return Recordset::Double;
    case QMetaType::QByteArray:
        return Recordset::LongBinary;
    default:
        return Recordset::Text;
    }
}

// Gives every term of the query's "order by" the collation: "order by Schuetze"
// becomes "order by Schuetze COLLATE c". Numbers compare as numbers whatever
// the collation says; it decides only between texts. Empty values go where
// the engine is told to put them, so that both engines list rows alike.
QString withOrder(const QString &sql, const QString &collation, const Database &database)
{
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\s+(.*)\\z"),
                                            QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression direction(QStringLiteral("\\s+(asc|desc)\\s*\\z"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch list = orderBy.match(sql);
    if (!list.hasMatch() || (collation.isEmpty() && database.emptyValuesOrder(false).isEmpty()))
        return sql;
    QStringList terms;
    for (const QString &part : list.captured(1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch d = direction.match(part);
        const QString expression = d.hasMatch() ? part.left(d.capturedStart()) : part;
        const bool descending = d.hasMatch() && d.captured(1).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
        terms << expression.trimmed() + (collation.isEmpty() ? QString() : QStringLiteral(" COLLATE ") + collation)
                     + (d.hasMatch() ? QLatin1Char(' ') + d.captured(1) : QString())
                     + database.emptyValuesOrder(descending);
    }
    return sql.left(list.capturedStart(1)) + terms.join(QStringLiteral(", "));
}

RingtalError unknownField(const QString &name)
{
    return RingtalError(ErrorNumber::ItemNotFound,
                        QStringLiteral("Das Feld '%1' gibt es in dieser Tabelle nicht.").arg(name));
}

} // namespace

QString Recordset::quoted(const QString &identifier) const
{
    return m_database->quote(identifier);
}

Recordset::Recordset(std::shared_ptr<Database> database, QString sql, TextOrder order)
    : m_database(std::move(database))
    , m_sql(std::move(sql))
    , m_textOrder(order)
{
    static const QRegularExpression fromTable(QStringLiteral("\\bfrom\\s+\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?"),
                                              QRegularExpression::CaseInsensitiveOption);
    m_table = fromTable.match(m_sql).captured(1);
    m_readSql = m_sql;
    // A table without an ID column (the title table) is written by SQLite's
    // own row number, read as an extra last column and kept beside the rows.
    static const QRegularExpression selectAll(QStringLiteral("\\A\\s*select\\s+\\*"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (!m_table.isEmpty() && !m_database->declaredTypes(m_table).contains(QStringLiteral("id"))
        && selectAll.match(m_sql).hasMatch()) {
        m_rowidKey = true;
        m_readSql.replace(selectAll, QStringLiteral("SELECT *, rowid AS ringtal_rowid"));
    }
    m_readSql = withOrder(m_readSql, m_database->collation(order), *m_database);
    load();
    readFieldTypes();
    readOrderFields();
}

bool Recordset::isWritable() const
{
    return !m_table.isEmpty() && (m_idField >= 0 || m_rowidKey);
}

QString Recordset::keyColumn() const
{
    return m_idField >= 0 ? quoted(m_fieldNames.at(m_idField)) : QStringLiteral("rowid");
}

QVariant Recordset::rowKey(int row) const
{
    return m_idField >= 0 ? m_rows[size_t(row)].at(m_idField) : m_rowKeys[size_t(row)];
}

void Recordset::readOrderFields()
{
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\s+(.*)\\z"),
                                            QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::DotMatchesEverythingOption);
    const QString list = orderBy.match(m_sql).captured(1);
    for (const QString &part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed().section(QLatin1Char(' '), 0, 0).remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        const int field = fieldIndex(name);
        if (field >= 0)
            m_orderFields << field;
        else
            m_orderKnown = false; // an order this set cannot follow: always read again
    }
}

Recordset::~Recordset() = default;

// The query's rows; a table without ID has its row numbers in m_rowKeys.
Database::Rows Recordset::readRows()
{
    Database::Rows result = m_database->readAll(m_readSql);
    if (m_rowidKey) {
        result.fieldNames.removeLast();
        m_rowKeys.clear();
        m_rowKeys.reserve(result.rows.size());
        for (QVector<QVariant> &row : result.rows)
            m_rowKeys.push_back(row.takeLast());
    }
    return result;
}

void Recordset::load()
{
    Database::Rows result = readRows();
    if (m_fieldNames.isEmpty())
        m_fieldNames = result.fieldNames;
    m_rows = std::move(result.rows);
    forgetInitials();
    m_position = 0;
    m_noMatch = false;
    m_inQueryOrder = true;
    m_ownWrites = m_database->writeSerial();
    m_dataVersion = m_database->dataVersion();
}

// The rows in memory are what the query would return when nobody else wrote
// to the file since they were read and this set's own writes neither added a
// row nor changed a field the query orders by.
bool Recordset::rowsAreCurrent()
{
    return m_orderKnown && m_inQueryOrder && m_ownWrites == m_database->writeSerial()
        && m_dataVersion == m_database->dataVersion();
}

void Recordset::readFieldTypes()
{
    const QHash<QString, QString> declared =
        m_table.isEmpty() ? QHash<QString, QString>() : m_database->declaredTypes(m_table);
    QSqlQuery query(m_database->connection());
    m_typeCodes.clear();
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        const QString &name = m_fieldNames.at(i);
        const QMetaType::Type fallback =
            m_rows.empty() ? QMetaType::QString : QMetaType::Type(m_rows.front()[i].typeId());
        m_typeCodes << typeCodeForDeclared(declared.value(name.toLower()), fallback);
        if (name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            m_idField = i;
    }
    m_buffer = QVector<QVariant>(m_fieldNames.size());
    m_changed = QBitArray(int(m_fieldNames.size()));
}

int Recordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (m_fieldNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int Recordset::typeCode(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw unknownField(name);
    return m_typeCodes.at(i);
}

void Recordset::requireCurrent() const
{
    if (!hasCurrent())
        throw RingtalError(ErrorNumber::NoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
}

void Recordset::moveTo(int row)
{
    // A typed change is stored before the position moves, never dropped.
    if (isDirty())
        update();
    else if (m_editMode != EditMode::None)
        cancelUpdate();
    const int target = std::clamp(row, 0, rowCount());
    if (target == m_position)
        return;
    m_position = target;
    emit currentMoved(m_position);
}

QVariant Recordset::value(const QString &field) const
{
    const int i = fieldIndex(field);
    if (i < 0)
        throw unknownField(field);
    if (m_editMode != EditMode::None)
        return m_buffer.at(i);
    requireCurrent();
    return m_rows[size_t(m_position)].at(i);
}

void Recordset::addNew()
{
    if (isDirty())
        update();
    else if (m_editMode != EditMode::None)
        cancelUpdate();
    if (!isWritable())
        throw RingtalError(ErrorNumber::ReadOnly, QStringLiteral("Diese Abfrage kann nicht geändert werden."));
    m_buffer.fill(QVariant());
    m_changed.fill(false);
    m_editMode = EditMode::AddNew;
    emit bufferChanged(-1);
}

void Recordset::edit()
{
    if (m_editMode != EditMode::None)
        return;
    requireCurrent();
    if (!isWritable())
        throw RingtalError(ErrorNumber::ReadOnly, QStringLiteral("Diese Abfrage kann nicht geändert werden."));
    m_buffer = m_rows[size_t(m_position)];
    m_changed.fill(false);
    m_editMode = EditMode::Edit;
    emit bufferChanged(-1);
}

void Recordset::setValue(const QString &field, const QVariant &value)
{
    const int i = fieldIndex(field);
    if (i < 0)
        throw unknownField(field);
    setValue(i, value);
}

void Recordset::setValue(int field, const QVariant &value)
{
    if (m_editMode == EditMode::None)
        throw RingtalError(ErrorNumber::UpdateWithoutAddNewOrEdit,
                           QStringLiteral("Der Datensatz wurde vor dem Ändern nicht zum Bearbeiten geöffnet."));
    m_buffer[field] = value;
    m_changed.setBit(field);
    emit bufferChanged(field);
}

void Recordset::findFirst(const QString &criterion)
{
    const Criterion matcher = Criterion::parse(criterion);
    const int field = fieldIndex(matcher.field());
    if (field < 0)
        throw unknownField(matcher.field());
    // A name whose first letter is another one cannot match a plain prefix;
    // passing over it without the full comparison keeps a keystroke quick in
    // a list of thousands.
    const char16_t initial = matcher.asciiInitial();
    const std::vector<char16_t> *initials = initial ? &this->initials(field) : nullptr;
    for (int row = 0; row < rowCount(); ++row) {
        if (initials && (*initials)[size_t(row)] != 0 && (*initials)[size_t(row)] != initial)
            continue;
        if (matcher.matches(m_rows[size_t(row)].at(field))) {
            moveTo(row);
            m_noMatch = false;
            return;
        }
    }
    m_noMatch = true;
}

bool Recordset::refreshChanged()
{
    const qint64 version = m_database->dataVersion();
    if (version == m_dataVersion || m_idField < 0)
        return false;
    const QVariant current = hasCurrent() ? rowKey(m_position) : QVariant();
    const std::vector<QVariant> oldKeys = m_rowKeys;
    Database::Rows result = readRows();
    int found = -1;
    for (size_t row = 0; current.isValid() && row < result.rows.size(); ++row) {
        if (result.rows[row].at(m_idField) == current) {
            found = int(row);
            break;
        }
    }
    // A row in edit that is gone is left as it is: storing it tells the user.
    if (m_editMode == EditMode::Edit && found < 0) {
        m_rowKeys = oldKeys;
        return false;
    }
    emit aboutToReset();
    // The row in edit keeps the values its edit began from, so that storing
    // it still sees what the other program changed.
    if (m_editMode == EditMode::Edit)
        result.rows[size_t(found)] = m_rows[size_t(m_position)];
    m_rows = std::move(result.rows);
    forgetInitials();
    if (m_editMode == EditMode::AddNew)
        m_position = rowCount();
    else
        m_position = found >= 0 ? found : std::min(m_position, rowCount());
    m_inQueryOrder = m_editMode != EditMode::Edit;
    m_ownWrites = m_database->writeSerial();
    m_dataVersion = version;
    emit reset();
    return true;
}

const std::vector<char16_t> &Recordset::initials(int field)
{
    if (m_initialsField != field || m_initials.size() != m_rows.size()) {
        m_initials.resize(m_rows.size());
        for (size_t row = 0; row < m_rows.size(); ++row)
            m_initials[row] = Criterion::asciiInitial(m_rows[row].at(field));
        m_initialsField = field;
    }
    return m_initials;
}

void Recordset::requery(Recordset *sibling)
{
    if (isDirty())
        update();
    else
        cancelUpdate();
    emit aboutToReset();
    try {
        if (rowsAreCurrent()) {
            m_position = 0;
            m_noMatch = false;
        } else if (!takeRowsFrom(sibling)) {
            load();
        }
    } catch (...) {
        emit reset();
        throw;
    }
    emit reset();
}

// A second set on the same file and query whose rows are provably current
// holds exactly what reading would give: its rows are taken instead (the
// winners list after the places were written through the entry list).
bool Recordset::takeRowsFrom(Recordset *sibling)
{
    if (!sibling || sibling == this || sibling->m_sql != m_sql || sibling->m_textOrder != m_textOrder
        || sibling->m_fieldNames != m_fieldNames || sibling->m_rowidKey != m_rowidKey
        || sibling->m_database->path() != m_database->path() || !sibling->rowsAreCurrent())
        return false;
    m_rows = sibling->m_rows;
    forgetInitials();
    m_rowKeys = sibling->m_rowKeys;
    m_position = 0;
    m_noMatch = false;
    m_inQueryOrder = true;
    m_ownWrites = m_database->writeSerial();
    m_dataVersion = m_database->dataVersion();
    return true;
}
