#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>

// A master list for one test: a program folder holding a copy of the built,
// empty schuetzen.mdb, and a per-user data folder that does not exist yet,
// both in one temporary folder. Files are filled and checked through
// connections of their own, so what the program wrote is read back
// independently of it.
class TestMasterList
{
public:
    TestMasterList();
    ~TestMasterList();

    QString root() const { return m_dir.path(); }
    QString programFolder() const;
    QString userFolder() const;
    // schuetzen.mdb in the program folder, and the per-user copy.
    QString path() const;
    QString userCopyPath() const;

    // A shooter written straight into a master file; a Null name or club stays Null.
    static void addShooter(const QString &file, const QVariant &name, const QVariant &club);
    void addShooter(const QVariant &name, const QVariant &club) const { addShooter(path(), name, club); }
    // The shooters of a master file as "name|club", in the order they were
    // stored (ID), Null shown as "(null)".
    static QStringList shooters(const QString &file);
    QStringList shooters() const { return shooters(path()); }

private:
    QTemporaryDir m_dir;
};
