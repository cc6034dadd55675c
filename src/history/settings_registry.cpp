#include "history/settings_registry.h"

#include <cstdint>
#include <cwchar>
#include <new>
#include <utility>

#include "history/folder_cap.h"

const wchar_t kMaxValueName[] = L"VornMax";
const wchar_t kHistoryValueName[] = L"VornFolder";
const char kSettingsKeyPath[] = "Software\\Halvane\\QV2\\Settings";

namespace {

// Opens the key, runs `work` with it and closes it again; `unopened` when the
// key cannot be opened.
template <typename Result, typename Work>
Result InKey(const KeyLocation& location, Result unopened, Work work) {
    RegistryKey key = OpenRegistryKey(location);
    if (!key) {
        return unopened;
    }
    return work(key.get());
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

Status EnsureMaxValue(const KeyLocation& location) {
    return InKey(location, kStatusFail, [](HKEY key) {
        std::uint32_t value = 0;
        DWORD size = sizeof value;
        if (QueryValue(key, kMaxValueName, &value, &size)) {
            return kStatusOk;
        }
        return SetMaxValue(key, kDefaultMaxFolders);
    });
}

std::uint32_t ReadMaxValue(const KeyLocation& location) {
    return InKey(location, std::uint32_t{0}, [](HKEY key) {
        // Shorter data fills the low-order bytes; the rest stay 0.
        unsigned char bytes[4] = {0, 0, 0, 0};
        DWORD size = sizeof bytes;
        if (!QueryValue(key, kMaxValueName, bytes, &size)) {
            return std::uint32_t{0};
        }
        return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
               static_cast<std::uint32_t>(bytes[2]) << 16 |
               static_cast<std::uint32_t>(bytes[3]) << 24;
    });
}

Status WriteMaxValue(const KeyLocation& location, std::uint32_t value) {
    return InKey(location, kStatusFail, [value](HKEY key) { return SetMaxValue(key, value); });
}

Status EnsureHistoryValue(const KeyLocation& location) {
    return InKey(location, kStatusFail, [](HKEY key) {
        DWORD size = 0;
        QueryValue(key, kHistoryValueName, nullptr, &size);
        if (size != 0) {
            return kStatusOk;
        }
        return SetValue(key, kHistoryValueName, REG_SZ, L"", 0);
    });
}

StoredText ReadHistoryValue(const KeyLocation& location) {
    return InKey(location, StoredText(), [](HKEY key) {
        StoredText text;
        DWORD size = 0;
        if (!QueryValue(key, kHistoryValueName, nullptr, &size) || size == 0) {
            return text;
        }
        // The platform appends a NUL to string data even where the count
        // leaves no room for it (after a one-byte value it writes two bytes):
        // the block keeps room for one unit past the count it is read with.
        if (size > SIZE_MAX - sizeof(wchar_t)) {
            return text;
        }
        std::unique_ptr<unsigned char[]> bytes(new unsigned char[size + sizeof(wchar_t)]);
        bytes[size] = 0;
        bytes[size + 1] = 0;
        if (!QueryValue(key, kHistoryValueName, bytes.get(), &size)) {
            return text;
        }
        text.bytes = std::move(bytes);
        text.size = size;
        return text;
    });
}

Status WriteHistoryValue(const KeyLocation& location, const wchar_t* text) {
    return WriteHistoryValue(location, text, text == nullptr ? 0 : std::wcslen(text));
}

Status WriteHistoryValue(const KeyLocation& location, const wchar_t* text, std::size_t units) {
    if (text == nullptr) {
        return kStatusInvalidArg;
    }
    return InKey(location, kStatusFail, [text, units](HKEY key) {
        // Checked before multiplying: the byte count must neither wrap nor
        // exceed what the registry call takes.
        if (units > kLongestStoredUnits) {
            return kStatusFail;
        }
        return SetValue(key, kHistoryValueName, REG_SZ, text,
                        static_cast<DWORD>(units * sizeof(wchar_t)));
    });
}
