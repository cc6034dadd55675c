// A host that answers oddly: null and empty texts, failed registrations,
// huge folder texts, a huge stored list, menus that refuse items. The plug-in
// must not crash, must give back every resource, and must keep the list.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "fake_host.h"
#include "plugin_module.h"
#include "resource_report.h"
#include "settings_values.h"
#include "code_page.h"

namespace {

using plugin_module::MenuItem;

struct ResourceCounts {
    volatile LONG folderBodies;
    volatile LONG registryKeys;
    volatile LONG ownedPopups;
};
using ProbeResources = const ResourceCounts*(WINAPI*)();

class HostileHost : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(settings_values::EmptyKey());
        fake_host::ResetHost();
    }
    void TearDown() override {
        if (plugin.module != nullptr) {
            resource_report::UnloadLeavingNothing(plugin);
        }
        settings_values::DeleteKey();
        fake_host::ResetHost();
    }

    void Load() {
        plugin = plugin_module::Load(L"QvVornProbe.dll");
        ASSERT_NE(plugin.module, nullptr) << GetLastError();
        probe = reinterpret_cast<ProbeResources>(
            GetProcAddress(plugin.module, "QvVornProbe_Resources"));
        ASSERT_NE(probe, nullptr);
    }

    // Shows the context menu and returns the submenu's items.
    std::vector<MenuItem> ContextMenu() {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 100, "Reply");
        EXPECT_EQ(plugin.menuInit(nullptr, menu, 1), 0);
        HMENU submenu = GetSubMenu(menu, 0);
        std::vector<MenuItem> items =
            submenu != nullptr ? plugin_module::ReadMenu(submenu) : std::vector<MenuItem>();
        DestroyMenu(menu);
        EXPECT_EQ(probe()->ownedPopups, 0);
        return items;
    }

    plugin_module::Plugin plugin;
    ProbeResources probe = nullptr;
};

TEST_F(HostileHost, NullAndEmptyTextsFromEveryHostFunction) {
    struct Answers {
        const char* name;
        std::optional<std::string> version;
        std::optional<std::string> display;
        std::optional<std::string> current;
        size_t items;         // move items expected in the submenu
        const wchar_t* saved; // VornFolder after unload
    };
    const Answers cases[] = {
        {"null version, null display", std::nullopt, std::nullopt, std::nullopt, 0,
         L"Beta*??*Alpha"},
        {"empty version, empty display", std::string(), std::string(), std::string(), 0,
         L"Beta*??*Alpha"},
        {"null current folder", std::string("2.00.06"), std::string("x"), std::nullopt, 2,
         L"Alpha*??*Beta"},
        {"empty current folder", std::string("2.00.06"), std::string("x"), std::string(), 2,
         L"Alpha*??*Beta"},
    };
    for (const Answers& c : cases) {
        SCOPED_TRACE(c.name);
        settings_values::DeleteValue(L"VornFolder");
        fake_host::ResetHost();
        fake_host::TheHost().version = c.version;
        fake_host::TheHost().currentFolder = c.current;
        for (const char* folder : {"Alpha", "Beta"}) {
            fake_host::TheHost().displayNames[folder] = c.display;
        }
        Load();
        plugin.dragDrop("Alpha", 0, 0, 1);
        plugin.dragDrop("Beta", 0, 0, 2);
        std::vector<MenuItem> items = ContextMenu();
        size_t moveItems = 0;
        for (const MenuItem& item : items) {
            moveItems += item.id != 0 ? 1 : 0;
        }
        EXPECT_EQ(moveItems, c.items);
        if (c.items == 2) {
            // Pick the second item (Alpha): no current folder, or an empty one, differs from it.
            fake_host::InvokeCommand(static_cast<int>(items[1].id));
            ASSERT_EQ(fake_host::TheHost().moves.size(), 1u);
            EXPECT_EQ(fake_host::TheHost().moves[0], "Alpha");
            EXPECT_EQ(fake_host::QueryState(static_cast<int>(items[1].id)), 0);
        }
        resource_report::UnloadLeavingNothing(plugin);
        // An empty display text drops the entry; a null one stops the walk only.
        std::wstring expected = c.display && c.display->empty() ? L"" : c.saved;
        EXPECT_EQ(settings_values::Text(L"VornFolder"), expected);
        EXPECT_TRUE(fake_host::TheHost().unexpected.empty());
    }
}

TEST_F(HostileHost, EveryRegistrationFails) {
    fake_host::TheHost().registerCommandResult = [](const std::string&, int) { return 0; };
    Load();
    plugin.dragDrop("Alpha", 0, 0, 1);
    EXPECT_TRUE(ContextMenu().empty()) << "no item and no placeholder: the history is not empty";

    HMENU bar = plugin_module::MenuBar(5);
    EXPECT_EQ(plugin.menuInit(nullptr, bar, 0), 0);
    // The settings item goes in with the id the host gave, 0.
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 4)), 3);
    DestroyMenu(bar);

    fake_host::ResetHost();
    fake_host::TheHost().registerUiResult = [](int) { return 0; };
    EXPECT_TRUE(ContextMenu().empty());
    resource_report::UnloadLeavingNothing(plugin);
    EXPECT_EQ(settings_values::Text(L"VornFolder"), L"Alpha");
}

TEST_F(HostileHost, FolderTextsOf64KiB) {
    QVVORN_NEEDS_CODE_PAGE_932();
    std::string ascii(65535, 'a');
    std::string japanese;
    for (int i = 0; i < 32767; ++i) {
        japanese += "\x95\x5c"; // 表: a double-byte character ending in a backslash
    }
    Load();
    plugin.dragDrop(ascii.c_str(), 0, 0, 1);
    plugin.dragDrop(japanese.c_str(), 0, 0, 1);
    std::vector<MenuItem> items = ContextMenu();
    ASSERT_EQ(items.size(), 2u);
    fake_host::TheHost().currentFolder = std::string("elsewhere");
    fake_host::InvokeCommand(static_cast<int>(items[1].id));
    ASSERT_EQ(fake_host::TheHost().moves.size(), 1u);
    EXPECT_EQ(fake_host::TheHost().moves[0], ascii);
    fake_host::TheHost().currentFolder = japanese;
    EXPECT_EQ(fake_host::QueryState(static_cast<int>(items[0].id)), 1);
    resource_report::UnloadLeavingNothing(plugin);
    std::wstring stored = settings_values::Text(L"VornFolder");
    EXPECT_EQ(stored, std::wstring(65535, L'a') + L"*??*" + std::wstring(32767, L'\x8868'));

    fake_host::ResetHost();
    Load();
    fake_host::TheHost().currentFolder = ascii;
    items = ContextMenu();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(fake_host::QueryState(static_cast<int>(items[0].id)), 1);
}

TEST_F(HostileHost, AHundredThousandStoredFoldersAreTrimmedByTheFirstMenu) {
    settings_values::SetText(L"VornFolder", settings_values::NumberedFolders(L"F", 1, 100000));
    settings_values::SetDword(L"VornMax", 12);
    auto start = std::chrono::steady_clock::now();
    Load();
    auto loaded = std::chrono::steady_clock::now();
    std::vector<MenuItem> items = ContextMenu();
    auto built = std::chrono::steady_clock::now();
    ASSERT_EQ(items.size(), 12u);
    EXPECT_EQ(items[0].label, "F1");
    EXPECT_EQ(items[11].label, "F12");
    resource_report::UnloadLeavingNothing(plugin);
    auto ms = [](auto a, auto b) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count();
    };
    std::printf("[ measure  ] 100,000 stored folders: load %lld ms, first menu %lld ms\n",
                static_cast<long long>(ms(start, loaded)),
                static_cast<long long>(ms(loaded, built)));
    EXPECT_EQ(settings_values::Text(L"VornFolder"), settings_values::NumberedFolders(L"F", 1, 12));
}

TEST_F(HostileHost, MenusThatRefuseItems) {
    Load();
    plugin.dragDrop("Alpha", 0, 0, 1);

    HMENU gone = CreatePopupMenu();
    DestroyMenu(gone);
    size_t before = fake_host::TheHost().commands.size();
    EXPECT_EQ(plugin.menuInit(nullptr, gone, 1), 0);
    EXPECT_EQ(probe()->ownedPopups, 0);
    EXPECT_EQ(fake_host::TheHost().commands.size(), before + 1) << "only the submenu's own command";
    EXPECT_EQ(plugin.menuInit(nullptr, nullptr, 1), 0);
    EXPECT_EQ(plugin.menuInit(nullptr, gone, 0), 0);
    EXPECT_EQ(plugin.menuInit(nullptr, nullptr, 0), 0);

    // Menu bars without a fifth submenu.
    HMENU shortBar = plugin_module::MenuBar(3);
    EXPECT_EQ(plugin.menuInit(nullptr, shortBar, 0), 0);
    EXPECT_EQ(GetMenuItemCount(shortBar), 3);
    HMENU plainFifth = plugin_module::MenuBar(4);
    AppendMenuA(plainFifth, MF_STRING, 55, "plain item");
    EXPECT_EQ(plugin.menuInit(nullptr, plainFifth, 0), 0);
    EXPECT_EQ(GetMenuItemCount(plainFifth), 5);
    DestroyMenu(shortBar);
    DestroyMenu(plainFifth);

    std::vector<MenuItem> items = ContextMenu();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].label, "Alpha");
    resource_report::UnloadLeavingNothing(plugin);
    EXPECT_EQ(settings_values::Text(L"VornFolder"), L"Alpha");
}

} // namespace
