// Our host: the state behind the host functions that our host executables
// export. Tests and the demo script its answers and read its logs.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fake_host {

using CommandCallback = void(WINAPI*)(HWND window, DWORD param);
using StateCallback = int(WINAPI*)(DWORD first, DWORD param);

struct Command {
    std::string comment;
    int menuType = 0;
    CommandCallback callback = nullptr;
    int id = 0;                    // what QVA_RegisterCommand returned
    StateCallback state = nullptr; // set by QVA_RegisterUICallback
    int uiId = 0;                  // what QVA_RegisterUICallback returned
    int showing = -1;              // the menu type whose showing registered it; -1: none
};

// Command ids are WM_COMMAND's 16 bits: they run from the first to the last
// and then start again, skipping the ids still in use.
constexpr int kFirstCommandId = 40001;
constexpr int kLastCommandId = 0xFFFF;

struct Host {
    // Answers. A std::nullopt text is answered as a null pointer.
    std::optional<std::string> version = std::string("2.00.06");
    std::optional<std::string> currentFolder = std::string("");
    // Display names by folder text; a folder not listed shows as its own text.
    std::map<std::string, std::optional<std::string>> displayNames;
    int moveResult = 1;
    int nextCommandId = kFirstCommandId;
    int showing = -1; // the menu type being shown now, while the plug-in adds to it
    // Optional overrides, given the call's arguments; they replace the defaults.
    std::function<int(const std::string& comment, int menuType)> registerCommandResult;
    std::function<int(int commandId)> registerUiResult; // default: the id given
    std::function<int(const std::string& folder)> moveResultFor;

    // What the plug-in did.
    std::vector<Command> commands;       // every QVA_RegisterCommand, in order
    std::vector<std::string> moves;      // every QVA_MoveSelectedMessages destination
    std::vector<std::string> calls;      // every host function called, by name
    std::vector<std::string> unexpected; // host functions the plug-in must never call
};

Host& TheHost();
void ResetHost();

// A new showing of menu `menuType` (0: the main window's menu, 1: the message
// list's right-click menu) begins: the commands registered for its earlier
// showing go, and their ids can be given again.
void NewShowing(int menuType);

// The registration whose menu id (the UI id, else the command id) is `id`.
const Command* FindCommand(int id);
// Picks the menu item `id`: calls its command callback as the host would.
bool InvokeCommand(int id, HWND window = nullptr, DWORD highBits = 0);
// Asks for the state of menu item `id`; -1 when it has no state callback.
int QueryState(int id, DWORD highBits = 0);

// Behind the exports.
const char* GetVersion();
int RegisterCommand(const char* comment, int menuType, CommandCallback callback);
int RegisterUICallback(int commandId, StateCallback callback);
const char* GetCurrentFolder();
const char* GetFolderDisplayName(const char* folder);
int MoveSelectedMessages(const char* folder, int reserved);
void LogUnexpected(const char* name);

} // namespace fake_host
