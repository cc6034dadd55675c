#include "modal_dialog.h"

namespace modal_dialog {

namespace {

BOOL CALLBACK CollectBoxParts(HWND window, LPARAM param) {
    ShownBox& box = *reinterpret_cast<ShownBox*>(param);
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    std::string text = Text(window);
    if (ClassOf(window) == "Button") {
        box.buttons.push_back(text);
    } else if (ClassOf(window) == "Static" && !text.empty() &&
               (GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
        box.text += box.text.empty() ? text : "\n" + text;
    }
    return TRUE;
}

} // namespace

HostThread::HostThread(std::function<void(HWND)> show, HMENU ownerMenu)
    : show_(std::move(show)), ownerMenu_(ownerMenu),
      ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, &id_));
    WaitForSingleObject(ready_.get(), 5000);
}

DWORD WINAPI HostThread::Run(void* self) {
    HostThread* host = static_cast<HostThread*>(self);
    host->owner_ =
        CreateWindowExA(0, "STATIC", "QvVorn test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                        640, 480, nullptr, host->ownerMenu_, nullptr, nullptr);
    SetEvent(host->ready_.get());
    host->show_(host->owner_);
    DestroyWindow(host->owner_);
    return 0;
}

bool HostThread::Finished(DWORD timeoutMs) {
    return !thread_ || WaitForSingleObject(thread_.get(), timeoutMs) == WAIT_OBJECT_0;
}

HostThread::~HostThread() {
    // A test that failed half way leaves its dialogs open: close them, the
    // innermost first, until the thread is done.
    for (int round = 0; round < 50 && !Finished(0); ++round) {
        window_input::CancelDialogs(id_);
        Finished(100);
    }
}

HWND WaitForDialog(DWORD threadId, HWND owner, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND dialog : window_input::ThreadWindows(threadId, "#32770")) {
                if (GetWindow(dialog, GW_OWNER) == owner && IsWindowEnabled(dialog)) {
                    found = dialog;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

bool WaitGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([window] { return !IsWindow(window); }, timeoutMs);
}

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ClickArrow(HWND upDown, bool up) {
    RECT client = {};
    GetClientRect(upDown, &client);
    window_input::Click(upDown, WM_LBUTTONDOWN,
                        {client.right / 2, client.bottom * (up ? 1 : 3) / 4});
}

ShownBox ReadMessageBox(HWND box) {
    ShownBox read;
    read.title = Text(box);
    EnumChildWindows(box, CollectBoxParts, reinterpret_cast<LPARAM>(&read));
    return read;
}

} // namespace modal_dialog
