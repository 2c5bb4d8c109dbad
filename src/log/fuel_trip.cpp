#include "log/fuel_trip.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "common/number_format.h"
#include "common/parallel.h"
#include "common/rounding.h"

namespace dravik {
namespace {

constexpr int64_t kDefaultFirstIntervalMs = 250;
// cc in one sample: flow [cc/min] x p / 60 000 x cyl x rpm / 2 injections a minute x
// interval / 60 000, written with the engine speed doubled.
constexpr double kFuelDivisor = 14'400'000'000.0;
// Litres per hour: flow x p / 60 000 x cyl x rpm / 2 x 60 / 1000, engine speed doubled.
constexpr double kLitresPerHourDivisor = 4'000'000.0;
constexpr double kMsPerHour = 3'600'000.0;
constexpr double kKmPerMile = 1.609344;
// The running speed sum is held plus 1.5 x 2^52: doubles between 2^52 and 2^53 are exactly the
// whole numbers, so each addition of a speed itself rounds the sum to the nearest integer, halves
// to even, with no separate rounding step in the loop. Exact while the sum stays within ±2^51.
constexpr double kWholeShift = 0x1.8p52;
// Times below this in magnitude have differences below 2^51, which RoundHalfEvenSmall rounds.
constexpr float kSmallTimeMs = 0x1p49f;
// Samples whose fuel is computed ahead of the sequential sum, in loops that can vectorise.
constexpr int64_t kFuelBlock = 32;

// A logged speed in km/h: one in mph times kKmPerMile rounded to a single. A template, so that
// the loops over km/h logs add each speed as it is, with nothing more on the path of a sample.
template <bool kMph>
inline float SpeedKmh(float speed) {
  if constexpr (kMph) {
    return static_cast<float>(speed * kKmPerMile);
  } else {
    return speed;
  }
}

int64_t FirstInterval(float time0_ms) {
  if (time0_ms <= 1 || time0_ms >= 250) {
    return kDefaultFirstIntervalMs;
  }
  return RoundHalfEven(time0_ms);
}

double TimeStepMs(float time_ms, float previous_ms) {
  return static_cast<double>(time_ms) - static_cast<double>(previous_ms);
}

// The three numbers of FuelParams that the fuel takes, apart from the item names, so that the
// summing loop holds them in registers.
struct Injection {
  float flow = 0;
  float latency = 0;
  int32_t cylinders = 0;
};

Injection InjectionOf(const FuelParams& fuel) {
  return {fuel.flow, fuel.latency, fuel.cylinders};
}

// The pulse width above the latency and the engine speed, each 0 where it gives no fuel: a 0 factor
// makes the fuel product 0, so fuel cuts need no branch (they follow no pattern a branch
// predictor could learn).
inline float FlowingPulseWidth(float pulse_width_ms, Injection fuel) {
  const float p = pulse_width_ms - fuel.latency;
  return p > 0.0f ? p : 0.0f;
}
inline float TurningRpm(float rpm) {
  return rpm > 0.0f ? rpm : 0.0f;
}

// One definition for SampleFuel and the summing loop, so both give the same singles.
inline float FuelProduct(float p, float rpm, double interval_ms, Injection fuel) {
  return static_cast<float>(static_cast<double>(fuel.flow) * p *
                            static_cast<float>(fuel.cylinders) * interval_ms * 2 * rpm /
                            kFuelDivisor);
}

// The value as the "0.00" text of it reads back as a single.
float RoundToHundredths(double value) {
  const double hundredths = std::fabs(value) * 100;
  if (hundredths < 0x1p24) {
    const int64_t n = RoundHalfEven(hundredths);
    // Away from a tie the text holds the nearest hundredth, and n / 100 in double converts to
    // the same single as the text (true for every n below 2^24). Ties, judged by the text's
    // digits, are left to the text itself.
    if (std::fabs(std::fabs(hundredths - static_cast<double>(n)) - 0.5) > 1e-6) {
      const float magnitude = static_cast<float>(static_cast<double>(n) / 100);
      return value < 0 && n != 0 ? -magnitude : magnitude;
    }
  }
  const std::string text = FormatFixed(value, 2);
  float parsed = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
  // Beyond the single range the economy is infinite, which the reader refuses to scale, rather
  // than 0, which would be drawn as if it had been logged.
  if (result.ec == std::errc::result_out_of_range && std::fabs(value) > 1) {
    return value < 0 ? -std::numeric_limits<float>::infinity()
                     : std::numeric_limits<float>::infinity();
  }
  return parsed;
}

template <bool kMph>
double SpeedSumShifted(const float* speed, int64_t first, int64_t last) {
  double sum = kWholeShift;
  for (int64_t s = first; s <= last; ++s) {
    sum += SpeedKmh<kMph>(speed[s]);
  }
  return sum;
}

struct RangeSums {
  double speed_shifted = kWholeShift;  // speed sum + kWholeShift
  float fuel_cc = 0;
};

template <bool kSmallTimes>
inline double Interval(float time_ms, float previous_ms) {
  const double step = TimeStepMs(time_ms, previous_ms);
  return kSmallTimes ? RoundHalfEvenSmall(step) : static_cast<double>(RoundHalfEven(step));
}

// Samples first + 1..last added to `sums`, which already hold sample `first`. The fuel of a block
// of samples is computed first, in loops without branches, then both sums run in one loop so that
// their two dependency chains overlap. kSmallTimes: every time lies below kSmallTimeMs.
template <bool kSmallTimes, bool kMph>
RangeSums SumFuelRange(const float* time_ms, const float* speed, const float* rpm,
                       const float* pulse_width_ms, Injection fuel, int64_t first, int64_t last,
                       RangeSums sums) {
  double speed_shifted = sums.speed_shifted;
  float fuel_cc = sums.fuel_cc;
  float flowing[kFuelBlock];
  float turning[kFuelBlock];
  float block_fuel[kFuelBlock];
  int64_t base = first + 1;
  for (; base + kFuelBlock - 1 <= last; base += kFuelBlock) {
    for (int64_t i = 0; i < kFuelBlock; ++i) {
      flowing[i] = FlowingPulseWidth(pulse_width_ms[base + i], fuel);
      turning[i] = TurningRpm(rpm[base + i]);
    }
    for (int64_t i = 0; i < kFuelBlock; ++i) {
      block_fuel[i] =
          FuelProduct(flowing[i], turning[i],
                      Interval<kSmallTimes>(time_ms[base + i], time_ms[base + i - 1]), fuel);
    }
    for (int64_t i = 0; i < kFuelBlock; ++i) {
      if (speed != nullptr) {
        speed_shifted += SpeedKmh<kMph>(speed[base + i]);
      }
      fuel_cc += block_fuel[i];
    }
  }
  for (int64_t s = base; s <= last; ++s) {
    if (speed != nullptr) {
      speed_shifted += SpeedKmh<kMph>(speed[s]);
    }
    fuel_cc += FuelProduct(FlowingPulseWidth(pulse_width_ms[s], fuel), TurningRpm(rpm[s]),
                           Interval<kSmallTimes>(time_ms[s], time_ms[s - 1]), fuel);
  }
  return {speed_shifted, fuel_cc};
}

// Whether the time column's extremes, as the reader keeps them, lie below kSmallTimeMs.
bool HasSmallTimes(const LogTable& table) {
  return !table.item_min.empty() && !table.item_max.empty() &&
         std::fabs(table.item_min[0]) < kSmallTimeMs && std::fabs(table.item_max[0]) < kSmallTimeMs;
}

// The speed and fuel sums of samples first..last, the first sample's fuel over its own interval.
template <bool kMph>
RangeSums SumRange(const LogTable& table, const FuelParams& fuel, int64_t first, int64_t last) {
  const std::span<const float> time_ms = table.Values(0);
  const float* speed = table.has_speed ? table.Values(table.speed_item).data() : nullptr;
  RangeSums sums;
  if (table.has_economy) {
    const float* rpm = table.Values(table.engine_speed_item).data();
    const float* pulse_width_ms = table.Values(table.pulse_width_item).data();
    if (speed != nullptr) {
      sums.speed_shifted += SpeedKmh<kMph>(speed[first]);
    }
    sums.fuel_cc =
        SampleFuel(rpm[first], pulse_width_ms[first], SampleInterval(time_ms, first), fuel);
    const Injection injection = InjectionOf(fuel);
    return HasSmallTimes(table)
               ? SumFuelRange<true, kMph>(time_ms.data(), speed, rpm, pulse_width_ms, injection,
                                          first, last, sums)
               : SumFuelRange<false, kMph>(time_ms.data(), speed, rpm, pulse_width_ms, injection,
                                           first, last, sums);
  }
  if (speed != nullptr) {
    sums.speed_shifted = SpeedSumShifted<kMph>(speed, first, last);
  }
  return sums;
}

// The sums of ComputeTripSummary, which runs on every move of a cursor. Where the processor has
// 256-bit vectors the fuel of a block is computed four samples at a time, about a third faster;
// the operations and their order stay the same (no fused multiply-add), and so do the results.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target_clones("avx2", "default"), gnu::flatten]]
#endif
RangeSums
SumTripRange(const LogTable& table, const FuelParams& fuel, int64_t first, int64_t last) {
  return table.speed_in_mph ? SumRange<true>(table, fuel, first, last)
                            : SumRange<false>(table, fuel, first, last);
}

}  // namespace

FuelParams FuelParamsOf(const Settings& settings) {
  return {settings.injector_flow_scaling, settings.injector_latency, settings.cylinder,
          settings.fuel_items};
}

int64_t SampleInterval(std::span<const float> time_ms, int64_t s) {
  if (s == 0) {
    return FirstInterval(time_ms[0]);
  }
  return RoundHalfEven(TimeStepMs(time_ms[s], time_ms[s - 1]));
}

float SampleFuel(float rpm, float pulse_width_ms, int64_t interval_ms, const FuelParams& fuel) {
  const Injection injection = InjectionOf(fuel);
  return FuelProduct(FlowingPulseWidth(pulse_width_ms, injection), TurningRpm(rpm),
                     static_cast<double>(interval_ms), injection);
}

float EconomyValue(float speed, float rpm, float pulse_width_ms, float previous,
                   const FuelParams& fuel) {
  const float p = pulse_width_ms - fuel.latency;
  if (!(p > 0)) {
    return previous;
  }
  if (!(rpm > 0)) {
    return 0;
  }
  const double litres_per_hour = static_cast<double>(fuel.flow) * p *
                                 static_cast<float>(fuel.cylinders) * 2 * rpm /
                                 kLitresPerHourDivisor;
  // Fuel settings that are not positive give no flow to divide by.
  if (!(litres_per_hour > 0)) {
    return 0;
  }
  return RoundToHundredths(speed / litres_per_hour);
}

void ComputeEconomy(LogTable& table, const FuelParams& fuel, const std::vector<int64_t>& ranges,
                    int threads) {
  const float* speed = table.Values(table.speed_item).data();
  const float* rpm = table.Values(table.engine_speed_item).data();
  const float* pulse_width = table.Values(table.pulse_width_item).data();
  float* economy = table.Values(table.item_count).data();
  const bool mph = table.speed_in_mph;
  const auto speed_kmh = [&](int64_t s) {
    return mph ? SpeedKmh<true>(speed[s]) : SpeedKmh<false>(speed[s]);
  };
  const int64_t range_count = static_cast<int64_t>(ranges.size()) - 1;
  RunTasks(range_count, threads,
           [&](int64_t r) {
             float previous = 0;
             for (int64_t s = ranges[r]; s < ranges[r + 1]; ++s) {
               previous = EconomyValue(speed_kmh(s), rpm[s], pulse_width[s], previous, fuel);
               economy[s] = previous;
             }
           },
           {});
  for (int64_t r = 1; r < range_count; ++r) {
    float previous = economy[ranges[r] - 1];
    for (int64_t s = ranges[r]; s < ranges[r + 1]; ++s) {
      const float value = EconomyValue(speed_kmh(s), rpm[s], pulse_width[s], previous, fuel);
      if (std::bit_cast<uint32_t>(value) == std::bit_cast<uint32_t>(economy[s])) {
        break;  // the same input from here on
      }
      economy[s] = value;
      previous = value;
    }
  }
}

TripSummary ComputeTripSummary(const LogTable& table, const FuelParams& fuel, int64_t first,
                               int64_t last) {
  TripSummary trip;
  if (!table.IsLoaded() || first < 0 || first > last || last > table.last_sample) {
    return trip;
  }
  const std::span<const float> time_ms = table.Values(0);
  trip.driving_time_ms =
      RoundHalfEven(static_cast<double>(time_ms[last]) - static_cast<double>(time_ms[first]));

  const RangeSums sums = SumTripRange(table, fuel, first, last);
  trip.speed_sum = RoundHalfEven(sums.speed_shifted - kWholeShift);
  trip.fuel_used_cc = sums.fuel_cc;
  if (last > first) {
    trip.average_speed =
        static_cast<float>(static_cast<double>(trip.speed_sum) / static_cast<double>(last - first));
  }
  trip.distance_km = static_cast<float>(static_cast<double>(trip.driving_time_ms) / kMsPerHour *
                                        trip.average_speed);
  if (trip.fuel_used_cc > 0) {
    trip.fuel_economy_text =
        FormatFixed(trip.distance_km / (static_cast<double>(trip.fuel_used_cc) / 1000), 3);
  } else if (trip.distance_km > 0) {
    trip.fuel_economy_text = "∞";
  }
  return trip;
}

}  // namespace dravik
