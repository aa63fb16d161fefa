// Storing rows of a recordset: converting typed values to the field types,
// adding, changing and deleting rows, and writing one field of every row.
#include "store/Recordset.h"

#include "store/Database.h"
#include "store/Numbers.h"
#include "store/RingtalError.h"

#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int TextFieldSize = 255;

RingtalError mismatch(const QString &field, const QVariant &value, const QString &expected)
{
    return RingtalError(ErrorNumber::TypeMismatch,
                        QStringLiteral("Der Wert '%1' passt nicht in das Feld '%2': %3 erwartet.")
                            .arg(Numbers::cellText(value), field, expected));
}

// Too large or too small: a number below the lowest long is no "too large" one.
RingtalError longOverflow(const QString &field, const QVariant &value, bool tooLarge)
{
    return RingtalError(ErrorNumber::NumericOverflow,
                        QStringLiteral("Die Zahl %1 ist für das Feld '%2' zu %3: Erlaubt sind ganze Zahlen von %4 "
                                       "bis %5.")
                            .arg(Numbers::cellText(value), field,
                                 tooLarge ? QStringLiteral("groß") : QStringLiteral("klein"))
                            .arg(std::numeric_limits<qint32>::min())
                            .arg(std::numeric_limits<qint32>::max()));
}

} // namespace

QVariant Recordset::storable(int field, const QVariant &value) const
{
    const QString &name = m_fieldNames.at(field);
    if (!value.isValid() || value.isNull())
        return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = isText ? value.toString().trimmed() : QString();
    switch (m_typeCodes.at(field)) {
    case Text:
    case Memo: {
        const QString s = Numbers::cellText(value);
        if (m_typeCodes.at(field) == Text && s.size() > TextFieldSize)
            throw RingtalError(ErrorNumber::FieldTooSmall,
                               QStringLiteral("Der Text für das Feld '%1' ist zu lang: höchstens %2 Zeichen, "
                                              "eingegeben %3.")
                                   .arg(name)
                                   .arg(TextFieldSize)
                                   .arg(s.size()));
        return s;
    }
    case Long:
    case Boolean: {
        if (isText && text.isEmpty())
            return QVariant();
        const std::optional<double> number =
            isText ? Numbers::parseLocale(text) : std::optional<double>(value.toDouble());
        if (!number)
            throw mismatch(name, value, QStringLiteral("eine ganze Zahl wird"));
        const double rounded = std::nearbyint(*number);
        // A long reaches one further below zero than above it.
        if (rounded > std::numeric_limits<qint32>::max() || rounded < std::numeric_limits<qint32>::min())
            throw longOverflow(name, value, rounded > 0);
        return QVariant(qint64(rounded));
    }
    case Double: {
        if (isText && text.isEmpty())
            return QVariant();
        const std::optional<double> number =
            isText ? Numbers::parseLocale(text) : std::optional<double>(value.toDouble());
        if (!number || !std::isfinite(*number))
            throw mismatch(name, value, QStringLiteral("eine Zahl wird"));
        return *number;
    }
    default:
        return value;
    }
}

void Recordset::update()
{
    if (m_editMode == EditMode::None)
        throw RingtalError(ErrorNumber::UpdateWithoutAddNewOrEdit,
                           QStringLiteral("Es gibt keine Änderung, die gespeichert werden könnte."));
    if (m_editMode == EditMode::AddNew)
        insertBuffer();
    else
        updateBuffer();
    m_editMode = EditMode::None;
    m_changed.fill(false);
    emit bufferChanged(-1);
}

void Recordset::insertBuffer()
{
    QStringList columns;
    QVector<QVariant> values;
    QVector<QVariant> row(m_fieldNames.size());
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (!m_changed.testBit(i))
            continue;
        row[i] = storable(i, m_buffer.at(i));
        columns << quoted(m_fieldNames.at(i));
        values << row[i];
    }
    // A second program adds rows too, so a new row's ID is the competition's
    // to give when the row is stored, not one reserved in memory before. Read
    // back at once: the take-over finds its row again by it.
    Transaction transaction(*m_database);
    const Database::Inserted inserted =
        m_database->insert(m_table, columns, values, m_idField >= 0 ? m_fieldNames.at(m_idField) : QString());
    if (m_idField >= 0 && !m_changed.testBit(m_idField))
        row[m_idField] = inserted.id;
    if (m_rowidKey)
        m_rowKeys.push_back(inserted.rowNumber);
    transaction.commit();
    m_rows.push_back(std::move(row));
    forgetInitials();
    m_inQueryOrder = false;
    m_ownWrites = m_database->writeSerial();
    emit rowAppended(rowCount() - 1);
}

// The statement text depends only on which fields changed; it is built once
// per such set, as a walk that writes one field per row would otherwise build
// the same text thousands of times.
const QString &Recordset::updateStatement()
{
    auto it = m_updateStatements.find(m_changed);
    if (it == m_updateStatements.end()) {
        QStringList assignments;
        for (int i = 0; i < m_fieldNames.size(); ++i) {
            if (m_changed.testBit(i))
                assignments << quoted(m_fieldNames.at(i)) + QStringLiteral(" = ?");
        }
        it = m_updateStatements.insert(m_changed, QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                                      .arg(quoted(m_table), assignments.join(QLatin1Char(',')),
                                                           keyColumn()));
    }
    return it.value();
}

void Recordset::updateBuffer()
{
    QVector<QVariant> values;
    QVector<QVariant> row = m_rows[size_t(m_position)];
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (!m_changed.testBit(i))
            continue;
        row[i] = storable(i, m_buffer.at(i));
        if (m_orderFields.contains(i))
            m_inQueryOrder = false;
        values << row[i];
    }
    if (values.isEmpty())
        return;
    // Compared and written in one transaction, the row locked on a server:
    // nothing another program stores in between is overwritten unseen.
    Transaction transaction(*m_database);
    checkRowInFile();
    values << rowKey(m_position);
    m_database->execute(updateStatement(), values);
    transaction.commit();
    m_rows[size_t(m_position)] = std::move(row);
    forgetInitials();
    m_ownWrites = m_database->writeSerial();
    emit rowChanged(m_position);
}

// Writing a whole column row by row costs SQLite one statement per row, which
// is most of what a ranking of thousands of shooters takes; rows are written
// in batches of one statement instead. Batch sizes are powers of two so that
// only a handful of statement texts are ever prepared.
void Recordset::storeField(int field, const std::vector<QVariant> &values)
{
    if (!isWritable())
        throw RingtalError(ErrorNumber::ReadOnly, QStringLiteral("Diese Abfrage kann nicht geändert werden."));
    if (field < 0 || field >= fieldCount() || values.size() != m_rows.size())
        throw RingtalError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("Für das Feld %1 wurden %2 Werte für %3 Zeilen angegeben.")
                               .arg(field)
                               .arg(values.size())
                               .arg(m_rows.size()));
    std::vector<int> rows;
    std::vector<QVariant> changed;
    for (int row = 0; row < rowCount(); ++row) {
        QVariant value = storable(field, values[size_t(row)]);
        const QVariant &old = m_rows[size_t(row)][field];
        if (old == value)
            continue;
        rows.push_back(row);
        changed.push_back(std::move(value));
    }
    constexpr size_t largestBatch = 128;
    for (size_t done = 0; done < rows.size();) {
        size_t size = largestBatch;
        while (size > rows.size() - done)
            size /= 2;
        storeFieldBatch(field, &rows[done], &changed[done], size);
        done += size;
    }
}

void Recordset::storeFieldBatch(int field, const int *rows, const QVariant *values, size_t count)
{
    // Nothing around a list of VALUES tells a server the parameters' types.
    const auto declared = [this](int at) {
        const int code = at < 0 ? Long : typeCode(at);
        return code == Long ? QStringLiteral("INTEGER") : code == Double ? QStringLiteral("REAL") : QStringLiteral("TEXT");
    };
    const QString pair = QStringLiteral("(%1,%2)").arg(m_database->typedMark(declared(m_idField)),
                                                       m_database->typedMark(declared(field)));
    QStringList pairs;
    QVector<QVariant> bound;
    bound.reserve(qsizetype(count * 2));
    for (size_t i = 0; i < count; ++i) {
        pairs << pair;
        bound << rowKey(rows[i]) << values[i];
    }
    m_database->execute(QStringLiteral("UPDATE %1 SET %2 = v.column2 FROM (VALUES %3) AS v WHERE %1.%4 = v.column1")
                            .arg(quoted(m_table), quoted(m_fieldNames.at(field)), pairs.join(QLatin1Char(',')),
                                 keyColumn()),
                        bound);
    m_ownWrites = m_database->writeSerial();
    if (m_orderFields.contains(field))
        m_inQueryOrder = false;
    for (size_t i = 0; i < count; ++i) {
        const int row = rows[i];
        m_rows[size_t(row)][field] = values[i];
        forgetInitials();
        // An edit under way shows the stored value of a field it did not change.
        if (m_editMode == EditMode::Edit && row == m_position && !m_changed.testBit(field)) {
            m_buffer[field] = values[i];
            emit bufferChanged(field);
        }
        emit rowChanged(row);
    }
}

namespace {

// As the file gives a value back: a whole number stored into a REAL field
// reads as a double, a text of digits may read as a number.
bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    bool aNumber = false;
    bool bNumber = false;
    const double x = a.toDouble(&aNumber);
    const double y = b.toDouble(&bNumber);
    if (aNumber && bNumber && a.typeId() != QMetaType::QString && b.typeId() != QMetaType::QString)
        return x == y;
    return a.toString() == b.toString();
}

} // namespace

// A row that another program stored after it was read would be overwritten
// unseen; one that it deleted would look stored and be gone.
void Recordset::checkRowInFile()
{
    if (m_idField < 0)
        return;
    const Database::Rows found = m_database->readAll(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(quoted(m_table), keyColumn()) + m_database->rowLock(),
        {rowKey(m_position)});
    m_fileRow.clear();
    if (found.rows.empty())
        throw RingtalError(ErrorNumber::RecordDeleted,
                           QStringLiteral("Der Schütze wurde inzwischen von einem anderen Programm gelöscht."));
    const QVector<QVariant> &inFile = found.rows.front();
    const QVector<QVariant> &read = m_rows[size_t(m_position)];
    for (int i = 0; i < fieldCount(); ++i) {
        const int at = int(found.fieldNames.indexOf(m_fieldNames.at(i)));
        if (at >= 0 && !sameValue(inFile.at(at), read.at(i))) {
            m_fileRow = read;
            for (int f = 0; f < fieldCount(); ++f) {
                const int from = int(found.fieldNames.indexOf(m_fieldNames.at(f)));
                if (from >= 0)
                    m_fileRow[f] = inFile.at(from);
            }
            throw RingtalError(ErrorNumber::RecordChangedElsewhere,
                               QStringLiteral("Die Zeile wurde inzwischen von einem anderen Programm geändert."));
        }
    }
}

void Recordset::takeRowInFile()
{
    if (m_fileRow.size() != fieldCount() || !hasCurrent())
        return;
    cancelUpdate();
    m_rows[size_t(m_position)] = m_fileRow;
    forgetInitials();
    m_fileRow.clear();
    m_inQueryOrder = false;
    emit rowChanged(m_position);
}

void Recordset::keepOnRowInFile(const QBitArray &keep)
{
    if (m_fileRow.size() != fieldCount() || m_editMode != EditMode::Edit)
        return;
    m_rows[size_t(m_position)] = m_fileRow;
    forgetInitials();
    for (int i = 0; i < fieldCount(); ++i) {
        if (!keep.testBit(i))
            m_buffer[i] = m_fileRow.at(i);
    }
    m_changed = keep;
    m_fileRow.clear();
    m_inQueryOrder = false;
    emit rowChanged(m_position);
    emit bufferChanged(-1);
}

void Recordset::storeAsNew()
{
    if (m_editMode != EditMode::Edit || !hasCurrent())
        return;
    const QVector<QVariant> typed = m_buffer;
    removeRowFromMemory(m_position);
    m_position = rowCount();
    m_editMode = EditMode::AddNew;
    m_buffer = typed;
    m_changed.fill(false);
    for (int i = 0; i < fieldCount(); ++i) {
        if (i != m_idField && !typed.at(i).isNull())
            m_changed.setBit(i);
    }
    if (m_idField >= 0)
        m_buffer[m_idField] = QVariant();
    emit bufferChanged(-1);
    update();
}

void Recordset::dropDeletedRow()
{
    if (!hasCurrent())
        return;
    cancelUpdate();
    removeRowFromMemory(m_position);
}

void Recordset::removeRowFromMemory(int row)
{
    emit aboutToRemoveRow(row);
    m_rows.erase(m_rows.begin() + row);
    forgetInitials();
    if (m_rowidKey)
        m_rowKeys.erase(m_rowKeys.begin() + row);
    emit rowRemoved(row);
}

void Recordset::cancelUpdate()
{
    if (m_editMode == EditMode::None)
        return;
    m_editMode = EditMode::None;
    m_changed.fill(false);
    emit bufferChanged(-1);
}

void Recordset::deleteCurrent()
{
    cancelUpdate();
    requireCurrent();
    if (!isWritable())
        throw RingtalError(ErrorNumber::ReadOnly, QStringLiteral("Diese Abfrage kann nicht geändert werden."));
    m_database->execute(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quoted(m_table), keyColumn()),
                        {rowKey(m_position)});
    m_ownWrites = m_database->writeSerial();
    removeRowFromMemory(m_position);
}

// All rows go in one transaction; a bound grid sees one reset, not a removal per row.
void Recordset::deleteAll()
{
    cancelUpdate();
    emit aboutToReset();
    try {
        const QSignalBlocker quiet(this);
        Transaction transaction(*m_database);
        try {
            while (rowCount() > 0) {
                moveFirst();
                deleteCurrent();
            }
        } catch (...) {
            // The rows already gone from the list stay gone from the file, so
            // that both still hold the same rows when the failure is reported.
            transaction.commit();
            throw;
        }
        transaction.commit();
    } catch (...) {
        m_position = 0;
        emit reset();
        throw;
    }
    m_position = 0;
    emit reset();
}
