// The stored form of the folder list: folder texts joined by "*??*".
// Portable (no Windows headers) so it can be built and fuzzed natively.
#pragma once

#include <cstddef>

// The separator written between two folder texts, and its length in units.
extern const char16_t kFolderSeparator[];
constexpr std::size_t kFolderSeparatorUnits = 4;

// Code units of `units` that come before the first NUL.
std::size_t TextLengthWithin(const char16_t* text, std::size_t units) noexcept;

inline bool IsFolderSeparator(char16_t unit) noexcept {
    return unit == u'*' || unit == u'?';
}

// Calls `visit(offset, length)` for each folder text of a stored list, in
// order: the maximal non-empty runs without '*' and '?', each of which
// separates on its own. Reads no further than `units` and stops at a NUL.
template <typename Visit>
void ForEachStoredFolder(const char16_t* text, std::size_t units, Visit&& visit) {
    std::size_t start = 0;
    std::size_t i = 0;
    for (; i < units && text[i] != u'\0'; ++i) {
        if (IsFolderSeparator(text[i])) {
            if (i > start) {
                visit(start, i - start);
            }
            start = i + 1;
        }
    }
    if (i > start) {
        visit(start, i - start);
    }
}

// Units of the joined list of `count` folders holding `folderUnits` units in
// all; false when that does not fit in `limit` units.
bool JoinedListUnits(std::size_t count, std::size_t folderUnits, std::size_t limit,
                     std::size_t* units) noexcept;

// Writes one folder of a joined list at `out` and returns the end; every
// folder after the first is preceded by the separator, also an empty one.
char16_t* AppendToFolderList(char16_t* out, bool first, const char16_t* folder,
                             std::size_t length) noexcept;
