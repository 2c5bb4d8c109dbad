#include "log/text_reader.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/open_log.h"
#include "core/log/read_log_helpers.h"

namespace dravik {
namespace {

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

TEST(ReadLog, ItemCountLimits) {
  const auto header = [](int items) {
    std::string text = "Time";
    for (int i = 1; i <= items; ++i) {
      text += ",I" + std::to_string(i);
    }
    return text + "\r\n";
  };
  LogTable table;
  EXPECT_EQ(Load(header(1024) + Body(11, 1024), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_count, 1024);
  EXPECT_EQ(Load(header(1025) + Body(11, 1025), table).kind, LoadFailure::kFormat);
  // The economy item needs a colour of its own, so it counts.
  std::string fuel = "Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)";
  for (int i = 4; i <= 1024; ++i) {
    fuel += ",I" + std::to_string(i);
  }
  EXPECT_EQ(OpenLogFromBuffer(fuel + "\r\n" + Body(11, 1024), Settings{}, table).kind,
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
            (std::vector<std::string>{"Time(s)", "Vehicle Speed (km/h)", "Note"}));
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

// Loggers that write each item at its own rate leave its field empty in between; blanks and tabs
// count as empty, anything else that is not a number reads 0 like a number. The pieces on threads
// and the field stream read them alike.
TEST(ReadLog, EmptyFieldsHoldTheItemsLastValue) {
  std::string log = "Time; A ;B;C;D\r\n0,000;;1116;;abc\r\n0,020;5;;; \t\r\n";
  for (int r = 2; r < 12; ++r) {
    log += "0," + std::to_string(r * 20) + (r == 3 ? ";;1117;;7\r\n" : ";;;;\r\n");
  }
  const ReadSplit splits[] = {{1, 0, true, 0}, {2, 16, false, 3}};
  for (const ReadSplit& split : splits) {
    LogTable table;
    ASSERT_EQ(OpenLogFromBuffer(log, NoFuel(), table, {}, split).kind, LoadFailure::kNone);
    EXPECT_EQ(table.item_names, (std::vector<std::string>{"Time", "A", "B", "C", "D"}));
    EXPECT_EQ(Column(table, 1), std::vector<float>(12, 5));
    EXPECT_EQ(Column(table, 2), (std::vector<float>{1116, 1116, 1116, 1117, 1117, 1117, 1117, 1117,
                                                    1117, 1117, 1117, 1117}));
    EXPECT_EQ(Column(table, 3), std::vector<float>(12, 0));
    EXPECT_EQ(Column(table, 4), (std::vector<float>{0, 0, 0, 7, 7, 7, 7, 7, 7, 7, 7, 7}));
    EXPECT_EQ(table.item_min[2], 1116);  // no comb down to 0
    EXPECT_EQ(Column(table, 0)[11], 220);
  }
}

// A tab log of a tuning tool: a title in quotes, names, their units (the time's says seconds, a
// name that already ends in its unit keeps it, a unit of blanks is none) and markers among the
// samples.
TEST(ReadLog, UnitsRowsAndMarkerLines) {
  std::string log = "\"Engine log, car 1\"\r\nTime\tRPM\tMAP (kPa)\tLambda\r\ns\trpm\tkPa\t \r\n";
  for (int r = 0; r < 11; ++r) {
    log += "0." + std::to_string(10 + r) + "\t" + std::to_string(800 + r) + "\t30\t1\r\n";
    if (r == 2) {
      log += "MARK 1\r\n";
    }
  }
  LogTable table;
  ASSERT_EQ(Load(log, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names,
            (std::vector<std::string>{"Time (s)", "RPM (rpm)", "MAP (kPa)", "Lambda"}));
  EXPECT_EQ(table.last_sample, 10);
  EXPECT_EQ(Column(table, 0)[3], 130);
  EXPECT_EQ(Column(table, 1)[3], 803);

  // A time column named just "Time" steps by its samples, the markers left out.
  std::string plain = "Time\tA\r\n\tV\r\n";
  for (int r = 0; r < 11; ++r) {
    plain += (r == 10 ? "1.0" : "0." + std::to_string(r)) + "\t1\r\nMARK\r\n";
  }
  ASSERT_EQ(Load(plain, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names, (std::vector<std::string>{"Time", "A (V)"}));
  EXPECT_EQ(Column(table, 0)[10], 1000);
}

TEST(DetectLogFormat, TheContentDecides) {
  struct Case {
    std::string_view bytes;
    LogFormat format;
  };
  const Case cases[] = {
      {"MLVLG\0\0\1", LogFormat::kBinary},
      {"MLVL", LogFormat::kText},
      {" MLVLG", LogFormat::kText},
      {"%DataLog%", LogFormat::kChannelBlock},
      {"\xEF\xBB\xBF \t%DataLog% \r\nChannel : A", LogFormat::kChannelBlock},
      {"%DataLog%x\n", LogFormat::kText},
      {"Time\n%DataLog%\n", LogFormat::kText},
      {"", LogFormat::kText},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectLogFormat(c.bytes), c.format) << c.bytes;
  }
}

// The hand-made logs of every format in the test data: names and samples as written.
TEST(ReadLog, TestDataOfEveryFormat) {
  struct Case {
    const char* file;
    int64_t last_sample;
    std::vector<std::string> first_names;
  };
  const Case cases[] = {
      {"binary_v1.mlg", 12, {"Time (s)", "RPM (rpm)", "Ign (deg)", "MAP (kPa)", "CLT (°C)"}},
      {"binary_v2_wrapping.mlg", 12, {"Time", "RPM (rpm)", "Lambda"}},
      {"channel_block.csv", 13, {"Time", "Engine Speed (rpm)", "MAP (kPa)", "Boost (kPa)"}},
      {"sparse_semicolon.csv", 15, {"Time", "RPM", "MAP", "Lambda", "Speed"}},
      {"tab_units_marks.txt", 13, {"Time (s)", "RPM (rpm)", "MAP (kPa)", "AFR", "IPW (ms)"}},
  };
  for (const Case& c : cases) {
    LogTable table;
    const std::string path = std::string(DRAVIK_TEST_DATA_DIR) + "/" + c.file;
    ASSERT_EQ(OpenLog(path, NoFuel(), table).kind, LoadFailure::kNone) << c.file;
    EXPECT_EQ(table.last_sample, c.last_sample) << c.file;
    EXPECT_TRUE(std::equal(c.first_names.begin(), c.first_names.end(), table.item_names.begin()))
        << c.file << ": " << table.item_names[1];
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

}  // namespace
}  // namespace dravik
