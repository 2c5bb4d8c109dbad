#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/core_text.h"

namespace dravik {

// Unix treats "/d" as a switch only when it is a whole argument, since "/d" also starts paths
// ("/data/log.csv"); Windows takes the whole command line as one text.
enum class PathStyle { kUnix, kWindows };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::kWindows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::kUnix;
#endif

// Names of the ordinary files (regular, not hidden) in a directory, "" meaning the current one;
// empty when the directory cannot be listed.
using DirectoryLister = std::function<std::vector<std::string>(const std::string& directory)>;

// The file system's listing: regular files (symbolic links followed) whose names do not start
// with "."; sorted by byte value so that "the first match" does not depend on the file system.
std::vector<std::string> ListOrdinaryFiles(const std::string& directory);

struct CommandLine {
  bool show_scale_mode_option = false;  // the "/d" switch was given
  bool names_file = false;  // text other than the switch was given, even if it matched no file
  std::string path;         // the file to load; empty when none is named or nothing matched
};

// What the program does when started from a terminal with an option: print its text and exit
// without opening a window.
enum class TerminalAction { kNone, kVersion, kHelp, kUnknownOption };
struct TerminalRequest {
  TerminalAction action = TerminalAction::kNone;
  std::string option;  // the argument that asked for it
};

// The first argument that is an option: "--version", "--help", "-h", or any other argument that
// begins with "-" ("-" alone names a file), which is an unknown option (printed with the usage on
// stderr, exit status 2). kNone when there is none.
TerminalRequest FindTerminalRequest(const std::vector<std::string>& arguments);

// The "--lang ja|en" option, taken out of the arguments.
struct LanguageOption {
  bool given = false;
  Language language = Language::kJapanese;
  std::string error;  // a missing or unknown value; empty when fine
};
// Removes every "--lang VALUE" and "--lang=VALUE" from `arguments` and returns the language of the
// last one; "ja" and "en" are the values.
LanguageOption TakeLanguageOption(std::vector<std::string>& arguments);

// The --help text: the command line, one option a line, ending in a line end.
extern const char kDravikUsage[];

// The path up to and including its last separator ("/" for kUnix; "\" or "/" for kWindows), or "".
std::string DirectoryPart(const std::string& path, PathStyle style = kNativePathStyle);

// The text between the first and last character when both are '"' (at least two characters),
// otherwise the text unchanged.
std::string StripQuotes(const std::string& path);

// Whether `name` matches `pattern`, where "*" stands for any run of characters and "?" for one.
// `ignore_case` compares ASCII letters without regard to case.
bool MatchesWildcard(const std::string& name, const std::string& pattern, bool ignore_case);

// The command line, `arguments` being the arguments after the program name.
// 1. The switch: kUnix takes every argument that is exactly "/d" or "/D" as the switch and joins
//    the others with one blank; kWindows joins all arguments with one blank, removes every "/d"
//    in any letter case from the text and trims blanks from both ends when one was found.
// 2. Empty text: no file. Otherwise StripQuotes, then the file-name part is replaced by the first
//    ordinary file of DirectoryPart's directory that matches it ("*" and "?" allowed), keeping
//    DirectoryPart in front; when none matches only DirectoryPart is left. kUnix prefers a match
//    of the exact letter case and accepts a case-insensitive one only when there is none;
//    kWindows compares without regard to case.
CommandLine ProcessCommandLine(const std::vector<std::string>& arguments,
                               const DirectoryLister& list_files = ListOrdinaryFiles,
                               PathStyle style = kNativePathStyle);

}  // namespace dravik
