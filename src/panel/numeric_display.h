#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/cursors.h"
#include "common/settings.h"
#include "log/log_table.h"
#include "log/reference_log.h"

namespace dravik {

// Columns of the numeric display list, in order.
inline constexpr int kMaxViewColumns = 6;
// The column headers in the interface language.
std::array<std::string, kMaxViewColumns> MaxViewHeaders();
inline constexpr int kNameColumn = 0;
inline constexpr int kMinColumn = 1;
inline constexpr int kCursor1Column = 2;
inline constexpr int kCursor2Column = 3;
inline constexpr int kDifferenceColumn = 4;  // also the figure of a section row
inline constexpr int kMaxColumn = 5;

using MaxViewRow = std::array<std::string, kMaxViewColumns>;

// The columns a reference log adds after "最大値", in order.
inline constexpr int kReferenceColumns = 5;
// Their headers in the interface language.
std::array<std::string, kReferenceColumns> ReferenceHeaders();
inline constexpr int kReferenceMinColumn = 0;
inline constexpr int kReferenceCursor1Column = 1;
inline constexpr int kReferenceCursor2Column = 2;
inline constexpr int kReferenceDifferenceColumn = 3;  // also the figure of a section row
inline constexpr int kReferenceMaxColumn = 4;

using ReferenceRow = std::array<std::string, kReferenceColumns>;

// What the numeric display window shows: the texts of its list and the state of its copy button.
// Row 0 is the time row, rows 1..item_count the items, then the section rows if any.
struct NumericDisplay {
  std::vector<MaxViewRow> rows;
  // With a reference log open, the reference's cells of each row; empty without one. A cell
  // without a value is empty.
  std::vector<ReferenceRow> reference_rows;
  bool copy_enabled = false;     // set once MaxViewList has filled the list
  bool time_in_seconds = false;  // how ReDrawTime last wrote the time row
};

// Rebuilds every row from the loaded table: the time row (through ReDrawTime), one row per item
// with its minimum and maximum in the general form, "0" in the cursor and difference columns,
// and with SectionTime the section rows ("―" but for their figure, "0"): average speed and
// distance with a speed item, fuel used and economy with the economy item. Does nothing, not
// even enabling the copy, while no log is loaded (item_count < 1).
void MaxViewList(NumericDisplay& display, const LogTable& table, const Settings& settings);

// Rewrites the time row's name, minimum and maximum: the time column's name with " (ms)" and the
// general form, or with TimeUnitSec " (秒)" and whole seconds (halves to even). The cursor and
// difference columns keep their texts. Does nothing on an empty list.
void ReDrawTime(NumericDisplay& display, const LogTable& table, const Settings& settings);

// Writes the names of the time row and of the section rows again in the interface language,
// keeping every figure; for a change of language while the list is shown.
void RenameMaxViewRows(NumericDisplay& display, const LogTable& table);

// Writes the values at `sample`, the sample of cursor `cursor` (1 or 2), into that cursor's column
// and the decimal difference to `other_sample` into the difference column, for the time row and
// every item row. With TimeUnitSec the time row shows whole seconds, its difference too. Writes
// nothing unless both samples lie within 0..last_sample of a loaded table.
void UpdateCursorReadout(NumericDisplay& display, const LogTable& table, const Settings& settings,
                         int cursor, int64_t sample, int64_t other_sample);

// Writes the section figures of samples first..last (either order) into the section rows: average
// speed and distance, and with the economy item fuel used (l) and economy, "0.000" each or "∞".
// Writes nothing without SectionTime or a speed item, or when an end lies outside 0..last_sample.
void UpdateSectionReadout(NumericDisplay& display, const LogTable& table, const Settings& settings,
                          int64_t first, int64_t last);

// Fills the reference columns of every row for `reference` (and empties them when it is not open
// or the list has no rows): the minimum and maximum of each item the reference has, over its
// samples within the main log's first and last time at its offset (the time row in the reference's
// own times, written as ReDrawTime writes times); the cursor and difference cells empty.
void ReferenceList(NumericDisplay& display, const LogTable& main, const ReferenceLog& reference,
                   const Settings& settings);

// Writes the reference's values at the times of the main log's samples cursor1_sample and
// cursor2_sample (its sample nearest to each time after the offset, the earlier on a tie; empty
// outside its times) and their difference as the difference column writes one; and with section
// rows the reference's section figure over its samples between the two times into their difference
// cell (empty where the reference lacks the figure's items or has no sample there). Writes nothing
// unless the list has reference columns and both samples lie within 0..last_sample.
void UpdateReferenceReadout(NumericDisplay& display, const LogTable& main,
                            const ReferenceLog& reference, const Settings& settings,
                            int64_t cursor1_sample, int64_t cursor2_sample);

// The readout beside the pointer over the chart at `sample`: the time column's name and the time
// as the cursor columns write it ("Time (ms): 1250", with TimeUnitSec "Time (秒): 1"; a unit the
// name ends in, as "Time (s)" does, is left out rather than said twice), in black,
// then "name: value" in the general form for each of `items` in the item's colour. Empty when the
// sample lies outside 0..last_sample. Costs one value per item, whatever the log's length.
std::vector<ReadoutLine> HoverReadout(const LogTable& table, const Settings& settings,
                                      const std::vector<int>& items, int64_t sample);

// The list's column widths in pixels for the widest text each column has shown (`widest`) and
// each column's least width (`least`): every column as wide as its own widest text and never
// below its least width, the name column at most name_limit (a name it cuts gets a tooltip). The
// cursor columns are at least as wide as the minimum and maximum columns' texts, since their
// readouts lie between those values and should seldom widen a column while a cursor is dragged.
using MaxViewWidths = std::array<int, kMaxViewColumns>;
MaxViewWidths MaxViewColumnWidths(const MaxViewWidths& widest, const MaxViewWidths& least,
                                  int name_limit);

// The copy of the list: the header line, then every row's texts joined by ", ", every line ended
// by CR LF; in seconds the time row's name is followed by "," without a blank. With reference
// columns, their headers and cells follow each line's six. "" while the list
// holds no rows (after a failed load): the copy then leaves the clipboard alone.
std::string MaxViewClipboardText(const NumericDisplay& display);

// The copied list after cursor 1 was placed on `cursor1_sample` and cursor 2 on `cursor2_sample`,
// with the section figures between them, and the reference columns when `reference` is open; ""
// while no log is loaded.
std::string CursorReadoutText(const LogTable& table, const Settings& settings,
                              int64_t cursor1_sample, int64_t cursor2_sample,
                              const ReferenceLog* reference = nullptr);

}  // namespace dravik
