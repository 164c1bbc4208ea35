#include "shell/gate.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shell_fixture.h"

namespace wmb {
namespace {

using namespace shell_test;

const MessageRequest kFirstUseBox{u8"首次使用请在中间输入正确的学校班级名称，如  晓禾初中2017级1班", u8"温馨提醒！",
                                  MsgButtons::ok, MsgIcon::warning};
const MessageRequest kEmptyNameBox{u8"请输入正确的学校班级名称，如  晓禾初中2017级1班", u8"温馨提醒！",
                                   MsgButtons::ok, MsgIcon::warning};

// The program's windows as the gate sees them; records every call in order.
class RecordingShellHost : public ShellHost {
public:
    explicit RecordingShellHost(const EditBox* gate_edit = nullptr) : gate_edit_(gate_edit) {}

    bool list_open = false;
    bool gate_open = true;
    std::vector<std::string> calls;
    GbkString class_name_at_open;  // what StudentListWindow's creation would read

    bool student_list_exists() const override { return list_open; }
    bool gate_exists() const override { return gate_open; }
    void open_student_list() override {
        calls.push_back("open_student_list");
        if (gate_edit_) class_name_at_open = gate_edit_->text();
        list_open = true;
    }
    void close_student_list() override {
        calls.push_back("close_student_list");
        list_open = false;
    }
    void close_gate() override {
        calls.push_back("close_gate");
        gate_open = false;
    }
    void bring_forward_student_list() override { calls.push_back("bring_forward_student_list"); }
    void bring_forward_gate() override { calls.push_back("bring_forward_gate"); }
    void pop_up_tray_menu(TrayOwner owner) override {
        calls.push_back(owner == TrayOwner::gate ? "pop_up_tray_menu(gate)" : "pop_up_tray_menu(student_list)");
    }

private:
    const EditBox* gate_edit_;
};

using Calls = std::vector<std::string>;

class GateTest : public ::testing::Test {
protected:
    TempRunFolder folder;
    FakeEditBox edit;
    ConfigFile config{folder.paths().config_file()};
    FakeMessageBoxes boxes;
    RecordingShellHost host{&edit};
    Gate gate{edit, config, boxes, host};

    fs::path config_path() const { return folder.paths().config_file(); }

    // GateWindow's creation: the name from config.ini, then the reminder.
    void start() {
        load_class_name(gate);
        remind_first_use(gate);
    }

    // A new start of the program on the same folder fills the box and stays quiet.
    void expect_next_start_shows(const GbkString& name) const {
        FakeEditBox next_edit;
        ConfigFile next_config(config_path());
        FakeMessageBoxes next_boxes;
        RecordingShellHost next_host;
        Gate next{next_edit, next_config, next_boxes, next_host};
        load_class_name(next);
        remind_first_use(next);
        EXPECT_EQ(next_edit.text(), name);
        EXPECT_TRUE(next_boxes.shown().empty());
    }
};

TEST_F(GateTest, WithoutAClassNameTheFirstStartReminds) {
    struct Case {
        const char* what;
        std::optional<std::u8string> file;
    };
    const Case cases[] = {
        {"no config.ini", std::nullopt},
        {"an empty file", u8"\r\n"},
        {"no section", u8"[其他]\r\ndate=2017级1班\r\n"},
        {"no key", u8"[学校班级]\r\nyear=2017\r\n"},
        {"an empty value", u8"[学校班级]\r\ndate=\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.file) write_bytes(config_path(), utf8_to_gbk(*c.file));
        boxes.reset();
        edit.set_text(g(u8"上次的文字"));
        start();
        EXPECT_TRUE(edit.text().empty());
        EXPECT_EQ(boxes.shown(), std::vector<MessageRequest>{kFirstUseBox});
        EXPECT_TRUE(host.calls.empty());
    }
}

TEST_F(GateTest, AKnownClassNameIsShownWithoutReminder) {
    struct Case {
        std::u8string file;
        std::u8string name;
    };
    const Case cases[] = {
        {u8"[学校班级]\r\ndate=晓禾初中2017级1班\r\n", u8"晓禾初中2017级1班"},
        {u8"[学校班级]\r\ndate=\"   \"\r\n", u8"   "},
        {u8"[其他]\r\nx=1\r\n[学校班级]\r\ndate=2017级1班\r\n", u8"2017级1班"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(u(c.name));
        write_bytes(config_path(), utf8_to_gbk(c.file));
        boxes.reset();
        start();
        EXPECT_EQ(edit.text(), g(c.name));
        EXPECT_TRUE(boxes.shown().empty());
    }
}

TEST_F(GateTest, RemindLooksAtTheEditBoxNotAtTheFile) {
    edit.set_text(g(u8"2017级1班"));
    remind_first_use(gate);
    EXPECT_TRUE(boxes.shown().empty());
    edit.set_text(GbkString());
    remind_first_use(gate);
    EXPECT_EQ(boxes.shown(), std::vector<MessageRequest>{kFirstUseBox});
}

TEST_F(GateTest, AnEmptyNameIsRefusedAndNothingElseHappens) {
    start();
    boxes.reset();
    enter_register(gate);
    EXPECT_EQ(boxes.shown(), std::vector<MessageRequest>{kEmptyNameBox});
    EXPECT_TRUE(host.calls.empty());
    EXPECT_FALSE(fs::exists(config_path()));

    // Nor is a name stored earlier overwritten.
    const std::string stored = utf8_to_gbk(u8"[学校班级]\r\ndate=2017级1班\r\n");
    write_bytes(config_path(), stored);
    boxes.reset();
    enter_register(gate);
    EXPECT_EQ(boxes.shown(), std::vector<MessageRequest>{kEmptyNameBox});
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(file_bytes(config_path()), stored);
}

TEST_F(GateTest, EnteringStoresTheNameInGbkThenOpensTheListThenClosesTheGate) {
    start();
    boxes.reset();
    edit.set_text(g(u8"晓禾初中2017级1班"));
    enter_register(gate);

    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(host.calls, (Calls{"open_student_list", "close_gate"}));
    EXPECT_EQ(host.class_name_at_open, g(u8"晓禾初中2017级1班"));
    EXPECT_EQ(file_bytes(config_path()), utf8_to_gbk(u8"[学校班级]\r\ndate=晓禾初中2017级1班\r\n"));

    // The next start shows the name and does not remind.
    expect_next_start_shows(g(u8"晓禾初中2017级1班"));
}

TEST_F(GateTest, ANameOfSpacesIsAcceptedStoredAndShownNextTime) {
    for (const std::u8string_view name : {u8"   ", u8" ", u8"　"}) {  // ASCII and full-width spaces
        SCOPED_TRACE(u(name));
        host.calls.clear();
        boxes.reset();
        edit.set_text(g(name));
        enter_register(gate);
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_EQ(host.calls, (Calls{"open_student_list", "close_gate"}));
        EXPECT_EQ(host.class_name_at_open, g(name));
        EXPECT_EQ(ConfigFile(config_path()).read_class_name(), g(name));
        expect_next_start_shows(g(name));
    }
}

TEST_F(GateTest, EnteringAgainReplacesTheNameAndKeepsTheRestOfTheFile) {
    write_bytes(config_path(), utf8_to_gbk(u8"[其他]\r\nx=1\r\n[学校班级]\r\ndate=旧班级\r\n"));
    edit.set_text(g(u8"新班级"));
    enter_register(gate);
    EXPECT_EQ(file_bytes(config_path()), utf8_to_gbk(u8"[其他]\r\nx=1\r\n[学校班级]\r\ndate=新班级\r\n"));
    EXPECT_EQ(host.calls, (Calls{"open_student_list", "close_gate"}));
}

TEST_F(GateTest, AConfigThatCannotBeWrittenIsToldAndTheListStillOpens) {
    struct Case {
        const char* what;
        fs::path config;
    };
    const fs::path directory = folder.path(u8"目录");
    fs::create_directories(directory / "config.ini");
    const fs::path read_only = folder.path(u8"只读") / "config.ini";
    fs::create_directories(read_only.parent_path());
    const std::string stored = utf8_to_gbk(u8"[学校班级]\r\ndate=旧班级\r\n");
    write_bytes(read_only, stored);
    fs::permissions(read_only, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const Case cases[] = {
        {"config.ini is a folder", directory / "config.ini"},
        {"the run folder is missing", folder.path(u8"没有的文件夹") / "config.ini"},
        {"config.ini is read-only", read_only},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeEditBox box;
        ConfigFile file(c.config);
        FakeMessageBoxes told;
        RecordingShellHost windows(&box);
        Gate entering{box, file, told, windows};
        box.set_text(g(u8"2017级1班"));
        enter_register(entering);

        ASSERT_EQ(told.shown().size(), 1u);
        const MessageRequest& said = told.shown()[0];
        EXPECT_NE(said.text.find(u8"config.ini"), std::u8string::npos);
        EXPECT_EQ(said.icon, MsgIcon::warning);
        EXPECT_EQ(said.buttons, MsgButtons::ok);
        EXPECT_EQ(windows.calls, (Calls{"open_student_list", "close_gate"}));
        EXPECT_EQ(windows.class_name_at_open, g(u8"2017级1班"));
    }
    EXPECT_TRUE(fs::is_directory(directory / "config.ini"));
    EXPECT_FALSE(fs::exists(folder.path(u8"没有的文件夹")));
    EXPECT_EQ(file_bytes(read_only), stored);
    fs::permissions(read_only, fs::perms::owner_all);
}

// Tray events and the menu "系统开关" need no files.
struct TrayCase {
    const char* what;
    TrayOwner owner;
    bool list_open;
    int event;
    Calls expected;
};

TEST(TrayEvents, ActOnTheRightWindow) {
    const TrayCase cases[] = {
        {"gate, left button, no list", TrayOwner::gate, false, 1, {"bring_forward_gate"}},
        {"gate, left button, list open", TrayOwner::gate, true, 1, {"bring_forward_student_list"}},
        {"list, left button", TrayOwner::student_list, true, 1, {"bring_forward_student_list"}},
        {"gate, right button", TrayOwner::gate, false, 3, {"pop_up_tray_menu(gate)"}},
        {"gate, right button, list open", TrayOwner::gate, true, 3, {"pop_up_tray_menu(gate)"}},
        {"list, right button", TrayOwner::student_list, true, 3, {"pop_up_tray_menu(student_list)"}},
        {"gate, double click", TrayOwner::gate, false, 2, {}},
        {"list, double click", TrayOwner::student_list, true, 2, {}},
        {"gate, 0", TrayOwner::gate, false, 0, {}},
        {"list, 4", TrayOwner::student_list, true, 4, {}},
        {"gate, -1", TrayOwner::gate, true, -1, {}},
        {"list, 513", TrayOwner::student_list, true, 513, {}},
    };
    for (const TrayCase& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingShellHost host;
        host.list_open = c.list_open;
        on_tray_event(host, c.owner, c.event);
        EXPECT_EQ(host.calls, c.expected);
    }
}

TEST(TrayEvents, ADoubleClickBringsForwardTwiceAndNothingMore) {
    RecordingShellHost host;
    host.list_open = true;
    for (int event : {1, 2, 1}) on_tray_event(host, TrayOwner::student_list, event);
    EXPECT_EQ(host.calls, (Calls{"bring_forward_student_list", "bring_forward_student_list"}));
}

TEST(TrayMenu, EnterBringsForwardTheListOrElseTheGate) {
    RecordingShellHost gate_only;
    tray_menu_enter(gate_only);
    EXPECT_EQ(gate_only.calls, Calls{"bring_forward_gate"});

    RecordingShellHost both;
    both.list_open = true;
    tray_menu_enter(both);
    EXPECT_EQ(both.calls, Calls{"bring_forward_student_list"});

    RecordingShellHost list_only;
    list_only.list_open = true;
    list_only.gate_open = false;
    tray_menu_enter(list_only);
    EXPECT_EQ(list_only.calls, Calls{"bring_forward_student_list"});
}

TEST(TrayMenu, ExitClosesTheListThenTheGateEachOnlyIfItExists) {
    struct Case {
        bool list_open;
        bool gate_open;
        Calls expected;
    };
    const Case cases[] = {
        {true, true, {"close_student_list", "close_gate"}},
        {true, false, {"close_student_list"}},
        {false, true, {"close_gate"}},
        {false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "list " << c.list_open << ", gate " << c.gate_open);
        RecordingShellHost host;
        host.list_open = c.list_open;
        host.gate_open = c.gate_open;
        tray_menu_exit(host);
        EXPECT_EQ(host.calls, c.expected);
        EXPECT_FALSE(host.list_open);
        EXPECT_FALSE(host.gate_open);
    }
}

}  // namespace
}  // namespace wmb
