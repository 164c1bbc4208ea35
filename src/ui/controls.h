#pragma once
// The controls the operations work on. Win32 implements them over real
// controls (controls_win32.h); tests use the in-memory fakes (fake_controls.h).

#include <filesystem>
#include <optional>
#include <string>

#include "data/gbk_string.h"

namespace wmb {

class EditBox {
public:
    virtual ~EditBox() = default;
    virtual GbkString text() const = 0;
    virtual void set_text(const GbkString& text) = 0;
    virtual bool enabled() const = 0;
    virtual void set_enabled(bool enabled) = 0;
};

// A drop-down list: the user picks, cannot type. -1 selects nothing.
class ComboBox {
public:
    virtual ~ComboBox() = default;
    virtual int selected() const = 0;
    // Selecting from the program raises no change event.
    virtual void select(int index) = 0;
    // Text of the selected item; empty when none is selected.
    virtual GbkString text() const = 0;
};

// Holds picture bytes (a JPEG file's bytes, or none) and gives them back unchanged.
class PictureBox {
public:
    virtual ~PictureBox() = default;
    virtual void set_picture(const ByteString& bytes) = 0;
    virtual const ByteString& picture() const = 0;
};

// A report-style list: rows are 0-based, -1 means no selection.
class ListControl {
public:
    virtual ~ListControl() = default;
    virtual void delete_all_rows() = 0;
    virtual void delete_row(int row) = 0;
    virtual int append_row() = 0;  // index of the new row
    virtual void set_cell(int row, int column, const GbkString& text) = 0;
    virtual GbkString cell(int row, int column) const = 0;
    virtual int row_count() const = 0;
    virtual int selected_row() const = 0;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // nullopt when the user cancels.
    virtual std::optional<std::filesystem::path> choose_open(std::u8string_view filter,
                                                             const std::filesystem::path& initial_dir) = 0;
    virtual std::optional<std::filesystem::path> choose_save(std::u8string_view filter,
                                                             const std::filesystem::path& initial_dir) = 0;
};

}  // namespace wmb
