#include "log_checks.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "app/open_log.h"
#include "chart/scaling.h"
#include "log/fuel_trip.h"
#include "log/text_decoding.h"

namespace dravik::fuzz {
namespace {
bool SameBits(std::span<const float> a, std::span<const float> b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size_bytes()) == 0;
}

// The threaded reading against the sequential one: same outcome, same table.
void CheckSameLoad(const LoadError& error, const LogTable& table, const LoadError& other_error,
                   const LogTable& other) {
  Check(error.kind == other_error.kind);
  if (error.kind == LoadFailure::kGeneral) {
    Check(error.number == other_error.number);
  }
  if (error.kind != LoadFailure::kNone) {
    return;
  }
  Check(table.item_names == other.item_names && table.last_sample == other.last_sample);
  Check(table.has_speed == other.has_speed && table.has_economy == other.has_economy);
  Check(SameBits(table.item_min, other.item_min) && SameBits(table.item_max, other.item_max));
  for (int j = 0; j <= table.item_count; ++j) {
    Check(SameBits(table.Values(j), other.Values(j)));
  }
}

void CheckTrip(const LogTable& table, const FuelParams& fuel, int64_t first, int64_t last) {
  const TripSummary trip = ComputeTripSummary(table, fuel, first, last);
  Check(!std::isnan(trip.average_speed) && !std::isnan(trip.distance_km));
  Check(!trip.fuel_economy_text.empty() && IsValidUtf8(trip.fuel_economy_text));
  if (first < 0 || first > last || last > table.last_sample) {
    Check(trip.driving_time_ms == 0 && trip.speed_sum == 0 && trip.fuel_used_cc == 0);
  }
}

// Whether the scale bounds of an item's range hold its smallest and largest values.
bool BoundsEncloseRange(float min, float max, int graph_scale_mode) {
  const float top = max <= 0   ? 0
                    : min >= 0 ? TopScaleBound(max, graph_scale_mode)
                               : RoundScaleBound(max, graph_scale_mode);
  const float bottom = min < 0 ? RoundScaleBound(min, graph_scale_mode) : 0;
  return top >= max && bottom <= min;
}

void CheckLoaded(const LogTable& table, const Settings& settings) {
  Check(table.item_count >= 0 && table.item_count <= kMaxItems);
  Check(table.last_sample >= kMinRealSamples - 1);
  Check(table.item_names.size() == static_cast<size_t>(table.item_count) + 1);
  for (const std::string& name : table.item_names) {
    Check(IsValidUtf8(name));
  }
  Check(table.item_min.size() == table.item_names.size());
  Check(table.item_max.size() == table.item_names.size());
  const int64_t count = table.SampleCount();
  Check(count == table.last_sample + 1 + kTailSamples);
  for (int j = 0; j <= table.item_count; ++j) {
    const auto values = table.Values(j);
    Check(static_cast<int64_t>(values.size()) == count);
    Check(table.item_min[j] <= table.item_max[j]);
    for (int64_t s = 0; s <= table.last_sample; ++s) {
      Check(std::isfinite(values[s]));
      Check(values[s] >= table.item_min[j] && values[s] <= table.item_max[j]);
    }
    if (j == 0) {
      continue;
    }
    const PlotPositions positions = PlotPositionsOf(table, j, settings.graph_scale_mode);
    std::vector<int16_t> plot_y(count);
    for (int64_t s = 0; s < count; ++s) {
      plot_y[s] = positions[s];
    }
    // The extremes of a run, as the chart finds them, bracket every position of it.
    int16_t run_lowest = plot_y[0];
    int16_t run_highest = plot_y[0];
    positions.Extremes(0, count, run_lowest, run_highest);
    Check(run_lowest == *std::min_element(plot_y.begin(), plot_y.end()));
    Check(run_highest == *std::max_element(plot_y.begin(), plot_y.end()));
    // The load checked only the extremes' positions; every other lies between them.
    const int64_t at_min =
        std::find(values.begin(), values.end(), table.item_min[j]) - values.begin();
    const int64_t at_max =
        std::find(values.begin(), values.end(), table.item_max[j]) - values.begin();
    const auto [lowest, highest] = std::minmax(plot_y[at_min], plot_y[at_max]);
    for (const int16_t y : plot_y) {
      Check(y >= lowest && y <= highest);
    }
    if (!BoundsEncloseRange(table.item_min[j], table.item_max[j], settings.graph_scale_mode)) {
      continue;  // a single-digit figure below 0.0001 can leave the values beyond their scale
    }
    for (const int16_t y : plot_y) {
      Check(y >= 400 && y <= 10400);
    }
  }
  const FuelParams fuel = FuelParamsOf(settings);
  const int64_t last = table.last_sample;
  CheckTrip(table, fuel, 0, last);
  CheckTrip(table, fuel, last / 3, 2 * last / 3);
  CheckTrip(table, fuel, last, last);
  CheckTrip(table, fuel, 1, 1);
  CheckTrip(table, fuel, last, 0);
  CheckTrip(table, fuel, -1, 5);
  CheckTrip(table, fuel, 0, last + kTailSamples);
}

}  // namespace

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

Settings SettingsOf(uint8_t selector) {
  Settings settings;
  settings.graph_scale_mode = selector & 1;
  switch (selector >> 1 & 3) {
    case 0:
      break;  // the first-start fuel values
    case 1:
      settings.injector_flow_scaling = 0;
      break;
    case 2:
      settings.injector_latency = -1e30f;
      settings.cylinder = 32767;
      break;
    case 3:
      settings.injector_flow_scaling = 3e38f;
      settings.injector_latency = 0;
      break;
  }
  return settings;
}

void CheckLoads(std::string_view bytes, uint8_t selector) {
  const Settings settings = SettingsOf(selector);
  ReadSplit sequential;
  sequential.sequential = true;
  LogTable table;
  const LoadError error = OpenLogFromBuffer(bytes, settings, table, {}, sequential);
  ReadSplit split;
  split.threads = 1 + (selector >> 3 & 1) * 2;
  split.piece_bytes = 1 + (selector >> 4) * 4;
  LogTable threaded;
  CheckSameLoad(error, table, OpenLogFromBuffer(bytes, settings, threaded, {}, split), threaded);
  if (error.kind == LoadFailure::kNone) {
    CheckLoaded(table, settings);
  } else {
    Check(table.item_count == 0 && table.last_sample == 0 && table.item_names.empty());
    Check(table.SampleCount() == 0);
    Check(!LoadFailureMessage(error).empty());
  }
  // A failing second load must not leave the first one's items behind.
  const LoadError again = OpenLogFromBuffer(bytes.substr(0, bytes.size() / 2), settings, table);
  if (again.kind != LoadFailure::kNone) {
    Check(table.item_count == 0 && table.last_sample == 0 && table.item_names.empty());
  }
}

}  // namespace dravik::fuzz
