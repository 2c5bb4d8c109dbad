#include "log/channel_block_reader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/log/read_log_helpers.h"

namespace dravik {
namespace {

// A channel per type, then a channel without a type line and one with two.
std::string Header() {
  const char* const types[] = {"EngineSpeed", "AbsPressure", "Pressure",       "Percentage",
                               "Angle",       "Temperature", "BatteryVoltage", "Speed",
                               "AFR",         "Time_us",     "Time_ms",        "Ratio",
                               "GearRatio",   "Decibel",     "Frequency",      "Gear"};
  std::string text = "\xEF\xBB\xBF %DataLog% \r\nDataLogVersion : 1\r\n";
  for (const char* type : types) {
    text += std::string("Channel :  ") + type + " ch \r\nType : " + type +
            "\r\nDisplayMaxMin : 100,0\r\n";
  }
  text += "Channel : Untyped\r\nChannel : Twice\r\nType : Speed\r\nType : EngineSpeed\r\n";
  return text + "Log : 2024-05-01 12:00:00\r\n";
}

std::string Sample(const std::string& clock, const std::string& raw) {
  std::string line = clock;
  for (int c = 0; c < 18; ++c) {
    line += "," + raw;
  }
  return line + "\r\n";
}

TEST(ChannelBlockReader, TypesGiveUnitsAndScales) {
  std::string log =
      Header() + Sample("23:59:59.500", "-2147482648") + Sample("23:59:59.750", "1234");
  for (int s = 0; s < 9; ++s) {
    log += Sample("00:00:0" + std::to_string(s) + ".000", "-2147482647");
  }
  LogTable table;
  ASSERT_EQ(Load(log, table).kind, LoadFailure::kNone);
  const std::vector<std::string> names = {"Time",
                                          "EngineSpeed ch (rpm)",
                                          "AbsPressure ch (kPa)",
                                          "Pressure ch (kPa)",
                                          "Percentage ch (%)",
                                          "Angle ch (°)",
                                          "Temperature ch (°C)",
                                          "BatteryVoltage ch (V)",
                                          "Speed ch (km/h)",
                                          "AFR ch (λ)",
                                          "Time_us ch (ms)",
                                          "Time_ms ch (ms)",
                                          "Ratio ch",
                                          "GearRatio ch",
                                          "Decibel ch (dB)",
                                          "Frequency ch (Hz)",
                                          "Gear ch",
                                          "Untyped",
                                          "Twice (km/h)"};
  EXPECT_EQ(table.item_names, names);
  // The "no value" of the first sample takes the first value; past midnight the clock goes on.
  const std::vector<float> first = {1234,   123.4f, 22.1f,  123.4f, 123.4f, -149.75f,
                                    1.234f, 123.4f, 1.234f, 1.234f, 1234,   1.234f,
                                    12.34f, 12.34f, 1234,   1234,   1234,   123.4f};
  for (int item = 1; item <= 18; ++item) {
    EXPECT_EQ(table.Values(item)[0], first[item - 1]) << names[item];
    EXPECT_EQ(table.Values(item)[1], first[item - 1]) << names[item];
  }
  EXPECT_EQ(Column(table, 0)[1], 250);
  EXPECT_EQ(Column(table, 0)[2], 500);
  EXPECT_EQ(Column(table, 0)[10], 8500);
  EXPECT_EQ(table.Values(1)[2], -2147482647.0f);  // one above the "no value" limit
}

TEST(ChannelBlockReader, BadInputEndsInItsMessage) {
  std::string samples;
  for (int s = 0; s < 11; ++s) {
    samples += Sample("12:00:0" + std::to_string(s % 10) + ".5", "1");
  }
  struct Case {
    const char* what;
    std::string log;
    LoadFailure kind;
  };
  const Case cases[] = {
      {"no Log line", "%DataLog%\r\nChannel : A\r\n" + samples, LoadFailure::kFormat},
      {"a field too many", Header() + samples + "12:00:09.9,1" + Sample("", "1"),
       LoadFailure::kFormat},
      {"a field too few", Header() + "12:00:00,1\r\n" + samples, LoadFailure::kFormat},
      {"no clock time", Header() + samples + Sample("12.5", "1"), LoadFailure::kFormat},
      {"10 samples", Header() + samples.substr(samples.find('\n') + 1),
       LoadFailure::kTooFewSamples},
      {"11 samples", Header() + samples, LoadFailure::kNone},
  };
  for (const Case& c : cases) {
    LogTable table;
    EXPECT_EQ(Load(c.log, table).kind, c.kind) << c.what;
  }
}

TEST(ChannelBlockReader, SurvivesTruncationAtEveryByte) {
  std::string log = "%DataLog%\nChannel : RPM\nType : EngineSpeed\nChannel : MAP\nLog : x\n";
  for (int s = 0; s < 12; ++s) {
    log += "10:00:" + std::to_string(10 + s) + ".25," + std::to_string(800 + s) + ",-2147483648\n";
  }
  ExpectEveryTruncationLoadsOrFails(log);
}

}  // namespace
}  // namespace dravik
