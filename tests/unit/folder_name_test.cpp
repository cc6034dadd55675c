#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "common/folder_name.h"
#include "common/folder_name_error.h"
#include "common/resource_counts.h"
#include "code_page.h"

namespace {

struct Cp932Case {
    const char* name;
    const char* ansi;    // code page 932 bytes
    const wchar_t* wide; // the same text in UTF-16
};

// Double-byte characters whose second byte is 0x5C ('\') are the classic trap.
const Cp932Case kCp932Cases[] = {
    {"ascii", "Inbox\\Work", L"Inbox\\Work"},
    {"so", "\x83\x5c", L"\x30BD"},                 // ソ
    {"hyou", "\x95\x5c\x8e\xa6", L"\x8868\x793A"}, // 表示
    {"nou", "\x94\x5c", L"\x80FD"},                // 能
    {"mixed path", "\x83\x5c\x83\x74\x83\x67\\\x95\x5c", L"\x30BD\x30D5\x30C8\\\x8868"},
    {"half-width kana", "\xb1\xb2", L"\xFF71\xFF72"},
    {"empty", "", L""},
};

TEST(FolderName, RunsOnCodePage932) {
    QVVORN_NEEDS_CODE_PAGE_932();
    EXPECT_EQ(GetACP(), 932u);
}

TEST(FolderName, Cp932RoundTrips) {
    QVVORN_NEEDS_CODE_PAGE_932();
    for (const Cp932Case& c : kCp932Cases) {
        SCOPED_TRACE(c.name);
        FolderName name(c.ansi);
        ASSERT_TRUE(name.HasText());
        EXPECT_EQ(std::wstring(name.Wide(), name.Length()), std::wstring(c.wide));
        EXPECT_STREQ(name.Ansi(), c.ansi);
        FolderName fromWide = FolderName::FromWide(c.wide, std::wcslen(c.wide));
        EXPECT_STREQ(fromWide.Ansi(), c.ansi);
    }
}

TEST(FolderName, NullAndEmptyDiffer) {
    FolderName none(nullptr);
    EXPECT_FALSE(none.HasText());
    EXPECT_EQ(none.Wide(), nullptr);
    EXPECT_EQ(none.Ansi(), nullptr);
    EXPECT_EQ(none.Length(), 0u);

    FolderName empty("");
    EXPECT_TRUE(empty.HasText());
    ASSERT_NE(empty.Wide(), nullptr);
    EXPECT_EQ(empty.Length(), 0u);
    ASSERT_NE(empty.Ansi(), nullptr);
    EXPECT_STREQ(empty.Ansi(), "");
}

TEST(FolderName, CopiesShareTheCachedAnsiText) {
    FolderName original("\x95\x5c\x8e\xa6");
    FolderName copy = original;
    const char* fromCopy = copy.Ansi(); // first request made through the copy
    EXPECT_EQ(original.Ansi(), fromCopy);
    FolderName third;
    third = copy;
    EXPECT_EQ(third.Ansi(), fromCopy);
    EXPECT_TRUE(third.SharesBodyWith(original));
    // A separately built equal text has its own body and buffer.
    FolderName other("\x95\x5c\x8e\xa6");
    EXPECT_NE(other.Ansi(), fromCopy);
    EXPECT_STREQ(other.Ansi(), fromCopy);
}

TEST(FolderName, AnsiBufferHasExactlyTheMeasuredSize) {
    FolderName name("\x83\x5c\x41");
    const char* ansi = name.Ansi();
    // The heap block holding the cached text is exactly text + NUL long.
    EXPECT_EQ(std::strlen(ansi) + 1, 4u);
}

TEST(FolderName, JoinConcatenatesAndTreatsNoTextAsEmpty) {
    struct JoinCase {
        const char* first;
        const char* second;
        const char* joined;
    };
    const JoinCase cases[] = {
        {"\x8c\x8f", " \x82\xc9\x88\xda\x93\xae", "\x8c\x8f \x82\xc9\x88\xda\x93\xae"},
        {nullptr, "abc", "abc"},
        {"abc", nullptr, "abc"},
        {nullptr, nullptr, ""},
        {"", "", ""},
    };
    for (const JoinCase& c : cases) {
        FolderName joined = FolderName::Join(FolderName(c.first), FolderName(c.second));
        ASSERT_TRUE(joined.HasText());
        EXPECT_STREQ(joined.Ansi(), c.joined);
    }
}

TEST(FolderName, EveryBodyIsFreedByItsLastHolder) {
    LONG before = LiveResources().folderBodies;
    {
        FolderName a("alpha");
        EXPECT_EQ(LiveResources().folderBodies, before + 1);
        {
            FolderName b = a;
            FolderName c(std::move(b));
            FolderName d;
            d = c;
            EXPECT_EQ(LiveResources().folderBodies, before + 1);
            FolderName joined = FolderName::Join(a, d);
            EXPECT_EQ(LiveResources().folderBodies, before + 2);
        }
        EXPECT_EQ(LiveResources().folderBodies, before + 1);
        a = FolderName("beta"); // the old body goes as it is replaced
        EXPECT_EQ(LiveResources().folderBodies, before + 1);
        FolderName none(nullptr);
        EXPECT_EQ(LiveResources().folderBodies, before + 1);
    }
    EXPECT_EQ(LiveResources().folderBodies, before);
}

TEST(FolderNameError, CarriesWin32ErrorsAsStatus) {
    EXPECT_EQ(StatusFromWin32(ERROR_NO_UNICODE_TRANSLATION), static_cast<Status>(0x80070459));
    EXPECT_EQ(StatusFromWin32(0x12345678), static_cast<Status>(0x80075678));
    EXPECT_EQ(StatusFromWin32(0), kStatusFail);
    try {
        RaiseFolderNameError(kStatusOutOfMemory);
        FAIL() << "no exception";
    } catch (const FolderNameError& error) {
        EXPECT_EQ(error.status(), static_cast<Status>(0x8007000E));
    }
}

} // namespace
