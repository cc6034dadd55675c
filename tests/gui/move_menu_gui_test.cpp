// The move-to-folder submenu of the real QvVorn.dll, through the host's side:
// drops, the context menu, picks and state queries, and what is saved.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "cp932_text.h"
#include "fake_host.h"
#include "fresh_start.h"
#include "modal_dialog.h"
#include "plugin_module.h"
#include "window_input.h"

namespace {

using plugin_module::MenuItem;
using window_input::Highlighted;

const std::string kInbox = cp932_text::FromWide(L"\x53d7\x4fe1\x7bb1"); // 受信箱

class MoveMenu : public fresh_start::PluginTest {
  protected:
    void TearDown() override {
        PluginTest::TearDown();
        DestroyMenu(context_);
    }

    void Drop(const char* folder, int kind = 1) {
        EXPECT_EQ(plugin.dragDrop(folder, 0, 0, kind), 0);
    }

    // A fresh context menu, as the host makes one each time, with the submenu
    // built in; the submenu's items.
    std::vector<MenuItem> ShowContextMenu() {
        DestroyMenu(context_);
        context_ = CreatePopupMenu();
        AppendMenuA(context_, MF_STRING, 200, "Reply");
        AppendMenuA(context_, MF_STRING, 201, "Forward");
        EXPECT_EQ(plugin.menuInit(nullptr, context_, 1), 0);
        std::vector<MenuItem> top = plugin_module::ReadMenu(context_);
        if (top.size() != 4 || top[0].submenu == nullptr) {
            ADD_FAILURE() << "no submenu at the top of the context menu";
            return {};
        }
        EXPECT_EQ(top[0].label, cp932_text::FromWide(cp932_text::kSubmenuLabel));
        EXPECT_EQ(top[1].type, static_cast<UINT>(MFT_SEPARATOR));
        return plugin_module::ReadMenu(top[0].submenu);
    }

    static std::vector<std::string> Labels(const std::vector<MenuItem>& items) {
        std::vector<std::string> labels;
        for (const MenuItem& item : items) {
            labels.push_back(item.label);
        }
        return labels;
    }

    HMENU context_ = nullptr;
};

TEST_F(MoveMenu, EmptyHistoryShowsThePlaceholder) {
    std::vector<MenuItem> items = ShowContextMenu();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].label, cp932_text::FromWide(cp932_text::kPlaceholder));
    EXPECT_EQ(items[0].id, 0u);
    EXPECT_EQ(fake_host::TheHost().commands.size(), 1u);
}

TEST_F(MoveMenu, DroppedFoldersAreListedMostRecentFirst) {
    fake_host::TheHost().displayNames["Mail\\Inbox"] = kInbox;
    Drop("Mail\\Inbox", 1);
    Drop("Mail\\Work", 2);
    Drop("Mail\\Home", 1);
    Drop("Mail\\Ignored", 0);
    Drop("Mail\\Ignored", 3);
    Drop("Mail\\Inbox", 2);
    std::vector<MenuItem> items = ShowContextMenu();
    EXPECT_EQ(Labels(items), (std::vector<std::string>{kInbox, "Mail\\Home", "Mail\\Work"}));
    for (const MenuItem& item : items) {
        const fake_host::Command* command = fake_host::FindCommand(static_cast<int>(item.id));
        ASSERT_NE(command, nullptr) << item.label;
        EXPECT_NE(command->callback, nullptr);
        EXPECT_NE(command->state, nullptr);
        EXPECT_EQ(command->menuType, 1);
    }
    EXPECT_EQ(SavedFolders(), L"Mail\\Inbox*??*Mail\\Home*??*Mail\\Work");
}

TEST_F(MoveMenu, PickMovesTheMailAndTheFolderToTheFront) {
    Drop("A");
    Drop("B");
    Drop("C");
    fake_host::TheHost().currentFolder = "C";
    std::vector<MenuItem> items = ShowContextMenu();
    ASSERT_EQ(Labels(items), (std::vector<std::string>{"C", "B", "A"}));
    int c = static_cast<int>(items[0].id);
    int b = static_cast<int>(items[1].id);
    int a = static_cast<int>(items[2].id);
    EXPECT_EQ(fake_host::QueryState(c), 1);
    EXPECT_EQ(fake_host::QueryState(b), 0);
    EXPECT_EQ(fake_host::QueryState(a, 0xABCD), 0);

    ASSERT_TRUE(fake_host::InvokeCommand(c)); // the open folder: nothing to move
    EXPECT_TRUE(fake_host::TheHost().moves.empty());
    ASSERT_TRUE(fake_host::InvokeCommand(a, nullptr, 0x1234));
    EXPECT_EQ(fake_host::TheHost().moves, std::vector<std::string>{"A"});

    fake_host::TheHost().currentFolder = "A"; // the state follows the folder the user opens
    EXPECT_EQ(fake_host::QueryState(a), 1);
    EXPECT_EQ(fake_host::QueryState(c), 0);
    EXPECT_EQ(Labels(ShowContextMenu()), (std::vector<std::string>{"A", "C", "B"}));
    EXPECT_EQ(SavedFolders(), L"A*??*C*??*B");
}

TEST_F(MoveMenu, RefusedMoveForgetsTheFolder) {
    Drop("A");
    Drop("B");
    Drop("C");
    std::vector<MenuItem> items = ShowContextMenu();
    ASSERT_EQ(items.size(), 3u);
    fake_host::TheHost().moveResult = 0;
    ASSERT_TRUE(fake_host::InvokeCommand(static_cast<int>(items[1].id)));
    EXPECT_EQ(fake_host::TheHost().moves, std::vector<std::string>{"B"});
    EXPECT_EQ(SavedFolders(), L"C*??*A");
}

// An item from an earlier showing whose folder has since been trimmed away
// must not send mail anywhere.
TEST_F(MoveMenu, ItemOfAFolderNoLongerListedDoesNothing) {
    Start(5);
    for (const char* folder : {"F1", "F2", "F3", "F4", "F5"}) {
        Drop(folder);
    }
    std::vector<MenuItem> items = ShowContextMenu();
    ASSERT_EQ(items.size(), 5u);
    ASSERT_EQ(items[4].label, "F1");
    Drop("F6"); // F1 drops off the end
    fake_host::TheHost().currentFolder = "";
    EXPECT_EQ(fake_host::QueryState(static_cast<int>(items[4].id)), 0);
    ASSERT_TRUE(fake_host::InvokeCommand(static_cast<int>(items[4].id)));
    EXPECT_TRUE(fake_host::TheHost().moves.empty());
    EXPECT_EQ(SavedFolders(), L"F6*??*F5*??*F4*??*F3*??*F2");
}

TEST_F(MoveMenu, LoweredCapShortensTheListAtTheNextShowing) {
    Start(5, L"F1*??*F2*??*F3*??*F4*??*F5*??*F6*??*F7*??*F8");
    EXPECT_EQ(Labels(ShowContextMenu()), (std::vector<std::string>{"F1", "F2", "F3", "F4", "F5"}));
    EXPECT_EQ(SavedFolders(), L"F1*??*F2*??*F3*??*F4*??*F5");
}

// The host shows the context menu; the user opens the submenu with the
// keyboard and picks the second folder; the host runs the chosen command.
TEST_F(MoveMenu, FolderPickedInTheShownMenuIsMovedTo) {
    Drop("A");
    Drop("B");
    std::vector<MenuItem> items = ShowContextMenu();
    ASSERT_EQ(items.size(), 2u);
    HMENU menu = context_;
    HMENU submenu = GetSubMenu(menu, 0);
    UINT chosen = 0;
    {
        modal_dialog::HostThread host([menu, &chosen](HWND owner) {
            SetForegroundWindow(owner);
            chosen = static_cast<UINT>(
                TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 100, 100, 0, owner, nullptr));
        });
        // The menu our host thread shows, never one another program has open.
        HWND menuWindow = nullptr;
        ASSERT_TRUE(modal_dialog::WaitUntil([&] {
            std::vector<HWND> menus = window_input::ThreadWindows(host.id(), "#32768");
            menuWindow = menus.empty() ? nullptr : menus.front();
            return menuWindow != nullptr;
        }));
        modal_dialog::PressKey(menuWindow, VK_DOWN);
        EXPECT_TRUE(modal_dialog::WaitUntil([&] { return Highlighted(menu, 0); }));
        modal_dialog::PressKey(menuWindow, VK_RIGHT);
        EXPECT_TRUE(modal_dialog::WaitUntil([&] { return Highlighted(submenu, 0); }));
        modal_dialog::PressKey(menuWindow, VK_DOWN);
        EXPECT_TRUE(modal_dialog::WaitUntil([&] { return Highlighted(submenu, 1); }));
        modal_dialog::PressKey(menuWindow, VK_RETURN);
        EXPECT_TRUE(host.Finished());
    }
    ASSERT_EQ(chosen, items[1].id);
    ASSERT_TRUE(fake_host::InvokeCommand(static_cast<int>(chosen)));
    EXPECT_EQ(fake_host::TheHost().moves, std::vector<std::string>{"A"});
    EXPECT_EQ(SavedFolders(), L"A*??*B");
}

} // namespace
