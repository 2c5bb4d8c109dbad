#pragma once

#include <cstdint>
#include <string>

#include "log/log_table.h"

namespace dravik {

// Samples first..last (either order, both included) of the log as a log of their own: the header
// line of the time column's name and every item name, then one line per sample, fields joined by
// "," and lines ended by CR LF. The computed economy item is left out, since it is not the log's
// own: reopening with the same fuel items computes it again. Each value is the shortest decimal
// text that reads back to the same single, "." as its point and an exponent ("1.5e-07") only
// beyond plain notation's reach. Times are written in milliseconds, or in seconds when the time
// column's name says seconds ("Time (s)"), so that the file reads back to the same times. ""
// when an end lies outside 0..last_sample or no log is loaded.
std::string SectionCsvText(const LogTable& table, int64_t first, int64_t last);

// Whether samples first..last (either order, both included) are enough for a log that opens
// again: kMinRealSamples or more. 0..9 is not, 0..10 is; both cursors on one sample make one.
bool SectionCanReopen(int64_t first, int64_t last);

}  // namespace dravik
