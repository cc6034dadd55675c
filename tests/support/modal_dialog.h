// Drives modal dialogs as a person would, from the test's thread, while a
// second thread, standing for the host's, shows them and runs their loops.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win_handles.h"
#include "window_input.h"

namespace modal_dialog {

// A dialog's class, keys and waits, as for any window.
using window_input::ClassOf;
using window_input::PressKey;
using window_input::WaitUntil;

// Runs `show(owner)` on a thread of its own, with a visible owner window made
// on that thread. Waits for the thread when destroyed, closing anything it
// still shows.
class HostThread {
  public:
    explicit HostThread(std::function<void(HWND owner)> show, HMENU ownerMenu = nullptr);
    ~HostThread();
    HostThread(const HostThread&) = delete;
    HostThread& operator=(const HostThread&) = delete;

    HWND owner() const { return owner_; }
    DWORD id() const { return id_; }
    // True once `show` has returned (waits up to `timeoutMs`).
    bool Finished(DWORD timeoutMs = 5000);

  private:
    static DWORD WINAPI Run(void* self);

    std::function<void(HWND)> show_;
    HMENU ownerMenu_;
    win_handles::KernelHandle ready_;
    win_handles::KernelHandle thread_;
    DWORD id_ = 0;
    HWND owner_ = nullptr;
};

// The visible, enabled dialog box of thread `threadId` owned by `owner`, once
// it shows; null when none does within `timeoutMs`.
HWND WaitForDialog(DWORD threadId, HWND owner, DWORD timeoutMs = 5000);
bool WaitGone(HWND window, DWORD timeoutMs = 5000);

std::string Text(HWND window); // code page 932
// Clicks a button; the click runs in the dialog's own loop.
void Click(HWND dialog, int id);
// Clicks the upper or lower arrow of an up-down control.
void ClickArrow(HWND upDown, bool up);
// A message box as a person sees it. Found by the kinds of its windows, as
// Windows documents no ids inside it. Its icon is left out: Windows offers no
// documented way to read which one it shows.
struct ShownBox {
    std::string title;                // code page 932
    std::string text;                 // its lines of text, joined with "\n"
    std::vector<std::string> buttons; // the texts of the buttons it shows
};
ShownBox ReadMessageBox(HWND box);

} // namespace modal_dialog
