// Pictures of the windowed host with the plug-in at work: starts qvhost.exe,
// uses it as a person would (keys and clicks posted to its windows) and saves
// what the screen shows at four moments as PNG files. A picture is saved only
// once it shows what it is taken for; a run that cannot get one fails.
//
// qvshots.exe path\to\qvhost.exe path\to\QvVorn.dll output\folder
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "main_window.h"
#include "cp932_text.h"
#include "picture_check.h"
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

// How long a scene may take to show what its picture must, how often it is
// set up again when it does not, and how many runs of the whole sequence a
// run makes before it fails.
const DWORD kPictureWaitMs = 4000;
const int kPictureTries = 3;
const int kAttempts = 2;

struct Failure {
    std::string what;
};

void Check(bool ok, const char* step) {
    if (!ok) {
        throw Failure{std::string("could not ") + step};
    }
}

// A history as an earlier session left it, most recent first: the move
// submenu shows one row for each.
const wchar_t* const kHistory[] = {L"\\Inbox\\Work", L"\\Inbox\\Family", L"\\Archive\\2023",
                                   L"\\Inbox\\Friends"};
const int kHistoryRows = sizeof kHistory / sizeof kHistory[0];

void SeedSettings() {
    std::wstring stored;
    for (const wchar_t* folder : kHistory) {
        stored += (stored.empty() ? L"" : L"*??*") + std::wstring(folder);
    }
    Check(settings_values::DeleteKey() && settings_values::CreateKey() &&
              settings_values::SetText(L"VornFolder", stored) &&
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
            // Its windows go with it, before another attempt opens new ones.
            WaitForSingleObject(process_.get(), 15000);
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
    // Until the host has handled all the input it was given and waits for
    // more. Wine hands a program the X events of its windows (a new window's
    // map and focus among them) when it waits; handled only once a menu has
    // opened, they raise the main window over that menu.
    bool WaitIdle() const { return WaitForInputIdle(process_.get(), 5000) == 0; }
    DWORD threadId() const { return threadId_; }
    HWND Child(main_window::Child id) const { return GetDlgItem(window_, id); }
    std::wstring Status() const { return window_input::Text(Child(main_window::kStatusBar)); }
    HWND Focus() const { return ThreadInfo().hwndFocus; }
    bool InMenuMode() const { return (ThreadInfo().flags & GUI_INMENUMODE) != 0; }
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
    GUITHREADINFO ThreadInfo() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(threadId_, &info);
        return info;
    }
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

// A window in a picture, what the failure message calls it, and what the
// picture must show of it.
struct Part {
    const char* name;
    HWND window;
    std::function<std::string(const picture_check::Shot&)> missing;
};

// The smallest rectangle around the parts' windows, with a margin.
RECT Around(const std::vector<Part>& parts) {
    RECT area = {};
    for (const Part& part : parts) {
        RECT rect = {};
        GetWindowRect(part.window, &rect);
        UnionRect(&area, &area, &rect);
    }
    InflateRect(&area, 8, 8);
    area.left = area.left < 0 ? 0 : area.left;
    area.top = area.top < 0 ? 0 : area.top;
    return area;
}

// What the first part that is not drawn as it must be lacks, or nothing.
std::string Missing(const std::vector<Part>& parts, const picture_check::Shot* shot) {
    for (const Part& part : parts) {
        if (!picture_check::Painted(part.window)) {
            return std::string(part.name) + ": it waits to be painted";
        }
        std::string missing = shot != nullptr ? part.missing(*shot) : std::string();
        if (!missing.empty()) {
            return std::string(part.name) + ": " + missing;
        }
    }
    return {};
}

// Written beside its place first, so that a failed write leaves the picture
// that was there.
bool SaveFile(const screen_pixels::Picture& picture, const std::wstring& path) {
    std::wstring written = path + L".new";
    if (png_file::Save(picture, written) &&
        MoveFileExW(written.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return true;
    }
    DeleteFileW(written.c_str());
    return false;
}

// Saves the picture of `parts` (the top window first) once it shows every
// part as it must and the screen has settled (two pictures in a row alike);
// otherwise, after kPictureWaitMs, answers what it lacks.
std::string SaveWhenShown(const std::vector<Part>& parts, const std::wstring& path) {
    RECT area = Around(parts);
    DWORD start = GetTickCount();
    screen_pixels::Picture last;
    for (;;) {
        std::string missing = Missing(parts, nullptr);
        if (missing.empty()) {
            screen_pixels::Picture now = screen_pixels::Take(area);
            picture_check::Shot shot(now, area);
            missing = Missing(parts, &shot);
            if (missing.empty() && now.pixels != last.pixels) {
                missing = "the screen is still changing";
            }
            if (missing.empty()) {
                Check(SaveFile(now, path), "save a picture");
                return {};
            }
            last = std::move(now);
        }
        if (GetTickCount() - start >= kPictureWaitMs) {
            return missing;
        }
        Sleep(100);
    }
}

// Takes picture `name` of the scene that `open` sets up and answers with
// its parts. A scene that does not show what it must is taken down with
// `undo` and set up anew: a window can come up under another one for good
// (Wine may raise the main window over a menu that opened before it).
void Photograph(const std::wstring& folder, const wchar_t* name,
                const std::function<std::vector<Part>()>& open, const std::function<void()>& undo) {
    std::string missing;
    for (int attempt = 1; attempt <= kPictureTries; ++attempt) {
        missing = SaveWhenShown(open(), folder + L"\\" + name);
        if (missing.empty()) {
            std::printf("saved %ls\n", name);
            return;
        }
        undo();
        std::fprintf(stderr, "qvshots: %ls, try %d of %d: %s\n", name, attempt, kPictureTries,
                     missing.c_str());
    }
    throw Failure{"could not take " + cp932_text::FromWide(name) + ": " + missing};
}

// A click, then a right-click, on the first message: just below the list's
// column headers. The first click puts the keyboard focus there, which the
// right-click would otherwise do while its menu opens, raising the main
// window over the menu.
void RightClickFirstMessage(const Host& host) {
    Check(host.WaitIdle(), "see the host wait for input");
    HWND list = host.Child(main_window::kMessageList);
    RECT header = {};
    GetWindowRect(FindWindowExW(list, nullptr, L"SysHeader32", nullptr), &header);
    POINT at = {header.left + 40, header.bottom + 6};
    ScreenToClient(list, &at);
    window_input::Click(list, WM_LBUTTONDOWN, at);
    Check(WaitUntil([&] { return host.Focus() == list; }) && host.WaitIdle(),
          "click the first message");
    window_input::Click(list, WM_RBUTTONDOWN, at);
}

// Escape, one press at a time, until no menu is open and the menu loop has
// ended: an Escape in a menu opened from the menu bar goes back to the bar,
// and a loop that has just hidden its last menu may still be ending.
void CloseMenus(const Host& host) {
    auto closed = [&] { return !host.InMenuMode() && host.Menus().empty(); };
    for (int press = 0; press < 6 && !closed(); ++press) {
        size_t open = host.Menus().size();
        if (open == 0 && WaitUntil(closed, 300)) {
            break;
        }
        window_input::PressKey(host.window(), VK_ESCAPE);
        WaitUntil([&] { return closed() || host.Menus().size() < open; }, 2000);
    }
    if (!closed()) {
        throw Failure{"could not close the menus: " + std::to_string(host.Menus().size()) +
                      " still open" + (host.InMenuMode() ? ", the menu loop still running" : "")};
    }
}

// The message list's menu with the move submenu open, 家族 highlighted and
// 仕事, the folder open now, greyed out.
void ContextMenu(const Host& host, const std::wstring& folder) {
    window_input::PressKey(host.Child(main_window::kFolderTree), VK_DOWN);
    Check(host.WaitStatus(kWorkOpen), "open the folder Work");
    auto open = [&host]() -> std::vector<Part> {
        RightClickFirstMessage(host);
        Check(host.WaitMenus(1), "open the context menu");
        HWND menu = host.Menus().front();
        window_input::PressKey(menu, VK_DOWN);
        window_input::PressKey(menu, VK_RIGHT);
        Check(host.WaitMenus(2), "open the move submenu");
        window_input::PressKey(menu, VK_DOWN);
        Check(host.WaitStatus(kMoveToFamily), "highlight Family");
        std::vector<HWND> menus = host.Menus();
        HWND submenu = menus.front() != menu ? menus.front() : menus.back();
        HWND window = host.window();
        // The host's rows under the plug-in's submenu and separator: 返信,
        // 転送, a separator, 削除.
        return {{"the move submenu", submenu,
                 [=](const picture_check::Shot& shot) {
                     return picture_check::PopupMenu(shot, submenu, {}, kHistoryRows, 1);
                 }},
                {"the context menu", menu,
                 [=](const picture_check::Shot& shot) {
                     return picture_check::PopupMenu(shot, menu, {submenu}, 6, 0);
                 }},
                {"the main window", window, [=](const picture_check::Shot& shot) {
                     return picture_check::CaptionedWindow(shot, window, {submenu, menu}, true);
                 }}};
    };
    Photograph(folder, L"context-menu.png", open, [&host] { CloseMenus(host); });
    CloseMenus(host);
}

// The fifth menu of the menu bar, opened with Alt+T, on the settings item.
HWND OpenFifthMenu(const Host& host) {
    Check(host.WaitIdle(), "see the host wait for input");
    window_input::PressKey(host.window(), 'T', true);
    Check(host.WaitMenus(1), "open the fifth menu");
    HWND menu = host.Menus().front();
    window_input::PressKey(menu, VK_DOWN);
    Check(host.WaitStatus(kSettingsComment), "highlight the settings item");
    return menu;
}

void MainMenu(const Host& host, const std::wstring& folder) {
    auto open = [&host]() -> std::vector<Part> {
        HWND menu = OpenFifthMenu(host);
        HWND window = host.window();
        // The host's オプション, then the separator and the item that the plug-in adds.
        return {{"the fifth menu", menu,
                 [=](const picture_check::Shot& shot) {
                     std::string missing = picture_check::PopupMenu(shot, menu, {}, 3, 2);
                     return missing.empty() ? picture_check::MenuBarItemOver(shot, menu) : missing;
                 }},
                {"the main window", window, [=](const picture_check::Shot& shot) {
                     return picture_check::CaptionedWindow(shot, window, {menu}, true);
                 }}};
    };
    Photograph(folder, L"main-menu.png", open, [&host] { CloseMenus(host); });
    CloseMenus(host);
}

// The settings dialog, chosen from that menu, then its warning for 31.
void SettingsDialog(const Host& host, const std::wstring& folder) {
    HWND window = host.window();
    HWND dialog = nullptr;
    auto openDialog = [&]() -> std::vector<Part> {
        window_input::PressKey(OpenFifthMenu(host), VK_RETURN);
        Check(host.WaitDialogs(1), "open the settings dialog");
        dialog = host.Dialogs().front();
        HWND shown = dialog;
        HWND edit = GetDlgItem(dialog, 1002);
        DWORD thread = host.threadId();
        // The number shows selected, the caret after it.
        return {{"the settings dialog", shown,
                 [=](const picture_check::Shot& shot) {
                     std::string missing = picture_check::CaptionedWindow(shot, shown, {}, true);
                     return missing.empty() ? picture_check::CaretIn(shot, thread, edit) : missing;
                 }},
                {"the main window", window, [=](const picture_check::Shot& shot) {
                     return picture_check::CaptionedWindow(shot, window, {shown}, false);
                 }}};
    };
    auto closeDialog = [&] {
        PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        Check(host.WaitDialogs(0), "close the settings dialog");
    };
    Photograph(folder, L"settings-dialog.png", openDialog, closeDialog);

    HWND box = nullptr;
    auto openWarning = [&]() -> std::vector<Part> {
        HWND edit = GetDlgItem(dialog, 1002);
        PostMessageW(edit, EM_SETSEL, 0, -1);
        window_input::Type(edit, L"31");
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        Check(host.WaitDialogs(2), "see the range warning");
        std::vector<HWND> dialogs = host.Dialogs();
        box = dialogs.front() != dialog ? dialogs.front() : dialogs.back();
        HWND shown = box;
        HWND under = dialog;
        return {{"the range warning", shown,
                 [=](const picture_check::Shot& shot) {
                     return picture_check::CaptionedWindow(shot, shown, {}, true);
                 }},
                {"the settings dialog", under,
                 [=](const picture_check::Shot& shot) {
                     return picture_check::CaptionedWindow(shot, under, {shown}, false);
                 }},
                {"the main window", window, [=](const picture_check::Shot& shot) {
                     return picture_check::CaptionedWindow(shot, window, {shown, under}, false);
                 }}};
    };
    auto closeWarning = [&] {
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        Check(host.WaitDialogs(1), "close the warning");
    };
    Photograph(folder, L"range-warning.png", openWarning, closeWarning);
    closeWarning();
    closeDialog();
}

// One run of the whole sequence; on failure `screen` holds the whole screen
// as it was, before the host goes.
std::string TakePictures(char** argv, const std::wstring& folder, screen_pixels::Picture& screen) {
    try {
        SeedSettings();
        Host host(argv[1], argv[2]);
        try {
            host.WaitForWindow();
            ContextMenu(host, folder);
            MainMenu(host, folder);
            SettingsDialog(host, folder);
            PostMessageW(host.window(), WM_CLOSE, 0, 0);
            Check(host.WaitExit() == 0, "close the host");
        } catch (const Failure&) {
            RECT all = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            screen = screen_pixels::Take(all);
            throw;
        }
    } catch (const Failure& failure) {
        return failure.what;
    }
    return {};
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
    std::wstring failurePicture = folder + L"\\failure.png";
    DeleteFileW(failurePicture.c_str()); // an earlier run's
    std::string failure;
    screen_pixels::Picture screen;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        failure = TakePictures(argv, folder, screen);
        if (failure.empty()) {
            return 0;
        }
        std::fprintf(stderr, "qvshots: run %d of %d: %s\n", attempt, kAttempts, failure.c_str());
    }
    png_file::Save(screen, failurePicture);
    std::fprintf(stderr, "qvshots: failed: %s (failure.png shows the screen)\n", failure.c_str());
    return 1;
}
