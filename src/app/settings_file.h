#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "common/file_io.h"
#include "common/settings.h"

namespace dravik {

// The directory part of `executable_path` with exactly one trailing path separator ("/" on Unix;
// "\" or "/" on Windows), or "" when the path has no directory part.
std::string AppDirectory(const std::string& executable_path);

// The executable's file name without its extension ("/opt/dravik/bin/dravik" -> "dravik").
std::string ExecutableBaseName(const std::string& executable_path);

// Where the settings live: beside the executable (AppDirectory + base name + ".ini") when
// `beside_executable`; otherwise, for an installed program, in the user's configuration
// directory: `xdg_config_home` + "/dravik/" when it is an absolute path, else `home` +
// "/.config/dravik/", with the same file name. With neither available the path beside the
// executable is kept (saving there then fails and says so).
std::string ChooseSettingsFilePath(const std::string& executable_path, bool beside_executable,
                                   const std::string& xdg_config_home, const std::string& home);

// ChooseSettingsFilePath with the real file system and environment (XDG_CONFIG_HOME, HOME): the
// settings stay beside an executable whose directory can be written, unless the program is
// installed (its data lies in ../share/dravik), whatever user runs it.
std::string SettingsFilePath(const std::string& executable_path);

// Six characters RRGGBB, upper-case hex, from the low 24 bits of `colour`.
std::string ColorToHex(Rgb colour);

// The colour of a settings-file colour text RRGGBB: the last two characters (blue), characters
// 3-4 (green) and the first two (red), hex digits of either case, read as one hexadecimal number.
// A text of another length is taken by the same positions ("1234" -> blue 34, green 34, red 12).
// nullopt for an empty text or a non-hex character among those taken.
std::optional<Rgb> HexToColor(std::string_view text);

// Screen size in twips, against which the window positions are checked.
struct ScreenSize {
  int32_t width_twips = 0;
  int32_t height_twips = 0;
};

// The reading pass over a parsed settings file: numbers are the leading decimal number of the
// value (0 when there is none), integers rounded half to even and clamped to 32 bits; positions
// below 0 or beyond the screen reset to 0 (the screen size itself is kept); sizes raised to their
// minimums (10875 x 7500 main window, 7935 x 1500 numeric display); fuel parameters and switches
// unchecked; a flow or latency beyond the single range reads as 0. A missing or malformed colour
// takes the default table's entry (black beyond item 16).
Settings ReadSettings(const IniFile& file, ScreenSize screen);

// The whole settings file for `settings` (main window geometry from xpos..ysize): "[Setting]"
// keys, an empty line, "[Color]" with 128 "Item_color<n>=RRGGBB" lines; every line ends in CR LF;
// geometry and fuel floats in the general number form; "[CheckedItems]" with the checked items.
// The text never grows beyond kMaxIniFileBytes: checked items that would take it there are left
// out, and fuel item names that would (only names of hundreds of KiB) are written empty.
std::string SettingsFileText(const Settings& settings);

// Rewrites the settings file at `path` from `settings` (SettingsFileText, atomically).
FileWriteResult SaveSettings(const std::string& path, const Settings& settings);

// The start-up read of the settings file at `path`.
struct StartUpSettings {
  Settings settings;
  bool created = false;           // the file was missing and has been written
  FileWriteResult created_write;  // the outcome of that write, when `created`
  bool unreadable = false;  // something is at `path` that could not be read: first-start values
  bool read_only = false;   // the file has no write permission: the user keeps it as it is
};

// Removes what a save cut short left beside `path`, then reads it. First start when nothing is
// at `path`: the values of the file at `seed_path` (when given, other than `path` and readable;
// else the first-start record) are written there and, whether or not that succeeded, read back
// through the reading pass, so a location that cannot be written still starts with them.
// Otherwise the file is read through the reading pass; what cannot be read (no permission, an
// I/O error, no regular file) gives the first-start values and `unreadable`, and is never to be
// overwritten.
StartUpSettings LoadSettings(const std::string& path, ScreenSize screen,
                             const std::string& seed_path = {});

}  // namespace dravik
