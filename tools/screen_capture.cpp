#include "screen_capture.h"

#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max; // GDI+'s headers want these, and NOMINMAX takes the macros away
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace screen_capture {

namespace {

using namespace Gdiplus;

// GDI+ from start-up to shutdown.
class GdiplusSession {
  public:
    GdiplusSession() {
        GdiplusStartupInput input;
        ok_ = GdiplusStartup(&token_, &input, nullptr) == Ok;
    }
    ~GdiplusSession() {
        if (ok_) {
            GdiplusShutdown(token_);
        }
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool ok() const { return ok_; }

  private:
    ULONG_PTR token_ = 0;
    bool ok_ = false;
};

// A GDI+ bitmap, disposed of when the owner goes.
class GdiplusBitmap {
  public:
    explicit GdiplusBitmap(HBITMAP bitmap) {
        DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &bitmap_);
    }
    ~GdiplusBitmap() {
        if (bitmap_ != nullptr) {
            DllExports::GdipDisposeImage(bitmap_);
        }
    }
    GdiplusBitmap(const GdiplusBitmap&) = delete;
    GdiplusBitmap& operator=(const GdiplusBitmap&) = delete;
    GpBitmap* get() const { return bitmap_; }

  private:
    GpBitmap* bitmap_ = nullptr;
};

bool PngEncoder(CLSID& clsid) {
    UINT count = 0;
    UINT bytes = 0;
    if (DllExports::GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0) {
        return false;
    }
    std::vector<unsigned char> buffer(bytes);
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    if (DllExports::GdipGetImageEncoders(count, bytes, codecs) != Ok) {
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        if (lstrcmpW(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

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

Shot Shot::Take(const RECT& area) {
    Shot shot;
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    win_handles::WindowDc screen(nullptr);
    win_handles::MemoryDc memory(CreateCompatibleDC(screen.get()));
    shot.bitmap_.Reset(CreateCompatibleBitmap(screen.get(), width, height));
    HBITMAP bitmap = static_cast<HBITMAP>(shot.bitmap_.get());
    {
        win_handles::Selection selected(memory.get(), bitmap);
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    }
    shot.pixels_ = PixelsOf(memory.get(), bitmap, width, height);
    return shot;
}

bool Shot::SavePng(const std::wstring& path) const {
    GdiplusSession session;
    CLSID png = {};
    if (!session.ok() || !PngEncoder(png)) {
        return false;
    }
    GdiplusBitmap image(static_cast<HBITMAP>(bitmap_.get()));
    return image.get() != nullptr &&
           DllExports::GdipSaveImageToFile(image.get(), path.c_str(), &png, nullptr) == Ok;
}

Shot Settled(const RECT& area, int tries) {
    Shot last = Shot::Take(area);
    for (int i = 1; i < tries; ++i) {
        Sleep(100);
        Shot next = Shot::Take(area);
        if (next.SamePixels(last)) {
            return next;
        }
        last = std::move(next);
    }
    return last;
}

} // namespace screen_capture
