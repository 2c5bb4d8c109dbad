#pragma once

#include <string>
#include <string_view>

#include "app/settings.h"
#include "log/load_error.h"
#include "log/log_table.h"

namespace dravik {

// Reads the log at `path` into `table` with the fuel settings and scale rounding of `settings`:
// item names, recognised fuel items, every sample with the economy item, extremes, tail samples
// and chart positions. On failure the table is cleared and the error says which message to show.
LoadError ReadLog(const std::string& path, const Settings& settings, LogTable& table);

// The same from the file's bytes already in memory.
LoadError ReadLogFromBuffer(std::string_view bytes, const Settings& settings, LogTable& table);

// Milliseconds since midnight of a clock time "h:m:s"; false when it is not one. `decimal_comma`
// accepts "," as the decimal point of the seconds. `format_failure` is set when the text has fewer
// than three parts (a format failure rather than a general one).
bool ParseTimeOfDay(std::string_view text, bool decimal_comma, int32_t& ms, bool& format_failure);

// The part of `path` after its last path separator, or the whole path.
std::string FileNameOf(const std::string& path);

}  // namespace dravik
