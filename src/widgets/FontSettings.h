#pragma once

#include <QString>

class QColor;
class QFont;

// Fonts and text colours in the settings store (section "Allgemein"):
// "Font-" + name holds the font entry, colours are kept as colour values.

// Writes the font entry of the font to "Font-" + name.
void SaveFont(const QString &name, const QFont &font);
// Applies a stored font entry to the font, step by step under the error
// protocol ("Fehler beim Laden der Schriftarten Ergebnisse!"); nothing stored
// leaves the font as it is.
void LoadFont(const QString &name, QFont &font);

// A stored colour value, or the fallback when none is stored or the stored
// text is no colour the screen can show.
QColor LoadColour(const QString &key, const QColor &fallback);
void SaveColour(const QString &key, const QColor &colour);
