// One owner per kind of Windows handle: each frees its handle the one way
// that kind is freed, once, when the owner goes.
#pragma once

#include <windows.h>

#include "common/owned_handle.h"

namespace win_handles {

// How each kind of handle is freed.
struct FreeHandle {
    static void Menu(HMENU menu) { DestroyMenu(menu); }
    static void GdiObject(HGDIOBJ object) { DeleteObject(object); }
    static void MemoryDc(HDC dc) { DeleteDC(dc); }
    static void Kernel(HANDLE handle) { CloseHandle(handle); }
    static void RegistryKey(HKEY key) { RegCloseKey(key); }
    static void Accelerators(HACCEL table) { DestroyAcceleratorTable(table); }
    static void Cursor(HCURSOR cursor) { DestroyCursor(cursor); }
};

// A menu not (yet) attached to a window; submenus go with it.
using Menu = OwnedHandle<HMENU, FreeHandle::Menu>;
// A font, bitmap, brush or pen; it must not be selected into a DC when it goes.
using GdiObject = OwnedHandle<HGDIOBJ, FreeHandle::GdiObject>;
// A DC from CreateCompatibleDC.
using MemoryDc = OwnedHandle<HDC, FreeHandle::MemoryDc>;
// A thread, process or event handle.
using KernelHandle = OwnedHandle<HANDLE, FreeHandle::Kernel>;
// An open registry key.
using RegistryKey = OwnedHandle<HKEY, FreeHandle::RegistryKey>;
// An accelerator table from CreateAcceleratorTable.
using Accelerators = OwnedHandle<HACCEL, FreeHandle::Accelerators>;
// A cursor the program made (CreateCursor), not a shared one from LoadCursor.
using Cursor = OwnedHandle<HCURSOR, FreeHandle::Cursor>;

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
