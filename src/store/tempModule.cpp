#include "store/tempModule.h"

#include "store/FileKind.h"
#include "store/Numbers.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"

#include <QFile>

double ParseDecimal(const QString &text)
{
    QString converted;
    converted.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char(','))
            converted.append(QLatin1Char('.'));
        else if (c != QLatin1Char('.'))
            converted.append(c);
    }
    return Numbers::leadingNumber(converted);
}

bool FileExists(const QString &path)
{
    if (path.trimmed().isEmpty())
        return false;
    // Opening a named pipe waits for a writer for ever; a folder, socket or
    // device is no file either. Only what opens at once counts as there.
    if (!FileKind::isRegular(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.close();
    return true;
}

QVariant neutralFieldValue(int typeCode, const QVariant &value)
{
    const QVariant neutral = typeCode > 8 ? QVariant(QString()) : QVariant(0);
    if (!value.isValid() || value.isNull())
        return neutral;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text.isEmpty())
            return neutral;
        if (text.count(QChar(0)) == text.size())
            return QString();
    }
    return value;
}

QVariant GetFieldValue(const Recordset &recordset, const QString &fieldName)
{
    // The type code is read first: when even that fails, the caller hears of it.
    const int code = recordset.typeCode(fieldName);
    try {
        return neutralFieldValue(code, recordset.value(fieldName));
    } catch (const RingtalError &) {
        return neutralFieldValue(code, QVariant());
    }
}

QVariant GetFieldValue(const Recordset &recordset, int field)
{
    const int code = recordset.typeCode(field);
    if (recordset.editMode() != Recordset::EditMode::None)
        return neutralFieldValue(code, recordset.bufferValue(field));
    if (!recordset.hasCurrent())
        return neutralFieldValue(code, QVariant());
    return neutralFieldValue(code, recordset.storedValue(recordset.position(), field));
}
