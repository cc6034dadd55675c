// What the screen shows, as a bitmap and its pixels: menus under a bare X
// server are windows of their own, so the screen is what holds them all.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "win_handles.h"

namespace screen_pixels {

struct Picture {
    win_handles::GdiObject bitmap;
    std::vector<unsigned char> pixels; // 32-bit rows, top down
};

// What the screen shows in `area` (screen coordinates) now.
Picture Take(const RECT& area);
// The same once the screen has settled: two pictures in a row alike, within
// `tries` pictures. None when it never settled: whatever it showed last may
// be half drawn.
std::optional<Picture> Settled(const RECT& area, int tries = 30);
// How many of the picture's pixels are of `colour`.
size_t Count(const Picture& picture, COLORREF colour);

} // namespace screen_pixels
