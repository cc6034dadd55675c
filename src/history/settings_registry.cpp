#include "history/settings_registry.h"

#include <cstdint>
#include <cwchar>
#include <new>

#include "history/registry_key.h"

const wchar_t kMaxValueName[] = L"VornMax";
const wchar_t kHistoryValueName[] = L"VornFolder";
const char kSettingsKeyPath[] = "Software\\Halvane\\QV2\\Settings";

namespace {

RegistryKey OpenSettingsKey(const PluginSettings& settings) {
    return RegistryKey(settings.rootKey, settings.keyPath.Ansi());
}

bool QueryValue(HKEY key, const wchar_t* name, void* data, DWORD* size) {
    return RegQueryValueExW(key, name, nullptr, nullptr, static_cast<BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

Status SetValue(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    LONG result = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    return result == ERROR_SUCCESS ? kStatusOk : kStatusFail;
}

Status SetMaxValue(HKEY key, std::uint32_t value) {
    return SetValue(key, kMaxValueName, REG_DWORD, &value, sizeof value);
}

} // namespace

Status EnsureMaxValue(const PluginSettings& settings) {
    RegistryKey key = OpenSettingsKey(settings);
    if (!key) {
        return kStatusFail;
    }
    std::uint32_t value = 0;
    DWORD size = sizeof value;
    if (QueryValue(key.get(), kMaxValueName, &value, &size)) {
        return kStatusOk;
    }
    return SetMaxValue(key.get(), kDefaultMaxFolders);
}

std::uint32_t ReadMaxValue(const PluginSettings& settings) {
    RegistryKey key = OpenSettingsKey(settings);
    if (!key) {
        return 0;
    }
    // Shorter data fills the low-order bytes; the rest stay 0.
    unsigned char bytes[4] = {0, 0, 0, 0};
    DWORD size = sizeof bytes;
    if (!QueryValue(key.get(), kMaxValueName, bytes, &size)) {
        return 0;
    }
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

Status WriteMaxValue(const PluginSettings& settings) {
    RegistryKey key = OpenSettingsKey(settings);
    if (!key) {
        return kStatusFail;
    }
    return SetMaxValue(key.get(), maxFolders);
}

Status EnsureHistoryValue(const PluginSettings& settings) {
    RegistryKey key = OpenSettingsKey(settings);
    if (!key) {
        return kStatusFail;
    }
    DWORD size = 0;
    QueryValue(key.get(), kHistoryValueName, nullptr, &size);
    if (size != 0) {
        return kStatusOk;
    }
    return SetValue(key.get(), kHistoryValueName, REG_SZ, L"", 0);
}

StoredText ReadHistoryValue(const PluginSettings& settings) {
    StoredText text;
    RegistryKey key = OpenSettingsKey(settings);
    if (!key) {
        return text;
    }
    DWORD size = 0;
    if (!QueryValue(key.get(), kHistoryValueName, nullptr, &size) || size == 0) {
        return text;
    }
    // The platform appends a NUL to string data even where the count leaves
    // no room for it (after a one-byte value it writes two bytes): the block
    // keeps room for one unit past the count it is read with.
    if (size > SIZE_MAX - sizeof(wchar_t)) {
        return text;
    }
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[size + sizeof(wchar_t)]);
    bytes[size] = 0;
    bytes[size + 1] = 0;
    if (!QueryValue(key.get(), kHistoryValueName, bytes.get(), &size)) {
        return text;
    }
    text.bytes = std::move(bytes);
    text.size = size;
    return text;
}

Status WriteHistoryValue(const PluginSettings& settings, const wchar_t* text) {
    return WriteHistoryValue(settings, text, text == nullptr ? 0 : std::wcslen(text));
}

Status WriteHistoryValue(const PluginSettings& settings, const wchar_t* text, std::size_t units) {
    if (text == nullptr) {
        return kStatusInvalidArg;
    }
    RegistryKey key = OpenSettingsKey(settings);
    if (!key) {
        return kStatusFail;
    }
    // Checked before multiplying: the byte count must neither wrap nor
    // exceed what the registry call takes.
    if (units > kLongestStoredUnits) {
        return kStatusFail;
    }
    return SetValue(key.get(), kHistoryValueName, REG_SZ, text,
                    static_cast<DWORD>(units * sizeof(wchar_t)));
}
