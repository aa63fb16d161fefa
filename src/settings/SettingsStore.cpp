#include "settings/SettingsStore.h"

#include <QSettings>

namespace {

QSettings openStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ringtal"),
                     QStringLiteral("Ringtal"));
}

QString path(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

namespace SettingsStore {

QString read(const QString &section, const QString &key, const QString &defaultValue)
{
    const QVariant value = openStore().value(path(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void write(const QString &section, const QString &key, const QString &value)
{
    QSettings store = openStore();
    store.setValue(path(section, key), value);
    store.sync();
}

} // namespace SettingsStore
