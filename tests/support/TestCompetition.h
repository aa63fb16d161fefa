#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// A competition file for one test: a copy of the built template in a
// temporary folder, filled and checked through a connection of its own, so
// that what the program wrote is read back independently of it.
class TestCompetition
{
public:
    // The file name may start with folders below the temporary folder ("Jürgen Mayer/liga.wkd").
    explicit TestCompetition(const QString &fileName = QStringLiteral("wettkampf.wkd"));
    ~TestCompetition();

    const QString &path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // The template and master files next to the test executables.
    static QString templatePath();
    static QString masterPath();

    void exec(const QString &sql, const QVariantList &values = {}) const;
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;
    QList<QVariantMap> rows(const QString &sql, const QVariantList &values = {}) const;

    void setTitle(const QString &title) const;
    // A result row; rings and the key may be left out (Null).
    void addResult(int startNr, const QString &name, const QString &club, const QVariant &serie = {},
                   const QString &key = QString(), const QVariantList &rings = {}) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Points the program's settings store at a temporary folder for one test.
class TempSettings
{
public:
    TempSettings();
    ~TempSettings();

    QString read(const QString &section, const QString &key) const;
    bool contains(const QString &section, const QString &key) const;
    void write(const QString &section, const QString &key, const QString &value) const;

private:
    QTemporaryDir m_dir;
};
