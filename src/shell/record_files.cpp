#include "shell/record_files.h"

#include <string>

namespace wmb {

namespace {

std::u8string file_problem_text(const DbResult& r, std::u8string_view what) {
    std::u8string text = std::u8string(what);
    text += r.path.u8string();
    text += u8"\n\n";
    text += r.message;
    return text;
}

}  // namespace

std::filesystem::path RecordFiles::path_of(RecordFile file) const {
    return file == RecordFile::register_file ? paths_.register_file() : paths_.deleted_file();
}

bool RecordFiles::open(RecordFile file, Report report) {
    DbResult r = db_.open(path_of(file));
    if (r) {
        reported_.erase(file);
        return true;
    }
    auto it = reported_.find(file);
    if (report == Report::once && it != reported_.end() && it->second == r.status) return false;
    reported_[file] = r.status;
    tell(boxes_,
         file_problem_text(r, u8"无法打开学生数据文件：\n") +
             u8"\n\n为保护数据，程序不会改动这个文件。请关闭占用它的程序，或从备份中恢复该文件后重新打开本程序。",
         MsgIcon::error, u8"数据文件错误");
    return false;
}

bool RecordFiles::close() {
    DbResult r = db_.close();
    if (r || r.status == DbStatus::no_current_file) return true;
    report_write_failure(r);
    return false;
}

void RecordFiles::report_write_failure(const DbResult& r) {
    tell(boxes_, file_problem_text(r, u8"数据未能保存到文件：\n") + u8"\n\n刚才的改动没有写入。",
         MsgIcon::error, u8"数据文件错误");
}

}  // namespace wmb
