#pragma once

#include <string>

#include "app/report.h"

namespace dravik {

// dravik-report --png: reads the log (and the settings file of --ini through the start-up reading
// pass) and writes the chart picture of options.width_px x options.height_px as PNG to
// options.png_path, with the items of options.items checked (default: every item, as many as
// the scale strip holds), the magnification applied as the list applies it and the first
// visible sample options.scroll clamped as the time scroll bar clamps. Starts an offscreen
// QGuiApplication when the program has none.
// False with the reason in `error` when the log or the settings cannot be read or the file not
// written.
bool WriteReportChart(const ReportOptions& options, std::string& error);

}  // namespace dravik
