#pragma once
// The three choice fields (gender, boarding, guardian relation): the items of
// their drop-down lists and the texts the record stores for them. A record
// stores the table's text for the selected index, never the caption, so no
// stored text carries the captions' leading spaces.

#include <optional>
#include <span>
#include <string_view>

#include "data/gbk_string.h"

namespace wmb {

enum class CodeTable { gender, boarding, relation };

// Drop-down items by index; the relation list ends with an empty item.
std::span<const std::u8string_view> item_captions(CodeTable table);
// Stored texts by index; one fewer than the relation list's items.
std::span<const std::u8string_view> stored_texts(CodeTable table);

// The text stored for a selected index; nullopt for no selection (-1), for
// the empty relation item and for any other index outside the table.
std::optional<GbkString> stored_text_for_index(CodeTable table, int index);
// The index whose stored text equals `text` byte for byte; 0 when none does.
int index_for_stored_text(CodeTable table, const GbkString& text);

}  // namespace wmb
