#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "history/folder_history.h"
#include "modal_dialog.h"
#include "settings_dialog_ids.h"
#include "shell/module_handle.h"
#include "ui/settings_command.h"
#include "ui/settings_dialog.h"

namespace {

// The test program carries the module's resources too.
class SettingsDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        savedMax_ = maxFolders;
        savedModule_ = moduleHandle;
        moduleHandle = GetModuleHandleA(nullptr);
        maxFolders = 17;
    }
    void TearDown() override {
        maxFolders = savedMax_;
        moduleHandle = savedModule_;
    }

    std::uint32_t savedMax_ = 0;
    HINSTANCE savedModule_ = nullptr;
};

struct CloseCase {
    const char* name;
    const char* text;
    std::function<void(HWND dialog)> close;
    INT_PTR result;
    std::uint32_t maxAfter;
};

TEST_F(SettingsDialog, ClosesWithOkOrCancelResult) {
    const CloseCase cases[] = {
        {"OK", "30", [](HWND d) { modal_dialog::Click(d, IDOK); }, IDOK, 30},
        {"Enter", "12",
         [](HWND d) { modal_dialog::PressKey(GetDlgItem(d, IDC_VORN_MAX_EDIT), VK_RETURN); }, IDOK,
         12},
        {"Cancel", "25", [](HWND d) { modal_dialog::Click(d, IDCANCEL); }, IDCANCEL, 17},
        {"Esc", "25",
         [](HWND d) { modal_dialog::PressKey(GetDlgItem(d, IDC_VORN_MAX_EDIT), VK_ESCAPE); },
         IDCANCEL, 17},
        {"close box", "25", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL,
         17},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        maxFolders = 17;
        INT_PTR result = -99;
        modal_dialog::HostThread host([&result](HWND owner) {
            result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_VORN_SETTINGS),
                                     owner, SettingsDialogProc, 0);
        });
        HWND dialog = modal_dialog::WaitForDialog(host.id(), host.owner());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(modal_dialog::Text(GetDlgItem(dialog, IDC_VORN_MAX_EDIT)), "17");
        SetDlgItemTextA(dialog, IDC_VORN_MAX_EDIT, c.text);
        c.close(dialog);
        ASSERT_TRUE(host.Finished());
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(maxFolders, c.maxAfter);
    }
}

TEST_F(SettingsDialog, ProcedureReturnsFalseForEveryMessage) {
    modal_dialog::HostThread host([](HWND owner) { OnSettingsCommand(owner, 0); });
    HWND dialog = modal_dialog::WaitForDialog(host.id(), host.owner());
    ASSERT_NE(dialog, nullptr);
    const UINT messages[] = {WM_INITDIALOG, WM_COMMAND, WM_VSCROLL, WM_USER, WM_PAINT};
    for (UINT message : messages) {
        EXPECT_EQ(SettingsDialogProc(dialog, message, MAKEWPARAM(IDC_VORN_MAX_EDIT, EN_CHANGE), 0),
                  FALSE)
            << message;
    }
    modal_dialog::Click(dialog, IDCANCEL);
    EXPECT_TRUE(host.Finished());
    EXPECT_EQ(maxFolders, 17u);
}

TEST_F(SettingsDialog, CommandShowsTheDialogOwnedByTheGivenWindow) {
    modal_dialog::HostThread host([](HWND owner) { OnSettingsCommand(owner, 0xFFFF1234); });
    HWND dialog = modal_dialog::WaitForDialog(host.id(), host.owner());
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(host.owner())); // modal
    EXPECT_FALSE(host.Finished(0));
    modal_dialog::Click(dialog, IDCANCEL);
    EXPECT_TRUE(host.Finished());
}

TEST_F(SettingsDialog, CommandWithoutTheTemplateDoesNothing) {
    moduleHandle = GetModuleHandleA("kernel32.dll");
    modal_dialog::HostThread host([](HWND owner) { OnSettingsCommand(owner, 0); });
    EXPECT_TRUE(host.Finished());
    EXPECT_EQ(maxFolders, 17u);
}

} // namespace
