// The settings dialog of the real QvVorn.dll, reached through the main
// window's menu and used as a person would: typing, clicking, keys.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cp932_text.h"
#include "fake_host.h"
#include "fresh_start.h"
#include "modal_dialog.h"
#include "plugin_module.h"
#include "settings_values.h"
#include "win_handles.h"
#include "code_page.h"

namespace {

using modal_dialog::HostThread;

constexpr int kEdit = 1002;
constexpr int kSpin = 1012;
constexpr DWORD kStartMax = 17;

// The plug-in loaded into this program, which is its host, with the settings
// command installed in a main menu of five submenus. Unloading it writes the
// settings to the registry, where the tests read what the dialog did.
class SettingsDialogGui : public fresh_start::PluginTest {
  protected:
    void SetUp() override { Start(kStartMax); }
    void TearDown() override {
        host_.reset();
        PluginTest::TearDown();
    }

    void Start(DWORD storedMax) {
        host_.reset();
        PluginTest::Start(storedMax);
    }

    // Installs the command in a new menu bar and picks it; the host thread
    // shows the dialog with the bar in its window. Null when none shows.
    HWND OpenFromMenu() {
        HMENU bar = plugin_module::MenuBar(5);
        EXPECT_EQ(plugin.menuInit(nullptr, bar, 0), 0);
        HMENU tools = GetSubMenu(bar, 4);
        UINT id = GetMenuItemID(tools, GetMenuItemCount(tools) - 1);
        const fake_host::Command* command = fake_host::FindCommand(static_cast<int>(id));
        if (command == nullptr || command->callback == nullptr) {
            ADD_FAILURE() << "no settings command behind menu item " << id;
            DestroyMenu(bar);
            return nullptr;
        }
        fake_host::CommandCallback callback = command->callback;
        host_.reset(new HostThread([callback, id](HWND owner) { callback(owner, id); }, bar));
        return modal_dialog::WaitForDialog(host_->id(), host_->owner());
    }

    // The value the plug-in holds, as it writes it at unload.
    std::string StoredMaxAfterUnload() {
        EXPECT_TRUE(host_ == nullptr || host_->Finished());
        host_.reset();
        plugin_module::Unload(plugin);
        return settings_values::Describe(L"VornMax");
    }

    static std::string Stored(DWORD value) { return "REG_DWORD " + std::to_string(value); }

    // Closes the dialog with `button`; the value the plug-in holds is then `value`.
    void CloseAndExpectStored(HWND dialog, int button, DWORD value) {
        modal_dialog::Click(dialog, button);
        EXPECT_TRUE(modal_dialog::WaitGone(dialog));
        EXPECT_EQ(StoredMaxAfterUnload(), Stored(value));
    }

    // Checks the warning box as the user sees it, then closes it as its OK
    // button does. Which icon it shows, Windows gives no documented way to read.
    void ExpectWarningAndClose(HWND dialog) {
        HWND box = modal_dialog::WaitForDialog(host_->id(), dialog);
        ASSERT_NE(box, nullptr) << "no warning";
        modal_dialog::ShownBox shown = modal_dialog::ReadMessageBox(box);
        EXPECT_EQ(shown.title, cp932_text::FromWide(cp932_text::kPluginName));
        EXPECT_EQ(shown.text, cp932_text::FromWide(cp932_text::kRangeWarning));
        // Only an OK box has one button; its text is Windows' own.
        EXPECT_EQ(shown.buttons.size(), 1u);
        EXPECT_FALSE(IsWindowEnabled(dialog)); // the box is modal to the dialog
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(modal_dialog::WaitGone(box));
        EXPECT_TRUE(modal_dialog::WaitUntil([dialog] { return IsWindowEnabled(dialog) != FALSE; }));
    }

    std::unique_ptr<HostThread> host_;
};

TEST_F(SettingsDialogGui, OpensFromTheMainMenuShowingTheCurrentValue) {
    QVVORN_NEEDS_CODE_PAGE_932();
    HWND dialog = OpenFromMenu();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(modal_dialog::Text(dialog), cp932_text::FromWide(cp932_text::kDialogCaption));
    EXPECT_FALSE(IsWindowEnabled(host_->owner()));

    struct Control {
        int id;
        const char* className;
        std::string text;
    };
    const Control controls[] = {
        {1007, "Button", cp932_text::FromWide(cp932_text::kDialogGroup)},
        {1008, "Static", cp932_text::FromWide(cp932_text::kMaxFoldersLabel)},
        {kEdit, "Edit", "17"},
        {kSpin, "msctls_updown32", ""},
        {IDOK, "Button", "OK"},
        {IDCANCEL, "Button", cp932_text::FromWide(cp932_text::kCancel)},
    };
    for (const Control& control : controls) {
        SCOPED_TRACE(control.id);
        HWND window = GetDlgItem(dialog, control.id);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(modal_dialog::ClassOf(window), control.className);
        EXPECT_EQ(modal_dialog::Text(window), control.text);
    }

    HWND spin = GetDlgItem(dialog, kSpin);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)),
              GetDlgItem(dialog, kEdit));
    int low = 0;
    int high = 0;
    SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 5);
    EXPECT_EQ(high, 30);
    EXPECT_EQ(LOWORD(SendMessageA(spin, UDM_GETPOS, 0, 0)), kStartMax);

    CloseAndExpectStored(dialog, IDCANCEL, kStartMax);
}

// The label reads "(M)" where its text says "(&M)": the prefix is not drawn.
std::wstring WithoutPrefix(const std::wstring& text) {
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i; // "&&" shows one "&"
        }
        shown += text[i];
    }
    return shown;
}

// The whole label, the allowed range included, fits on its one line in the
// font the control really draws with.
TEST_F(SettingsDialogGui, LabelShowsItsWholeText) {
    QVVORN_NEEDS_CODE_PAGE_932();
    HWND dialog = OpenFromMenu();
    ASSERT_NE(dialog, nullptr);
    HWND label = GetDlgItem(dialog, 1008);
    ASSERT_NE(label, nullptr);
    std::wstring text = window_input::Text(label);
    ASSERT_EQ(text, cp932_text::kMaxFoldersLabel);
    std::wstring shown = WithoutPrefix(text);

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    win_handles::WindowDc dc(label);
    win_handles::Selection selected(dc.get(), font);
    // Without a Japanese font the kanji measure as narrow blanks and prove nothing.
    std::vector<WORD> glyphs(shown.size());
    GetGlyphIndicesW(dc.get(), shown.c_str(), static_cast<int>(shown.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    ASSERT_EQ(std::count(glyphs.begin(), glyphs.end(), 0xFFFF), 0)
        << "the label's font has no Japanese glyphs (scripts/prepare.sh installs them)";
    SIZE extent = {};
    ASSERT_TRUE(
        GetTextExtentPoint32W(dc.get(), shown.c_str(), static_cast<int>(shown.size()), &extent));

    RECT client = {};
    GetClientRect(label, &client);
    EXPECT_LE(extent.cx, client.right) << "the text needs " << extent.cx << " pixels";
    modal_dialog::Click(dialog, IDCANCEL);
    EXPECT_TRUE(modal_dialog::WaitGone(dialog));
}

TEST_F(SettingsDialogGui, OkKeepsANumberFromFiveToThirty) {
    struct Case {
        const char* text;
        DWORD value;
    };
    const Case cases[] = {
        {"30", 30}, {"5", 5}, {" 7", 7}, {"7a", 7}, {"+9", 9}, {"0012", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        Start(kStartMax);
        HWND dialog = OpenFromMenu();
        ASSERT_NE(dialog, nullptr);
        SetDlgItemTextA(dialog, kEdit, c.text);
        CloseAndExpectStored(dialog, IDOK, c.value);
    }
}

TEST_F(SettingsDialogGui, OkWarnsAboutAnythingElseAndStaysOpen) {
    const std::string cases[] = {
        "31",
        "4",
        "-5",
        "",
        "1e1",
        cp932_text::FromWide(L"\xff13\xff10"), // ３０ in full-width digits
        "00012",                               // only 0001 is read
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE("\"" + text + "\"");
        Start(kStartMax);
        HWND dialog = OpenFromMenu();
        ASSERT_NE(dialog, nullptr);
        SetDlgItemTextA(dialog, kEdit, text.c_str());
        modal_dialog::Click(dialog, IDOK);
        ExpectWarningAndClose(dialog);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(modal_dialog::Text(GetDlgItem(dialog, kEdit)), text);
        CloseAndExpectStored(dialog, IDCANCEL, kStartMax);
    }
}

TEST_F(SettingsDialogGui, CorrectedTextIsAcceptedAfterTheWarning) {
    HWND dialog = OpenFromMenu();
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextA(dialog, kEdit, "31");
    modal_dialog::Click(dialog, IDOK);
    ExpectWarningAndClose(dialog);
    SetDlgItemTextA(dialog, kEdit, "29");
    CloseAndExpectStored(dialog, IDOK, 29);
}

TEST_F(SettingsDialogGui, CancelEscAndCloseBoxKeepTheValue) {
    struct Case {
        const char* name;
        std::function<void(HWND dialog)> close;
    };
    const Case cases[] = {
        {"Cancel", [](HWND d) { modal_dialog::Click(d, IDCANCEL); }},
        {"Esc", [](HWND d) { modal_dialog::PressKey(GetDlgItem(d, kEdit), VK_ESCAPE); }},
        {"close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(kStartMax);
        HWND dialog = OpenFromMenu();
        ASSERT_NE(dialog, nullptr);
        SetDlgItemTextA(dialog, kEdit, "25");
        c.close(dialog);
        EXPECT_TRUE(modal_dialog::WaitGone(dialog));
        EXPECT_EQ(StoredMaxAfterUnload(), Stored(kStartMax));
    }
}

TEST_F(SettingsDialogGui, EnterInTheNumberBoxActsAsOk) {
    HWND dialog = OpenFromMenu();
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextA(dialog, kEdit, "12");
    modal_dialog::PressKey(GetDlgItem(dialog, kEdit), VK_RETURN);
    EXPECT_TRUE(modal_dialog::WaitGone(dialog));
    EXPECT_EQ(StoredMaxAfterUnload(), Stored(12));
}

// After each step the box shows the new position, all of it selected.
void ExpectShows(HWND dialog, const std::string& text) {
    HWND edit = GetDlgItem(dialog, kEdit);
    EXPECT_TRUE(modal_dialog::WaitUntil([&] { return modal_dialog::Text(edit) == text; }))
        << "shows \"" << modal_dialog::Text(edit) << "\", not \"" << text << "\"";
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, text.size());
}

TEST_F(SettingsDialogGui, ArrowKeysStepThePosition) {
    HWND dialog = OpenFromMenu();
    ASSERT_NE(dialog, nullptr);
    HWND edit = GetDlgItem(dialog, kEdit);
    modal_dialog::PressKey(edit, VK_UP);
    ExpectShows(dialog, "18");
    modal_dialog::PressKey(edit, VK_DOWN);
    modal_dialog::PressKey(edit, VK_DOWN);
    ExpectShows(dialog, "16");
    CloseAndExpectStored(dialog, IDOK, 16);
}

TEST_F(SettingsDialogGui, ArrowsStopAtFiveAndThirty) {
    struct Case {
        DWORD start;
        UINT past; // the key that would leave the range
        UINT back;
        const char* shown;
    };
    const Case cases[] = {
        {30, VK_UP, VK_DOWN, "28"},
        {5, VK_DOWN, VK_UP, "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        Start(c.start);
        HWND dialog = OpenFromMenu();
        ASSERT_NE(dialog, nullptr);
        HWND edit = GetDlgItem(dialog, kEdit);
        modal_dialog::PressKey(edit, c.past);
        modal_dialog::PressKey(edit, c.back);
        modal_dialog::PressKey(edit, c.back);
        ExpectShows(dialog, c.shown);
        CloseAndExpectStored(dialog, IDCANCEL, c.start);
    }
}

TEST_F(SettingsDialogGui, ArrowClicksStepThePosition) {
    HWND dialog = OpenFromMenu();
    ASSERT_NE(dialog, nullptr);
    const std::pair<bool, const char*> clicks[] = {{true, "18"}, {true, "19"}, {false, "18"}};
    for (const auto& [up, shown] : clicks) {
        modal_dialog::ClickArrow(GetDlgItem(dialog, kSpin), up);
        ExpectShows(dialog, shown);
    }
    CloseAndExpectStored(dialog, IDOK, 18);
}

// The arrows step the number the box shows, typed or not, also past the
// control's own limit (opened at 30, 20 and Up give 21); with no number from
// 5 to 30 there, the position they last showed. The control's own position
// follows each step: an empty box and an arrow then go on from there.
TEST_F(SettingsDialogGui, ArrowsStepTheNumberTheBoxShows) {
    enum Arrow { kNone, kKeyUp, kKeyDown, kClickUp };
    struct Case {
        DWORD start;
        bool steppedFirst; // Up once before typing
        const char* typed;
        Arrow arrow;
        const char* shown;
        Arrow again = kNone; // then this one, the box emptied
        const char* shownAgain = nullptr;
    };
    const Case cases[] = {
        {17, false, "29", kKeyUp, "30"},
        {17, true, "20", kKeyDown, "19"},
        {17, false, "7", kClickUp, "8"},
        {17, false, " 30", kKeyUp, "30"},
        {17, true, "abc", kKeyUp, "19"},
        {17, false, "00012", kClickUp, "18"},
        {17, true, "31", kKeyDown, "17"},
        {30, false, "20", kKeyUp, "21", kKeyUp, "22"},
        {5, false, "20", kKeyDown, "19", kKeyDown, "18"},
        {17, false, "25", kClickUp, "26", kKeyDown, "25"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + ", \"" + c.typed + "\"");
        Start(c.start);
        HWND dialog = OpenFromMenu();
        ASSERT_NE(dialog, nullptr);
        HWND edit = GetDlgItem(dialog, kEdit);
        auto step = [&](Arrow arrow) {
            arrow == kClickUp ? modal_dialog::ClickArrow(GetDlgItem(dialog, kSpin), true)
                              : modal_dialog::PressKey(edit, arrow == kKeyUp ? VK_UP : VK_DOWN);
        };
        if (c.steppedFirst) {
            step(kKeyUp);
            ExpectShows(dialog, std::to_string(c.start + 1));
        }
        SetDlgItemTextA(dialog, kEdit, c.typed);
        step(c.arrow);
        ExpectShows(dialog, c.shown);
        const char* last = c.shown;
        if (c.shownAgain != nullptr) {
            SetDlgItemTextA(dialog, kEdit, "");
            step(c.again);
            ExpectShows(dialog, last = c.shownAgain);
        }
        CloseAndExpectStored(dialog, IDOK, static_cast<DWORD>(std::stoul(last)));
    }
}

TEST_F(SettingsDialogGui, EveryMainMenuInitAddsAnotherCommand) {
    HMENU bar = CreateMenu();
    for (int i = 0; i < 5; ++i) {
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "Menu");
    }
    plugin.menuInit(nullptr, bar, 0);
    plugin.menuInit(nullptr, bar, 0);
    plugin_module::Unload(plugin);
    std::vector<plugin_module::MenuItem> items = plugin_module::ReadMenu(GetSubMenu(bar, 4));
    ASSERT_EQ(items.size(), 4u);
    ASSERT_EQ(fake_host::TheHost().commands.size(), 2u);
    EXPECT_EQ(items[0].type, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(items[2].type, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(items[1].id, static_cast<UINT>(fake_host::TheHost().commands[0].id));
    EXPECT_EQ(items[3].id, static_cast<UINT>(fake_host::TheHost().commands[1].id));
    EXPECT_EQ(items[1].label, items[3].label);
    DestroyMenu(bar);
}

} // namespace
