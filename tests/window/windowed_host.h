// The windowed host with the real QvVorn.dll, running on a thread of its own
// as the mail client's main thread, and what a person sees of it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "main_window.h"
#include "win_handles.h"
#include "window_input.h"

class WindowedHost {
  public:
    WindowedHost();  // returns once the main window shows (window() is null if it did not)
    ~WindowedHost(); // closes whatever still shows and waits for the thread
    WindowedHost(const WindowedHost&) = delete;
    WindowedHost& operator=(const WindowedHost&) = delete;

    HWND window() const { return window_; }
    DWORD threadId() const { return threadId_; }
    HWND tree() const { return GetDlgItem(window_, main_window::kFolderTree); }
    HWND list() const { return GetDlgItem(window_, main_window::kMessageList); }

    // Closes the main window as the user does and waits until the host has
    // unloaded the plug-in and ended; false if it does not.
    bool Close();

    // What the window shows.
    std::wstring Status() const;
    std::vector<std::wstring> Subjects() const; // the message list, top to bottom
    std::vector<int> SelectedRows() const;
    HTREEITEM Folder(const std::wstring& name) const;
    // Where `folder`'s label shows, in the tree's client coordinates.
    RECT LabelRect(HTREEITEM folder) const;
    // The windows that have the mouse buttons (the drag's) and the keys now, or null.
    HWND Capture() const { return InputState().hwndCapture; }
    HWND Focus() const { return InputState().hwndFocus; }
    HWND Active() const { return InputState().hwndActive; }
    // The menus open now, the top one first.
    std::vector<HWND> Menus() const { return window_input::ThreadWindows(threadId_, "#32768"); }

    // Input, as a person gives it.
    bool OpenFolder(const std::wstring& name); // a click on it in the tree
    // A point of message `row`, and one of the list below its last message.
    POINT MessagePoint(int row) const;
    POINT BelowMessages() const;
    // `key` pressed in the message list with Ctrl held, as the keyboard gives
    // it to the host's thread; Ctrl stays held until `done` holds or 5 s pass.
    bool PressWithCtrl(UINT key, const std::function<bool()>& done);
    // Drags message `row` onto folder `name`, with Ctrl held from the press when `copy`.
    bool DragMessage(int row, const std::wstring& name, bool copy);
    // The parts of such a drag: press on the message and start dragging; move
    // over the folder; let go there; each with `keys` held.
    bool StartDrag(int row, WPARAM keys = 0);
    HTREEITEM DragOver(const std::wstring& name, WPARAM keys);
    bool Drop(HTREEITEM folder, WPARAM keys);
    // The cursor the host's thread shows now.
    HCURSOR Cursor() const;

  private:
    static DWORD WINAPI Run(void* self);
    GUITHREADINFO InputState() const;
    POINT FolderPoint(HTREEITEM folder) const;

    win_handles::KernelHandle opened_;
    win_handles::KernelHandle thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    int exitCode_ = -1;
};

// Waits for `text` (or more after it) in the status bar.
bool WaitForStatus(const WindowedHost& host, const std::wstring& text);
// The label of item `position` of `menu`, code page 932 as the plug-in wrote it.
std::string Label(HMENU menu, int position);
