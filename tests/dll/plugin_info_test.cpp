// The plug-in information record, written by the real DLL into a buffer that
// this program fills with a pattern first.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "cp932_text.h"
#include "fresh_start.h"

namespace {

struct Field {
    std::size_t offset;
    std::string text; // code page 932, without the NUL
};

std::vector<Field> ExpectedFields() {
    return {
        {0, cp932_text::FromWide(cp932_text::kPluginName)},
        {80, "Tolvenar"},
        {160, "1.0"},
        {240, cp932_text::FromWide(L"選択したメールを右クリックメニューから「送る」のように"
                                   L"フォルダへ移動できるプラグインです。")},
    };
}

std::vector<char> Pattern(unsigned seed) {
    std::vector<char> bytes(512);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 37 + seed) & 0xFF);
    }
    return bytes;
}

// The pattern with each text and its NUL written over it, and nothing else.
std::vector<char> Expected(std::vector<char> bytes) {
    for (const Field& field : ExpectedFields()) {
        std::memcpy(bytes.data() + field.offset, field.text.c_str(), field.text.size() + 1);
    }
    return bytes;
}

class PlugInInfo : public fresh_start::PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        ASSERT_NE(plugin.plugInInfo, nullptr);
    }
};

TEST_F(PlugInInfo, TextsHaveTheirCodePage932Lengths) {
    std::vector<Field> fields = ExpectedFields();
    EXPECT_EQ(fields[0].text.size(), 22u);
    EXPECT_EQ(fields[1].text.size(), 8u);
    EXPECT_EQ(fields[2].text.size(), 3u);
    EXPECT_EQ(fields[3].text.size(), 90u); // 331 bytes in all, with the NUL
}

TEST_F(PlugInInfo, WritesTheFourTextsAndNothingElse) {
    for (unsigned seed : {0x5Au, 0xA5u, 0x00u, 0xFFu}) {
        SCOPED_TRACE(seed);
        std::vector<char> record = Pattern(seed);
        EXPECT_EQ(plugin.plugInInfo(record.data()), 0);
        EXPECT_EQ(record, Expected(Pattern(seed)));
        EXPECT_EQ(plugin.plugInInfo(record.data()), 0);
        EXPECT_EQ(record, Expected(Pattern(seed)));
    }
}

TEST_F(PlugInInfo, ANullRecordIsLeftAlone) {
    EXPECT_EQ(plugin.plugInInfo(nullptr), 0);
    std::vector<char> record = Pattern(1);
    EXPECT_EQ(plugin.plugInInfo(record.data()), 0);
    EXPECT_EQ(record, Expected(Pattern(1)));
}

// Bytes 331 and on are the host's: a record of exactly 331 bytes at the end of
// a committed page is filled without touching the page after it.
TEST_F(PlugInInfo, NeedsNoMoreThan331Bytes) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    char* pages = static_cast<char*>(
        VirtualAlloc(nullptr, 2 * system.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(pages + system.dwPageSize, system.dwPageSize, PAGE_NOACCESS, &old));
    char* record = pages + system.dwPageSize - 331;
    std::memset(record, '#', 331);
    EXPECT_EQ(plugin.plugInInfo(record), 0);
    std::vector<char> expected = Expected(std::vector<char>(512, '#'));
    EXPECT_EQ(std::vector<char>(record, record + 331),
              std::vector<char>(expected.begin(), expected.begin() + 331));
    VirtualFree(pages, 0, MEM_RELEASE);
}

} // namespace
