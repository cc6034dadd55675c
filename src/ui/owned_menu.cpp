#include "ui/owned_menu.h"

#include "common/resource_counts.h"

OwnedMenu OwnedMenu::CreatePopup() noexcept {
    HMENU menu = CreatePopupMenu();
    if (menu != nullptr) {
        CountTaken(Resource::OwnedPopup);
    }
    return OwnedMenu(menu);
}

OwnedMenu::~OwnedMenu() {
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
        CountGiven(Resource::OwnedPopup);
    }
}

HMENU OwnedMenu::Release() noexcept {
    HMENU menu = menu_;
    if (menu != nullptr) {
        CountGiven(Resource::OwnedPopup);
    }
    menu_ = nullptr;
    return menu;
}
