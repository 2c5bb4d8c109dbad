#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "log/log_table.h"

namespace dravik {

// A loaded table as the reader leaves it: names 0..n, real samples by column (column 0 the time),
// tail samples, extremes. The fuel items are left for the test to set.
inline LogTable MakeLogTable(const std::vector<std::string>& names,
                             const std::vector<std::vector<float>>& columns) {
  const int64_t samples = static_cast<int64_t>(columns[0].size());
  LogTable table;
  table.item_names = names;
  table.item_count = static_cast<int>(names.size()) - 1;
  table.last_sample = samples - 1;
  table.Allocate(static_cast<int>(columns.size()), samples + kTailSamples);
  for (size_t item = 0; item < columns.size(); ++item) {
    const std::vector<float>& values = columns[item];
    const std::span<float> column = table.Values(static_cast<int>(item));
    std::copy(values.begin(), values.end(), column.begin());
    std::fill(column.begin() + samples, column.end(), item == 0 ? 0.0f : values.back());
    table.item_min.push_back(*std::min_element(values.begin(), values.end()));
    table.item_max.push_back(*std::max_element(values.begin(), values.end()));
  }
  return table;
}

}  // namespace dravik
