#pragma once

#include <QString>

// The per-user settings store: application "Ringtal", sections and keys,
// every value a text. Nothing is cached: each read goes to the store, each
// write is written at once.
namespace SettingsStore {

QString read(const QString &section, const QString &key, const QString &defaultValue);
void write(const QString &section, const QString &key, const QString &value);

} // namespace SettingsStore
