// Owner of a popup menu that no other menu holds yet: destroyed with the
// owner unless handed over to a menu that then owns it.
#pragma once

#include <windows.h>

#include "common/owned_handle.h"

void DestroyOwnedPopup(HMENU menu) noexcept;
using OwnedMenu = OwnedHandle<HMENU, DestroyOwnedPopup>;

// A new empty popup menu; holds none when the system gives none.
OwnedMenu CreateOwnedPopup() noexcept;
// Hands the menu over, once another menu holds it.
HMENU HandOver(OwnedMenu& popup) noexcept;
