// One owner per kind of Windows handle: each frees its handle the one way
// that kind is freed, once, when the owner goes.
#pragma once

#include <windows.h>

#include <utility>

namespace win_handles {

template <typename Handle, typename Traits> class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Empty(); }
    // Gives the handle up without freeing it (to a new owner, or to Windows).
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    void Reset(Handle handle = Traits::Empty()) {
        if (handle_ != Traits::Empty()) {
            Traits::Free(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = Traits::Empty();
};

struct MenuTraits {
    static HMENU Empty() { return nullptr; }
    static void Free(HMENU menu) { DestroyMenu(menu); }
};
// A menu not (yet) attached to a window; submenus go with it.
using Menu = Owned<HMENU, MenuTraits>;

struct GdiObjectTraits {
    static HGDIOBJ Empty() { return nullptr; }
    static void Free(HGDIOBJ object) { DeleteObject(object); }
};
// A font, bitmap, brush or pen; it must not be selected into a DC when it goes.
using GdiObject = Owned<HGDIOBJ, GdiObjectTraits>;

struct MemoryDcTraits {
    static HDC Empty() { return nullptr; }
    static void Free(HDC dc) { DeleteDC(dc); }
};
// A DC from CreateCompatibleDC.
using MemoryDc = Owned<HDC, MemoryDcTraits>;

struct KernelTraits {
    static HANDLE Empty() { return nullptr; }
    static void Free(HANDLE handle) { CloseHandle(handle); }
};
// A thread, process or event handle.
using KernelHandle = Owned<HANDLE, KernelTraits>;

// The DC of a window (or of the screen) from GetDC, released to that window.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects `object` into `dc` for the owner's lifetime, then puts back what was there.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace win_handles
