#include "store/ShooterImport.h"

#include "store/AccessFile.h"
#include "store/Csv.h"
#include "store/Database.h"
#include "store/FileKind.h"
#include "store/RingtalError.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

const QStringList NameHeadings{QStringLiteral("schuetze"), QStringLiteral("schütze"), QStringLiteral("name")};
const QStringList ClubHeadings{QStringLiteral("verein"), QStringLiteral("club")};

int headingColumn(const QStringList &record, const QStringList &headings)
{
    for (int i = 0; i < record.size(); ++i) {
        if (headings.contains(record.at(i).trimmed().toLower()))
            return i;
    }
    return -1;
}

QString field(const QStringList &record, int column)
{
    return column >= 0 && column < record.size() ? record.at(column).trimmed() : QString();
}

// Name and club stand for a shooter; a club alone is no shooter.
void addShooter(ShooterImport::Batch &batch, const QString &name, const QString &club)
{
    if (!name.isEmpty())
        batch.shooters.push_back({name, club});
    else if (!club.isEmpty())
        ++batch.nameless;
}

QString key(const QString &name, const QString &club)
{
    return name + QChar(0x1F) + club;
}

QSet<QString> listed(Database &master)
{
    QSet<QString> keys;
    const Database::Rows rows = master.readAll(QStringLiteral("SELECT Schuetze, Verein FROM Schuetzen"));
    for (const QVector<QVariant> &row : rows.rows)
        keys.insert(key(row.at(0).toString().trimmed(), row.at(1).toString().trimmed()));
    return keys;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!QFileInfo::exists(path))
        throw RingtalError(ErrorNumber::FileNotFound, QStringLiteral("Datei nicht gefunden: '%1'.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw RingtalError(
                ErrorNumber::PathFileAccess,
                QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: '%1' kann nicht gelesen werden.").arg(path));
    return file.readAll();
}

} // namespace

ShooterImport::Batch ShooterImport::readFile(const QString &path)
{
    // A named pipe has no size and would pass for an empty file; reading it would wait.
    if (QFileInfo::exists(path) && !FileKind::isRegular(path))
        throw FileKind::notRegular(path);
    if (QFileInfo::exists(path) && QFileInfo(path).size() == 0)
        throw RingtalError(ErrorNumber::InvalidFileFormat,
                           QStringLiteral("Die Datei '%1' ist leer; es gibt nichts zu importieren.").arg(path));
    return AccessFile::hasAccessHeader(path) ? fromAccess(path) : fromCsv(path);
}

ShooterImport::Batch ShooterImport::fromAccess(const QString &path)
{
    const AccessFile file(path);
    const AccessFile::Table table = file.readTable(QStringLiteral("Schuetzen"));
    const int name = table.fieldIndex(QStringLiteral("Schuetze"));
    const int club = table.fieldIndex(QStringLiteral("Verein"));
    if (name < 0)
        throw RingtalError(ErrorNumber::ItemNotFound,
                           QStringLiteral("Die Tabelle 'Schuetzen' in '%1' hat kein Feld 'Schuetze'.").arg(path));
    Batch batch;
    for (const QVector<QVariant> &row : table.rows)
        addShooter(batch, row.at(name).toString().trimmed(), club < 0 ? QString() : row.at(club).toString().trimmed());
    return batch;
}

ShooterImport::Batch ShooterImport::fromCsv(const QString &path)
{
    try {
        return fromRecords(Csv::parse(Csv::decode(readBytes(path)).text));
    } catch (const RingtalError &error) {
        if (error.number() != ErrorNumber::InvalidFileFormat)
            throw;
        throw RingtalError(error.number(),
                           QStringLiteral("'%1' ist keine lesbare CSV-Datei. %2").arg(path, error.description()));
    }
}

ShooterImport::Batch ShooterImport::fromRecords(const QVector<QStringList> &records)
{
    Batch batch;
    if (records.isEmpty())
        return batch;
    int nameColumn = headingColumn(records.front(), NameHeadings);
    int clubColumn = headingColumn(records.front(), ClubHeadings);
    const bool heading = nameColumn >= 0 || clubColumn >= 0;
    if (nameColumn < 0)
        nameColumn = clubColumn == 0 ? 1 : 0;
    if (clubColumn < 0)
        clubColumn = nameColumn + 1;
    for (qsizetype i = heading ? 1 : 0; i < records.size(); ++i)
        addShooter(batch, field(records.at(i), nameColumn), field(records.at(i), clubColumn));
    return batch;
}

ShooterImport::Result ShooterImport::append(Database &master, const Batch &batch)
{
    Result result;
    result.nameless = batch.nameless;
    QSet<QString> keys = listed(master);
    const QString insert = QStringLiteral("INSERT INTO Schuetzen (Schuetze, Verein) VALUES (?, ?)");
    allOrNothing(master, [&] {
        for (const Shooter &shooter : batch.shooters) {
            const QString shooterKey = key(shooter.name, shooter.club);
            if (keys.contains(shooterKey)) {
                ++result.skipped;
                continue;
            }
            master.execute(insert, {shooter.name, shooter.club.isEmpty() ? QVariant() : QVariant(shooter.club)});
            keys.insert(shooterKey);
            ++result.added;
        }
    });
    return result;
}
