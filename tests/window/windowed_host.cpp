#include "windowed_host.h"

#include <cstring>

using window_input::WaitUntil;

WindowedHost::WindowedHost() : opened_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, &threadId_));
    HANDLE either[] = {opened_.get(), thread_.get()};
    WaitForMultipleObjects(2, either, FALSE, 15000);
}

DWORD WINAPI WindowedHost::Run(void* self) {
    WindowedHost* host = static_cast<WindowedHost*>(self);
    host->exitCode_ = main_window::Run("QvVorn.dll", SW_SHOWNORMAL, [host](HWND window) {
        host->window_ = window;
        SetEvent(host->opened_.get());
    });
    return 0;
}

WindowedHost::~WindowedHost() {
    // A test that stopped half way leaves menus or dialogs open: close them,
    // the innermost first, then the window.
    for (int round = 0; round < 50 && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
         ++round) {
        for (HWND menu : Menus()) {
            window_input::PressKey(menu, VK_ESCAPE);
        }
        window_input::CancelDialogs(threadId_);
        PostMessageW(window_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_.get(), 100);
    }
}

bool WindowedHost::Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return WaitForSingleObject(thread_.get(), 10000) == WAIT_OBJECT_0 && exitCode_ == 0;
}

std::wstring WindowedHost::Status() const {
    return window_input::Text(GetDlgItem(window_, main_window::kStatusBar));
}

std::vector<std::wstring> WindowedHost::Subjects() const {
    std::vector<std::wstring> subjects;
    for (int row = 0; row < ListView_GetItemCount(list()); ++row) {
        wchar_t text[256] = {};
        LVITEMW item = {};
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(list(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        subjects.push_back(text);
    }
    return subjects;
}

namespace {

std::wstring ItemText(HWND tree, HTREEITEM item) {
    wchar_t text[128] = {};
    TVITEMW entry = {};
    entry.mask = TVIF_TEXT;
    entry.hItem = item;
    entry.pszText = text;
    entry.cchTextMax = 128;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    return text;
}

} // namespace

HTREEITEM WindowedHost::Folder(const std::wstring& name) const {
    // Every folder shows, so the visible items are all of them.
    for (HTREEITEM item = TreeView_GetRoot(tree()); item != nullptr;
         item = TreeView_GetNextVisible(tree(), item)) {
        if (ItemText(tree(), item) == name) {
            return item;
        }
    }
    return nullptr;
}

GUITHREADINFO WindowedHost::InputState() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info : GUITHREADINFO{};
}

RECT WindowedHost::LabelRect(HTREEITEM folder) const {
    RECT rect = {};
    std::memcpy(&rect, &folder, sizeof folder); // TVM_GETITEMRECT takes the item in the rect
    SendMessageW(tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

POINT WindowedHost::FolderPoint(HTREEITEM folder) const {
    RECT rect = LabelRect(folder);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT WindowedHost::MessagePoint(int row) const {
    RECT rect = {};
    ListView_GetItemRect(list(), row, &rect, LVIR_LABEL);
    return POINT{rect.left + 10, (rect.top + rect.bottom) / 2};
}

bool WindowedHost::OpenFolder(const std::wstring& name) {
    HTREEITEM folder = Folder(name);
    if (folder == nullptr) {
        return false;
    }
    window_input::Click(tree(), WM_LBUTTONDOWN, FolderPoint(folder));
    return WaitForStatus(*this, name + L":");
}

POINT WindowedHost::BelowMessages() const {
    POINT last = MessagePoint(ListView_GetItemCount(list()) - 1);
    return POINT{last.x, last.y + 60};
}

bool WindowedHost::PressWithCtrl(UINT key, const std::function<bool()>& done) {
    // Sharing the host thread's input state, this thread can hold Ctrl down
    // in it; posted keys do not change that state themselves.
    AttachThreadInput(GetCurrentThreadId(), threadId_, TRUE);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    window_input::PressKey(list(), key);
    bool result = WaitUntil(done);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    AttachThreadInput(GetCurrentThreadId(), threadId_, FALSE);
    return result;
}

bool WindowedHost::DragMessage(int row, const std::wstring& name, bool copy) {
    WPARAM keys = copy ? MK_CONTROL : 0;
    if (!StartDrag(row, keys)) {
        return false;
    }
    HTREEITEM folder = DragOver(name, keys);
    return folder != nullptr && Drop(folder, keys);
}

bool WindowedHost::StartDrag(int row, WPARAM keys) {
    // Press on the message and move past the drag threshold: the list starts
    // the drag, and the host takes the mouse for the rest of it.
    POINT start = MessagePoint(row);
    PostMessageW(list(), WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(start.x, start.y));
    PostMessageW(list(), WM_MOUSEMOVE, keys | MK_LBUTTON, MAKELPARAM(start.x + 40, start.y + 40));
    return WaitUntil([this] { return Capture() == window_; });
}

// The rest goes where Windows sends it: to the window holding the mouse.
HTREEITEM WindowedHost::DragOver(const std::wstring& name, WPARAM keys) {
    HTREEITEM folder = Folder(name);
    if (folder != nullptr) {
        POINT over = FolderPoint(folder);
        MapWindowPoints(tree(), window_, &over, 1);
        SendMessageW(window_, WM_MOUSEMOVE, keys | MK_LBUTTON, MAKELPARAM(over.x, over.y));
    }
    return folder;
}

bool WindowedHost::Drop(HTREEITEM folder, WPARAM keys) {
    POINT drop = FolderPoint(folder);
    MapWindowPoints(tree(), window_, &drop, 1);
    PostMessageW(window_, WM_LBUTTONUP, keys, MAKELPARAM(drop.x, drop.y));
    return WaitUntil([this] { return Capture() == nullptr; });
}

HCURSOR WindowedHost::Cursor() const {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

std::vector<int> WindowedHost::SelectedRows() const {
    std::vector<int> rows;
    int row = -1;
    while ((row = ListView_GetNextItem(list(), row, LVNI_SELECTED)) >= 0) {
        rows.push_back(row);
    }
    return rows;
}

bool WaitForStatus(const WindowedHost& host, const std::wstring& text) {
    return WaitUntil([&] { return host.Status().compare(0, text.size(), text) == 0; });
}

std::string Label(HMENU menu, int position) {
    char label[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), label, sizeof label, MF_BYPOSITION);
    return label;
}
