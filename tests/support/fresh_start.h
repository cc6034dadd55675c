// A first run of the plug-in: a new host, and a settings key holding only the
// given cap.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "plugin_module.h"

namespace fresh_start {

// Unloads `plugin`, resets our host and the settings key, which then holds
// `storedMax` and, when given, `storedFolders`, then loads `file` again;
// returns false when the key cannot be made or the module does not load.
bool Restart(plugin_module::Plugin& plugin, DWORD storedMax, const wchar_t* storedFolders = nullptr,
             const wchar_t* file = L"QvVorn.dll");

// A test of QvVorn.dll started afresh before each case, with the default cap
// unless SetUp says otherwise, and unloaded after it.
class PluginTest : public ::testing::Test {
  protected:
    void SetUp() override { Start(10); }
    void TearDown() override { plugin_module::Unload(plugin); }

    void Start(DWORD storedMax, const wchar_t* storedFolders = nullptr) {
        ASSERT_TRUE(Restart(plugin, storedMax, storedFolders)) << GetLastError();
    }
    // VornFolder as the plug-in writes it at unload.
    std::wstring SavedFolders();

    plugin_module::Plugin plugin;
};

} // namespace fresh_start
