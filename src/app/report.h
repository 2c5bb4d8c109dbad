#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/core_text.h"
#include "common/settings.h"
#include "log/log_table.h"
#include "panel/bin_table.h"

namespace dravik {

// What dravik-report was asked to do.
struct ReportOptions {
  bool help = false;                        // -h / --help: print the usage and stop
  bool version = false;                     // --version: print the version and stop
  std::string ini_path;                     // --ini; empty: the first-start settings
  Language language = Language::kJapanese;  // --lang: of the texts, never from the settings
  bool trips = false;                       // --trips: the trips table of every log
  std::vector<std::string> logs;            // exactly one unless `trips`
  std::vector<Formula> formulas;   // --formula NAME=EXPR, in order: after the settings' formulas
  std::string reference_path;      // --compare REF: the reference log; empty for none
  double reference_offset_ms = 0;  // --offset MS: the reference's offset (needs --compare)
  bool has_cursors = false;        // --cursors C1,C2: also the numeric display text
  int64_t cursor1_sample = 0;
  int64_t cursor2_sample = 0;
  // The chart image (--png and its companions; drawn by the Qt build).
  std::string png_path;     // empty: no image
  int32_t width_px = 1000;  // --size WxH
  int32_t height_px = 600;
  std::vector<int> items;     // --items N,N,...: item numbers 1..128 to draw; empty when not given
  int32_t magnification = 1;  // --magnification: 1, 2, 5, 10, 20, 50 or 100
  int64_t scroll = 0;         // --scroll: time scroll bar position (10 samples a unit), >= 0
  // The table of averages (--table X,Y[,Z] and its companions) instead of the texts above.
  bool table = false;
  int table_x_item = 0;
  int table_y_item = 0;
  int table_value_item = -1;                  // -1: no third item, the cells count samples
  std::optional<std::vector<double>> bins_x;  // --bins-x EDGES; nullopt: 16 automatic bins
  std::optional<std::vector<double>> bins_y;
  CellStatistic statistic = CellStatistic::kMean;  // --stat mean|count|min|max
};

struct ReportArguments {
  bool ok = false;
  std::string error;  // why the arguments were refused, when !ok
  ReportOptions options;
};

// The --help text: the command lines, then one option a line, ending in a line end.
extern const char kReportUsage[];

// Parses the arguments after the program name. Options take their value as the next argument;
// "--" ends the options. Refused: unknown options, missing or malformed values, no log, more than
// one log without --trips, --trips together with --cursors or --png, image options without --png,
// --compare together with --trips, --table or --png, --offset without --compare,
// --table together with --trips or --png, table options without --table, bin edges that are not
// increasing numbers.
ReportArguments ParseReportArguments(const std::vector<std::string>& arguments);

// The texts a run produces and its exit status, with what it read for the chart picture.
struct ReportOutput {
  int exit_code = 0;  // 0 success, 1 a failed load (for --trips: no log loaded), 2 usage
  std::string out;    // UTF-8, CR LF line ends
  std::string err;
  Settings settings;  // the settings the run used
  LogTable table;     // the log read (the last one with --trips)
};

// The settings a run uses: `ini_path` read through the start-up reading pass against a
// 1920 x 1080 pixel screen, or the first-start settings when `ini_path` is empty.
// 0 when read; otherwise the run's exit status with the reason in `error`: 1 when `ini_path`
// names something that is no regular file (a device, a FIFO, a directory; never read), 2 when
// the file is missing, cannot be read or is larger than kMaxIniFileBytes.
int ReportSettings(const std::string& ini_path, Settings& settings, std::string& error);

// Runs a parsed request without drawing: the settings from `ini_path` through the start-up reading
// pass (screen 1920 x 1080 px), else the first-start settings, with the formulas of the command
// line after the settings' own (one that does not compile exits 2 with its message before any log
// is read; one that a log cannot have is named on `err`); then the trip list's clipboard
// text and, with cursors, the numeric display's clipboard text with cursor 1 on `cursor1_sample`
// and cursor 2 on `cursor2_sample`; with --compare both with the reference's columns, as the
// window copies them with that reference open at that offset (a reference that cannot be read
// exits 1 with its message, one without an item in common with the log exits 1 saying so); or
// the trips table. A failed load writes its message box text
// to `err` and exits 1; a settings file that cannot be read exits as ReportSettings says. With
// --trips, each log that fails is also named on `err`, one line each. With --table, only the table
// of averages as its copy writes it, over the samples between the cursors (both included, within
// the log) when they are given; an item number beyond the log's items exits 2, a range of fewer
// than 2 samples or a filter that leaves none exits 1 with the window's message.
ReportOutput RunReport(const ReportOptions& options);

}  // namespace dravik
