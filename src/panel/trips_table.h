#pragma once

#include <string>
#include <vector>

#include "log/fuel_trip.h"

namespace dravik {

// One log of the trips table: its trip summary, or why it did not load.
struct TripsTableLog {
  std::string file_name;  // after the last path separator
  bool loaded = false;
  std::string failure_message;  // when not loaded: the message the load would show
  TripSummary trip;             // when loaded: samples 0..last_sample
  bool has_speed = false;
  bool has_economy = false;
};

// The first line of a load's message, for a one-line listing of a log that failed.
std::string FirstLine(const std::string& message);

// The trips table as CSV text, fields joined by ", ", every line ended by CR LF: the header, one
// line per log (file name, quoted as CSV quotes a field when it holds a comma, a quote or a line
// end; driving time in seconds "0.000", then the trip list's texts of average
// speed, distance, fuel used and economy, empty where the log lacks the item; for a log that did
// not load, its file name and the first line of its message), and last "合計": the total time,
// the average speed over the logs with a speed item (their distance over their time), their
// distance, the fuel and the economy of the logs with the economy item ("∞" with no fuel over a
// distance). Totals add each log's figures in double; a total is empty where no log has the item.
std::string TripsTableText(const std::vector<TripsTableLog>& logs);

}  // namespace dravik
