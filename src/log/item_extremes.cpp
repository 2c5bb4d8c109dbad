#include "log/item_extremes.h"

#include <algorithm>

#include "common/parallel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dravik {
namespace {

// Smallest and largest of values[0..count), count >= 1, as a loop that replaces them only by
// strictly smaller or larger values finds them: of equal values the first is kept, which matters
// only for zeros (+0 and -0). The values hold no NaN (a field that is not a number reads as 0).
void Extremes(const float* values, int64_t count, float& low, float& high) {
  float lo = values[0];
  float hi = values[0];
  int64_t i = 1;
#if defined(__SSE2__)
  if (count >= 16) {
    __m128 lo_a = _mm_set1_ps(lo);
    __m128 hi_a = lo_a;
    __m128 lo_b = lo_a;
    __m128 hi_b = lo_a;
    for (; i + 8 <= count; i += 8) {
      const __m128 a = _mm_loadu_ps(values + i);
      const __m128 b = _mm_loadu_ps(values + i + 4);
      lo_a = _mm_min_ps(lo_a, a);
      hi_a = _mm_max_ps(hi_a, a);
      lo_b = _mm_min_ps(lo_b, b);
      hi_b = _mm_max_ps(hi_b, b);
    }
    alignas(16) float lows[4];
    alignas(16) float highs[4];
    _mm_store_ps(lows, _mm_min_ps(lo_a, lo_b));
    _mm_store_ps(highs, _mm_max_ps(hi_a, hi_b));
    for (int k = 0; k < 4; ++k) {
      lo = lows[k] < lo ? lows[k] : lo;
      hi = highs[k] > hi ? highs[k] : hi;
    }
  }
#endif
  for (; i < count; ++i) {
    lo = values[i] < lo ? values[i] : lo;
    hi = values[i] > hi ? values[i] : hi;
  }
  // Lanes see the values out of order; only a zero can differ from the first of its equals.
  const auto first_zero = [&] {
    const float* zero = std::find(values, values + count, 0.0f);
    return *zero;
  };
  low = lo == 0.0f ? first_zero() : lo;
  high = hi == 0.0f ? first_zero() : hi;
}

}  // namespace

void FindExtremes(LogTable& table, const std::vector<int64_t>& ranges, int threads) {
  const int columns = table.item_count + 1;
  const int64_t range_count = static_cast<int64_t>(ranges.size()) - 1;
  std::vector<float> lows(range_count * columns);
  std::vector<float> highs(range_count * columns);
  RunTasks(range_count, threads,
           [&](int64_t r) {
             for (int j = 0; j < columns; ++j) {
               Extremes(table.Values(j).data() + ranges[r], ranges[r + 1] - ranges[r],
                        lows[r * columns + j], highs[r * columns + j]);
             }
           },
           {});
  table.item_min.assign(lows.begin(), lows.begin() + columns);
  table.item_max.assign(highs.begin(), highs.begin() + columns);
  for (int64_t r = 1; r < range_count; ++r) {
    for (int j = 0; j < columns; ++j) {
      if (lows[r * columns + j] < table.item_min[j]) {
        table.item_min[j] = lows[r * columns + j];
      }
      if (highs[r * columns + j] > table.item_max[j]) {
        table.item_max[j] = highs[r * columns + j];
      }
    }
  }
}

}  // namespace dravik
