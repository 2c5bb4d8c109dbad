#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "fresh_process.h"

namespace dravik::bench {

void StartupSection(const Options& options) {
  std::printf("\n5. Start-up: dravik to its first painted main window (offscreen), median of %d\n",
              options.repeats + 2);
  std::vector<double> times;
  for (int i = 0; i < options.repeats + 2; ++i) {
    if (const auto figures = MeasureProgram(options, "")) {
      times.push_back(figures->first_paint_ms);
    }
  }
  if (times.empty()) {
    Row("start-up", "n/a", "needs the Qt build (the dravik program and the probe)");
    return;
  }
  Row("exec to first paint", Ms(Median(times)),
      "fastest " + Ms(*std::min_element(times.begin(), times.end())), Verdict(Median(times) < 300));
}

}  // namespace dravik::bench
