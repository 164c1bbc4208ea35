#pragma once
// Pictures from JPEG bytes (GDI+), scaled with a good filter.

#include <windows.h>

#include <memory>
#include <string_view>

namespace Gdiplus {
class Bitmap;
}

namespace wmb {

// GDI+ for the lifetime of the object.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token_ = 0;
};

class Picture {
public:
    Picture();
    ~Picture();
    Picture(Picture&&) noexcept;
    Picture& operator=(Picture&&) noexcept;

    // An empty picture when the bytes are not an image.
    static Picture decode(std::string_view bytes);
    bool empty() const { return !bitmap_; }
    SIZE size() const;
    // A DIB of the picture stretched to width x height; nullptr when empty.
    HBITMAP render(int width, int height) const;

private:
    std::unique_ptr<Gdiplus::Bitmap> bitmap_;
};

}  // namespace wmb
