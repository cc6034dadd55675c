#include "ui/move_submenu.h"

#include <cstddef>
#include <cstdint>

#include "shell/host_api.h"
#include "shell/plugin_instance.h"
#include "ui/menu_insert.h"
#include "ui/move_command.h"
#include "ui/move_comment.h"
#include "ui/owned_menu.h"

namespace {

// "フォルダへ移動": comment of the command registered for the submenu itself.
const char kSubmenuComment[] = "\x83t\x83H\x83\x8b\x83_\x82\xd6\x88\xda\x93\xae";
// "フォルダへ移動(&Q)": the submenu's label.
const char kSubmenuLabel[] = "\x83t\x83H\x83\x8b\x83_\x82\xd6\x88\xda\x93\xae(&Q)";
// "(フォルダが登録されていません。何かメールを移動すると登録されます。)": the only item of
// an empty submenu.
const char kPlaceholderLabel[] =
    "(\x83t\x83H\x83\x8b\x83_\x82\xaa\x93o\x98^\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9"
    "\x82\xf1\x81"
    "B\x89\xbd\x82\xa9\x83\x81\x81[\x83\x8b\x82\xf0\x88\xda\x93\xae\x82\xb7\x82\xe9\x82\xc6\x93o"
    "\x98^\x82\xb3\x82\xea\x82\xdc\x82\xb7\x81"
    "B)";

// Positions are 16-bit for the history.
constexpr std::size_t kLastPosition = 0x7FFF;

enum class Step { Next, Dropped, Stop };

// Inserts the submenu and its separator at the top of `menu`; null when any
// step fails, in which case a popup not yet in the menu is destroyed.
HMENU InsertSubmenu(HMENU menu) {
    if (!Inserted(InsertMenuA(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, ""))) {
        return nullptr;
    }
    OwnedMenu popup = CreateOwnedPopup();
    if (!popup) {
        return nullptr;
    }
    if (!Inserted(InsertMenuA(menu, 0, MF_BYPOSITION | MF_POPUP,
                              reinterpret_cast<UINT_PTR>(popup.get()), kSubmenuLabel))) {
        return nullptr;
    }
    return HandOver(popup);
}

Step AddItemAt(HMENU submenu, std::int16_t position, int menuType) {
    FolderHistory& history = ActiveHistory();
    const char* folder = nullptr;
    if (history.EntryTextAt(position, &folder) < 0) {
        return Step::Stop;
    }
    // An entry without text cannot be named to the host: drop it as the host
    // would drop a folder it cannot show.
    if (folder == nullptr) {
        history.RemoveAt(position);
        return Step::Dropped;
    }
    // A host that calls back into the plug-in from inside its own functions
    // could change the history meanwhile; the entry is then no longer known
    // to be at `position`.
    const std::uint64_t generation = history.Generation();
    const char* display = hostApi.QVA_GetFolderDisplayName(folder);
    // cppcheck-suppress knownConditionTrueFalse ; the host's function may change the history
    if (display == nullptr || history.Generation() != generation) {
        return Step::Stop;
    }
    if (*display == '\0') {
        history.RemoveAt(position);
        return Step::Dropped;
    }
    const char* comment = MoveCommentFor(static_cast<std::size_t>(position), display);
    int commandId = hostApi.QVA_RegisterCommand(comment, menuType, OnMoveCommand);
    if (commandId == 0) {
        return Step::Stop;
    }
    int itemId = hostApi.QVA_RegisterUICallback(commandId, OnMoveCommandState);
    if (itemId == 0 || history.Generation() != generation ||
        history.BindCommandAt(position, itemId) < 0) {
        return Step::Stop;
    }
    if (!Inserted(
            InsertMenuA(submenu, kAppend, MF_BYPOSITION | MF_STRING, MenuIdOf(itemId), display))) {
        return Step::Stop;
    }
    return Step::Next;
}

// One item per entry, in history order, until the first failure. The history
// may shrink on the way: dropped entries and the cap.
void AddHistoryItems(HMENU submenu, int menuType) {
    std::size_t position = 0;
    while (position < ActiveHistory().Count() && position <= kLastPosition) {
        Step step = AddItemAt(submenu, static_cast<std::int16_t>(position), menuType);
        if (step == Step::Stop) {
            return;
        }
        if (step == Step::Next) {
            ++position;
        }
    }
}

} // namespace

void BuildMoveSubmenu(HMENU menu, int menuType) {
    hostApi.QVA_RegisterCommand(kSubmenuComment, menuType, nullptr);
    HMENU submenu = InsertSubmenu(menu);
    if (submenu == nullptr) {
        return;
    }
    AddHistoryItems(submenu, menuType);
    if (ActiveHistory().Count() == 0) {
        InsertMenuA(submenu, kAppend, MF_BYPOSITION | MF_STRING, 0, kPlaceholderLabel);
    }
}
