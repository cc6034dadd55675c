#include "ui/owned_menu.h"

#include "common/resource_counts.h"

void DestroyOwnedPopup(HMENU menu) noexcept {
    DestroyMenu(menu);
    CountGiven(Resource::OwnedPopup);
}

OwnedMenu CreateOwnedPopup() noexcept {
    HMENU menu = CreatePopupMenu();
    if (menu != nullptr) {
        CountTaken(Resource::OwnedPopup);
    }
    return OwnedMenu(menu);
}

HMENU HandOver(OwnedMenu& popup) noexcept {
    if (popup) {
        CountGiven(Resource::OwnedPopup);
    }
    return popup.Release();
}
