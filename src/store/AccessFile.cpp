#include "store/AccessFile.h"

#include "store/FileKind.h"
#include "store/RingtalError.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cstring>
#include <optional>

// mdbtools.h includes glib.h inside extern "C", where glib's C++ parts do not
// compile; included first, its guard keeps it out of there.
#include <glib.h>
#include <mdbtools.h>

namespace {

constexpr char JetSignature[] = "Standard Jet DB";
constexpr char AceSignature[] = "Standard ACE DB";
constexpr int SignatureOffset = 4;
constexpr int VersionOffset = 0x14;
constexpr int HeaderSize = VersionOffset + 1;

struct TableDeleter
{
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using TablePointer = std::unique_ptr<MdbTableDef, TableDeleter>;

RingtalError damaged(const QString &path, const QString &detail)
{
    return RingtalError(
            ErrorNumber::UnrecognizedFormat,
            QStringLiteral("Die Access-Datei '%1' ist beschädigt oder unvollständig: %2").arg(path, detail));
}

QByteArray readHeader(const QString &path)
{
    // Asked of any file the user opens: a named pipe must not be waited for.
    if (!FileKind::isRegular(path))
        return QByteArray();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(HeaderSize);
}

// Jet 3 files (Access 97) are made of pages of 2 KB, later versions of 4 KB.
qint64 pageSize(const QByteArray &header)
{
    return header.size() > VersionOffset && header.at(VersionOffset) == 0 ? 2048 : 4096;
}

MdbCatalogEntry *findTable(MdbHandle *mdb, const QString &name)
{
    if (!mdb->catalog)
        return nullptr;
    const QByteArray wanted = name.toUtf8();
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry && entry->object_type == MDB_TABLE && g_ascii_strcasecmp(entry->object_name, wanted.constData()) == 0)
            return entry;
    }
    return nullptr;
}

double doubleAt(const unsigned char *at)
{
    const quint64 bits = qFromLittleEndian<quint64>(at);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float singleAt(const unsigned char *at)
{
    const quint32 bits = qFromLittleEndian<quint32>(at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The text form of numbers follows the C locale and rounds to fewer digits
// than a double holds, so fixed-size numbers are taken from the row's bytes.
std::optional<QVariant> fixedValue(int type, const unsigned char *at, int length)
{
    switch (type) {
    case MDB_BYTE:
        return length == 1 ? std::optional<QVariant>(qint64(at[0])) : std::nullopt;
    case MDB_INT:
        return length == 2 ? std::optional<QVariant>(qint64(qFromLittleEndian<qint16>(at))) : std::nullopt;
    case MDB_LONGINT:
        return length == 4 ? std::optional<QVariant>(qint64(qFromLittleEndian<qint32>(at))) : std::nullopt;
    case MDB_FLOAT:
        return length == 4 ? std::optional<QVariant>(double(singleAt(at))) : std::nullopt;
    case MDB_DOUBLE:
        return length == 8 ? std::optional<QVariant>(doubleAt(at)) : std::nullopt;
    default:
        return std::nullopt;
    }
}

bool isFixedNumber(int type)
{
    return type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT || type == MDB_FLOAT || type == MDB_DOUBLE;
}

QVariant textValue(MdbHandle *mdb, MdbColumn *column)
{
    gchar *text = mdb_col_to_string(mdb, mdb->pg_buf, column->cur_value_start, column->col_type, column->cur_value_len);
    if (!text)
        return QVariant();
    QString value = QString::fromUtf8(text);
    g_free(text);
    return value.isEmpty() ? QVariant() : QVariant(value);
}

// The value of one column of the row just fetched. A length of 0 is Null or
// an empty text alike. Throws when the value lies outside the page.
QVariant columnValue(MdbHandle *mdb, MdbColumn *column, const QString &path)
{
    // A yes/no field keeps its value in the row's null mask: a set bit is Yes.
    if (column->col_type == MDB_BOOL)
        return qint64(column->cur_value_len == 0 ? -1 : 0);
    const int start = column->cur_value_start;
    const int length = column->cur_value_len;
    if (length <= 0)
        return QVariant();
    if (start < 0 || qint64(start) + length > qint64(mdb->fmt->pg_size) || start + length > MDB_PGSIZE)
        throw damaged(
                path,
                QStringLiteral("Das Feld '%1' liegt außerhalb seiner Seite.").arg(QString::fromUtf8(column->name)));
    if (!isFixedNumber(column->col_type))
        return textValue(mdb, column);
    const std::optional<QVariant> value = fixedValue(column->col_type, mdb->pg_buf + start, length);
    if (!value)
        throw damaged(path,
                      QStringLiteral("Das Feld '%1' hat eine falsche Länge.").arg(QString::fromUtf8(column->name)));
    return *value;
}

} // namespace

struct AccessFile::Handle
{
    MdbHandle *mdb = nullptr;

    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

int AccessFile::Table::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fieldNames.size(); ++i) {
        if (fieldNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool AccessFile::hasAccessHeader(const QString &path)
{
    const QByteArray header = readHeader(path);
    if (header.size() < HeaderSize || !header.startsWith(QByteArray::fromRawData("\x00\x01\x00\x00", 4)))
        return false;
    const QByteArray signature = header.mid(SignatureOffset, int(sizeof JetSignature) - 1);
    return signature == JetSignature || signature == AceSignature;
}

AccessFile::AccessFile(const QString &path)
    : m_path(path)
    , m_handle(std::make_unique<Handle>())
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw RingtalError(ErrorNumber::FileNotFound, QStringLiteral("Datei nicht gefunden: '%1'.").arg(path));
    if (!FileKind::isRegular(path))
        throw FileKind::notRegular(path);
    if (!QFile(path).open(QIODevice::ReadOnly))
        throw RingtalError(
                ErrorNumber::PathFileAccess,
                QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: '%1' kann nicht gelesen werden.").arg(path));
    if (!hasAccessHeader(path))
        throw RingtalError(ErrorNumber::UnrecognizedFormat,
                           QStringLiteral("Nicht erkanntes Datenbankformat '%1'. Die Datei ist keine Access-Datenbank.")
                                   .arg(path));
    checkSize();
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb || !m_handle->mdb->fmt)
        raiseDamaged(QStringLiteral("Die Datei lässt sich nicht öffnen."));
    if (!mdb_read_catalog(m_handle->mdb, MDB_TABLE))
        raiseDamaged(QStringLiteral("Das Verzeichnis der Tabellen kann nicht gelesen werden."));
}

AccessFile::~AccessFile() = default;

void AccessFile::raiseDamaged(const QString &detail) const
{
    throw damaged(m_path, detail);
}

// The library reads pages past the end of a cut file as if they were empty
// and quietly drops their rows; a file of whole pages at least keeps that
// from going unnoticed for a cut in the middle of a page.
void AccessFile::checkSize() const
{
    const qint64 size = QFileInfo(m_path).size();
    const qint64 page = pageSize(readHeader(m_path));
    if (size < 2 * page || size % page != 0)
        raiseDamaged(
                QStringLiteral("Die Datei ist %1 Bytes lang, kein Vielfaches der Seitengröße %2.").arg(size).arg(page));
}

bool AccessFile::hasTable(const QString &name) const
{
    return findTable(m_handle->mdb, name) != nullptr;
}

AccessFile::Table AccessFile::readTable(const QString &name) const
{
    MdbHandle *mdb = m_handle->mdb;
    MdbCatalogEntry *entry = findTable(mdb, name);
    if (!entry)
        throw RingtalError(
                ErrorNumber::TableNotFound,
                QStringLiteral("Die Tabelle '%1' gibt es in der Access-Datei '%2' nicht.").arg(name, m_path));
    const TablePointer table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get()) || !table->columns || table->columns->len < table->num_cols)
        raiseDamaged(QStringLiteral("Der Aufbau der Tabelle '%1' kann nicht gelesen werden.").arg(name));
    Table result;
    QVector<MdbColumn *> columns;
    for (guint i = 0; i < table->num_cols; ++i) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        if (!column)
            raiseDamaged(QStringLiteral("Ein Feld der Tabelle '%1' fehlt.").arg(name));
        columns << column;
        result.fieldNames << QString::fromUtf8(column->name);
    }
    mdb_rewind_table(table.get());
    result.rows.reserve(table->num_rows);
    while (mdb_fetch_row(table.get())) {
        QVector<QVariant> row(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            row[i] = columnValue(mdb, columns.at(i), m_path);
        result.rows.push_back(std::move(row));
    }
    // Pages the library cannot read count as empty; the table's own row count tells.
    if (result.rows.size() < table->num_rows)
        raiseDamaged(QStringLiteral("Von %1 Zeilen der Tabelle '%2' können nur %3 gelesen werden.")
                             .arg(table->num_rows)
                             .arg(name)
                             .arg(result.rows.size()));
    return result;
}
