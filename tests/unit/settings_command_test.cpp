#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "cp932_text.h"
#include "fake_host.h"
#include "fake_host_api.h"
#include "plugin_module.h"
#include "ui/settings_command.h"

namespace {

using plugin_module::MenuBar;
using plugin_module::MenuItem;

const std::string kLabel = cp932_text::FromWide(cp932_text::kSettingsLabel);
const std::string kComment = cp932_text::FromWide(cp932_text::kSettingsComment);

using SettingsCommand = fake_host_api::HostedTest;

TEST_F(SettingsCommand, AppendsSeparatorAndItemToTheFifthSubmenu) {
    HMENU bar = MenuBar(6);
    AddSettingsCommand(bar);

    ASSERT_EQ(Host().commands.size(), 1u);
    const fake_host::Command& command = Host().commands[0];
    EXPECT_EQ(command.comment, kComment);
    EXPECT_EQ(command.menuType, 0);
    EXPECT_EQ(command.callback, &OnSettingsCommand);

    std::vector<MenuItem> items = plugin_module::ReadMenu(GetSubMenu(bar, 4));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].type, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(items[2].label, kLabel);
    EXPECT_EQ(items[2].id, static_cast<UINT>(command.id));
    EXPECT_EQ(items[2].type, static_cast<UINT>(MFT_STRING));
    EXPECT_EQ(items[2].state, static_cast<UINT>(MFS_ENABLED | MFS_UNCHECKED));
    for (int other : {0, 1, 2, 3, 5}) {
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, other)), 1) << other;
    }
    DestroyMenu(bar);
}

TEST_F(SettingsCommand, EveryCallAddsAnotherCommand) {
    HMENU bar = MenuBar(5);
    AddSettingsCommand(bar);
    AddSettingsCommand(bar);
    ASSERT_EQ(Host().commands.size(), 2u);
    std::vector<MenuItem> items = plugin_module::ReadMenu(GetSubMenu(bar, 4));
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[3].type, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(items[2].id, static_cast<UINT>(Host().commands[0].id));
    EXPECT_EQ(items[4].id, static_cast<UINT>(Host().commands[1].id));
    EXPECT_NE(items[2].id, items[4].id);
    DestroyMenu(bar);
}

TEST_F(SettingsCommand, MenuWithoutAFifthSubmenuGetsNothing) {
    HMENU bar = MenuBar(4);
    AppendMenuA(bar, MF_STRING, 300, "Plain"); // position 4 is no submenu
    AddSettingsCommand(bar);
    EXPECT_EQ(Host().commands.size(), 1u);
    EXPECT_EQ(GetMenuItemCount(bar), 5);
    for (int other : {0, 1, 2, 3}) {
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, other)), 1) << other;
    }
    DestroyMenu(bar);
}

TEST_F(SettingsCommand, RefusedRegistrationStillAddsTheItem) {
    Host().registerCommandResult = [](const std::string&, int) { return 0; };
    HMENU bar = MenuBar(5);
    AddSettingsCommand(bar);
    std::vector<MenuItem> items = plugin_module::ReadMenu(GetSubMenu(bar, 4));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].label, kLabel);
    EXPECT_EQ(items[2].id, 0u);
    DestroyMenu(bar);
}

} // namespace
