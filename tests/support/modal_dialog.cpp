#include "modal_dialog.h"

#include <vector>

namespace modal_dialog {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {

struct DialogSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    if (ClassOf(window) == "#32770" && GetWindow(window, GW_OWNER) == search->owner &&
        IsWindowVisible(window) && IsWindowEnabled(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectDialogs(HWND window, LPARAM param) {
    if (ClassOf(window) == "#32770") {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    }
    return TRUE;
}

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
    : show_(std::move(show)), ownerMenu_(ownerMenu) {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &id_);
    WaitForSingleObject(ready_, 5000);
}

DWORD WINAPI HostThread::Run(void* self) {
    HostThread* host = static_cast<HostThread*>(self);
    host->owner_ =
        CreateWindowExA(0, "STATIC", "QvVorn test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                        640, 480, nullptr, host->ownerMenu_, nullptr, nullptr);
    SetEvent(host->ready_);
    host->show_(host->owner_);
    DestroyWindow(host->owner_);
    return 0;
}

bool HostThread::Finished(DWORD timeoutMs) {
    return thread_ == nullptr || WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0;
}

HostThread::~HostThread() {
    // A test that failed half way leaves its dialogs open: close them, the
    // innermost first, until the thread is done.
    for (int round = 0; round < 50 && !Finished(0); ++round) {
        std::vector<HWND> dialogs;
        EnumThreadWindows(id_, CollectDialogs, reinterpret_cast<LPARAM>(&dialogs));
        for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
            PostMessageA(*it, WM_COMMAND, IDCANCEL, 0);
        }
        Finished(100);
    }
    if (thread_ != nullptr) {
        CloseHandle(thread_);
    }
    CloseHandle(ready_);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(10);
    }
}

HWND WaitForDialog(DWORD threadId, HWND owner, DWORD timeoutMs) {
    DialogSearch search = {owner, nullptr};
    WaitUntil(
        [&] {
            EnumThreadWindows(threadId, MatchDialog, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

bool WaitGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([window] { return !IsWindow(window); }, timeoutMs);
}

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ItemText(HWND dialog, int id) {
    return Text(GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::string& text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PressKey(HWND window, UINT virtualKey) {
    UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, virtualKey, static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageA(window, WM_KEYUP, virtualKey,
                 static_cast<LPARAM>(1 | (scan << 16) | (1u << 30) | (1u << 31)));
}

void ClickArrow(HWND upDown, bool up) {
    RECT client = {};
    GetClientRect(upDown, &client);
    int x = (client.right - client.left) / 2;
    int y = up ? client.bottom / 4 : client.bottom * 3 / 4;
    LPARAM at = MAKELPARAM(x, y);
    PostMessageA(upDown, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(upDown, WM_LBUTTONUP, 0, at);
}

void ClickCloseBox(HWND window) {
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

ShownBox ReadMessageBox(HWND box) {
    ShownBox read;
    read.title = Text(box);
    EnumChildWindows(box, CollectBoxParts, reinterpret_cast<LPARAM>(&read));
    return read;
}

void CloseWithOk(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

} // namespace modal_dialog
