#include "log/csv_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "app/open_log.h"
#include "support/temp_dir.h"

namespace dravik {
namespace {

// `rows` lines of "time,v1,...,vn" with time 250 * r and item i holding r * 10 + i.
std::string Body(int rows, int items, std::string_view line_end = "\r\n", int first_time = 0) {
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

LoadError Load(std::string_view text, LogTable& table, const Settings& settings = NoFuel()) {
  return OpenLogFromBuffer(text, settings, table);
}

std::vector<float> Column(const LogTable& table, int item) {
  const auto values = table.Values(item);
  return {values.begin(), values.begin() + table.last_sample + 1};
}

TEST(ReadLog, LoadsNamesSamplesExtremesAndTail) {
  LogTable table;
  ASSERT_EQ(Load("Time,A,B\r\n" + Body(12, 2, "\r\n", 500), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names, (std::vector<std::string>{"Time", "A", "B"}));
  EXPECT_EQ(table.item_count, 2);
  EXPECT_EQ(table.last_sample, 11);
  EXPECT_EQ(table.SampleCount(), 22);
  EXPECT_EQ(table.Values(0)[0], 500);  // not made relative to the first sample
  EXPECT_EQ(table.Values(2)[11], 112);
  EXPECT_EQ(table.item_min, (std::vector<float>{500, 1, 2}));
  EXPECT_EQ(table.item_max, (std::vector<float>{500 + 250 * 11, 111, 112}));
  for (int s = 12; s < 22; ++s) {
    EXPECT_EQ(table.Values(0)[s], 0);
    EXPECT_EQ(table.Values(1)[s], 111);
    EXPECT_EQ(table.Values(2)[s], 112);
  }
  EXPECT_EQ(table.PlotY(1).size(), 22u);
}

TEST(ReadLog, FailuresSayWhichMessage) {
  const std::string rows = Body(11, 1);
  struct Case {
    const char* what;
    std::string text;
    LoadFailure kind;
    ErrorNumber number;
  };
  const Case cases[] = {
      {"empty file", "", LoadFailure::kFormat, {}},
      {"only line ends", "\r\n\n\r", LoadFailure::kFormat, {}},
      {"header only", "Time,A\r\n", LoadFailure::kTooFewSamples, {}},
      {"10 samples", "Time,A\r\n" + Body(10, 1), LoadFailure::kTooFewSamples, {}},
      {"two-part clock time", "Time,A\r\n0,1\r\n12:34,1\r\n" + rows, LoadFailure::kFormat, {}},
      {"ends inside a sample", "Time,A,B\r\n" + Body(11, 2) + "1,2\r\n", LoadFailure::kFormat, {}},
      {"field missing shifts", "Time,A,B\r\n1,2\r\n" + Body(11, 2), LoadFailure::kFormat, {}},
      {"empty time field", "Time,A\r\n0,1\r\n,1\r\n" + rows, LoadFailure::kGeneral,
       ErrorNumber::kTypeMismatch},
      {"letters as time", "Time,A\r\n0,1\r\nabc,1\r\n" + rows, LoadFailure::kGeneral,
       ErrorNumber::kTypeMismatch},
      {"nan as time", "Time,A\r\n0,1\r\nnan,1\r\n" + rows, LoadFailure::kGeneral,
       ErrorNumber::kTypeMismatch},
      {"clock part not a number", "Time,A\r\n0,1\r\n1:x:3,1\r\n" + rows, LoadFailure::kGeneral,
       ErrorNumber::kTypeMismatch},
      {"data beyond a single", "Time,A\r\n" + rows + "3000,1e39\r\n", LoadFailure::kGeneral,
       ErrorNumber::kOverflow},
      {"time beyond a single", "Time,A\r\n1e39,1\r\n" + rows, LoadFailure::kGeneral,
       ErrorNumber::kOverflow},
      {"clock beyond 32 bits", "Time,A\r\n597:00:00,1\r\n" + rows, LoadFailure::kGeneral,
       ErrorNumber::kOverflow},
  };
  for (const Case& c : cases) {
    LogTable table;
    const LoadError error = Load(c.text, table);
    EXPECT_EQ(error.kind, c.kind) << c.what;
    if (c.kind == LoadFailure::kGeneral) {
      EXPECT_EQ(error.number, c.number) << c.what;
    }
    EXPECT_EQ(table.item_count, 0) << c.what;
    EXPECT_EQ(table.last_sample, 0) << c.what;
    EXPECT_TRUE(table.item_names.empty()) << c.what;
  }
}

TEST(ReadLog, ElevenSamplesAreEnough) {
  LogTable table;
  EXPECT_EQ(Load("Time,A\r\n" + Body(11, 1), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.last_sample, 10);
}

TEST(ReadLog, DataFieldsThatAreNotNumbersReadAsZero) {
  struct Case {
    const char* field;
    float value;
  };
  const Case cases[] = {
      {"abc", 0},
      {"", 0},
      {"nan", 0},
      {"inf", 0},
      {"0x1p3", 0},
      {"\"12\"", 0},
      {"1e-45", 0},
      {"1e-60", 0},
      {"1 2", 0},
      {"1e", 0},
      {" 12 ", 12},
      {"\t-3.5", -3.5f},
      {"+5", 5},
      {"5.", 5},
      {".768", 0.768f},
      {"1e3", 1000},
      {"-2.5E-1", -0.25f},
      {"1.5e37", 1.5e37f},
      {"16777217", 16777216},
      {"-33554434", -33554432},  // a half beyond 2^24 goes to even
      {"123456789012345", 123456789012345.0f},
      {"0.1", 0.1f},
      {"123456.789012", 123456.789012f},
  };
  for (const Case& c : cases) {
    LogTable table;
    const std::string text = std::string("Time,A,B\r\n0,") + c.field + ",7\r\n" + Body(11, 2);
    ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone) << c.field;
    EXPECT_EQ(table.Values(1)[0], c.value) << c.field;
    EXPECT_EQ(table.Values(2)[0], 7) << c.field;  // nothing shifted
  }
}

TEST(ReadLog, LineEndsBomAndBlankLinesReadAlike) {
  LogTable expected;
  ASSERT_EQ(Load("Time,A,B\r\n" + Body(12, 2), expected).kind, LoadFailure::kNone);
  const std::string texts[] = {
      "Time,A,B\n" + Body(12, 2, "\n"),
      "Time,A,B\r" + Body(12, 2, "\r"),
      "\xEF\xBB\xBFTime,A,B\r\n" + Body(12, 2),
      "\r\n\r\nTime,A,B\r\n\r\n" + Body(6, 2, "\n\n") + Body(6, 2, "\r\r\n").substr(0) + "\r\n",
  };
  for (const std::string& text : texts) {
    LogTable table;
    ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone) << text;
    EXPECT_EQ(table.item_names, expected.item_names);
    EXPECT_EQ(table.last_sample, 11);
    EXPECT_EQ(Column(table, 2).size(), 12u);
  }
}

TEST(ReadLog, LineEndsCountLikeSeparators) {
  // Two samples on one line, then one sample spread over two lines.
  LogTable table;
  const std::string text = "Time,A\r\n0,1,250,2\r\n500\r\n3\r\n" + Body(11, 1);
  ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.last_sample, 13);
  EXPECT_EQ(Column(table, 0)[1], 250);
  EXPECT_EQ(Column(table, 1)[2], 3);
}

TEST(ReadLog, ClockTimesAreRelativeToTheFirstAndCrossMidnightOnce) {
  std::string text = "Time,A\r\n23:59:59.000,1\r\n00:00:01.000,2\r\n";
  for (int i = 0; i < 10; ++i) {
    text += "00:00:0" + std::to_string(2 + i % 8) + ".500,3\r\n";
  }
  LogTable table;
  ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.Values(0)[0], 0);
  EXPECT_EQ(table.Values(0)[1], 2000);
  EXPECT_EQ(table.Values(0)[2], 3500);
  EXPECT_EQ(table.item_min[0], 0);
}

TEST(ReadLog, ClockTimeAfterPlainFirstTimeUsesReferenceZero) {
  LogTable table;
  ASSERT_EQ(Load("Time,A\r\n100,1\r\n0:0:2,1\r\n" + Body(10, 1), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.Values(0)[0], 100);
  EXPECT_EQ(table.Values(0)[1], 2000);
}

TEST(ReadLog, ItemCountLimits) {
  const auto header = [](int items) {
    std::string text = "Time";
    for (int i = 1; i <= items; ++i) {
      text += ",I" + std::to_string(i);
    }
    return text + "\r\n";
  };
  LogTable table;
  EXPECT_EQ(Load(header(128) + Body(11, 128), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_count, 128);
  EXPECT_EQ(Load(header(129) + Body(11, 129), table).kind, LoadFailure::kFormat);
  // The economy item needs a colour of its own, so it counts.
  std::string fuel = "Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)";
  for (int i = 4; i <= 128; ++i) {
    fuel += ",I" + std::to_string(i);
  }
  EXPECT_EQ(OpenLogFromBuffer(fuel + "\r\n" + Body(11, 128), Settings{}, table).kind,
            LoadFailure::kFormat);
}

TEST(ReadLog, HeaderWithoutSeparatorReadsTimesOnly) {
  std::string times;
  for (int i = 0; i < 11; ++i) {
    times += std::to_string(i * 250) + "\r\n";
  }
  LogTable table;
  ASSERT_EQ(Load("Time\r\n" + times, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_count, 0);
  EXPECT_EQ(table.last_sample, 10);
  EXPECT_EQ(table.Values(0)[10], 2500);
  EXPECT_EQ(Load("Time\r\n" + times.substr(times.find('\n') + 1), table).kind,
            LoadFailure::kTooFewSamples);
}

TEST(ReadLog, RecognisesFuelItems) {
  struct Case {
    const char* header;
    float flow;
    int cylinder;
    bool speed;
    bool economy;
  };
  const Case cases[] = {
      {"Time,vehicle speed (KM/H),ENGINE SPEED,fuel injector #1 pulse width (MS)", 430.72f, 4, true,
       true},
      {"Time,Vehicle Speed (kph),Engine Speed (rpm),Fuel Injector #1 Pulse Width (ms)", 430.72f, 4,
       true, true},
      {"Time,Vehicle Speed (km/h),Engine Speed,Other", 430.72f, 4, true, false},
      {"Time,Speed,Engine Speed,Fuel Injector #1 Pulse Width (ms)", 430.72f, 4, true, true},
      {"Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)", 0, 4, false,
       false},
      {"Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)", 430.72f, 0,
       false, false},
  };
  for (const Case& c : cases) {
    Settings settings;
    settings.injector_flow_scaling = c.flow;
    settings.cylinder = c.cylinder;
    LogTable table;
    ASSERT_EQ(Load(std::string(c.header) + "\r\n" + Body(11, 3), table, settings).kind,
              LoadFailure::kNone)
        << c.header;
    EXPECT_EQ(table.has_speed, c.speed) << c.header;
    EXPECT_EQ(table.has_economy, c.economy) << c.header;
    EXPECT_EQ(table.item_count, c.economy ? 4 : 3) << c.header;
    // The indexes are found whatever the flags say.
    EXPECT_EQ(table.engine_speed_item, 2) << c.header;
  }
}

TEST(ReadLog, AppendsTheEconomyItem) {
  // Flow 430.72 cc/min, latency 0.98 ms, 4 cylinders: 60 km/h at 2000 rpm and 2.98 ms is 17.41.
  std::string text = "Time,Fuel Injector #1 Pulse Width (ms),Vehicle Speed (km/h),Engine Speed\n";
  for (int r = 0; r < 11; ++r) {
    text += std::to_string(r * 250) + (r == 5 ? ",0.5,60,2000\n" : ",2.98,60,2000\n");
  }
  LogTable table;
  ASSERT_EQ(OpenLogFromBuffer(text, Settings{}, table).kind, LoadFailure::kNone);
  ASSERT_EQ(table.item_count, 4);
  EXPECT_EQ(table.item_names[4], "瞬間燃費 (km/l)");
  EXPECT_EQ(table.pulse_width_item, 1);
  EXPECT_EQ(table.speed_item, 2);
  EXPECT_EQ(table.engine_speed_item, 3);
  EXPECT_FLOAT_EQ(table.Values(4)[0], 17.41f);
  EXPECT_FLOAT_EQ(table.Values(4)[5], 17.41f);   // fuel cut repeats the value before
  EXPECT_FLOAT_EQ(table.Values(4)[20], 17.41f);  // tail
  EXPECT_FLOAT_EQ(table.item_max[4], 17.41f);
}

TEST(ReadLog, FuelItemsByOtherNamesAndInMph) {
  // 37.3 mph at 2000 rpm and 2.98 ms: 60.03 km/h over 3.45576 l/h.
  std::string text = "Time,RPM,Injector PW (ms),Speed (mph)\r\n";
  for (int r = 0; r < 11; ++r) {
    text += std::to_string(r * 250) + ",2000,2.98,37.3\r\n";
  }
  LogTable table;
  ASSERT_EQ(OpenLogFromBuffer(text, Settings{}, table).kind, LoadFailure::kNone);
  EXPECT_TRUE(table.has_economy);
  EXPECT_TRUE(table.speed_in_mph);
  EXPECT_EQ(table.Values(3)[0], 37.3f);  // the logged value stays as it is
  EXPECT_EQ(table.Values(4)[0], 17.42f);

  Settings chosen;
  chosen.fuel_items.speed = "speed (MPH)";
  ASSERT_EQ(OpenLogFromBuffer(text, chosen, table).kind, LoadFailure::kNone);
  EXPECT_FALSE(table.speed_in_mph);  // a chosen item is in the chosen unit
  EXPECT_EQ(table.Values(4)[0], 10.82f);
}

TEST(ReadLog, SeparatorsOfRealWorldLogs) {
  // A comma header splits at commas only, whatever the names hold.
  LogTable table;
  ASSERT_EQ(Load("Time,AVLS mode (1 low; 3 high),B\r\n" + Body(11, 2), table).kind,
            LoadFailure::kNone);
  EXPECT_EQ(table.item_names[1], "AVLS mode (1 low; 3 high)");

  // ";" separates and "," is a decimal point everywhere, the seconds of clock times included;
  // "." still is one.
  std::string semicolon = "Time;A;B\r\n23:59:59,250;1,5;2.25\r\n";
  for (int r = 0; r < 10; ++r) {
    semicolon += "00:00:0" + std::to_string(r) + ",5;" + std::to_string(r) + ",75;-0,5e1\r\n";
  }
  ASSERT_EQ(Load(semicolon, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names, (std::vector<std::string>{"Time", "A", "B"}));
  EXPECT_EQ(Column(table, 0)[1], 1250);
  EXPECT_EQ(Column(table, 0)[3], 3250);
  EXPECT_EQ(Column(table, 1)[0], 1.5f);
  EXPECT_EQ(Column(table, 2)[0], 2.25f);
  EXPECT_EQ(Column(table, 1)[2], 1.75f);
  EXPECT_EQ(Column(table, 2)[2], -5);

  // Tab: only "." is a decimal point; a comma makes the field no number.
  std::string tab = "Time\tA\tB\n0\t1,5\t2.5\n";
  for (int r = 1; r < 11; ++r) {
    tab += std::to_string(r * 100) + "\t1\t2\n";
  }
  ASSERT_EQ(Load(tab, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names[2], "B");
  EXPECT_EQ(Column(table, 1)[0], 0);
  EXPECT_EQ(Column(table, 2)[0], 2.5f);
  EXPECT_EQ(Column(table, 0)[10], 1000);
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

TEST(ReadLog, DecodesUtf16Files) {
  std::u16string text = u"時間,速度 (km/h)\r\n";
  for (int r = 0; r < 11; ++r) {
    const std::string row = std::to_string(r * 250) + "," + std::to_string(r) + ".5\r\n";
    text += std::u16string(row.begin(), row.end());
  }
  for (const bool big_endian : {false, true}) {
    LogTable table;
    ASSERT_EQ(Load(Utf16(text, big_endian), table).kind, LoadFailure::kNone);
    EXPECT_EQ(table.item_names, (std::vector<std::string>{"時間", "速度 (km/h)"}));
    EXPECT_EQ(table.Values(1)[3], 3.5f);
  }
}

TEST(ReadLog, FindsTheHeaderAfterATitleBlock) {
  // A scan tool's export: title, date, then a header with ", " between fields and empty fields.
  std::u16string scan = u"診断レポート\r\nNov 9, 2025\r\nTime(s), Vehicle Speed (km/h), Note\r\n";
  for (int r = 0; r < 11; ++r) {
    const std::string row = std::to_string(r) + ".5, " + std::to_string(r) + ", \r\n";
    scan += std::u16string(row.begin(), row.end());
  }
  LogTable table;
  ASSERT_EQ(Load(Utf16(scan, false), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names,
            (std::vector<std::string>{"Time(s)", " Vehicle Speed (km/h)", " Note"}));
  EXPECT_EQ(Column(table, 0)[1], 1500);
  EXPECT_EQ(Column(table, 1)[10], 10);

  std::string title;
  for (int n = 1; n <= 19; ++n) {
    title += "Title line " + std::to_string(n) + "\r\n";
  }
  // The header as the 20th line is found; as the 21st it is not, nor is a header where no line
  // of two fields or more is followed by one of as many, and the reading fails as before.
  ASSERT_EQ(Load(title + "Time,A\r\n" + Body(11, 1), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names, (std::vector<std::string>{"Time", "A"}));
  for (const std::string& text :
       {"Title 0\r\n" + title + "Time,A\r\n" + Body(11, 1), "Title\r\nDate\r\n" + Body(11, 0)}) {
    const LoadError error = Load(text, table);
    EXPECT_EQ(error.kind, LoadFailure::kGeneral);
    EXPECT_EQ(error.number, ErrorNumber::kTypeMismatch);
  }
}

TEST(ReadLog, LeavesOutASampleCounterBeforeTheTime) {
  struct Case {
    const char* header;
    const char* counter;
    std::vector<std::string> names;
    float time1;
  };
  const Case cases[] = {
      {" Sample ,time,A", "x", {"time", "A"}, 50},  // a plain "time" stepping 0.05 is in seconds
      {"#,TIME [ms],A", "1e39", {"TIME [ms]", "A"}, 0.05f},
      {"index,Time (s),A", "", {"Time (s)", "A"}, 50},
      {"Index,Timestamp,A", "7", {"Index", "Timestamp", "A"}, 7},
      {"Time,sample,A", "7", {"Time", "sample", "A"}, 7},
  };
  for (const Case& c : cases) {
    std::string text = std::string(c.header) + "\r\n";
    for (int r = 0; r < 11; ++r) {
      text += std::string(c.counter) + "," + std::to_string(r * 5 / 100.0) + ",1\r\n";
    }
    for (const bool sequential : {false, true}) {
      LogTable table;
      ASSERT_EQ(OpenLogFromBuffer(text, NoFuel(), table, {}, {.sequential = sequential}).kind,
                LoadFailure::kNone)
          << c.header;
      EXPECT_EQ(table.item_names, c.names) << c.header;
      EXPECT_EQ(table.Values(0)[1], c.time1) << c.header;
    }
  }
}

TEST(ReadLog, PlainTimeColumnStepsBelowOneAreSeconds) {
  struct Case {
    const char* name;
    float step;
    int small_steps;  // then steps of 100 up to 300 samples
    float time1;
  };
  const Case cases[] = {
      {"time", 0.5f, 300, 500},
      {"Time_", 0.999f, 300, 999},
      {"time", 1, 300, 1},
      {"Time (ms)", 0.5f, 300, 0.5f},
      {"Time Stamp", 0.5f, 300, 0.5f},
      {"time", 0, 300, 0},
      // The first 101 samples decide: 51 of their 100 steps at 0.5 make the median 0.5; 50 make
      // it the mean of 0.5 and 100.
      {"time", 0.5f, 51, 500},
      {"time", 0.5f, 50, 0.5f},
  };
  for (const Case& c : cases) {
    std::string text = std::string(c.name) + ",A\r\n";
    double time = 0;
    for (int r = 0; r < 300; ++r) {
      text += std::to_string(time) + ",1\r\n";
      time += r < c.small_steps ? c.step : 100;
    }
    LogTable table;
    ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone) << c.name;
    EXPECT_EQ(table.Values(0)[1], c.time1) << c.name << " " << c.small_steps;
  }
  LogTable table;
  ASSERT_EQ(Load("time,A\r\n0:0:0.5,1\r\n" + Body(11, 1), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.Values(0)[1], 0);  // a clock time is no step in seconds
}

TEST(ReadLog, DecodesCp932NamesOneByOne) {
  // "水温" in CP932 beside "油温" in UTF-8, and a name with a byte that is no character.
  const std::string header = "Time,\x90\x85\x89\xB7,油温,bad\xFF\r\n";
  LogTable table;
  ASSERT_EQ(Load(header + Body(11, 3), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names[1], "水温");
  EXPECT_EQ(table.item_names[2], "油温");
  EXPECT_EQ(table.item_names[3], "bad\xEF\xBF\xBD");
}

TEST(ReadLog, TimeColumnInSeconds) {
  struct Case {
    const char* name;
    const char* time;
    float ms;
  };
  const Case cases[] = {
      {"Time (s)", "1.25", 1250},
      {"Time(s)", "0.1", 100},
      {"Time [sec] ", "2", 2000},
      {"Time ( Seconds )", "3.5", 3500},
      {"TIME (SECS)", "1e-3", 1},
      // Taken exactly: 16777217.000001 ms rounds up, which the single 16777.217 would not.
      {"Time (s)", "16777.217000001", 16777218},
      {"Time (s)", "0:0:1.5", 0},  // a clock time stays a clock time (sample 0 is the reference)
      {"Time (ms)", "1.25", 1.25f},
      {"Time (msec)", "7", 7},
      {"Time (s)", "987654321", 987654321000.0f},  // whole seconds beyond 2^24 ms
      {"Time (msec)", "50000001", 50000000},       // rounded once
      {"Time (msec)", "123456789012345", 123456789012345.0f},
      {"Time", "7", 7},
      {"Time (s) (ms)", "7", 7},
      {"Time (s", "7", 7},
      {"Time [s)", "7", 7},
  };
  for (const Case& c : cases) {
    LogTable table;
    const std::string text = std::string(c.name) + ",A\r\n" + c.time + ",1\r\n" + Body(10, 1);
    ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone) << c.name;
    EXPECT_EQ(table.Values(0)[0], c.ms) << c.name << " " << c.time;
  }
}

TEST(ReadLog, ReusesStorageAcrossLoads) {
  LogTable table;
  ASSERT_EQ(Load("Time,A,B,C\r\n" + Body(500, 3), table).kind, LoadFailure::kNone);
  ASSERT_EQ(Load("Time,A\r\n" + Body(20, 1), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.last_sample, 19);
  EXPECT_EQ(table.item_max[1], 191);
  EXPECT_EQ(table.Values(1)[29], 191);
}

// Random text from the characters that steer the reader must never crash it, and a success must
// leave a consistent table.
TEST(ReadLog, SurvivesRandomText) {
  std::mt19937 random(12345);
  const std::string alphabet = "0123456789.,;:\t\r\n -eE+x\xFF\x81";
  for (int round = 0; round < 3000; ++round) {
    std::string text = round % 2 ? "Time,A,B\r\n" : "";
    const int length = static_cast<int>(random() % 400);
    for (int i = 0; i < length; ++i) {
      text += alphabet[random() % alphabet.size()];
    }
    LogTable table;
    if (Load(text, table).kind == LoadFailure::kNone) {
      EXPECT_GE(table.last_sample, 10);
      EXPECT_EQ(table.item_names.size(), static_cast<size_t>(table.item_count) + 1);
      EXPECT_EQ(table.Values(table.item_count).size(), static_cast<size_t>(table.SampleCount()));
    } else {
      EXPECT_EQ(table.item_count, 0);
    }
  }
}

// Everything a load leaves in the table, compared bit for bit.
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
    if (item > 0) {
      EXPECT_TRUE(same_bits(table.PlotY(item), expected.PlotY(item))) << what << " item " << item;
    }
  }
}

struct GeneratedLog {
  const char* what;
  std::string text;
};

// Logs of a few thousand lines in the shapes that loggers write, each with the number forms the
// reader takes a different way (short decimals, long ones, exponents, blanks, signs, zeros of
// both signs, text) and fuel cuts whose economy repeats the value before them.
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
      text += time(r) + sep + std::to_string(random() % 140) + sep +
              std::to_string(800 + random() % 6000) + sep +
              (fuel_cut       ? "0.55"
               : random() % 2 ? "2.5"
                              : "3.125") +
              sep + odd_fields[random() % std::size(odd_fields)] + sep +
              number(static_cast<int>(random() % 7), 1e-3 * (1 + random() % 1000)) + line_end;
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

// The pieces read on several threads give exactly the table of the one field stream, whatever
// the pieces' size, including the fallback to the stream for irregular lines and failures found
// in later pieces.
TEST(ReadLog, PiecesOnThreadsReadLikeOneFieldStream) {
  ReadSplit splits[] = {
      {2, 61, false, 5}, {3, 4096, false, 100}, {2, 0, false, 0}, {1, 100, false, 1}};
  for (const GeneratedLog& log : GeneratedLogs()) {
    LogTable expected;
    const LoadError expected_error =
        OpenLogFromBuffer(log.text, Settings(), expected, {}, {1, 0, true});
    for (const ReadSplit& split : splits) {
      LogTable table;
      const LoadError error = OpenLogFromBuffer(log.text, Settings(), table, {}, split);
      const std::string what = std::string(log.what) + ", pieces of " +
                               std::to_string(split.piece_bytes) + " on " +
                               std::to_string(split.threads);
      EXPECT_EQ(error.kind, expected_error.kind) << what;
      EXPECT_EQ(error.number, expected_error.number) << what;
      ExpectSameTable(expected, table, what);
    }
  }
}

TEST(ReadLog, GeneratedLogsLoadAsWritten) {
  const std::vector<GeneratedLog> logs = GeneratedLogs();
  LogTable table;
  ASSERT_EQ(OpenLogFromBuffer(logs[1].text, Settings(), table).kind, LoadFailure::kNone);
  EXPECT_TRUE(table.has_economy);
  EXPECT_EQ(table.last_sample, 2999);
  EXPECT_EQ(table.Values(0)[620], 620 * 97);  // past midnight
  EXPECT_EQ(OpenLogFromBuffer(logs[5].text, Settings(), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.last_sample, 2999);
  EXPECT_EQ(OpenLogFromBuffer(logs[6].text, Settings(), table).kind, LoadFailure::kFormat);
  const LoadError overflow = OpenLogFromBuffer(logs[7].text, Settings(), table);
  EXPECT_EQ(overflow.kind, LoadFailure::kGeneral);
  EXPECT_EQ(overflow.number, ErrorNumber::kOverflow);
}

TEST(ReadLog, PiecesReadRandomTextLikeOneFieldStream) {
  std::mt19937 random(777);
  const std::string alphabet = "0123456789.,;:\t\r\n -eE+x";
  for (int round = 0; round < 1500; ++round) {
    std::string text = "Time,A,B\r\n";
    const int length = static_cast<int>(random() % 600);
    for (int i = 0; i < length; ++i) {
      text += alphabet[random() % alphabet.size()];
    }
    LogTable expected;
    LogTable table;
    const LoadError expected_error = OpenLogFromBuffer(text, NoFuel(), expected, {}, {1, 0, true});
    const LoadError error = OpenLogFromBuffer(text, NoFuel(), table, {}, {2, 23, false, 3});
    ASSERT_EQ(error.kind, expected_error.kind) << text;
    ASSERT_EQ(error.number, expected_error.number) << text;
    ExpectSameTable(expected, table, text);
  }
}

TEST(ReadLog, ReportsProgressFromZeroUpwards) {
  const std::string text = GeneratedLogs()[0].text;
  std::vector<double> reports;
  LogTable table;
  ASSERT_EQ(OpenLogFromBuffer(text, Settings(), table,
                              [&](double fraction) { reports.push_back(fraction); })
                .kind,
            LoadFailure::kNone);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.front(), 0.0);
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
  EXPECT_LE(reports.back(), 1.0);
}

class ReadLogFile : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    return temp_.Write(name, text);
  }
  TempDir temp_;
  const std::filesystem::path dir_ = temp_.path();
};

TEST_F(ReadLogFile, ReadsAFile) {
  LogTable table;
  EXPECT_EQ(OpenLog(Write("log.csv", "Time,A\n" + Body(11, 1)), NoFuel(), table).kind,
            LoadFailure::kNone);
  EXPECT_EQ(table.last_sample, 10);
}

TEST_F(ReadLogFile, OpenFailuresCarryTheirNumbers) {
  LogTable table;
  const LoadError missing = OpenLog((dir_ / "missing.csv").string(), NoFuel(), table);
  EXPECT_EQ(missing.kind, LoadFailure::kGeneral);
  EXPECT_EQ(missing.number, ErrorNumber::kFileNotFound);
  const LoadError directory = OpenLog(dir_.string(), NoFuel(), table);
  EXPECT_EQ(directory.number, ErrorNumber::kPathAccessError);
  // A FIFO without a writer must not block the reader.
  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(OpenLog(fifo, NoFuel(), table).number, ErrorNumber::kPathAccessError);
  if (geteuid() != 0) {  // the superuser reads files without permission
    const std::string locked = Write("locked.csv", "Time,A\n" + Body(11, 1));
    chmod(locked.c_str(), 0);
    EXPECT_EQ(OpenLog(locked, NoFuel(), table).number, ErrorNumber::kPathAccessError);
  }
  EXPECT_EQ(table.item_count, 0);
}

// A file cut short while it is read (here as soon as the reading starts) is read as far as it
// then reaches, without the process being brought down.
TEST_F(ReadLogFile, FileCutShortWhileReadIsReadAsFarAsItReaches) {
  const std::string text = "Time,A,B\n" + Body(200'000, 2, "\n");
  const size_t kept = text.find('\n', text.size() / 3) + 1;
  const std::string path = Write("shrinking.csv", text);
  LogTable expected;
  ASSERT_EQ(Load(text.substr(0, kept), expected).kind, LoadFailure::kNone);
  bool cut = false;
  LogTable table;
  const LoadError error = OpenLog(path, NoFuel(), table, [&](double) {
    if (!cut) {
      cut = true;
      ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kept)), 0);
    }
  });
  ASSERT_TRUE(cut);
  EXPECT_EQ(error.kind, LoadFailure::kNone);
  ExpectSameTable(expected, table, "cut short");
}

TEST(ParseTimeOfDay, ReadsClockTimes) {
  struct Case {
    const char* text;
    bool decimal_comma;
    LoadFailure kind;
    ErrorNumber number;
    int32_t ms;
  };
  const auto ok = LoadFailure::kNone;
  const auto general = LoadFailure::kGeneral;
  const auto mismatch = ErrorNumber::kTypeMismatch;
  const auto overflow = ErrorNumber::kOverflow;
  const Case cases[] = {
      {"13:05:22.125", false, ok, {}, 47'122'125},   {" 1 : 2 : 3.5 ", false, ok, {}, 3'723'500},
      {"1.5:0:0", false, ok, {}, 7'200'000},  // hours round half to even
      {"2.5:0:0", false, ok, {}, 7'200'000},         {"0:0:1,5", true, ok, {}, 1500},
      {"0:0:1,5", false, general, mismatch, 0},      {"596:0:0", false, ok, {}, 2'145'600'000},
      {"597:0:0", false, general, overflow, 0},      {"0:0:1e39", false, general, overflow, 0},
      {"12:34", false, LoadFailure::kFormat, {}, 0}, {"1::3", false, general, mismatch, 0},
      {"1:2:3:4", false, general, mismatch, 0},      {"a:2:3", false, general, mismatch, 0},
  };
  for (const Case& c : cases) {
    int32_t ms = 0;
    const LoadError error = ParseTimeOfDay(c.text, c.decimal_comma, ms);
    EXPECT_EQ(error.kind, c.kind) << c.text;
    if (c.kind == ok) {
      EXPECT_EQ(ms, c.ms) << c.text;
    } else if (c.kind == general) {
      EXPECT_EQ(error.number, c.number) << c.text;
    }
  }
}

}  // namespace
}  // namespace dravik
