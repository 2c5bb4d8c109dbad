#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "log/fuel_trip.h"
#include "log/load_error.h"
#include "log/log_table.h"

namespace dravik {

// Called on the calling thread while a log is read: with 0 when the reading starts, then after
// about every 50 ms of work with the fraction done so far (0 to 1, never decreasing).
using ReadProgress = std::function<void(double fraction)>;

// How the reading is shared out among threads. The table that a load gives never depends on it.
struct ReadSplit {
  int threads = 0;            // 0: one per hardware thread
  size_t piece_bytes = 0;     // text read per task; 0: a size that keeps every thread busy
  bool sequential = false;    // read the samples as one field stream on the calling thread
  int64_t range_samples = 0;  // samples per task of the work after the reading; 0: as for pieces
};

// Reads the log at `path` into `table`: item names, the fuel items recognised when `fuel` has a
// positive flow and cylinder count, every sample with the economy item, extremes and tail samples.
// The chart positions are left to the chart. On failure the table is cleared and the error says
// which message to show: a missing file is kFileNotFound, a directory or a file without read
// permission kPathAccessError, a read error kDeviceIoError. A file that grows or shrinks while it
// is read is read as far as it reaches. The samples are read in pieces of whole lines on several
// threads when every line holds as many fields as the header; otherwise as one stream of fields, so
// that a line with a field too few or too many shifts every later sample.
LoadError ReadLog(const std::string& path, const FuelParams& fuel, LogTable& table,
                  const ReadProgress& progress = {}, const ReadSplit& split = {});

// The same from the file's bytes already in memory. Text may be UTF-8 (a byte-order mark is
// skipped), UTF-16 with a byte-order mark, or hold item names in CP932. The header decides the
// separator: "," when it holds one; otherwise ";" (with "," as a decimal point besides "."), or
// else a tab. CR LF, LF and CR end lines; lines of zero length are skipped.
LoadError ReadLogFromBuffer(std::string_view bytes, const FuelParams& fuel, LogTable& table,
                            const ReadProgress& progress = {}, const ReadSplit& split = {});

// Whether a time column of this name holds seconds: its name ends in a seconds unit in parentheses
// or brackets ("Time (s)", "Time[sec]", blanks and letter case aside); otherwise milliseconds.
bool NamesSeconds(std::string_view name);

// Milliseconds since midnight of a clock time "h:m:s" (the seconds keep any further colons, blanks
// around each part are ignored; hours and minutes are rounded to whole numbers, halves to even).
// `decimal_comma` also takes "," as the decimal point. Fewer than three parts is a format failure;
// a part that is not a number is a general kTypeMismatch failure, a result beyond 32 bits or
// seconds beyond the single range a general kOverflow failure. 13:05:22.125 -> 47 122 125.
LoadError ParseTimeOfDay(std::string_view text, bool decimal_comma, int32_t& ms);

}  // namespace dravik
