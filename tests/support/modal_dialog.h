// Drives modal dialogs as a person would, from the test's thread, while a
// second thread, standing for the host's, shows them and runs their loops.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace modal_dialog {

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
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    DWORD id_ = 0;
    HWND owner_ = nullptr;
};

// Polls `condition` until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// The visible, enabled dialog box of thread `threadId` owned by `owner`, once
// it shows; null when none does within `timeoutMs`.
HWND WaitForDialog(DWORD threadId, HWND owner, DWORD timeoutMs = 5000);
// True once `window` is gone.
bool WaitGone(HWND window, DWORD timeoutMs = 5000);

std::string ClassOf(HWND window);
std::string Text(HWND window);             // code page 932
std::string ItemText(HWND dialog, int id); // code page 932
void SetItemText(HWND dialog, int id, const std::string& text);
// Clicks a button; the click runs in the dialog's own loop.
void Click(HWND dialog, int id);
// Presses and releases a key in `window`, through the dialog's loop.
void PressKey(HWND window, UINT virtualKey);
// Clicks the upper or lower arrow of an up-down control.
void ClickArrow(HWND upDown, bool up);
// Clicks the close box of a window's caption.
void ClickCloseBox(HWND window);
// A message box as a person sees it. Found by the kinds of its windows, as
// Windows documents no ids inside it. Its icon is left out: Windows offers no
// documented way to read which one it shows.
struct ShownBox {
    std::string title;                // code page 932
    std::string text;                 // its lines of text, joined with "\n"
    std::vector<std::string> buttons; // the texts of the buttons it shows
};
ShownBox ReadMessageBox(HWND box);
// Closes a message box as its OK button does (IDOK is what MessageBox returns then).
void CloseWithOk(HWND box);

} // namespace modal_dialog
