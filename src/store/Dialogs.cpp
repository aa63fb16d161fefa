#include "store/Dialogs.h"

#include <cassert>

namespace {
Dialogs *g_dialogs = nullptr;
}

Dialogs &Dialogs::current()
{
    assert(g_dialogs && "no dialog seam installed");
    return *g_dialogs;
}

void Dialogs::install(Dialogs *dialogs)
{
    g_dialogs = dialogs;
}
