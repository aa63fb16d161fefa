#pragma once

#include <QFont>

// The font of the printed title line, from the settings entry "Titelzeile".
// Without a stored entry it is a new font object with its defaults.
QFont titleLineFont();
