// The stored folder list text: splitting what another run (or another tool)
// left in the registry, and joining the history for saving. Every text is
// handed over in a heap buffer of exactly its size, without terminator, so
// the address sanitizer stops any read past the count.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "history/folder_list_text.h"

namespace {

using Folders = std::vector<std::u16string>;

// A copy of `units` code units of `text` in a buffer of exactly that size.
std::unique_ptr<char16_t[]> ExactCopy(const std::u16string& text, std::size_t units) {
    std::unique_ptr<char16_t[]> copy(new char16_t[units]);
    std::copy(text.data(), text.data() + units, copy.get());
    return copy;
}

// The folders in the first `units` units of `text`, all of it by default.
Folders Split(const std::u16string& text, std::size_t units = std::u16string::npos) {
    units = std::min(units, text.size());
    std::unique_ptr<char16_t[]> stored = ExactCopy(text, units);
    Folders folders;
    ForEachStoredFolder(stored.get(), units, [&](std::size_t offset, std::size_t length) {
        EXPECT_LE(offset + length, units);
        folders.emplace_back(stored.get() + offset, length);
    });
    return folders;
}

// Joined into a buffer of exactly the size JoinedListUnits gives.
std::u16string Join(const Folders& folders) {
    std::size_t folderUnits = 0;
    for (const std::u16string& folder : folders) {
        folderUnits += folder.size();
    }
    std::size_t units = 0;
    EXPECT_TRUE(JoinedListUnits(folders.size(), folderUnits, 1000, &units));
    std::unique_ptr<char16_t[]> joined(new char16_t[units]);
    char16_t* end = joined.get();
    for (std::size_t i = 0; i < folders.size(); ++i) {
        std::unique_ptr<char16_t[]> folder = ExactCopy(folders[i], folders[i].size());
        end = AppendToFolderList(end, i == 0, folder.get(), folders[i].size());
    }
    EXPECT_EQ(end, joined.get() + units);
    return std::u16string(joined.get(), units);
}

// Written apart from the product: cut at the first NUL, then take the runs
// between separator characters with find_first_of.
Folders ReferenceSplit(std::u16string text) {
    text = text.substr(0, text.find(u'\0'));
    Folders folders;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t stop = text.find_first_of(u"*?", start);
        if (stop == std::u16string::npos) {
            stop = text.size();
        }
        if (stop > start) {
            folders.push_back(text.substr(start, stop - start));
        }
        start = stop + 1;
    }
    return folders;
}

struct SplitCase {
    const char* name;
    std::u16string text;
    std::size_t units; // how much of `text` the store hands over
    Folders folders;
};

std::u16string WithNul(const char16_t* before, const char16_t* after) {
    std::u16string text(before);
    text.push_back(u'\0');
    return text + after;
}

const std::u16string kStoredAbc = u"Alpha*??*Beta*??*Gamma";

class SplitCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCases, GivesTheFolders) {
    const SplitCase& c = GetParam();
    ASSERT_LE(c.units, c.text.size());
    EXPECT_EQ(Split(c.text, c.units), c.folders);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(StoredTexts, SplitCases, ::testing::Values(
    SplitCase{"Empty", u"", 0, {}},
    SplitCase{"OneFolder", u"Alpha", 5, {u"Alpha"}},
    SplitCase{"ThreeJoined", kStoredAbc, 22, {u"Alpha", u"Beta", u"Gamma"}},
    SplitCase{"SingleSeparators", u"Alpha*Beta?Gamma", 16, {u"Alpha", u"Beta", u"Gamma"}},
    SplitCase{"LeadingAndTrailing", u"*??*Alpha*??*", 13, {u"Alpha"}},
    SplitCase{"TwoSeparatorsInARow", u"Alpha*??**??*Beta", 17, {u"Alpha", u"Beta"}},
    SplitCase{"SeparatorsOnly", u"*??**?*?", 8, {}},
    SplitCase{"SpacesKept", u" Alpha *?beta ", 14, {u" Alpha ", u"beta "}},
    SplitCase{"CaseKept", u"inbox*INBOX", 11, {u"inbox", u"INBOX"}},
    SplitCase{"SameFolderTwice", u"Alpha*??*Alpha", 14, {u"Alpha", u"Alpha"}},
    SplitCase{"EndsAtNul", WithNul(u"Alpha*??*Beta", u"*??*Gamma"), 23, {u"Alpha", u"Beta"}},
    SplitCase{"TrailingNul", WithNul(u"Alpha", u""), 6, {u"Alpha"}},
    SplitCase{"NulFirst", WithNul(u"", u"Alpha"), 6, {}},
    SplitCase{"CountCutsAFolder", kStoredAbc, 3, {u"Alp"}},
    SplitCase{"CountEndsOnSeparator", kStoredAbc, 7, {u"Alpha"}},
    SplitCase{"CountZero", kStoredAbc, 0, {}},
    // 受信箱*??*送信済み
    SplitCase{"Japanese", u"\u53d7\u4fe1\u7bb1*??*\u9001\u4fe1\u6e08\u307f", 11,
              {u"\u53d7\u4fe1\u7bb1", u"\u9001\u4fe1\u6e08\u307f"}},
    SplitCase{"LoneSurrogates", u"\xd800*\xdc00?a\xd83d", 6,
              {u"\xd800", u"\xdc00", u"a\xd83d"}},
    // Full-width asterisk and question mark are ordinary characters.
    SplitCase{"FullWidthMarks", u"a\uff0ab\uff1fc", 5, {u"a\uff0ab\uff1fc"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return info.param.name; });
// clang-format on

TEST(SplitFolderList, NullTextWithNoUnitsHasNoFolders) {
    int visits = 0;
    ForEachStoredFolder(nullptr, 0, [&](std::size_t, std::size_t) { ++visits; });
    EXPECT_EQ(visits, 0);
    EXPECT_EQ(TextLengthWithin(nullptr, 0), 0u);
}

TEST(TextLengthWithin, StopsAtNulOrCount) {
    std::u16string text = WithNul(u"abc", u"de");
    std::unique_ptr<char16_t[]> stored = ExactCopy(text, text.size());
    EXPECT_EQ(TextLengthWithin(stored.get(), text.size()), 3u);
    EXPECT_EQ(TextLengthWithin(stored.get(), 2), 2u);
    std::unique_ptr<char16_t[]> plain = ExactCopy(u"abcde", 5);
    EXPECT_EQ(TextLengthWithin(plain.get(), 5), 5u);
}

struct JoinCase {
    const char* name;
    Folders folders;
    std::u16string joined;
};

class JoinCases : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinCases, GivesTheStoredText) {
    EXPECT_EQ(Join(GetParam().folders), GetParam().joined);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Histories, JoinCases, ::testing::Values(
    JoinCase{"None", {}, u""},
    JoinCase{"One", {u"Alpha"}, u"Alpha"},
    JoinCase{"Three", {u"Alpha", u"Beta", u"Gamma"}, kStoredAbc},
    JoinCase{"EmptyBetween", {u"Alpha", u"", u"Beta"}, u"Alpha*??**??*Beta"},
    JoinCase{"OneEmpty", {u""}, u""},
    JoinCase{"TwoEmpty", {u"", u""}, u"*??*"},
    JoinCase{"EmptyFirst", {u"", u"Alpha"}, u"*??*Alpha"}),
    [](const ::testing::TestParamInfo<JoinCase>& info) { return info.param.name; });
// clang-format on

TEST(JoinFolderList, ThreeFoldersMakeTwentyTwoUnits) {
    EXPECT_EQ(Join({u"Alpha", u"Beta", u"Gamma"}).size(), 22u);
}

// The limit is the registry's: a list whose byte count would not fit is not
// joined at all, rather than cut or wrapped.
TEST(JoinFolderList, LengthStopsAtTheLimitWithoutWrapping) {
    std::size_t units = 0;
    EXPECT_TRUE(JoinedListUnits(3, 14, 22, &units));
    EXPECT_EQ(units, 22u);
    EXPECT_FALSE(JoinedListUnits(3, 14, 21, &units));
    EXPECT_FALSE(JoinedListUnits(2, 1, 4, &units));
    EXPECT_FALSE(JoinedListUnits(SIZE_MAX, 0, SIZE_MAX / 8, &units));
    EXPECT_FALSE(JoinedListUnits(1, SIZE_MAX, SIZE_MAX - 1, &units));
    EXPECT_TRUE(JoinedListUnits(0, 0, 0, &units));
    EXPECT_EQ(units, 0u);
}

// Every text of up to six units over an alphabet that holds both separators,
// NUL, a letter and a surrogate: the split agrees with the reference, for
// every count up to the text's length.
TEST(SplitFolderList, AgreesWithReferenceOnEveryShortText) {
    const char16_t alphabet[] = {u'a', u'*', u'?', u'\0', u'\xd800'};
    constexpr std::size_t kLetters = sizeof alphabet / sizeof alphabet[0];
    std::size_t checked = 0;
    for (std::size_t length = 0; length <= 6; ++length) {
        std::size_t total = 1;
        for (std::size_t i = 0; i < length; ++i) {
            total *= kLetters;
        }
        for (std::size_t n = 0; n < total; ++n) {
            std::u16string text;
            for (std::size_t i = 0, rest = n; i < length; ++i, rest /= kLetters) {
                text.push_back(alphabet[rest % kLetters]);
            }
            ASSERT_EQ(Split(text), ReferenceSplit(text))
                << "text #" << n << " of length " << length;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 19531u); // 5^0 + ... + 5^6
}

std::u16string RandomFolder(std::mt19937& random, bool withSeparators) {
    static const char16_t letters[] = {u'a',      u'Z',      u' ',      u'\\', u'.', u'\u53d7',
                                       u'\xd800', u'\xdfff', u'\uff0a', u'*',  u'?'};
    std::size_t choices = withSeparators ? 11 : 9;
    std::size_t length = std::uniform_int_distribution<std::size_t>(0, 12)(random);
    std::u16string folder;
    for (std::size_t i = 0; i < length; ++i) {
        folder.push_back(
            letters[std::uniform_int_distribution<std::size_t>(0, choices - 1)(random)]);
    }
    return folder;
}

// Saving then loading gives back the history's non-empty folders in order.
TEST(FolderListRoundTrip, KeepsNonEmptyFoldersWithoutSeparators) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 2000; ++round) {
        Folders folders(std::uniform_int_distribution<std::size_t>(0, 40)(random));
        for (std::u16string& folder : folders) {
            folder = RandomFolder(random, false);
        }
        Folders expected;
        std::copy_if(folders.begin(), folders.end(), std::back_inserter(expected),
                     [](const std::u16string& folder) { return !folder.empty(); });
        ASSERT_EQ(Split(Join(folders)), expected) << "round " << round;
    }
}

// A folder holding '*' or '?' comes back as the pieces between them.
TEST(FolderListRoundTrip, FoldersWithSeparatorsComeBackInPieces) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        Folders folders(std::uniform_int_distribution<std::size_t>(0, 20)(random));
        Folders expected;
        for (std::u16string& folder : folders) {
            folder = RandomFolder(random, true);
            Folders pieces = ReferenceSplit(folder);
            expected.insert(expected.end(), pieces.begin(), pieces.end());
        }
        ASSERT_EQ(Split(Join(folders)), expected) << "round " << round;
    }
}

// A stored text comes back unchanged through a load and a save once it is
// in the saved form.
TEST(FolderListRoundTrip, SavedFormIsStable) {
    std::mt19937 random(99);
    for (int round = 0; round < 500; ++round) {
        std::u16string stored = RandomFolder(random, true) + RandomFolder(random, true);
        std::u16string once = Join(Split(stored));
        EXPECT_EQ(Join(Split(once)), once) << "round " << round;
    }
}

} // namespace
