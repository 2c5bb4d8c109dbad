#include "log_generator.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

namespace dravik::bench {
namespace {

struct ItemKind {
  const char* name;
  int decimals;
  double low;
  double high;
};

// In the order items are picked; the file keeps the column order of kColumnOrder.
constexpr std::array<ItemKind, 30> kItems = {{
    {"Engine Speed (rpm)", 0, 700, 6800},
    {"Vehicle Speed (km/h)", 0, 0, 140},
    {"Fuel Injector #1 Pulse Width (ms)", 3, 0.55, 14},
    {"Throttle Opening Angle (%)", 2, 0, 100},
    {"Coolant Temperature (C)", 0, 20, 96},
    {"Manifold Relative Pressure (psi)", 2, -10.4, 12},
    {"Mass Airflow (g/s)", 2, 2, 180},
    {"A/F Sensor #1 (AFR)", 2, 10.5, 22.5},
    {"Ignition Total Timing (degrees)", 1, 2, 45},
    {"Engine Load (g/rev)", 2, 0.1, 2.2},
    {"Intake Air Temperature (C)", 0, 15, 55},
    {"Accelerator Pedal Angle (%)", 2, 0, 100},
    {"Knock Correction (degrees)", 2, -4.22, 0},
    {"A/F Correction #1 (%)", 2, -8, 8},
    {"A/F Learning #1 (%)", 2, -4, 4},
    {"Gear Position", 0, 0, 6},
    {"Battery Voltage (V)", 2, 13.9, 14.6},
    {"Injector Duty Cycle (%)", 2, 0, 95},
    {"Mass Airflow Sensor Voltage (V)", 2, 0.9, 4.9},
    {"Intake VVT Advance Angle Right (degrees)", 1, 0, 35},
    {"Primary Wastegate Duty Cycle (%)", 1, 0, 65},
    {"Atmospheric Pressure (kPa)", 1, 99.5, 102.5},
    {"Oil Temperature (C)", 0, 17, 93},
    {"Rear O2 Sensor (V)", 3, 0.05, 0.9},
    {"A/F Sensor #1 Current (mA)", 3, -0.3, 0.5},
    {"Fuel Pump Duty (%)", 0, 33, 100},
    {"Throttle Sensor #1 Voltage (V)", 3, 0.6, 4.4},
    {"Fine Learning Knock Correction (degrees)", 2, -1.41, 0},
    {"Fuel Level (%)", 1, 5, 95},
    {"IAM (multiplier)", 3, 0, 1},
}};
constexpr std::array<int, 30> kColumnOrder = {4,  10, 22, 21, 16, 0,  1,  15, 3,  11,
                                              26, 5,  6,  18, 9,  2,  17, 7,  24, 23,
                                              13, 14, 8,  12, 27, 29, 19, 20, 25, 28};
constexpr int kPulseWidthKind = 2;

// xorshift64*: fast and the same everywhere.
class Random {
 public:
  uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1DULL;
  }
  int64_t Between(int64_t low, int64_t high) {
    return low + static_cast<int64_t>(Next() >> 33) % (high - low + 1);
  }

 private:
  uint64_t state_ = 0x9E3779B97F4A7C15ULL;
};

// One column: a value in units of its last decimal that wanders between its bounds.
struct Column {
  const char* name;
  int decimals;
  int64_t low;
  int64_t high;
  int64_t value;
  int64_t step;
  bool pulse_width;
};

char* AppendScaled(char* out, int64_t scaled, int decimals) {
  if (scaled < 0) {
    *out++ = '-';
    scaled = -scaled;
  }
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  } while (scaled > 0 || n <= decimals);
  for (int i = n - 1; i >= 0; --i) {
    if (i == decimals - 1) {
      *out++ = '.';
    }
    *out++ = digits[i];
  }
  return out;
}

}  // namespace

bool WriteGeneratedLog(const std::string& path, int64_t rows, int items) {
  std::vector<Column> columns;
  std::vector<std::string> aux_names;
  const int builtin = std::min<int>(items, static_cast<int>(kItems.size()));
  Random random;
  const auto add = [&](const char* name, int decimals, double low, double high, bool pulse) {
    double unit = 1;
    for (int d = 0; d < decimals; ++d) {
      unit *= 10;
    }
    const auto lo = static_cast<int64_t>(low * unit);
    const auto hi = static_cast<int64_t>(high * unit);
    columns.push_back({name, decimals, lo, hi, random.Between(lo, hi),
                       std::max<int64_t>(1, (hi - lo) / 200), pulse});
  };
  for (const int kind : kColumnOrder) {
    if (kind < builtin) {
      const ItemKind& item = kItems[kind];
      add(item.name, item.decimals, item.low, item.high, kind == kPulseWidthKind);
    }
  }
  for (int k = 1; k <= items - builtin; ++k) {
    aux_names.push_back("Aux Input #" + std::to_string(k) + " (V)");
  }
  for (const std::string& name : aux_names) {
    add(name.c_str(), 3, 0, 5, false);
  }

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) {
    return false;
  }
  std::string header = "Time (msec)";
  for (const Column& column : columns) {
    header += ',';
    header += column.name;
  }
  header += "\r\n";
  std::fwrite(header.data(), 1, header.size(), file.get());

  std::vector<char> buffer(size_t{1} << 20);
  char* out = buffer.data();
  const size_t line_room = columns.size() * 24 + 32;
  int64_t time_ms = 0;
  int64_t fuel_cut_left = 0;
  for (int64_t row = 0; row < rows; ++row) {
    if (static_cast<size_t>(out - buffer.data()) + line_room > buffer.size()) {
      std::fwrite(buffer.data(), 1, static_cast<size_t>(out - buffer.data()), file.get());
      out = buffer.data();
    }
    out = AppendScaled(out, time_ms, 0);
    time_ms += 50 + random.Between(-2, 2);
    // Runs of overrun fuel cut, in which the pulse width drops below the injector latency.
    if (fuel_cut_left > 0) {
      --fuel_cut_left;
    } else if (random.Between(0, 999) == 0) {
      fuel_cut_left = random.Between(20, 200);
    }
    for (Column& column : columns) {
      column.value += random.Between(-column.step, column.step);
      column.value = std::clamp(column.value, column.low, column.high);
      int64_t shown = column.value;
      if (column.pulse_width && fuel_cut_left > 0) {
        shown = random.Between(550, 950);
      }
      *out++ = ',';
      out = AppendScaled(out, shown, column.decimals);
    }
    *out++ = '\r';
    *out++ = '\n';
  }
  std::fwrite(buffer.data(), 1, static_cast<size_t>(out - buffer.data()), file.get());
  return std::ferror(file.get()) == 0;
}

}  // namespace dravik::bench
