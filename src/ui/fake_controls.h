#pragma once
// In-memory controls for tests: they hold what a real control would show and
// record what the operations asked of the user.

#include <deque>
#include <stdexcept>
#include <vector>

#include "ui/controls.h"
#include "ui/message_boxes.h"

namespace wmb {

class FakeEditBox : public EditBox {
public:
    GbkString text() const override { return text_; }
    void set_text(const GbkString& text) override { text_ = text; }
    bool enabled() const override { return enabled_; }
    void set_enabled(bool enabled) override { enabled_ = enabled; }

private:
    GbkString text_;
    bool enabled_ = true;
};

class FakeComboBox : public ComboBox {
public:
    explicit FakeComboBox(std::vector<GbkString> items = {}) : items_(std::move(items)) {}
    int selected() const override { return selected_; }
    void select(int index) override;
    GbkString text() const override;
    const std::vector<GbkString>& items() const { return items_; }

private:
    std::vector<GbkString> items_;
    int selected_ = -1;
};

class FakePictureBox : public PictureBox {
public:
    void set_picture(const ByteString& bytes) override { bytes_ = bytes; }
    const ByteString& picture() const override { return bytes_; }

private:
    ByteString bytes_;
};

class FakeListControl : public ListControl {
public:
    explicit FakeListControl(int columns = 20) : columns_(columns) {}
    void delete_all_rows() override;
    void delete_row(int row) override;
    int append_row() override;
    void set_cell(int row, int column, const GbkString& text) override;
    GbkString cell(int row, int column) const override;
    int row_count() const override { return static_cast<int>(rows_.size()); }
    int selected_row() const override { return selected_; }

    // What a user's click does.
    void select_row(int row) { selected_ = row; }

private:
    int columns_;
    std::vector<std::vector<GbkString>> rows_;
    int selected_ = -1;
};

// Records every box shown and answers from a script. An OK box with no
// scripted answer is answered OK; a question with none left throws, so a
// test never asks the user something it did not expect to.
class FakeMessageBoxes : public MessageBoxes {
public:
    MsgAnswer show(const MessageRequest& request) override;
    void answer(MsgAnswer next) { answers_.push_back(next); }
    const std::vector<MessageRequest>& shown() const { return shown_; }
    void reset() { shown_.clear(); answers_.clear(); }

private:
    std::vector<MessageRequest> shown_;
    std::deque<MsgAnswer> answers_;
};

class FakeFileDialogs : public FileDialogs {
public:
    std::optional<std::filesystem::path> choose_open(std::u8string_view filter,
                                                     const std::filesystem::path& initial_dir) override;
    std::optional<std::filesystem::path> choose_save(std::u8string_view filter,
                                                     const std::filesystem::path& initial_dir) override;
    // The next dialog returns this (nullopt: the user cancels).
    void choose(std::optional<std::filesystem::path> path) { next_.push_back(std::move(path)); }
    std::u8string last_filter;
    std::filesystem::path last_initial_dir;

private:
    std::optional<std::filesystem::path> take();
    std::deque<std::optional<std::filesystem::path>> next_;
};

}  // namespace wmb
