// Random settings through the real DLL: a seeded generator puts VornMax and
// VornFolder of every registry type and shape into the registry, the DLL is
// loaded and unloaded, and what it left is held against what a splitter
// written here expects. A second load and unload must change nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "plugin_module.h"
#include "settings_values.h"

namespace {

using Bytes = std::vector<unsigned char>;
using settings_values::Dword;
using settings_values::RawValue;

const wchar_t kMax[] = L"VornMax";
const wchar_t kFolder[] = L"VornFolder";

constexpr std::uint32_t kDefaultSeed = 1;
constexpr std::uint32_t kBatchCases = 500;
// Each load of the DLL takes a thread-local storage index that its unload
// does not give back; a process has about 1,080 of them. Two loads a case.
constexpr std::uint32_t kMostCasesPerProcess = 500;
// The one case of about 1 MiB.
constexpr std::uint32_t kHugeCase = 4321;

std::uint32_t FromEnvironment(const char* name, std::uint32_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0'
               ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 0))
               : fallback;
}

// Appends `text` as UTF-16LE, the bytes of its units low byte first.
template <typename Text> void AppendUnits(Bytes& bytes, const Text& text) {
    for (auto unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
}

// What one case puts into the registry; a missing value is std::nullopt.
struct Stored {
    bool keyExists = true;
    std::optional<RawValue> max;
    std::optional<RawValue> folder;
};

class Generator {
  public:
    explicit Generator(std::seed_seq& seed) : random_(seed) {}

    std::uint32_t Below(std::uint32_t bound) {
        return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_);
    }
    bool OneIn(std::uint32_t n) { return Below(n) == 0; }

    DWORD AnyType() {
        static const DWORD types[] = {REG_DWORD, REG_SZ,   REG_BINARY,    REG_MULTI_SZ,
                                      REG_QWORD, REG_NONE, REG_EXPAND_SZ, REG_DWORD_BIG_ENDIAN};
        return types[Below(sizeof types / sizeof types[0])];
    }

    std::optional<RawValue> Max() {
        if (OneIn(10)) {
            return std::nullopt;
        }
        RawValue value;
        value.type = OneIn(2) ? REG_DWORD : AnyType();
        static const std::uint32_t numbers[] = {
            0, 1, 4, 5, 6, 10, 17, 29, 30, 31, 255, 0x105, 0x1E00, 0x10005, 0x8000000A, 0xFFFFFFFF};
        std::uint32_t number = OneIn(4) ? static_cast<std::uint32_t>(random_())
                                        : numbers[Below(sizeof numbers / sizeof numbers[0])];
        std::uint32_t size = OneIn(2) ? 4 : Below(9);
        for (std::uint32_t i = 0; i < size; ++i) {
            value.bytes.push_back(i < 4 ? static_cast<unsigned char>(number >> (8 * i))
                                        : static_cast<unsigned char>(Below(256)));
        }
        return value;
    }

    std::optional<RawValue> Folder() {
        if (OneIn(20)) {
            return std::nullopt;
        }
        RawValue value;
        value.type = OneIn(2) ? REG_SZ : AnyType();
        AppendUnits(value.bytes, FolderText());
        if (OneIn(8)) {
            value.bytes.push_back(static_cast<unsigned char>(Below(256))); // odd byte count
        }
        return value;
    }

    // About 1 MiB of folders.
    std::optional<RawValue> HugeFolder() {
        RawValue value;
        value.type = REG_SZ;
        while (value.bytes.size() < (1u << 20)) {
            AppendUnits(value.bytes, OneFolder() + Separators());
        }
        return value;
    }

  private:
    std::u16string OneFolder() {
        // 受信箱\仕事, 送信済み, ソフト\表示 (the second byte of ソ and 表 in
        // code page 932 is a backslash)
        static const char16_t* const names[] = {u"Inbox",
                                                u"Inbox\\Work",
                                                u"\u53d7\u4fe1\u7bb1\\\u4ed5\u4e8b",
                                                u"\u9001\u4fe1\u6e08\u307f",
                                                u"\u30bd\u30d5\u30c8\\\u8868\u793a",
                                                u" spaced ",
                                                u"a",
                                                u"\xd800",
                                                u"x\xdc00y",
                                                u"\xd83d\xde00",
                                                u"\uff0a\uff1f",
                                                u"\\\\server\\share"};
        switch (Below(4)) {
        case 0:
            return names[Below(sizeof names / sizeof names[0])];
        case 1: {
            // Random units, no separators or NULs.
            std::u16string folder(1 + Below(16), u'a');
            for (char16_t& unit : folder) {
                do {
                    unit = static_cast<char16_t>(Below(0x10000));
                } while (unit == u'\0' || unit == u'*' || unit == u'?');
            }
            return folder;
        }
        case 2:
            return std::u16string(1 + Below(300), static_cast<char16_t>(u'A' + Below(26)));
        default:
            return u"F" + std::u16string(1, static_cast<char16_t>(u'0' + Below(10)));
        }
    }

    std::u16string Separators() {
        static const char16_t* const forms[] = {u"*??*", u"*??*",   u"*",       u"?",
                                                u"**",   u"?*??*?", u"*??**??*"};
        return forms[Below(sizeof forms / sizeof forms[0])];
    }

    std::u16string FolderText() {
        switch (Below(12)) {
        case 0:
            return u""; // present with no data
        case 1: {       // separators only
            std::u16string text;
            for (std::uint32_t i = 1 + Below(10); i > 0; --i) {
                text += Separators();
            }
            return text;
        }
        case 2: { // the same folder many times
            std::u16string folder = OneFolder();
            std::u16string text = folder;
            for (std::uint32_t i = Below(2000); i > 0; --i) {
                text += u"*??*" + folder;
            }
            return text;
        }
        case 3: { // a NUL part way, with folders after it
            std::u16string text = Joined(Below(4));
            text.push_back(u'\0');
            return text + Joined(1 + Below(4));
        }
        case 4: { // long: up to 64 KiB
            std::u16string text;
            std::uint32_t units = Below(32 * 1024 + 1);
            while (text.size() < units) {
                text += OneFolder() + Separators();
            }
            text.resize(units);
            return text;
        }
        case 5: { // arbitrary units, separators and NULs included
            std::u16string text(Below(200), u'\0');
            for (char16_t& unit : text) {
                unit = OneIn(8) ? (OneIn(2) ? u'*' : u'?') : static_cast<char16_t>(Below(0x10000));
            }
            return text;
        }
        default: {
            std::u16string text = OneIn(4) ? Separators() : u"";
            text += Joined(1 + Below(40));
            if (OneIn(4)) {
                text += Separators();
            }
            if (OneIn(6)) {
                text.push_back(u'\0');
            }
            return text;
        }
        }
    }

    std::u16string Joined(std::uint32_t folders) {
        std::u16string text;
        for (std::uint32_t i = 0; i < folders; ++i) {
            text += (i == 0 ? u"" : Separators()) + OneFolder();
        }
        return text;
    }

    std::mt19937 random_;
};

// The folders the DLL must find in stored bytes: UTF-16LE units, floor of
// half the byte count, up to the first NUL; the runs between '*' and '?'.
std::vector<std::wstring> ExpectedFolders(const Bytes& bytes) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        wchar_t unit = static_cast<wchar_t>(bytes[i] | bytes[i + 1] << 8);
        if (unit == L'\0') {
            break;
        }
        text.push_back(unit);
    }
    std::vector<std::wstring> folders;
    std::size_t start = text.find_first_not_of(L"*?");
    while (start != std::wstring::npos) {
        std::size_t stop = text.find_first_of(L"*?", start);
        folders.push_back(text.substr(start, stop == std::wstring::npos ? stop : stop - start));
        start = stop == std::wstring::npos ? stop : text.find_first_not_of(L"*?", stop);
    }
    return folders;
}

// The join as the registry holds it: a REG_SZ that the platform stores with
// its terminating NUL.
RawValue SavedFolders(const std::vector<std::wstring>& folders) {
    RawValue value;
    value.type = REG_SZ;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        AppendUnits(value.bytes, (i == 0 ? L"" : L"*??*") + folders[i]);
    }
    value.bytes.push_back(0);
    value.bytes.push_back(0);
    return value;
}

// What the registry holds after one load and unload of the DLL.
Stored Expected(const Stored& before) {
    Stored after = before;
    if (!before.keyExists) {
        return after;
    }
    std::uint32_t max = 10;
    if (before.max && before.max->bytes.size() <= 4) {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < before.max->bytes.size(); ++i) {
            number |= static_cast<std::uint32_t>(before.max->bytes[i]) << (8 * i);
        }
        if (number >= 5 && number <= 30) {
            max = number;
        }
    }
    after.max = Dword(max);

    if (!before.folder || before.folder->bytes.empty()) {
        after.folder = RawValue{REG_SZ, {}};
        return after;
    }
    std::vector<std::wstring> folders = ExpectedFolders(before.folder->bytes);
    if (!folders.empty()) {
        after.folder = SavedFolders(folders);
    }
    return after;
}

Stored ReadBack() {
    return Stored{settings_values::KeyExists(), settings_values::GetRaw(kMax),
                  settings_values::GetRaw(kFolder)};
}

bool Put(const wchar_t* name, const std::optional<RawValue>& value) {
    return !value ||
           settings_values::SetRaw(name, value->type, value->bytes.data(), value->bytes.size());
}

bool SameValue(const std::optional<RawValue>& a, const std::optional<RawValue>& b) {
    return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->bytes == b->bytes));
}

bool SameState(const Stored& a, const Stored& b) {
    return a.keyExists == b.keyExists && SameValue(a.max, b.max) && SameValue(a.folder, b.folder);
}

std::string Describe(const std::optional<RawValue>& value) {
    if (!value) {
        return "(missing)";
    }
    std::string out = "type " + std::to_string(value->type) + ", " +
                      std::to_string(value->bytes.size()) + " bytes:";
    char hex[4];
    for (std::size_t i = 0; i < value->bytes.size() && i < 48; ++i) {
        std::snprintf(hex, sizeof hex, " %02x", value->bytes[i]);
        out += hex;
    }
    return out + (value->bytes.size() > 48 ? " ..." : "");
}

std::string Describe(const Stored& stored) {
    if (!stored.keyExists) {
        return "  (no settings key)\n";
    }
    return "  VornMax    " + Describe(stored.max) + "\n  VornFolder " + Describe(stored.folder) +
           "\n";
}

// Loads and unloads the DLL once; what went wrong, empty when the load was
// taken and the module is gone again.
std::string LoadAndUnload() {
    HMODULE module = LoadLibraryA("QvVorn.dll");
    if (module == nullptr) {
        return "LoadLibrary failed: error " + std::to_string(GetLastError());
    }
    FreeLibrary(module);
    return GetModuleHandleA("QvVorn.dll") != nullptr ? "QvVorn.dll still loaded after FreeLibrary"
                                                     : "";
}

// Sets up one case; false when the registry does not take it.
bool Prepare(const Stored& input) {
    return settings_values::DeleteKey() &&
           (!input.keyExists ||
            (settings_values::CreateKey() && Put(kMax, input.max) && Put(kFolder, input.folder)));
}

// Runs one case; an empty result means it passed.
std::string RunCase(const Stored& input) {
    if (!Prepare(input)) {
        return "the registry did not take the input";
    }
    // The platform may have added a terminator to string data: expect from
    // what it holds.
    Stored before = ReadBack();
    Stored expected = Expected(before);
    std::string failure = LoadAndUnload();
    if (!failure.empty()) {
        return failure + "\ninput:\n" + Describe(before);
    }
    Stored after = ReadBack();
    if (!SameState(after, expected)) {
        return "input:\n" + Describe(before) + "expected:\n" + Describe(expected) + "got:\n" +
               Describe(after);
    }
    failure = LoadAndUnload();
    if (!failure.empty()) {
        return failure + " (second load)\ninput:\n" + Describe(before);
    }
    Stored again = ReadBack();
    if (!SameState(again, after)) {
        return "second load and unload changed the values\ninput:\n" + Describe(before) +
               "after the first:\n" + Describe(after) + "after the second:\n" + Describe(again);
    }
    return {};
}

// One batch of cases, [QVVORN_ROUNDTRIP_FIRST, + QVVORN_ROUNDTRIP_COUNT).
// Each case has a generator of its own, so any case can be rerun alone.
TEST(SettingsRandomRoundTrip, DllLeavesWhatTheSplitRuleExpects) {
    std::uint32_t first = FromEnvironment("QVVORN_ROUNDTRIP_FIRST", 0);
    std::uint32_t count = FromEnvironment("QVVORN_ROUNDTRIP_COUNT", kBatchCases);
    std::uint32_t seed = FromEnvironment("QVVORN_ROUNDTRIP_SEED", kDefaultSeed);
    bool trace = std::getenv("QVVORN_ROUNDTRIP_TRACE") != nullptr;
    plugin_module::KeepSystemLibrariesLoaded();
    ASSERT_LE(count, kMostCasesPerProcess);
    std::uint32_t failures = 0;
    std::uint32_t withFolders = 0;
    for (std::uint32_t n = first; n < first + count && failures < 5; ++n) {
        std::seed_seq caseSeed{seed, n};
        Generator generator(caseSeed);
        // In this order: each draw takes the generator on.
        Stored input{!generator.OneIn(100), generator.Max(),
                     n == kHugeCase ? generator.HugeFolder() : generator.Folder()};
        if (trace) {
            std::fprintf(stderr, "case %u\n%s", n, Describe(input).c_str());
        }
        std::string failure = RunCase(input);
        if (!failure.empty()) {
            ++failures;
            ADD_FAILURE() << "case " << n << " (seed " << seed << "): " << failure;
        }
        if (input.keyExists && input.folder && !ExpectedFolders(input.folder->bytes).empty()) {
            ++withFolders;
        }
    }
    // The generator must reach the interesting part: stored folders.
    EXPECT_GT(withFolders, count / 2);
    settings_values::DeleteKey();
}

// The expectations themselves, on inputs worked out by hand.
TEST(SettingsRandomRoundTrip, ExpectationsForKnownInputs) {
    Bytes abc;
    AppendUnits(abc, std::wstring(L"Alpha*??*Beta?Gamma"));
    abc.push_back('x'); // odd count: the last byte is no unit
    EXPECT_EQ(ExpectedFolders(abc), (std::vector<std::wstring>{L"Alpha", L"Beta", L"Gamma"}));
    EXPECT_EQ(SavedFolders({L"Alpha", L"Beta"}).bytes.size(), 2u * 13u + 2u);

    Stored input;
    input.max = RawValue{REG_BINARY, {7, 0}};
    input.folder = RawValue{REG_BINARY, {'*', 0, '?', 0}};
    Stored expected = Expected(input);
    EXPECT_TRUE(SameValue(expected.max, Dword(7)));
    EXPECT_TRUE(SameValue(expected.folder, input.folder)); // no folders: left alone

    input.max = RawValue{REG_QWORD, {7, 0, 0, 0, 0, 0, 0, 0}};
    input.folder = RawValue{REG_NONE, {}};
    expected = Expected(input);
    EXPECT_TRUE(SameValue(expected.max, Dword(10)));
    EXPECT_TRUE(SameValue(expected.folder, RawValue{REG_SZ, {}}));
}

} // namespace
