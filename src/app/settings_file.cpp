#include "app/settings_file.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <system_error>
#include <unistd.h>

#include "app/decimal_text.h"
#include "common/file_io.h"
#include "common/number_format.h"
#include "common/path.h"
#include "common/rounding.h"
#include "panel/checked_items.h"

namespace dravik {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kMinXsize = 10875;
constexpr int32_t kMinYsize = 7500;
constexpr std::string_view kCheckedItemsSection = "CheckedItems";
// More than every key of the file but the item names takes, however large its numbers.
constexpr size_t kFixedKeysBytes = 8192;
constexpr std::string_view kAnalysisSection = "Analysis";
constexpr std::string_view kFormulasSection = "Formulas";
// A bound on the formulas read, against a hand-edited count; far more than can be used.
constexpr int32_t kMaxFormulasRead = 1024;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

int32_t ReadInteger(const IniFile& file, std::string_view key,
                    std::string_view section = "Setting") {
  return RoundToInt32(LeadingNumber(file.ReadIniValue(section, key)));
}

// A value beyond the single range would make every fuel figure infinite; it reads as a value
// that is not a number does.
float ReadFloat(const IniFile& file, std::string_view key) {
  const float value = static_cast<float>(LeadingNumber(file.ReadIniValue("Setting", key)));
  return std::isfinite(value) ? value : 0.0f;
}

int32_t OnScreen(int32_t position, int32_t screen_extent) {
  return position < 0 || position > screen_extent ? 0 : position;
}

// The scatter plot and table window's choices, from their own section.
AnalysisChoices ReadAnalysisChoices(const IniFile& file, ScreenSize screen) {
  const auto text = [&file](std::string_view key) {
    return file.ReadIniValue(kAnalysisSection, key);
  };
  const auto integer = [&file](std::string_view key) {
    return ReadInteger(file, key, kAnalysisSection);
  };
  AnalysisChoices a;
  a.x_item = text("XItem");
  a.y_item = text("YItem");
  a.colour_item = text("ColourItem");
  a.range = integer("Range") == 1 ? 1 : 0;
  a.filter_item = text("FilterItem");
  a.filter_min = text("FilterMin");
  a.filter_max = text("FilterMax");
  a.bins_x = text("BinsX");
  a.bins_y = text("BinsY");
  const int32_t statistic = integer("Statistic");
  a.statistic = statistic >= 0 && statistic <= 3 ? statistic : 0;
  // A missing key keeps the default of 1, so that a cell with one sample shows.
  a.min_count = text("MinCount").empty() ? 1 : std::max(integer("MinCount"), 1);
  a.xpos = OnScreen(integer("Xpos"), screen.width_twips);
  a.ypos = OnScreen(integer("Ypos"), screen.height_twips);
  a.xsize = std::max(integer("Xsize"), 0);
  a.ysize = std::max(integer("Ysize"), 0);
  return a;
}

// A value that any printable text survives: backslash, line ends and tabs escaped, and in double
// quotes when it begins or ends with a blank or a quote, which the reader would otherwise take off.
std::string EscapeValue(std::string_view value) {
  std::string text;
  for (const char c : value) {
    switch (c) {
      case '\\':
        text += "\\\\";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\r':
        text += "\\r";
        break;
      case '\t':
        text += "\\t";
        break;
      default:
        text += c;
    }
  }
  const auto needs_quotes = [](char c) { return c == ' ' || c == '"'; };
  if (!text.empty() && (needs_quotes(text.front()) || needs_quotes(text.back()))) {
    text = '"' + text + '"';
  }
  return text;
}

std::string UnescapeValue(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  std::string value;
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const char escaped = next == '\\'  ? '\\'
                         : next == 'n' ? '\n'
                         : next == 'r' ? '\r'
                         : next == 't' ? '\t'
                                       : '\0';
    if (text[i] == '\\' && escaped != '\0') {
      value += escaped;
      ++i;
    } else {
      value += text[i];
    }
  }
  return value;
}

std::vector<Formula> ReadFormulas(const IniFile& file) {
  const int32_t count =
      std::clamp(ReadInteger(file, "Count", kFormulasSection), 0, kMaxFormulasRead);
  std::vector<Formula> formulas;
  for (int32_t n = 1; n <= count; ++n) {
    Formula formula{
        UnescapeValue(file.ReadIniValue(kFormulasSection, "Name" + std::to_string(n))),
        UnescapeValue(file.ReadIniValue(kFormulasSection, "Expression" + std::to_string(n)))};
    if (!formula.name.empty() || !formula.expression.empty()) {
      formulas.push_back(std::move(formula));
    }
  }
  return formulas;
}

}  // namespace

std::string AppDirectory(const std::string& executable_path) {
  return DirectoryOf(executable_path);
}

std::string ExecutableBaseName(const std::string& executable_path) {
  const std::string name = FileNameOf(executable_path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string ChooseSettingsFilePath(const std::string& executable_path, bool beside_executable,
                                   const std::string& xdg_config_home, const std::string& home) {
  const std::string file_name = ExecutableBaseName(executable_path) + ".ini";
  if (!beside_executable) {
    std::string base;
    if (!xdg_config_home.empty() && xdg_config_home.front() == '/') {
      base = xdg_config_home;
    } else if (!home.empty()) {
      base = home;
      if (base.back() != '/') {
        base.push_back('/');
      }
      base += ".config";
    }
    if (!base.empty()) {
      if (base.back() != '/') {
        base.push_back('/');
      }
      return base + "dravik/" + file_name;
    }
  }
  return AppDirectory(executable_path) + file_name;
}

std::string SettingsFilePath(const std::string& executable_path) {
  const std::string directory = AppDirectory(executable_path);
  const bool writable = ::access(directory.empty() ? "." : directory.c_str(), W_OK) == 0;
  std::error_code error;
  const bool installed = std::filesystem::is_directory(directory + "../share/dravik", error);
  const char* xdg_config_home = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  return ChooseSettingsFilePath(executable_path, writable && !installed,
                                xdg_config_home ? xdg_config_home : "", home ? home : "");
}

std::string ColorToHex(Rgb colour) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const int byte : {RedOf(colour), GreenOf(colour), BlueOf(colour)}) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0xF]);
  }
  return text;
}

std::optional<Rgb> HexToColor(std::string_view text) {
  if (text.empty()) {
    return std::nullopt;
  }
  const std::string_view blue = text.substr(text.size() < 2 ? 0 : text.size() - 2);
  const std::string_view green = text.size() > 2 ? text.substr(2, 2) : std::string_view();
  const std::string_view red = text.substr(0, 2);
  Rgb value = 0;
  for (const std::string_view part : {blue, green, red}) {
    for (const char c : part) {
      const int digit = HexDigit(c);
      if (digit < 0) {
        return std::nullopt;
      }
      value = value << 4 | static_cast<Rgb>(digit);
    }
  }
  return value;
}

Settings ReadSettings(const IniFile& file, ScreenSize screen) {
  Settings s;
  s.xpos = OnScreen(ReadInteger(file, "Xpos"), screen.width_twips);
  s.ypos = OnScreen(ReadInteger(file, "Ypos"), screen.height_twips);
  s.xsize = std::max(ReadInteger(file, "Xsize"), kMinXsize);
  s.ysize = std::max(ReadInteger(file, "Ysize"), kMinYsize);
  s.mv_xpos = OnScreen(ReadInteger(file, "MV_Xpos"), screen.width_twips);
  s.mv_ypos = OnScreen(ReadInteger(file, "MV_Ypos"), screen.height_twips);
  s.mv_xsize = std::max(ReadInteger(file, "MV_Xsize"), kMinMvXsize);
  s.mv_ysize = std::max(ReadInteger(file, "MV_Ysize"), kMinMvYsize);
  s.time_unit_sec = ReadInteger(file, "TimeUnitSec");
  s.section_time = ReadInteger(file, "SectionTime");
  s.graph_scale_mode = ReadInteger(file, "GraphScaleMode");
  s.always_tooltip = ReadInteger(file, "AlwaysToolTip");
  s.injector_flow_scaling = ReadFloat(file, "InjectorFlowScaling");
  s.injector_latency = ReadFloat(file, "InjectorLatency");
  s.cylinder = ReadInteger(file, "Cylinder");
  s.fuel_items.speed = file.ReadIniValue("Setting", "SpeedItem");
  s.fuel_items.speed_unit = ReadInteger(file, "SpeedUnit");
  s.fuel_items.engine_speed = file.ReadIniValue("Setting", "EngineSpeedItem");
  s.fuel_items.pulse_width = file.ReadIniValue("Setting", "PulseWidthItem");
  s.language = ParseLanguage(file.ReadIniValue("Setting", "Language"));
  const ItemColors defaults = DefaultItemColors();
  for (int n = 1; n <= kItemColourCount; ++n) {
    const std::optional<Rgb> colour =
        HexToColor(file.ReadIniValue("Color", "Item_color" + std::to_string(n)));
    s.item_colors[n - 1] = colour.value_or(defaults[n - 1]);
  }
  RenewFirstGeneratedColours(s.item_colors);
  for (size_t n = 1; n <= kMaxRememberedItems; ++n) {
    std::string name = file.ReadIniValue(kCheckedItemsSection, "Item" + std::to_string(n));
    if (!name.empty()) {
      s.checked_items.push_back(std::move(name));
    }
  }
  s.analysis = ReadAnalysisChoices(file, screen);
  s.formulas = ReadFormulas(file);
  return s;
}

std::string SettingsFileText(const Settings& s) {
  std::string text;
  text.reserve(4096);
  const auto line = [&text](std::string_view key, const std::string& value) {
    text.append(key).append("=").append(value).append("\r\n");
  };
  const auto general = [](int32_t value) { return FormatGeneral(static_cast<float>(value)); };
  text.append("[Setting]\r\n");
  line("Xpos", general(s.xpos));
  line("Ypos", general(s.ypos));
  line("Xsize", general(s.xsize));
  line("Ysize", general(s.ysize));
  line("MV_Xpos", std::to_string(s.mv_xpos));
  line("MV_Ypos", std::to_string(s.mv_ypos));
  line("MV_Xsize", std::to_string(s.mv_xsize));
  line("MV_Ysize", std::to_string(s.mv_ysize));
  line("TimeUnitSec", std::to_string(s.time_unit_sec));
  line("SectionTime", std::to_string(s.section_time));
  line("GraphScaleMode", std::to_string(s.graph_scale_mode));
  line("AlwaysToolTip", std::to_string(s.always_tooltip));
  line("InjectorFlowScaling", FormatGeneral(s.injector_flow_scaling));
  line("InjectorLatency", FormatGeneral(s.injector_latency));
  line("Cylinder", std::to_string(s.cylinder));
  // A file beyond the size the reader takes could never be read again, so names that would make
  // it so are not kept: the fuel items fall back to the automatic choice (only names of hundreds
  // of KiB get there), and so are the checked items that would not fit.
  const size_t names_size = s.fuel_items.speed.size() + s.fuel_items.engine_speed.size() +
                            s.fuel_items.pulse_width.size();
  const bool keep_names = names_size <= kMaxIniFileBytes - kFixedKeysBytes;
  line("SpeedItem", keep_names ? s.fuel_items.speed : "");
  line("SpeedUnit", std::to_string(s.fuel_items.speed_unit));
  line("EngineSpeedItem", keep_names ? s.fuel_items.engine_speed : "");
  line("PulseWidthItem", keep_names ? s.fuel_items.pulse_width : "");
  line("Language", LanguageCode(s.language));
  text.append("\r\n[Color]\r\n");
  for (int n = 1; n <= kItemColourCount; ++n) {
    line("Item_color" + std::to_string(n), ColorToHex(s.item_colors[n - 1]));
  }
  // Before the sections that give way to the size limit; the formulas that would pass it (only
  // lists of hundreds of KiB get there) are not kept.
  if (!s.formulas.empty()) {
    std::string entries;
    size_t count = 0;
    for (const Formula& formula : s.formulas) {
      const std::string n = std::to_string(count + 1);
      const std::string entry = "Name" + n + "=" + EscapeValue(formula.name) + "\r\nExpression" +
                                n + "=" + EscapeValue(formula.expression) + "\r\n";
      if (text.size() + entries.size() + entry.size() > kMaxIniFileBytes - kFixedKeysBytes) {
        break;
      }
      entries += entry;
      ++count;
    }
    text.append("\r\n[").append(kFormulasSection).append("]\r\n");
    line("Count", std::to_string(count));
    text += entries;
  }
  // A section of its own, which older versions never read.
  size_t written = 0;
  for (const std::string& name : s.checked_items) {
    const std::string key = "Item" + std::to_string(written + 1);
    const size_t header = written == 0 ? kCheckedItemsSection.size() + 6 : 0;
    if (written == kMaxRememberedItems ||
        text.size() + header + key.size() + name.size() + 3 > kMaxIniFileBytes) {
      continue;
    }
    if (written == 0) {
      text.append("\r\n[").append(kCheckedItemsSection).append("]\r\n");
    }
    line(key, name);
    ++written;
  }
  // Written once the window has been used, so that files of those who never open it stay as
  // they were; left out where its names would make the file too large to be read back.
  const AnalysisChoices& a = s.analysis;
  if (a != AnalysisChoices{}) {
    std::string section;
    const auto entry = [&section](std::string_view key, const std::string& value) {
      section.append(key).append("=").append(value).append("\r\n");
    };
    section.append("\r\n[").append(kAnalysisSection).append("]\r\n");
    entry("XItem", a.x_item);
    entry("YItem", a.y_item);
    entry("ColourItem", a.colour_item);
    entry("Range", std::to_string(a.range));
    entry("FilterItem", a.filter_item);
    entry("FilterMin", a.filter_min);
    entry("FilterMax", a.filter_max);
    entry("BinsX", a.bins_x);
    entry("BinsY", a.bins_y);
    entry("Statistic", std::to_string(a.statistic));
    entry("MinCount", std::to_string(a.min_count));
    entry("Xpos", std::to_string(a.xpos));
    entry("Ypos", std::to_string(a.ypos));
    entry("Xsize", std::to_string(a.xsize));
    entry("Ysize", std::to_string(a.ysize));
    if (text.size() + section.size() <= kMaxIniFileBytes) {
      text += section;
    }
  }
  return text;
}

FileWriteResult SaveSettings(const std::string& path, const Settings& settings) {
  return WriteFileAtomically(path, SettingsFileText(settings));
}

StartUpSettings LoadSettings(const std::string& path, ScreenSize screen,
                             const std::string& seed_path) {
  RemoveLeftoverTemporaryFiles(path);
  StartUpSettings start;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) {
    // First start: the values of a settings file that could not be used where it lies (a
    // program folder that cannot be written) carry over; otherwise the defaults.
    std::optional<IniFile> seed;
    if (!seed_path.empty() && seed_path != path) {
      seed = IniFile::Load(seed_path);
    }
    const std::string text =
        seed ? SettingsFileText(ReadSettings(*seed, screen)) : SettingsFileText(Settings{});
    start.created = true;
    start.created_write = WriteFileAtomically(path, text);
    start.settings = ReadSettings(IniFile::Parse(text), screen);
    return start;
  }
  std::optional<IniFile> file;
  if (fs::is_regular_file(status)) {
    file = IniFile::Load(path);
  }
  if (!file) {
    // What cannot be read is never overwritten: the user's values may still be in it.
    start.unreadable = true;
    file = IniFile::Parse(SettingsFileText(Settings{}));
  }
  start.read_only = (status.permissions() & (fs::perms::owner_write | fs::perms::group_write |
                                             fs::perms::others_write)) == fs::perms::none;
  start.settings = ReadSettings(*file, screen);
  return start;
}

}  // namespace dravik
