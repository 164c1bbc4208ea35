#pragma once
// GateWindow: asks for the class name over the background picture.

#include "shell/gate.h"
#include "ui/controls_win32.h"
#include "shell/tray_window_win32.h"
#include "ui/win32_util_win32.h"
#include "ui/window_win32.h"

namespace wmb {

class Program;

class GateWindow : public TrayWindow {
public:
    explicit GateWindow(Program& program);
    ~GateWindow() override;
    bool create();
    Win32EditBox& class_box() { return class_box_; }

protected:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void on_dpi_changed() override;

private:
    void create_controls();
    void paint_background(HDC dc);
    Gate gate();

    Win32EditBox class_box_;
    HWND enter_button_ = nullptr;
    FontHandle edit_font_, button_font_;
    HBITMAP background_ = nullptr;
    SIZE background_size_{0, 0};
};

}  // namespace wmb
