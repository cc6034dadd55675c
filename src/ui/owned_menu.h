// Owner of a popup menu that no other menu holds yet: destroyed with the
// owner unless released into a menu that then owns it.
#pragma once

#include <windows.h>

class OwnedMenu {
  public:
    // A new empty popup menu; holds none when the system gives none.
    static OwnedMenu CreatePopup() noexcept;

    OwnedMenu() noexcept = default;
    OwnedMenu(OwnedMenu&& other) noexcept : menu_(other.menu_) { other.menu_ = nullptr; }
    OwnedMenu(const OwnedMenu&) = delete;
    OwnedMenu& operator=(const OwnedMenu&) = delete;
    OwnedMenu& operator=(OwnedMenu&&) = delete;
    ~OwnedMenu();

    HMENU get() const noexcept { return menu_; }
    explicit operator bool() const noexcept { return menu_ != nullptr; }
    // Hands the menu over, once another menu holds it.
    HMENU Release() noexcept;

  private:
    explicit OwnedMenu(HMENU menu) noexcept : menu_(menu) {}

    HMENU menu_ = nullptr;
};
