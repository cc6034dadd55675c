// Our host as a console program: loads QvVorn.dll the way the mail client
// does, plays a short session (drops, the context menu, a pick, the main
// menu) and shows what the plug-in did, with the host's settings in the
// registry before and after.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "fake_host.h"
#include "host_settings.h"
#include "loaded_plugin.h"

namespace {

// The host's texts are code page 932; the terminal wants UTF-8.
std::string Utf8(const char* ansi) {
    if (ansi == nullptr) {
        return "(null)";
    }
    int units = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, &wide[0], units);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    out.resize(static_cast<size_t>(bytes) - 1);
    return out;
}

void PrintSettings(const char* when) {
    std::printf("%s\n  VornMax    %s\n  VornFolder %s\n", when,
                host_settings::Describe(L"VornMax").c_str(),
                host_settings::Describe(L"VornFolder").c_str());
}

bool Usable(const LoadedPlugin& plugin, const char* path) {
    if (!plugin.Loaded()) {
        std::printf("The host could not load %s (error %lu).\n", path, plugin.LoadError());
        return false;
    }
    if (!plugin.Usable()) {
        std::printf("%s lacks the plug-in exports.\n", path);
        return false;
    }
    return true;
}

void PrintMenu(HMENU menu, int depth) {
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char label[1024] = {};
        GetMenuStringA(menu, static_cast<UINT>(position), label, sizeof label, MF_BYPOSITION);
        std::printf("%*s", depth * 4 + 4, "");
        if (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) {
            std::printf("--------\n");
        } else if (HMENU submenu = GetSubMenu(menu, position)) {
            std::printf("[%s]\n", Utf8(label).c_str());
            PrintMenu(submenu, depth + 1);
        } else {
            UINT id = GetMenuItemID(menu, position);
            int state = fake_host::QueryState(static_cast<int>(id));
            std::printf("%-6u %s%s\n", id, Utf8(label).c_str(),
                        state == 1 ? "   <- the folder open now (state 1)" : "");
        }
    }
}

// The message list's right-click menu as the host makes it, with two items of its own.
HMENU ShowContextMenu(const LoadedPlugin& plugin) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 100, "\x95\xd4\x90\x4d(&R)"); // 返信(&R)
    AppendMenuA(menu, MF_STRING, 101, "\x8d\xed\x8f\x9c(&D)"); // 削除(&D)
    plugin.MenuInit(nullptr, menu, 1);
    std::printf("  The context menu (id, label):\n");
    PrintMenu(menu, 0);
    return menu;
}

void ShowPluginInfo(const LoadedPlugin& plugin) {
    char info[512];
    FillMemory(info, sizeof info, 0);
    plugin.PlugInInfo(info);
    std::printf("Plug-in information:\n  name        %s\n  vendor      %s\n  version     %s\n"
                "  description %s\n",
                Utf8(info).c_str(), Utf8(info + 80).c_str(), Utf8(info + 160).c_str(),
                Utf8(info + 240).c_str());
}

void Drop(const LoadedPlugin& plugin, const char* folder, int kind) {
    plugin.DragDrop(folder, kind);
    std::printf("  Mail dropped onto %s (drop kind %d)\n", Utf8(folder).c_str(), kind);
}

int PickFolder(HMENU contextMenu, int position) {
    HMENU submenu = GetSubMenu(contextMenu, 0);
    int id = static_cast<int>(GetMenuItemID(submenu, position));
    char label[256] = {};
    GetMenuStringA(submenu, static_cast<UINT>(position), label, sizeof label, MF_BYPOSITION);
    size_t movesBefore = fake_host::TheHost().moves.size();
    fake_host::InvokeCommand(id);
    std::printf("  The user picks \"%s\" (id %d)", Utf8(label).c_str(), id);
    if (fake_host::TheHost().moves.size() > movesBefore) {
        std::printf(": the host is asked to move the selected mail to %s\n",
                    Utf8(fake_host::TheHost().moves.back().c_str()).c_str());
    } else {
        std::printf(": it is the folder open now, nothing to move\n");
    }
    return id;
}

void ShowMainMenu(const LoadedPlugin& plugin) {
    static const char* const kMenus[] = {"\x83\x74\x83\x40\x83\x43\x83\x8b(&F)", // ファイル(&F)
                                         "\x95\xd2\x8f\x57(&E)",                 // 編集(&E)
                                         "\x95\x5c\x8e\xa6(&V)",                 // 表示(&V)
                                         "\x83\x81\x81\x5b\x83\x8b(&M)",         // メール(&M)
                                         "\x83\x63\x81\x5b\x83\x8b(&T)"};        // ツール(&T)
    HMENU bar = CreateMenu();
    for (const char* name : kMenus) {
        HMENU submenu = CreatePopupMenu();
        AppendMenuA(submenu, MF_STRING, 200,
                    "\x83\x49\x83\x76\x83\x56\x83\x87\x83\x93(&O)..."); // オプション(&O)...
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), name);
    }
    plugin.MenuInit(nullptr, bar, 0);
    std::printf("  The main window's menu bar, fifth menu:\n");
    HMENU tools = GetSubMenu(bar, 4);
    PrintMenu(tools, 0);
    DestroyMenu(bar);
}

// Folder ids are the host's own texts; the menu shows the host's display names.
void NameFolders() {
    fake_host::Host& host = fake_host::TheHost();
    host.displayNames["\\Inbox\\Work"] = std::string("\x8e\x64\x8e\x96");   // 仕事
    host.displayNames["\\Inbox\\Family"] = std::string("\x89\xc6\x91\xb0"); // 家族
    host.displayNames["\\Archive"] =
        std::string("\x83\x41\x81\x5b\x83\x4a\x83\x43\x83\x75"); // アーカイブ
    host.currentFolder = std::string("\\Inbox");
}

void Session(const LoadedPlugin& plugin) {
    fake_host::Host& host = fake_host::TheHost();
    NameFolders();

    ShowPluginInfo(plugin);
    std::printf("\nThe user drags mail onto two folders (and onto a third in a way the plug-in "
                "ignores):\n");
    Drop(plugin, "\\Inbox\\Work", 1);
    Drop(plugin, "\\Inbox\\Family", 2);
    Drop(plugin, "\\Trash", 0);

    std::printf("\nRight-click in the message list of \\Inbox:\n");
    HMENU menu = ShowContextMenu(plugin);
    PickFolder(menu, 1);
    DestroyMenu(menu);

    std::printf("\nThe user opens \\Inbox\\Work and right-clicks again:\n");
    host.currentFolder = std::string("\\Inbox\\Work");
    menu = ShowContextMenu(plugin);
    PickFolder(menu, 0);
    DestroyMenu(menu);

    std::printf("\nThe main window's menu is prepared:\n");
    ShowMainMenu(plugin);
}

int RunDemo(const char* path) {
    host_settings::DeleteKey();
    host_settings::CreateKey();
    host_settings::SetText(L"VornFolder", L"\\Archive");
    PrintSettings("The host's settings as a previous run left them:");

    std::printf("\n=== The host loads %s ===\n", path);
    {
        LoadedPlugin plugin(path);
        if (!Usable(plugin, path)) {
            return 1;
        }
        Session(plugin);
        std::printf("\n=== The host unloads the plug-in ===\n");
    }
    PrintSettings("The host's settings now:");

    std::printf("\n=== Next run: the list comes back ===\n");
    fake_host::ResetHost();
    NameFolders();
    LoadedPlugin plugin(path);
    if (!Usable(plugin, path)) {
        return 1;
    }
    DestroyMenu(ShowContextMenu(plugin));
    return 0;
}

} // namespace

// qvdemo.exe [path\to\QvVorn.dll]
int main(int argc, char** argv) {
    return RunDemo(argc > 1 ? argv[1] : "QvVorn.dll");
}
