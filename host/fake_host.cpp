#include "fake_host.h"

#include <algorithm>

namespace fake_host {

namespace {

const char* TextOrNull(const std::optional<std::string>& text) {
    return text ? text->c_str() : nullptr;
}

// The next id that no live registration holds; 0 when every id is taken.
int TakeCommandId(Host& host) {
    for (int left = kLastCommandId - kFirstCommandId + 1; left > 0; --left) {
        int id = host.nextCommandId;
        host.nextCommandId = id >= kLastCommandId ? kFirstCommandId : id + 1;
        if (FindCommand(id) == nullptr) {
            return id;
        }
    }
    return 0;
}

} // namespace

Host& TheHost() {
    static Host host;
    return host;
}

void ResetHost() {
    TheHost() = Host();
}

void NewShowing(int menuType) {
    Host& host = TheHost();
    std::vector<Command>& commands = host.commands;
    commands.erase(std::remove_if(commands.begin(), commands.end(),
                                  [menuType](const Command& c) { return c.showing == menuType; }),
                   commands.end());
    host.showing = menuType;
}

const Command* FindCommand(int id) {
    const std::vector<Command>& commands = TheHost().commands;
    for (auto it = commands.rbegin(); it != commands.rend(); ++it) {
        int menuId = it->uiId != 0 ? it->uiId : it->id;
        if (menuId == id) {
            return &*it;
        }
    }
    return nullptr;
}

bool InvokeCommand(int id, HWND window, DWORD highBits) {
    const Command* command = FindCommand(id);
    if (command == nullptr || command->callback == nullptr) {
        return false;
    }
    // After QVA_RegisterUICallback the host knows the command by the menu id.
    command->callback(window, (highBits << 16) | static_cast<DWORD>(id & 0xFFFF));
    return true;
}

int QueryState(int id, DWORD highBits) {
    const Command* command = FindCommand(id);
    if (command == nullptr || command->state == nullptr) {
        return -1;
    }
    return command->state(0, (highBits << 16) | static_cast<DWORD>(id & 0xFFFF));
}

const char* GetVersion() {
    TheHost().calls.push_back("QVA_GetVersion");
    return TextOrNull(TheHost().version);
}

int RegisterCommand(const char* comment, int menuType, CommandCallback callback) {
    Host& host = TheHost();
    host.calls.push_back("QVA_RegisterCommand");
    Command command;
    command.comment = comment != nullptr ? comment : "";
    command.menuType = menuType;
    command.callback = callback;
    command.showing = host.showing;
    command.id = host.registerCommandResult ? host.registerCommandResult(command.comment, menuType)
                                            : TakeCommandId(host);
    host.commands.push_back(command);
    return command.id;
}

int RegisterUICallback(int commandId, StateCallback callback) {
    Host& host = TheHost();
    host.calls.push_back("QVA_RegisterUICallback");
    int result = host.registerUiResult ? host.registerUiResult(commandId) : commandId;
    for (auto it = host.commands.rbegin(); it != host.commands.rend(); ++it) {
        if (it->id == commandId) {
            it->state = callback;
            it->uiId = result;
            break;
        }
    }
    return result;
}

const char* GetCurrentFolder() {
    TheHost().calls.push_back("QVA_GetCurrentFolder");
    return TextOrNull(TheHost().currentFolder);
}

const char* GetFolderDisplayName(const char* folder) {
    Host& host = TheHost();
    host.calls.push_back("QVA_GetFolderDisplayName");
    if (folder == nullptr) {
        host.unexpected.push_back("QVA_GetFolderDisplayName(null)");
        return nullptr;
    }
    auto found = host.displayNames.find(folder);
    if (found == host.displayNames.end()) {
        return folder;
    }
    return TextOrNull(found->second);
}

int MoveSelectedMessages(const char* folder, int reserved) {
    Host& host = TheHost();
    host.calls.push_back("QVA_MoveSelectedMessages");
    if (folder == nullptr || reserved != 0) {
        host.unexpected.push_back("QVA_MoveSelectedMessages(null or nonzero)");
        return 0;
    }
    host.moves.push_back(folder);
    return host.moveResultFor ? host.moveResultFor(folder) : host.moveResult;
}

void LogUnexpected(const char* name) {
    TheHost().unexpected.push_back(name);
}

} // namespace fake_host
