#include "settings_values.h"

namespace settings_values {

const char kKeyPath[] = "Software\\Halvane\\QV2\\Settings";

namespace {

struct OpenKey {
    HKEY key = nullptr;
    explicit OpenKey(REGSAM access) { RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, access, &key); }
    ~OpenKey() {
        if (key != nullptr) {
            RegCloseKey(key);
        }
    }
};

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
    return OpenKey(KEY_READ).key != nullptr;
}

bool SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    OpenKey open(KEY_SET_VALUE);
    return open.key != nullptr &&
           RegSetValueExW(open.key, name, 0, type, static_cast<const BYTE*>(data), size) ==
               ERROR_SUCCESS;
}

bool SetDword(const wchar_t* name, DWORD value) {
    return SetRaw(name, REG_DWORD, &value, sizeof value);
}

bool SetText(const wchar_t* name, const std::wstring& text) {
    return SetRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

bool DeleteValue(const wchar_t* name) {
    OpenKey open(KEY_SET_VALUE);
    return open.key != nullptr && RegDeleteValueW(open.key, name) == ERROR_SUCCESS;
}

std::optional<RawValue> GetRaw(const wchar_t* name) {
    OpenKey open(KEY_READ);
    if (open.key == nullptr) {
        return std::nullopt;
    }
    RawValue value;
    DWORD size = 0;
    if (RegQueryValueExW(open.key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    // Room for the NUL that the platform writes after string data, even past
    // a count of one byte.
    value.bytes.resize(size + sizeof(wchar_t));
    if (RegQueryValueExW(open.key, name, nullptr, &value.type, value.bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}

std::wstring Text(const wchar_t* name) {
    std::optional<RawValue> value = GetRaw(name);
    if (!value) {
        return L"(missing)";
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(value->bytes.data()),
                      value->bytes.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
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

} // namespace settings_values
