#include "window_input.h"

namespace window_input {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {

struct Search {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    if (ClassOf(window) == search->className && IsWindowVisible(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

void PressKey(HWND window, UINT virtualKey, bool alt) {
    UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    // Repeat count 1, the scan code, bit 29 for Alt, bits 30-31 for a release.
    LPARAM press = static_cast<LPARAM>(1u | (scan << 16) | (alt ? 1u << 29 : 0u));
    LPARAM release = press | static_cast<LPARAM>(3u << 30);
    PostMessageW(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, press);
    PostMessageW(window, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, release);
}

void Type(HWND window, const std::wstring& text) {
    for (wchar_t character : text) {
        PostMessageW(window, WM_CHAR, character, 1);
    }
}

void Click(HWND window, UINT down, POINT point, WPARAM keys) {
    WPARAM button = down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON;
    LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageW(window, down, keys | button, at);
    PostMessageW(window, down + 1, keys, at); // the matching WM_xBUTTONUP
}

std::vector<HWND> ThreadWindows(DWORD threadId, const char* className) {
    Search search = {className, {}};
    EnumThreadWindows(threadId, Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Highlighted(HMENU menu, int position) {
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE) != 0;
}

void CancelDialogs(DWORD threadId) {
    for (HWND dialog : ThreadWindows(threadId, "#32770")) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &copied);
    return text;
}

} // namespace window_input
