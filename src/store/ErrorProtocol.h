#pragma once

#include "store/Dialogs.h"
#include "store/RingtalError.h"

#include <QString>
#include <functional>
#include <vector>

// The text of every failure the user is shown: "Fehler: " + number + " - " +
// description, then, when given, what it means on a line of its own.
QString failureText(const RingtalError &error, const QString &what = QString());

// The program's error for any failure: its own as it is, any other exception
// as an unexpected error with the exception's text.
RingtalError asRingtalError(const std::exception &failure);

// Tells the user of a failed command: a message box "Fehler" with an OK
// button and the failure text. Every window reports through here.
void reportFailure(const std::exception &failure, const QString &what = QString());

// Shows the standard error box for a failed operation: title "Fehler" unless
// another is given, first line "Fehler: " + number + " - " + description,
// second line the caller's message; buttons Abort (default), Retry, Ignore.
Dialogs::Answer ErrorBox(const RingtalError &error, const QString &message,
                         const QString &title = QString());

// Runs a command as its list of steps under the error protocol: when a step
// fails the error box is shown; Retry runs that step again, Ignore goes on
// with the next step, Abort ends the command. Steps already done stay done.
class ErrorProtocol
{
public:
    using Step = std::function<void()>;

    explicit ErrorProtocol(QString message);

    // Returns false when the user aborted, true when every step ran or was ignored.
    bool run(const std::vector<Step> &steps) const;
    // One step on its own, for steps that sit inside loops.
    bool runStep(const Step &step) const;

private:
    QString m_message;
};
