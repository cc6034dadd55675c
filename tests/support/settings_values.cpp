#include "settings_values.h"

#include <algorithm>
#include <vector>

namespace settings_values {

bool EmptyKey() {
    return DeleteKey() && CreateKey();
}

bool SetRaw(const wchar_t* name, DWORD type, const void* data, std::size_t size) {
    std::vector<unsigned char> padded(size + 4, 0);
    std::copy_n(static_cast<const unsigned char*>(data), size, padded.begin() + 2);
    return host_settings::SetRaw(name, type, padded.data() + 2, static_cast<DWORD>(size));
}

bool SetDword(const wchar_t* name, DWORD value) {
    return SetRaw(name, REG_DWORD, &value, sizeof value);
}

RawValue Dword(DWORD value) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&value);
    return RawValue{REG_DWORD, std::vector<unsigned char>(bytes, bytes + sizeof value)};
}

bool DeleteValue(const wchar_t* name) {
    win_handles::RegistryKey key = host_settings::OpenKey(KEY_SET_VALUE);
    return key && RegDeleteValueW(key.get(), name) == ERROR_SUCCESS;
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

std::wstring NumberedFolders(const std::wstring& prefix, int first, int last) {
    std::wstring joined;
    for (int i = first; i <= last; ++i) {
        joined += (i == first ? L"" : L"*??*") + prefix + std::to_wstring(i);
    }
    return joined;
}

} // namespace settings_values
