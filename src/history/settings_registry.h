// The registry steps of the settings store. Each opens the settings key,
// does one thing and closes it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/status.h"
#include "history/plugin_settings.h"

extern const wchar_t kMaxValueName[];     // L"VornMax"
extern const wchar_t kHistoryValueName[]; // L"VornFolder"
extern const char kSettingsKeyPath[];     // "Software\\Halvane\\QV2\\Settings"

struct StoredText {
    std::unique_ptr<unsigned char[]> bytes; // null: no text
    std::size_t size = 0;
};

Status EnsureMaxValue(const PluginSettings& settings);
std::uint32_t ReadMaxValue(const PluginSettings& settings);
Status WriteMaxValue(const PluginSettings& settings);
Status EnsureHistoryValue(const PluginSettings& settings);
StoredText ReadHistoryValue(const PluginSettings& settings);
// Writes `text` up to its NUL, which is not counted. Null: invalid argument.
Status WriteHistoryValue(const PluginSettings& settings, const wchar_t* text);
