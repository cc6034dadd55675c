// The stored form of the folder list: folder texts joined by "*??*".
// Portable (no Windows headers) so it can be built and fuzzed natively.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct TextPiece {
    std::size_t offset;
    std::size_t length;
};

// The separator written between two folder texts.
extern const char16_t kFolderSeparator[];

// Code units of `units` that come before the first NUL.
std::size_t TextLengthWithin(const char16_t* text, std::size_t units) noexcept;

// The folder texts of a stored list: the maximal non-empty runs without '*'
// and '?', each of which separates on its own. Reads no further than `units`.
std::vector<TextPiece> SplitFolderList(const char16_t* text, std::size_t units);

// Appends one folder to a joined list; every folder after the first is
// preceded by the separator, also an empty one.
void AppendToFolderList(std::u16string& joined, bool first, const char16_t* folder,
                        std::size_t length);
