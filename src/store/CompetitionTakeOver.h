#pragma once

#include <QString>
#include <memory>

class AccessFile;
class QTemporaryFile;
class Database;

// Takes a competition kept in the Access format over into a competition of
// this program: the title and every result row with its ID, Null fields as
// Null, numbers bit for bit. The Access file is only read.
class CompetitionTakeOver
{
public:
    struct Result
    {
        int rows = 0;
        bool title = false;
    };

    // The name proposed for the new competition: the Access file's name with
    // " (übernommen)" added, as a competition file.
    static QString proposedFileName(const QString &accessPath);

    // Copies into `target`, a fresh copy of the template, in one transaction
    // that is rolled back when anything fails. Fields are matched by name;
    // one the Access table lacks stays Null. Throws RingtalError.
    static Result copy(const AccessFile &source, Database &target);

    // Makes `targetPath` a new competition from the template holding what
    // the Access file holds. It is built beside the target and put in place
    // only when complete: on a failure nothing is left behind, and a file
    // that was at the target stays as it was. The Access file itself is
    // refused as the target. Throws RingtalError.
    static Result intoNewFile(const QString &accessPath, const QString &templatePath, const QString &targetPath);

    // A copy of the template, hidden beside the target, so that putting it in
    // place is a rename on one file system. Throws RingtalError.
    static std::unique_ptr<QTemporaryFile> scratchFromTemplate(const QString &templatePath, const QString &targetPath);
    // Replaces a file that is already there in one step, so that the target
    // is never missing or half written. Throws RingtalError.
    static void putInPlace(const QString &from, const QString &to);
};
