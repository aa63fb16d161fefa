#pragma once

#include <QString>
#include <exception>
#include <functional>

class Recordset;

// The two delete commands of a window that lists shooters (the competition's
// entry grid, the master list). The user is asked first; what the window
// shows besides the rows is re-read by refresh after the rows are gone, and
// after a failure of deleting all of them, when part of them may be gone.
// A failure goes to report with what it means for the user.
namespace ShooterDeletion {

using Refresh = std::function<void()>;
using Report = std::function<void(const std::exception &failure, const QString &what)>;

// The current row, after "Soll der Schütze <name> wirklich gelöscht werden?".
void deleteCurrent(Recordset *rows, const Refresh &refresh, const Report &report);
// Every row, after "Sollen wirklich alle Schützen gelöscht werden?".
void deleteAll(Recordset *rows, const Refresh &refresh, const Report &report);

} // namespace ShooterDeletion
