#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "shell/bind_host_api.h"
#include "shell/host_api.h"
#include "shell/version_rule.h"

namespace {

// The 58 host functions in the order of the table's fields.
const char* const kFieldOrder[58] = {
    "QVA_GetVersion",
    "QVA_Command",
    "QVA_GetWindowHandles",
    "QVA_RegisterCommand",
    "QVA_RegisterUICallback",
    "QVA_GetDataFolder",
    "QVA_GetTempFolder",
    "QVA_GetTempFileName",
    "QVA_GetCurrentMailBox",
    "QVA_SetCurrentMailBox",
    "QVA_GetCurrentFolder",
    "QVA_SetCurrentFolder",
    "QVA_GetFolderDisplayName",
    "QVA_SetMessageText",
    "QVA_GetCurrentMail",
    "QVA_SetCurrentMail",
    "QVA_GetNextMail",
    "QVA_SetSel",
    "QVA_AppendMessage",
    "QVA_MoveSelectedMessages",
    "QVA_GetStatus",
    "QVA_SetStatus",
    "QVA_ComposeMail",
    "QVA_GetCharSet",
    "QVA_GetSource",
    "QVA_SetSource",
    "QVA_GetSize",
    "QVA_GetHeader",
    "QVA_GetText",
    "QVA_SetText",
    "QVA_GetSpecifiedHeader",
    "QVA_SetSpecifiedHeader",
    "QVA_CompGetCharSet",
    "QVA_CompGetSource",
    "QVA_CompSetSource",
    "QVA_CompGetHeader",
    "QVA_CompGetSpecifiedHeader",
    "QVA_CompSetSpecifiedHeader",
    "QVA_CompGetText",
    "QVA_CompSetText",
    "QVA_CompAttachFile",
    "QVA_Alloc",
    "QVA_ReAlloc",
    "QVA_Free",
    "QVA_ISO_2022_JP",
    "QVA_ISO_2022_KR",
    "QVA_HZ_GB2312",
    "QVA_ISO_8859_2",
    "QVA_EUC_JP",
    "QVA_UTF_7",
    "QVA_UTF_8",
    "QVA_B64Convert",
    "QVA_QPConvert",
    "QVA_MIMEHeader",
    "QVA_SerializeRcpts",
    "QVA_Connect",
    "QVA_NextUnread",
    "QVA_ProcessMail",
};

// The lookup step of each field, in field order.
const int kLookupStep[58] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                             16, 17, 18, 19, 20, 21, 55, 22, 23, 24, 25, 58, 26, 27, 28,
                             29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43,
                             44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 56, 57};

const std::set<std::string> kOptional = {"QVA_SetStatus", "QVA_GetSize", "QVA_NextUnread",
                                         "QVA_ProcessMail"};

std::vector<std::string> LookupOrder() {
    std::vector<std::string> order(58);
    for (int field = 0; field < 58; ++field) {
        order[kLookupStep[field] - 1] = kFieldOrder[field];
    }
    return order;
}

int FieldOf(const std::string& name) {
    auto found = std::find(std::begin(kFieldOrder), std::end(kFieldOrder), name);
    return found == std::end(kFieldOrder) ? -1 : static_cast<int>(found - kFieldOrder);
}

// The table as 58 entry addresses and the host module, in field order.
struct Slots {
    void* at[59];
};

Slots ReadTable() {
    static_assert(sizeof(HostApi) == sizeof(Slots), "58 pointer-sized fields and the module");
    Slots slots;
    std::memcpy(&slots, &hostApi, sizeof slots);
    return slots;
}

// An executable that exports some of the host's names, and what binding asked of it.
struct FakeExecutable {
    HMODULE module = reinterpret_cast<HMODULE>(0x00400000);
    std::set<std::string> missing;
    std::optional<std::string> version = std::string("2.00.06");

    int moduleCalls = 0;
    bool moduleAskedByName = false;
    std::vector<std::string> lookups;
    bool lookedUpElsewhere = false;
    int versionCalls = 0;
};

FakeExecutable* theExecutable = nullptr;
char entryMarks[58]; // distinct entry addresses, one per name

const char* WINAPI FakeGetVersion() {
    ++theExecutable->versionCalls;
    return theExecutable->version ? theExecutable->version->c_str() : nullptr;
}

// The address the fake executable gives for the name of `field`.
void* EntryFor(int field) {
    return field == 0 ? reinterpret_cast<void*>(FakeGetVersion) : &entryMarks[field];
}

// Each entry field of the table as `expected` gives it for that field.
template <typename Expected> void ExpectFields(Expected expected) {
    Slots slots = ReadTable();
    for (int field = 0; field < 58; ++field) {
        EXPECT_EQ(slots.at[field], expected(field)) << kFieldOrder[field];
    }
}

HMODULE WINAPI FakeExecutableModule(LPCSTR name) {
    ++theExecutable->moduleCalls;
    theExecutable->moduleAskedByName = name != nullptr;
    return theExecutable->module;
}

FARPROC WINAPI FakeLookup(HMODULE module, LPCSTR name) {
    theExecutable->lookups.push_back(name);
    if (module != theExecutable->module) {
        theExecutable->lookedUpElsewhere = true;
    }
    int field = FieldOf(name);
    if (field < 0 || theExecutable->missing.count(name) != 0) {
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(EntryFor(field));
}

void* const kUntouched = reinterpret_cast<void*>(0x5EED);

class BindHostApiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        hostApi = HostApi{};
        theExecutable = &executable;
    }
    void TearDown() override {
        hostApi = HostApi{};
        theExecutable = nullptr;
    }
    static int Bind() { return BindHostApiWith(HostResolver{FakeExecutableModule, FakeLookup}); }

    // Every entry field holds `value`, the host module stays null.
    static void FillEntries(void* value) {
        Slots slots{};
        std::fill(slots.at, slots.at + 58, value);
        std::memcpy(&hostApi, &slots, sizeof slots);
    }

    FakeExecutable executable;
};

TEST_F(BindHostApiTest, HostWithAllNamesBindsEveryField) {
    EXPECT_EQ(Bind(), 1);
    ExpectFields(EntryFor);
    EXPECT_EQ(hostApi.hostModule, executable.module);
    EXPECT_EQ(executable.moduleCalls, 1);
    EXPECT_FALSE(executable.moduleAskedByName);
    EXPECT_FALSE(executable.lookedUpElsewhere);
    EXPECT_EQ(executable.versionCalls, 1);
}

TEST_F(BindHostApiTest, FieldsStandInTableOrder) {
    EXPECT_EQ(Bind(), 1);
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_GetVersion), EntryFor(0));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_RegisterCommand), EntryFor(3));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_RegisterUICallback), EntryFor(4));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_GetCurrentFolder), EntryFor(10));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_GetFolderDisplayName), EntryFor(12));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_MoveSelectedMessages), EntryFor(19));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_SetStatus), EntryFor(21));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_GetSize), EntryFor(26));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_Connect), EntryFor(55));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_NextUnread), EntryFor(56));
    EXPECT_EQ(reinterpret_cast<void*>(hostApi.QVA_ProcessMail), EntryFor(57));
}

TEST_F(BindHostApiTest, LooksUpRequiredNamesInTableOrderThenTheOptionalOnes) {
    EXPECT_EQ(Bind(), 1);
    std::vector<std::string> expected = LookupOrder();
    EXPECT_EQ(executable.lookups, expected);
    // The same order, told another way: the required ones in field order, then four.
    std::vector<std::string> required;
    for (const char* name : kFieldOrder) {
        if (kOptional.count(name) == 0) {
            required.push_back(name);
        }
    }
    ASSERT_EQ(required.size(), 54u);
    required.insert(required.end(),
                    {"QVA_SetStatus", "QVA_NextUnread", "QVA_ProcessMail", "QVA_GetSize"});
    EXPECT_EQ(expected, required);
}

TEST_F(BindHostApiTest, HostWithoutGetVersionIsRefusedAtOnce) {
    executable.missing = {"QVA_GetVersion"};
    EXPECT_EQ(Bind(), 0);
    EXPECT_EQ(executable.lookups, std::vector<std::string>{"QVA_GetVersion"});
    ExpectFields([](int) { return nullptr; });
    EXPECT_EQ(hostApi.hostModule, nullptr);
    EXPECT_EQ(executable.versionCalls, 0);
}

TEST_F(BindHostApiTest, HostWithoutConnectKeepsTheFieldsBeforeIt) {
    executable.missing = {"QVA_Connect"};
    EXPECT_EQ(Bind(), 0);
    EXPECT_EQ(executable.lookups.size(), 54u);
    ExpectFields([](int field) { return kLookupStep[field] <= 53 ? EntryFor(field) : nullptr; });
    EXPECT_EQ(std::count_if(kLookupStep, kLookupStep + 58, [](int step) { return step <= 53; }),
              53);
    EXPECT_EQ(hostApi.QVA_Connect, nullptr);
    EXPECT_EQ(hostApi.hostModule, nullptr);
    EXPECT_EQ(executable.versionCalls, 0);
}

// For each required name: the lookup stops there, its field holds null and
// every later field, the optional ones included, keeps what it held.
TEST_F(BindHostApiTest, EachMissingRequiredNameStopsTheLookupThere) {
    std::vector<std::string> order = LookupOrder();
    for (int step = 1; step <= 54; ++step) {
        const std::string& name = order[step - 1];
        SCOPED_TRACE(name);
        executable = FakeExecutable();
        executable.missing = {name};
        FillEntries(kUntouched);

        EXPECT_EQ(Bind(), 0);
        EXPECT_EQ(executable.lookups,
                  std::vector<std::string>(order.begin(), order.begin() + step));
        ExpectFields([step](int field) {
            return kLookupStep[field] < step    ? EntryFor(field)
                   : kLookupStep[field] == step ? nullptr
                                                : kUntouched;
        });
        EXPECT_EQ(hostApi.hostModule, nullptr);
        EXPECT_EQ(executable.versionCalls, 0);
    }
}

TEST_F(BindHostApiTest, EachMissingOptionalNameIsStoredAsNull) {
    for (const char* name : {"QVA_GetSize", "QVA_NextUnread", "QVA_ProcessMail"}) {
        SCOPED_TRACE(name);
        executable = FakeExecutable();
        executable.missing = {name};
        FillEntries(kUntouched);

        EXPECT_EQ(Bind(), 1);
        EXPECT_EQ(executable.lookups.size(), 58u);
        ExpectFields([name](int field) {
            return name == std::string(kFieldOrder[field]) ? nullptr : EntryFor(field);
        });
        EXPECT_EQ(hostApi.hostModule, executable.module);
        hostApi = HostApi{};
    }
}

TEST_F(BindHostApiTest, HostWithoutTheThreeOptionalNamesBinds) {
    executable.missing = {"QVA_GetSize", "QVA_NextUnread", "QVA_ProcessMail"};
    EXPECT_EQ(Bind(), 1);
    EXPECT_EQ(hostApi.QVA_GetSize, nullptr);
    EXPECT_EQ(hostApi.QVA_NextUnread, nullptr);
    EXPECT_EQ(hostApi.QVA_ProcessMail, nullptr);
    EXPECT_NE(hostApi.QVA_SetStatus, nullptr);
}

TEST_F(BindHostApiTest, CurrentHostWithoutSetStatusIsRefusedAfterAllLookups) {
    executable.missing = {"QVA_SetStatus"};
    executable.version = "2.00.06";
    EXPECT_EQ(Bind(), 0);
    EXPECT_EQ(executable.lookups, LookupOrder());
    EXPECT_EQ(executable.versionCalls, 1);
    ExpectFields(
        [](int field) { return field == FieldOf("QVA_SetStatus") ? nullptr : EntryFor(field); });
    EXPECT_EQ(hostApi.hostModule, nullptr);
}

struct VersionCase {
    const char* label;
    std::optional<std::string> version;
    bool older;
};

// Textual, with the platform's own lstrlenA and lstrcmpA.
const VersionCase kVersionCases[] = {
    {"2.00.05", std::string("2.00.05"), true},
    {"1.99.99", std::string("1.99.99"), true},
    {"2.00.0", std::string("2.00.0"), true},
    {"2.00.06", std::string("2.00.06"), false},
    {"2.00.10", std::string("2.00.10"), false},
    {"2.1", std::string("2.1"), false},
    {"10.0", std::string("10.0"), true},
    {"10.00.00", std::string("10.00.00"), false},
    {"2.00.05b", std::string("2.00.05b"), false},
    {"empty", std::string(""), true},
    {"no text", std::nullopt, true},
};

TEST_F(BindHostApiTest, VersionRuleWithoutSetStatus) {
    for (const VersionCase& c : kVersionCases) {
        SCOPED_TRACE(c.label);
        executable = FakeExecutable();
        executable.missing = {"QVA_SetStatus"};
        executable.version = c.version;
        hostApi = HostApi{};

        EXPECT_EQ(Bind(), c.older ? 1 : 0);
        EXPECT_EQ(executable.versionCalls, 1);
        EXPECT_EQ(hostApi.hostModule, c.older ? executable.module : nullptr);
        EXPECT_EQ(hostApi.QVA_SetStatus, nullptr);
    }
}

TEST_F(BindHostApiTest, VersionRuleWithSetStatus) {
    for (const VersionCase& c : kVersionCases) {
        SCOPED_TRACE(c.label);
        executable = FakeExecutable();
        executable.version = c.version;
        hostApi = HostApi{};

        EXPECT_EQ(Bind(), 1);
        EXPECT_EQ(executable.versionCalls, 1);
        EXPECT_EQ(hostApi.hostModule, executable.module);
    }
}

TEST_F(BindHostApiTest, NoModuleHandleLooksNothingUp) {
    executable.module = nullptr;
    EXPECT_EQ(Bind(), 0);
    EXPECT_EQ(executable.moduleCalls, 1);
    EXPECT_TRUE(executable.lookups.empty());
    EXPECT_EQ(executable.versionCalls, 0);
    ExpectFields([](int) { return nullptr; });
    EXPECT_EQ(hostApi.hostModule, nullptr);
}

TEST_F(BindHostApiTest, SecondCallAfterSuccessMakesNoLookup) {
    ASSERT_EQ(Bind(), 1);
    Slots before = ReadTable();
    executable = FakeExecutable();
    executable.module = reinterpret_cast<HMODULE>(0x00800000);

    EXPECT_EQ(Bind(), 1);
    EXPECT_EQ(executable.moduleCalls, 0);
    EXPECT_TRUE(executable.lookups.empty());
    EXPECT_EQ(executable.versionCalls, 0);
    EXPECT_EQ(std::memcmp(&before, &hostApi, sizeof before), 0);
}

TEST_F(BindHostApiTest, CallAfterRefusalLooksUpAgain) {
    executable.missing = {"QVA_Connect"};
    ASSERT_EQ(Bind(), 0);
    executable.missing.clear();
    executable.lookups.clear();
    EXPECT_EQ(Bind(), 1);
    EXPECT_EQ(executable.lookups, LookupOrder());
}

// The test program exports no host function: the platform's own lookup finds
// no QVA_GetVersion in it.
TEST_F(BindHostApiTest, PlatformBindingRefusesAnExecutableThatIsNoHost) {
    ASSERT_EQ(GetProcAddress(GetModuleHandleA(nullptr), "QVA_GetVersion"), nullptr);
    EXPECT_EQ(BindHostApi(), 0);
    EXPECT_EQ(hostApi.hostModule, nullptr);
    EXPECT_EQ(hostApi.QVA_GetVersion, nullptr);
    EXPECT_EQ(hostApi.QVA_Command, nullptr);
}

TEST(VersionRule, OlderMeansShortAndSortingBefore) {
    EXPECT_STREQ(kSetStatusHostVersion, "2.00.06");
    EXPECT_TRUE(IsOlderHostVersion(7, -1));
    EXPECT_TRUE(IsOlderHostVersion(0, -1));
    EXPECT_TRUE(IsOlderHostVersion(3, -100));
    EXPECT_FALSE(IsOlderHostVersion(8, -1));
    EXPECT_FALSE(IsOlderHostVersion(static_cast<std::size_t>(-1), -1));
    EXPECT_FALSE(IsOlderHostVersion(7, 0));
    EXPECT_FALSE(IsOlderHostVersion(4, 1));
}

TEST(VersionRule, PlatformComparisonOrdersVersionTexts) {
    EXPECT_LT(lstrcmpA("2.00.05", kSetStatusHostVersion), 0);
    EXPECT_LT(lstrcmpA("10.0", kSetStatusHostVersion), 0);
    EXPECT_EQ(lstrcmpA("2.00.06", kSetStatusHostVersion), 0);
    EXPECT_GT(lstrcmpA("2.00.10", kSetStatusHostVersion), 0);
    EXPECT_GT(lstrcmpA("2.1", kSetStatusHostVersion), 0);
}

} // namespace
