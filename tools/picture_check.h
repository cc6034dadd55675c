// What a picture of the screen must show before it is saved: the windows it
// is taken for, each drawn where it stands and as it stands (a menu with its
// rows and the highlighted one, a window with its caption and controls).
// Each check answers what is missing, or an empty text when nothing is.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "screen_pixels.h"

namespace picture_check {

// A picture and the part of the screen that it shows.
class Shot {
  public:
    Shot(const screen_pixels::Picture& picture, const RECT& area)
        : picture_(picture), area_(area) {}
    const RECT& area() const { return area_; }
    // The colour at (x, y), screen coordinates inside the area.
    COLORREF At(int x, int y) const;

  private:
    const screen_pixels::Picture& picture_;
    RECT area_;
};

// An open popup menu of `rows` rows, separators included, row `highlighted`
// (from 0) highlighted; the windows `above` stand over it.
std::string PopupMenu(const Shot& shot, HWND menu, const std::vector<HWND>& above, int rows,
                      int highlighted);
// The menu bar item that `popup` drops from, highlighted.
std::string MenuBarItemOver(const Shot& shot, HWND popup);
// A window with its caption in the active or the inactive colours, and each
// of its controls that the windows `above` leave in sight showing something.
std::string CaptionedWindow(const Shot& shot, HWND window, const std::vector<HWND>& above,
                            bool active);
// The caret of thread `threadId` in `box`, drawn: it inverts the box's background.
std::string CaretIn(const Shot& shot, DWORD threadId, HWND box);

// Neither `window` nor any window inside it waits to be painted.
bool Painted(HWND window);

} // namespace picture_check
