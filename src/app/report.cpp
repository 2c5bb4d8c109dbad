#include "app/report.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>
#include <optional>
#include <string_view>

#include "app/ini_file.h"
#include "app/open_log.h"
#include "app/settings_file.h"
#include "chart/scaling.h"
#include "chart/twips.h"
#include "common/path.h"
#include "common/settings.h"
#include "log/fuel_trip.h"
#include "log/load_error.h"
#include "log/log_table.h"
#include "panel/numeric_display.h"
#include "panel/trip_list.h"
#include "panel/trips_table.h"

namespace dravik {
namespace {

constexpr int32_t kMaxImageSide = 32767;  // the chart's geometry is 16-bit
// The screen the window positions are checked against: 1920 x 1080 pixels.
constexpr ScreenSize kReportScreen{static_cast<int32_t>(1920 * kTwipsPerPixel),
                                   static_cast<int32_t>(1080 * kTwipsPerPixel)};

// A whole text of decimal digits, without sign, within 0..max.
std::optional<int64_t> ParseCount(std::string_view text, int64_t max) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || text.front() == '-' || error != std::errc() ||
      end != text.data() + text.size() || value > max) {
    return std::nullopt;
  }
  return value;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (true) {
    const size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) {
      return parts;
    }
    text.remove_prefix(at + 1);
  }
}

// A file name on one line of the error output: line ends and other control characters escaped
// ("\n", "\r", "\t", "\xHH").
std::string EscapedName(std::string_view name) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      text += "\\n";
    } else if (c == '\r') {
      text += "\\r";
    } else if (c == '\t') {
      text += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      text += {'\\', 'x', kDigits[byte >> 4], kDigits[byte & 0xF]};
    } else {
      text += c;
    }
  }
  return text;
}

ReportArguments Refuse(std::string error) {
  ReportArguments result;
  result.error = std::move(error);
  return result;
}

}  // namespace

const char kReportUsage[] =
    "usage: dravik-report [--ini SETTINGS.ini] [--cursors C1,C2]\n"
    "                     [--png OUT.png [--size WxH] [--items N,...] [--magnification M]\n"
    "                     [--scroll P]] LOG.csv\n"
    "       dravik-report [--ini SETTINGS.ini] --trips LOG...\n"
    "  LOG.csv              print the trip figures of this log\n"
    "  --ini SETTINGS.ini   read the fuel parameters, fuel items and switches from this file\n"
    "  --cursors C1,C2      also print the numeric display with the cursors on these samples\n"
    "  --png OUT.png        draw the chart into this picture; with --size (default 1000x600),\n"
    "                       --items (default every item a scale is drawn for), --magnification\n"
    "                       and --scroll\n"
    "  --trips LOG...       print the trip table of every log and their totals\n"
    "  --version            print the version and exit\n"
    "  --help               print this text and exit\n";

ReportArguments ParseReportArguments(const std::vector<std::string>& arguments) {
  ReportArguments result;
  ReportOptions& o = result.options;
  bool image_option = false;
  bool options_ended = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_ended || argument.empty() || argument.front() != '-' || argument == "-") {
      o.logs.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    if (argument == "-h" || argument == "--help") {
      o.help = true;
      continue;
    }
    if (argument == "--version") {
      o.version = true;
      continue;
    }
    if (argument == "--trips") {
      o.trips = true;
      continue;
    }
    static constexpr std::string_view kWithValue[] = {
        "--ini", "--cursors", "--png", "--size", "--magnification", "--items", "--scroll"};
    if (std::find(std::begin(kWithValue), std::end(kWithValue), argument) == std::end(kWithValue)) {
      return Refuse("unknown option " + argument);
    }
    if (i + 1 == arguments.size()) {
      return Refuse(argument + " needs a value");
    }
    const std::string& value = arguments[++i];
    const std::string bad = "bad value for " + argument + ": " + value;
    if (argument == "--ini") {
      o.ini_path = value;
    } else if (argument == "--cursors") {
      const std::vector<std::string_view> parts = Split(value, ',');
      const int64_t kMaxSample = std::numeric_limits<int64_t>::max();
      const std::optional<int64_t> c1 =
          parts.size() == 2 ? ParseCount(parts[0], kMaxSample) : std::nullopt;
      const std::optional<int64_t> c2 =
          parts.size() == 2 ? ParseCount(parts[1], kMaxSample) : std::nullopt;
      if (!c1 || !c2) {
        return Refuse(bad);
      }
      o.has_cursors = true;
      o.cursor1_sample = *c1;
      o.cursor2_sample = *c2;
    } else if (argument == "--png") {
      if (value.empty()) {
        return Refuse(bad);
      }
      o.png_path = value;
    } else if (argument == "--size") {
      image_option = true;
      const size_t x = value.find_first_of("xX");
      const std::optional<int64_t> width =
          x == std::string::npos ? std::nullopt
                                 : ParseCount(std::string_view(value).substr(0, x), kMaxImageSide);
      const std::optional<int64_t> height =
          x == std::string::npos ? std::nullopt
                                 : ParseCount(std::string_view(value).substr(x + 1), kMaxImageSide);
      if (!width || !height || *width == 0 || *height == 0) {
        return Refuse(bad);
      }
      o.width_px = static_cast<int32_t>(*width);
      o.height_px = static_cast<int32_t>(*height);
    } else if (argument == "--items") {
      image_option = true;
      o.items.clear();
      for (const std::string_view part : Split(value, ',')) {
        const std::optional<int64_t> item = ParseCount(part, kMaxItems);
        if (!item || *item == 0) {
          return Refuse(bad);
        }
        o.items.push_back(static_cast<int>(*item));
      }
    } else if (argument == "--magnification") {
      image_option = true;
      const std::optional<int64_t> m = ParseCount(value, 100);
      if (!m ||
          std::find(kMagnifications.begin(), kMagnifications.end(), *m) == kMagnifications.end()) {
        return Refuse(bad);
      }
      o.magnification = static_cast<int32_t>(*m);
    } else {  // --scroll
      image_option = true;
      const std::optional<int64_t> p = ParseCount(value, std::numeric_limits<int64_t>::max());
      if (!p) {
        return Refuse(bad);
      }
      o.scroll = *p;
    }
  }
  if (o.help || o.version) {
    result.ok = true;
    return result;
  }
  if (image_option && o.png_path.empty()) {
    return Refuse("--size, --items, --magnification and --scroll need --png");
  }
  if (o.trips && (o.has_cursors || !o.png_path.empty())) {
    return Refuse("--trips takes neither --cursors nor --png");
  }
  if (o.logs.empty()) {
    return Refuse("no log file given");
  }
  if (!o.trips && o.logs.size() > 1) {
    return Refuse("more than one log file given");
  }
  result.ok = true;
  return result;
}

int ReportSettings(const std::string& ini_path, Settings& settings, std::string& error) {
  if (ini_path.empty()) {
    settings = Settings{};
    return 0;
  }
  std::error_code status_error;
  const std::filesystem::file_status status = std::filesystem::status(ini_path, status_error);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    error = "the settings file " + ini_path + " is not a regular file";
    return 1;
  }
  const std::optional<IniFile> file = IniFile::Load(ini_path);
  if (!file) {
    std::error_code size_error;
    const bool too_large = std::filesystem::file_size(ini_path, size_error) > kMaxIniFileBytes;
    error = "cannot read the settings file " + ini_path +
            (too_large && !size_error ? " (larger than 1 MiB)" : "");
    return 2;
  }
  settings = ReadSettings(*file, kReportScreen);
  return 0;
}

ReportOutput RunReport(const ReportOptions& options) {
  ReportOutput output;
  Settings& settings = output.settings;
  std::string settings_error;
  if (const int status = ReportSettings(options.ini_path, settings, settings_error); status != 0) {
    output.exit_code = status;
    output.err = "dravik-report: " + settings_error + "\r\n";
    return output;
  }
  LogTable& table = output.table;
  if (options.trips) {
    std::vector<TripsTableLog> logs;
    bool any_loaded = false;
    for (const std::string& path : options.logs) {
      TripsTableLog log;
      log.file_name = FileNameOf(path);
      const LoadError error = OpenLog(path, settings, table);
      log.loaded = error.kind == LoadFailure::kNone;
      if (log.loaded) {
        log.trip = ComputeTripSummary(table, FuelParamsOf(settings), 0, table.last_sample);
        log.has_speed = table.has_speed;
        log.has_economy = table.has_economy;
        any_loaded = true;
      } else {
        log.failure_message = LoadFailureMessage(error);
        output.err +=
            "dravik-report: " + EscapedName(path) + ": " + FirstLine(log.failure_message) + "\r\n";
      }
      logs.push_back(std::move(log));
    }
    output.out = TripsTableText(logs);
    output.exit_code = any_loaded ? 0 : 1;
    return output;
  }

  const LoadError error = OpenLog(options.logs.front(), settings, table);
  if (error.kind != LoadFailure::kNone) {
    output.err = LoadFailureMessage(error) + "\r\n";
    output.exit_code = 1;
    return output;
  }
  const TripSummary trip = ComputeTripSummary(table, FuelParamsOf(settings), 0, table.last_sample);
  output.out = TripListClipboardText(TripListRows(trip, table.has_speed, table.has_economy));
  if (options.has_cursors) {
    output.out +=
        CursorReadoutText(table, settings, options.cursor1_sample, options.cursor2_sample);
  }
  return output;
}

}  // namespace dravik
