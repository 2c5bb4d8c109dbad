// dravik_bench: the figures behind Dravik's performance targets, each beside its baseline.
//
//   1. Loading a 1,000,000-row x 30-item log, OpenFile up to the first finished paint, in a fresh
//      process; beside the time to just read the file and pandas.read_csv (float32) on it.
//   2. A 20,000,000-row x 16-item log: loading and its peak memory (beside an earlier build's,
//      given with --baseline), and checking its items one by one.
//   3. Redrawing that log: DrowGraph at magnification 1 with 16 items on a chart 1600 pixels wide,
//      the slowest redraw over every magnification and scroll position tried, and the pixels
//      compared with drawing every segment; the same at 200 % and 150 % screen scaling.
//   4. Dragging a cursor over a section of 1,000,000 samples: ComputeTripSummary.
//   5. Start-up of the dravik program to its first painted window.
//   6. The hover readout per pointer move on the big log beside the small one.
//   7. Reading a binary log of 100 MB of records from the page cache on two threads.
//   8. The table of averages and the scatter plot over every sample of the big log.
//   9. Computed items on the big log: a formula of five operations on two items, and opening the
//      log with ten of them.
//  10. DrowGraph of the big log with a reference log of the same size beside without one.
//
// Logs are generated deterministically into --dir (kept for later runs). Run scripts/bench.sh;
// --quick runs every section once on small logs (CI does, so that the benchmark cannot rot).
// Each section is a function of bench_sections.h in a file of its own; Main runs them in turn.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench_sections.h"
#include "bench_support.h"
#include "fresh_process.h"

#if defined(DRAVIK_BENCH_QT)
#include <QGuiApplication>
#endif

namespace dravik::bench {
namespace {

int Main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each line as it comes, also into a file
  Options options;
  options.self = std::filesystem::canonical("/proc/self/exe").string();
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 4 && args[0] == "--child-load") {
    return ChildLoad(args[1], std::atoi(args[2].c_str()), args[3]);
  }
  if (args.size() >= 3 && args[0] == "--child-read") {
    return ChildRead(args[1], args[2]);
  }
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--dir" && has_value) {
      options.dir = args[++i];
    } else if (a == "--rows" && has_value) {
      options.rows = std::atoll(args[++i].c_str());
    } else if (a == "--big-rows" && has_value) {
      options.big_rows = std::atoll(args[++i].c_str());
    } else if (a == "--repeats" && has_value) {
      options.repeats = std::max(1, std::atoi(args[++i].c_str()));
    } else if (a == "--gen-log" && has_value) {
      options.gen_log = args[++i];
    } else if (a == "--baseline" && has_value) {
      options.baseline = args[++i];
    } else if (a == "--no-pandas") {
      options.pandas = false;
    } else if (a == "--no-big") {
      options.big = false;
    } else if (a == "--quick") {
      // Every section once on small logs, so that CI sees the benchmark build and run; its
      // figures say nothing about the targets.
      options.rows = 20'000;
      options.big_rows = 200'000;
      options.repeats = 1;
      options.pandas = false;
    } else if (a == "--only" && has_value) {
      options.only = std::atoi(args[++i].c_str());
    } else {
      std::printf(
          "usage: dravik_bench [--dir DIR] [--rows N] [--big-rows N] [--repeats N]\n"
          "                    [--gen-log path/to/gen_log.py] [--no-pandas] [--no-big] [--quick]\n"
          "                    [--only N]\n"
          "                    [--baseline path/to/earlier/dravik_bench]\n");
      return 2;
    }
  }
  std::filesystem::create_directories(options.dir);
#if defined(DRAVIK_BENCH_QT)
  // DrowGraph writes its time labels with fonts.
  const std::unique_ptr<QGuiApplication> application = StartGuiApplication();
#endif
  std::printf("Dravik benchmark: %u hardware threads, logs in %s\n",
              std::thread::hardware_concurrency(), options.dir.c_str());
  const auto wanted = [&options](int section) {
    return options.only == 0 || options.only == section;
  };
  std::optional<std::string> log;
  if (wanted(1) || wanted(4) || wanted(6)) {
    log = EnsureLog(options, options.rows, options.items);
    if (!log) {
      return 1;
    }
  }
  if (wanted(1)) {
    LoadSection(options, *log, options.rows, options.items);
  }
  if (wanted(4)) {
    CursorSection(*log);
  }
  if (wanted(7)) {
    BinaryReadSection(options);
  }
  if (options.big &&
      (wanted(2) || wanted(3) || wanted(6) || wanted(8) || wanted(9) || wanted(10))) {
    if (const auto big = EnsureLog(options, options.big_rows, options.big_items)) {
      if (wanted(2) || wanted(3)) {
        ScaleSections(options, *big, options.big_rows, options.big_items);
        DevicePixelRedrawSection(*big);
      }
      if (wanted(6)) {
        HoverSection(*log, *big);
      }
      if (wanted(8)) {
        AnalysisSection(options, *big);
      }
      if (wanted(9)) {
        FormulaSection(options, *big);
      }
      if (wanted(10)) {
        ReferenceSection(*big);
      }
    }
  }
  if (wanted(5)) {
    StartupSection(options);
  }
  return 0;
}

}  // namespace
}  // namespace dravik::bench

int main(int argc, char** argv) {
  return dravik::bench::Main(argc, argv);
}
