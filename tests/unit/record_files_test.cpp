#include "shell/record_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/student_list.h"
#include "shell_fixture.h"

namespace wmb {
namespace {

using namespace shell_test;

const MessageRequest kEmptyClassBox{u8"您的班级尚未录入学生信息！", u8"温馨提示！", MsgButtons::ok, MsgIcon::warning};

// The ways a record file can be unusable when an operation needs it.
enum class Problem { missing, garbage, folder, truncated, in_use };

const char* name_of(Problem p) {
    switch (p) {
    case Problem::missing: return "missing";
    case Problem::garbage: return "not a register";
    case Problem::folder: return "a folder";
    case Problem::truncated: return "truncated";
    case Problem::in_use: return "held open by another RecordDatabase";
    }
    return "";
}

const Problem kProblems[] = {Problem::missing, Problem::garbage, Problem::folder, Problem::truncated,
                             Problem::in_use};

// Spoils one record file and repairs it again. A repaired file that had to
// be made anew holds two students.
class Spoiler {
public:
    Spoiler(Problem problem, fs::path file) : problem_(problem), file_(std::move(file)) {}

    void spoil() {
        switch (problem_) {
        case Problem::missing: fs::remove(file_); break;
        case Problem::garbage:
            write_bytes(file_, std::string(300, 'x') + "\r\n[not a register]\r\n");
            break;
        case Problem::folder:
            fs::remove(file_);
            fs::create_directories(file_ / "inside");
            break;
        case Problem::truncated: {
            const std::string whole = file_bytes(file_);
            write_bytes(file_, whole.substr(0, whole.size() / 2));
            break;
        }
        case Problem::in_use:
            holder_ = std::make_unique<RecordDatabase>();
            ASSERT_TRUE(holder_->open(file_));
            break;
        }
    }

    void repair() {
        if (problem_ == Problem::in_use) {
            ASSERT_TRUE(holder_->close());
            holder_.reset();
            return;
        }
        fs::remove_all(file_);
        TempRunFolder::write_register(file_, {sample_student(1), sample_student(2)});
    }

    int students_after_repair(int before) const { return problem_ == Problem::in_use ? before : 2; }

    // What the file looks like now: its bytes, or how it is not a file.
    std::string state() const {
        if (!fs::exists(file_)) return "(missing)";
        if (fs::is_directory(file_)) return "(folder)";
        return file_bytes(file_);
    }

private:
    Problem problem_;
    fs::path file_;
    std::unique_ptr<RecordDatabase> holder_;
};

// An error box that names the file.
void expect_file_error(const MessageRequest& box, const fs::path& file) {
    EXPECT_EQ(box.icon, MsgIcon::error);
    EXPECT_EQ(box.buttons, MsgButtons::ok);
    EXPECT_FALSE(box.title.empty());
    EXPECT_NE(box.text.find(file.filename().u8string()), std::u8string::npos) << u(box.text);
    EXPECT_NE(box.text.find(file.u8string()), std::u8string::npos) << u(box.text);
    const std::u8string other = file.filename() == "xsdate.edb" ? u8"deldate.edb" : u8"xsdate.edb";
    EXPECT_EQ(box.text.find(other), std::u8string::npos) << u(box.text);
}

TEST(RecordFileProblems, AFillToldOnceAViewClassToldAgainARepairForgets) {
    for (Problem problem : kProblems) {
        SCOPED_TRACE(name_of(problem));
        StudentListRig rig;
        rig.folder.make_class(3, 1);
        const fs::path file = rig.paths().register_file();
        Spoiler spoiler(problem, file);
        spoiler.spoil();
        const std::string spoiled = spoiler.state();
        rig.add_stale_row();

        EXPECT_FALSE(fill_student_list(rig.ops));
        EXPECT_EQ(rig.list.row_count(), 0);
        EXPECT_EQ(rig.list.selected_row(), -1);
        ASSERT_EQ(rig.boxes.shown().size(), 1u);
        expect_file_error(rig.boxes.shown()[0], file);
        EXPECT_EQ(rig.db.record_count(), 0);  // nothing half open

        // Told once: another fill says nothing more.
        run_command(rig.ops, Command::show_all);
        EXPECT_EQ(rig.list.row_count(), 0);
        EXPECT_EQ(rig.boxes.shown().size(), 1u);

        // 查看全班 asks for the class outright: it is told again, and the
        // class is not called empty, for it may not be.
        run_command(rig.ops, Command::view_class);
        ASSERT_EQ(rig.boxes.shown().size(), 2u);
        EXPECT_EQ(rig.boxes.shown()[1], rig.boxes.shown()[0]);
        for (const MessageRequest& box : rig.boxes.shown()) EXPECT_NE(box, kEmptyClassBox);
        run_command(rig.ops, Command::show_all);
        EXPECT_EQ(rig.boxes.shown().size(), 2u);

        // Nothing was done to the file.
        EXPECT_EQ(spoiler.state(), spoiled);

        // Once it opens again, the next failure is news.
        spoiler.repair();
        EXPECT_TRUE(fill_student_list(rig.ops));
        EXPECT_EQ(rig.list.row_count(), spoiler.students_after_repair(3));
        EXPECT_EQ(rig.boxes.shown().size(), 2u);
        spoiler.spoil();
        EXPECT_FALSE(fill_student_list(rig.ops));
        EXPECT_EQ(rig.list.row_count(), 0);
        ASSERT_EQ(rig.boxes.shown().size(), 3u);
        expect_file_error(rig.boxes.shown()[2], file);
        spoiler.repair();
    }
}

TEST(RecordFileProblems, AProblemOfAnotherKindIsToldAgain) {
    StudentListRig rig;
    rig.folder.make_class(3);
    const fs::path file = rig.paths().register_file();
    fs::remove(file);
    EXPECT_FALSE(fill_student_list(rig.ops));
    EXPECT_FALSE(fill_student_list(rig.ops));
    EXPECT_EQ(rig.boxes.shown().size(), 1u);

    write_bytes(file, "not a register");
    EXPECT_FALSE(fill_student_list(rig.ops));
    ASSERT_EQ(rig.boxes.shown().size(), 2u);
    expect_file_error(rig.boxes.shown()[1], file);
    EXPECT_NE(rig.boxes.shown()[1].text, rig.boxes.shown()[0].text);  // the reason differs
    EXPECT_FALSE(fill_student_list(rig.ops));
    EXPECT_EQ(rig.boxes.shown().size(), 2u);
}

TEST(RecordFileProblems, EachFileIsToldOfOnItsOwn) {
    TempRunFolder folder;  // neither file there
    FakeMessageBoxes boxes;
    RecordDatabase db;
    RecordFiles files(db, boxes, folder.paths());

    EXPECT_FALSE(files.open(RecordFile::deleted_file));
    EXPECT_FALSE(files.open(RecordFile::register_file));
    EXPECT_FALSE(files.open(RecordFile::deleted_file));
    EXPECT_FALSE(files.open(RecordFile::register_file));
    ASSERT_EQ(boxes.shown().size(), 2u);
    expect_file_error(boxes.shown()[0], folder.paths().deleted_file());
    expect_file_error(boxes.shown()[1], folder.paths().register_file());

    // The register opening again does not make the deleted file news.
    TempRunFolder::write_register(folder.paths().register_file(), {sample_student(1)});
    EXPECT_TRUE(files.open(RecordFile::register_file));
    EXPECT_EQ(db.record_count(), 1);
    EXPECT_TRUE(files.close());
    EXPECT_FALSE(files.open(RecordFile::deleted_file));
    EXPECT_EQ(boxes.shown().size(), 2u);
    EXPECT_FALSE(files.open(RecordFile::deleted_file, RecordFiles::Report::always));
    ASSERT_EQ(boxes.shown().size(), 3u);
    expect_file_error(boxes.shown()[2], folder.paths().deleted_file());

    // Closing with nothing open is no failure.
    EXPECT_TRUE(files.close());
    EXPECT_EQ(boxes.shown().size(), 3u);
}

TEST(RecordFileProblems, ClearAllOfADamagedFileToldAndNoSuccessClaimed) {
    struct Case {
        Problem problem;
        RecordFile damaged;
    };
    const Case cases[] = {
        {Problem::garbage, RecordFile::register_file},   {Problem::missing, RecordFile::register_file},
        {Problem::truncated, RecordFile::register_file}, {Problem::in_use, RecordFile::register_file},
        {Problem::garbage, RecordFile::deleted_file},    {Problem::missing, RecordFile::deleted_file},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << name_of(c.problem) << ", "
                                          << (c.damaged == RecordFile::register_file ? "xsdate.edb" : "deldate.edb"));
        StudentListRig rig;
        rig.folder.make_class(3, 2);
        ASSERT_TRUE(fill_student_list(rig.ops));
        const fs::path file = rig.files.path_of(c.damaged);
        Spoiler spoiler(c.problem, file);
        spoiler.spoil();
        const std::string spoiled = spoiler.state();
        rig.boxes.answer(MsgAnswer::yes);
        rig.boxes.answer(MsgAnswer::yes);

        run_command(rig.ops, Command::clear_all);

        const auto& shown = rig.boxes.shown();
        ASSERT_EQ(shown.size(), 3u);
        EXPECT_EQ(shown[0].buttons, MsgButtons::yes_no);
        EXPECT_EQ(shown[1].buttons, MsgButtons::yes_no);
        expect_file_error(shown[2], file);
        for (const MessageRequest& box : shown)
            EXPECT_EQ(box.text.find(u8"基础数据已清空"), std::u8string::npos);
        EXPECT_EQ(spoiler.state(), spoiled);
        EXPECT_EQ(rig.db.record_count(), 0);  // nothing left open
        if (c.damaged == RecordFile::deleted_file) {
            // The register, which could be emptied, was.
            EXPECT_EQ(records_in(rig.paths().register_file()), 0);
            EXPECT_EQ(rig.list.row_count(), 0);
        } else {
            // The deleted students are not emptied without the class.
            EXPECT_EQ(records_in(rig.paths().deleted_file()), 2);
            EXPECT_EQ(rig.list.row_count(), 3);
        }
        spoiler.repair();
        if (c.problem == Problem::in_use) {
            EXPECT_EQ(records_in(file), 3);  // the holder's file kept its students
        }
    }
}

}  // namespace
}  // namespace wmb
