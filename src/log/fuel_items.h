#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/settings.h"

namespace dravik {

// The three fuel items of a log: item indexes into its names, -1 where none is found.
struct FuelItems {
  int speed = -1;
  int engine_speed = -1;
  int pulse_width = -1;
  bool speed_mph = false;  // the speed item is logged in mph
};

// Finds each fuel item among `names` (0 names the time column) on its own, in this order:
// - the data item whose name equals the user's choice (ASCII letters without regard to case,
//   blanks around both ignored), the first in column order; a chosen speed is in the chosen unit;
// - the names the program has always known, searched anywhere in a name without regard to case,
//   the last match winning: "Vehicle Speed (km/h)" or "Vehicle Speed (kph)" (km/h), "Engine
//   Speed", "Fuel Injector #1 Pulse Width (ms)";
// - the first data item whose name's tokens fit the item's pattern: engine speed "rpm" or
//   "engine rpm" exactly; pulse width "ms" with "ipw", or "injector"/"inj" with "pw" or with
//   "pulse" "width", and neither "dc" nor "duty"; vehicle speed starting with "speed" or "vss",
//   holding "vehicle" "speed", or exactly "mph" or "kph", in mph when a token is "mph".
FuelItems FindFuelItems(const std::vector<std::string>& names, const FuelItemNames& choice);

// Whether a speed item named `name` is logged in mph, as the automatic rules take it: a token
// of its name is "mph" ("Speed (mph)", "MPH"; not "Vehicle Speed (km/h)").
bool SpeedNameSaysMph(std::string_view name);

// Whether an item named `name` is the item the user has named `chosen`: ASCII letters compared
// without regard to case, blanks around both ignored; never for an empty choice.
bool IsChosenItem(std::string_view name, std::string_view chosen);
// The first data item of `names` that IsChosenItem finds for `chosen`, -1 when there is none.
int ChosenItem(const std::vector<std::string>& names, std::string_view chosen);

}  // namespace dravik
