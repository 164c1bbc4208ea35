#include "ui/fake_controls.h"

#include <string>

namespace wmb {

void FakeComboBox::select(int index) {
    selected_ = (index >= 0 && index < static_cast<int>(items_.size())) ? index : -1;
}

GbkString FakeComboBox::text() const {
    return selected_ < 0 ? GbkString() : items_[static_cast<std::size_t>(selected_)];
}

void FakeListControl::delete_all_rows() {
    rows_.clear();
    selected_ = -1;
}

void FakeListControl::delete_row(int row) {
    if (row < 0 || row >= row_count()) return;
    rows_.erase(rows_.begin() + row);
    if (selected_ == row) selected_ = -1;
    else if (selected_ > row) --selected_;
}

int FakeListControl::append_row() {
    rows_.emplace_back(static_cast<std::size_t>(columns_));
    return row_count() - 1;
}

void FakeListControl::set_cell(int row, int column, const GbkString& text) {
    if (row < 0 || row >= row_count() || column < 0 || column >= columns_)
        throw std::out_of_range("cell outside the list");
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}

GbkString FakeListControl::cell(int row, int column) const {
    if (row < 0 || row >= row_count() || column < 0 || column >= columns_) return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

MsgAnswer FakeMessageBoxes::show(const MessageRequest& request) {
    shown_.push_back(request);
    if (request.buttons == MsgButtons::ok && answers_.empty()) return MsgAnswer::ok;
    if (answers_.empty()) {
        std::string text(request.text.begin(), request.text.end());
        throw std::logic_error("unanswered question: " + text);
    }
    MsgAnswer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<std::filesystem::path> FakeFileDialogs::take() {
    if (next_.empty()) throw std::logic_error("unexpected file dialog");
    auto p = next_.front();
    next_.pop_front();
    return p;
}

std::optional<std::filesystem::path> FakeFileDialogs::choose_open(std::u8string_view filter,
                                                                  const std::filesystem::path& initial_dir) {
    last_filter = filter;
    last_initial_dir = initial_dir;
    return take();
}

std::optional<std::filesystem::path> FakeFileDialogs::choose_save(std::u8string_view filter,
                                                                  const std::filesystem::path& initial_dir) {
    last_filter = filter;
    last_initial_dir = initial_dir;
    return take();
}

}  // namespace wmb
