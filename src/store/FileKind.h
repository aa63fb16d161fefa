#pragma once

#include "store/RingtalError.h"

#include <QString>

// Users name files in dialogs, on the command line and in the settings, and
// the path may lead to a named pipe, a socket or a device. Opening a named
// pipe waits for a writer for ever, and a device reads without end, so only
// regular files are opened; anything else counts as no file at all.
namespace FileKind {

// A regular file, or a link that leads to one.
bool isRegular(const QString &path);

// What stands at the path when it is something other than a regular file, as
// a German noun with its article ("eine benannte Pipe (FIFO)", "ein Ordner");
// empty for a regular file and for nothing at all.
QString describe(const QString &path);

// Error 75 for a path that leads to something other than a regular file.
RingtalError notRegular(const QString &path);

} // namespace FileKind
