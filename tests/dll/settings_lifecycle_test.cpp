#include <gtest/gtest.h>

#include "settings_values.h"

namespace {

TEST(SettingsLifecycle, FirstLoadCreatesDefaults) {
    ASSERT_TRUE(settings_values::DeleteKey());
    ASSERT_TRUE(settings_values::CreateKey());
    HMODULE module = LoadLibraryA("QvVorn.dll");
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_EQ(settings_values::Describe(L"VornMax"), "REG_DWORD 10");
    EXPECT_EQ(settings_values::Describe(L"VornFolder"), "REG_SZ 0 bytes: \"\"");
    FreeLibrary(module);
    EXPECT_EQ(settings_values::Describe(L"VornMax"), "REG_DWORD 10");
}

} // namespace
