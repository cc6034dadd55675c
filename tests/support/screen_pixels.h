// Pictures of what a person sees, as a bitmap and its pixels: of the screen
// (menus under a bare X server are windows of their own, so the screen is
// what holds them all), of the screen where one window shows, and of what one
// of our windows draws.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win_handles.h"

namespace screen_pixels {

struct Picture {
    win_handles::GdiObject bitmap;
    std::vector<unsigned char> pixels; // 32-bit rows, top down
};

// What the screen shows in `area` (screen coordinates as this thread sees
// them) now.
Picture Take(const RECT& area);
// What the screen shows where top-level `window` is, in the screen's own
// pixels: right also where Windows scales the window of a program that is
// not DPI-aware. None, with `why` saying so, where this Windows cannot give
// that picture at the scaling in force.
std::optional<Picture> WhereShown(HWND window, std::string* why);
// What `window` (one of this process's) draws of `part` of its client area,
// painted into a bitmap of ours: the same at every display scaling, whatever
// covers the window.
std::optional<Picture> Drawn(HWND window, const RECT& part);

// The picture `take` gives once it has settled: two in a row alike, within
// 30 pictures. None when it never settled (whatever it showed last may be half
// drawn) or `take` gave none.
std::optional<Picture> Settled(const std::function<std::optional<Picture>()>& take);
size_t Count(const Picture& picture, COLORREF colour);

} // namespace screen_pixels
