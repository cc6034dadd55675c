#include "host_settings.h"

namespace host_settings {

const char kKeyPath[] = "Software\\Halvane\\QV2\\Settings";

namespace {

std::string Utf8(const wchar_t* text, size_t units) {
    if (units == 0) {
        return {};
    }
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(units), nullptr, 0, nullptr,
                                    nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(units), &out[0], bytes, nullptr,
                        nullptr);
    return out;
}

} // namespace

bool CreateKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool DeleteKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKeyPath);
    return !KeyExists();
}

bool KeyExists() {
    return static_cast<bool>(OpenKey(KEY_READ));
}

win_handles::RegistryKey OpenKey(REGSAM access) {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, access, &key);
    return win_handles::RegistryKey(key);
}

bool SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    win_handles::RegistryKey key = OpenKey(KEY_SET_VALUE);
    return key && RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size) ==
                      ERROR_SUCCESS;
}

bool SetText(const wchar_t* name, const std::wstring& text) {
    return SetRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

std::optional<RawValue> GetRaw(const wchar_t* name) {
    win_handles::RegistryKey key = OpenKey(KEY_READ);
    if (!key) {
        return std::nullopt;
    }
    RawValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    // Room for the NUL that the platform writes after string data, even past
    // a count of one byte.
    value.bytes.resize(size + sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), name, nullptr, &value.type, value.bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}

std::string Describe(const wchar_t* name) {
    std::optional<RawValue> value = GetRaw(name);
    if (!value) {
        return "(missing)";
    }
    if (value->type == REG_DWORD && value->bytes.size() == 4) {
        DWORD number = 0;
        memcpy(&number, value->bytes.data(), 4);
        return "REG_DWORD " + std::to_string(number);
    }
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(value->bytes.data());
    std::string text = Utf8(wide, wcsnlen(wide, value->bytes.size() / sizeof(wchar_t)));
    return (value->type == REG_SZ ? "REG_SZ " : "type " + std::to_string(value->type) + " ") +
           std::to_string(value->bytes.size()) + " bytes: \"" + text + "\"";
}

} // namespace host_settings
