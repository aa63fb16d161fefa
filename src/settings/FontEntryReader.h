#pragma once

#include "settings/FontEntry.h"

#include <QString>
#include <functional>
#include <vector>

// Reads a stored font entry into a font, one step at a time, so that the
// window can run the steps under the error protocol ("Fehler beim Laden der
// Schriftarten Ergebnisse!"): each cut of a field and each assignment is a
// step of its own that may throw a RingtalError, and a failed step leaves the
// target as it was. Retry runs a step again, Ignore goes on with the next,
// and whatever the steps before an Abort assigned stays in the target.
//
// The steps keep the text still to be read between them and write into the
// target, so reader and target must outlive the run of the steps.
class FontEntryReader
{
public:
    using Step = std::function<void()>;

    FontEntryReader(QString text, FontEntry &target);
    FontEntryReader(const FontEntryReader &) = delete;
    FontEntryReader &operator=(const FontEntryReader &) = delete;

    // The sixteen steps in order; none for an empty text, which leaves the
    // font as it is.
    std::vector<Step> steps();

private:
    Step findSeparator();
    Step cutField(const std::function<void(const QString &)> &assign, const QString &fieldName);
    Step dropField();
    Step assignFlag(bool FontEntry::*flag, const QString &flagName);

    QString m_rest;
    int m_separator = -1;
    FontEntry &m_target;
};
