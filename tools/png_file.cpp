#include "png_file.h"

#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max; // GDI+'s headers want these, and NOMINMAX takes the macros away
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace png_file {

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

} // namespace

bool Save(const screen_pixels::Picture& picture, const std::wstring& path) {
    GdiplusSession session;
    CLSID png = {};
    if (!session.ok() || !PngEncoder(png)) {
        return false;
    }
    GdiplusBitmap image(static_cast<HBITMAP>(picture.bitmap.get()));
    return image.get() != nullptr &&
           DllExports::GdipSaveImageToFile(image.get(), path.c_str(), &png, nullptr) == Ok;
}

} // namespace png_file
