#include "widgets/UiDialogs.h"

#include <cassert>

namespace {
UiDialogs *g_dialogs = nullptr;
}

UiDialogs &UiDialogs::current()
{
    assert(g_dialogs && "no dialog seam installed");
    return *g_dialogs;
}

void UiDialogs::install(UiDialogs *dialogs)
{
    g_dialogs = dialogs;
}
