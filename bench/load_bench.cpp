#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "fresh_process.h"

namespace dravik::bench {
namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::optional<double> MeasurePandas(const Options& options, const std::string& log) {
  const std::string out = TempPath(options, "pandas.txt");
  const char* script =
      "import sys, time\n"
      "import numpy as np, pandas as pd\n"
      "start = time.perf_counter()\n"
      "frame = pd.read_csv(sys.argv[1], dtype=np.float32)\n"
      "print((time.perf_counter() - start) * 1000, len(frame))\n";
  if (Run({kPython, "-c", script, log}, {}, 600, out) != 0) {
    return std::nullopt;
  }
  std::istringstream text(ReadAll(out));
  double ms = 0;
  if (!(text >> ms)) {
    return std::nullopt;
  }
  return ms;
}

}  // namespace

void LoadSection(const Options& options, const std::string& log, int64_t rows, int items) {
  const auto file_bytes = static_cast<double>(std::filesystem::file_size(log));
  std::printf("\n1. Load %lld rows x %d items (%.0f MB), fresh process each, median of %d\n",
              static_cast<long long>(rows), items, file_bytes / 1e6, options.repeats);
  const bool pandas =
      options.pandas && Run({kPython, "-c", "import pandas"}, {}, 60, "/dev/null") == 0;
  std::vector<double> load;
  std::vector<double> read_log;
  std::vector<double> paint;
  std::vector<double> single;
  std::vector<double> file_read;
  std::vector<double> pandas_ms;
  std::vector<double> program;
  std::vector<double> earlier;
  long peak_kb = 0;
  // One load and one read first, not counted: they bring the file into the page cache.
  MeasureLoad(options, log, 0);
  MeasureRead(options, log);
  // Interleaved, and in a rotating order, so that whatever else the machine runs weighs on all
  // alike. A rotation keeps each run's predecessor, so the one that follows pandas is settled
  // below.
  std::vector<std::function<void()>> runs = {
      [&] {
        if (const auto figures = MeasureLoad(options, log, 0)) {
          load.push_back(figures->total_ms);
          read_log.push_back(figures->read_ms);
          paint.push_back(figures->paint_ms);
          peak_kb = std::max(peak_kb, figures->peak_kb);
        }
      },
      [&] {
        if (const auto figures = MeasureLoad(options, log, 1)) {
          single.push_back(figures->total_ms);
        }
      },
      [&] {
        if (const auto ms = MeasureRead(options, log)) {
          file_read.push_back(*ms);
        }
      },
      [&] {
        if (pandas) {
          if (const auto ms = MeasurePandas(options, log)) {
            pandas_ms.push_back(*ms);
          }
          // pandas frees well over a gigabyte when it ends, which a virtual machine's host may
          // take back; the next process to touch fresh memory then pays for backing it again
          // (150 ms and more on the project's VM). An uncounted load takes that cost, so that no
          // counted run always comes right after pandas.
          MeasureLoad(options, log, 0);
        }
      },
      [&] {
        if (const auto figures = MeasureProgram(options, log)) {
          program.push_back(figures->first_paint_ms);
        }
      },
      [&] {
        if (options.baseline.empty()) {
          return;
        }
        if (const auto figures = MeasureLoad(options, log, 0, options.baseline)) {
          earlier.push_back(figures->total_ms);
        }
      },
  };
  for (int round = 0; round < options.repeats; ++round) {
    for (size_t k = 0; k < runs.size(); ++k) {
      runs[(k + static_cast<size_t>(round)) % runs.size()]();
    }
  }
  if (load.empty()) {
    Row("load", "FAILED");
    return;
  }
  const double load_ms = Median(load);
  const double read_ms = Median(file_read);
  Row("OpenFile to first paint (core + QImage paint)", Ms(load_ms),
      "file read " + Ms(read_ms) + ": " + Times(load_ms / read_ms) + " of it");
  if (!earlier.empty()) {
    const double ratio = load_ms / Median(earlier);
    Row("  earlier build, alternately", Ms(Median(earlier)),
        "this build " + Times(ratio) + " of its time (target 1.05x)", Verdict(ratio <= 1.05));
  }
  Row("  of which ReadLog", Ms(Median(read_log)));
  Row("  of which the first paint", Ms(Median(paint)));
  Row("  the same on 1 thread", Ms(Median(single)),
      "parallel speed-up " + Times(Median(single) / load_ms));
  if (!pandas_ms.empty()) {
    const double ratio = Median(pandas_ms) / load_ms;
    Row("pandas.read_csv(dtype=float32)", Ms(Median(pandas_ms)),
        "Dravik " + Times(ratio) + " faster (target 8x)", Verdict(ratio >= 8));
  } else {
    Row("pandas.read_csv(dtype=float32)", "n/a", "no /usr/bin/python3 with pandas");
  }
  const double values = static_cast<double>(rows) * items;
  const double limit_kb = (file_bytes + 7 * values) / 1024;
  Row("peak memory (VmHWM)", Mb(static_cast<double>(peak_kb)),
      "limit file + 7 B/value " + Mb(limit_kb), Verdict(static_cast<double>(peak_kb) <= limit_kb));
  if (!program.empty()) {
    std::vector<double> empty;
    for (int round = 0; round < options.repeats; ++round) {
      if (const auto figures = MeasureProgram(options, "")) {
        empty.push_back(figures->first_paint_ms);
      }
    }
    const double with_log = Median(program);
    const double without = Median(empty);
    Row("dravik LOG: start to first paint", Ms(with_log), "empty start " + Ms(without));
    const double open_ms = with_log - without;
    Row("  OpenFile to first paint in the program", Ms(open_ms),
        pandas_ms.empty() ? "" : "pandas " + Times(Median(pandas_ms) / open_ms) + " slower",
        pandas_ms.empty() ? "" : Verdict(Median(pandas_ms) / open_ms >= 8));
  }
}

}  // namespace dravik::bench
