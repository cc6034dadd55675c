// Which hosts the DLL accepts: probe hosts, each lacking some host functions
// or giving another version text, load the real DLL in a process of their own.
// Accepted or refused, the module's settings are loaded and saved again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"
#include "fake_host.h"
#include "plugin_module.h"
#include "program_folder.h"
#include "settings_values.h"

namespace {

struct HostCase {
    const char* host;
    const char* version; // QVVORN_HOST_VERSION; null: the host's default, 2.00.06
    bool loads;
    int versionCalls;
};

// What the settings look like before and after one load, accepted or refused:
// an out-of-range VornMax is written back as 10 and single separators come
// back as "*??*" only when the module's static teardown ran. (The registry
// counts the NUL that follows the 44 bytes written, as Windows does.)
const wchar_t kStoredFolders[] = L"Alpha*Beta?Gamma";
const char kSavedFolders[] = "REG_SZ 46 bytes: \"Alpha*??*Beta*??*Gamma\"";

void StoreSettings() {
    ASSERT_TRUE(settings_values::EmptyKey());
    ASSERT_TRUE(settings_values::SetDword(L"VornMax", 31));
    ASSERT_TRUE(settings_values::SetText(L"VornFolder", kStoredFolders));
}

void ExpectOutcome(const HostCase& c) {
    SCOPED_TRACE(std::string(c.host) + " version " + (c.version ? c.version : "(default)"));
    StoreSettings();
    std::wstring host(c.host, c.host + std::strlen(c.host)); // ASCII names
    std::wstring line = L"\"" + program_folder::Beside(host) + L"\" \"" +
                        program_folder::Beside(L"QvVorn.dll") + L"\"";
    child_process::Outcome outcome = child_process::Run(line, "QVVORN_HOST_VERSION", c.version);
    ASSERT_TRUE(outcome.started) << GetLastError();
    std::string calls = "QVA_GetVersion calls " + std::to_string(c.versionCalls) + "\n";
    if (c.loads) {
        EXPECT_EQ(outcome.exitCode, 0u);
        EXPECT_EQ(outcome.output, "loaded\n" + calls);
    } else {
        EXPECT_EQ(outcome.exitCode, 1u);
        EXPECT_EQ(outcome.output,
                  "refused " + std::to_string(ERROR_DLL_INIT_FAILED) + "\n" + calls);
    }
    EXPECT_EQ(settings_values::Describe(L"VornMax"), "REG_DWORD 10");
    EXPECT_EQ(settings_values::Describe(L"VornFolder"), kSavedFolders);
}

TEST(HostAcceptance, HostWithEveryFunctionIsAccepted) {
    ExpectOutcome({"probe_host.exe", nullptr, true, 1});
}

TEST(HostAcceptance, HostWithoutTheThreeOptionalFunctionsIsAccepted) {
    ExpectOutcome({"probe_host_no_optional.exe", nullptr, true, 1});
}

TEST(HostAcceptance, HostWithoutGetVersionIsRefusedAndTheSettingsAreSaved) {
    ExpectOutcome({"probe_host_no_getversion.exe", nullptr, false, 0});
}

TEST(HostAcceptance, HostWithoutConnectIsRefusedAndTheSettingsAreSaved) {
    ExpectOutcome({"probe_host_no_connect.exe", nullptr, false, 0});
}

TEST(HostAcceptance, CurrentHostWithoutSetStatusIsRefusedAndTheSettingsAreSaved) {
    ExpectOutcome({"probe_host_no_setstatus.exe", nullptr, false, 1});
}

TEST(HostAcceptance, WithoutSetStatusOnlyOlderVersionTextsAreAccepted) {
    for (const char* version : {"2.00.05", "1.99.99", "10.0", "(empty)", "(none)"}) {
        ExpectOutcome({"probe_host_no_setstatus.exe", version, true, 1});
    }
    for (const char* version : {"2.00.06", "2.00.10", "2.1", "10.00.00", "2.00.05b"}) {
        ExpectOutcome({"probe_host_no_setstatus.exe", version, false, 1});
    }
}

TEST(HostAcceptance, WithSetStatusEveryVersionTextIsAccepted) {
    for (const char* version : {"2.00.05", "2.00.06", "2.1", "10.00.00", "(empty)", "(none)"}) {
        ExpectOutcome({"probe_host.exe", version, true, 1});
    }
}

// Without the module's teardown a refused load would leave the stored values
// as they were: this is the difference the tests above look for.
TEST(HostAcceptance, StoredSettingsDifferFromSavedOnes) {
    StoreSettings();
    EXPECT_EQ(settings_values::Describe(L"VornMax"), "REG_DWORD 31");
    EXPECT_NE(settings_values::Describe(L"VornFolder"), kSavedFolders);
}

// In this program, which exports the host functions: the DLL binds through
// the platform's own GetModuleHandleA of a null name, that is this program.
TEST(HostAcceptance, TheDllBindsToTheProgramThatLoadsIt) {
    ASSERT_TRUE(settings_values::EmptyKey());
    fake_host::ResetHost();
    fake_host::TheHost().version = std::string("2.00.05");
    plugin_module::Plugin plugin = plugin_module::Load(L"QvVorn.dll");
    ASSERT_NE(plugin.module, nullptr) << GetLastError();
    EXPECT_EQ(fake_host::TheHost().calls, std::vector<std::string>{"QVA_GetVersion"});

    // The table's functions are this program's: the menu registers commands here.
    HMENU context = CreatePopupMenu();
    EXPECT_EQ(plugin.menuInit(nullptr, context, 1), 0);
    ASSERT_FALSE(fake_host::TheHost().commands.empty());
    EXPECT_EQ(fake_host::TheHost().commands.front().menuType, 1);
    DestroyMenu(context);

    // A second load of a loaded module does not bind again.
    HMODULE again = LoadLibraryA("QvVorn.dll");
    EXPECT_EQ(again, plugin.module);
    FreeLibrary(again);
    EXPECT_EQ(std::count(fake_host::TheHost().calls.begin(), fake_host::TheHost().calls.end(),
                         "QVA_GetVersion"),
              1);
    plugin_module::Unload(plugin);
}

} // namespace
