#include "support/IndependentCsv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace IndependentCsv {

namespace {

const char *const Script = R"(import csv, json, sys
with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:
    rows = list(csv.reader(f, delimiter=sys.argv[2], strict=True))
sys.stdout.write(json.dumps(rows))
)";

} // namespace

QVector<QStringList> read(const QString &path, QChar delimiter, QString *error)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(Script), path, QString(delimiter)});
    if (!python.waitForFinished(30000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        *error = QStringLiteral("python3 failed: %1 %2")
                         .arg(python.errorString(), QString::fromUtf8(python.readAllStandardError()));
        return {};
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(python.readAllStandardOutput(), &parseError);
    if (!document.isArray()) {
        *error = QStringLiteral("python3 gave no list: %1").arg(parseError.errorString());
        return {};
    }
    QVector<QStringList> records;
    for (const QJsonValue &record : document.array()) {
        QStringList fields;
        for (const QJsonValue &field : record.toArray())
            fields << field.toString();
        records << fields;
    }
    return records;
}

} // namespace IndependentCsv
