#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "bench_support.h"

namespace dravik::bench {

// The children that dravik_bench starts as fresh processes of itself (--child-load and
// --child-read): each writes its figures into the file `out` and gives its exit status.

// A log loaded as OpenFile loads it: the table, the trip list and (with Qt) the first paint, the
// chart at magnification 1 with no item checked yet (so no trace summary is made).
int ChildLoad(const std::string& path, int threads, const std::string& out);
// The baseline: the file read into fresh memory, as any program must before parsing it.
int ChildRead(const std::string& path, const std::string& out);

struct LoadFigures {
  double read_ms = 0;   // ReadLog
  double total_ms = 0;  // up to the first finished paint
  double paint_ms = 0;
  long peak_kb = 0;
  int error = -1;
  int64_t samples = 0;  // real samples
  int items = 0;        // data items, the economy item included
};

// ChildLoad of `log` on `threads` threads (0: every hardware thread) in a fresh process of
// `program` (by default this benchmark itself).
std::optional<LoadFigures> MeasureLoad(const Options& options, const std::string& log, int threads,
                                       const std::string& program = "");
// ChildRead of `log` in a fresh process: the milliseconds to read the file.
std::optional<double> MeasureRead(const Options& options, const std::string& log);

struct ProgramFigures {
  double first_paint_ms = 0;
  long peak_kb = 0;
};

// The dravik program from its start to the first finished paint of its main window, offscreen,
// with `log` on its command line (or none). Nothing without the Qt build.
std::optional<ProgramFigures> MeasureProgram(const Options& options, const std::string& log);

}  // namespace dravik::bench
