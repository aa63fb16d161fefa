#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <vector>

// A database file in the Access (Jet) format of earlier versions of the
// program, opened for reading only. Competitions and master lists kept in
// that format are taken over from it; nothing is ever written to it.
class AccessFile
{
public:
    // The rows of one table in the order the file keeps them. Whole numbers
    // come as qint64, floating-point numbers as double (bit for bit), texts as
    // QString; Null and the empty text both come as Null, since the library
    // cannot tell them apart.
    struct Table
    {
        QStringList fieldNames;
        std::vector<QVector<QVariant>> rows;

        // The index of a field, compared without regard to case as Access
        // does; -1 when there is none.
        int fieldIndex(const QString &name) const;
    };

    // True when the file starts with the header of an Access (Jet or ACE)
    // database. Nothing is reported; an unreadable file gives false.
    static bool hasAccessHeader(const QString &path);

    // Throws RingtalError when the file is missing, unreadable, cut short or
    // no Access database.
    explicit AccessFile(const QString &path);
    ~AccessFile();
    AccessFile(const AccessFile &) = delete;
    AccessFile &operator=(const AccessFile &) = delete;

    const QString &path() const { return m_path; }
    bool hasTable(const QString &name) const;
    // Throws RingtalError: 3078 when the table is missing, 3343 when its
    // rows cannot all be read.
    Table readTable(const QString &name) const;

private:
    struct Handle;

    [[noreturn]] void raiseDamaged(const QString &detail) const;
    void checkSize() const;

    QString m_path;
    std::unique_ptr<Handle> m_handle;
};
