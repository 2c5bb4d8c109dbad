#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "common/settings.h"

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

// Told of parts of the bytes that the reading has finished with (possibly on several threads at
// once), so that their memory can be let go of while the rest is read.
using TextDone = std::function<void(std::string_view part)>;

// The computed items a load makes: the user's formulas, in list order, and which value ranges the
// chart can show. A computed item whose range it cannot show is left out of that log alone; without
// `can_show` every range is taken.
struct FormulaOptions {
  std::span<const Formula> formulas;
  std::function<bool(float min, float max)> can_show;
};

}  // namespace dravik
