#pragma once

#include <string>
#include <vector>

#include "log/fuel_trip.h"

namespace dravik {

// One row of the trip list: the texts of its columns "項目", "値" and "単位".
struct TripListRow {
  std::string name;
  std::string value;
  std::string unit;
  std::string reference;  // "比較": the reference log's figure, in the row's unit; "" for none
  // The name where four columns leave too little room for `name`; English shortens it.
  std::string narrow_name;
};

// The rows of a log with a speed item and the economy item, the most the trip list shows.
inline constexpr int kTripListRowCount = 5;

// The driving time as the trip list shows it: below 1000 ms in "[ms]", below 60 000 ms in whole
// "[秒]", otherwise in whole "[分]", each rounded half to even (59 999 -> "60" "[秒]",
// 150 000 -> "2" "[分]").
TripListRow DrivingTimeRow(int64_t driving_time_ms);

// The value texts of the speed and fuel figures, "0.000" each (fuel in litres), and the economy
// text; shared by the trip list, the numeric display's section rows and the trips table.
struct TripFigureTexts {
  std::string average_speed;  // km/h
  std::string distance;       // km
  std::string fuel_used;      // l
  std::string fuel_economy;   // km/l, "∞" with no fuel over a distance
};
TripFigureTexts TripTexts(const TripSummary& trip);

// A reference log's whole-log figures and the items it has for them.
struct ReferenceTrip {
  TripSummary trip;
  bool has_speed = false;
  bool has_economy = false;
};

// The rows of the trip list in order: driving time always; average speed and distance with a
// speed item; fuel used and economy with the economy item. With `reference`, each row's "比較"
// cell holds the reference's figure: its driving time in the unit of the driving time row
// (rounded half to even), its speed and fuel figures where it has the items for them.
std::vector<TripListRow> TripListRows(const TripSummary& trip, bool has_speed, bool has_economy,
                                      const ReferenceTrip* reference = nullptr);

// The trip list's tooltip while it lacks rows for want of fuel items: the items the log lacks
// ("車速", "エンジン回転数", "噴射パルス幅") and the dialog that chooses them. "" when no log is
// loaded, every row is shown, or no item is missing (the fuel settings left the rows out).
std::string TripListHint(const LogTable& table);

// The copy of the trip list: "name, value, unit" and CR LF for every row, no header; "" for no
// rows. With `with_reference` (a reference log open), "name, value, unit, reference value".
std::string TripListClipboardText(const std::vector<TripListRow>& rows,
                                  bool with_reference = false);

}  // namespace dravik
