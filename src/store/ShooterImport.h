#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class Database;

// Shooters brought into the master list from elsewhere: from a master list
// kept in the Access format (table Schuetzen) or from a CSV file of names and
// clubs. A shooter whose name and club are in the list already is skipped.
class ShooterImport
{
public:
    struct Shooter
    {
        QString name;
        QString club; // empty: none
    };

    struct Batch
    {
        QVector<Shooter> shooters;
        int nameless = 0; // rows with a club but no name, left out
    };

    struct Result
    {
        int added = 0;
        int skipped = 0;
        int nameless = 0;
    };

    // Reads the shooters of a file, an Access database or a CSV file as its
    // first bytes show. Throws RingtalError: the file is missing, empty,
    // damaged, or has no table Schuetzen.
    static Batch readFile(const QString &path);

    // The shooters of CSV records: name and club in the first two fields,
    // unless a heading line names the columns ("Schuetze", "Schütze" or
    // "Name"; "Verein" or "Club"). Fields are trimmed; blank records are
    // left out.
    static Batch fromRecords(const QVector<QStringList> &records);

    // Appends the shooters not yet in the list, in one transaction: when a
    // write fails the list stays as it was and RingtalError is thrown.
    static Result append(Database &master, const Batch &batch);

private:
    static Batch fromAccess(const QString &path);
    static Batch fromCsv(const QString &path);
};
