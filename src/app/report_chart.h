#pragma once

#include <string>

#include "app/report.h"

namespace dravik {

// dravik-report --png: writes the chart picture of `table` with `settings` (what RunReport read)
// of options.width_px x options.height_px as PNG to options.png_path, with the items of
// options.items checked (default: every item, as many as the scale strip holds), the magnification
// applied as the list applies it and the first visible sample options.scroll clamped as the time
// scroll bar clamps. Starts an offscreen QGuiApplication when the program has none. False with the
// reason in `error` when the file cannot be written.
bool WriteReportChart(const ReportOptions& options, const Settings& settings, const LogTable& table,
                      std::string& error);

}  // namespace dravik
