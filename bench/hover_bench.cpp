#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/open_log.h"
#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "common/settings.h"
#include "panel/numeric_display.h"

namespace dravik::bench {
namespace {

// Median microseconds of one pointer move over `log`: the readout of 16 items at samples spread
// over the whole log, so that no cache holds the values it reads.
std::optional<double> MedianMoveUs(const std::string& log) {
  const Settings settings;
  LogTable table;
  if (OpenLog(log, settings, table).kind != LoadFailure::kNone) {
    return std::nullopt;
  }
  std::vector<int> items;
  for (int item = 1; item <= std::min(table.item_count, kVisibleItems); ++item) {
    items.push_back(item);
  }
  constexpr int kMoves = 20'000;
  std::vector<double> times;
  times.reserve(kMoves);
  size_t lines = 0;
  for (int k = 0; k < kMoves; ++k) {
    const int64_t sample = table.last_sample * ((k * 7919) % kMoves) / kMoves;
    const Clock::time_point start = Clock::now();
    lines += HoverReadout(table, settings, items, sample).size();
    times.push_back(MsSince(start) * 1000);
  }
  if (lines == 0) {
    return std::nullopt;
  }
  return Median(times);
}

std::string Us(double us) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f us", us);
  return text;
}

}  // namespace

void HoverSection(const std::string& log, const std::string& big_log) {
  std::printf("\n6. Hover readout: one pointer move over the chart, 16 items\n");
  const std::optional<double> small = MedianMoveUs(log);
  const std::optional<double> big = MedianMoveUs(big_log);
  if (!small || !big) {
    Row("load", "FAILED");
    return;
  }
  Row("per move, big log (median of 20,000)", Us(*big), "small log " + Us(*small),
      Verdict(*big < 2 * *small + 5));
}

}  // namespace dravik::bench
