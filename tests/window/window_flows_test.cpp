// Our windowed host with the real QvVorn.dll, used as a person would: a
// right-click in the message list and a pick in the move submenu, a drag onto
// a folder, the settings item of the fifth menu. The host moves the mail; the
// plug-in's history and cap reach the registry when the window is closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cp932_text.h"
#include "modal_dialog.h"
#include "screen_pixels.h"
#include "settings_values.h"
#include "window_input.h"
#include "windowed_host.h"
#include "code_page.h"

namespace {

using window_input::Highlighted;
using window_input::PressKey;
using window_input::WaitUntil;

const wchar_t kWork[] = L"\x4ed5\x4e8b";                             // 仕事
const wchar_t kFamily[] = L"\x5bb6\x65cf";                           // 家族
const wchar_t kReadOnly[] = L"\x8aad\x307f\x53d6\x308a\x5c02\x7528"; // 読み取り専用
const wchar_t kMinutes[] = L"\x8b70\x4e8b\x9332";                    // 議事録, in 仕事
const wchar_t kTrip[] = L"\x6765\x9031\x306e\x51fa\x5f35";           // 来週の出張, in 仕事
const wchar_t kMeeting[] = L"\x4f1a\x8b70\x306e\x65e5\x7a0b\x306b\x3064\x3044\x3066"; // 受信箱
const wchar_t kWeekend[] = L"\x9031\x672b\x306e\x4e88\x5b9a";                         // 受信箱
const wchar_t kInvoice[] = L"\x8acb\x6c42\x66f8\x306e\x9001\x4ed8";                   // 受信箱
const wchar_t kPhotos[] = L"\x5199\x771f\x3092\x9001\x308a\x307e\x3059";              // 受信箱
const wchar_t kBirthday[] = L"\x8a95\x751f\x65e5\x306e\x304a\x795d\x3044";            // 家族
const wchar_t kInboxIdle[] = L"\x53d7\x4fe1\x7bb1: 4 \x901a"; // 受信箱: 4 通

class WindowFlows : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(settings_values::EmptyKey()); }

    void Start() {
        host_.reset(new WindowedHost());
        ASSERT_NE(host_->window(), nullptr) << "the main window did not show";
    }

    // The status bar keeps `text` for a while: nothing the host does changes it.
    void ExpectStatusStays(const std::wstring& text) {
        EXPECT_FALSE(WaitUntil([&] { return host_->Status() != text; }, 500))
            << "the status bar says something new";
    }

    // Closing the window unloads the plug-in, which writes its settings.
    void CloseWindow() {
        ASSERT_TRUE(host_->Close());
        EXPECT_EQ(GetModuleHandleA("QvVorn.dll"), nullptr);
    }

    static bool Contains(const std::vector<std::wstring>& subjects, const wchar_t* subject) {
        return std::find(subjects.begin(), subjects.end(), subject) != subjects.end();
    }

    // Right-click on message `row`, then down onto the move submenu and into
    // it; the submenu, with its first item highlighted.
    HMENU OpenMoveSubmenu(int row) {
        window_input::Click(host_->list(), WM_RBUTTONDOWN, host_->MessagePoint(row));
        if (!WaitUntil([&] { return host_->Menus().size() == 1; })) {
            ADD_FAILURE() << "no context menu";
            return nullptr;
        }
        menuWindow_ = host_->Menus().front();
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow_, MN_GETHMENU, 0, 0));
        EXPECT_EQ(Label(menu, 0), cp932_text::FromWide(cp932_text::kSubmenuLabel));
        HMENU submenu = GetSubMenu(menu, 0);
        if (submenu == nullptr) {
            ADD_FAILURE() << "no submenu at the top of the context menu";
            return nullptr;
        }
        PressKey(menuWindow_, VK_DOWN);
        EXPECT_TRUE(WaitUntil([&] { return Highlighted(menu, 0); }));
        PressKey(menuWindow_, VK_RIGHT);
        EXPECT_TRUE(WaitUntil([&] { return Highlighted(submenu, 0); }));
        return submenu;
    }

    // The move submenu shows exactly the folders `names`; closed again after.
    void ExpectMoveSubmenu(const std::vector<const wchar_t*>& names) {
        HMENU submenu = OpenMoveSubmenu(0);
        ASSERT_NE(submenu, nullptr);
        ASSERT_EQ(GetMenuItemCount(submenu), static_cast<int>(names.size()));
        for (size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(Label(submenu, static_cast<int>(i)), cp932_text::FromWide(names[i]));
        }
        PressKey(menuWindow_, VK_ESCAPE);
        PressKey(menuWindow_, VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return host_->Menus().empty(); }));
    }

    std::unique_ptr<WindowedHost> host_;
    HWND menuWindow_ = nullptr;
};

// The open folder's item is greyed (its state is 1); the status bar names the
// highlighted item's move; the pick moves the message there.
TEST_F(WindowFlows, PickInTheMoveSubmenuMovesTheMessageThere) {
    QVVORN_NEEDS_CODE_PAGE_932();
    ASSERT_TRUE(settings_values::SetText(L"VornFolder", L"\\Inbox\\Work*??*\\Inbox\\Family"));
    Start();
    ASSERT_TRUE(host_->OpenFolder(kWork));
    ASSERT_EQ(host_->Subjects(), (std::vector<std::wstring>{kMinutes, kTrip}));

    HMENU submenu = OpenMoveSubmenu(0);
    ASSERT_NE(submenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(submenu), 2);
    EXPECT_EQ(Label(submenu, 0), cp932_text::FromWide(kWork));
    EXPECT_EQ(Label(submenu, 1), cp932_text::FromWide(kFamily));
    EXPECT_NE(GetMenuState(submenu, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuState(submenu, 1, MF_BYPOSITION) & MF_GRAYED, 0u);

    PressKey(menuWindow_, VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(submenu, 1); }));
    EXPECT_TRUE(WaitForStatus(*host_, std::wstring(kFamily) + cp932_text::kMoveSuffix));
    PressKey(menuWindow_, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return host_->Subjects() == std::vector<std::wstring>{kTrip}; }));
    ASSERT_TRUE(host_->OpenFolder(kFamily));
    EXPECT_TRUE(Contains(host_->Subjects(), kMinutes));

    CloseWindow();
    EXPECT_EQ(settings_values::Text(L"VornFolder"), L"\\Inbox\\Family*??*\\Inbox\\Work");
}

// The host refuses a move into the read-only folder: the mail stays, and the
// plug-in drops the folder from its next menu and from what it saves.
TEST_F(WindowFlows, RefusedMoveDropsTheFolderFromTheHistory) {
    QVVORN_NEEDS_CODE_PAGE_932();
    ASSERT_TRUE(settings_values::SetText(L"VornFolder", L"\\Archive\\ReadOnly*??*\\Inbox\\Work"));
    Start();
    std::vector<std::wstring> inbox = host_->Subjects();
    ASSERT_EQ(inbox.size(), 4u);

    HMENU submenu = OpenMoveSubmenu(0);
    ASSERT_NE(submenu, nullptr);
    ASSERT_EQ(Label(submenu, 0), cp932_text::FromWide(kReadOnly));
    PressKey(menuWindow_, VK_RETURN);
    // 「読み取り専用」へは移動できません
    EXPECT_TRUE(WaitForStatus(*host_, L"\x300c" + std::wstring(kReadOnly) +
                                          L"\x300d\x3078\x306f\x79fb\x52d5\x3067\x304d\x307e"
                                          L"\x305b\x3093"));
    EXPECT_EQ(host_->Subjects(), inbox);

    ExpectMoveSubmenu({kWork});

    CloseWindow();
    EXPECT_EQ(settings_values::Text(L"VornFolder"), L"\\Inbox\\Work");
}

// A plain drop moves, a drop with Ctrl held copies; both folders enter the
// history, the last one first.
TEST_F(WindowFlows, DropOntoAFolderMovesAndWithCtrlCopies) {
    Start();
    ASSERT_EQ(host_->Subjects().at(0), kMeeting);
    ASSERT_TRUE(host_->DragMessage(0, kWork, false));
    ASSERT_TRUE(WaitUntil([&] { return host_->Subjects().size() == 3; }));
    EXPECT_FALSE(Contains(host_->Subjects(), kMeeting));

    ASSERT_EQ(host_->Subjects().at(0), kWeekend);
    ASSERT_TRUE(host_->DragMessage(0, kFamily, true));
    // 1 通を「家族」へコピーしました
    EXPECT_TRUE(WaitForStatus(*host_, L"1 \x901a\x3092\x300c" + std::wstring(kFamily) +
                                          L"\x300d\x3078\x30b3\x30d4\x30fc"));
    EXPECT_TRUE(Contains(host_->Subjects(), kWeekend));
    EXPECT_EQ(host_->Subjects().size(), 3u);

    ASSERT_TRUE(host_->OpenFolder(kWork));
    EXPECT_TRUE(Contains(host_->Subjects(), kMeeting));
    ASSERT_TRUE(host_->OpenFolder(kFamily));
    EXPECT_TRUE(Contains(host_->Subjects(), kWeekend));

    CloseWindow();
    EXPECT_EQ(settings_values::Text(L"VornFolder"), L"\\Inbox\\Family*??*\\Inbox\\Work");
}

// Alt+T opens the fifth menu, where the plug-in's item opens its dialog owned
// by the main window; an out-of-range number is refused, 12 is kept.
TEST_F(WindowFlows, SettingsItemOfTheFifthMenuSetsTheCap) {
    QVVORN_NEEDS_CODE_PAGE_932();
    ASSERT_TRUE(settings_values::SetDword(L"VornMax", 10));
    Start();
    PressKey(host_->window(), 'T', true);
    ASSERT_TRUE(WaitUntil([&] { return host_->Menus().size() == 1; }));
    HWND menuWindow = host_->Menus().front();
    HMENU tools = GetSubMenu(GetMenu(host_->window()), 4);
    int last = GetMenuItemCount(tools) - 1;
    ASSERT_EQ(Label(tools, last), cp932_text::FromWide(cp932_text::kSettingsLabel));
    PressKey(menuWindow, VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(tools, last); }));
    EXPECT_TRUE(WaitForStatus(*host_, cp932_text::kSettingsComment));
    PressKey(menuWindow, VK_RETURN);

    HWND dialog = modal_dialog::WaitForDialog(host_->threadId(), host_->window());
    ASSERT_NE(dialog, nullptr) << "no settings dialog owned by the main window";
    EXPECT_FALSE(IsWindowEnabled(host_->window()));
    HWND edit = GetDlgItem(dialog, 1002);
    PostMessageW(edit, EM_SETSEL, 0, -1);
    window_input::Type(edit, L"31");
    modal_dialog::Click(dialog, IDOK);
    HWND warning = modal_dialog::WaitForDialog(host_->threadId(), dialog);
    ASSERT_NE(warning, nullptr) << "no warning for 31";
    modal_dialog::ShownBox shown = modal_dialog::ReadMessageBox(warning);
    EXPECT_EQ(shown.title, cp932_text::FromWide(cp932_text::kPluginName));
    EXPECT_EQ(shown.text, cp932_text::FromWide(cp932_text::kRangeWarning));
    EXPECT_EQ(shown.buttons.size(), 1u); // an OK box
    PostMessageA(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(modal_dialog::WaitGone(warning));

    PostMessageW(edit, EM_SETSEL, 0, -1);
    window_input::Type(edit, L"12");
    modal_dialog::Click(dialog, IDOK);
    ASSERT_TRUE(modal_dialog::WaitGone(dialog));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(host_->window()) != FALSE; }));

    CloseWindow();
    EXPECT_EQ(settings_values::Describe(L"VornMax"), "REG_DWORD 12");
}

// OK or Esc in the settings dialog gives the keyboard back to the message
// list, which had it before: Down then selects the next message.
TEST_F(WindowFlows, SettingsDialogGivesTheKeyboardBackToTheList) {
    Start();
    // The plug-in's item, last in the fifth menu, picked as a menu pick posts
    // it: a menu opened from the keyboard now could be closed by the X focus
    // events of the dialog just gone.
    HMENU tools = GetSubMenu(GetMenu(host_->window()), 4);
    UINT settings = GetMenuItemID(tools, GetMenuItemCount(tools) - 1);
    // Under Wine with no window manager, the X focus events of the dialog
    // just gone may hand the foreground to the desktop, as another program
    // taking it would: that is the display's doing, so the window, still
    // enabled, is made active again.
    auto keyboardInTheList = [&] {
        if (host_->Active() == nullptr && GetForegroundWindow() == GetDesktopWindow() &&
            IsWindowEnabled(host_->window())) {
            SetForegroundWindow(host_->window());
        }
        return host_->Focus() == host_->list();
    };
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Esc");
        PostMessageW(host_->window(), WM_COMMAND, settings, 0);
        HWND dialog = modal_dialog::WaitForDialog(host_->threadId(), host_->window());
        ASSERT_NE(dialog, nullptr);
        ok ? modal_dialog::Click(dialog, IDOK) : PressKey(GetDlgItem(dialog, 1002), VK_ESCAPE);
        ASSERT_TRUE(modal_dialog::WaitGone(dialog));
        EXPECT_TRUE(WaitUntil(keyboardInTheList))
            << "focus " << host_->Focus() << ", active " << host_->Active() << ", foreground "
            << GetForegroundWindow() << "; the list " << host_->list();
    }
    PressKey(host_->Focus(), VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return host_->SelectedRows() == std::vector<int>{1}; }));
}

// The mail client has its settings key from its first start; our host makes
// it at start, so what the plug-in saves at the first close comes back at the
// next start.
TEST_F(WindowFlows, SecondRunShowsTheListTheFirstRunLeft) {
    QVVORN_NEEDS_CODE_PAGE_932();
    ASSERT_TRUE(settings_values::DeleteKey());
    Start();
    EXPECT_TRUE(settings_values::KeyExists());
    ASSERT_TRUE(host_->DragMessage(0, kWork, false));
    ASSERT_TRUE(WaitUntil([&] { return host_->Subjects().size() == 3; }));
    CloseWindow();
    EXPECT_EQ(settings_values::Text(L"VornFolder"), L"\\Inbox\\Work");
    EXPECT_EQ(settings_values::Describe(L"VornMax"), "REG_DWORD 10");

    Start();
    ExpectMoveSubmenu({kWork});
    CloseWindow();
}

// The placeholder of an empty list has no command (id 0): picking it does
// nothing, and the host says nothing about it.
TEST_F(WindowFlows, PlaceholderDoesNothing) {
    Start();
    ASSERT_TRUE(WaitForStatus(*host_, kInboxIdle));
    HMENU submenu = OpenMoveSubmenu(0);
    ASSERT_NE(submenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(submenu), 1);
    ASSERT_EQ(GetMenuItemID(submenu, 0), 0u);
    PressKey(menuWindow_, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return host_->Menus().empty(); }));
    ExpectStatusStays(kInboxIdle);
    EXPECT_EQ(host_->Subjects().size(), 4u);
}

// A pick with no message selected has nothing to move: the mail stays and
// the status bar says nothing.
TEST_F(WindowFlows, PickWithNothingSelectedMovesNothing) {
    ASSERT_TRUE(settings_values::SetText(L"VornFolder", L"\\Inbox\\Family"));
    Start();
    ASSERT_TRUE(WaitForStatus(*host_, kInboxIdle));
    window_input::Click(host_->list(), WM_LBUTTONDOWN, host_->BelowMessages());
    ASSERT_TRUE(WaitUntil([&] { return host_->SelectedRows().empty(); }));
    window_input::Click(host_->list(), WM_RBUTTONDOWN, host_->BelowMessages());
    ASSERT_TRUE(WaitUntil([&] { return host_->Menus().size() == 1; }));
    menuWindow_ = host_->Menus().front();
    PressKey(menuWindow_, VK_DOWN);
    PressKey(menuWindow_, VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return host_->Menus().size() == 2; }));
    PressKey(menuWindow_, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return host_->Menus().empty(); }));
    ExpectStatusStays(kInboxIdle);
    EXPECT_EQ(host_->Subjects().size(), 4u);
    ASSERT_TRUE(host_->OpenFolder(kFamily));
    EXPECT_EQ(host_->Subjects(), std::vector<std::wstring>{kBirthday});
}

// After a move the message now in the first moved one's place is selected
// (the last one when the list ends there); moved mail goes in by date.
TEST_F(WindowFlows, MoveSelectsTheNextMessageAndFilesByDate) {
    Start();
    ASSERT_EQ(host_->Subjects().at(2), kInvoice); // 2024/05/12 15:03
    ASSERT_TRUE(host_->DragMessage(2, kFamily, false));
    ASSERT_TRUE(WaitUntil([&] { return host_->Subjects().size() == 3; }));
    EXPECT_EQ(host_->SelectedRows(), std::vector<int>{2});
    ASSERT_EQ(host_->Subjects().at(2), kPhotos); // 2024/05/11 18:27
    ASSERT_TRUE(host_->DragMessage(2, kFamily, false));
    ASSERT_TRUE(WaitUntil([&] { return host_->Subjects().size() == 2; }));
    EXPECT_EQ(host_->SelectedRows(), std::vector<int>{1});

    ASSERT_TRUE(host_->OpenFolder(kFamily)); // held 2024/05/08 08:03
    EXPECT_EQ(host_->Subjects(), (std::vector<std::wstring>{kInvoice, kPhotos, kBirthday}));
}

// Held Ctrl shows the copy cursor over a folder; the copy leaves the list,
// and what is selected in it, as they were.
TEST_F(WindowFlows, CtrlDragShowsTheCopyCursorAndKeepsTheSelection) {
    Start();
    std::vector<std::wstring> inbox = host_->Subjects();
    ASSERT_TRUE(host_->StartDrag(1));
    ASSERT_NE(host_->DragOver(kFamily, 0), nullptr);
    HCURSOR moving = host_->Cursor();
    HTREEITEM family = host_->DragOver(kFamily, MK_CONTROL);
    HCURSOR copying = host_->Cursor();
    EXPECT_NE(copying, moving);
    EXPECT_NE(copying, LoadCursorA(nullptr, IDC_NO));
    ASSERT_TRUE(host_->Drop(family, MK_CONTROL));
    EXPECT_TRUE(WaitForStatus(*host_, L"1 \x901a\x3092")); // 1 通を
    EXPECT_EQ(host_->Subjects(), inbox);
    EXPECT_EQ(host_->SelectedRows(), std::vector<int>{1});
}

// Ctrl held from the press on the selected message drags it, still selected,
// and copies it; a Ctrl+click alone still toggles it. Only a drop that filed
// mail reaches the plug-in, not one onto the read-only folder, which refuses it.
TEST_F(WindowFlows, CtrlPressDragsACopyAndOnlyFiledMailMakesADrop) {
    Start();
    ASSERT_TRUE(host_->DragMessage(0, kReadOnly, false));
    ASSERT_TRUE(host_->DragMessage(0, kFamily, true));
    EXPECT_TRUE(WaitForStatus(*host_, L"1 \x901a\x3092\x300c" + std::wstring(kFamily) +
                                          L"\x300d\x3078\x30b3\x30d4\x30fc")); // を「家族」へコピー
    EXPECT_EQ(host_->SelectedRows(), std::vector<int>{0});
    window_input::Click(host_->list(), WM_LBUTTONDOWN, host_->MessagePoint(0), MK_CONTROL);
    EXPECT_TRUE(WaitUntil([&] { return host_->SelectedRows().empty(); }));
    CloseWindow();
    EXPECT_EQ(settings_values::Text(L"VornFolder"), L"\\Inbox\\Family");
}

// Maximised, the window shows what a repaint of all of it shows: nothing of
// the smaller window (the size grip, the header's right edge) is left. What
// the screen shows is what counts here, not what the window would draw now.
TEST_F(WindowFlows, MaximisedWindowKeepsNothingOfItsSmallerSize) {
    Start();
    PostMessageW(host_->window(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(host_->window()) != FALSE; }));
    std::string why;
    auto onScreen = [&] { return screen_pixels::WhereShown(host_->window(), &why); };
    std::optional<screen_pixels::Picture> shown = screen_pixels::Settled(onScreen);
    if (!shown && !why.empty()) {
        GTEST_SKIP() << why;
    }
    ASSERT_TRUE(shown) << "the maximised window never settled on the screen";
    RedrawWindow(host_->window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    std::optional<screen_pixels::Picture> repainted = screen_pixels::Settled(onScreen);
    ASSERT_TRUE(repainted) << "the repainted window never settled on the screen";
    EXPECT_TRUE(shown->pixels == repainted->pixels);
}

// Once the message list has the keys, the tree still marks the open folder
// (TVS_SHOWSELALWAYS) as Windows draws a selection without the focus: its
// label on the button face. The tree's own drawing is what shows it.
TEST_F(WindowFlows, TreeMarksTheOpenFolderWhileTheListHasTheKeys) {
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_NE(face, GetSysColor(COLOR_WINDOW)) << "a mark on the button face would not show";
    Start();
    ASSERT_TRUE(host_->OpenFolder(kFamily));
    window_input::Click(host_->list(), WM_LBUTTONDOWN, host_->MessagePoint(0));
    ASSERT_TRUE(WaitUntil([&] { return host_->Focus() == host_->list(); }));
    for (const wchar_t* folder : {kFamily, kWork}) {
        bool open = folder == kFamily;
        SCOPED_TRACE(open ? "the open folder" : "another folder");
        ASSERT_NE(host_->Folder(folder), nullptr);
        RECT label = host_->LabelRect(host_->Folder(folder));
        std::optional<screen_pixels::Picture> shown =
            screen_pixels::Settled([&] { return screen_pixels::Drawn(host_->tree(), label); });
        ASSERT_TRUE(shown) << "the tree drew nothing, or never the same twice";
        // Most of a label is the background around its text.
        size_t pixels = shown->pixels.size() / 4;
        size_t onFace = screen_pixels::Count(*shown, face);
        EXPECT_EQ(onFace > pixels / 2, open) << onFace << " of " << pixels << " pixels";
    }
}

TEST_F(WindowFlows, CtrlASelectsEveryMessage) {
    Start();
    ASSERT_EQ(host_->SelectedRows().size(), 1u);
    EXPECT_TRUE(host_->PressWithCtrl('A', [&] { return host_->SelectedRows().size() == 4; }));
}

} // namespace
