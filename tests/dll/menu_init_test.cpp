// QVC_OnMenuInit through the real DLL: which menu types it acts on.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "fake_host.h"
#include "fresh_start.h"
#include "plugin_module.h"

namespace {

// The menu's items and those of its submenus, one level down.
std::string Shape(HMENU menu) {
    std::string shape;
    for (const plugin_module::MenuItem& item : plugin_module::ReadMenu(menu)) {
        shape += "[" + item.label + " " + std::to_string(item.id);
        if (item.submenu != nullptr) {
            for (const plugin_module::MenuItem& inner : plugin_module::ReadMenu(item.submenu)) {
                shape += " (" + inner.label + " " + std::to_string(inner.id) + ")";
            }
        }
        shape += "]";
    }
    return shape;
}

class MenuInit : public fresh_start::PluginTest {
  protected:
    void SetUp() override {
        Start(10, L"Alpha*??*Beta");
        fake_host::ResetHost();
        bar = plugin_module::MenuBar(5); // as the host's main window has
        context = CreatePopupMenu();
        AppendMenuA(context, MF_STRING, 200, "reply");
        AppendMenuA(context, MF_STRING, 201, "forward");
    }
    void TearDown() override {
        DestroyMenu(bar);
        DestroyMenu(context);
        PluginTest::TearDown();
    }

    HMENU bar = nullptr;
    HMENU context = nullptr;
};

TEST_F(MenuInit, OtherMenuTypesChangeNothing) {
    const std::string barBefore = Shape(bar);
    const std::string contextBefore = Shape(context);
    for (int type : {2, 3, -1, 0x100, 0x10000, 0x10001, 0x7FFFFFFF}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(plugin.menuInit(nullptr, bar, type), 0);
        EXPECT_EQ(plugin.menuInit(nullptr, context, type), 0);
        EXPECT_EQ(plugin.menuInit(nullptr, nullptr, type), 0);
    }
    EXPECT_EQ(Shape(bar), barBefore);
    EXPECT_EQ(Shape(context), contextBefore);
    EXPECT_TRUE(fake_host::TheHost().calls.empty());
    EXPECT_TRUE(fake_host::TheHost().unexpected.empty());
}

// The comparison above sees a change: types 0 and 1 make one.
TEST_F(MenuInit, TypesZeroAndOneChangeTheirMenus) {
    const std::string barBefore = Shape(bar);
    const std::string contextBefore = Shape(context);
    EXPECT_EQ(plugin.menuInit(nullptr, bar, 0), 0);
    EXPECT_EQ(plugin.menuInit(nullptr, context, 1), 0);
    EXPECT_NE(Shape(bar), barBefore);
    EXPECT_NE(Shape(context), contextBefore);
    ASSERT_FALSE(fake_host::TheHost().commands.empty());
    EXPECT_EQ(fake_host::TheHost().commands.front().menuType, 0);
    EXPECT_EQ(fake_host::TheHost().commands.back().menuType, 1);
}

// The window argument is not read.
TEST_F(MenuInit, AnyWindowValueIsAccepted) {
    HWND junk = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0xDEAD0000));
    EXPECT_EQ(plugin.menuInit(junk, context, 7), 0);
    EXPECT_TRUE(fake_host::TheHost().calls.empty());
}

} // namespace
