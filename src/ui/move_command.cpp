#include "ui/move_command.h"

#include <cstdint>

#include "common/folder_name.h"
#include "history/plugin_settings.h"
#include "shell/host_api.h"
#include "ui/folder_text_match.h"

namespace {

// The host passes the command id in the low 16 bits.
std::int32_t CommandIdOf(DWORD param) {
    return static_cast<std::int32_t>(param & 0xFFFFu);
}

// The folder text bound to `commandId`, or null when there is none to act on:
// no command, no entry holding it (a stale item must not move mail to ""), or
// an entry without text.
const char* BoundFolderText(std::int32_t commandId) {
    if (commandId == 0 || FindByCommand(ActiveHistory(), commandId) == nullptr) {
        return nullptr;
    }
    const char* text = nullptr;
    if (FolderForCommand(ActiveHistory(), commandId, &text) < 0) {
        return nullptr;
    }
    return text; // null for an entry without text
}

void MoveToBoundFolder(std::int32_t commandId) {
    const char* bound = BoundFolderText(commandId);
    if (bound == nullptr || SameFolderText(bound, hostApi.QVA_GetCurrentFolder())) {
        return;
    }
    // Our own copy: the entry's text goes away when the entry is replaced at
    // the front, and the host may call back into us while it moves the mail.
    FolderName copy(bound);
    const char* folder = copy.Ansi();
    if (hostApi.QVA_MoveSelectedMessages(folder, 0) != 1) {
        RemoveByCommand(ActiveHistory(), commandId);
        return;
    }
    RecordFolder(ActiveHistory(), folder, commandId, 1);
}

bool IsCurrentFolder(std::int32_t commandId) {
    const char* bound = BoundFolderText(commandId);
    return bound != nullptr && SameFolderText(bound, hostApi.QVA_GetCurrentFolder());
}

} // namespace

// An exception must not unwind into the host's frames: it would end the host.
void WINAPI OnMoveCommand(HWND, DWORD param) {
    try {
        MoveToBoundFolder(CommandIdOf(param));
    } catch (...) {
    }
}

int WINAPI OnMoveCommandState(DWORD, DWORD param) {
    try {
        return IsCurrentFolder(CommandIdOf(param)) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
