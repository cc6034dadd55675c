// The registry steps of the settings store. Each opens the key at the
// location it is given, does one thing and closes it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/status.h"
#include "history/registry_key.h"

extern const wchar_t kMaxValueName[];     // L"VornMax"
extern const wchar_t kHistoryValueName[]; // L"VornFolder"
extern const char kSettingsKeyPath[];     // "Software\\Halvane\\QV2\\Settings"

// The longest list text a value can take: its byte count is a DWORD.
constexpr std::size_t kLongestStoredUnits = 0xFFFFFFFFu / sizeof(wchar_t);

struct StoredText {
    std::unique_ptr<unsigned char[]> bytes; // null: no text
    std::size_t size = 0;
};

// The steps that write fail with kStatusFail where the key cannot be opened;
// the steps that read then give 0 or no text.
Status EnsureMaxValue(const KeyLocation& key);
std::uint32_t ReadMaxValue(const KeyLocation& key);
Status WriteMaxValue(const KeyLocation& key, std::uint32_t value);
Status EnsureHistoryValue(const KeyLocation& key);
StoredText ReadHistoryValue(const KeyLocation& key);
// Writes `text` with a byte count that leaves out its NUL. The platform sees
// the NUL right after the counted text and stores it as well, so a list of 22
// characters is stored as 46 bytes. Null: invalid argument, nothing written.
Status WriteHistoryValue(const KeyLocation& key, const wchar_t* text);
// The same for a text whose length is known: `units` code units, then its NUL.
Status WriteHistoryValue(const KeyLocation& key, const wchar_t* text, std::size_t units);
