#include "ui/move_command.h"

#include <cstdint>

#include "common/folder_name.h"
#include "common/host_boundary.h"
#include "shell/host_api.h"
#include "shell/plugin_instance.h"
#include "ui/folder_text_match.h"

namespace {

// The host passes the command id in the low 16 bits.
std::int32_t CommandIdOf(DWORD param) {
    return static_cast<std::int32_t>(param & 0xFFFFu);
}

// The folder bound to `commandId`; none (no text) when there is nothing to
// act on: no command, or no entry holding it (a stale item must not move
// mail to "").
FolderName BoundFolder(std::int32_t commandId) {
    return commandId == 0 ? FolderName() : ActiveHistory().FolderBoundTo(commandId);
}

void MoveToBoundFolder(std::int32_t commandId) {
    // Held, not borrowed: the host may call back into us while it moves the
    // mail, and the entry may go.
    FolderName bound = BoundFolder(commandId);
    const char* text = bound.Ansi();
    if (text == nullptr || SameFolderText(text, hostApi.QVA_GetCurrentFolder())) {
        return;
    }
    // What a copy of the text names (another folder where the text converts
    // to one): the host is asked to move there, and that is what is recorded.
    FolderName target = bound.ThroughAnsi();
    if (hostApi.QVA_MoveSelectedMessages(target.Ansi(), 0) != 1) {
        ActiveHistory().RemoveByCommand(commandId);
        return;
    }
    ActiveHistory().RecordFolder(target, commandId, 1);
}

bool IsCurrentFolder(std::int32_t commandId) {
    FolderName bound = BoundFolder(commandId);
    const char* text = bound.Ansi();
    return text != nullptr && SameFolderText(text, hostApi.QVA_GetCurrentFolder());
}

} // namespace

void WINAPI OnMoveCommand(HWND, DWORD param) {
    AtHostBoundary([param] { MoveToBoundFolder(CommandIdOf(param)); });
}

int WINAPI OnMoveCommandState(DWORD, DWORD param) {
    return AtHostBoundary([param] { return IsCurrentFolder(CommandIdOf(param)) ? 1 : 0; });
}
