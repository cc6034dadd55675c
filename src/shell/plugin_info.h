// The plug-in information record that the host hands to QVC_OnPlugInInfo.
// Kept free of windows.h.
#pragma once

#include <cstddef>

// NUL-terminated code page 932 texts.
extern const char kPlugInName[];        // "Quorvel!移動プラグイン", 22 bytes
extern const char kPlugInVendor[];      // "Tolvenar"
extern const char kPlugInVersion[];     // "1.0"
extern const char kPlugInDescription[]; // 90 bytes

// The record's bytes that the plug-in writes lie within its first 331.
constexpr std::size_t kPlugInInfoMinimumSize = 331;

// Writes the name, vendor, version and description, each with its NUL, at
// byte offsets 0, 80, 160 and 240 of `record`; no other byte is touched and
// nothing is read.
void WritePlugInInfo(char* record) noexcept;
