// Files a user may be handed by a stranger: every one must end in a clear message or a sound load,
// never in a crash, a hang or a half-filled table.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/open_log.h"
#include "chart/scaling.h"
#include "common/path.h"
#include "log/field_reader.h"
#include "log/load_error.h"
#include "support/temp_dir.h"

namespace dravik {
namespace {

namespace fs = std::filesystem;

Settings NoFuel() {
  Settings settings;
  settings.injector_flow_scaling = 0;
  return settings;
}

// `rows` lines "time,v1,...,vn" with time 250 * r and item i holding r + i.
std::string Rows(int rows, int items) {
  std::string text;
  for (int r = 0; r < rows; ++r) {
    text += std::to_string(250 * r);
    for (int i = 1; i <= items; ++i) {
      text += "," + std::to_string(r + i);
    }
    text += "\r\n";
  }
  return text;
}

void ExpectEmpty(const LogTable& table, const std::string& what) {
  EXPECT_EQ(table.item_count, 0) << what;
  EXPECT_EQ(table.last_sample, 0) << what;
  EXPECT_TRUE(table.item_names.empty()) << what;
  EXPECT_EQ(table.SampleCount(), 0) << what;
  EXPECT_FALSE(table.IsLoaded()) << what;
}

// Stops and joins a helper thread however the test ends.
class StopAndJoin {
 public:
  StopAndJoin(std::atomic<bool>& stop, std::thread& thread) : stop_(stop), thread_(thread) {}
  ~StopAndJoin() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool>& stop_;
  std::thread& thread_;
};

class HostileFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    return temp_.Write(name, text);
  }
  // Loads a good log first, so that a failure must also clear what was there.
  LoadError LoadAfterGoodLog(const std::string& path, LogTable& table) {
    const LoadError good = OpenLogFromBuffer("Time,A,B,C\r\n" + Rows(20, 3), NoFuel(), table);
    EXPECT_EQ(good.kind, LoadFailure::kNone);
    return OpenLog(path, NoFuel(), table);
  }
  TempDir temp_;
  const fs::path dir_ = temp_.path();
};

TEST_F(HostileFiles, FailuresShowTheirMessageAndLeaveNothingBehind) {
  std::mt19937 random(7);
  std::string binary(64 << 10, '\0');
  for (char& c : binary) {
    c = static_cast<char>(random());
  }
  std::string many_items = "Time";
  for (int i = 1; i <= 100'000; ++i) {
    many_items += ",I" + std::to_string(i);
  }
  many_items += "\r\n" + Rows(11, 1);
  std::string wide_header;
  while (wide_header.size() < (10u << 20)) {
    wide_header += "Item,";
  }
  wide_header += "\r\n" + Rows(11, 1);
  std::string comma_lines;
  for (int r = 0; r < 20; ++r) {
    comma_lines += ",,,\r\n";
  }
  const std::string rows = Rows(11, 1);
  const std::string long_digits(100'000, '9');

  struct Case {
    const char* name;
    std::string text;
    LoadFailure kind;
    ErrorNumber number;
  };
  const LoadFailure format = LoadFailure::kFormat;
  const LoadFailure general = LoadFailure::kGeneral;
  const Case cases[] = {
      // Random bytes start their first sample with a time field that is not a number.
      {"binary", binary, general, ErrorNumber::kTypeMismatch},
      {"zero bytes", "", format, {}},
      {"only commas", std::string(4000, ','), format, {}},
      {"comma lines", comma_lines, general, ErrorNumber::kTypeMismatch},
      {"only line ends", std::string(5000, '\n'), format, {}},
      {"100000 items", many_items, format, {}},
      {"10 MB header of items", wide_header, format, {}},
      {"-1e39 as data", "Time,A\r\n0,-1e39\r\n" + rows, general, ErrorNumber::kOverflow},
      {"-1e39 as time", "Time,A\r\n-1e39,1\r\n" + rows, general, ErrorNumber::kOverflow},
      {"inf as time", "Time,A\r\n0,1\r\ninf,1\r\n" + rows, general, ErrorNumber::kTypeMismatch},
      {"hex as time", "Time,A\r\n0,1\r\n0x1p3,1\r\n" + rows, general, ErrorNumber::kTypeMismatch},
      {"long digits as data", "Time,A\r\n0," + long_digits + "\r\n" + rows, general,
       ErrorNumber::kOverflow},
      {"long digits as time", "Time,A\r\n" + long_digits + ",1\r\n" + rows, general,
       ErrorNumber::kOverflow},
      {"clock 99999999 hours", "Time,A\r\n99999999:00:00,1\r\n" + rows, general,
       ErrorNumber::kOverflow},
      {"clock minutes beyond", "Time,A\r\n0:99999999999:00,1\r\n" + rows, general,
       ErrorNumber::kOverflow},
      // A range up to the largest single has a scale bound beyond the single range.
      {"range that cannot be scaled", "Time,A\r\n0,3.4e38\r\n" + rows, general,
       ErrorNumber::kDivisionByZero},
  };
  for (const Case& c : cases) {
    LogTable table;
    const auto start = std::chrono::steady_clock::now();
    const LoadError error = LoadAfterGoodLog(Write("case.csv", c.text), table);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(error.kind, c.kind) << c.name;
    if (c.kind == general) {
      EXPECT_EQ(error.number, c.number) << c.name;
      EXPECT_TRUE(IsErrorBox(error)) << c.name;
    }
    EXPECT_FALSE(LoadFailureMessage(error).empty()) << c.name;
    ExpectEmpty(table, c.name);
    EXPECT_LT(elapsed, std::chrono::seconds(10)) << c.name;
  }
}

// 1e38 km/h on 0.00086 l/h is an economy beyond the single range: refused, not drawn as 0.
TEST(HostileValues, AnEconomyBeyondTheSingleRangeFailsTheLoad) {
  std::string text = "Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)\r\n";
  for (int r = 0; r < 12; ++r) {
    text += std::to_string(250 * r) + (r == 6 ? ",1e38,1,1.98\r\n" : ",60,2000,2.98\r\n");
  }
  LogTable table;
  const LoadError error = OpenLogFromBuffer(text, Settings{}, table);
  EXPECT_EQ(error.kind, LoadFailure::kGeneral);
  EXPECT_EQ(error.number, ErrorNumber::kDivisionByZero);
  ExpectEmpty(table, "economy");
}

TEST_F(HostileFiles, OddButReadableValuesLoad) {
  const std::string long_one = "1" + std::string(1000, '0') + "e-1000";
  const std::string long_zero = "0." + std::string(100'000, '0') + "1";
  struct Case {
    const char* field;
    float value;
  };
  const Case cases[] = {{"1e-45", 0}, {long_one.c_str(), 1}, {long_zero.c_str(), 0}};
  for (const Case& c : cases) {
    LogTable table;
    const std::string text =
        "Time,A\r\n" + std::string(c.field) + "," + c.field + "\r\n" + Rows(11, 1);
    ASSERT_EQ(OpenLog(Write("odd.csv", text), NoFuel(), table).kind, LoadFailure::kNone) << c.field;
    EXPECT_EQ(table.Values(0)[0], c.value);
    EXPECT_EQ(table.Values(1)[0], c.value);
  }
}

TEST_F(HostileFiles, LinesUpToTheCapLoadAndLongerOnesFailAtOnce) {
  const size_t cap = kMaxLineBytes;
  // A sample line of `length` bytes: its value padded with blanks, which a number may carry.
  const auto sample = [](size_t length) { return "0," + std::string(length - 3, ' ') + "1\r\n"; };
  const std::string rows = Rows(11, 1);
  const struct {
    const char* name;
    std::string text;
    LoadFailure kind;
  } cases[] = {
      {"header at the cap", "Time," + std::string(cap - 5, 'N') + "\r\n" + rows,
       LoadFailure::kNone},
      {"header beyond", "Time," + std::string(cap - 4, 'N') + "\r\n" + rows, LoadFailure::kFormat},
      {"NUL bytes beyond", std::string(cap + 1, '\0'), LoadFailure::kFormat},
      {"separators beyond", std::string(cap + 1, ','), LoadFailure::kFormat},
      {"sample at the cap", "Time,A\r\n" + sample(cap) + rows, LoadFailure::kNone},
      {"sample beyond", "Time,A\r\n" + rows + sample(cap + 1) + rows, LoadFailure::kFormat},
      {"sample far beyond", "Time,A\r\n" + rows + sample(3 * cap), LoadFailure::kFormat},
      {"field-shifting log beyond", "Time,A\r\n0\r\n" + rows + sample(cap + 1),
       LoadFailure::kFormat},
  };
  for (const auto& c : cases) {
    for (const bool sequential : {false, true}) {
      LogTable table;
      const ReadSplit split{.threads = 2, .piece_bytes = 4096, .sequential = sequential};
      EXPECT_EQ(OpenLogFromBuffer(c.text, NoFuel(), table, {}, split).kind, c.kind)
          << c.name << (sequential ? " sequential" : "");
    }
  }
}

TEST_F(HostileFiles, ClockTimesGoingBackwardsCountFromTheNextDay) {
  std::string text = "Time,A\r\n";
  for (int r = 0; r < 12; ++r) {
    text += "12:00:" + std::to_string(30 - r) + ".000," + std::to_string(r) + "\r\n";
  }
  LogTable table;
  ASSERT_EQ(OpenLog(Write("back.csv", text), NoFuel(), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.Values(0)[0], 0);
  EXPECT_EQ(table.Values(0)[1], 86'399'000);
  EXPECT_EQ(table.Values(0)[11], 86'389'000);
  const PlotPositions plot_y = PlotPositionsOf(table, 1, 0);
  for (int64_t s = 0; s < plot_y.size(); ++s) {
    EXPECT_GE(plot_y[s], 400);
    EXPECT_LE(plot_y[s], 10400);
  }
}

TEST_F(HostileFiles, PathsThatAreNoLogFailWithTheirNumber) {
  const std::string gone = Write("gone.csv", "Time,A\r\n" + Rows(11, 1));
  fs::remove(gone);  // chosen in the dialog, deleted before the load
  fs::create_directory(dir_ / "folder.csv");
  struct Case {
    const char* name;
    std::string path;
    ErrorNumber number;
  };
  const Case cases[] = {
      {"deleted", gone, ErrorNumber::kFileNotFound},
      {"directory", (dir_ / "folder.csv").string(), ErrorNumber::kPathAccessError},
      {"below a file", Write("plain.csv", "x") + "/log.csv", ErrorNumber::kFileNotFound},
      {"empty path", "", ErrorNumber::kFileNotFound},
  };
  for (const Case& c : cases) {
    LogTable table;
    const LoadError error = LoadAfterGoodLog(c.path, table);
    EXPECT_EQ(error.kind, LoadFailure::kGeneral) << c.name;
    EXPECT_EQ(error.number, c.number) << c.name;
    ExpectEmpty(table, c.name);
  }
}

TEST_F(HostileFiles, PathsWithBlanksQuotesAndNonAsciiLoad) {
  for (const std::string name : {"my log 1.csv", "\"quoted\" 'log'.csv", "ログ ファイル.csv",
                                 "  leading and trailing  ", "semi;colon,comma.csv"}) {
    LogTable table;
    ASSERT_EQ(OpenLog(Write(name, "Time,A\r\n" + Rows(11, 1)), NoFuel(), table).kind,
              LoadFailure::kNone)
        << name;
    EXPECT_EQ(FileNameOf((dir_ / fs::u8path(name)).string()), name);
  }
}

// A logger still appending rows: the load takes the file as far as it reached when it was opened,
// which is either a whole log or one cut inside a sample; every sample read is one written.
TEST_F(HostileFiles, AFileStillBeingWrittenLoadsAsFarAsItReaches) {
  const std::string path = Write("growing.csv", "Time,A,B\r\n" + Rows(50, 2));
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    for (int64_t r = 50; !stop && r < 100'000; ++r) {
      // A row written in two parts, so that a reader may see half of it.
      out << 250 * r << "," << r + 1 << std::flush;
      out << "," << r + 2 << "\r\n" << std::flush;
    }
  });
  const StopAndJoin join_writer(stop, writer);
  for (int load = 0; load < 200; ++load) {
    LogTable table;
    const LoadError error = OpenLog(path, NoFuel(), table);
    if (error.kind != LoadFailure::kNone) {
      EXPECT_EQ(error.kind, LoadFailure::kFormat);
      ExpectEmpty(table, "cut inside a sample");
      continue;
    }
    ASSERT_GE(table.last_sample, 49);
    for (int64_t s = 0; s <= table.last_sample; s += 7) {
      ASSERT_EQ(table.Values(0)[s], 250.0f * static_cast<float>(s));
      ASSERT_EQ(table.Values(1)[s], static_cast<float>(s + 1));
    }
    // The last row may be cut after its second field, which then reads as a value of its own.
    ASSERT_EQ(table.Values(2)[table.last_sample - 1], static_cast<float>(table.last_sample + 1));
  }
}

// Another program cutting the file short while it is read (a mapped file then loses pages): the
// load ends in a sound table or a message, and every sample it keeps is one that was written.
TEST_F(HostileFiles, AFileCutShortWhileReadLoadsOrFails) {
  const std::string text = "Time,A,B\r\n" + Rows(200'000, 2);
  const std::string path = Write("shrinking.csv", text);
  std::atomic<bool> stop{false};
  std::thread cutter([&] {
    for (int round = 0; !stop; ++round) {
      fs::resize_file(path, text.size() / (2 + round % 5));
      std::this_thread::sleep_for(std::chrono::microseconds(300));
      std::ofstream(path, std::ios::binary) << text;
    }
  });
  const StopAndJoin join_cutter(stop, cutter);
  for (int load = 0; load < 40; ++load) {
    LogTable table;
    const LoadError error = OpenLog(path, NoFuel(), table);
    if (error.kind != LoadFailure::kNone) {
      ExpectEmpty(table, "cut short");
      continue;
    }
    for (int64_t s = 0; s < table.last_sample; s += 997) {
      ASSERT_EQ(table.Values(0)[s], 250.0f * static_cast<float>(s)) << s;
      ASSERT_EQ(table.Values(1)[s], static_cast<float>(s + 1)) << s;
    }
  }
}

// The error box shows the catalogue's words, never where the file was nor what it held.
TEST_F(HostileFiles, MessagesHoldNeitherPathNorContent) {
  const std::string secret = "SECRET-ITEM-7f3a";
  fs::create_directory(dir_ / "private dir");
  const auto in_dir = [&](const std::string& name) { return "private dir/" + name; };
  std::vector<std::pair<std::string, LoadError>> loads;
  const auto load = [&](const std::string& path) {
    LogTable table;
    loads.emplace_back(path, OpenLog(path, NoFuel(), table));
  };
  load((dir_ / "private dir/missing-secret.csv").string());
  load((dir_ / "private dir").string());
  load(Write(in_dir("overflow.csv"), "Time," + secret + "\r\n0,1e39\r\n" + Rows(11, 1)));
  load(Write(in_dir("letters.csv"),
             "Time," + secret + "\r\n0,1\r\n" + secret + ",1\r\n" + Rows(11, 1)));
  load(Write(in_dir("scale.csv"), "Time," + secret + "\r\n0,3.4e38\r\n" + Rows(11, 1)));
  load(Write(in_dir("format.csv"), "Time," + secret + "\r\n12:34," + secret + "\r\n"));
  load(Write(in_dir("few.csv"), "Time," + secret + "\r\n" + Rows(3, 1)));
  for (const auto& [path, error] : loads) {
    ASSERT_NE(error.kind, LoadFailure::kNone) << path;
    const std::string text = LoadFailureMessage(error);
    EXPECT_EQ(text.find(secret), std::string::npos) << text;
    EXPECT_EQ(text.find("private"), std::string::npos) << text;
    EXPECT_EQ(text.find(dir_.filename().string()), std::string::npos) << text;
    EXPECT_EQ(text.find(".csv"), std::string::npos) << text;
  }

  // Every catalogue number: exactly the five lines of the box, the description being the
  // catalogue's own.
  for (const ErrorNumber number :
       {ErrorNumber::kOutOfMemory, ErrorNumber::kOverflow, ErrorNumber::kDivisionByZero,
        ErrorNumber::kTypeMismatch, ErrorNumber::kFileNotFound, ErrorNumber::kDeviceIoError,
        ErrorNumber::kPathAccessError}) {
    const int n = static_cast<int>(number);
    EXPECT_EQ(LoadFailureMessage({LoadFailure::kGeneral, number}),
              "エラーです。\r\n場所       : OpenFile()\r\nエラー番号 : " + std::to_string(n) +
                  "\r\n" + ErrorDescription(number) + "\r\nVer 1.22")
        << n;
    EXPECT_EQ(ErrorDescription(number).find(".csv"), std::string::npos) << n;
  }
}

}  // namespace
}  // namespace dravik
