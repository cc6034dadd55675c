// The settings store against Wine's real registry.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/resource_counts.h"
#include "failing_allocation.h"
#include "history/plugin_settings.h"
#include "history/settings_registry.h"
#include "history_text.h"
#include "settings_values.h"
#include "code_page.h"

namespace {

using settings_values::Dword;
using settings_values::GetRaw;
using settings_values::RawValue;
using settings_values::SetRaw;

// The UTF-16LE bytes of `text`, without a terminator.
std::vector<unsigned char> Text(const std::wstring& text) {
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text.data());
    return std::vector<unsigned char>(data, data + text.size() * sizeof(wchar_t));
}

// What RegSetValueExW stores for a NUL-terminated text of n characters
// counted without its NUL: the platform adds the terminator itself.
std::vector<unsigned char> StoredByPlatform(const std::wstring& text) {
    return text.empty() ? std::vector<unsigned char>() : Text(text + L'\0');
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(settings_values::EmptyKey());
        maxFolders = 10;
        bodies = LiveResources().folderBodies;
        keys = LiveResources().registryKeys;
    }
    void TearDown() override {
        EXPECT_EQ(LiveResources().folderBodies, bodies) << "a folder body leaked";
        EXPECT_EQ(LiveResources().registryKeys, keys) << "a registry key was left open";
        settings_values::DeleteKey();
        maxFolders = 10;
    }

    LONG bodies = 0;
    LONG keys = 0;
};

struct MaxCase {
    const char* name;
    std::optional<DWORD> type; // nullopt: value missing
    std::vector<unsigned char> bytes;
    std::uint32_t loaded;
    std::optional<RawValue> afterLoad; // nullopt: as the platform stored it
};

TEST_F(SettingsStoreTest, VornMaxRangeAndTypes) {
    const MaxCase cases[] = {
        {"missing", std::nullopt, {}, 10, Dword(10)},
        {"5", REG_DWORD, {5, 0, 0, 0}, 5, Dword(5)},
        {"30", REG_DWORD, {30, 0, 0, 0}, 30, Dword(30)},
        {"4", REG_DWORD, {4, 0, 0, 0}, 10, Dword(4)},
        {"31", REG_DWORD, {31, 0, 0, 0}, 10, Dword(31)},
        {"0", REG_DWORD, {0, 0, 0, 0}, 10, Dword(0)},
        {"0xFFFFFFFF", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, 10, Dword(0xFFFFFFFF)},
        {"high byte set", REG_DWORD, {20, 0, 0, 1}, 10, Dword(0x01000014)},
        {"one byte binary", REG_BINARY, {25}, 25, RawValue{REG_BINARY, {25}}},
        // The platform may add a terminator to the text (see SetRaw); either way
        // the number is read from what is stored, and loading leaves it alone.
        {"two bytes of text", REG_SZ, {12, 0}, 12, std::nullopt},
        {"no data", REG_DWORD, {}, 10, RawValue{REG_DWORD, {}}},
        {"qword is too long", REG_QWORD, {7, 0, 0, 0, 0, 0, 0, 0}, 10, Dword(10)},
        {"five bytes", REG_BINARY, {7, 0, 0, 0, 0}, 10, Dword(10)},
    };
    for (const MaxCase& c : cases) {
        SCOPED_TRACE(c.name);
        settings_values::DeleteValue(L"VornMax");
        if (c.type) {
            ASSERT_TRUE(SetRaw(L"VornMax", *c.type, c.bytes.data(), c.bytes.size()));
        }
        std::optional<RawValue> expected = c.afterLoad ? c.afterLoad : GetRaw(L"VornMax");
        ASSERT_TRUE(expected.has_value());
        {
            PluginSettings settings;
            EXPECT_EQ(maxFolders, c.loaded);
            std::optional<RawValue> stored = GetRaw(L"VornMax");
            ASSERT_TRUE(stored.has_value());
            EXPECT_EQ(stored->type, expected->type);
            EXPECT_EQ(stored->bytes, expected->bytes);
        }
        std::optional<RawValue> saved = GetRaw(L"VornMax");
        ASSERT_TRUE(saved.has_value());
        EXPECT_EQ(saved->type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(saved->bytes, Dword(c.loaded).bytes) << "unload writes the value in use";
    }
}

struct FolderCase {
    const char* name;
    DWORD type;
    std::vector<unsigned char> bytes;
    const char* loaded;   // the history, as history_text describes it
    const wchar_t* saved; // VornFolder after unload; nullptr: untouched
};

std::vector<unsigned char> OddBytes(const std::wstring& text) {
    std::vector<unsigned char> bytes = Text(text);
    bytes.push_back(0x41);
    return bytes;
}

TEST_F(SettingsStoreTest, VornFolderShapes) {
    QVVORN_NEEDS_CODE_PAGE_932();
    const FolderCase cases[] = {
        {"three folders", REG_SZ, Text(L"Alpha*??*Beta*??*Gamma"), "Alpha,Beta,Gamma",
         L"Alpha*??*Beta*??*Gamma"},
        {"single separators", REG_SZ, Text(L"Alpha*Beta?Gamma"), "Alpha,Beta,Gamma",
         L"Alpha*??*Beta*??*Gamma"},
        {"leading, trailing and doubled", REG_SZ, Text(L"*??*Alpha*??**??*Beta*??*"), "Alpha,Beta",
         L"Alpha*??*Beta"},
        {"stored with a NUL at the end", REG_SZ, Text(std::wstring(L"Alpha*??*Beta") + L'\0'),
         "Alpha,Beta", L"Alpha*??*Beta"},
        {"stops at an inner NUL", REG_SZ, Text(std::wstring(L"Alpha\0Beta", 10)), "Alpha",
         L"Alpha"},
        {"odd byte count", REG_SZ, OddBytes(L"Alpha*??*Beta"), "Alpha,Beta", L"Alpha*??*Beta"},
        {"one odd byte", REG_SZ, {0x41}, "", nullptr},
        {"other type", REG_BINARY, Text(L"Alpha*??*Beta"), "Alpha,Beta", L"Alpha*??*Beta"},
        {"same folder twice", REG_SZ, Text(L"Alpha*??*Alpha"), "Alpha,Alpha", L"Alpha*??*Alpha"},
        {"spaces are kept", REG_SZ, Text(L" Alpha *??*beta"), " Alpha ,beta", L" Alpha *??*beta"},
        {"separators only", REG_SZ, Text(L"*??**"), "", nullptr},
        {"japanese", REG_SZ, Text(L"\x30BD\x30D5\x30C8*??*\x8868\x793A"),
         "\x83\x5c\x83\x74\x83\x67,\x95\x5c\x8e\xa6", L"\x30BD\x30D5\x30C8*??*\x8868\x793A"},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SetRaw(L"VornFolder", c.type, c.bytes.data(), c.bytes.size()));
        RawValue before = *GetRaw(L"VornFolder"); // as the platform stored it
        {
            PluginSettings settings;
            EXPECT_EQ(history_text::Describe(settings.history), c.loaded);
            for (std::size_t i = 0; i < settings.history.Count(); ++i) {
                EXPECT_EQ(settings.history.At(i).commandId, 0);
            }
        }
        std::optional<RawValue> saved = GetRaw(L"VornFolder");
        ASSERT_TRUE(saved.has_value());
        if (c.saved == nullptr) {
            EXPECT_EQ(saved->type, before.type);
            EXPECT_EQ(saved->bytes, before.bytes)
                << "an empty history leaves the stored list alone";
        } else {
            EXPECT_EQ(saved->type, static_cast<DWORD>(REG_SZ));
            EXPECT_EQ(saved->bytes, StoredByPlatform(c.saved));
        }
    }
}

TEST_F(SettingsStoreTest, TheStoredExampleIs44BytesPlusTheTerminatorThePlatformAdds) {
    {
        PluginSettings settings;
        history_text::Fill(settings.history, "Alpha,Beta,Gamma");
    }
    std::optional<RawValue> saved = GetRaw(L"VornFolder");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(saved->bytes.size(), 46u);
    EXPECT_EQ(std::vector<unsigned char>(saved->bytes.begin(), saved->bytes.begin() + 44),
              Text(L"Alpha*??*Beta*??*Gamma"));
}

TEST_F(SettingsStoreTest, SavingEntriesWithoutText) {
    struct SaveCase {
        const char* history;
        std::wstring stored;
    };
    const SaveCase cases[] = {
        {"Alpha,,Beta", L"Alpha*??**??*Beta"},
        {"Alpha,<null>,Beta", L"Alpha*??**??*Beta"},
        {"", L""},
        {"<null>", L""},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.history);
        settings_values::SetText(L"VornFolder", L"Old");
        {
            PluginSettings settings;
            history_text::Fill(settings.history, c.history);
            if (std::string(c.history).empty()) {
                settings.history.Append(FolderName(""), 0);
            }
        }
        std::optional<RawValue> saved = GetRaw(L"VornFolder");
        ASSERT_TRUE(saved.has_value());
        EXPECT_EQ(saved->bytes, StoredByPlatform(c.stored));
    }
    {
        PluginSettings settings;
        EXPECT_EQ(history_text::Describe(settings.history), "");
    }
    settings_values::SetText(L"VornFolder", L"Alpha*??**??*Beta");
    PluginSettings settings;
    EXPECT_EQ(history_text::Describe(settings.history), "Alpha,Beta");
}

TEST_F(SettingsStoreTest, FortyStoredFoldersLoadUncappedAndTrimAtTheFirstRecord) {
    const std::wstring stored = settings_values::NumberedFolders(L"F", 1, 40);
    settings_values::SetText(L"VornFolder", stored);
    {
        PluginSettings settings;
        EXPECT_EQ(settings.history.Count(), 40u);
        EXPECT_EQ(maxFolders, 10u);
    }
    EXPECT_EQ(GetRaw(L"VornFolder")->bytes, StoredByPlatform(stored)) << "all 40 saved";
    {
        PluginSettings settings;
        settings.history.RecordFolder("F3", 0, 1);
        EXPECT_EQ(history_text::Describe(settings.history), "F3,F1,F2,F4,F5,F6,F7,F8,F9,F10");
    }
    EXPECT_EQ(GetRaw(L"VornFolder")->bytes,
              StoredByPlatform(L"F3*??*F1*??*F2*??*F4*??*F5*??*F6*??*F7*??*F8*??*F9*??*F10"));
}

TEST_F(SettingsStoreTest, FirstRunCreatesBothValues) {
    {
        PluginSettings settings;
        EXPECT_EQ(maxFolders, 10u);
        EXPECT_EQ(settings.history.Count(), 0u);
        std::optional<RawValue> folder = GetRaw(L"VornFolder");
        ASSERT_TRUE(folder.has_value());
        EXPECT_EQ(folder->type, static_cast<DWORD>(REG_SZ));
        EXPECT_TRUE(folder->bytes.empty());
        EXPECT_EQ(GetRaw(L"VornMax")->bytes, Dword(10).bytes);
    }
    EXPECT_TRUE(GetRaw(L"VornFolder")->bytes.empty());
}

TEST_F(SettingsStoreTest, AMissingKeyIsNeitherCreatedNorWritten) {
    ASSERT_TRUE(settings_values::DeleteKey());
    {
        PluginSettings settings;
        EXPECT_EQ(maxFolders, 10u);
        EXPECT_EQ(settings.history.Count(), 0u);
        settings.history.RecordFolder("Alpha", 0, 1);
        maxFolders = 20;
    }
    EXPECT_FALSE(settings_values::KeyExists());
    const KeyLocation key{HKEY_CURRENT_USER, kSettingsKeyPath};
    EXPECT_EQ(WriteMaxValue(key, 20), kStatusFail);
    EXPECT_EQ(WriteHistoryValue(key, L"x"), kStatusFail);
    EXPECT_EQ(EnsureMaxValue(key), kStatusFail);
    EXPECT_EQ(EnsureHistoryValue(key), kStatusFail);
    EXPECT_EQ(ReadMaxValue(key), 0u);
    EXPECT_EQ(ReadHistoryValue(key).bytes, nullptr);
    EXPECT_EQ(WriteHistoryValue(key, nullptr), kStatusInvalidArg);
    EXPECT_FALSE(settings_values::KeyExists());
}

TEST_F(SettingsStoreTest, AnEmptyHistoryKeepsTheStoredListForTheNextRun) {
    settings_values::SetText(L"VornFolder", L"Alpha*??*Beta");
    RawValue before = *GetRaw(L"VornFolder");
    {
        PluginSettings settings;
        settings.history.RemoveAt(0);
        settings.history.RemoveAt(0);
        maxFolders = 7;
    }
    EXPECT_EQ(GetRaw(L"VornFolder")->bytes, before.bytes);
    EXPECT_EQ(GetRaw(L"VornMax")->bytes, Dword(7).bytes) << "VornMax is still written";
    PluginSettings settings;
    EXPECT_EQ(history_text::Describe(settings.history), "Alpha,Beta");
}

TEST_F(SettingsStoreTest, AStarOrQuestionMarkInAFolderSplitsItAtTheNextLoad) {
    {
        PluginSettings settings;
        settings.history.RecordFolder("a*b?c", 0, 1);
    }
    PluginSettings settings;
    EXPECT_EQ(history_text::Describe(settings.history), "a,b,c");
}

TEST_F(SettingsStoreTest, ALoadThatRunsOutOfMemoryStartsEmptyAndLosesNothing) {
    settings_values::SetText(L"VornFolder", L"Alpha*??*Beta*??*Gamma");
    settings_values::SetDword(L"VornMax", 7);
    RawValue stored = *GetRaw(L"VornFolder");
    long failedBefore = failing_allocation::FailedAllocations();
    bool sawPartialLoad = false;
    for (long succeeding = 0; succeeding < 40; ++succeeding) {
        SCOPED_TRACE(succeeding);
        std::optional<PluginSettings> settings;
        {
            failing_allocation::FailingAllocation failing(succeeding);
            settings.emplace(); // must not throw
        }
        std::size_t count = settings->history.Count();
        EXPECT_TRUE(count == 0 || count == 3) << "all folders or none";
        sawPartialLoad = sawPartialLoad || count == 0;
        settings.reset();
        if (count == 0) {
            EXPECT_EQ(GetRaw(L"VornFolder")->bytes, stored.bytes) << "the stored list is kept";
        }
        EXPECT_EQ(GetRaw(L"VornMax")->bytes, Dword(7).bytes) << "the stored cap is kept";
    }
    EXPECT_TRUE(sawPartialLoad);
    EXPECT_GT(failing_allocation::FailedAllocations(), failedBefore);
}

// A load that fails part way writes back at unload what it did read: the cap
// once it was read (an out-of-range one as the default), never the default
// in place of one it did not read, and a cap the user chose since, whatever
// was read. The stored list is written only when it was read whole: a list
// that holds only what was dropped since would lose the stored folders.
TEST_F(SettingsStoreTest, ALoadThatFailsPartWayWritesBackWhatItReadAndTheChosenCap) {
    for (bool chosen : {false, true}) {
        bool sawCapUnread = false;
        bool sawCapReadButNotList = false;
        for (long succeeding = 0; succeeding < 40; ++succeeding) {
            SCOPED_TRACE(std::to_string(succeeding) + (chosen ? " chosen" : ""));
            settings_values::SetText(L"VornFolder", L"Alpha*Beta");
            settings_values::SetDword(L"VornMax", 31);
            std::optional<PluginSettings> settings;
            {
                failing_allocation::FailingAllocation failing(succeeding);
                settings.emplace();
            }
            bool listRead = settings->history.Count() == 2;
            bool capRead = maxFoldersKnown;
            if (chosen) {
                ChooseMaxFolders(12);
            }
            settings->history.RecordFolder("Delta", 0, 1); // a drop after the load
            settings.reset();
            DWORD expectedCap = chosen ? 12 : capRead ? 10 : 31;
            EXPECT_EQ(GetRaw(L"VornMax")->bytes, Dword(expectedCap).bytes);
            EXPECT_EQ(settings_values::Text(L"VornFolder"),
                      listRead ? L"Delta*??*Alpha*??*Beta" : L"Alpha*Beta");
            sawCapUnread = sawCapUnread || !capRead;
            sawCapReadButNotList = sawCapReadButNotList || (capRead && !listRead);
        }
        EXPECT_TRUE(sawCapUnread);
        EXPECT_TRUE(sawCapReadButNotList);
    }
}

TEST_F(SettingsStoreTest, AStepWithoutAKeyPathWritesNowhere) {
    PluginSettings settings;
    const KeyLocation nowhere{HKEY_CURRENT_USER, nullptr};
    EXPECT_EQ(WriteMaxValue(nowhere, 13), kStatusFail);
    EXPECT_EQ(WriteHistoryValue(nowhere, L"Alpha"), kStatusFail);
    // An open with no path would have given the root key itself.
    EXPECT_NE(RegQueryValueExW(HKEY_CURRENT_USER, L"VornMax", nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_NE(
        RegQueryValueExW(HKEY_CURRENT_USER, L"VornFolder", nullptr, nullptr, nullptr, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(GetRaw(L"VornMax")->bytes, Dword(10).bytes);
    EXPECT_TRUE(GetRaw(L"VornFolder")->bytes.empty());
}

TEST_F(SettingsStoreTest, ASaveThatRunsOutOfMemoryKeepsTheStoredListAndWritesTheCap) {
    settings_values::SetText(L"VornFolder", L"Alpha*??*Beta");
    RawValue stored = *GetRaw(L"VornFolder");
    std::optional<PluginSettings> settings;
    settings.emplace();
    settings->history.RecordFolder("Gamma", 0, 1);
    maxFolders = 12;
    long failedBefore = failing_allocation::FailedAllocations();
    {
        failing_allocation::FailingAllocation failing;
        settings.reset(); // must not throw
    }
    EXPECT_GT(failing_allocation::FailedAllocations(), failedBefore);
    EXPECT_EQ(GetRaw(L"VornFolder")->bytes, stored.bytes);
    EXPECT_EQ(GetRaw(L"VornMax")->bytes, Dword(12).bytes);
}

} // namespace
