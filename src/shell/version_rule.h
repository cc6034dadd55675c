// The host version rule, kept free of windows.h so it can be built and fuzzed anywhere.
#pragma once

#include <cstddef>

// The version text that a host must not be older than to do without QVA_SetStatus.
extern const char kSetStatusHostVersion[]; // "2.00.06"

// A host counts as older when its version text is at most 7 characters long
// (`length`, as lstrlenA measures it) and sorts before "2.00.06" (`comparison`,
// the sign of lstrcmpA of the text against it). The rule is textual: "10.0"
// is older, "2.1" is not, and no text of 8 or more characters is older.
bool IsOlderHostVersion(std::size_t length, int comparison) noexcept;
