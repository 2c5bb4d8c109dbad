#include "log/fuel_items.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "log/log_header.h"

namespace dravik {
namespace {

constexpr std::string_view kSpeedKmh = "Vehicle Speed (km/h)";
constexpr std::string_view kSpeedKph = "Vehicle Speed (kph)";
constexpr std::string_view kEngineSpeed = "Engine Speed";
constexpr std::string_view kPulseWidth = "Fuel Injector #1 Pulse Width (ms)";

using Tokens = std::vector<std::string>;

bool ContainsNoCase(std::string_view text, std::string_view word) {
  const auto it = std::search(text.begin(), text.end(), word.begin(), word.end(),
                              [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
  return it != text.end();
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ContainsNoCase(a, b);
}

bool Has(const Tokens& tokens, std::string_view token) {
  return std::find(tokens.begin(), tokens.end(), token) != tokens.end();
}

// Whether `first` is directly followed by `second` somewhere in the tokens.
bool HasPair(const Tokens& tokens, std::string_view first, std::string_view second) {
  for (size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i] == first && tokens[i + 1] == second) {
      return true;
    }
  }
  return false;
}

// "RPM" and "Engine RPM", also with the unit that the readers of logs with units append.
bool FitsEngineSpeed(const Tokens& t) {
  return t == Tokens{"rpm"} || t == Tokens{"engine", "rpm"} || t == Tokens{"rpm", "rpm"} ||
         t == Tokens{"engine", "rpm", "rpm"};
}

bool FitsPulseWidth(const Tokens& t) {
  const bool injector = Has(t, "injector") || Has(t, "inj");
  return Has(t, "ms") &&
         (Has(t, "ipw") || (injector && (Has(t, "pw") || HasPair(t, "pulse", "width")))) &&
         !Has(t, "dc") && !Has(t, "duty");
}

bool FitsSpeed(const Tokens& t) {
  return (!t.empty() && (t.front() == "speed" || t.front() == "vss")) ||
         HasPair(t, "vehicle", "speed") || t == Tokens{"mph"} || t == Tokens{"kph"};
}

// The last item whose name holds one of `words`, the time column included; of items of the same
// name, the first.
int KnownItem(const std::vector<std::string>& names,
              std::initializer_list<std::string_view> words) {
  int found = -1;
  for (size_t i = 0; i < names.size(); ++i) {
    if (found >= 0 && names[i] == names[static_cast<size_t>(found)]) {
      continue;
    }
    if (std::any_of(words.begin(), words.end(),
                    [&](std::string_view word) { return ContainsNoCase(names[i], word); })) {
      found = static_cast<int>(i);
    }
  }
  return found;
}

// The first data item whose tokens fit.
int FittingItem(const std::vector<Tokens>& tokens, const std::function<bool(const Tokens&)>& fits) {
  for (size_t i = 1; i < tokens.size(); ++i) {
    if (fits(tokens[i])) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// The item by the user's choice, else by the known names, else by its tokens.
int FindItem(const std::vector<std::string>& names, const std::vector<Tokens>& tokens,
             std::string_view chosen, std::initializer_list<std::string_view> words,
             const std::function<bool(const Tokens&)>& fits) {
  int item = ChosenItem(names, chosen);
  if (item < 0) {
    item = KnownItem(names, words);
  }
  if (item < 0) {
    item = FittingItem(tokens, fits);
  }
  return item;
}

}  // namespace

bool SpeedNameSaysMph(std::string_view name) {
  return Has(NameTokens(name), "mph");
}

bool IsChosenItem(std::string_view name, std::string_view chosen) {
  chosen = TrimBlanks(chosen);
  return !chosen.empty() && EqualsNoCase(TrimBlanks(name), chosen);
}

int ChosenItem(const std::vector<std::string>& names, std::string_view chosen) {
  for (size_t i = 1; i < names.size(); ++i) {
    if (IsChosenItem(names[i], chosen)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

FuelItems FindFuelItems(const std::vector<std::string>& names, const FuelItemNames& choice) {
  std::vector<Tokens> tokens;
  tokens.reserve(names.size());
  for (const std::string& name : names) {
    tokens.push_back(NameTokens(name));
  }
  FuelItems items;
  items.speed = FindItem(names, tokens, choice.speed, {kSpeedKph, kSpeedKmh}, FitsSpeed);
  if (items.speed >= 0 && items.speed == ChosenItem(names, choice.speed)) {
    items.speed_mph = choice.speed_unit == 1;
  } else if (items.speed >= 0 && KnownItem(names, {kSpeedKph, kSpeedKmh}) < 0) {
    items.speed_mph = SpeedNameSaysMph(names[items.speed]);
  }
  items.engine_speed =
      FindItem(names, tokens, choice.engine_speed, {kEngineSpeed}, FitsEngineSpeed);
  items.pulse_width = FindItem(names, tokens, choice.pulse_width, {kPulseWidth}, FitsPulseWidth);
  return items;
}

}  // namespace dravik
