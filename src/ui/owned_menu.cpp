#include "ui/owned_menu.h"

#include "common/resource_counts.h"

OwnedMenu OwnedMenu::CreatePopup() noexcept {
    HMENU menu = CreatePopupMenu();
    if (menu != nullptr) {
        InterlockedIncrement(&LiveResources().ownedPopups);
    }
    return OwnedMenu(menu);
}

OwnedMenu::~OwnedMenu() {
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
        InterlockedDecrement(&LiveResources().ownedPopups);
    }
}

HMENU OwnedMenu::Release() noexcept {
    HMENU menu = menu_;
    if (menu != nullptr) {
        InterlockedDecrement(&LiveResources().ownedPopups);
    }
    menu_ = nullptr;
    return menu;
}
