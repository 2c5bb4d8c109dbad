#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "log/log_table.h"

namespace dravik {

// Which samples a scatter or a table counts: the real samples first..last (both included) whose
// filter item, when there is one, lies within [filter_min, filter_max]. An open bound is infinite.
struct SampleSelection {
  int64_t first = 0;
  int64_t last = 0;
  int filter_item = -1;  // -1: no filter
  double filter_min = -std::numeric_limits<double>::infinity();
  double filter_max = std::numeric_limits<double>::infinity();
};

// The selection of first..last without a filter.
SampleSelection WholeRange(int64_t first, int64_t last);
// The real samples (0..last_sample) among first..last, without a filter; empty (last < first)
// when none of them is real. Cursors may stand beyond the log.
SampleSelection SelectionWithin(int64_t first, int64_t last, int64_t last_sample);

// Whether sample `s` (within first..last) passes the filter of `selection`.
inline bool PassesFilter(const float* filter_values, const SampleSelection& selection, int64_t s) {
  if (filter_values == nullptr) {
    return true;
  }
  const double v = filter_values[s];
  return v >= selection.filter_min && v <= selection.filter_max;
}

// The filter column of `selection` in `table`, or nullptr without a filter.
const float* FilterValues(const LogTable& table, const SampleSelection& selection);

// How many samples the selection counts and the smallest and largest value of each requested
// item among them (both 0 when none is counted).
struct SelectedExtremes {
  int64_t count = 0;
  std::vector<double> min;  // in the order of the requested items
  std::vector<double> max;
};

// One pass over first..last on up to `threads` threads (0: one per hardware thread). Without a
// filter over the whole log the table's own extremes are taken and nothing is read.
SelectedExtremes FindSelectedExtremes(const LogTable& table, const SampleSelection& selection,
                                      const std::vector<int>& items, int threads = 0);

// first..last cut into ranges of a fixed length: results summed range by range in order come out
// the same whatever the number of threads.
std::vector<int64_t> SelectionRanges(const SampleSelection& selection);

}  // namespace dravik
