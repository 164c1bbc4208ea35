#include "shell/gate.h"

namespace wmb {

void load_class_name(Gate& gate) { gate.编辑框_班级.set_text(gate.config.read_class_name()); }

void remind_first_use(Gate& gate) {
    if (gate.编辑框_班级.text().empty()) tell(gate.boxes, kFirstUseText, MsgIcon::warning, kReminderTitle);
}

void enter_register(Gate& gate) {
    GbkString name = gate.编辑框_班级.text();
    if (name.empty()) {
        tell(gate.boxes, kEmptyClassText, MsgIcon::warning, kReminderTitle);
        return;
    }
    if (!gate.config.write_class_name(name)) {
        tell(gate.boxes, u8"班级名称未能保存到 config.ini，下次启动时需要重新输入。", MsgIcon::warning,
             kReminderTitle);
    }
    gate.host.open_student_list();
    gate.host.close_gate();
}

void on_tray_event(ShellHost& host, TrayOwner owner, int event) {
    if (event == 1) {
        if (owner == TrayOwner::gate && !host.student_list_exists()) host.bring_forward_gate();
        else host.bring_forward_student_list();
    } else if (event == 3) {
        host.pop_up_tray_menu(owner);
    }
}

void tray_menu_enter(ShellHost& host) {
    if (host.student_list_exists()) host.bring_forward_student_list();
    else host.bring_forward_gate();
}

void tray_menu_exit(ShellHost& host) {
    if (host.student_list_exists()) host.close_student_list();
    if (host.gate_exists()) host.close_gate();
}

}  // namespace wmb
