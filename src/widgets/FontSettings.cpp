#include "widgets/FontSettings.h"

#include "settings/ColourValue.h"
#include "settings/FontEntry.h"
#include "settings/FontEntryReader.h"
#include "settings/SettingsStore.h"
#include "store/ErrorProtocol.h"

#include <QColor>
#include <QFont>
#include <QFontInfo>

namespace {

const QString General = QStringLiteral("Allgemein");

FontEntry entryOf(const QFont &font)
{
    FontEntry entry;
    entry.face = font.family();
    entry.size = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    entry.bold = font.bold();
    entry.italic = font.italic();
    entry.underline = font.underline();
    entry.strikeOut = font.strikeOut();
    return entry;
}

void apply(const FontEntry &entry, QFont &font)
{
    font.setFamily(entry.face);
    if (entry.size > 0)
        font.setPointSizeF(entry.size);
    font.setBold(entry.bold);
    font.setItalic(entry.italic);
    font.setUnderline(entry.underline);
    font.setStrikeOut(entry.strikeOut);
}

} // namespace

void SaveFont(const QString &name, const QFont &font)
{
    SettingsStore::write(General, QStringLiteral("Font-") + name, entryOf(font).toText());
}

void LoadFont(const QString &name, QFont &font)
{
    const QString text = SettingsStore::read(General, QStringLiteral("Font-") + name, QString());
    if (text.isEmpty())
        return;
    FontEntry entry = entryOf(font);
    FontEntryReader reader(text, entry);
    ErrorProtocol(QStringLiteral("Fehler beim Laden der Schriftarten Ergebnisse!")).run(reader.steps());
    // What the steps took before a failure stays applied, as after Abort.
    apply(entry, font);
}

QColor LoadColour(const QString &key, const QColor &fallback)
{
    const QString text = SettingsStore::read(General, key, QString());
    if (text.isEmpty())
        return fallback;
    const std::optional<qint32> value = ColourValue::fromText(text);
    const std::optional<ColourValue::Rgb> rgb = value ? ColourValue::toRgb(*value) : std::nullopt;
    return rgb ? QColor(rgb->red, rgb->green, rgb->blue) : fallback;
}

void SaveColour(const QString &key, const QColor &colour)
{
    SettingsStore::write(General, key,
                         ColourValue::toText(ColourValue::fromRgb(colour.red(), colour.green(), colour.blue())));
}
