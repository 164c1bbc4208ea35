#pragma once
// Serial numbers and the row-to-record rule. A serial number is for display
// and export only; records are found by their 1-based position in the file.

namespace wmb {

// An added student first gets the register's record count plus one ...
int candidate_add_serial(int record_count);
// ... or one more when a record already carries that number. The bumped
// number is not checked again.
int resolve_add_serial(int candidate, bool candidate_taken);

// A record appended by a transfer gets the target file's record count after
// the append, that is its own position.
int transferred_serial(int target_count_after_append);

// After a transfer the records left in the source file are numbered by
// position: record k gets k.
int renumbered_serial(int record_number);

// A list filled from a file shows record k in row k - 1, so the selected
// row r addresses record r + 1; no selection (-1) gives 0, no record.
int record_for_row(int row);
int row_for_record(int record_number);

}  // namespace wmb
