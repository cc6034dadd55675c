// The cap on the number of remembered folders: the range the user may
// choose from, the default, and the value in use.
#pragma once

#include <cstdint>

constexpr std::uint32_t kFewestFolders = 5;
constexpr std::uint32_t kDefaultMaxFolders = 10;
constexpr std::uint32_t kMostFolders = 30;

constexpr bool IsFolderCapInRange(std::uint32_t cap) noexcept {
    return cap >= kFewestFolders && cap <= kMostFolders;
}

// The cap in use, kept beside the settings; trimming reads it each time.
extern std::uint32_t maxFolders;

// Whether `maxFolders` holds a value worth saving: one read from the
// registry, or one the user chose.
extern bool maxFoldersKnown;

// The user's choice from the settings dialog, 5 to 30.
void ChooseMaxFolders(std::uint32_t cap) noexcept;
