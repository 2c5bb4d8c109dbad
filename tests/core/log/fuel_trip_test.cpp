#include "log/fuel_trip.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/rounding.h"
#include "log/log_reader.h"

namespace dravik {
namespace {

const FuelParams kFuel{430.72f, 0.98f, 4, {}};

struct Columns {
  std::vector<float> time_ms;
  std::vector<float> speed;
  std::vector<float> rpm;
  std::vector<float> pulse_width_ms;
};

// A loaded table of items time, speed, engine speed and pulse width as the reader leaves it.
LogTable MakeTable(const Columns& columns, bool has_speed = true, bool has_economy = true) {
  const std::vector<const std::vector<float>*> items = {&columns.time_ms, &columns.speed,
                                                        &columns.rpm, &columns.pulse_width_ms};
  const int64_t n = static_cast<int64_t>(columns.time_ms.size());
  LogTable table;
  table.item_count = 3;
  table.item_names = {"Time", "Vehicle Speed (km/h)", "Engine Speed (rpm)", "Pulse Width (ms)"};
  table.last_sample = n - 1;
  table.Allocate(4, n + kTailSamples);
  for (int item = 0; item < 4; ++item) {
    const std::vector<float>& values = *items[item];
    const std::span<float> column = table.Values(item);
    std::copy(values.begin(), values.end(), column.begin());
    std::fill(column.begin() + n, column.end(), item == 0 ? 0.0f : values.back());
    table.item_min.push_back(*std::min_element(values.begin(), values.end()));
    table.item_max.push_back(*std::max_element(values.begin(), values.end()));
  }
  table.has_speed = has_speed;
  table.has_economy = has_economy;
  table.speed_item = has_speed ? 1 : 0;
  table.engine_speed_item = has_economy ? 2 : 0;
  table.pulse_width_item = has_economy ? 3 : 0;
  return table;
}

Columns ConstantDrive(int samples, float speed, float step_ms, float pulse_width_ms) {
  Columns c;
  for (int s = 0; s < samples; ++s) {
    c.time_ms.push_back(static_cast<float>(s) * step_ms);
    c.speed.push_back(speed);
    c.rpm.push_back(2000);
    c.pulse_width_ms.push_back(pulse_width_ms);
  }
  return c;
}

// Irregular steps, halves among the speeds, fuel cuts and engine stops.
Columns RandomDrive(int samples, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> unit(0, 1);
  Columns c;
  float time_ms = 0;
  for (int s = 0; s < samples; ++s) {
    time_ms += 200 + std::round(100 * unit(random) * 4) / 4;
    c.time_ms.push_back(time_ms);
    c.speed.push_back(std::round(unit(random) * 240) / 2 + (unit(random) < 0.1f ? 0.3f : 0.0f));
    c.rpm.push_back(unit(random) < 0.05f ? 0.0f : 700 + 6000 * unit(random));
    c.pulse_width_ms.push_back(unit(random) < 0.2f ? 0.5f : 1 + 12 * unit(random));
  }
  return c;
}

TEST(SampleFuel, WorkedExample) {
  const float fuel = SampleFuel(2000, 2.98f, 250, kFuel);
  EXPECT_NEAR(fuel, 0.2393, 5e-5);
  EXPECT_FLOAT_EQ(fuel, 430.72f * 2 * 4 * 250 * 4000 / 14.4e9f);
  EXPECT_EQ(EconomyValue(60, 2000, 2.98f, 0, kFuel), 17.41f);
}

TEST(SampleFuel, NoFuelWithoutPulseOrEngineSpeed) {
  EXPECT_EQ(SampleFuel(2000, 0.98f, 250, kFuel), 0);  // at the latency
  EXPECT_EQ(SampleFuel(2000, 0.5f, 250, kFuel), 0);   // below it
  EXPECT_EQ(SampleFuel(0, 2.98f, 250, kFuel), 0);
  EXPECT_EQ(SampleFuel(-100, 2.98f, 250, kFuel), 0);
}

TEST(SampleInterval, FirstSampleAndRoundedSteps) {
  struct Case {
    std::vector<float> time_ms;
    int64_t sample;
    int64_t expected;
  };
  const Case cases[] = {
      {{100, 350}, 0, 100},    {{1, 250}, 0, 250},      {{300, 550}, 0, 250},
      {{0, 250}, 0, 250},  // clock times start at 0
      {{1.5f, 250}, 0, 2},     {{249.5f, 500}, 0, 250}, {{250, 500}, 0, 250},
      {{100, 350.5f}, 1, 250}, {{100, 351.5f}, 1, 252}, {{500, 400}, 1, -100},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SampleInterval(c.time_ms, c.sample), c.expected)
        << c.time_ms[0] << " " << c.time_ms[1] << " sample " << c.sample;
  }
}

TEST(EconomyValue, FuelCutEngineStopAndStandstill) {
  struct Case {
    float speed, rpm, pulse_width_ms, previous, expected;
  };
  const Case cases[] = {
      {60, 2000, 0.98f, 12.5f, 12.5f},  // fuel cut repeats the sample before
      {60, 2000, 0.5f, 0, 0},           // at sample 0 the one before counts as 0
      {60, 0, 2.98f, 12.5f, 0},         // fuel flowing with the engine stopped
      {0, 2000, 2.98f, 12.5f, 0},       // standing still
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EconomyValue(c.speed, c.rpm, c.pulse_width_ms, c.previous, kFuel), c.expected)
        << c.speed << " " << c.rpm << " " << c.pulse_width_ms;
  }
}

TEST(EconomyValue, RoundsLikeTheTwoDecimalText) {
  // 1250 cc/min, 1 ms, 4 cylinders, 4000 rpm flow 10 l/h, 1000 cc/min 8 l/h.
  struct Case {
    float speed;
    float flow;
    float expected;
  };
  const Case cases[] = {
      {1, 1000, 0.13f},       // 0.125: halves away from zero
      {-1, 1000, -0.13f},     // and so below zero
      {26.75f, 1250, 2.68f},  // 2.675 is a hair below in binary, a half in 15 digits
      {26.74f, 1250, 2.67f}, {123456.7f, 1250, 12345.67f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EconomyValue(c.speed, 4000, 1, 0, {c.flow, 0, 4, {}}), c.expected) << c.speed;
  }
}

TEST(ComputeTripSummary, ConstantSixtyOverTenSamples) {
  const TripSummary trip =
      ComputeTripSummary(MakeTable(ConstantDrive(10, 60, 250, 2.98f)), kFuel, 0, 9);
  EXPECT_EQ(trip.driving_time_ms, 2250);
  EXPECT_EQ(trip.speed_sum, 600);
  EXPECT_EQ(trip.average_speed, static_cast<float>(600 / 9.0));
  EXPECT_EQ(trip.distance_km, static_cast<float>(2250 / 3600000.0 * trip.average_speed));
  EXPECT_FLOAT_EQ(trip.fuel_used_cc, 10 * SampleFuel(2000, 2.98f, 250, kFuel));
}

TEST(ComputeTripSummary, SpeedInMphCountsInKmhRoundedToASingle) {
  // 37.3 mph is 60.03 km/h, so each addition rounds to 60 more; 0.4 mph is 0.64 km/h, which
  // rounds to 1 where 0.4 rounds to 0.
  Columns columns = ConstantDrive(40, 37.3f, 250, 2.98f);
  columns.speed[0] = 0.4f;
  for (const bool economy : {false, true}) {
    LogTable table = MakeTable(columns, true, economy);
    table.speed_in_mph = true;
    EXPECT_EQ(ComputeTripSummary(table, kFuel, 0, 39).speed_sum, 1 + 39 * 60) << economy;
    table.speed_in_mph = false;
    EXPECT_EQ(ComputeTripSummary(table, kFuel, 0, 39).speed_sum, 39 * 37) << economy;
  }
}

TEST(ComputeTripSummary, SpeedSumRoundsAfterEveryAddition) {
  struct Case {
    std::vector<float> speeds;
    int64_t expected;
  };
  const Case cases[] = {
      {{0.5f, 0.5f, 0.5f, 0.5f}, 0},  // each 0 + 0.5 rounds back to 0
      {{1.5f, 1.5f, 1.5f}, 6},        // 2, 3.5 -> 4, 5.5 -> 6
      {{2.5f, 0.5f}, 2},              // 2, 2.5 -> 2
      {{0.6f, 0.6f, 0.6f}, 3},
      {{-0.5f, -1.5f}, -2},
  };
  for (const Case& c : cases) {
    Columns columns = ConstantDrive(static_cast<int>(c.speeds.size()), 0, 250, 2.98f);
    columns.speed = c.speeds;
    for (const bool economy : {false, true}) {
      EXPECT_EQ(ComputeTripSummary(MakeTable(columns, true, economy), kFuel, 0,
                                   static_cast<int64_t>(c.speeds.size()) - 1)
                    .speed_sum,
                c.expected)
          << c.speeds[0] << " economy " << economy;
    }
  }
}

// Every range of a random log against the plain per-sample loop: the blocked loop must give the
// very same singles at every start, end and block edge.
TEST(ComputeTripSummary, MatchesThePlainLoopOnEveryRange) {
  const Columns columns = RandomDrive(300, 7);
  const LogTable table = MakeTable(columns);
  for (int64_t first = 0; first < 70; first += 3) {
    for (int64_t last = first; last < 300; last += 7) {
      double speed_sum = 0;
      float fuel_cc = 0;
      for (int64_t s = first; s <= last; ++s) {
        speed_sum = static_cast<double>(RoundHalfEven(speed_sum + columns.speed[s]));
        fuel_cc += SampleFuel(columns.rpm[s], columns.pulse_width_ms[s],
                              SampleInterval(columns.time_ms, s), kFuel);
      }
      const TripSummary trip = ComputeTripSummary(table, kFuel, first, last);
      ASSERT_EQ(trip.speed_sum, static_cast<int64_t>(speed_sum)) << first << ".." << last;
      ASSERT_EQ(trip.fuel_used_cc, fuel_cc) << first << ".." << last;
    }
  }
}

TEST(ComputeTripSummary, FirstSampleOfTheRangeCoversItsOwnInterval) {
  Columns columns = ConstantDrive(12, 60, 250, 2.98f);
  for (float& t : columns.time_ms) {
    t += 100;  // the log starts at 100 ms, so sample 0 covers 100 ms
  }
  const LogTable table = MakeTable(columns);
  const float per_ms = SampleFuel(2000, 2.98f, 1, kFuel);
  EXPECT_FLOAT_EQ(ComputeTripSummary(table, kFuel, 0, 0).fuel_used_cc, 100 * per_ms);
  EXPECT_FLOAT_EQ(ComputeTripSummary(table, kFuel, 3, 3).fuel_used_cc, 250 * per_ms);
}

TEST(ComputeTripSummary, SingleSampleHasNoSpeedOrDistance) {
  const TripSummary trip =
      ComputeTripSummary(MakeTable(ConstantDrive(12, 60, 250, 2.98f)), kFuel, 5, 5);
  EXPECT_EQ(trip.driving_time_ms, 0);
  EXPECT_EQ(trip.speed_sum, 60);
  EXPECT_EQ(trip.average_speed, 0);
  EXPECT_EQ(trip.distance_km, 0);
  EXPECT_EQ(trip.fuel_economy_text, "0.000");
}

TEST(ComputeTripSummary, EconomyTextWithoutFuel) {
  // All pulse widths at the latency: no fuel over a distance is "∞", over none "0.000".
  const TripSummary moving =
      ComputeTripSummary(MakeTable(ConstantDrive(12, 60, 250, 0.98f)), kFuel, 0, 11);
  EXPECT_EQ(moving.fuel_used_cc, 0);
  EXPECT_EQ(moving.fuel_economy_text, "∞");
  const TripSummary standing =
      ComputeTripSummary(MakeTable(ConstantDrive(12, 0, 250, 0.98f)), kFuel, 0, 11);
  EXPECT_EQ(standing.fuel_economy_text, "0.000");
}

TEST(ComputeTripSummary, MissingItemsLeaveTheirFiguresAtZero) {
  // Long enough that summing the time column (item 0) as a speed would be far off.
  const Columns columns = ConstantDrive(100'000, 60, 250, 2.98f);
  const TripSummary no_speed =
      ComputeTripSummary(MakeTable(columns, false, false), kFuel, 0, 99'999);
  EXPECT_EQ(no_speed.driving_time_ms, 24'999'750);
  EXPECT_EQ(no_speed.speed_sum, 0);
  EXPECT_EQ(no_speed.average_speed, 0);
  EXPECT_EQ(no_speed.distance_km, 0);
  EXPECT_EQ(no_speed.fuel_used_cc, 0);

  const TripSummary no_economy = ComputeTripSummary(MakeTable(columns, true, false), kFuel, 0, 9);
  EXPECT_EQ(no_economy.speed_sum, 600);
  EXPECT_EQ(no_economy.fuel_used_cc, 0);
}

TEST(ComputeTripSummary, ALogOfTimesAloneHasItsDrivingTime) {
  std::string text = "Time\r\n";
  for (int ms = 0; ms <= 400; ms += 40) {
    text += std::to_string(ms) + "\r\n";
  }
  LogTable table;
  ASSERT_EQ(ReadLogFromBuffer(text, kFuel, table).kind, LoadFailure::kNone);
  EXPECT_EQ(ComputeTripSummary(table, kFuel, 0, table.last_sample).driving_time_ms, 400);
}

TEST(ComputeTripSummary, SectionsBeyondSixteenBitSamples) {
  const LogTable table = MakeTable(ConstantDrive(70'000, 60, 250, 2.98f));
  const TripSummary trip = ComputeTripSummary(table, kFuel, 1'000, 66'000);
  EXPECT_EQ(trip.speed_sum, 65'001 * 60);
  EXPECT_EQ(trip.driving_time_ms, 65'000 * 250);
  EXPECT_EQ(trip.average_speed, static_cast<float>(65'001 * 60 / 65'000.0));
}

TEST(ComputeTripSummary, HugeTimesStillRoundEveryStep) {
  Columns columns = ConstantDrive(40, 60, 250, 2.98f);
  columns.time_ms.back() = 1e18f;  // beyond the range the fast rounding covers
  const LogTable table = MakeTable(columns);
  float fuel_cc = 0;
  for (int64_t s = 0; s < 40; ++s) {
    fuel_cc += SampleFuel(2000, 2.98f, SampleInterval(columns.time_ms, s), kFuel);
  }
  EXPECT_EQ(ComputeTripSummary(table, kFuel, 0, 39).fuel_used_cc, fuel_cc);
}

TEST(ComputeTripSummary, RangesOutsideTheLogGiveZero) {
  const LogTable table = MakeTable(ConstantDrive(12, 60, 250, 2.98f));
  for (const auto& [first, last] : {std::pair<int64_t, int64_t>{-1, 5}, {3, 12}, {6, 5}}) {
    const TripSummary trip = ComputeTripSummary(table, kFuel, first, last);
    EXPECT_EQ(trip.driving_time_ms, 0) << first << ".." << last;
    EXPECT_EQ(trip.speed_sum, 0) << first << ".." << last;
    EXPECT_EQ(trip.fuel_used_cc, 0) << first << ".." << last;
  }
  EXPECT_EQ(ComputeTripSummary(LogTable{}, kFuel, 0, 0).speed_sum, 0);
}

}  // namespace
}  // namespace dravik
