#pragma once
// The gate: confirming the class name, entering the register, and the tray
// menu that both main windows share.

#include "shell/config_ini.h"
#include "ui/controls.h"
#include "ui/message_boxes.h"

namespace wmb {

// Which window a tray icon belongs to.
enum class TrayOwner { gate, student_list };

// What the gate's operations need of the program's windows.
class ShellHost {
public:
    virtual ~ShellHost() = default;
    virtual bool student_list_exists() const = 0;
    virtual bool gate_exists() const = 0;
    // Opens StudentListWindow modeless; its creation reads the class name.
    virtual void open_student_list() = 0;
    virtual void close_student_list() = 0;
    virtual void close_gate() = 0;
    virtual void bring_forward_student_list() = 0;
    virtual void bring_forward_gate() = 0;
    // Pops the menu "系统开关" up at the cursor for the window that owns the tray icon.
    virtual void pop_up_tray_menu(TrayOwner owner) = 0;
};

struct Gate {
    EditBox& 编辑框_班级;
    ConfigFile& config;
    MessageBoxes& boxes;
    ShellHost& host;
};

inline constexpr std::u8string_view kFirstUseText =
    u8"首次使用请在中间输入正确的学校班级名称，如  晓禾初中2017级1班";
inline constexpr std::u8string_view kEmptyClassText = u8"请输入正确的学校班级名称，如  晓禾初中2017级1班";
inline constexpr std::u8string_view kReminderTitle = u8"温馨提醒！";

// Creation, before the window shows: the class name from config.ini.
void load_class_name(Gate& gate);
// Creation, once the window shows: the first-use reminder when no name is known.
void remind_first_use(Gate& gate);
void enter_register(Gate& gate);

// Tray events: 1 left button up, 2 left double click, 3 right button up or menu key.
void on_tray_event(ShellHost& host, TrayOwner owner, int event);

// The items of "系统开关".
void tray_menu_enter(ShellHost& host);
void tray_menu_exit(ShellHost& host);

}  // namespace wmb
