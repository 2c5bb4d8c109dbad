// dravik_bench: the figures behind Dravik's performance targets, each beside its baseline.
//
//   1. Loading a 1,000,000-row x 30-item log, OpenFile up to the first finished paint, in a fresh
//      process; beside the time to just read the file and pandas.read_csv (float32) on it.
//   2. A 20,000,000-row x 16-item log: loading and its peak memory.
//   3. Redrawing that log: DrowGraph at magnification 1 with 16 items on a chart 1600 pixels wide,
//      the slowest redraw over every magnification and scroll position tried, and the pixels
//      compared with drawing every segment.
//   4. Dragging a cursor over a section of 1,000,000 samples: ComputeTripSummary.
//   5. Start-up of the dravik program to its first painted window.
//
// Logs are generated deterministically into --dir (kept for later runs). Run scripts/bench.sh.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "app/open_log.h"
#include "chart/scaling.h"
#include "chart/trace_raster.h"
#include "common/settings.h"
#include "device_pixel_redraw.h"
#include "log/fuel_trip.h"
#include "log_generator.h"

#if defined(DRAVIK_BENCH_QT)
#include <QGuiApplication>
#include <QImage>

#include "chart/chart_image_view.h"
#endif

extern char** environ;

namespace dravik::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kChartWidthPx = 1600;
constexpr int kVisibleItems = 16;
constexpr int kChartHeightPx = 600;
constexpr double kRedrawLimitMs = 16;
constexpr double kFirstRedrawLimitMs = 10;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long PeakKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::strtol(line.c_str() + 6, nullptr, 10);
    }
  }
  return 0;
}

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Options {
  std::string dir = "bench-data";
  int64_t rows = 1'000'000;
  int items = 30;
  int64_t big_rows = 20'000'000;
  int big_items = 16;
  int repeats = 3;
  bool pandas = true;
  bool big = true;
  std::string gen_log;  // gen_log.py to write the logs instead of the built-in generator
  std::string self;
};

// Runs `argv` with `extra_env` added and waits up to `timeout_s`; its exit status, or -1.
int Run(const std::vector<std::string>& argv, const std::vector<std::string>& extra_env,
        int timeout_s = 600, const std::string& stdout_path = "") {
  std::vector<char*> args;
  for (const std::string& a : argv) {
    args.push_back(const_cast<char*>(a.c_str()));
  }
  args.push_back(nullptr);
  std::vector<std::string> env_store(extra_env);
  for (char** e = environ; *e != nullptr; ++e) {
    env_store.emplace_back(*e);
  }
  std::vector<char*> env;
  for (std::string& e : env_store) {
    env.push_back(e.data());
  }
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!stdout_path.empty()) {
    posix_spawn_file_actions_addopen(&actions, 1, stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
  }
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    return -1;
  }
  const Clock::time_point start = Clock::now();
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (MsSince(start) > timeout_s * 1000.0) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    usleep(2000);
  }
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TempPath(const Options& options, const std::string& name) {
  return (std::filesystem::path(options.dir) / name).string();
}

// The log of `rows` x `items`, written once and kept.
std::optional<std::string> EnsureLog(const Options& options, int64_t rows, int items) {
  const std::string generator = options.gen_log.empty() ? "builtin" : "genlog";
  const std::string path = TempPath(options, "log_" + std::to_string(rows) + "x" +
                                                 std::to_string(items) + "_" + generator + ".csv");
  if (std::filesystem::exists(path)) {
    return path;
  }
  std::printf("  writing %s ...\n", path.c_str());
  std::fflush(stdout);
  const std::string partial = path + ".partial";
  bool written = false;
  if (options.gen_log.empty()) {
    written = WriteGeneratedLog(partial, rows, items);
  } else {
    written = Run({"/usr/bin/env", "python3", options.gen_log, "--rows", std::to_string(rows),
                   "--items", std::to_string(items), "--out", partial},
                  {}, 3600) == 0;
  }
  if (!written) {
    std::printf("  cannot write %s\n", partial.c_str());
    return std::nullopt;
  }
  std::filesystem::rename(partial, path);
  return path;
}

// ---- fresh-process children ----------------------------------------------------------------

// A log loaded as OpenFile loads it: the table, the trip list and (with Qt) the first paint, the
// chart at magnification 1 with no item checked yet (so no trace summary is made).
int ChildLoad(const std::string& path, int threads, const std::string& out) {
#if defined(DRAVIK_BENCH_QT)
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  static int argc = 1;
  static char name[] = "dravik_bench";
  static char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
#endif
  const Settings settings;
  LogTable table;
  ReadSplit split;
  split.threads = threads;
  const Clock::time_point start = Clock::now();
  const LoadError error = OpenLog(path, settings, table, {}, split);
  const double read_ms = MsSince(start);
  const TripSummary trip = ComputeTripSummary(table, FuelParamsOf(settings), 0, table.last_sample);
  double paint_ms = 0;
#if defined(DRAVIK_BENCH_QT)
  ChartView view;
  ChangeMagnification(view, kMagnifications[0], table.last_sample);
  const Clock::time_point paint_start = Clock::now();
  const QImage picture =
      RenderChartImage(table, settings, {}, view, QSize(kChartWidthPx, kChartHeightPx));
  paint_ms = MsSince(paint_start);
#endif
  const double total_ms = MsSince(start);
  std::ofstream(out) << read_ms << ' ' << total_ms << ' ' << paint_ms << ' ' << PeakKilobytes()
                     << ' ' << static_cast<int>(error.kind) << ' ' << table.last_sample + 1 << ' '
                     << table.item_count << ' ' << trip.driving_time_ms << '\n';
  return error.kind == LoadFailure::kNone ? 0 : 1;
}

// The baseline: the file read into fresh memory, as any program must before parsing it.
int ChildRead(const std::string& path, const std::string& out) {
  const Clock::time_point start = Clock::now();
  const int fd = open(path.c_str(), O_RDONLY);
  struct stat status {};
  fstat(fd, &status);
  const auto size = static_cast<size_t>(status.st_size);
  char* buffer = static_cast<char*>(std::malloc(size));
  size_t done = 0;
  while (done < size) {
    const ssize_t got = read(fd, buffer + done, size - done);
    if (got <= 0) {
      break;
    }
    done += static_cast<size_t>(got);
  }
  close(fd);
  const double ms = MsSince(start);
  std::ofstream(out) << ms << ' ' << PeakKilobytes() << ' ' << static_cast<int>(buffer[done / 2])
                     << '\n';
  std::free(buffer);
  return 0;
}

struct LoadFigures {
  double read_ms = 0;   // ReadLog
  double total_ms = 0;  // up to the first finished paint
  double paint_ms = 0;
  long peak_kb = 0;
  int error = -1;
  int64_t samples = 0;
};

std::optional<LoadFigures> MeasureLoad(const Options& options, const std::string& log,
                                       int threads) {
  const std::string out = TempPath(options, "child_load.txt");
  std::filesystem::remove(out);
  Run({options.self, "--child-load", log, std::to_string(threads), out}, {});
  std::istringstream text(ReadAll(out));
  LoadFigures figures;
  int items = 0;
  if (!(text >> figures.read_ms >> figures.total_ms >> figures.paint_ms >> figures.peak_kb >>
        figures.error >> figures.samples >> items)) {
    return std::nullopt;
  }
  return figures;
}

std::optional<double> MeasureRead(const Options& options, const std::string& log) {
  const std::string out = TempPath(options, "child_read.txt");
  std::filesystem::remove(out);
  Run({options.self, "--child-read", log, out}, {});
  std::istringstream text(ReadAll(out));
  double ms = 0;
  if (!(text >> ms)) {
    return std::nullopt;
  }
  return ms;
}

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

struct ProgramFigures {
  double first_paint_ms = 0;
  long peak_kb = 0;
};

// The dravik program from its start to the first finished paint of its main window, offscreen,
// with `log` on its command line (or none).
std::optional<ProgramFigures> MeasureProgram(const Options& options, const std::string& log) {
#if defined(DRAVIK_BENCH_QT)
  if (!std::filesystem::exists(DRAVIK_PROGRAM_PATH) ||
      !std::filesystem::exists(DRAVIK_PROBE_PATH)) {
    return std::nullopt;
  }
  const std::string out = TempPath(options, "probe.txt");
  std::filesystem::remove(out);
  std::vector<std::string> argv = {DRAVIK_PROGRAM_PATH};
  if (!log.empty()) {
    argv.push_back(log);
  }
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const double start_ns = static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
  char start_text[64];
  std::snprintf(start_text, sizeof start_text, "%.0f", start_ns);
  Run(argv,
      {"QT_QPA_PLATFORM=offscreen", std::string("LD_PRELOAD=") + DRAVIK_PROBE_PATH,
       std::string("DRAVIK_PROBE_T0_NS=") + start_text, "DRAVIK_PROBE_OUT=" + out},
      300);
  std::istringstream text(ReadAll(out));
  ProgramFigures figures;
  if (!(text >> figures.first_paint_ms >> figures.peak_kb)) {
    return std::nullopt;
  }
  return figures;
#else
  (void)options;
  (void)log;
  return std::nullopt;
#endif
}

// ---- printing ------------------------------------------------------------------------------

void Row(const std::string& what, const std::string& figure, const std::string& baseline = "",
         const std::string& verdict = "") {
  std::printf("  %-46s %-14s %-40s %s\n", what.c_str(), figure.c_str(), baseline.c_str(),
              verdict.c_str());
}

std::string Ms(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, ms < 10 ? "%.2f ms" : "%.0f ms", ms);
  return text;
}

std::string Mb(double kb) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f MB", kb / 1024);
  return text;
}

std::string Times(double ratio) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1fx", ratio);
  return text;
}

std::string Verdict(bool ok) {
  return ok ? "ok" : "MISSED";
}

// ---- sections ------------------------------------------------------------------------------

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
  Row("  of which ReadLog", Ms(Median(read_log)));
  Row("  of which the first paint", Ms(Median(paint)));
  Row("  the same on 1 thread", Ms(Median(single)),
      "parallel speed-up " + Times(Median(single) / load_ms));
  if (!pandas_ms.empty()) {
    const double ratio = Median(pandas_ms) / load_ms;
    Row("pandas.read_csv(dtype=float32)", Ms(Median(pandas_ms)),
        "Dravik " + Times(ratio) + " faster (target 5x)", Verdict(ratio >= 5));
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
        pandas_ms.empty() ? "" : Verdict(Median(pandas_ms) / open_ms >= 5));
  }
}

// A chart buffer and the traces of `items` drawn into it at `view`, M4 or every segment.
struct Chart {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t{kChartWidthPx} * kChartHeightPx);
  PixelBuffer buffer{pixels.data(), kChartWidthPx, kChartHeightPx, kChartWidthPx};

  void Draw(const LogTable& table, const std::vector<PlotYSummary>& summaries,
            const ChartView& view, bool every_segment) {
    std::fill(pixels.begin(), pixels.end(), 0xFFFFFFFFu);
    const int64_t first = FirstVisibleSample(view);
    const Settings settings;
    std::vector<TraceToDraw> traces;
    for (int item = 1; item <= std::min(table.item_count, kVisibleItems); ++item) {
      const uint32_t argb = OpaqueArgb(settings.item_colors[item - 1]);
      if (every_segment) {
        DrawTraceEverySegment(table.PlotY(item), first, view.view_span, buffer, argb);
      } else {
        traces.push_back({table.PlotY(item), &summaries[item], argb});
      }
    }
    DrawTraces(traces, first, view.view_span, buffer, scratch);
  }
  TraceScratch scratch;
};

ChartView ViewAt(int magnification, int64_t position, int64_t last_sample) {
  ChartView view;
  ChangeMagnification(view, kMagnifications[0], last_sample);
  ChangeMagnification(view, magnification, last_sample);
  view.scroll_position = std::clamp<int64_t>(position, 0, view.scroll_maximum);
  return view;
}

void ScaleSections(const Options& options, const std::string& log, int64_t rows, int items) {
  const auto file_bytes = static_cast<double>(std::filesystem::file_size(log));
  std::printf("\n2. Scale: %lld rows x %d items (%.0f MB)\n", static_cast<long long>(rows), items,
              file_bytes / 1e6);
  if (const auto figures = MeasureLoad(options, log, 0)) {
    const auto read_ms = MeasureRead(options, log);
    Row("OpenFile to first paint, fresh process", Ms(figures->total_ms),
        read_ms
            ? "file read " + Ms(*read_ms) + ": " + Times(figures->total_ms / *read_ms) + " of it"
            : "",
        Verdict(figures->error == 0 && figures->samples == rows));
    const double limit_kb = (file_bytes + 7.0 * static_cast<double>(rows) * items) / 1024;
    Row("peak memory (VmHWM)", Mb(static_cast<double>(figures->peak_kb)),
        "limit file + 7 B/value " + Mb(limit_kb),
        Verdict(static_cast<double>(figures->peak_kb) <= limit_kb));
  }

  const Settings settings;
  LogTable table;
  if (OpenLog(log, settings, table).kind != LoadFailure::kNone) {
    Row("in-process load", "FAILED");
    return;
  }
  Clock::time_point start = Clock::now();
  std::vector<PlotYSummary> summaries(table.item_count + 1);
  for (int item = 1; item <= table.item_count; ++item) {
    summaries[item] = SummarisePlotY(table.PlotY(item));
  }
  const double one_thread_ms = MsSince(start);
  std::vector<int> all_items(table.item_count);
  std::iota(all_items.begin(), all_items.end(), 1);
  summaries.clear();
  start = Clock::now();
  SummarisePlotYOf(table, all_items, summaries);
  Row("block summaries of all items", Ms(MsSince(start)), "on 1 thread " + Ms(one_thread_ms));

  std::printf("\n3. Redraw %d items on a chart of %d x %d pixels\n",
              std::min(table.item_count, kVisibleItems), kChartWidthPx, kChartHeightPx);
  Chart fast;
  Chart reference;
  const int64_t last = table.last_sample;
  const ChartView whole = ViewAt(1, 0, last);
  std::vector<double> times;
  for (int i = 0; i < 15; ++i) {
    start = Clock::now();
    fast.Draw(table, summaries, whole, false);
    times.push_back(MsSince(start));
  }
  const double traces_ms = Median(times);
  start = Clock::now();
  reference.Draw(table, summaries, whole, true);
  const double every_ms = MsSince(start);
  const bool same_whole = fast.pixels == reference.pixels;
  Row("traces at magnification 1 (median of 15)", Ms(traces_ms),
      "every segment " + Ms(every_ms) + ": " + Times(every_ms / traces_ms) + " faster",
      Verdict(traces_ms <= kFirstRedrawLimitMs && same_whole));
  Row("  same pixels as every segment", same_whole ? "yes" : "NO");
#if defined(DRAVIK_BENCH_QT)
  std::vector<int> visible;
  for (int item = 1; item <= std::min(table.item_count, kVisibleItems); ++item) {
    visible.push_back(item);
  }
  QImage image = NewPicture(QSize(kChartWidthPx, kChartHeightPx));
  const auto drow_graph = [&](const ChartView& view) {
    const Clock::time_point begin = Clock::now();
    RenderGraphImage(image, table, summaries, view, visible, settings);
    return MsSince(begin);
  };
  times.clear();
  for (int i = 0; i < 15; ++i) {
    times.push_back(drow_graph(whole));
  }
  const double drow_ms = Median(times);
  Row("DrowGraph (grid, labels, traces), magn. 1", Ms(drow_ms), "median of 15",
      Verdict(drow_ms <= kFirstRedrawLimitMs));
#endif

  // Every magnification at positions across the whole scroll range; each redraw timed three
  // times and its median kept, the slowest of those reported.
  double slowest = 0;
  std::string slowest_at;
  bool all_same = true;
  int compared = 0;
  int views = 0;
  for (const int magnification : kMagnifications) {
    const int64_t maximum = ViewAt(magnification, 0, last).scroll_maximum;
    std::vector<int64_t> positions = {0, maximum / 3, maximum / 2, 2 * maximum / 3, maximum};
    for (int k = 1; k <= 6; ++k) {
      positions.push_back((maximum * (2 * k + 1) / 13 + 7 * k) % (maximum + 1));
    }
    for (size_t p = 0; p < positions.size(); ++p) {
      const ChartView view = ViewAt(magnification, positions[p], last);
      std::vector<double> redraws;
      for (int i = 0; i < 3; ++i) {
#if defined(DRAVIK_BENCH_QT)
        redraws.push_back(drow_graph(view));
#else
        const Clock::time_point begin = Clock::now();
        fast.Draw(table, summaries, view, false);
        redraws.push_back(MsSince(begin));
#endif
      }
      ++views;
      const double ms = Median(redraws);
      if (ms > slowest) {
        slowest = ms;
        slowest_at = "magnification " + std::to_string(magnification) + ", position " +
                     std::to_string(view.scroll_position);
      }
      if (p == 0 || p == 2 || p == 4) {
        fast.Draw(table, summaries, view, false);
        reference.Draw(table, summaries, view, true);
        all_same = all_same && fast.pixels == reference.pixels;
        ++compared;
      }
    }
  }
  Row("slowest redraw of " + std::to_string(views) + " views", Ms(slowest), slowest_at,
      Verdict(slowest <= kRedrawLimitMs));
  Row("  pixels equal to every segment", all_same ? "yes" : "NO",
      "in " + std::to_string(compared) + " views", Verdict(all_same));

  std::printf("\n4b. Cursor drag on this log: ComputeTripSummary over 1,000,000 samples\n");
  const FuelParams fuel = FuelParamsOf(settings);
  times.clear();
  for (int k = 0; k < 40; ++k) {
    const int64_t first = (last - 1'000'000) * k / 39;
    start = Clock::now();
    const TripSummary trip = ComputeTripSummary(table, fuel, first, first + 999'999);
    times.push_back(MsSince(start));
    if (trip.driving_time_ms <= 0) {
      Row("trip summary", "FAILED");
    }
  }
  Row("per mouse event, median of 40 sections", Ms(Median(times)),
      "slowest " + Ms(*std::max_element(times.begin(), times.end())), Verdict(Median(times) < 2));
}

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
    } else if (a == "--no-pandas") {
      options.pandas = false;
    } else if (a == "--no-big") {
      options.big = false;
    } else {
      std::printf(
          "usage: dravik_bench [--dir DIR] [--rows N] [--big-rows N] [--repeats N]\n"
          "                    [--gen-log path/to/gen_log.py] [--no-pandas] [--no-big]\n");
      return 2;
    }
  }
  std::filesystem::create_directories(options.dir);
#if defined(DRAVIK_BENCH_QT)
  // DrowGraph writes its time labels with fonts, which need a GUI application.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  static int qt_argc = 1;
  static char qt_name[] = "dravik_bench";
  static char* qt_argv[] = {qt_name, nullptr};
  const QGuiApplication application(qt_argc, qt_argv);
#endif
  std::printf("Dravik benchmark: %u hardware threads, logs in %s\n",
              std::thread::hardware_concurrency(), options.dir.c_str());
  const auto log = EnsureLog(options, options.rows, options.items);
  if (!log) {
    return 1;
  }
  LoadSection(options, *log, options.rows, options.items);
  CursorSection(*log);
  if (options.big) {
    if (const auto big = EnsureLog(options, options.big_rows, options.big_items)) {
      ScaleSections(options, *big, options.big_rows, options.big_items);
      DevicePixelRedrawSection(*big);
    }
  }
  StartupSection(options);
  return 0;
}

}  // namespace
}  // namespace dravik::bench

int main(int argc, char** argv) {
  return dravik::bench::Main(argc, argv);
}
