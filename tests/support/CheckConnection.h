#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// Any database file read or prepared through a connection that lives only
// for one call, so that what the program wrote is read back independently
// of its own database layer.
namespace CheckConnection {

QList<QVariantMap> rows(const QString &path, const QString &sql, const QVariantList &values = {});
QVariant scalar(const QString &path, const QString &sql, const QVariantList &values = {});
void exec(const QString &path, const QString &sql, const QVariantList &values = {});

} // namespace CheckConnection
