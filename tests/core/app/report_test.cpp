#include "app/report.h"

#include <string>
#include <sys/stat.h>
#include <vector>

#include <gtest/gtest.h>

#include "log/load_error.h"
#include "panel/trips_table.h"
#include "support/temp_dir.h"
#include "support/test_log.h"

namespace dravik {
namespace {

TEST(ParseReportArguments, AcceptsTheDocumentedForms) {
  struct Case {
    std::vector<std::string> arguments;
    void (*check)(const ReportOptions&);
  };
  const Case cases[] = {
      {{"log.csv"},
       [](const ReportOptions& o) {
         EXPECT_EQ(o.logs, std::vector<std::string>{"log.csv"});
         EXPECT_TRUE(o.ini_path.empty());
         EXPECT_FALSE(o.has_cursors);
         EXPECT_FALSE(o.trips);
         EXPECT_TRUE(o.png_path.empty());
         EXPECT_EQ(o.width_px, 1000);
         EXPECT_EQ(o.height_px, 600);
         EXPECT_EQ(o.magnification, 1);
         EXPECT_EQ(o.scroll, 0);
         EXPECT_TRUE(o.items.empty());
       }},
      {{"--ini", "a b.ini", "--lang", "en", "--cursors", "12,3", "log.csv"},
       [](const ReportOptions& o) {
         EXPECT_EQ(o.language, Language::kEnglish);
         EXPECT_EQ(o.ini_path, "a b.ini");
         EXPECT_TRUE(o.has_cursors);
         EXPECT_EQ(o.cursor1_sample, 12);
         EXPECT_EQ(o.cursor2_sample, 3);
       }},
      {{"log.csv", "--cursors", "0,0"}, [](const ReportOptions& o) { EXPECT_TRUE(o.has_cursors); }},
      {{"--trips", "a.csv", "b.csv", "--ini", "s.ini"},
       [](const ReportOptions& o) {
         EXPECT_TRUE(o.trips);
         EXPECT_EQ(o.logs, (std::vector<std::string>{"a.csv", "b.csv"}));
         EXPECT_EQ(o.ini_path, "s.ini");
       }},
      {{"--png", "out.png", "--size", "640x480", "--items", "1,3,128", "--magnification", "50",
        "--scroll", "1200", "log.csv"},
       [](const ReportOptions& o) {
         EXPECT_EQ(o.png_path, "out.png");
         EXPECT_EQ(o.width_px, 640);
         EXPECT_EQ(o.height_px, 480);
         EXPECT_EQ(o.items, (std::vector<int>{1, 3, 128}));
         EXPECT_EQ(o.magnification, 50);
         EXPECT_EQ(o.scroll, 1200);
       }},
      {{"--", "--odd-name.csv"},
       [](const ReportOptions& o) {
         EXPECT_EQ(o.logs, std::vector<std::string>{"--odd-name.csv"});
       }},
      {{"--help"}, [](const ReportOptions& o) { EXPECT_TRUE(o.help); }},
      {{"--version"}, [](const ReportOptions& o) { EXPECT_TRUE(o.version); }},
  };
  for (const Case& c : cases) {
    const ReportArguments parsed = ParseReportArguments(c.arguments);
    ASSERT_TRUE(parsed.ok) << c.arguments[0] << ": " << parsed.error;
    c.check(parsed.options);
  }
}

TEST(ParseReportArguments, RefusesMalformedRequests) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"a.csv", "b.csv"},
      {"--trips"},
      {"--ini"},
      {"--ini", "s.ini"},
      {"--lang", "fr", "log.csv"},
      {"--bogus", "log.csv"},
      {"--cursors", "1", "log.csv"},
      {"--cursors", "1,2,3", "log.csv"},
      {"--cursors", "-1,2", "log.csv"},
      {"--cursors", "1,x", "log.csv"},
      {"--cursors", "1,", "log.csv"},
      {"--cursors", " 1,2", "log.csv"},
      {"--trips", "--cursors", "1,2", "a.csv"},
      {"--trips", "--png", "o.png", "a.csv"},
      {"--size", "640x480", "log.csv"},  // image options need --png
      {"--png", "o.png", "--size", "640", "log.csv"},
      {"--png", "o.png", "--size", "0x480", "log.csv"},
      {"--png", "o.png", "--size", "640x40000", "log.csv"},
      {"--png", "o.png", "--size", "-640x480", "log.csv"},
      {"--png", "o.png", "--items", "0", "log.csv"},
      {"--png", "o.png", "--items", "1089", "log.csv"},
      {"--png", "o.png", "--items", "1,,2", "log.csv"},
      {"--png", "o.png", "--magnification", "3", "log.csv"},
      {"--png", "o.png", "--magnification", "1000", "log.csv"},
      {"--png", "o.png", "--scroll", "-5", "log.csv"},
      {"--png", "o.png", "--scroll", "1.5", "log.csv"},
      {"--png", "", "log.csv"},
      {"--offset", "100", "log.csv"},  // needs --compare
      {"--compare", "ref.csv", "--offset", "1s", "log.csv"},
      {"--compare", "ref.csv", "--trips", "a.csv"},
      {"--compare", "ref.csv", "--table", "1,2", "log.csv"},
      {"--compare", "", "log.csv"},
  };
  for (const std::vector<std::string>& arguments : cases) {
    std::string shown;
    for (const std::string& a : arguments) {
      shown += a + " ";
    }
    const ReportArguments parsed = ParseReportArguments(arguments);
    EXPECT_FALSE(parsed.ok) << shown;
    EXPECT_FALSE(parsed.error.empty()) << shown;
  }
}

// A log of 20 samples, 250 ms apart, driving at 36 km/h with the fuel items.
std::string DriveLog() {
  std::string text =
      "Time (msec),Engine Speed (rpm),Vehicle Speed (km/h),Fuel Injector #1 Pulse Width (ms)\r\n";
  for (int s = 0; s < 20; ++s) {
    text += std::to_string(s * 250) + ",2000,36,3.5\r\n";
  }
  return text;
}

ReportOptions Request(std::vector<std::string> logs) {
  ReportOptions options;
  options.logs = std::move(logs);
  return options;
}

TEST(RunReport, PrintsTheTripListAndTheCursorReadout) {
  TempDir dir;
  WriteText(dir / "drive.csv", DriveLog());
  const ReportOutput plain = RunReport(Request({dir / "drive.csv"}));
  EXPECT_EQ(plain.exit_code, 0);
  EXPECT_TRUE(plain.err.empty());
  EXPECT_EQ(plain.out.rfind("走行時間, ", 0), 0u) << plain.out;
  EXPECT_NE(plain.out.find("\r\n燃費, "), std::string::npos) << plain.out;
  EXPECT_EQ(plain.out.substr(plain.out.size() - 2), "\r\n");

  ReportOptions with_cursors = Request({dir / "drive.csv"});
  with_cursors.has_cursors = true;
  with_cursors.cursor1_sample = 2;
  with_cursors.cursor2_sample = 6;
  const ReportOutput cursors = RunReport(with_cursors);
  EXPECT_EQ(cursors.exit_code, 0);
  ASSERT_EQ(cursors.out.rfind(plain.out, 0), 0u);
  const std::string readout = cursors.out.substr(plain.out.size());
  EXPECT_EQ(readout.rfind("項目, 最小値, 現在値1, 現在値2, 変化量, 最大値\r\n", 0), 0u) << readout;
  EXPECT_NE(readout.find(", 500, 1500, 1000, "), std::string::npos) << readout;
  EXPECT_EQ(readout.find("区間"), std::string::npos);  // SectionTime is off at first start
}

TEST(RunReport, CompareAddsTheReferenceColumnsAsTheWindowCopiesThem) {
  TempDir dir;
  WriteText(dir / "drive.csv", DriveLog());
  std::string other = "time (msec),Vehicle Speed (km/h),Knock\r\n";
  for (int s = 0; s < 30; ++s) {
    other += std::to_string(s * 100) + "," + std::to_string(s) + ",0\r\n";
  }
  WriteText(dir / "other.csv", other);
  ReportOptions options = Request({dir / "drive.csv"});
  options.reference_path = dir / "other.csv";
  options.reference_offset_ms = 300;
  options.has_cursors = true;
  options.cursor1_sample = 2;
  options.cursor2_sample = 6;
  // A computed item is computed for the reference as for the log, and compared like any item.
  options.formulas = {{"Double", "[Vehicle Speed (km/h)] * 2"}};
  const ReportOutput output = RunReport(options);
  EXPECT_EQ(output.exit_code, 0) << output.err;
  EXPECT_NE(output.out.find("\r\nDouble, 72, 72, 72, 0, 72, 0, 4, 24, 20, 58\r\n"),
            std::string::npos)
      << output.out;
  EXPECT_EQ(output.out.rfind("走行時間, 5, [秒], 3\r\n平均速度, 37.895, [km/h], 15.000\r\n", 0), 0u)
      << output.out;
  // Cursor times 500 and 1500 ms: reference samples 2 and 12 at the offset of 300 ms.
  EXPECT_NE(output.out.find("\r\nVehicle Speed (km/h), 36, 36, 36, 0, 36, 0, 2, 12, 10, 29\r\n"),
            std::string::npos)
      << output.out;
  EXPECT_NE(output.out.find("\r\nEngine Speed (rpm), 2000, 2000, 2000, 0, 2000, , , , , \r\n"),
            std::string::npos)
      << output.out;

  options.reference_path = dir / "missing.csv";
  const ReportOutput missing = RunReport(options);
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_FALSE(missing.err.empty());

  std::string unrelated_log = "Time,Knock\r\n";
  for (int s = 0; s < 12; ++s) {
    unrelated_log += std::to_string(s * 100) + ",1\r\n";
  }
  WriteText(dir / "unrelated.csv", unrelated_log);
  options.reference_path = dir / "unrelated.csv";
  const ReportOutput unrelated = RunReport(options);
  EXPECT_EQ(unrelated.exit_code, 1);
  EXPECT_EQ(unrelated.err, "比較ログに共通の項目がありません。\r\n");
}

TEST(RunReport, ReadsTheSettingsFileThroughTheReadingPass) {
  TempDir dir;
  WriteText(dir / "drive.csv", DriveLog());
  // No fuel parameters: they read as 0 and the fuel rows go.
  WriteText(dir / "bare.ini", "[Setting]\r\nSectionTime=1\r\n");
  ReportOptions options = Request({dir / "drive.csv"});
  options.ini_path = dir / "bare.ini";
  const ReportOutput bare = RunReport(options);
  EXPECT_EQ(bare.exit_code, 0);
  EXPECT_EQ(bare.out.find("燃費"), std::string::npos) << bare.out;

  WriteText(dir / "full.ini",
            "[Setting]\r\nSectionTime=1\r\nInjectorFlowScaling=430.72\r\n"
            "InjectorLatency=0.98\r\nCylinder=4\r\n");
  options.ini_path = dir / "full.ini";
  options.has_cursors = true;
  options.cursor2_sample = 10;
  const ReportOutput full = RunReport(options);
  EXPECT_EQ(full.exit_code, 0);
  EXPECT_NE(full.out.find("\r\n区間平均速度 (km/h), "), std::string::npos) << full.out;

  options.ini_path = dir / "missing.ini";
  const ReportOutput missing = RunReport(options);
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_NE(missing.err.find("missing.ini"), std::string::npos);

  // Neither an endless device nor a FIFO with no writer holds the run up.
  ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), dir / "fifo.ini"}) {
    options.ini_path = path;
    const ReportOutput device = RunReport(options);
    EXPECT_EQ(device.exit_code, 1) << path;
    EXPECT_NE(device.err.find("not a regular file"), std::string::npos) << device.err;
  }
}

// The same drive as logged by other tools: other fuel item names and speed in mph, a newer pulse
// width name, a scan tool's UTF-16 file after a title block, a tuning tool's sample counter and
// seconds without a unit; and a title block that never finds its header.
TEST(RunReport, LogsOfOtherToolsGiveTheSameFigures) {
  const std::string data = DRAVIK_TEST_DATA_DIR;
  ReportOptions options;
  options.trips = true;
  for (const char* name : {"other_names_mph.csv", "pulse_width_4byte.csv", "scan_tool_utf16.csv",
                           "title_without_header.csv", "tuning_tool_counter.csv"}) {
    options.logs.push_back(data + "/" + name);
  }
  EXPECT_EQ(
      RunReport(options).out,
      "ファイル, 走行時間 [秒], 平均速度 [km/h], 走行距離 [km], 燃料消費量 [l], 燃費 [km/l]\r\n"
      "other_names_mph.csv, 14.750, 9.119, 0.037, 0.017, 2.208\r\n"
      "pulse_width_4byte.csv, 14.750, 9.119, 0.037, 0.017, 2.208\r\n"
      "scan_tool_utf16.csv, 14.750, 9.119, 0.037, 0.017, 2.208\r\n"
      "title_without_header.csv, " +
          FirstLine(LoadFailureMessage({LoadFailure::kGeneral, ErrorNumber::kTypeMismatch})) +
          "\r\n"
          "tuning_tool_counter.csv, 14.750, 9.119, 0.037, 0.017, 2.208\r\n"
          "合計, 59.000, 9.119, 0.149, 0.068, 2.208\r\n");

  // Items chosen in the settings file: the mph speed taken as km/h, the coolant temperature as the
  // engine speed, and a pulse width name that matches nothing left to the automatic rules.
  ReportOptions chosen = Request({data + "/other_names_mph.csv"});
  chosen.ini_path = data + "/chosen_items.ini";
  EXPECT_EQ(RunReport(chosen).out,
            "走行時間, 15, [秒]\r\n平均速度, 5.661, [km/h]\r\n走行距離, 0.023, [km]\r\n"
            "燃料消費量, 0.001, [l]\r\n燃費, 27.488, [km/l]\r\n");
}

TEST(RunReport, TablePrintsTheTableAsItsCopyWritesIt) {
  TempDir dir;
  std::string text = "Time,A,B,C\r\n";
  for (int s = 0; s < 20; ++s) {
    text += std::to_string(s * 100) + "," + std::to_string(s % 4) + "," + std::to_string(s % 5) +
            "," + std::to_string(s) + ".5\r\n";
  }
  WriteText(dir / "grid.csv", text);
  const ReportArguments parsed =
      ParseReportArguments({"--table", "1,2,3", "--bins-x", "0,2,4", "--bins-y", "0, 2.5, 5",
                            "--stat", "max", "--cursors", "15,4", dir / "grid.csv"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const ReportOutput output = RunReport(parsed.options);
  EXPECT_EQ(output.exit_code, 0) << output.err;
  // Samples 4..15: A = s % 4, B = s % 5, C = s + 0.5; the largest C of each cell.
  EXPECT_EQ(output.out,
            "\t0–2\t2–4\r\n"
            "0–2.5\t12.5\t15.5\r\n"
            "2.5–5\t13.5\t14.5\r\n");

  const struct {
    std::vector<std::string> arguments;
    int exit_code;
  } failures[] = {
      {{"--table", "1,4", dir / "grid.csv"}, 2},
      {{"--table", "1,2", "--cursors", "19,30", dir / "grid.csv"}, 1},
      {{"--table", "1,2", "--bins-x", "7,8", dir / "grid.csv"}, 0},
      {{"--table", "1,2", dir / "missing.csv"}, 1},
  };
  for (const auto& f : failures) {
    const ReportOutput failed = RunReport(ParseReportArguments(f.arguments).options);
    EXPECT_EQ(failed.exit_code, f.exit_code) << f.arguments.front() << " " << f.arguments[1];
    EXPECT_EQ(failed.err.empty(), f.exit_code == 0) << failed.err;
  }
}

TEST(RunReport, FormulasAddComputedItemsOrExit2BeforeReading) {
  const ReportArguments parsed = ParseReportArguments(
      {"--formula", "Half=[Engine Speed (rpm)] / 2", "--formula", "A=B=[Half] == 1000", "x.csv"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.options.formulas, (std::vector<Formula>{{"Half", "[Engine Speed (rpm)] / 2"},
                                                           {"A", "B=[Half] == 1000"}}));
  EXPECT_FALSE(ParseReportArguments({"--formula", "no equals", "x.csv"}).ok);

  TempDir dir;
  WriteText(dir / "drive.csv", DriveLog());
  ReportOptions request = Request({dir / "drive.csv"});
  request.has_cursors = true;
  request.formulas = {
      {"Half", "[Engine Speed (rpm)] / 2"}, {"Same", "[half] == 1000"}, {"Gone", "[Boost]"}};
  const ReportOutput output = RunReport(request);
  EXPECT_EQ(output.exit_code, 0);
  EXPECT_NE(
      output.out.find("\r\nHalf, 1000, 1000, 1000, 0, 1000\r\nSame, 1, 1, 1, 0, 1\r\n瞬間燃費"),
      std::string::npos)
      << output.out;
  EXPECT_EQ(output.err,
            "dravik-report: --formula Gone: このログでは使えません: 1文字目: 項目 [Boost] "
            "がありません\r\n");
  // The table takes a computed item by its number like any item: Half is item 4.
  const ReportArguments table =
      ParseReportArguments({"--formula", "Half=[Engine Speed (rpm)] / 2", "--table", "4,2,4",
                            "--bins-x", "0,2000", "--bins-y", "0,50", dir / "drive.csv"});
  ASSERT_TRUE(table.ok) << table.error;
  EXPECT_EQ(RunReport(table.options).out, "\t0–2000\r\n0–50\t1000\r\n");

  // The dialog's message, and nothing read: the log does not even exist.
  request.logs = {dir / "missing.csv"};
  request.formulas = {{"Bad", "1 + [Later]"}, {"Later", "2 *"}};
  const ReportOutput refused = RunReport(request);
  EXPECT_EQ(refused.exit_code, 2);
  EXPECT_TRUE(refused.out.empty());
  EXPECT_EQ(refused.err,
            "dravik-report: --formula Bad: 5文字目: 計算項目 [Later] "
            "はこの計算項目より下にあるので使えません\r\n"
            "dravik-report: --formula Later: 4文字目: 式が途中で終わっています\r\n");
}

TEST(RunReport, AFailedLoadPrintsItsMessageAndExits1) {
  TempDir dir;
  WriteText(dir / "short.csv", "Time,A\r\n0,1\r\n");
  for (const std::string& path : {dir / "missing.csv", dir / "short.csv"}) {
    const ReportOutput output = RunReport(Request({path}));
    EXPECT_EQ(output.exit_code, 1) << path;
    EXPECT_TRUE(output.out.empty()) << path;
    EXPECT_FALSE(output.err.empty()) << path;
    EXPECT_EQ(output.err.substr(output.err.size() - 2), "\r\n");
  }
}

TEST(RunReport, TripsExitsZeroWhenAnyLogLoaded) {
  TempDir dir;
  WriteText(dir / "drive.csv", DriveLog());
  ReportOptions options = Request({dir / "missing.csv", dir / "drive.csv"});
  options.trips = true;
  const ReportOutput some = RunReport(options);
  EXPECT_EQ(some.exit_code, 0);
  EXPECT_NE(some.out.find("\r\nmissing.csv, "), std::string::npos) << some.out;
  EXPECT_NE(some.out.find("\r\ndrive.csv, "), std::string::npos) << some.out;
  EXPECT_NE(some.out.find("\r\n合計, "), std::string::npos) << some.out;
  EXPECT_EQ(some.err,
            "dravik-report: " + dir / "missing.csv" + ": " +
                FirstLine(LoadFailureMessage({LoadFailure::kGeneral, ErrorNumber::kFileNotFound})) +
                "\r\n");

  options.logs = {dir / "missing.csv"};
  EXPECT_EQ(RunReport(options).exit_code, 1);
}

}  // namespace
}  // namespace dravik
