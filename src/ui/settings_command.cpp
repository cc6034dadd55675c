#include "ui/settings_command.h"

#include <commctrl.h>

#include "common/host_boundary.h"
#include "settings_dialog_ids.h"
#include "shell/host_api.h"
#include "shell/module_handle.h"
#include "ui/menu_insert.h"
#include "ui/settings_dialog.h"

namespace {

// "フォルダ移動の設定をする": the command's comment for the host.
const char kSettingsComment[] =
    "\x83t\x83H\x83\x8b\x83_\x88\xda\x93\xae\x82\xcc\x90\xdd\x92\xe8\x82\xf0\x82\xb7\x82\xe9";
// "フォルダ移動の設定をする(&E)...": the menu item's label.
const char kSettingsLabel[] =
    "\x83t\x83H\x83\x8b\x83_\x88\xda\x93\xae\x82\xcc\x90\xdd\x92\xe8\x82\xf0\x82\xb7\x82\xe9(&E).."
    ".";

// The main window's menu bar: the fifth top-level submenu takes the command.
constexpr int kSettingsSubmenu = 4;

} // namespace

void AddSettingsCommand(HMENU menu) {
    int commandId = hostApi.QVA_RegisterCommand(kSettingsComment, 0, OnSettingsCommand);
    HMENU submenu = GetSubMenu(menu, kSettingsSubmenu);
    InsertMenuA(submenu, kAppend, MF_BYPOSITION | MF_SEPARATOR, 0, "");
    InsertMenuA(submenu, kAppend, MF_BYPOSITION | MF_STRING, MenuIdOf(commandId), kSettingsLabel);
}

void WINAPI OnSettingsCommand(HWND window, DWORD) {
    AtHostBoundary([window] {
        // The template's up-down control needs its class before the dialog is made.
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
        DialogBoxParamA(moduleHandle, MAKEINTRESOURCEA(IDD_VORN_SETTINGS), window,
                        SettingsDialogProc, 0);
    });
}
