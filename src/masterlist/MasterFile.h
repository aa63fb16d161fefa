#pragma once

#include <QString>

// Where the master list schuetzen.mdb is kept. The file ships in the
// program's folder and is used there while the program may write there. An
// installed program may not: then each user keeps a copy in the user's data
// folder, made once from the shipped file, so that the list can always be
// edited.
class MasterFile
{
public:
    static const QString FileName;

    MasterFile(QString programFolder, QString userDataFolder);
    // The executable's folder and the platform's data folder of the user.
    static MasterFile standard();

    QString shippedPath() const;
    QString userCopyPath() const;

    // The file to open, with the user's copy made first when it is needed.
    // Throws RingtalError when there is no list to open or the copy fails.
    QString resolve() const;

private:
    static bool writableInPlace(const QString &file);
    QString seedUserCopy() const;

    QString m_programFolder;
    QString m_userDataFolder;
};
