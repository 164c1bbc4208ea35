#include "ui/image_strip_win32.h"

#include "ui/win32_util_win32.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace wmb {

namespace {

struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> bgra;  // top-down
};

Pixels read_pixels(HBITMAP bitmap) {
    Pixels p;
    BITMAP bm{};
    GetObjectW(bitmap, sizeof(bm), &bm);
    p.width = bm.bmWidth;
    p.height = bm.bmHeight;
    p.bgra.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    BITMAPINFO bi = top_down_bgra(p.width, p.height);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(p.height), p.bgra.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return p;
}

// Bilinear scaling in premultiplied space, so transparent edges do not darken.
Pixels scale_pixels(const Pixels& src, int width, int height) {
    Pixels dst;
    dst.width = width;
    dst.height = height;
    dst.bgra.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    auto at = [&](int x, int y, int c) -> double {
        x = std::clamp(x, 0, src.width - 1);
        y = std::clamp(y, 0, src.height - 1);
        std::uint32_t v = src.bgra[static_cast<std::size_t>(y) * static_cast<std::size_t>(src.width) + static_cast<std::size_t>(x)];
        double a = ((v >> 24) & 0xff) / 255.0;
        double ch = (v >> (8 * c)) & 0xff;
        return c == 3 ? a * 255.0 : ch * a;
    };
    for (int y = 0; y < height; ++y) {
        double sy = (y + 0.5) * src.height / height - 0.5;
        int y0 = static_cast<int>(sy < 0 ? sy - 1 : sy);
        double fy = sy - y0;
        for (int x = 0; x < width; ++x) {
            double sx = (x + 0.5) * src.width / width - 0.5;
            int x0 = static_cast<int>(sx < 0 ? sx - 1 : sx);
            double fx = sx - x0;
            double c[4];
            for (int k = 0; k < 4; ++k)
                c[k] = (at(x0, y0, k) * (1 - fx) + at(x0 + 1, y0, k) * fx) * (1 - fy) +
                       (at(x0, y0 + 1, k) * (1 - fx) + at(x0 + 1, y0 + 1, k) * fx) * fy;
            double a = c[3];
            std::uint32_t out = static_cast<std::uint32_t>(std::clamp(a, 0.0, 255.0) + 0.5) << 24;
            for (int k = 0; k < 3; ++k) {
                double v = a > 0 ? c[k] * 255.0 / a : 0;
                out |= static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5) << (8 * k);
            }
            dst.bgra[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = out;
        }
    }
    return dst;
}

HBITMAP make_dib(const Pixels& p) {
    BITMAPINFO bi = top_down_bgra(p.width, p.height);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) std::copy(p.bgra.begin(), p.bgra.end(), static_cast<std::uint32_t*>(bits));
    return dib;
}

Pixels with_top_margin(const Pixels& src, int margin) {
    if (margin <= 0) return src;
    Pixels dst;
    dst.width = src.width;
    dst.height = src.height + margin;
    dst.bgra.assign(static_cast<std::size_t>(dst.width) * static_cast<std::size_t>(dst.height), 0);
    std::copy(src.bgra.begin(), src.bgra.end(),
              dst.bgra.begin() + static_cast<std::ptrdiff_t>(margin) * dst.width);
    return dst;
}

}  // namespace

HIMAGELIST load_image_strip(int resource_id, int source_size, int target_size, int top_margin) {
    HBITMAP strip = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource_id),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!strip) return nullptr;
    Pixels src = read_pixels(strip);
    DeleteObject(strip);
    const int count = source_size > 0 ? src.width / source_size : 0;
    Pixels pixels = with_top_margin(
        target_size == source_size ? src : scale_pixels(src, count * target_size, target_size), top_margin);
    HBITMAP dib = make_dib(pixels);
    HIMAGELIST list = ImageList_Create(target_size, target_size + top_margin, ILC_COLOR32, count, 0);
    if (list && dib) ImageList_Add(list, dib, nullptr);
    if (dib) DeleteObject(dib);
    return list;
}

}  // namespace wmb
