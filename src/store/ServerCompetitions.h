#pragma once

#include "store/ServerLocation.h"

#include <QDateTime>
#include <QString>
#include <vector>

class Database;

// The competitions in a club's database: each one a schema of its own whose
// tables are made from the template file's tables (the same columns, in the
// same order; a table without an ID gets one, since the server has no row
// numbers of its own), listed in the table public.ringtal_wettkaempfe.
namespace ServerCompetitions {

struct Entry
{
    QString schema;
    QString name;
    QDateTime created;
};

// Newest first; none when no competition was ever made there. Throws RingtalError.
std::vector<Entry> list(const ServerLogin &login);

// A new competition named `name` with the template's tables, holding the
// rows of `rows` (the template itself for an empty one, or a competition
// file copied onto the server): fields matched by name, IDs kept. In one
// transaction: on a failure nothing of it is left on the server. Throws
// RingtalError (3022 when the name is taken).
ServerLocation create(const ServerLogin &login, const QString &name, Database &layout, Database &rows);

// Every row of every table of `rows` into `target`, a fresh copy of the
// template (a file, or a competition just made on a server), fields matched
// by name, IDs kept. The caller's transaction holds it.
void copyRows(Database &rows, Database &target, const QStringList &tables);

// The tables of a template file, in the order they were made.
QStringList tablesOf(Database &layout);

// The server competition as a competition file at `targetPath`, made from
// the template beside it and put in place only when complete.
void saveAsFile(Database &server, const QString &templatePath, const QString &targetPath);

} // namespace ServerCompetitions
