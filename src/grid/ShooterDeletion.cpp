#include "grid/ShooterDeletion.h"

#include "store/Dialogs.h"
#include "store/Recordset.h"
#include "store/tempModule.h"

namespace {

bool confirmed(const QString &question)
{
    return Dialogs::current().question(QStringLiteral("Hinweis"), question, Dialogs::Icon::Question)
           == Dialogs::Answer::Yes;
}

} // namespace

void ShooterDeletion::deleteCurrent(Recordset *rows, const Refresh &refresh, const Report &report)
{
    if (!rows || !rows->hasCurrent())
        return;
    const QString name = GetFieldValue(*rows, QStringLiteral("Schuetze")).toString();
    if (!confirmed(QStringLiteral("Soll der Schütze ") + name + QStringLiteral(" wirklich gelöscht werden?")))
        return;
    try {
        rows->deleteCurrent();
        refresh();
    } catch (const std::exception &failure) {
        report(failure, QStringLiteral("Der Schütze konnte nicht gelöscht werden."));
    }
}

void ShooterDeletion::deleteAll(Recordset *rows, const Refresh &refresh, const Report &report)
{
    if (!confirmed(QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?")) || !rows)
        return;
    try {
        rows->deleteAll();
        refresh();
    } catch (const std::exception &failure) {
        report(failure, QStringLiteral("Es konnten nicht alle Schützen gelöscht werden."));
        try {
            refresh();
        } catch (const std::exception &) {
            // The failure the user was told of is the one that counts.
        }
    }
}
