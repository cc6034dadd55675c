#include "registry_sandbox.h"

#include <windows.h>

#include <string>

namespace registry_sandbox {

namespace {

const char kVariable[] = "QVVORN_TEST_HKCU";
const char kParent[] = "Software\\QvVornTests";

std::string madePath; // the key this process made, under the real HKCU

std::string InheritedPath() {
    char path[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA(kVariable, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

} // namespace

void Enter() {
    std::string path = InheritedPath();
    if (path.empty()) {
        path = std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId());
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); // left by an earlier process
        madePath = path;
        SetEnvironmentVariableA(kVariable, path.c_str());
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
        RegOverridePredefKey(HKEY_CURRENT_USER, key);
        RegCloseKey(key);
    }
}

void Leave() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (!madePath.empty()) {
        RegDeleteTreeA(HKEY_CURRENT_USER, madePath.c_str());
        // The parent goes too once no other program's key is in it: a key
        // with subkeys is not deleted.
        RegDeleteKeyA(HKEY_CURRENT_USER, kParent);
        SetEnvironmentVariableA(kVariable, nullptr);
        madePath.clear();
    }
}

} // namespace registry_sandbox
