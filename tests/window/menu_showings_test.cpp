// Our host's menus over a long run: every showing of the message list's menu
// registers the plug-in's commands afresh, and the host lets the commands of
// the showing before go, so command ids stay within WM_COMMAND's 16 bits.
// Also what kind of program each of our host's executables is.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_host.h"
#include "loaded_plugin.h"
#include "pe_image.h"
#include "program_folder.h"
#include "settings_values.h"
#include "win_handles.h"

namespace {

constexpr int kFolders = 10;

TEST(MenuShowings, SeventyThousandRegistrationsKeepIdsWithinSixteenBits) {
    ASSERT_TRUE(settings_values::EmptyKey() &&
                settings_values::SetText(
                    L"VornFolder", settings_values::NumberedFolders(L"\\F", 0, kFolders - 1)));
    fake_host::ResetHost();
    fake_host::Host& host = fake_host::TheHost();
    host.currentFolder = "\\F3";
    LoadedPlugin plugin("QvVorn.dll");
    ASSERT_TRUE(plugin.Usable());

    long registrations = 0;
    UINT highest = 0;
    win_handles::Menu menu;
    HMENU submenu = nullptr;
    while (registrations < 70000) {
        host.calls.clear();
        menu.Reset(CreatePopupMenu());
        plugin.MenuInit(nullptr, menu.get(), 1);
        registrations += std::count(host.calls.begin(), host.calls.end(), "QVA_RegisterCommand");
        submenu = GetSubMenu(menu.get(), 0);
        ASSERT_EQ(GetMenuItemCount(submenu), kFolders) << "after " << registrations;
        for (int i = 0; i < kFolders; ++i) {
            highest = std::max(highest, GetMenuItemID(submenu, i));
        }
    }
    EXPECT_LE(highest, 0xFFFFu);
    EXPECT_LE(host.commands.size(), static_cast<size_t>(kFolders + 1)) << "one showing's commands";

    // The last menu works: each item moves to its folder, and the open folder's is marked.
    for (int i = 0; i < kFolders; ++i) {
        SCOPED_TRACE(i);
        int id = static_cast<int>(GetMenuItemID(submenu, i));
        EXPECT_EQ(fake_host::QueryState(id), i == 3 ? 1 : 0);
        ASSERT_TRUE(fake_host::InvokeCommand(id));
        if (i != 3) {
            EXPECT_EQ(host.moves.back(), "\\F" + std::to_string(i));
        }
    }
    EXPECT_EQ(host.moves.size(), static_cast<size_t>(kFolders - 1));
}

TEST(HostPrograms, TheWindowIsAGuiProgramAndTheDemoAConsoleOne) {
    std::vector<unsigned char> windowBytes =
        program_folder::ReadBytes(program_folder::Beside(L"qvhost.exe"));
    std::vector<unsigned char> demoBytes =
        program_folder::ReadBytes(program_folder::Beside(L"qvdemo.exe"));
    // They use the mail client's real settings key, so the test bundle,
    // which users run on their own Windows, leaves both out.
    if (windowBytes.empty() && demoBytes.empty()) {
        GTEST_SKIP() << "qvhost.exe and qvdemo.exe are left out of the test bundle";
    }
    pe_image::ExportDirectory window(windowBytes);
    pe_image::ExportDirectory demo(demoBytes);
    EXPECT_EQ(window.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_EQ(demo.subsystem, IMAGE_SUBSYSTEM_WINDOWS_CUI);
}

} // namespace
