#include "tempModule.h"

#include "Numbers.h"

#include <QFile>
#include <QFileInfo>

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
    if (QFileInfo(path).isDir())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.close();
    return true;
}
