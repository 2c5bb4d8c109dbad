#pragma once

#include <string>
#include <string_view>

#include "common/settings.h"
#include "log/load_error.h"
#include "log/log_reader.h"
#include "log/log_table.h"

namespace dravik {

// Opens a log for showing: reads it with the fuel settings and formulas of `settings` (ReadLog;
// a computed item whose range the chart cannot show is left out of this log) and checks that
// every item can be placed on the chart with its scale rounding (CanPlotItems); the positions
// themselves are made as an item is drawn. On failure the table is cleared and the error
// is ReadLog's or kDivisionByZero when an item's range cannot be scaled.
LoadError OpenLog(const std::string& path, const Settings& settings, LogTable& table,
                  const ReadProgress& progress = {}, const ReadSplit& split = {});

// The same from the file's bytes already in memory (ReadLogFromBuffer).
LoadError OpenLogFromBuffer(std::string_view bytes, const Settings& settings, LogTable& table,
                            const ReadProgress& progress = {}, const ReadSplit& split = {});

}  // namespace dravik
