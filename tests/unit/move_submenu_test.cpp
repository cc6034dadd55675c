#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/resource_counts.h"
#include "cp932_text.h"
#include "fake_host.h"
#include "fake_host_api.h"
#include "shell/plugin_instance.h"
#include "plugin_module.h"
#include "ui/move_command.h"
#include "ui/move_submenu.h"
#include "code_page.h"

namespace {

using plugin_module::MenuItem;

const std::string kSubmenuComment = cp932_text::FromWide(cp932_text::kSubmenuComment);
const std::string kMoveSuffix = cp932_text::FromWide(cp932_text::kMoveSuffix);
const std::string kPlaceholder = cp932_text::FromWide(cp932_text::kPlaceholder);
const std::string kInboxName = cp932_text::FromWide(L"\x53d7\x4fe1\x7bb1");      // 受信箱
const std::string kSentName = cp932_text::FromWide(L"\x9001\x4fe1\x6e08\x307f"); // 送信済み

using Label = std::pair<std::string, UINT>; // an item's text and id

class MoveSubmenu : public fake_host_api::HostedTest {
  protected:
    void SetUp() override {
        HostedTest::SetUp();
        menu_ = CreatePopupMenu();
        AppendMenuA(menu_, MF_STRING, 100, "Open");
        AppendMenuA(menu_, MF_STRING, 101, "Reply");
    }
    void TearDown() override {
        DestroyMenu(menu_);
        HostedTest::TearDown();
    }

    void Build(int menuType = 1) { BuildMoveSubmenu(menu_, menuType); }
    HMENU Submenu() const { return GetSubMenu(menu_, 0); }
    std::vector<MenuItem> Items() const { return plugin_module::ReadMenu(Submenu()); }
    std::vector<Label> Labels() const {
        std::vector<Label> labels;
        for (const MenuItem& item : Items()) {
            labels.push_back({item.label, item.id});
        }
        return labels;
    }
    // The menu id of each registration after the submenu's own, in order.
    static std::vector<UINT> ItemIds() {
        std::vector<UINT> ids;
        for (std::size_t i = 1; i < Host().commands.size(); ++i) {
            ids.push_back(static_cast<UINT>(Host().commands[i].uiId));
        }
        return ids;
    }

    HMENU menu_ = nullptr;
};

TEST_F(MoveSubmenu, EmptyHistoryGivesThePlaceholderAlone) {
    Build();
    std::vector<MenuItem> top = plugin_module::ReadMenu(menu_);
    ASSERT_EQ(top.size(), 4u);
    EXPECT_EQ(top[0].label, cp932_text::FromWide(cp932_text::kSubmenuLabel));
    EXPECT_NE(top[0].submenu, nullptr);
    EXPECT_EQ(top[1].type & MFT_SEPARATOR, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(top[2].label, "Open");
    EXPECT_EQ(top[3].label, "Reply");

    std::vector<MenuItem> items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].label, kPlaceholder);
    EXPECT_EQ(items[0].id, 0u);
    EXPECT_EQ(items[0].type, static_cast<UINT>(MFT_STRING));
    EXPECT_EQ(items[0].state, static_cast<UINT>(MFS_ENABLED | MFS_UNCHECKED));

    ASSERT_EQ(Host().commands.size(), 1u);
    EXPECT_EQ(Host().commands[0].comment, kSubmenuComment);
    EXPECT_EQ(Host().commands[0].menuType, 1);
    EXPECT_EQ(Host().commands[0].callback, nullptr);
    EXPECT_EQ(CallsTo("QVA_RegisterUICallback"), 0);
    EXPECT_EQ(LiveResources().ownedPopups, 0);
}

TEST_F(MoveSubmenu, OneItemPerFolderInHistoryOrder) {
    for (int menuType : {1, 7}) {
        SCOPED_TRACE(menuType);
        fake_host::ResetHost();
        DestroyMenu(menu_);
        menu_ = CreatePopupMenu();
        Fill("Inbox,Sent(3),Archive");
        Host().displayNames["Inbox"] = kInboxName;
        Host().displayNames["Sent"] = kSentName;
        Build(menuType);

        std::vector<UINT> ids = ItemIds();
        ASSERT_EQ(ids.size(), 3u);
        EXPECT_EQ(Labels(), (std::vector<Label>{
                                {kInboxName, ids[0]}, {kSentName, ids[1]}, {"Archive", ids[2]}}));
        for (const MenuItem& item : Items()) {
            EXPECT_EQ(item.type, static_cast<UINT>(MFT_STRING));
            EXPECT_EQ(item.state, static_cast<UINT>(MFS_ENABLED | MFS_UNCHECKED));
        }
        EXPECT_EQ(History(), "Inbox(" + std::to_string(ids[0]) + "),Sent(" +
                                 std::to_string(ids[1]) + "),Archive(" + std::to_string(ids[2]) +
                                 ")");
        const std::string labels[] = {kInboxName, kSentName, "Archive"};
        for (std::size_t i = 0; i < 3; ++i) {
            const fake_host::Command& command = Host().commands[i + 1];
            EXPECT_EQ(command.comment, labels[i] + kMoveSuffix);
            EXPECT_EQ(command.menuType, menuType);
            EXPECT_EQ(command.callback, &OnMoveCommand);
            EXPECT_EQ(command.state, &OnMoveCommandState);
        }
        EXPECT_EQ(Host().commands[0].menuType, menuType);
    }
}

TEST_F(MoveSubmenu, FolderWithoutDisplayTextLeavesTheHistory) {
    Fill("F1(1),F2(2),F3(3)");
    Host().displayNames["F2"] = std::string("");
    Build();
    std::vector<UINT> ids = ItemIds();
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(Labels(), (std::vector<Label>{{"F1", ids[0]}, {"F3", ids[1]}}));
    EXPECT_EQ(History(), "F1(" + std::to_string(ids[0]) + "),F3(" + std::to_string(ids[1]) + ")");
    EXPECT_EQ(Host().commands[2].comment, "F3" + kMoveSuffix);
}

TEST_F(MoveSubmenu, NoFolderWithDisplayTextGivesThePlaceholder) {
    Fill("F1(1),F2(2)");
    Host().displayNames["F1"] = std::string("");
    Host().displayNames["F2"] = std::string("");
    Build();
    EXPECT_EQ(Labels(), (std::vector<Label>{{kPlaceholder, 0}}));
    EXPECT_EQ(History(), "");
    EXPECT_EQ(Host().commands.size(), 1u);
}

TEST_F(MoveSubmenu, NoDisplayTextAtAllEndsTheWalk) {
    Fill("F1(1),F2(2),F3(3)");
    Host().displayNames["F2"] = std::nullopt;
    Build();
    std::vector<UINT> ids = ItemIds();
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(Labels(), (std::vector<Label>{{"F1", ids[0]}}));
    EXPECT_EQ(History(), "F1(" + std::to_string(ids[0]) + "),F2(2),F3(3)");
    EXPECT_EQ(CallsTo("QVA_GetFolderDisplayName"), 2);
}

TEST_F(MoveSubmenu, RefusedRegistrationEndsTheWalk) {
    struct Case {
        const char* name;
        bool refuseCommand;
        std::size_t commands;
        int uiRegistrations;
    };
    const Case cases[] = {
        {"command refused", true, 2, 0},
        {"state callback refused", false, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_host::ResetHost();
        DestroyMenu(menu_);
        menu_ = CreatePopupMenu();
        Fill("F1(5),F2(6)");
        if (c.refuseCommand) {
            Host().registerCommandResult = [](const std::string& comment, int) {
                return comment == kSubmenuComment ? 40001 : 0;
            };
        } else {
            Host().registerUiResult = [](int) { return 0; };
        }
        Build();
        EXPECT_EQ(GetMenuItemCount(Submenu()), 0);
        EXPECT_EQ(Host().commands.size(), c.commands);
        EXPECT_EQ(CallsTo("QVA_RegisterUICallback"), c.uiRegistrations);
        EXPECT_EQ(History(), "F1(5),F2(6)");
    }
}

TEST_F(MoveSubmenu, RefusedSubmenuCommandStillBuildsTheItems) {
    Fill("F1");
    Host().registerCommandResult = [](const std::string& comment, int) {
        return comment == kSubmenuComment ? 0 : 40010;
    };
    Build();
    EXPECT_EQ(Labels(), (std::vector<Label>{{"F1", 40010}}));
}

TEST_F(MoveSubmenu, StateRegistrationIdIsTheItemId) {
    Fill("F1,F2");
    Host().registerUiResult = [](int commandId) { return commandId + 500; };
    Build();
    ASSERT_EQ(Host().commands.size(), 3u);
    int command2 = Host().commands[2].id;
    UINT item2 = static_cast<UINT>(command2 + 500);
    EXPECT_EQ(Labels(), (std::vector<Label>{{"F1", static_cast<UINT>(Host().commands[1].id + 500)},
                                            {"F2", item2}}));
    EXPECT_EQ(ActiveHistory().At(1).commandId, command2 + 500);

    OnMoveCommand(nullptr, static_cast<DWORD>(command2)); // the id the host no longer uses
    EXPECT_TRUE(Host().moves.empty());
    OnMoveCommand(nullptr, item2);
    EXPECT_EQ(Host().moves, std::vector<std::string>{"F2"});
}

TEST_F(MoveSubmenu, DuplicateFolderBindsBothItemsToTheFirstEntry) {
    Fill("A,B,A");
    Build();
    std::vector<UINT> ids = ItemIds();
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_EQ(Labels(), (std::vector<Label>{{"A", ids[0]}, {"B", ids[1]}, {"A", ids[2]}}));
    EXPECT_EQ(History(), "A(" + std::to_string(ids[2]) + "),B(" + std::to_string(ids[1]) + "),A");

    OnMoveCommand(nullptr, ids[0]);
    EXPECT_TRUE(Host().moves.empty());
    OnMoveCommand(nullptr, ids[2]);
    EXPECT_EQ(Host().moves, std::vector<std::string>{"A"});
}

TEST_F(MoveSubmenu, LoweredCapTrimsAtTheFirstItem) {
    Fill("F1,F2,F3,F4,F5,F6,F7,F8");
    maxFolders = 5;
    Build();
    std::vector<MenuItem> items = Items();
    ASSERT_EQ(items.size(), 5u);
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].label, "F" + std::to_string(i + 1));
    }
    EXPECT_EQ(ActiveHistory().Count(), 5u);
    EXPECT_EQ(CallsTo("QVA_GetFolderDisplayName"), 5);
}

TEST_F(MoveSubmenu, LabelIsTheDisplayTextUnchanged) {
    const std::string work = cp932_text::FromWide(L"\x4ed5\x4e8b&\x500b\x4eba"); // 仕事&個人
    Fill("Work");
    Host().displayNames["Work"] = work;
    Build();
    ASSERT_EQ(Items().size(), 1u);
    char label[64] = {};
    ASSERT_GT(GetMenuStringA(Submenu(), 0, label, sizeof label, MF_BYPOSITION), 0);
    EXPECT_EQ(std::string(label), work);
    EXPECT_EQ(Host().commands[1].comment, work + kMoveSuffix);
}

// A folder that holds no text cannot be named to the host; it leaves the
// history like a folder the host cannot show.
TEST_F(MoveSubmenu, EntryWithoutTextNeverReachesTheHost) {
    Fill("A,<null>(4),B");
    Build();
    std::vector<UINT> ids = ItemIds();
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(Labels(), (std::vector<Label>{{"A", ids[0]}, {"B", ids[1]}}));
    EXPECT_EQ(History(), "A(" + std::to_string(ids[0]) + "),B(" + std::to_string(ids[1]) + ")");
    EXPECT_TRUE(Host().unexpected.empty());
}

TEST_F(MoveSubmenu, MenuThatRefusesInsertionKeepsNoPopup) {
    Fill("F1(1)");
    HMENU gone = CreatePopupMenu();
    DestroyMenu(gone);
    BuildMoveSubmenu(gone, 1);
    EXPECT_EQ(LiveResources().ownedPopups, 0);
    EXPECT_EQ(Host().commands.size(), 1u);
    EXPECT_EQ(CallsTo("QVA_GetFolderDisplayName"), 0);
    EXPECT_EQ(History(), "F1(1)");
}

TEST_F(MoveSubmenu, ItemThatCannotBeInsertedEndsTheWalk) {
    Fill("F1,F2,F3(3)");
    int registrations = 0;
    HMENU menu = menu_;
    // The submenu disappears while the host registers the second item.
    Host().registerUiResult = [&registrations, menu](int commandId) {
        if (++registrations == 2) {
            DestroyMenu(GetSubMenu(menu, 0));
        }
        return commandId;
    };
    Build();
    std::vector<UINT> ids = ItemIds();
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(CallsTo("QVA_GetFolderDisplayName"), 2);
    EXPECT_EQ(History(),
              "F1(" + std::to_string(ids[0]) + "),F2(" + std::to_string(ids[1]) + "),F3(3)");
    EXPECT_EQ(LiveResources().ownedPopups, 0);
}

TEST_F(MoveSubmenu, EveryBuildRegistersAfresh) {
    Fill("F1");
    Build();
    Build();
    ASSERT_EQ(Host().commands.size(), 4u);
    EXPECT_NE(Host().commands[1].id, Host().commands[3].id);
    EXPECT_EQ(History(), "F1(" + std::to_string(Host().commands[3].uiId) + ")");
    EXPECT_EQ(GetMenuItemCount(menu_), 6);
}

// A folder text from the registry that code page 932 cannot hold ("café"):
// its ANSI form converts back to another folder. Each item's id is recorded
// under the ANSI text the host was given, as for any other folder, so its
// first item adds that other folder at the front.
TEST_F(MoveSubmenu, AFolderWhoseTextDoesNotConvertBackIsRecordedAsItsAnsiTextSays) {
    QVVORN_NEEDS_CODE_PAGE_932();
    const wchar_t cafe[] = L"caf\x00e9";
    const std::string ansi = cp932_text::FromWide(cafe);
    wchar_t back[8] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, back, 8);
    ASSERT_NE(std::wstring(back), std::wstring(cafe)) << "the text must not convert back";
    Fill("Alpha");
    ActiveHistory().Append(FolderName::FromWide(cafe, 4), 0);
    ActiveHistory().Append(FolderName("Beta"), 0);
    Build();

    // The other folder goes in at the front, so the walk meets "café" again
    // at the next position: its second item's id goes to that other folder.
    std::vector<UINT> ids = ItemIds();
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(Labels(), (std::vector<Label>{
                            {"Alpha", ids[0]}, {ansi, ids[1]}, {ansi, ids[2]}, {"Beta", ids[3]}}));
    EXPECT_EQ(History(), ansi + "(" + std::to_string(ids[2]) + "),Alpha(" + std::to_string(ids[0]) +
                             ")," + ansi + ",Beta(" + std::to_string(ids[3]) + ")");
    EXPECT_EQ(std::wstring(ActiveHistory().At(2).folder.Wide()), std::wstring(cafe));
}

// The comment follows the display text the host gives at each build, also
// when the host changes it and changes it back.
TEST_F(MoveSubmenu, EachBuildsCommentFollowsTheDisplayTextOfThatBuild) {
    Fill("F1,F2");
    const std::string work = cp932_text::FromWide(L"\x4ed5\x4e8b"); // 仕事
    for (const std::string& display : {work, std::string("Job"), work}) {
        SCOPED_TRACE(display);
        Host().displayNames["F1"] = display;
        Host().commands.clear();
        DestroyMenu(menu_);
        menu_ = CreatePopupMenu();
        Build();
        ASSERT_EQ(Host().commands.size(), 3u);
        EXPECT_EQ(Host().commands[1].comment, display + kMoveSuffix);
        EXPECT_EQ(Host().commands[2].comment, "F2" + kMoveSuffix);
        EXPECT_EQ(Items().front().label, display);
    }
}

// Comments are kept by item position; when a pick moves the last item to
// the front, every item stands a place further down at the next build.
TEST_F(MoveSubmenu, CommentsFollowTheirFoldersWhenTheItemsMove) {
    Fill("F1,F2,F3");
    Build();
    ASSERT_TRUE(fake_host::InvokeCommand(static_cast<int>(ItemIds()[2])));
    ASSERT_EQ(History().substr(0, 3), "F3(");
    Host().commands.clear();
    Build();
    ASSERT_EQ(Host().commands.size(), 4u);
    const std::string folders[] = {"F3", "F1", "F2"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Host().commands[i + 1].comment, folders[i] + kMoveSuffix);
    }
}

// A host that calls back into the plug-in while it registers an item: the
// entry the walk was at goes, and another folder takes its place (with a
// text as long, so its body may well take the freed memory). The item must
// not bind the other folder under the first one's label.
TEST_F(MoveSubmenu, AHostThatChangesTheHistoryMeanwhileEndsTheWalk) {
    Fill("A,B");
    Host().registerUiResult = [](int commandId) {
        if (commandId == Host().commands[1].id) {
            ActiveHistory().RemoveAt(0);
            ActiveHistory().RecordFolder("C", 0, 1);
        }
        return commandId;
    };
    Build();
    EXPECT_EQ(GetMenuItemCount(Submenu()), 0);
    EXPECT_EQ(History(), "C,B");
}

} // namespace
