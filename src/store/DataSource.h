#pragma once

#include "store/TextOrder.h"

#include <QObject>
#include <QString>
#include <memory>

class Database;
class Recordset;

// A path and a query that a grid is bound to. Refresh (re)opens the file and
// runs the query; the bound grid follows. A refresh that fails leaves the
// rows of the previous refresh in place.
class DataSource : public QObject
{
    Q_OBJECT

public:
    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    void setDatabaseName(const QString &path) { m_databaseName = path; }
    const QString &databaseName() const { return m_databaseName; }
    void setRecordSource(const QString &sql) { m_recordSource = sql; }
    const QString &recordSource() const { return m_recordSource; }
    // How the query's "order by" compares texts from the next refresh on.
    void setTextOrder(TextOrder order) { m_textOrder = order; }
    TextOrder textOrder() const { return m_textOrder; }

    // Throws RingtalError. A sibling source on the same file and query may lend
    // its rows instead of a second read when they are provably current.
    void refresh(DataSource *sibling = nullptr);
    // Releases the file, e.g. before it is deleted and created anew.
    void close();

    bool isOpen() const { return m_recordset != nullptr; }
    // Null while nothing is open.
    Recordset *recordset() const { return m_recordset.get(); }
    std::shared_ptr<Database> database() const { return m_database; }

signals:
    // The recordset was replaced (or released: then it is null).
    void recordsetChanged(Recordset *recordset);

private:
    QString m_databaseName;
    QString m_recordSource;
    TextOrder m_textOrder = TextOrder::Exact;
    std::shared_ptr<Database> m_database;
    std::unique_ptr<Recordset> m_recordset;
};
