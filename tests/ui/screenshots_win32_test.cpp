// Pictures of the windows for review: run with WMB_SCREENSHOT_DIR set
// (tools/screenshots.sh); skipped otherwise.

#include <gtest/gtest.h>

#include <objidl.h>
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cstdlib>

#include "data/gbk_codec.h"
#include "harness_win32.h"
#include "shell/layout.h"
#include "shell/program_win32.h"

namespace wmb::ui_test {
namespace {

std::filesystem::path screenshot_dir() {
    const wchar_t* dir = _wgetenv(L"WMB_SCREENSHOT_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path();
}

bool png_encoder(CLSID* clsid) {
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<unsigned char> buf(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i)
        if (std::wstring(codecs[i].MimeType) == L"image/png") {
            *clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}

// What the screen shows of the window, frame included.
void save_window(HWND hwnd, const std::filesystem::path& file) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY | CAPTUREBLT);
    SelectObject(mem, old);
    {
        Gdiplus::Bitmap image(bmp, nullptr);
        CLSID png;
        ASSERT_TRUE(png_encoder(&png));
        EXPECT_EQ(image.Save(file.wstring().c_str(), &png, nullptr), Gdiplus::Ok) << file.string();
    }
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

TEST(Screenshots, GateMainListAndAbout) {
    const std::filesystem::path dir = screenshot_dir();
    if (dir.empty()) GTEST_SKIP() << "WMB_SCREENSHOT_DIR is not set";
    std::filesystem::create_directories(dir);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);

    RunFolder folder;
    folder.add_students({sample_student(1, u8"小苹果"), sample_student(2, u8"李雷"), sample_student(3, u8"韩梅梅"),
                         sample_student(4, u8"王小明"), sample_student(5, u8"赵䶮")});
    {
        App app(folder.path());
        app.expect_box(L"首次使用请在中间输入正确的学校班级名称，如  晓禾初中2017级1班", L"温馨提醒！", MsgButtons::ok,
                       MsgIcon::warning, IDOK);
        HWND gate = app.wait_window(kGateWindowClass);
        app.set_text(control(gate, gate_layout::k编辑框_班级), L"晓禾初中2017级1班");
        save_window(gate, dir / "gate.png");
        app.click(control(gate, gate_layout::k按钮_确定));
        HWND main = app.wait_window(kStudentListWindowClass);
        HWND list = control(main, list_layout::k超级列表框1);
        app.click_list_row(list, 1);
        app.wait_until([&] { return App::list_selected(list) == 1; });
        save_window(main, dir / "main.png");
        app.click_toolbar(control(main, list_layout::k工具条1), 9);
        HWND about = app.wait_window(kAboutWindowClass);
        save_window(about, dir / "about.png");
    }
    Gdiplus::GdiplusShutdown(token);
}

}  // namespace
}  // namespace wmb::ui_test
