#pragma once
// Opening the two record files on behalf of the operations. A file that is
// missing, damaged or in use is reported to the user once, naming the file
// and the reason, instead of silently looking like an empty class.

#include <map>

#include "data/record_database.h"
#include "shell/run_paths.h"
#include "ui/message_boxes.h"

namespace wmb {

enum class RecordFile { register_file, deleted_file };

class RecordFiles {
public:
    RecordFiles(RecordDatabase& db, MessageBoxes& boxes, RunPaths paths)
        : db_(db), boxes_(boxes), paths_(std::move(paths)) {}

    RecordDatabase& db() { return db_; }
    const RunPaths& paths() const { return paths_; }
    std::filesystem::path path_of(RecordFile file) const;

    enum class Report { once, always };
    // Opens the file as the current one. On failure tells the user and returns
    // false; with Report::once a failure already told (same file, same kind,
    // and no successful open since) is not told again.
    bool open(RecordFile file, Report report = Report::once);
    // Closes the current file; a failed save is always reported.
    bool close();

    // Reports a failed write of the current operation (disk full, read-only...).
    void report_write_failure(const DbResult& result);

private:
    RecordDatabase& db_;
    MessageBoxes& boxes_;
    RunPaths paths_;
    std::map<RecordFile, DbStatus> reported_;
};

}  // namespace wmb
