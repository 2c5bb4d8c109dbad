#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/settings.h"
#include "log/fuel_items.h"
#include "log/log_table.h"

namespace dravik {

// The settings the fuel computation uses: three numbers and the items the user has chosen.
struct FuelParams {
  float flow = 0;     // injector flow, cc/min
  float latency = 0;  // injector latency, ms
  int32_t cylinders = 0;
  FuelItemNames items;
};

FuelParams FuelParamsOf(const Settings& settings);

// Time step of sample s in ms: for s = 0, 250 when time(0) <= 1 or >= 250 (a clock-time log starts
// at 0), else time(0) rounded; later samples, the rounded difference to the sample before.
int64_t SampleInterval(std::span<const float> time_ms, int64_t s);

// Fuel injected during one sample, cc: flow x p x cyl x interval x 2 x rpm / 14 400 000 000 with
// p = pulse width - latency in single precision; 0 unless p > 0 and rpm > 0.
float SampleFuel(float rpm, float pulse_width_ms, int64_t interval_ms, const FuelParams& fuel);

// Instantaneous economy of one sample in km/l, rounded to two decimals as the "0.00" text reads
// back. With fuel flowing: speed / litres per hour (0 when rpm <= 0); at or below the latency (fuel
// cut): `previous`, the economy of the sample before (0 for sample 0). Samples go in order.
float EconomyValue(float speed, float rpm, float pulse_width_ms, float previous,
                   const FuelParams& fuel);

// Sets the economy item (the last item) of every real sample of a table with has_economy (a speed
// in mph converted as in ComputeTripSummary), in the
// ranges of samples that `ranges` (SampleRanges) gives, on up to `threads` threads. Each range
// starts as if the sample before it had economy 0; a fuel cut at the start of a range repeats the
// value before it, so the start of every range after the first is then redone in order until a
// value comes out the same: the result is that of one pass in order.
void ComputeEconomy(LogTable& table, const FuelParams& fuel, const std::vector<int64_t>& ranges,
                    int threads);

struct TripSummary {
  int64_t driving_time_ms = 0;  // time(last) - time(first), rounded
  int64_t speed_sum = 0;        // km/h, rounded after every addition; 0 without a speed item
  float average_speed = 0;      // km/h: speed_sum / (last - first); 0 for a single sample
  float distance_km = 0;        // driving_time_ms / 3 600 000 x average_speed
  float fuel_used_cc = 0;       // single-precision sum of SampleFuel; 0 without economy
  std::string fuel_economy_text = "0.000";  // km/l "0.000", or "∞" with no fuel over a distance
};

// Trip figures of samples first..last of a loaded table, both ends included. The first sample's
// fuel covers its own interval (its distance to the sample before, or the sample-0 rule). Speed
// figures need has_speed, fuel figures has_economy; without them they stay 0. A range that is not
// 0 <= first <= last <= last_sample of a loaded table gives an all-zero summary. A speed logged in
// mph (speed_in_mph) is taken times 1.609344, rounded to a single; the figures are in km/h and km.
TripSummary ComputeTripSummary(const LogTable& table, const FuelParams& fuel, int64_t first,
                               int64_t last);

}  // namespace dravik
