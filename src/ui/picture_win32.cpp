#include "ui/picture_win32.h"

#include "ui/win32_util_win32.h"

#include <objidl.h>
#include <shlwapi.h>
// GDI+ headers want min/max, which NOMINMAX keeps out of windows.h.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace wmb {

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
}

Picture::Picture() = default;
Picture::~Picture() = default;
Picture::Picture(Picture&&) noexcept = default;
Picture& Picture::operator=(Picture&&) noexcept = default;

Picture Picture::decode(std::string_view bytes) {
    Picture p;
    if (bytes.empty() || bytes.size() > 0x7fffffff) return p;
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    if (!stream) return p;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (bitmap && bitmap->GetLastStatus() == Gdiplus::Ok && bitmap->GetWidth() > 0) p.bitmap_ = std::move(bitmap);
    return p;
}

SIZE Picture::size() const {
    if (!bitmap_) return SIZE{0, 0};
    return SIZE{static_cast<LONG>(bitmap_->GetWidth()), static_cast<LONG>(bitmap_->GetHeight())};
}

HBITMAP Picture::render(int width, int height) const {
    if (!bitmap_ || width <= 0 || height <= 0) return nullptr;
    BITMAPINFO bi = top_down_bgra(width, height);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    {
        Gdiplus::Graphics g(dc);
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
        Gdiplus::ImageAttributes tile;
        tile.SetWrapMode(Gdiplus::WrapModeTileFlipXY);  // no dark seam at the edges
        g.DrawImage(bitmap_.get(), Gdiplus::Rect(0, 0, width, height), 0, 0,
                    static_cast<INT>(bitmap_->GetWidth()), static_cast<INT>(bitmap_->GetHeight()),
                    Gdiplus::UnitPixel, &tile);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return dib;
}

}  // namespace wmb
