#pragma once

#include "store/Database.h"

// A competition file (SQLite). Opening never creates a file: a path that
// vanished is an error, not a new empty competition. Files are opened
// defensively because users pick them: no trusted schema, defensive mode, a
// busy timeout for a second program holding the file.
class FileDatabase : public Database
{
public:
    ~FileDatabase() override;

    // Throws RingtalError when the file is missing, unreadable or no database.
    static std::shared_ptr<Database> open(const QString &path);

    using Database::readAll;
    QString collation(TextOrder order) const override;
    Rows readAll(const QString &sql) override;
    void execute(const QString &sql, const QVector<QVariant> &values) override;
    qint64 dataVersion() override;
    [[noreturn]] void raise(const QSqlError &error) const override;
    QHash<QString, QString> declaredTypes(const QString &table) override;
    FileState fileState() const override;
    bool isReadOnly() const override;
    void requireWritable() const override;
    void lockForWriting(const QString &table) override;
    Inserted insert(const QString &table, const QStringList &columns, const QVector<QVariant> &values,
                    const QString &idColumn) override;

private:
    explicit FileDatabase(QString path);
    void connect();
    void applyDefensiveSettings();
    void rememberFile();
    // Throws when a failed write was caused by what became of the file.
    void raiseFileChanged() const;
    void registerCollations();
    void *statement(const QString &sql);
    void bind(void *statement, const QVector<QVariant> &values);
    Rows readAllWithSqlite(const QString &sql);
    [[noreturn]] void raiseSqlite(int code);
    int extendedCode(const QSqlError &error) const;

    QHash<QString, void *> m_statements;
    void *m_sqlite = nullptr; // the driver's own handle, for reading rows fast
    // Device and inode of the file as opened.
    quint64 m_device = 0;
    quint64 m_inode = 0;
};
