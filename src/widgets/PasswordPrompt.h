#pragma once

#include "store/ServerLocation.h"

#include <functional>

// Runs `attempt`, which speaks to the server of `login`. When the server asks
// for a password it has not got, or refused the one given, the user is asked
// for it (kept for this run of the program only) and it is tried again, at
// most three times. False when the user cancelled; any other failure, and the
// refusal after the last try, goes on to the caller.
bool withPassword(const ServerLogin &login, const std::function<void()> &attempt);
