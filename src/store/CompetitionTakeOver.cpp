#include "store/CompetitionTakeOver.h"

#include "store/AccessFile.h"
#include "store/Database.h"
#include "store/RingtalError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

const QString Results = QStringLiteral("Ergebnisse");
const QString Competition = QStringLiteral("Wettkampf");
const QString Title = QStringLiteral("Bezeichnung");

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.absoluteFilePath() == second.absoluteFilePath())
        return true;
    const QString canonical = first.canonicalFilePath();
    return !canonical.isEmpty() && canonical == second.canonicalFilePath();
}

// For every field of the target table, the index of the Access field of the
// same name, -1 where there is none.
QVector<int> matchFields(const QStringList &targetFields, const AccessFile::Table &source)
{
    QVector<int> sourceIndex;
    for (const QString &field : targetFields)
        sourceIndex << source.fieldIndex(field);
    return sourceIndex;
}

QString insertStatement(const QString &table, const QStringList &fields)
{
    QStringList marks;
    for (qsizetype i = 0; i < fields.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, fields.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

int copyResults(const AccessFile::Table &source, Database &target, const QString &accessPath)
{
    // The field names come from the template, never from the file being read.
    const QStringList targetFields = target.readAll(QStringLiteral("SELECT * FROM Ergebnisse WHERE 0")).fieldNames;
    const QVector<int> sourceIndex = matchFields(targetFields, source);
    QStringList fields;
    QVector<int> from;
    for (int i = 0; i < targetFields.size(); ++i) {
        if (sourceIndex.at(i) >= 0) {
            fields << targetFields.at(i);
            from << sourceIndex.at(i);
        }
    }
    if (fields.isEmpty())
        throw RingtalError(ErrorNumber::ItemNotFound,
                           QStringLiteral("Die Tabelle 'Ergebnisse' in '%1' hat keines der Felder eines Wettkampfs.")
                                   .arg(accessPath));
    const QString sql = insertStatement(Results, fields);
    QVector<QVariant> values(fields.size());
    for (const QVector<QVariant> &row : source.rows) {
        for (int i = 0; i < from.size(); ++i)
            values[i] = row.at(from.at(i));
        target.execute(sql, values);
    }
    return int(source.rows.size());
}

// Only the first row of Wettkampf is ever used, and only its title.
bool copyTitle(const AccessFile &source, Database &target)
{
    if (!source.hasTable(Competition))
        return false;
    const AccessFile::Table competition = source.readTable(Competition);
    const int field = competition.fieldIndex(Title);
    if (competition.rows.empty() || field < 0)
        return false;
    target.execute(QStringLiteral("INSERT INTO Wettkampf (Bezeichnung) VALUES (?)"),
                   {competition.rows.front().at(field)});
    return true;
}

} // namespace

QString CompetitionTakeOver::proposedFileName(const QString &accessPath)
{
    return QFileInfo(accessPath).completeBaseName() + QStringLiteral(" (übernommen).wkd");
}

CompetitionTakeOver::Result CompetitionTakeOver::copy(const AccessFile &source, Database &target)
{
    // Read in full before the first write: a damaged file fails here already.
    const AccessFile::Table results = source.readTable(Results);
    return allOrNothing(target, [&] {
        Result result;
        result.rows = copyResults(results, target, source.path());
        result.title = copyTitle(source, target);
        return result;
    });
}

CompetitionTakeOver::Result CompetitionTakeOver::intoNewFile(const QString &accessPath, const QString &templatePath,
                                                             const QString &targetPath)
{
    if (sameFile(accessPath, targetPath))
        throw RingtalError(ErrorNumber::PathFileAccess,
                           QStringLiteral("Die Access-Datei '%1' bleibt unverändert; der übernommene Wettkampf "
                                          "braucht einen anderen Namen.")
                                   .arg(accessPath));
    const AccessFile source(accessPath);
    const std::unique_ptr<QTemporaryFile> scratch(scratchFromTemplate(templatePath, targetPath));
    Result result;
    {
        const std::shared_ptr<Database> target = Database::open(scratch->fileName());
        // No one else reads the scratch file, and it is removed on any failure:
        // the rollback journal need not reach the disk, only the finished file.
        target->execute(QStringLiteral("PRAGMA journal_mode = MEMORY"), {});
        result = copy(source, *target);
    }
    putInPlace(scratch->fileName(), targetPath);
    scratch->setAutoRemove(false);
    return result;
}

std::unique_ptr<QTemporaryFile> CompetitionTakeOver::scratchFromTemplate(const QString &templatePath, const QString &targetPath)
{
    QFile templateFile(templatePath);
    if (!templateFile.open(QIODevice::ReadOnly))
        throw RingtalError(ErrorNumber::FileNotFound,
                           QStringLiteral("Datei nicht gefunden: Die Vorlage '%1' fehlt.").arg(templatePath));
    // Hidden beside the target, so that putting it in place is a rename on one file system.
    const QString folder = QFileInfo(targetPath).absolutePath();
    auto scratch = std::make_unique<QTemporaryFile>(QDir(folder).filePath(QStringLiteral(".ringtal-XXXXXX.wkd")));
    if (!scratch->open() || scratch->write(templateFile.readAll()) != templateFile.size() || !scratch->flush())
        throw RingtalError(ErrorNumber::PathFileAccess,
                           QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: Im Ordner '%1' kann keine Datei "
                                          "angelegt werden.")
                                   .arg(folder));
    scratch->close();
    scratch->setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return scratch;
}

void CompetitionTakeOver::putInPlace(const QString &from, const QString &to)
{
    std::error_code failure;
    std::filesystem::rename(std::filesystem::u8path(from.toStdString()), std::filesystem::u8path(to.toStdString()),
                            failure);
    if (failure)
        throw RingtalError(
                ErrorNumber::PathFileAccess,
                QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: '%1' kann nicht geschrieben werden (%2).")
                        .arg(to, QString::fromLocal8Bit(failure.message().c_str())));
}
