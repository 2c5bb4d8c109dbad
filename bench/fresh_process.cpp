#include "fresh_process.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "app/open_log.h"
#include "chart/scaling.h"
#include "common/settings.h"
#include "log/fuel_trip.h"

#if defined(DRAVIK_BENCH_QT)
#include <QGuiApplication>
#include <QImage>

#include "chart/chart_render.h"
#endif

namespace dravik::bench {

int ChildLoad(const std::string& path, int threads, const std::string& out) {
#if defined(DRAVIK_BENCH_QT)
  const std::unique_ptr<QGuiApplication> application = StartGuiApplication();
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

std::optional<LoadFigures> MeasureLoad(const Options& options, const std::string& log, int threads,
                                       const std::string& program) {
  const std::string out = TempPath(options, "child_load.txt");
  std::filesystem::remove(out);
  Run({program.empty() ? options.self : program, "--child-load", log, std::to_string(threads), out},
      {});
  std::istringstream text(ReadAll(out));
  LoadFigures figures;
  if (!(text >> figures.read_ms >> figures.total_ms >> figures.paint_ms >> figures.peak_kb >>
        figures.error >> figures.samples >> figures.items)) {
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

}  // namespace dravik::bench
