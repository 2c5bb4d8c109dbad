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
#include "chart/sample_selection.h"
#include "chart/scaling.h"
#include "chart/twips.h"
#include "common/core_text.h"
#include "common/path.h"
#include "common/settings.h"
#include "log/formula_eval.h"
#include "log/fuel_trip.h"
#include "log/load_error.h"
#include "log/log_table.h"
#include "log/reference_log.h"
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

// --table on the log loaded into output.table.
void TableReport(const ReportOptions& options, ReportOutput& output) {
  const LogTable& table = output.table;
  for (const int item : {options.table_x_item, options.table_y_item, options.table_value_item}) {
    if (item > table.item_count) {
      output.exit_code = 2;
      output.err = "dravik-report: --table: item " + std::to_string(item) + " beyond the log's " +
                   std::to_string(table.item_count) + " items\r\n";
      return;
    }
  }
  BinTableRequest request;
  request.x_item = options.table_x_item;
  request.y_item = options.table_y_item;
  request.value_item = options.table_value_item;
  request.x_edges = options.bins_x;
  request.y_edges = options.bins_y;
  request.statistic = options.statistic;
  request.selection =
      options.has_cursors
          ? SelectionWithin(std::min(options.cursor1_sample, options.cursor2_sample),
                            std::max(options.cursor1_sample, options.cursor2_sample),
                            table.last_sample)
          : WholeRange(0, table.last_sample);
  const BinTableResult result = ComputeBinTable(table, request);
  if (result.problem != AnalysisProblem::kNone) {
    output.exit_code = 1;
    output.err = "dravik-report: " + AnalysisProblemMessage(result.problem) + "\r\n";
    return;
  }
  output.out = BinTableText(result.table);
}

// Which options that only go with another one were given.
struct DependentOptions {
  bool image = false;   // --size, --items, --magnification, --scroll: need --png
  bool table = false;   // --bins-x, --bins-y, --stat: need --table
  bool offset = false;  // --offset: needs --compare
};

// Item numbers separated by commas, 1 up to the last a log can have with its computed items.
std::optional<std::vector<int>> ParseItemList(std::string_view value) {
  std::vector<int> items;
  for (const std::string_view part : Split(value, ',')) {
    const std::optional<int64_t> item = ParseCount(part, kMaxItems + kMaxFormulas);
    if (!item || *item == 0) {
      return std::nullopt;
    }
    items.push_back(static_cast<int>(*item));
  }
  return items;
}

// Reads the value of a chart picture option (--png, --size, --items, --magnification, --scroll)
// into `o`; the error says what is wrong with it.
std::optional<std::string> ReadImageOption(const std::string& argument, const std::string& value,
                                           ReportOptions& o, DependentOptions& dependent) {
  const std::string bad = "bad value for " + argument + ": " + value;
  if (argument == "--png") {
    if (value.empty()) {
      return bad;
    }
    o.png_path = value;
    return std::nullopt;
  }
  dependent.image = true;
  if (argument == "--size") {
    const size_t x = value.find_first_of("xX");
    const std::optional<int64_t> width =
        x == std::string::npos ? std::nullopt
                               : ParseCount(std::string_view(value).substr(0, x), kMaxImageSide);
    const std::optional<int64_t> height =
        x == std::string::npos ? std::nullopt
                               : ParseCount(std::string_view(value).substr(x + 1), kMaxImageSide);
    if (!width || !height || *width == 0 || *height == 0) {
      return bad;
    }
    o.width_px = static_cast<int32_t>(*width);
    o.height_px = static_cast<int32_t>(*height);
  } else if (argument == "--items") {
    const std::optional<std::vector<int>> items = ParseItemList(value);
    if (!items) {
      return bad;
    }
    o.items = *items;
  } else if (argument == "--magnification") {
    const std::optional<int64_t> m = ParseCount(value, 100);
    if (!m ||
        std::find(kMagnifications.begin(), kMagnifications.end(), *m) == kMagnifications.end()) {
      return bad;
    }
    o.magnification = static_cast<int32_t>(*m);
  } else {  // --scroll
    const std::optional<int64_t> p = ParseCount(value, std::numeric_limits<int64_t>::max());
    if (!p) {
      return bad;
    }
    o.scroll = *p;
  }
  return std::nullopt;
}

// Reads the value of a table option (--table, --bins-x, --bins-y, --stat) into `o`.
std::optional<std::string> ReadTableOption(const std::string& argument, const std::string& value,
                                           ReportOptions& o, DependentOptions& dependent) {
  const std::string bad = "bad value for " + argument + ": " + value;
  if (argument == "--table") {
    const std::optional<std::vector<int>> items = ParseItemList(value);
    if (!items || items->size() < 2 || items->size() > 3) {
      return bad;
    }
    o.table = true;
    o.table_x_item = (*items)[0];
    o.table_y_item = (*items)[1];
    o.table_value_item = items->size() == 3 ? (*items)[2] : -1;
    return std::nullopt;
  }
  dependent.table = true;
  if (argument == "--stat") {
    static constexpr std::string_view kStatistics[] = {"mean", "count", "min", "max"};
    const auto* found = std::find(std::begin(kStatistics), std::end(kStatistics), value);
    if (found == std::end(kStatistics)) {
      return bad;
    }
    o.statistic = static_cast<CellStatistic>(found - std::begin(kStatistics));
    return std::nullopt;
  }
  const BinEdgesInput edges = ParseBinEdges(value);  // --bins-x, --bins-y
  if (!edges.ok || edges.automatic) {
    return bad + (edges.message.empty() ? "" : " (" + edges.message + ")");
  }
  (argument == "--bins-x" ? o.bins_x : o.bins_y) = edges.edges;
  return std::nullopt;
}

// Reads the value of an option that takes one into `o`; the error says what is wrong with it.
std::optional<std::string> ReadOptionValue(const std::string& argument, const std::string& value,
                                           ReportOptions& o, DependentOptions& dependent) {
  if (argument == "--ini") {
    o.ini_path = value;
    return std::nullopt;
  }
  if (argument == "--formula") {
    // The first "=" ends the name: an expression may compare with "==".
    const size_t equals = value.find('=');
    if (equals == std::string::npos) {
      return "bad value for " + argument + ": " + value;
    }
    o.formulas.push_back({value.substr(0, equals), value.substr(equals + 1)});
    return std::nullopt;
  }
  if (argument == "--compare") {
    if (value.empty()) {
      return "bad value for " + argument + ": " + value;
    }
    o.reference_path = value;
    return std::nullopt;
  }
  if (argument == "--offset") {
    const std::optional<double> offset = ParseReferenceOffset(value, false);
    if (!offset) {
      return "bad value for " + argument + ": " + value;
    }
    o.reference_offset_ms = *offset;
    dependent.offset = true;
    return std::nullopt;
  }
  if (argument == "--lang") {
    const std::optional<Language> language = LanguageOptionValue(value);
    if (!language) {
      return "bad value for " + argument + ": " + value + " (ja or en)";
    }
    o.language = *language;
    return std::nullopt;
  }
  if (argument == "--cursors") {
    const std::vector<std::string_view> parts = Split(value, ',');
    const int64_t kMaxSample = std::numeric_limits<int64_t>::max();
    const std::optional<int64_t> c1 =
        parts.size() == 2 ? ParseCount(parts[0], kMaxSample) : std::nullopt;
    const std::optional<int64_t> c2 =
        parts.size() == 2 ? ParseCount(parts[1], kMaxSample) : std::nullopt;
    if (!c1 || !c2) {
      return "bad value for " + argument + ": " + value;
    }
    o.has_cursors = true;
    o.cursor1_sample = *c1;
    o.cursor2_sample = *c2;
    return std::nullopt;
  }
  if (argument == "--table" || argument == "--bins-x" || argument == "--bins-y" ||
      argument == "--stat") {
    return ReadTableOption(argument, value, o, dependent);
  }
  return ReadImageOption(argument, value, o, dependent);
}

// Options that cannot go together, or log files too few or too many for what was asked.
std::optional<std::string> CheckCombination(const ReportOptions& o,
                                            const DependentOptions& dependent) {
  if (dependent.image && o.png_path.empty()) {
    return "--size, --items, --magnification and --scroll need --png";
  }
  if (o.trips && (o.has_cursors || !o.png_path.empty())) {
    return "--trips takes neither --cursors nor --png";
  }
  if (dependent.table && !o.table) {
    return "--bins-x, --bins-y and --stat need --table";
  }
  if (o.table && (o.trips || !o.png_path.empty())) {
    return "--table takes neither --trips nor --png";
  }
  if (dependent.offset && o.reference_path.empty()) {
    return "--offset needs --compare";
  }
  if (!o.reference_path.empty() && (o.trips || o.table || !o.png_path.empty())) {
    return "--compare takes neither --trips, --table nor --png";
  }
  if (o.logs.empty()) {
    return "no log file given";
  }
  if (!o.trips && o.logs.size() > 1) {
    return "more than one log file given";
  }
  return std::nullopt;
}

}  // namespace

const char kReportUsage[] =
    "usage: dravik-report [--ini SETTINGS.ini] [--lang ja|en] [--formula NAME=EXPR]...\n"
    "                     [--cursors C1,C2]\n"
    "                     [--png OUT.png [--size WxH] [--items N,...] [--magnification M]\n"
    "                     [--scroll P]] LOG.csv\n"
    "       dravik-report [--ini SETTINGS.ini] [--formula NAME=EXPR]... --compare REF.csv\n"
    "                     [--offset MS] [--cursors C1,C2] LOG.csv\n"
    "       dravik-report [--ini SETTINGS.ini] [--formula NAME=EXPR]... --trips LOG...\n"
    "       dravik-report [--ini SETTINGS.ini] [--formula NAME=EXPR]... --table X,Y[,Z]\n"
    "                     [--bins-x EDGES] [--bins-y EDGES] [--stat mean|count|min|max]\n"
    "                     [--cursors C1,C2] LOG.csv\n"
    "  LOG.csv              print the trip figures of this log\n"
    "  --ini SETTINGS.ini   read the fuel parameters, fuel items and switches from this file\n"
    "  --lang ja|en         the language of the texts printed (default ja, whatever the\n"
    "                       settings file says)\n"
    "  --formula NAME=EXPR  add a computed item for this run, after the settings' own\n"
    "                       (repeatable, in list order; the first = ends the name)\n"
    "  --cursors C1,C2      also print the numeric display with the cursors on these samples\n"
    "  --png OUT.png        draw the chart into this picture; with --size (default 1000x600),\n"
    "                       --items (default every item a scale is drawn for), --magnification\n"
    "                       and --scroll\n"
    "  --compare REF.csv    add the figures of this reference log, as the window shows\n"
    "                       them with REF.csv open as its reference log\n"
    "  --offset MS          the reference's offset in ms (default 0: first samples aligned)\n"
    "  --trips LOG...       print the trip table of every log and their totals\n"
    "  --table X,Y[,Z]      print the table of item Z (or the sample count) over bins\n"
    "                       of items X and Y, as the scatter/table window copies it;\n"
    "                       with --bins-x and --bins-y (edges N,N,...; default 16\n"
    "                       equal bins), --stat (default mean) and --cursors\n"
    "  --version            print the version and exit\n"
    "  --help               print this text and exit\n";

ReportArguments ParseReportArguments(const std::vector<std::string>& arguments) {
  ReportArguments result;
  ReportOptions& o = result.options;
  DependentOptions dependent;
  bool options_ended = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_ended || argument.empty() || argument.front() != '-' || argument == "-") {
      o.logs.push_back(argument);
    } else if (argument == "--") {
      options_ended = true;
    } else if (argument == "-h" || argument == "--help") {
      o.help = true;
    } else if (argument == "--version") {
      o.version = true;
    } else if (argument == "--trips") {
      o.trips = true;
    } else {
      static constexpr std::string_view kWithValue[] = {
          "--ini",    "--lang",          "--formula", "--cursors", "--png",
          "--size",   "--magnification", "--items",   "--scroll",  "--table",
          "--bins-x", "--bins-y",        "--stat",    "--compare", "--offset"};
      if (std::find(std::begin(kWithValue), std::end(kWithValue), argument) ==
          std::end(kWithValue)) {
        return Refuse("unknown option " + argument);
      }
      if (i + 1 == arguments.size()) {
        return Refuse(argument + " needs a value");
      }
      if (auto error = ReadOptionValue(argument, arguments[++i], o, dependent)) {
        return Refuse(std::move(*error));
      }
    }
  }
  if (!o.help && !o.version) {
    if (auto error = CheckCombination(o, dependent)) {
      return Refuse(std::move(*error));
    }
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
  const size_t own_formulas = settings.formulas.size();
  settings.formulas.insert(settings.formulas.end(), options.formulas.begin(),
                           options.formulas.end());
  // What the dialog's check would say, before any log is read: the items a log has are not known
  // yet, so only the expression, its order in the list and its name are checked here.
  const ComputedPlan plan = PlanComputedItems({}, settings.formulas, false);
  for (size_t k = own_formulas; k < plan.formulas.size(); ++k) {
    if (!plan.formulas[k].reason.empty()) {
      output.exit_code = 2;
      output.err += "dravik-report: --formula " + settings.formulas[k].name + ": " +
                    plan.formulas[k].reason + "\r\n";
    }
  }
  if (output.exit_code != 0) {
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
  for (size_t k = own_formulas; k < table.formula_outcomes.size(); ++k) {
    if (!table.formula_outcomes[k].reason.empty()) {
      output.err += "dravik-report: --formula " + settings.formulas[k].name + ": " +
                    CoreText::Tr("このログでは使えません: ") + table.formula_outcomes[k].reason +
                    "\r\n";
    }
  }
  if (options.table) {
    TableReport(options, output);
    return output;
  }
  const FuelParams fuel = FuelParamsOf(settings);
  const TripSummary trip = ComputeTripSummary(table, fuel, 0, table.last_sample);
  if (options.reference_path.empty()) {
    output.out = TripListClipboardText(TripListRows(trip, table.has_speed, table.has_economy));
    if (options.has_cursors) {
      output.out +=
          CursorReadoutText(table, settings, options.cursor1_sample, options.cursor2_sample);
    }
    return output;
  }
  ReferenceLog reference;
  const LoadError reference_error = OpenLog(options.reference_path, settings, reference.table);
  if (reference_error.kind != LoadFailure::kNone) {
    output.err = LoadFailureMessage(reference_error) + "\r\n";
    output.exit_code = 1;
    return output;
  }
  reference.items = MatchReferenceItems(table, reference.table);
  if (!SharesItems(reference.items)) {
    output.err = NoSharedItemsMessage() + "\r\n";
    output.exit_code = 1;
    return output;
  }
  reference.offset_ms = options.reference_offset_ms;
  const LogTable& other = reference.table;
  const ReferenceTrip reference_trip{ComputeTripSummary(other, fuel, 0, other.last_sample),
                                     other.has_speed, other.has_economy};
  output.out = TripListClipboardText(
      TripListRows(trip, table.has_speed, table.has_economy, &reference_trip), true);
  if (options.has_cursors) {
    output.out += CursorReadoutText(table, settings, options.cursor1_sample, options.cursor2_sample,
                                    &reference);
  }
  return output;
}

}  // namespace dravik
