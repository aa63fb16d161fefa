#include "store/DataSource.h"

#include "store/Database.h"
#include "store/Recordset.h"

DataSource::DataSource(QObject *parent)
    : QObject(parent)
{
}

DataSource::~DataSource()
{
    // The recordset uses the database; it goes first.
    m_recordset.reset();
    m_database.reset();
}

void DataSource::refresh(DataSource *sibling)
{
    std::shared_ptr<Database> database = m_database;
    if (!database || database->path() != m_databaseName)
        database = Database::open(m_databaseName);
    if (m_recordset && m_database == database && m_recordset->sql() == m_recordSource
        && m_recordset->textOrder() == m_textOrder) {
        m_recordset->requery(sibling ? sibling->recordset() : nullptr);
        return;
    }
    std::unique_ptr<Recordset> recordset = database->openRecordset(m_recordSource, m_textOrder);
    std::unique_ptr<Recordset> previous = std::move(m_recordset);
    m_recordset = std::move(recordset);
    m_database = std::move(database);
    emit recordsetChanged(m_recordset.get());
    previous.reset();
}

void DataSource::close()
{
    if (!m_recordset && !m_database)
        return;
    std::unique_ptr<Recordset> previous = std::move(m_recordset);
    emit recordsetChanged(nullptr);
    previous.reset();
    m_database.reset();
}
