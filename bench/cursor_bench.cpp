#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/open_log.h"
#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "common/settings.h"
#include "log/fuel_trip.h"

namespace dravik::bench {

void CursorSection(const std::string& log) {
  std::printf("\n4. Cursor drag: ComputeTripSummary over 1,000,000 samples (the whole log)\n");
  const Settings settings;
  LogTable table;
  if (OpenLog(log, settings, table).kind != LoadFailure::kNone) {
    Row("load", "FAILED");
    return;
  }
  const FuelParams fuel = FuelParamsOf(settings);
  const int64_t last = std::min<int64_t>(table.last_sample, 999'999);
  std::vector<double> times;
  for (int k = 0; k < 100; ++k) {
    const Clock::time_point start = Clock::now();
    const TripSummary trip = ComputeTripSummary(table, fuel, 0, last);
    times.push_back(MsSince(start));
    if (trip.driving_time_ms <= 0) {
      Row("trip summary", "FAILED");
    }
  }
  const double slowest = *std::max_element(times.begin(), times.end());
  Row("per mouse event, median of 100", Ms(Median(times)), "slowest " + Ms(slowest),
      Verdict(Median(times) < 2));
}

}  // namespace dravik::bench
