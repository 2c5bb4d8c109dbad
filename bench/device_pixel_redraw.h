#pragma once

#include <string>

namespace dravik::bench {

// Section 3c of the benchmark: redrawing the log at `log` (16 items and more) on a chart of
// 1600 x 600 logical pixels at 200 % and 150 % screen scaling, in device pixels: DrowGraph at
// magnification 1, the slowest redraw over every magnification and scroll position tried, each
// beside the 16 ms bound, and the traces compared with drawing every segment at device resolution.
void DevicePixelRedrawSection(const std::string& log);

}  // namespace dravik::bench
