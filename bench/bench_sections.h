#pragma once

#include <cstdint>
#include <string>

#include "bench_support.h"

// The sections of the benchmark, each printing its heading and its rows, in the order Main runs
// them.
namespace dravik::bench {

// 1. `log` of `rows` x `items` loaded in fresh processes, beside reading the file and pandas.
void LoadSection(const Options& options, const std::string& log, int64_t rows, int items);

// 4. ComputeTripSummary over `log` (at most its first 1,000,000 samples), as a cursor drag calls it
// on every mouse event.
void CursorSection(const std::string& log);

// 2, 3 and 4b on the big log: its load and peak memory, redraws, and cursor drags within it.
void ScaleSections(const Options& options, const std::string& log, int64_t rows, int items);

// 3c on the big log: redraws at 200 % and 150 % screen scaling, in device pixels.
void DevicePixelRedrawSection(const std::string& log);

// 7. Reading a binary log of about 100 MB of records from the page cache on two threads.
void BinaryReadSection(const Options& options);

// 5. The dravik program from its start to its first painted window.
void StartupSection(const Options& options);

// 6. The hover readout's cost per pointer move on the big log beside the small one: it must not
// grow with the log's length.
void HoverSection(const std::string& log, const std::string& big_log);

// 8. The table of averages and the scatter plot over every sample of the big log.
void AnalysisSection(const Options& options, const std::string& log);

// 9. Computed items on the big log: one formula of five operations on two items, and opening the
// log with ten of them.
void FormulaSection(const Options& options, const std::string& log);
// 10. DrowGraph on the big log with the same log open as its reference beside without, at three
// magnifications: the reference must keep a redraw within twice its time.
void ReferenceSection(const std::string& log);

}  // namespace dravik::bench
