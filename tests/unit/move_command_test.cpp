#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/resource_counts.h"
#include "cp932_text.h"
#include "fake_host.h"
#include "fake_host_api.h"
#include "shell/plugin_instance.h"
#include "ui/folder_text_match.h"
#include "ui/move_command.h"
#include "code_page.h"

namespace {

using MoveCommand = fake_host_api::HostedTest;
using Folder = std::optional<std::string>; // the open folder as the host gives it

TEST_F(MoveCommand, TakesTheIdFromTheLowSixteenBits) {
    struct Case {
        DWORD param;
        const char* moved; // null: nothing moved
    };
    const Case cases[] = {
        {0x00000005, "F1"},
        {0x00010005, "F1"},
        {0xFFFF0007, "F2"},
        // Low bits 0: no command, even though an entry is unbound (id 0).
        {0x00050000, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.param);
        fake_host::ResetHost();
        Host().currentFolder = "Elsewhere";
        Fill("F1(5),F2(7),Unbound");
        OnMoveCommand(nullptr, c.param);
        if (c.moved == nullptr) {
            EXPECT_TRUE(Host().moves.empty());
            EXPECT_EQ(History(), "F1(5),F2(7),Unbound");
        } else {
            EXPECT_EQ(Host().moves, std::vector<std::string>{c.moved});
        }
    }
}

TEST_F(MoveCommand, StateTakesTheIdFromTheLowSixteenBits) {
    Fill("F1(5),F2(7),Unbound");
    Host().currentFolder = "F1";
    EXPECT_EQ(OnMoveCommandState(0, 0x00000005), 1);
    EXPECT_EQ(OnMoveCommandState(0xDEADBEEF, 0x00010005), 1);
    EXPECT_EQ(OnMoveCommandState(0, 0xFFFF0007), 0);
    // Id 0 is no command, even where the open folder is an unbound entry.
    Host().currentFolder = "Unbound";
    EXPECT_EQ(OnMoveCommandState(0, 0x00050000), 0);
    EXPECT_EQ(OnMoveCommandState(0, 0), 0);
}

TEST_F(MoveCommand, PickingTheOpenFolderMovesNothing) {
    Fill("F1(11),F2(12),F3(13)");
    Host().currentFolder = "F2";
    OnMoveCommand(nullptr, 12);
    EXPECT_EQ(CallsTo("QVA_MoveSelectedMessages"), 0);
    EXPECT_EQ(History(), "F1(11),F2(12),F3(13)");
}

TEST_F(MoveCommand, FoldersMatchOnlyByteForByte) {
    struct Case {
        const char* name;
        const char* entry;
        const char* current;
        bool same;
    };
    const Case cases[] = {
        {"equal", "Inbox\\Work", "Inbox\\Work", true},
        {"equal double-byte", "\x95\x5c\x8e\xa6", "\x95\x5c\x8e\xa6", true}, // 表示
        {"letter case", "Inbox", "inbox", false},
        {"second byte of a double-byte character", "\x83\x5c", "\x83\x5d", false}, // ソ, ゾ
        {"first byte of a double-byte character", "\x83\x5c", "\x82\x5c", false},
        {"longer current folder", "Box", "Box ", false},
        {"shorter current folder", "Box", "Bo", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_host::ResetHost();
        Fill("First(3)");
        ActiveHistory().Append(FolderName(c.entry), 4);
        Host().currentFolder = c.current;
        EXPECT_EQ(OnMoveCommandState(0, 4), c.same ? 1 : 0);
        OnMoveCommand(nullptr, 4);
        if (c.same) {
            EXPECT_TRUE(Host().moves.empty());
        } else {
            EXPECT_EQ(Host().moves, std::vector<std::string>{c.entry});
        }
    }
}

TEST_F(MoveCommand, HostResultMovesToFrontOrForgets) {
    struct Case {
        int result;
        const char* after;
    };
    const Case cases[] = {
        {1, "F3(13),F1(11),F2(12),F4(14)"},
        {0, "F1(11),F2(12),F4(14)"},
        {2, "F1(11),F2(12),F4(14)"},
        {-1, "F1(11),F2(12),F4(14)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        fake_host::ResetHost();
        fake_host::TheHost().moveResult = c.result;
        Host().currentFolder = "F1";
        Fill("F1(11),F2(12),F3(13),F4(14)");
        OnMoveCommand(nullptr, 13);
        EXPECT_EQ(Host().moves, std::vector<std::string>{"F3"});
        EXPECT_EQ(History(), c.after);
    }
}

TEST_F(MoveCommand, SuccessfulMoveTrimsToTheCap) {
    Fill("F1(1),F2(2),F3(3),F4(4),F5(5),F6(6),F7(7),F8(8)");
    maxFolders = 5;
    OnMoveCommand(nullptr, 7);
    EXPECT_EQ(History(), "F7(7),F1(1),F2(2),F3(3),F4(4)");
}

TEST_F(MoveCommand, FrontEntryKeepsTheFolderBytesAndNothingLeaks) {
    const char kFolder[] = "\x95\x5c\x8e\xa6\\\x83\x5c\x83t\x83g"; // 表示\ソフト
    Fill("F1(1),F2(2)");
    ActiveHistory().Append(FolderName(kFolder), 3);
    LONG bodies = LiveResources().folderBodies;
    OnMoveCommand(nullptr, 3);
    EXPECT_EQ(Host().moves, std::vector<std::string>{kFolder});
    ASSERT_EQ(ActiveHistory().Count(), 3u);
    EXPECT_STREQ(ActiveHistory().At(0).folder.Ansi(), kFolder);
    EXPECT_EQ(ActiveHistory().At(0).commandId, 3);
    EXPECT_EQ(LiveResources().folderBodies, bodies);
}

// A command whose entry has gone (trimmed, removed, or from an earlier
// build) must not ask the host to move mail to an empty folder name.
TEST_F(MoveCommand, CommandThatNoEntryHoldsDoesNothing) {
    Fill("F1(11),F2(12)");
    for (const Folder& current : {Folder(""), Folder("F1"), Folder()}) {
        Host().currentFolder = current;
        EXPECT_EQ(OnMoveCommandState(0, 99), 0);
        OnMoveCommand(nullptr, 99);
        EXPECT_TRUE(Host().moves.empty());
        EXPECT_EQ(History(), "F1(11),F2(12)");
    }
}

TEST_F(MoveCommand, EntryWithoutTextIsNeitherComparedNorMovedTo) {
    Fill("<null>(9),F1(11)");
    for (const Folder& current : {Folder(), Folder(""), Folder("F1")}) {
        Host().currentFolder = current;
        EXPECT_EQ(OnMoveCommandState(0, 9), 0);
        OnMoveCommand(nullptr, 9);
        EXPECT_TRUE(Host().moves.empty());
        EXPECT_EQ(History(), "<null>(9),F1(11)");
    }
    EXPECT_TRUE(fake_host::TheHost().unexpected.empty());
}

TEST_F(MoveCommand, NoOpenFolderDiffersFromEveryFolder) {
    Fill("F1(11),F2(12)");
    Host().currentFolder = std::nullopt;
    EXPECT_EQ(OnMoveCommandState(0, 12), 0);
    OnMoveCommand(nullptr, 12);
    EXPECT_EQ(Host().moves, std::vector<std::string>{"F2"});
    EXPECT_EQ(History(), "F2(12),F1(11)");
}

TEST_F(MoveCommand, StateFollowsTheOpenFolderWithoutRebuilding) {
    Fill("F1(11),F2(12),F3(13)");
    Host().currentFolder = "F1";
    EXPECT_EQ(OnMoveCommandState(0, 11), 1);
    EXPECT_EQ(OnMoveCommandState(0, 12), 0);
    Host().currentFolder = "F2";
    EXPECT_EQ(OnMoveCommandState(0, 11), 0);
    EXPECT_EQ(OnMoveCommandState(0, 12), 1);
    EXPECT_EQ(OnMoveCommandState(0, 13), 0);
}

TEST_F(MoveCommand, NothingTheHostRaisesLeavesTheCallbacks) {
    Fill("F1(11),F2(12)");
    Host().currentFolder = "Elsewhere";
    fake_host_api::TheFaults().moveRaises = true;
    EXPECT_NO_THROW(OnMoveCommand(nullptr, 12));
    EXPECT_EQ(History(), "F1(11),F2(12)");

    fake_host_api::TheFaults() = fake_host_api::Faults();
    fake_host_api::TheFaults().currentFolderRaises = true;
    Host().currentFolder = "F2";
    int state = -1;
    EXPECT_NO_THROW(state = OnMoveCommandState(0, 12));
    EXPECT_EQ(state, 0);
    EXPECT_NO_THROW(OnMoveCommand(nullptr, 11));
    EXPECT_TRUE(Host().moves.empty());
    EXPECT_EQ(History(), "F1(11),F2(12)");
}

TEST(SameFolderText, MissingTextMatchesNothing) {
    EXPECT_FALSE(SameFolderText(nullptr, nullptr));
    EXPECT_FALSE(SameFolderText("", nullptr));
    EXPECT_FALSE(SameFolderText(nullptr, ""));
    EXPECT_TRUE(SameFolderText("", ""));
}

// An entry whose text does not convert back (a registry text with "é"): the
// host is asked to move to what a copy of its ANSI text names, and that
// folder is what goes to the front.
TEST_F(MoveCommand, AFolderWhoseTextDoesNotConvertBackIsMovedToAsItsAnsiTextSays) {
    QVVORN_NEEDS_CODE_PAGE_932();
    const wchar_t cafe[] = L"caf\x00e9";
    const std::string ansi = cp932_text::FromWide(cafe);
    ActiveHistory().Append(FolderName::FromWide(cafe, 4), 7);
    OnMoveCommand(nullptr, 7);
    EXPECT_EQ(Host().moves, std::vector<std::string>{ansi});
    EXPECT_EQ(History(), ansi + "(7)," + ansi + "(7)");
    EXPECT_EQ(std::wstring(ActiveHistory().At(1).folder.Wide()), std::wstring(cafe));
}

} // namespace
