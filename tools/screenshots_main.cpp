// Pictures of the windowed host with the plug-in at work: starts qvhost.exe,
// uses it as a person would (keys and clicks posted to its windows) and saves
// what the screen shows at four moments as PNG files.
//
// qvshots.exe path\to\qvhost.exe path\to\QvVorn.dll output\folder
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "main_window.h"
#include "png_file.h"
#include "screen_pixels.h"
#include "settings_values.h"
#include "win_handles.h"
#include "window_input.h"

namespace {

using window_input::WaitUntil;

// What the status bar shows while the items of interest are highlighted.
const wchar_t kMoveToFamily[] = L"\x5bb6\x65cf \x306b\x79fb\x52d5"; // 家族 に移動
const wchar_t kSettingsComment[] = // フォルダ移動の設定をする
    L"\x30d5\x30a9\x30eb\x30c0\x79fb\x52d5\x306e\x8a2d\x5b9a\x3092\x3059\x308b";
const wchar_t kWorkOpen[] = L"\x4ed5\x4e8b:"; // 仕事: (the status of the open folder)

struct Failure {
    const char* step;
};

void Check(bool ok, const char* step) {
    if (!ok) {
        throw Failure{step};
    }
}

// A history as an earlier session left it, most recent first.
void SeedSettings() {
    Check(settings_values::DeleteKey() && settings_values::CreateKey() &&
              settings_values::SetText(L"VornFolder", L"\\Inbox\\Work*??*\\Inbox\\Family*??*"
                                                      L"\\Archive\\2023*??*\\Inbox\\Friends") &&
              settings_values::SetDword(L"VornMax", 10),
          "seed the settings");
}

class Host {
  public:
    Host(const std::string& host, const std::string& plugin) {
        std::string line = "\"" + host + "\" \"" + plugin + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        Check(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started) != FALSE,
              "start qvhost.exe");
        process_.Reset(started.hProcess);
        win_handles::KernelHandle thread(started.hThread);
        processId_ = started.dwProcessId;
    }
    ~Host() {
        if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 1);
        }
    }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    void WaitForWindow() {
        Check(WaitUntil([this] { return (window_ = FindMainWindow()) != nullptr; }, 15000),
              "see the main window");
        threadId_ = GetWindowThreadProcessId(window_, nullptr);
    }
    HWND window() const { return window_; }
    HWND Child(main_window::Child id) const { return GetDlgItem(window_, id); }
    std::wstring Status() const { return window_input::Text(Child(main_window::kStatusBar)); }
    HWND Focus() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
    }
    std::vector<HWND> Menus() const { return window_input::ThreadWindows(threadId_, "#32768"); }
    std::vector<HWND> Dialogs() const { return window_input::ThreadWindows(threadId_, "#32770"); }

    bool WaitStatus(const std::wstring& text) const {
        return WaitUntil([&] { return Status().compare(0, text.size(), text) == 0; });
    }
    bool WaitMenus(size_t count) const {
        return WaitUntil([&] { return Menus().size() == count; });
    }
    bool WaitDialogs(size_t count) const {
        return WaitUntil([&] { return Dialogs().size() == count; });
    }
    DWORD WaitExit() const {
        DWORD code = 1;
        if (WaitForSingleObject(process_.get(), 15000) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process_.get(), &code);
        }
        return code;
    }

  private:
    struct Search {
        DWORD processId;
        HWND found;
    };
    static BOOL CALLBACK Match(HWND window, LPARAM param) {
        Search* search = reinterpret_cast<Search*>(param);
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (processId == search->processId && lstrcmpW(name, main_window::kClassName) == 0 &&
            IsWindowVisible(window)) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }
    HWND FindMainWindow() const {
        Search search = {processId_, nullptr};
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    win_handles::KernelHandle process_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

// The smallest rectangle around `windows`, with a margin.
RECT Around(const std::vector<HWND>& windows) {
    RECT area = {};
    for (HWND window : windows) {
        RECT rect = {};
        GetWindowRect(window, &rect);
        UnionRect(&area, &area, &rect);
    }
    InflateRect(&area, 8, 8);
    area.left = area.left < 0 ? 0 : area.left;
    area.top = area.top < 0 ? 0 : area.top;
    return area;
}

void Save(const std::vector<HWND>& windows, const std::wstring& folder, const wchar_t* name) {
    std::wstring path = folder + L"\\" + name;
    Check(png_file::Save(screen_pixels::Settled(Around(windows)), path), "save a picture");
    std::printf("saved %ls\n", name);
}

std::vector<HWND> With(HWND window, std::vector<HWND> others) {
    others.insert(others.begin(), window);
    return others;
}

// A click, then a right-click, on the first message: just below the list's
// column headers. The first click puts the keyboard focus there, which the
// right-click would otherwise do while its menu opens, raising the main
// window over the menu.
void RightClickFirstMessage(const Host& host) {
    HWND list = host.Child(main_window::kMessageList);
    RECT header = {};
    GetWindowRect(FindWindowExW(list, nullptr, L"SysHeader32", nullptr), &header);
    POINT at = {header.left + 40, header.bottom + 6};
    ScreenToClient(list, &at);
    window_input::Click(list, WM_LBUTTONDOWN, at);
    Check(WaitUntil([&] { return host.Focus() == list; }), "click the first message");
    window_input::Click(list, WM_RBUTTONDOWN, at);
}

// The message list's menu with the move submenu open, 家族 highlighted and
// 仕事, the folder open now, greyed out.
void ContextMenu(const Host& host, const std::wstring& folder) {
    window_input::PressKey(host.Child(main_window::kFolderTree), VK_DOWN);
    Check(host.WaitStatus(kWorkOpen), "open the folder Work");
    RightClickFirstMessage(host);
    Check(host.WaitMenus(1), "open the context menu");
    HWND menu = host.Menus().front();
    window_input::PressKey(menu, VK_DOWN);
    window_input::PressKey(menu, VK_RIGHT);
    Check(host.WaitMenus(2), "open the move submenu");
    window_input::PressKey(menu, VK_DOWN);
    Check(host.WaitStatus(kMoveToFamily), "highlight Family");
    Save(With(host.window(), host.Menus()), folder, L"context-menu.png");
    window_input::PressKey(menu, VK_ESCAPE);
    window_input::PressKey(menu, VK_ESCAPE);
    Check(host.WaitMenus(0), "close the context menu");
}

// The fifth menu of the menu bar, opened with Alt+T, on the settings item.
void MainMenu(const Host& host, const std::wstring& folder) {
    window_input::PressKey(host.window(), 'T', true);
    Check(host.WaitMenus(1), "open the fifth menu");
    window_input::PressKey(host.Menus().front(), VK_DOWN);
    Check(host.WaitStatus(kSettingsComment), "highlight the settings item");
    Save(With(host.window(), host.Menus()), folder, L"main-menu.png");
}

// The settings dialog, chosen from that menu, then its warning for 31.
void SettingsDialog(const Host& host, const std::wstring& folder) {
    window_input::PressKey(host.Menus().front(), VK_RETURN);
    Check(host.WaitDialogs(1), "open the settings dialog");
    HWND dialog = host.Dialogs().front();
    Save({host.window(), dialog}, folder, L"settings-dialog.png");

    HWND edit = GetDlgItem(dialog, 1002);
    PostMessageW(edit, EM_SETSEL, 0, -1);
    window_input::Type(edit, L"31");
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    Check(host.WaitDialogs(2), "see the range warning");
    HWND box = host.Dialogs().front(); // the top one
    Save({host.window(), dialog, box}, folder, L"range-warning.png");

    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    Check(host.WaitDialogs(1), "close the warning");
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    Check(host.WaitDialogs(0), "close the settings dialog");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: qvshots.exe qvhost.exe QvVorn.dll output-folder\n");
        return 2;
    }
    int units = MultiByteToWideChar(CP_ACP, 0, argv[3], -1, nullptr, 0);
    std::wstring folder(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, argv[3], -1, &folder[0], units);
    folder.resize(static_cast<size_t>(units) - 1);
    try {
        SeedSettings();
        Host host(argv[1], argv[2]);
        host.WaitForWindow();
        ContextMenu(host, folder);
        MainMenu(host, folder);
        SettingsDialog(host, folder);
        PostMessageW(host.window(), WM_CLOSE, 0, 0);
        Check(host.WaitExit() == 0, "close the host");
    } catch (const Failure& failure) {
        // The whole screen as it was, to see what went wrong.
        RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        png_file::Save(screen_pixels::Take(screen), folder + L"\\failure.png");
        std::fprintf(stderr, "qvshots: could not %s (failure.png shows the screen)\n",
                     failure.step);
        return 1;
    }
    return 0;
}
