#pragma once
// AboutWindow: the program's name and its notice.

#include "ui/win32_util_win32.h"
#include "ui/window_win32.h"

namespace wmb {

class Program;

class AboutWindow : public Window {
public:
    explicit AboutWindow(Program& program) : program_(program) {}
    bool create();

protected:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void on_destroyed() override;
    void on_dpi_changed() override;

private:
    Program& program_;
    HWND title_ = nullptr;
    HWND notice_ = nullptr;
    FontHandle title_font_, notice_font_;
};

}  // namespace wmb
