#include "ui/settings_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "common/host_boundary.h"
#include "history/folder_cap.h"
#include "shell/plugin_info.h"
#include "settings_dialog_ids.h"
#include "ui/decimal_text.h"

namespace {

// "範囲内の数値を入力してください"
const char kRangeWarning[] = "\x94\xcd\x88\xcd\x93\xe0\x82\xcc\x90\x94\x92l\x82\xf0\x93\xfc\x97\xcd"
                             "\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";

// At most 4 characters and the NUL, for showing and for reading.
constexpr int kNumberBufferSize = 5;

HWND SpinOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_VORN_MAX_SPIN);
}

void ShowNumber(HWND dialog, std::int32_t value) {
    char buffer[kNumberBufferSize] = {};
    FormatDecimal(buffer, sizeof buffer, value);
    SetDlgItemTextA(dialog, IDC_VORN_MAX_EDIT, buffer);
}

void InitDialog(HWND dialog) {
    HWND spin = SpinOf(dialog);
    SendMessageA(spin, UDM_SETBUDDY,
                 reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_VORN_MAX_EDIT)), 0);
    SendMessageA(spin, UDM_SETRANGE32, kFewestFolders, kMostFolders);
    SendMessageA(spin, UDM_SETPOS, 0, static_cast<LPARAM>(maxFolders & 0xFFFFu));
    ShowNumber(dialog, static_cast<std::int32_t>(maxFolders));
}

// The number the box shows, read from its first 4 characters as OK reads
// it; 0 when it holds no number from 5 to 30.
std::uint32_t ShownNumber(HWND dialog) {
    char buffer[kNumberBufferSize] = {};
    GetDlgItemTextA(dialog, IDC_VORN_MAX_EDIT, buffer, kNumberBufferSize);
    std::int32_t value = ParseLeadingInteger(buffer);
    if (value < 0 || !IsFolderCapInRange(static_cast<std::uint32_t>(value))) {
        return 0;
    }
    return static_cast<std::uint32_t>(value);
}

// OK keeps a number from 5 to 30; anything else is answered with the warning
// and the dialog stays open.
void AcceptNumber(HWND dialog) {
    if (std::uint32_t value = ShownNumber(dialog)) {
        ChooseMaxFolders(value);
        EndDialog(dialog, IDOK);
        return;
    }
    MessageBoxA(dialog, kRangeWarning, kPlugInName, MB_OK | MB_ICONWARNING);
}

void OnCommand(HWND dialog, WORD id) {
    if (id == IDOK) {
        AcceptNumber(dialog);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
    }
}

// Shows `value` in the box, all of it selected so typing replaces it.
void ShowSelected(HWND dialog, std::int32_t value) {
    ShowNumber(dialog, value);
    SendMessageA(GetDlgItem(dialog, IDC_VORN_MAX_EDIT), EM_SETSEL, 0, -1);
}

// The up-down control does not write its position into the box; we do.
void ShowSpinPosition(HWND dialog) {
    LRESULT position = SendMessageA(SpinOf(dialog), UDM_GETPOS, 0, 0);
    ShowSelected(dialog, static_cast<std::int32_t>(position & 0xFFFF));
}

// An arrow steps the number the box shows, typed or not; without one from 5
// to 30 there, the control's own position. The control keeps only its own
// position and never reads the box, so its step is changed here to land
// where the user expects, and the box shows that at once, even when the
// control has no step left to make.
void StepShownNumber(HWND dialog, NMUPDOWN& step) {
    std::int64_t from = step.iPos;
    if (std::uint32_t shown = ShownNumber(dialog)) {
        from = shown;
    }
    std::int64_t to = std::clamp<std::int64_t>(from + step.iDelta, kFewestFolders, kMostFolders);
    step.iDelta = static_cast<int>(to - step.iPos);
    ShowSelected(dialog, static_cast<std::int32_t>(to));
}

void OnNotify(HWND dialog, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->idFrom == IDC_VORN_MAX_SPIN && header->code == UDN_DELTAPOS) {
        StepShownNumber(dialog, *reinterpret_cast<NMUPDOWN*>(lParam));
    }
}

} // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Called by user32 inside a call from the host.
    AtHostBoundary([dialog, message, wParam, lParam] {
        switch (message) {
        case WM_INITDIALOG:
            InitDialog(dialog);
            break;
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wParam));
            break;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            break;
        case WM_VSCROLL:
            ShowSpinPosition(dialog);
            break;
        case WM_NOTIFY:
            OnNotify(dialog, lParam);
            break;
        default:
            break;
        }
    });
    return FALSE;
}
