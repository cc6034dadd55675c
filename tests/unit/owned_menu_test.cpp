#include <gtest/gtest.h>

#include <windows.h>

#include "common/resource_counts.h"
#include "ui/owned_menu.h"

namespace {

TEST(OwnedMenu, DestroysAPopupNoMenuTookOver) {
    HMENU handle = nullptr;
    {
        OwnedMenu popup = CreateOwnedPopup();
        ASSERT_TRUE(popup);
        handle = popup.get();
        EXPECT_TRUE(IsMenu(handle));
        EXPECT_EQ(LiveResources().ownedPopups, 1);
        OwnedMenu moved(std::move(popup));
        EXPECT_FALSE(popup);
        EXPECT_EQ(moved.get(), handle);
        EXPECT_EQ(LiveResources().ownedPopups, 1);
    }
    EXPECT_FALSE(IsMenu(handle));
    EXPECT_EQ(LiveResources().ownedPopups, 0);
}

TEST(OwnedMenu, ReleasedPopupBelongsToTheMenuHoldingIt) {
    HMENU menu = CreatePopupMenu();
    HMENU handle = nullptr;
    {
        OwnedMenu popup = CreateOwnedPopup();
        ASSERT_TRUE(popup);
        ASSERT_TRUE(AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), "Sub"));
        handle = HandOver(popup);
        EXPECT_FALSE(popup);
        EXPECT_EQ(LiveResources().ownedPopups, 0);
    }
    EXPECT_TRUE(IsMenu(handle));
    EXPECT_EQ(GetSubMenu(menu, 0), handle);
    DestroyMenu(menu);
    EXPECT_FALSE(IsMenu(handle));
}

} // namespace
