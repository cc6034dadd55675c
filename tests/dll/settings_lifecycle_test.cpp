// The real DLL loaded and unloaded by a host: what it leaves in the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings_values.h"

namespace {

using settings_values::Describe;

class SettingsLifecycle : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(settings_values::EmptyKey()); }
    void TearDown() override { settings_values::DeleteKey(); }

    // Loads and unloads the DLL; returns the values seen while it was loaded.
    std::string LoadAndUnload() {
        HMODULE module = LoadLibraryA("QvVorn.dll");
        EXPECT_NE(module, nullptr) << GetLastError();
        std::string during = Describe(L"VornMax") + " | " + Describe(L"VornFolder");
        if (module != nullptr) {
            EXPECT_TRUE(FreeLibrary(module));
        }
        return during;
    }
};

TEST_F(SettingsLifecycle, FirstLoadCreatesDefaults) {
    EXPECT_EQ(LoadAndUnload(), "REG_DWORD 10 | REG_SZ 0 bytes: \"\"");
    EXPECT_EQ(Describe(L"VornMax"), "REG_DWORD 10");
    EXPECT_EQ(Describe(L"VornFolder"), "REG_SZ 0 bytes: \"\"");
}

TEST_F(SettingsLifecycle, AStoredListSurvivesTheRoundTrip) {
    settings_values::SetText(L"VornFolder", L"Alpha*Beta?Gamma");
    settings_values::SetDword(L"VornMax", 3);
    EXPECT_EQ(LoadAndUnload(), "REG_DWORD 3 | REG_SZ 34 bytes: \"Alpha*Beta?Gamma\"");
    // Rewritten in the joined form, with the cap in use.
    EXPECT_EQ(Describe(L"VornMax"), "REG_DWORD 10");
    EXPECT_EQ(Describe(L"VornFolder"), "REG_SZ 46 bytes: \"Alpha*??*Beta*??*Gamma\"");
    LoadAndUnload();
    EXPECT_EQ(Describe(L"VornFolder"), "REG_SZ 46 bytes: \"Alpha*??*Beta*??*Gamma\"");
}

TEST_F(SettingsLifecycle, AMissingKeyIsNotCreated) {
    ASSERT_TRUE(settings_values::DeleteKey());
    LoadAndUnload();
    EXPECT_FALSE(settings_values::KeyExists());
}

} // namespace
