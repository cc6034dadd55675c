#include "registry_sandbox.h"

#include <atomic>
#include <optional>

#include "environment.h"
#include "win_handles.h"

namespace registry_sandbox {

namespace {

const char kVariable[] = "QVVORN_TEST_HKCU";
const char kParent[] = "Software\\QvVornTests";

// The real HKEY_CURRENT_USER, opened before the redirection: what the
// redirection is checked against, and where this process's key is deleted.
win_handles::RegistryKey realUser;
std::string madePath; // the key this process made, under the real HKCU
std::atomic<bool> keyToDelete{false};

std::string Error(LONG code) {
    return "error " + std::to_string(code);
}

// Only a key of our own is ever redirected to, and so ever written or deleted.
bool IsTestKey(const std::string& path) {
    std::string prefix = std::string(kParent) + "\\";
    return path.size() > prefix.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(),
                          static_cast<int>(prefix.size()), prefix.c_str(),
                          static_cast<int>(prefix.size())) == CSTR_EQUAL &&
           path.find("\\\\") == std::string::npos && path.back() != '\\';
}

std::optional<DWORD> ReadMarker(HKEY key, const char* subkey, const std::string& name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(key, subkey, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string RedirectionFault(HKEY realUser, const std::string& path) {
    const std::string name = "QvVornTests marker " + std::to_string(GetCurrentProcessId());
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    const DWORD mark = now.LowPart | 1;
    std::string fault;
    LONG written = RegSetValueExA(HKEY_CURRENT_USER, name.c_str(), 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&mark), sizeof mark);
    if (written != ERROR_SUCCESS) {
        fault = "a value could not be written through it (" + Error(written) + ")";
    } else if (ReadMarker(HKEY_CURRENT_USER, nullptr, name) != mark) {
        fault = "a value written through it did not read back";
    } else if (ReadMarker(realUser, path.c_str(), name) != mark) {
        fault = "a value written through it is not in HKCU\\" + path;
    } else if (ReadMarker(realUser, nullptr, name).has_value()) {
        fault = "a value written through it is in the real HKEY_CURRENT_USER";
    }
    // Wherever it went, it goes.
    RegDeleteValueA(HKEY_CURRENT_USER, name.c_str());
    RegDeleteKeyValueA(realUser, path.c_str(), name.c_str());
    RegDeleteValueA(realUser, name.c_str());
    return fault;
}

std::string Enter() {
    HKEY real = nullptr;
    LONG error = RegOpenCurrentUser(KEY_ALL_ACCESS, &real);
    if (error != ERROR_SUCCESS) {
        return "the real one could not be opened (" + Error(error) + ")";
    }
    realUser.Reset(real);
    std::optional<std::string> inherited = environment::Variable(kVariable);
    std::string path =
        inherited.value_or(std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId()));
    if (!IsTestKey(path)) {
        return std::string(kVariable) + " is \"" + path + "\", not a key under HKCU\\" + kParent;
    }
    if (!inherited) {
        RegDeleteTreeA(realUser.get(), path.c_str()); // left by an earlier process
    }
    HKEY key = nullptr;
    DWORD disposition = 0;
    error = RegCreateKeyExA(realUser.get(), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, &disposition);
    if (error != ERROR_SUCCESS) {
        return "HKCU\\" + path + " could not be made (" + Error(error) + ")";
    }
    win_handles::RegistryKey sandbox(key);
    if (!inherited || disposition == REG_CREATED_NEW_KEY) {
        madePath = path;
        keyToDelete = true;
    }
    error = RegOverridePredefKey(HKEY_CURRENT_USER, sandbox.get());
    if (error != ERROR_SUCCESS) {
        return "RegOverridePredefKey failed (" + Error(error) + ")";
    }
    std::string fault = RedirectionFault(realUser.get(), path);
    if (!fault.empty()) {
        return fault;
    }
    if (!inherited) {
        SetEnvironmentVariableA(kVariable, path.c_str());
    }
    return std::string();
}

void DiscardNow() {
    if (!keyToDelete.exchange(false) || !realUser) {
        return;
    }
    // A thread still writing may add a subkey while the tree goes, which
    // keeps the key; a write after the key is gone fails.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (RegDeleteTreeA(realUser.get(), madePath.c_str()) == ERROR_SUCCESS &&
            RegDeleteKeyA(realUser.get(), madePath.c_str()) == ERROR_FILE_NOT_FOUND) {
            break;
        }
    }
    // The parent goes too once no other program's key is in it: a key with
    // subkeys is not deleted.
    RegDeleteKeyA(realUser.get(), kParent);
}

} // namespace registry_sandbox
