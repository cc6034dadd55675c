#include "screen_pixels.h"

namespace screen_pixels {

namespace {

std::vector<unsigned char> PixelsOf(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

} // namespace

Picture Take(const RECT& area) {
    Picture picture;
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    win_handles::WindowDc screen(nullptr);
    win_handles::MemoryDc memory(CreateCompatibleDC(screen.get()));
    picture.bitmap.Reset(CreateCompatibleBitmap(screen.get(), width, height));
    HBITMAP bitmap = static_cast<HBITMAP>(picture.bitmap.get());
    {
        win_handles::Selection selected(memory.get(), bitmap);
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    }
    picture.pixels = PixelsOf(memory.get(), bitmap, width, height);
    return picture;
}

std::optional<Picture> Settled(const RECT& area, int tries) {
    Picture last = Take(area);
    for (int i = 1; i < tries; ++i) {
        Sleep(100);
        Picture next = Take(area);
        if (next.pixels == last.pixels) {
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
