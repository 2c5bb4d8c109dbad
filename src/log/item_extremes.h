#pragma once

#include <cstdint>
#include <vector>

#include "log/log_table.h"

namespace dravik {

// Sets item_min and item_max of every item 0..item_count of `table` over its real samples, which
// `ranges` (SampleRanges) divides among up to `threads` threads. Of equal extremes the first
// sample's is kept, which tells +0 and -0 apart. The values hold no NaN.
void FindExtremes(LogTable& table, const std::vector<int64_t>& ranges, int threads);

}  // namespace dravik
