#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chart/scaling.h"

#if defined(DRAVIK_BENCH_QT)
#include <QGuiApplication>
#endif

namespace dravik::bench {

using Clock = std::chrono::steady_clock;

// The chart that the first paint and the redraws fill.
constexpr int kChartWidthPx = 1600;
constexpr int kChartHeightPx = 600;
// The items drawn in the redraw figures, and the bound of one redraw.
constexpr int kVisibleItems = 16;
constexpr double kRedrawLimitMs = 16;

struct Options {
  std::string dir = "bench-data";
  int64_t rows = 1'000'000;
  int items = 30;
  int64_t big_rows = 20'000'000;
  int big_items = 16;
  int repeats = 3;
  bool pandas = true;
  bool big = true;
  int only = 0;         // --only N: only section N of the list in dravik_bench.cpp; 0 runs them all
  std::string gen_log;  // gen_log.py to write the logs instead of the built-in generator
  std::string self;
  std::string baseline;  // an earlier build's dravik_bench whose loads are timed beside ours
};

double MsSince(Clock::time_point start);

// The peak resident memory of this process so far (VmHWM), in kilobytes.
long PeakKilobytes();

double Median(std::vector<double> values);

// Runs `argv` with `extra_env` added and waits up to `timeout_s`; its exit status, or -1.
int Run(const std::vector<std::string>& argv, const std::vector<std::string>& extra_env,
        int timeout_s = 600, const std::string& stdout_path = "");

std::string ReadAll(const std::string& path);

// The path of `name` inside the benchmark's directory.
std::string TempPath(const Options& options, const std::string& name);

// The log of `rows` x `items`, written once and kept.
std::optional<std::string> EnsureLog(const Options& options, int64_t rows, int items);

#if defined(DRAVIK_BENCH_QT)
// The GUI application that drawing text needs for its fonts, on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise. One per process.
std::unique_ptr<QGuiApplication> StartGuiApplication();
#endif

// The view at a magnification of the list and a scroll-bar position, as the window sets it.
ChartView ViewAt(int magnification, int64_t position, int64_t last_sample);

}  // namespace dravik::bench
