// A redirection of HKEY_CURRENT_USER that does not land in the sandbox key is
// refused: the code page rule and a redirection that cannot be made are
// proved end to end by the bundle check.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "environment.h"
#include "registry_sandbox.h"
#include "win_handles.h"

namespace {

DWORD ValueCount(HKEY key) {
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    return values;
}

TEST(RegistrySandbox, RefusesARedirectionThatDoesNotLandInItsKey) {
    std::optional<std::string> path = environment::Variable("QVVORN_TEST_HKCU");
    ASSERT_TRUE(path.has_value());
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenCurrentUser(KEY_READ, &opened), ERROR_SUCCESS);
    win_handles::RegistryKey realUser(opened);
    const std::string own = *path;
    struct {
        HKEY real;
        std::string path;
        const char* fault; // what the fault starts with; empty: accepted
    } cases[] = {
        {realUser.get(), own, ""},
        {realUser.get(), own + "-elsewhere", "a value written through it is not in HKCU\\"},
        // The redirected key taken for the real one: the value is at its root.
        {HKEY_CURRENT_USER, "", "a value written through it is in the real HKEY_CURRENT_USER"},
    };
    const DWORD valuesBefore = ValueCount(HKEY_CURRENT_USER);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string fault = registry_sandbox::RedirectionFault(c.real, c.path);
        EXPECT_EQ(fault.substr(0, std::string(c.fault).size()), c.fault) << fault;
        EXPECT_EQ(fault.empty(), std::string(c.fault).empty()) << fault;
        EXPECT_EQ(ValueCount(HKEY_CURRENT_USER), valuesBefore) << "the marker was left behind";
    }
}

} // namespace
