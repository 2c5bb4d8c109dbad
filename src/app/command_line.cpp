#include "app/command_line.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace dravik {
namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string JoinWithBlanks(const std::vector<std::string>& parts) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) {
      text.push_back(' ');
    }
    text += parts[i];
  }
  return text;
}

// Removes every "/d" in one pass from left to right, in any letter case; true when one was found.
bool RemoveSwitchText(std::string& text) {
  std::string rest;
  bool found = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '/' && i + 1 < text.size() && LowerAscii(text[i + 1]) == 'd') {
      found = true;
      ++i;
    } else {
      rest.push_back(text[i]);
    }
  }
  text = rest;
  return found;
}

std::string TrimSpaces(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    return "";
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::vector<std::string> ListOrdinaryFiles(const std::string& directory) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator it(directory.empty() ? fs::path(".") : fs::path(directory), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::string name = it->path().filename().string();
    std::error_code type_error;
    if (!name.empty() && name.front() != '.' && it->is_regular_file(type_error)) {
      names.push_back(std::move(name));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

TerminalRequest FindTerminalRequest(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--version") {
      return {TerminalAction::kVersion, argument};
    }
    if (argument == "--help" || argument == "-h") {
      return {TerminalAction::kHelp, argument};
    }
    if (argument.size() > 1 && argument.front() == '-') {
      return {TerminalAction::kUnknownOption, argument};
    }
  }
  return {};
}

LanguageOption TakeLanguageOption(std::vector<std::string>& arguments) {
  LanguageOption option;
  std::vector<std::string> rest;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string value;
    if (argument == "--lang") {
      if (i + 1 == arguments.size()) {
        option.error = "--lang needs a value (ja or en)";
        break;
      }
      value = arguments[++i];
    } else if (argument.starts_with("--lang=")) {
      value = argument.substr(7);
    } else {
      rest.push_back(argument);
      continue;
    }
    const std::optional<Language> language = LanguageOptionValue(value);
    if (!language) {
      option.error = "bad value for --lang: " + value + " (ja or en)";
      break;
    }
    option.given = true;
    option.language = *language;
  }
  arguments = std::move(rest);
  return option;
}

const char kDravikUsage[] =
    "usage: dravik [/d] [--lang ja|en] [LOG.csv]\n"
    "  LOG.csv    the log to open; \"*\" and \"?\" in its name pick the first matching file\n"
    "  /d         also offer the older, coarser scale rounding in the settings dialog\n"
    "  --lang ja|en  the language of the windows for this run (Japanese or English)\n"
    "  --version  print the version and exit\n"
    "  --help     print this text and exit\n"
    "The settings are kept in dravik.ini beside the program or in $XDG_CONFIG_HOME/dravik/.\n";

std::string DirectoryPart(const std::string& path, PathStyle style) {
  const size_t separator = path.find_last_of(style == PathStyle::kWindows ? "\\/" : "/");
  return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

std::string StripQuotes(const std::string& path) {
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    return path.substr(1, path.size() - 2);
  }
  return path;
}

bool MatchesWildcard(const std::string& name, const std::string& pattern, bool ignore_case) {
  const auto same = [ignore_case](char a, char b) {
    return ignore_case ? LowerAscii(a) == LowerAscii(b) : a == b;
  };
  // Greedy matching with backtracking to the last "*": linear in practice, never exponential.
  size_t n = 0;
  size_t p = 0;
  size_t star = std::string::npos;
  size_t star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_n = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++star_n;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

CommandLine ProcessCommandLine(const std::vector<std::string>& arguments,
                               const DirectoryLister& list_files, PathStyle style) {
  CommandLine result;
  std::string text;
  if (style == PathStyle::kUnix) {
    std::vector<std::string> rest;
    for (const std::string& argument : arguments) {
      if (argument == "/d" || argument == "/D") {
        result.show_scale_mode_option = true;
      } else {
        rest.push_back(argument);
      }
    }
    text = JoinWithBlanks(rest);
  } else {
    text = JoinWithBlanks(arguments);
    if (RemoveSwitchText(text)) {
      result.show_scale_mode_option = true;
      text = TrimSpaces(text);
    }
  }
  if (text.empty()) {
    return result;
  }
  const std::string path = StripQuotes(text);
  if (path.empty()) {
    return result;  // nothing but a pair of quotes
  }
  result.names_file = true;
  const std::string directory = DirectoryPart(path, style);
  const std::string pattern = path.substr(directory.size());
  const std::vector<std::string> names =
      pattern.empty() ? std::vector<std::string>{} : list_files(directory);
  const bool exact_case_first = style == PathStyle::kUnix;
  for (const bool ignore_case : {!exact_case_first, true}) {
    const auto match = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
      return MatchesWildcard(name, pattern, ignore_case);
    });
    if (match != names.end()) {
      result.path = directory + *match;
      return result;
    }
  }
  result.path = directory;
  return result;
}

}  // namespace dravik
