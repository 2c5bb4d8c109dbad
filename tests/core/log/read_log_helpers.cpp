#include "core/log/read_log_helpers.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>

#include <gtest/gtest.h>

#include "app/open_log.h"

namespace dravik {

std::string Body(int rows, int items, std::string_view line_end, int first_time) {
  std::string text;
  for (int r = 0; r < rows; ++r) {
    text += std::to_string(first_time + 250 * r);
    for (int i = 1; i <= items; ++i) {
      text += ',';
      text += std::to_string(r * 10 + i);
    }
    text += line_end;
  }
  return text;
}

Settings NoFuel() {
  Settings settings;
  settings.injector_flow_scaling = 0;
  return settings;
}

LoadError Load(std::string_view text, LogTable& table, const Settings& settings) {
  return OpenLogFromBuffer(text, settings, table);
}

std::vector<float> Column(const LogTable& table, int item) {
  const auto values = table.Values(item);
  return {values.begin(), values.begin() + table.last_sample + 1};
}

void ExpectSameTable(const LogTable& expected, const LogTable& table, const std::string& what) {
  EXPECT_EQ(table.item_names, expected.item_names) << what;
  EXPECT_EQ(table.has_speed, expected.has_speed) << what;
  EXPECT_EQ(table.has_economy, expected.has_economy) << what;
  EXPECT_EQ(table.speed_item, expected.speed_item) << what;
  ASSERT_EQ(table.item_count, expected.item_count) << what;
  ASSERT_EQ(table.SampleCount(), expected.SampleCount()) << what;
  const auto same_bits = [](const auto& a, const auto& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
  };
  EXPECT_TRUE(same_bits(table.item_min, expected.item_min)) << what;
  EXPECT_TRUE(same_bits(table.item_max, expected.item_max)) << what;
  for (int item = 0; item <= table.item_count && table.IsLoaded(); ++item) {
    EXPECT_TRUE(same_bits(table.Values(item), expected.Values(item))) << what << " item " << item;
  }
}

std::vector<GeneratedLog> GeneratedLogs() {
  std::mt19937 random(2024);
  const char* const odd_fields[] = {
      "12", "-3.5",      "0.600",    "-0",    ".5", "5.",       "1e3",    " 7 ",      "abc",
      "",   "123456789", "16777217", "-0.00", "+4", "99999.99", "1.5E-3", "0.000001", "-1234567.5"};
  const auto number = [&](int decimals, double scale) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals,
                  (static_cast<double>(random() % 2000001) - 1000000.0) * scale);
    return std::string(text);
  };
  const auto rows = [&](int count, char separator, const std::string& line_end,
                        const std::function<std::string(int)>& time) {
    std::string text;
    const std::string sep(1, separator);
    for (int r = 0; r < count; ++r) {
      const bool fuel_cut = (r / 7) % 5 == 0;  // runs of pulse widths below the latency
      text +=
          time(r) + sep + std::to_string(random() % 140) + sep +
          std::to_string(800 + random() % 6000) + sep +
          (fuel_cut       ? "0.55"
           : random() % 2 ? "2.5"
                          : "3.125") +
          sep + odd_fields[random() % std::size(odd_fields)] + sep +
          number(static_cast<int>(random() % 7), 1e-3 * static_cast<double>(1 + random() % 1000)) +
          line_end;
    }
    return text;
  };
  const std::string fuel_header =
      ",Vehicle Speed (km/h),Engine Speed (rpm),Fuel Injector #1 Pulse Width (ms),A,B";
  const auto ms = [](int r) { return std::to_string(r * 50); };
  const auto clock = [](int r) {
    const int t = (86'400'000 - 60'000 + r * 97) % 86'400'000;  // crosses midnight
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", t / 3'600'000, t / 60'000 % 60,
                  t / 1000 % 60, t % 1000);
    return std::string(text);
  };
  std::vector<GeneratedLog> logs;
  logs.push_back(
      {"times in ms, CR LF", "Time (msec)" + fuel_header + "\r\n" + rows(3000, ',', "\r\n", ms)});
  logs.push_back({"clock times over midnight, LF",
                  "Time" + fuel_header + "\n" + rows(3000, ',', "\n", clock)});
  std::string comma =
      "Time;Vehicle Speed (km/h);Engine Speed;Fuel Injector #1 Pulse Width (ms);A;B\r\n" +
      rows(2500, ';', "\r\n", [&](int r) {
        std::string t = clock(r);
        t[8] = ',';
        return t;
      });
  std::replace(comma.begin() + comma.find('\n'), comma.end(), '.', ',');
  logs.push_back({"decimal commas", comma});
  logs.push_back({"tabs and seconds", "Time (s)\tA\tB\tC\tD\tE\n" + [&] {
                    std::string text = rows(2500, '\t', "\r", [](int r) {
                      return std::to_string(r / 20) + "." + std::to_string(r % 20 * 5);
                    });
                    return text;
                  }()});
  std::string blank_lines = "Time" + fuel_header + "\r\n";
  for (int block = 0; block < 40; ++block) {
    blank_lines += rows(60, ',', block % 2 ? "\n" : "\r\n", ms) + "\r\n\n\r";
  }
  logs.push_back({"blank lines", blank_lines});
  // A field short on one line and one too many on a later one: the lines between are shifted.
  std::string shifted = logs[0].text;
  const size_t short_line = shifted.find("\r\n", shifted.size() / 2);
  const size_t last_comma = shifted.rfind(',', short_line);
  shifted.erase(last_comma, short_line - last_comma);
  shifted.insert(shifted.find("\r\n", shifted.size() * 3 / 4), ",9");
  logs.push_back({"one line a field short shifts the rest", shifted});
  logs.push_back({"ends inside a sample", logs[0].text + "1,2,3\r\n"});
  std::string failing = logs[0].text;
  failing.insert(failing.find("\r\n", failing.size() * 3 / 4) + 2, "x,1,2,3,4,5\r\n");
  failing.insert(failing.find("\r\n", failing.size() / 3) + 2, "7,1,2,3,1e39,5\r\n");
  logs.push_back({"overflow before a bad time", failing});
  return logs;
}

std::string Utf16(std::u16string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

void ExpectEveryTruncationLoadsOrFails(const std::string& log) {
  for (size_t length = 0; length <= log.size(); ++length) {
    LogTable table;
    const LoadFailure kind = Load(std::string_view(log).substr(0, length), table).kind;
    EXPECT_TRUE(kind == LoadFailure::kNone || kind == LoadFailure::kFormat ||
                kind == LoadFailure::kTooFewSamples)
        << length << " bytes: " << static_cast<int>(kind);
    EXPECT_EQ(table.IsLoaded(), kind == LoadFailure::kNone) << length << " bytes";
  }
}

void AppendBig(std::string& bytes, uint64_t value, int bytes_count) {
  for (int i = bytes_count - 1; i >= 0; --i) {
    bytes += static_cast<char>(value >> (8 * i) & 0xFF);
  }
}

std::string MlvlgHeader(int version, const std::vector<MlvlgField>& fields,
                        int extra_record_bytes) {
  const size_t description_bytes = version == 1 ? 55 : 89;
  const size_t header_bytes = version == 1 ? 22 : 24;
  constexpr int kSizes[] = {1, 1, 2, 2, 4, 4, 8, 4, 0, 0, 1, 2, 4};
  int record_bytes = extra_record_bytes;
  for (const MlvlgField& field : fields) {
    record_bytes += field.type < std::size(kSizes) ? kSizes[field.type] : 0;
  }
  std::string bytes("MLVLG\0", 6);
  AppendBig(bytes, static_cast<uint64_t>(version), 2);
  AppendBig(bytes, 1700000000, 4);
  AppendBig(bytes, 0, version == 1 ? 2 : 4);  // no info text
  AppendBig(bytes, header_bytes + description_bytes * fields.size(), 4);
  AppendBig(bytes, static_cast<uint64_t>(record_bytes), 2);
  AppendBig(bytes, fields.size(), 2);
  const auto padded = [&](const std::string& text, size_t size) {
    bytes += text.substr(0, size) + std::string(size - std::min(size, text.size()), '\0');
  };
  for (const MlvlgField& field : fields) {
    bytes += static_cast<char>(field.type);
    padded(field.name, 34);
    padded(field.unit, 10);
    bytes += '\0';  // display style
    AppendBig(bytes, std::bit_cast<uint32_t>(field.scale), 4);
    AppendBig(bytes, std::bit_cast<uint32_t>(field.transform), 4);
    bytes += '\2';  // digits
    if (version == 2) {
      padded("Engine", 34);
    }
  }
  return bytes;
}

std::string MlvlgRecord(uint16_t timestamp, const std::string& record, bool bad_check) {
  std::string bytes("\0\0", 2);
  AppendBig(bytes, timestamp, 2);
  uint8_t sum = bad_check ? 1 : 0;
  for (const char c : record) {
    sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
  }
  return bytes + record + static_cast<char>(sum);
}

std::string MlvlgMarker(uint16_t timestamp) {
  std::string bytes("\1\0", 2);
  AppendBig(bytes, timestamp, 2);
  return bytes + std::string(50, 'm');
}

}  // namespace dravik
