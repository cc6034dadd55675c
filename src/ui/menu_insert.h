// How the plug-in adds items to the host's menus.
#pragma once

#include <windows.h>

// A position past the last item: InsertMenuA appends there.
constexpr UINT kAppend = 255;

// A host command id as a menu item id, widened without sign.
inline UINT_PTR MenuIdOf(int commandId) noexcept {
    return static_cast<UINT_PTR>(static_cast<unsigned>(commandId));
}

// An insertion counts as done only when InsertMenuA returns 1.
inline bool Inserted(BOOL result) noexcept {
    return result == 1;
}
