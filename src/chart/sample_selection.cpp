#include "chart/sample_selection.h"

#include <algorithm>

#include "common/parallel.h"

namespace dravik {

namespace {

// Long enough that a range's start-up cost is lost in its work, short enough that two threads
// share out a few hundred thousand samples.
constexpr int64_t kRangeSamples = int64_t{1} << 17;

}  // namespace

SampleSelection WholeRange(int64_t first, int64_t last) {
  SampleSelection selection;
  selection.first = first;
  selection.last = last;
  return selection;
}

SampleSelection SelectionWithin(int64_t first, int64_t last, int64_t last_sample) {
  return WholeRange(std::max<int64_t>(first, 0), std::min(last, last_sample));
}

const float* FilterValues(const LogTable& table, const SampleSelection& selection) {
  if (selection.filter_item < 0 || selection.filter_item > table.item_count) {
    return nullptr;
  }
  return table.Values(selection.filter_item).data();
}

std::vector<int64_t> SelectionRanges(const SampleSelection& selection) {
  std::vector<int64_t> bounds =
      SampleRanges(selection.last - selection.first + 1, 1, kRangeSamples);
  for (int64_t& b : bounds) {
    b += selection.first;
  }
  return bounds;
}

SelectedExtremes FindSelectedExtremes(const LogTable& table, const SampleSelection& selection,
                                      const std::vector<int>& items, int threads) {
  SelectedExtremes result;
  result.min.assign(items.size(), 0.0);
  result.max.assign(items.size(), 0.0);
  if (selection.last < selection.first) {
    return result;
  }
  const float* filter = FilterValues(table, selection);
  if (filter == nullptr && selection.first == 0 && selection.last == table.last_sample) {
    result.count = table.last_sample + 1;
    for (size_t k = 0; k < items.size(); ++k) {
      result.min[k] = table.item_min[items[k]];
      result.max[k] = table.item_max[items[k]];
    }
    return result;
  }
  const std::vector<int64_t> bounds = SelectionRanges(selection);
  const size_t ranges = bounds.size() - 1;
  struct Partial {
    int64_t count = 0;
    std::vector<float> min;
    std::vector<float> max;
  };
  std::vector<Partial> partials(ranges);
  std::vector<const float*> columns;
  for (const int item : items) {
    columns.push_back(table.Values(item).data());
  }
  RunTasks(static_cast<int64_t>(ranges), ThreadCount(threads), [&](int64_t r) {
    Partial& p = partials[r];
    p.min.assign(items.size(), std::numeric_limits<float>::infinity());
    p.max.assign(items.size(), -std::numeric_limits<float>::infinity());
    if (filter == nullptr) {
      p.count = bounds[r + 1] - bounds[r];
      for (size_t k = 0; k < items.size(); ++k) {
        const float* v = columns[k];
        float lo = p.min[k];
        float hi = p.max[k];
        for (int64_t s = bounds[r]; s < bounds[r + 1]; ++s) {
          lo = std::min(lo, v[s]);
          hi = std::max(hi, v[s]);
        }
        p.min[k] = lo;
        p.max[k] = hi;
      }
      return;
    }
    // Item by item, each column read once: the filter is tested again for each, which costs
    // less than reading the columns side by side.
    for (int64_t s = bounds[r]; items.empty() && s < bounds[r + 1]; ++s) {
      p.count += PassesFilter(filter, selection, s) ? 1 : 0;
    }
    for (size_t k = 0; k < items.size(); ++k) {
      const float* v = columns[k];
      float lo = p.min[k];
      float hi = p.max[k];
      int64_t count = 0;
      for (int64_t s = bounds[r]; s < bounds[r + 1]; ++s) {
        const double f = filter[s];
        const bool in = f >= selection.filter_min && f <= selection.filter_max;
        count += in ? 1 : 0;
        lo = in ? std::min(lo, v[s]) : lo;
        hi = in ? std::max(hi, v[s]) : hi;
      }
      p.min[k] = lo;
      p.max[k] = hi;
      p.count = count;
    }
  });
  bool any = false;
  for (const Partial& p : partials) {
    if (p.count == 0) {
      continue;
    }
    for (size_t k = 0; k < items.size(); ++k) {
      result.min[k] = any ? std::min<double>(result.min[k], p.min[k]) : p.min[k];
      result.max[k] = any ? std::max<double>(result.max[k], p.max[k]) : p.max[k];
    }
    result.count += p.count;
    any = true;
  }
  return result;
}

}  // namespace dravik
