// Reading VornFolder into memory when its data has an odd length. For string
// types the platform writes a NUL terminator after the data even when the
// count it was given leaves no room (a one-byte value gets two bytes written
// past it), so the block must be larger than the count.
#include <gtest/gtest.h>

#include <windows.h>

#include <malloc.h>

#include "history/plugin_settings.h"
#include "history/settings_registry.h"
#include "settings_values.h"

namespace {

class HistoryValueRead : public ::testing::TestWithParam<DWORD> {
  protected:
    void SetUp() override { ASSERT_TRUE(settings_values::EmptyKey()); }
    void TearDown() override { settings_values::DeleteKey(); }
};

TEST_P(HistoryValueRead, OddDataLeavesRoomForTheTerminator) {
    const unsigned char data[] = {'x', 'y', 'z'};
    struct Case {
        DWORD size;
        std::size_t folders; // a last odd byte is no unit
    };
    for (Case c : {Case{1, 0}, Case{3, 1}}) {
        SCOPED_TRACE(c.size);
        ASSERT_TRUE(settings_values::SetRaw(L"VornFolder", GetParam(), data, c.size));
        PluginSettings settings;
        EXPECT_EQ(settings.history.Count(), c.folders);
        StoredText text = ReadHistoryValue(KeyLocation{HKEY_CURRENT_USER, kSettingsKeyPath});
        ASSERT_NE(text.bytes, nullptr);
        EXPECT_EQ(text.size, c.size);
        EXPECT_EQ(text.bytes[0], 'x');
        EXPECT_GE(_msize(text.bytes.get()), text.size + sizeof(wchar_t));
    }
}

INSTANTIATE_TEST_SUITE_P(Types, HistoryValueRead,
                         ::testing::Values(REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY));

} // namespace
