#pragma once
// The two windows that own a tray icon (GateWindow, StudentListWindow): the
// icon's life, its events, closing, and telling the program when gone.

#include "shell/gate.h"
#include "ui/tray_icon_win32.h"
#include "ui/window_win32.h"

namespace wmb {

class Program;

class TrayWindow : public Window {
protected:
    TrayWindow(Program& program, TrayOwner owner) : program_(program), owner_(owner) {}

    void add_tray_icon();
    // The messages both windows handle alike; false for any other.
    bool handle_shared_message(UINT msg, LPARAM lp);
    void on_destroyed() override;

    Program& program_;

private:
    TrayOwner owner_;
    TrayIcon tray_;
};

}  // namespace wmb
