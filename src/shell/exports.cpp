#include "shell/exports.h"

#include "common/host_boundary.h"
#include "shell/plugin_info.h"
#include "shell/plugin_instance.h"
#include "ui/move_submenu.h"
#include "ui/settings_command.h"

namespace {

constexpr int kMainMenu = 0;
constexpr int kMessageListMenu = 1;

} // namespace

extern "C" {

int WINAPI QVC_OnStart() {
    return 0;
}

int WINAPI QVC_OnExit() {
    return 0;
}

int WINAPI QVC_OnMenuInit(HWND, HMENU menu, int menuType) {
    AtHostBoundary([menu, menuType] {
        if (menuType == kMainMenu) {
            AddSettingsCommand(menu);
        } else if (menuType == kMessageListMenu) {
            BuildMoveSubmenu(menu, kMessageListMenu);
        }
    });
    return 0;
}

int WINAPI QVC_OnOpenFolder(DWORD) {
    return 0;
}

int WINAPI QVC_OnOpenMail(DWORD) {
    return 0;
}

int WINAPI QVC_OnEveryMinute() {
    return 0;
}

int WINAPI QVC_OnOpenCompose(DWORD, DWORD) {
    return 0;
}

int WINAPI QVC_OnOutgoing(DWORD, DWORD) {
    return 0;
}

int WINAPI QVC_OnKeyDispatch(DWORD, DWORD, DWORD) {
    return 0;
}

int WINAPI QVC_OnRetrieve(DWORD, DWORD) {
    return 0;
}

int WINAPI QVC_OnSend(DWORD) {
    return 0;
}

int WINAPI QVC_OnFinishRetrieve(DWORD) {
    return 0;
}

int WINAPI QVC_OnPlugInSetup(DWORD) {
    return 0;
}

int WINAPI QVC_OnPlugInInfo(char* record) {
    // No record, nothing to fill.
    if (record != nullptr) {
        WritePlugInInfo(record);
    }
    return 0;
}

int WINAPI QVC_OnDragDrop(const char* targetFolder, DWORD, DWORD, DWORD dropKind) {
    AtHostBoundary([targetFolder, dropKind] {
        if ((dropKind == 1 || dropKind == 2) && targetFolder != nullptr &&
            targetFolder[0] != '\0') {
            ActiveHistory().RecordFolder(targetFolder, 0, 1);
        }
    });
    return 0;
}

int WINAPI QVC_OnBeforeFilter2(DWORD, DWORD, DWORD, DWORD) {
    return 0;
}

} // extern "C"
