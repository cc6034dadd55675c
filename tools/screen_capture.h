// Pictures of what the screen shows, saved as PNG files: menus under a bare
// X server are windows of their own, so the screen is what holds them all.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win_handles.h"

namespace screen_capture {

class Shot {
  public:
    // What the screen shows in `area` (screen coordinates) now.
    static Shot Take(const RECT& area);

    bool Valid() const { return static_cast<bool>(bitmap_); }
    bool SamePixels(const Shot& other) const { return pixels_ == other.pixels_; }
    // Through GDI+'s PNG encoder; false when that fails.
    bool SavePng(const std::wstring& path) const;

  private:
    win_handles::GdiObject bitmap_;
    std::vector<unsigned char> pixels_; // 32-bit rows, to compare shots
};

// A shot once the screen has settled: two shots in a row alike, up to `tries`.
Shot Settled(const RECT& area, int tries = 30);

} // namespace screen_capture
