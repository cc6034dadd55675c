#include "picture_check.h"

namespace picture_check {

namespace {

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool Inside(const RECT& outer, const RECT& inner) {
    return inner.left < inner.right && inner.top < inner.bottom && inner.left >= outer.left &&
           inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

std::string Where(const RECT& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")";
}

// The windows that stand over another one and hide what lies under them.
class Cover {
  public:
    explicit Cover(const std::vector<HWND>& above) {
        for (HWND window : above) {
            rects_.push_back(WindowRect(window));
        }
    }
    bool Hides(int x, int y) const {
        POINT point = {x, y};
        for (const RECT& rect : rects_) {
            if (PtInRect(&rect, point)) {
                return true;
            }
        }
        return false;
    }

  private:
    std::vector<RECT> rects_;
};

// Menus are flat in Wine's default look: a one-pixel frame of the shadow
// colour, the highlighted row in the menu highlight colour.
bool FlatFrame(const Shot& shot, const RECT& rect, const Cover& cover) {
    COLORREF frame = GetSysColor(COLOR_BTNSHADOW);
    auto drawn = [&](int x, int y) { return cover.Hides(x, y) || shot.At(x, y) == frame; };
    for (int x = rect.left; x < rect.right; ++x) {
        if (!drawn(x, rect.top) || !drawn(x, rect.bottom - 1)) {
            return false;
        }
    }
    for (int y = rect.top; y < rect.bottom; ++y) {
        if (!drawn(rect.left, y) || !drawn(rect.right - 1, y)) {
            return false;
        }
    }
    return true;
}

// A run of lines inside a menu with something on them (text, a separator, a
// highlight), between lines of bare menu background.
struct Row {
    bool highlighted = false;
};

std::vector<Row> RowsOf(const Shot& shot, const RECT& inner, const Cover& cover) {
    COLORREF background = GetSysColor(COLOR_MENU);
    COLORREF highlight = GetSysColor(COLOR_MENUHILIGHT);
    std::vector<Row> rows;
    bool inRow = false;
    for (int y = inner.top; y < inner.bottom; ++y) {
        int seen = 0;
        int lit = 0;
        bool ink = false;
        for (int x = inner.left; x < inner.right; ++x) {
            if (cover.Hides(x, y)) {
                continue;
            }
            COLORREF colour = shot.At(x, y);
            ++seen;
            lit += colour == highlight ? 1 : 0;
            ink = ink || colour != background;
        }
        if (ink && !inRow) {
            rows.push_back(Row{});
        }
        inRow = ink;
        if (ink && lit * 2 > seen) {
            rows.back().highlighted = true;
        }
    }
    return rows;
}

// Whether the part of `rect` that is in sight shows more than one colour.
bool ShowsSomething(const Shot& shot, const RECT& rect, const Cover& cover) {
    bool first = true;
    COLORREF seen = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (cover.Hides(x, y)) {
                continue;
            }
            COLORREF colour = shot.At(x, y);
            if (!first && colour != seen) {
                return true;
            }
            first = false;
            seen = colour;
        }
    }
    return first; // nothing of it in sight: nothing to miss
}

bool CaptionDrawn(const Shot& shot, const RECT& rect, const Cover& cover, bool active) {
    COLORREF plain = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    COLORREF gradient =
        GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    int last = rect.top + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
    for (int y = rect.top; y < last && y < rect.bottom; ++y) {
        int seen = 0;
        int coloured = 0;
        for (int x = rect.left; x < rect.right; ++x) {
            if (!cover.Hides(x, y)) {
                COLORREF colour = shot.At(x, y);
                ++seen;
                coloured += colour == plain || colour == gradient ? 1 : 0;
            }
        }
        if (seen > 0 && coloured * 2 > seen) {
            return true;
        }
    }
    return false;
}

BOOL CALLBACK FindUnpainted(HWND child, LPARAM param) {
    if (GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(param) = false;
        return FALSE;
    }
    return TRUE;
}

} // namespace

COLORREF Shot::At(int x, int y) const {
    size_t width = static_cast<size_t>(area_.right - area_.left);
    size_t at =
        (static_cast<size_t>(y - area_.top) * width + static_cast<size_t>(x - area_.left)) * 4;
    const unsigned char* pixel = &picture_.pixels[at]; // blue, green, red, unused
    return RGB(pixel[2], pixel[1], pixel[0]);
}

std::string PopupMenu(const Shot& shot, HWND menu, const std::vector<HWND>& above, int rows,
                      int highlighted) {
    RECT rect = WindowRect(menu);
    if (!IsWindowVisible(menu)) {
        return "it is not open";
    }
    if (!Inside(shot.area(), rect)) {
        return "it lies outside the picture, at " + Where(rect);
    }
    Cover cover(above);
    if (!FlatFrame(shot, rect, cover)) {
        return "its frame is not drawn at " + Where(rect);
    }
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    std::vector<Row> shown = RowsOf(shot, inner, cover);
    if (static_cast<int>(shown.size()) != rows) {
        return "it shows " + std::to_string(shown.size()) + " rows of items at " + Where(rect) +
               ", not " + std::to_string(rows);
    }
    for (int row = 0; row < rows; ++row) {
        if (shown[static_cast<size_t>(row)].highlighted != (row == highlighted)) {
            return "row " + std::to_string(row + 1) + (row == highlighted ? " is not" : " is") +
                   " highlighted";
        }
    }
    return {};
}

std::string MenuBarItemOver(const Shot& shot, HWND popup) {
    RECT rect = WindowRect(popup);
    // A patch of the bar just above the popup's top left corner.
    RECT patch = {rect.left + 2, rect.top - 6, rect.left + 10, rect.top - 2};
    if (!Inside(shot.area(), patch)) {
        return "the menu bar lies outside the picture";
    }
    COLORREF highlight = GetSysColor(COLOR_MENUHILIGHT);
    for (int y = patch.top; y < patch.bottom; ++y) {
        for (int x = patch.left; x < patch.right; ++x) {
            if (shot.At(x, y) != highlight) {
                return "its item on the menu bar is not highlighted";
            }
        }
    }
    return {};
}

std::string CaptionedWindow(const Shot& shot, HWND window, const std::vector<HWND>& above,
                            bool active) {
    RECT rect = WindowRect(window);
    if (!IsWindowVisible(window)) {
        return "it is not shown";
    }
    if (!Inside(shot.area(), rect)) {
        return "it lies outside the picture, at " + Where(rect);
    }
    Cover cover(above);
    if (!CaptionDrawn(shot, rect, cover, active)) {
        return std::string("its caption is not drawn ") + (active ? "active" : "inactive") +
               " at " + Where(rect);
    }
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT part = WindowRect(child);
        if (IsWindowVisible(child) && IntersectRect(&part, &part, &rect) &&
            !ShowsSomething(shot, part, cover)) {
            return "its control " + std::to_string(GetDlgCtrlID(child)) + " shows nothing at " +
                   Where(part);
        }
    }
    return {};
}

std::string CaretIn(const Shot& shot, DWORD threadId, HWND box) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId, &info) || info.hwndCaret != box) {
        return "the caret is not in the box";
    }
    RECT caret = info.rcCaret;
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&caret), 2);
    if (!Inside(shot.area(), caret)) {
        return "the caret lies outside the picture, at " + Where(caret);
    }
    COLORREF inverse = ~GetSysColor(COLOR_WINDOW) & 0xFFFFFF;
    for (int y = caret.top; y < caret.bottom; ++y) {
        for (int x = caret.left; x < caret.right; ++x) {
            if (shot.At(x, y) != inverse) {
                return "the caret is not drawn at " + Where(caret) + " (it blinks)";
            }
        }
    }
    return {};
}

bool Painted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) {
        return false;
    }
    bool painted = true;
    EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&painted));
    return painted;
}

} // namespace picture_check
