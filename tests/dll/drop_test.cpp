// Messages dropped on a folder, through the real DLL: the history is read back
// from the registry after the module is unloaded, which writes it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "cp932_text.h"
#include "fake_host.h"
#include "fresh_start.h"
#include "code_page.h"

namespace {

class Drop : public fresh_start::PluginTest {
  protected:
    // A stored list in single separators: any save rewrites it with "*??*".
    void SetUp() override { Start(10, L"Alpha*Beta*Gamma"); }
};

TEST_F(Drop, KindsOneAndTwoPutANewFolderFirst) {
    EXPECT_EQ(plugin.dragDrop("Delta", 0, 0, 1), 0);
    EXPECT_EQ(plugin.dragDrop("Epsilon", 0, 0, 2), 0);
    EXPECT_EQ(SavedFolders(), L"Epsilon*??*Delta*??*Alpha*??*Beta*??*Gamma");
}

TEST_F(Drop, AFolderAlreadyListedMovesToTheFront) {
    EXPECT_EQ(plugin.dragDrop("Gamma", 0, 0, 1), 0);
    EXPECT_EQ(plugin.dragDrop("Beta", 0, 0, 2), 0);
    EXPECT_EQ(SavedFolders(), L"Beta*??*Gamma*??*Alpha");
}

TEST_F(Drop, OtherKindsChangeNothing) {
    for (int kind : {0, 3, 4, -1, 0x101, 0x10001, 0x10002, 0x7FFFFFFF}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(plugin.dragDrop("Delta", 1, 2, kind), 0);
    }
    EXPECT_EQ(SavedFolders(), L"Alpha*??*Beta*??*Gamma");
}

TEST_F(Drop, TheSecondAndThirdArgumentsAreNotRead) {
    EXPECT_EQ(plugin.dragDrop("Delta", 0xFFFFFFFF, 0x12345678, 1), 0);
    EXPECT_EQ(SavedFolders(), L"Delta*??*Alpha*??*Beta*??*Gamma");
}

TEST_F(Drop, NullOrEmptyFolderIsNotRecorded) {
    for (int kind : {1, 2}) {
        EXPECT_EQ(plugin.dragDrop(nullptr, 0, 0, kind), 0);
        EXPECT_EQ(plugin.dragDrop("", 0, 0, kind), 0);
    }
    EXPECT_EQ(SavedFolders(), L"Alpha*??*Beta*??*Gamma");
}

TEST_F(Drop, ANewFolderOnAFullListDropsTheLast) {
    Start(5, L"F1*??*F2*??*F3*??*F4*??*F5");
    EXPECT_EQ(plugin.dragDrop("F6", 0, 0, 1), 0);
    EXPECT_EQ(SavedFolders(), L"F6*??*F1*??*F2*??*F3*??*F4");
}

TEST_F(Drop, AListedFolderOnAFullListDropsNothing) {
    Start(5, L"F1*??*F2*??*F3*??*F4*??*F5");
    EXPECT_EQ(plugin.dragDrop("F5", 0, 0, 2), 0);
    EXPECT_EQ(SavedFolders(), L"F5*??*F1*??*F2*??*F3*??*F4");
}

TEST_F(Drop, CodePage932FolderIsStoredAsUtf16) {
    QVVORN_NEEDS_CODE_PAGE_932();
    std::string folder = cp932_text::FromWide(L"受信箱\\ソフト表示");
    EXPECT_EQ(plugin.dragDrop(folder.c_str(), 0, 0, 1), 0);
    EXPECT_EQ(SavedFolders(), L"受信箱\\ソフト表示*??*Alpha*??*Beta*??*Gamma");
}

TEST_F(Drop, TheHostsBufferIsNotKept) {
    std::string folder = "Delta";
    EXPECT_EQ(plugin.dragDrop(folder.c_str(), 0, 0, 1), 0);
    folder.assign("XXXXX");
    EXPECT_EQ(SavedFolders(), L"Delta*??*Alpha*??*Beta*??*Gamma");
}

TEST_F(Drop, AsksTheHostNothing) {
    fake_host::ResetHost();
    EXPECT_EQ(plugin.dragDrop("Delta", 0, 0, 1), 0);
    EXPECT_TRUE(fake_host::TheHost().calls.empty());
}

} // namespace
