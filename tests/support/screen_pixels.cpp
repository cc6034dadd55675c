#include "screen_pixels.h"

namespace screen_pixels {

namespace {

// `width` by `height` pixels of `source` from (x, y), copied into a picture.
Picture Copy(HDC source, int x, int y, int width, int height) {
    Picture picture;
    win_handles::MemoryDc memory(CreateCompatibleDC(source));
    picture.bitmap.Reset(CreateCompatibleBitmap(source, width, height));
    HBITMAP bitmap = static_cast<HBITMAP>(picture.bitmap.get());
    {
        win_handles::Selection selected(memory.get(), bitmap);
        BitBlt(memory.get(), 0, 0, width, height, source, x, y, SRCCOPY);
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    picture.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    GetDIBits(memory.get(), bitmap, 0, static_cast<UINT>(height), picture.pixels.data(), &info,
              DIB_RGB_COLORS);
    return picture;
}

FARPROC User32Function(const char* name) {
    return GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
}

// While it lives, this thread is a per-monitor DPI-aware one (Windows 10
// 1607 on): window rectangles, monitors and the screen's DC are then all in
// the screen's own pixels, whatever Windows does to the windows of a program
// that is not DPI-aware. Not active on an older Windows.
class PhysicalPixels {
  public:
    PhysicalPixels()
        : set_(reinterpret_cast<SetContext>(
              reinterpret_cast<void (*)()>(User32Function("SetThreadDpiAwarenessContext")))) {
        if (set_ != nullptr) {
            previous_ = set_(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3))); // per monitor
        }
    }
    ~PhysicalPixels() {
        if (previous_ != nullptr) {
            set_(previous_);
        }
    }
    PhysicalPixels(const PhysicalPixels&) = delete;
    PhysicalPixels& operator=(const PhysicalPixels&) = delete;
    bool active() const { return previous_ != nullptr; }

  private:
    using SetContext = HANDLE(WINAPI*)(HANDLE);
    SetContext set_;
    HANDLE previous_ = nullptr;
};

// How much Windows scales `window` on the screen, in per cent, as far as an
// older Windows tells (Vista's and 8.1's conversions of a window's points).
int ScalePercent(HWND window) {
    using Convert = BOOL(WINAPI*)(HWND, POINT*);
    FARPROC found = User32Function("LogicalToPhysicalPointForPerMonitorDPI");
    if (found == nullptr) {
        found = User32Function("LogicalToPhysicalPoint");
    }
    RECT rect = {};
    GetWindowRect(window, &rect);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    Convert convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(found));
    if (convert == nullptr || rect.right <= rect.left || !convert(window, &corners[0]) ||
        !convert(window, &corners[1])) {
        return 100;
    }
    return MulDiv(corners[1].x - corners[0].x, 100, rect.right - rect.left);
}

} // namespace

Picture Take(const RECT& area) {
    win_handles::WindowDc screen(nullptr);
    return Copy(screen.get(), area.left, area.top, area.right - area.left, area.bottom - area.top);
}

std::optional<Picture> WhereShown(HWND window, std::string* why) {
    PhysicalPixels physical;
    if (!physical.active()) {
        int percent = ScalePercent(window);
        if (percent != 100) {
            *why = "the display is scaled to " + std::to_string(percent) +
                   " % for this program, and this Windows (before Windows 10 1607) gives it no "
                   "picture of the screen in the screen's own pixels";
            return std::nullopt;
        }
    }
    // Raised above other windows, so that none covers it: only a window of
    // ours, never another program's (and none is a failure, not a skip). The
    // work area leaves out the taskbar, which a maximised window's frame
    // reaches under.
    DWORD owner = 0;
    RECT shown = {};
    RECT rect = {};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetWindowThreadProcessId(window, &owner) == 0 || owner != GetCurrentProcessId() ||
        !SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) ||
        !GetWindowRect(window, &rect) ||
        !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor) ||
        !IntersectRect(&shown, &rect, &monitor.rcWork)) {
        why->clear();
        return std::nullopt;
    }
    return Take(shown);
}

std::optional<Picture> Drawn(HWND window, const RECT& part) {
    RECT client = {};
    GetClientRect(window, &client);
    if (part.right <= part.left || part.bottom <= part.top || client.right <= 0 ||
        client.bottom <= 0) {
        return std::nullopt;
    }
    win_handles::WindowDc screen(nullptr);
    win_handles::MemoryDc whole(CreateCompatibleDC(screen.get()));
    win_handles::GdiObject bitmap(
        CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    win_handles::Selection selected(whole.get(), bitmap.get());
    // The window paints itself into our DC, in its own coordinates: Windows
    // scales nothing of that, and nothing on the screen covers it.
    if (!PrintWindow(window, whole.get(), PW_CLIENTONLY)) {
        return std::nullopt;
    }
    return Copy(whole.get(), part.left, part.top, part.right - part.left, part.bottom - part.top);
}

std::optional<Picture> Settled(const std::function<std::optional<Picture>()>& take) {
    std::optional<Picture> last = take();
    for (int i = 1; i < 30 && last; ++i) {
        Sleep(100);
        std::optional<Picture> next = take();
        if (next && next->pixels == last->pixels) {
            return next;
        }
        last = std::move(next);
    }
    return std::nullopt;
}

size_t Count(const Picture& picture, COLORREF colour) {
    size_t count = 0;
    for (size_t at = 0; at + 3 < picture.pixels.size(); at += 4) { // blue, green, red, unused
        const unsigned char* pixel = &picture.pixels[at];
        count += RGB(pixel[2], pixel[1], pixel[0]) == colour;
    }
    return count;
}

} // namespace screen_pixels
