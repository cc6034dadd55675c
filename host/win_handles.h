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
    explicit operator bool() const { return handle_ != Handle(); }
    // Gives the handle up without freeing it (to a new owner, or to Windows).
    Handle Release() { return std::exchange(handle_, Handle()); }
    void Reset(Handle handle = Handle()) {
        if (handle_ != Handle()) {
            Traits::Free(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = Handle();
};

struct MenuTraits {
    static void Free(HMENU menu) { DestroyMenu(menu); }
};
// A menu not (yet) attached to a window; submenus go with it.
using Menu = Owned<HMENU, MenuTraits>;

struct GdiObjectTraits {
    static void Free(HGDIOBJ object) { DeleteObject(object); }
};
// A font, bitmap, brush or pen; it must not be selected into a DC when it goes.
using GdiObject = Owned<HGDIOBJ, GdiObjectTraits>;

struct MemoryDcTraits {
    static void Free(HDC dc) { DeleteDC(dc); }
};
// A DC from CreateCompatibleDC.
using MemoryDc = Owned<HDC, MemoryDcTraits>;

struct KernelTraits {
    static void Free(HANDLE handle) { CloseHandle(handle); }
};
// A thread, process or event handle.
using KernelHandle = Owned<HANDLE, KernelTraits>;

struct RegistryKeyTraits {
    static void Free(HKEY key) { RegCloseKey(key); }
};
// An open registry key.
using RegistryKey = Owned<HKEY, RegistryKeyTraits>;

struct AcceleratorsTraits {
    static void Free(HACCEL table) { DestroyAcceleratorTable(table); }
};
// An accelerator table from CreateAcceleratorTable.
using Accelerators = Owned<HACCEL, AcceleratorsTraits>;

struct CursorTraits {
    static void Free(HCURSOR cursor) { DestroyCursor(cursor); }
};
// A cursor the program made (CreateCursor), not a shared one from LoadCursor.
using Cursor = Owned<HCURSOR, CursorTraits>;

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
