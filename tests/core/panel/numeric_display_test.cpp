#include "panel/numeric_display.h"

#include <tuple>

#include <gtest/gtest.h>

#include "test_log_table.h"

namespace dravik {
namespace {

// Twelve samples 250 ms apart; boost 12.3 at sample 2 and 10.1 at sample 5.
LogTable BoostLog() {
  std::vector<float> time_ms;
  std::vector<float> boost;
  for (int s = 0; s < 12; ++s) {
    time_ms.push_back(static_cast<float>(s) * 250);
    boost.push_back(s == 2 ? 12.3f : s == 5 ? 10.1f : 1.5f);
  }
  return MakeLogTable({"Time", "Boost (psi)"}, {time_ms, boost});
}

// Constant 60 km/h at 2000 rpm and 2.98 ms, twelve samples 250 ms apart, with the economy item.
LogTable DriveLog(float pulse_width_ms = 2.98f, bool economy = true) {
  std::vector<std::vector<float>> columns(5);
  for (int s = 0; s < 12; ++s) {
    columns[0].push_back(static_cast<float>(s) * 250);
    columns[1].push_back(60);
    columns[2].push_back(2000);
    columns[3].push_back(pulse_width_ms);
    columns[4].push_back(17.41f);
  }
  if (!economy) {
    columns.pop_back();
  }
  std::vector<std::string> names = {"Time", "Vehicle Speed (km/h)", "Engine Speed (rpm)",
                                    "Injector Pulse Width (ms)", "瞬間燃費 (km/l)"};
  names.resize(columns.size());
  LogTable table = MakeLogTable(names, columns);
  table.has_speed = true;
  table.speed_item = 1;
  table.has_economy = economy;
  table.engine_speed_item = economy ? 2 : 0;
  table.pulse_width_item = economy ? 3 : 0;
  return table;
}

Settings WithSwitches(bool time_unit_sec, bool section_time) {
  Settings settings;
  settings.time_unit_sec = time_unit_sec ? 1 : 0;
  settings.section_time = section_time ? 1 : 0;
  return settings;
}

TEST(MaxViewList, FillsTheRowsAndEnablesTheCopy) {
  NumericDisplay display;
  MaxViewList(display, BoostLog(), WithSwitches(false, false));
  EXPECT_TRUE(display.copy_enabled);
  EXPECT_EQ(MaxViewClipboardText(display),
            "項目, 最小値, 現在値1, 現在値2, 変化量, 最大値\r\n"
            "Time (ms), 0, 0, 0, 0, 2750\r\n"
            "Boost (psi), 1.5, 0, 0, 0, 12.3\r\n");
}

TEST(MaxViewList, WithoutALogKeepsTheList) {
  NumericDisplay display;
  display.rows.push_back({"old", "1", "2", "3", "4", "5"});
  MaxViewList(display, LogTable{}, WithSwitches(false, true));
  EXPECT_FALSE(display.copy_enabled);
  ASSERT_EQ(display.rows.size(), 1u);
  EXPECT_EQ(display.rows[0][0], "old");
  EXPECT_EQ(MaxViewClipboardText(NumericDisplay{}), "");
}

TEST(MaxViewList, SectionRowsFollowTheSwitchAndTheItems) {
  struct Case {
    bool section_time;
    bool economy;
    size_t rows;
  };
  const Case cases[] = {{false, true, 5}, {true, false, 4 + 2}, {true, true, 5 + 4}};
  for (const Case& c : cases) {
    NumericDisplay display;
    const LogTable table = DriveLog(2.98f, c.economy);
    MaxViewList(display, table, WithSwitches(false, c.section_time));
    ASSERT_EQ(display.rows.size(), c.rows) << c.section_time << c.economy;
    if (c.section_time) {
      const MaxViewRow& first = display.rows[table.item_count + 1];
      EXPECT_EQ(first, (MaxViewRow{"区間平均速度 (km/h)", "―", "―", "―", "0", "―"}));
      EXPECT_EQ(display.rows[table.item_count + 2][0], "区間走行距離 (km)");
    }
    if (c.section_time && c.economy) {
      EXPECT_EQ(display.rows[table.item_count + 3][0], "区間燃料消費量 (l)");
      EXPECT_EQ(display.rows[table.item_count + 4][0], "区間燃費 (km/l)");
    }
  }
}

TEST(ReDrawTime, MillisecondsInTheGeneralFormSecondsRounded) {
  // Three hours: 10 800 000 ms is past the general form's fixed range.
  const LogTable hours = MakeLogTable({"Time", "A"}, {{2500, 3500, 10'800'000}, {1, 1, 1}});
  NumericDisplay display;
  MaxViewList(display, hours, WithSwitches(false, false));
  EXPECT_EQ(display.rows[0][kNameColumn], "Time (ms)");
  EXPECT_EQ(display.rows[0][kMaxColumn], "1.08E+07");

  const LogTable seconds = MakeLogTable({"Time", "A"}, {{2500, 3000, 3500}, {1, 1, 1}});
  MaxViewList(display, seconds, WithSwitches(true, false));
  EXPECT_EQ(display.rows[0][kNameColumn], "Time (秒)");
  EXPECT_EQ(display.rows[0][kMinColumn], "2");
  EXPECT_EQ(display.rows[0][kMaxColumn], "4");
  EXPECT_EQ(MaxViewClipboardText(display),
            "項目, 最小値, 現在値1, 現在値2, 変化量, 最大値\r\n"
            "Time (秒),2, 0, 0, 0, 4\r\n"
            "A, 1, 0, 0, 0, 1\r\n");

  // Switching back rewrites only the name and the extremes.
  display.rows[0][kCursor1Column] = "3";
  ReDrawTime(display, seconds, WithSwitches(false, false));
  EXPECT_EQ(display.rows[0], (MaxViewRow{"Time (ms)", "2500", "3", "0", "0", "3500"}));
}

TEST(UpdateCursorReadout, ValuesAndDecimalDifference) {
  const LogTable table = BoostLog();
  const Settings settings = WithSwitches(false, false);
  NumericDisplay display;
  MaxViewList(display, table, settings);
  UpdateCursorReadout(display, table, settings, 1, 2, 5);
  EXPECT_EQ(display.rows[1], (MaxViewRow{"Boost (psi)", "1.5", "12.3", "0", "2.2", "12.3"}));
  UpdateCursorReadout(display, table, settings, 2, 5, 2);
  EXPECT_EQ(display.rows[0], (MaxViewRow{"Time (ms)", "0", "500", "1250", "750", "2750"}));
  EXPECT_EQ(display.rows[1], (MaxViewRow{"Boost (psi)", "1.5", "12.3", "10.1", "2.2", "12.3"}));

  // Both cursors on one sample.
  UpdateCursorReadout(display, table, settings, 2, 2, 2);
  EXPECT_EQ(display.rows[0][kDifferenceColumn], "0");
  EXPECT_EQ(display.rows[1][kDifferenceColumn], "0");
}

TEST(UpdateCursorReadout, SamplesOutsideTheLogWriteNothing) {
  const LogTable table = BoostLog();
  const Settings settings = WithSwitches(false, false);
  NumericDisplay display;
  MaxViewList(display, table, settings);
  UpdateCursorReadout(display, table, settings, 1, 2, 5);
  const std::vector<MaxViewRow> before = display.rows;
  // Negative, a tail sample, and a cursor on the log beside another off it.
  UpdateCursorReadout(display, table, settings, 1, -1, 5);
  UpdateCursorReadout(display, table, settings, 1, 12, 5);
  UpdateCursorReadout(display, table, settings, 2, 5, 12);
  EXPECT_EQ(display.rows, before);
}

TEST(UpdateCursorReadout, TimeRowInWholeSeconds) {
  struct Case {
    float at_cursor_ms;
    float at_other_ms;
    const char* cursor;
    const char* difference;
  };
  const Case cases[] = {
      {2500, 0, "2", "2"},     {3500, 0, "4", "4"},           {0, 500, "0", "0"},
      {0, 1500, "0", "2"},     {0, 499.5f, "0", "0"},         {1000.25f, 2500.75f, "1", "2"},
      {2500, 2500, "2", "0"},  {0, 15'000'000, "0", "15000"}, {12'345'678, 0, "12346", "12346"},
      {0, 0.00123f, "0", "0"}, {2500.5f, 0, "3", "3"},
  };
  const Settings settings = WithSwitches(true, false);
  for (const Case& c : cases) {
    const LogTable table = MakeLogTable({"Time", "A"}, {{c.at_cursor_ms, c.at_other_ms}, {1, 1}});
    NumericDisplay display;
    MaxViewList(display, table, settings);
    UpdateCursorReadout(display, table, settings, 1, 0, 1);
    EXPECT_EQ(display.rows[0][kCursor1Column], c.cursor) << c.at_cursor_ms << " " << c.at_other_ms;
    EXPECT_EQ(display.rows[0][kDifferenceColumn], c.difference)
        << c.at_cursor_ms << " " << c.at_other_ms;
  }
}

TEST(UpdateSectionReadout, FiguresOfTheSectionInEitherOrder) {
  const LogTable table = DriveLog();
  const Settings settings = WithSwitches(false, true);
  for (const auto& [first, last] : {std::pair<int64_t, int64_t>{0, 9}, {9, 0}}) {
    NumericDisplay display;
    MaxViewList(display, table, settings);
    UpdateSectionReadout(display, table, settings, first, last);
    EXPECT_EQ(display.rows[5][kDifferenceColumn], "66.667");
    EXPECT_EQ(display.rows[6][kDifferenceColumn], "0.042");
    EXPECT_EQ(display.rows[7][kDifferenceColumn], "0.002");
    EXPECT_EQ(display.rows[8][kDifferenceColumn], "17.413");
  }
}

TEST(UpdateSectionReadout, SingleSampleNoFuelAndOutOfRange) {
  const Settings settings = WithSwitches(false, true);
  const LogTable table = DriveLog();
  NumericDisplay display;
  MaxViewList(display, table, settings);
  UpdateSectionReadout(display, table, settings, 4, 4);
  EXPECT_EQ(display.rows[5][kDifferenceColumn], "0.000");
  EXPECT_EQ(display.rows[6][kDifferenceColumn], "0.000");

  const std::vector<MaxViewRow> before = display.rows;
  UpdateSectionReadout(display, table, settings, -1, 4);
  UpdateSectionReadout(display, table, settings, 4, 12);
  EXPECT_EQ(display.rows, before);

  const LogTable coasting = DriveLog(0.5f);  // below the latency throughout
  MaxViewList(display, coasting, settings);
  UpdateSectionReadout(display, coasting, settings, 0, 11);
  EXPECT_EQ(display.rows[7][kDifferenceColumn], "0.000");
  EXPECT_EQ(display.rows[8][kDifferenceColumn], "∞");
}

TEST(UpdateSectionReadout, NothingWithoutTheSwitch) {
  const LogTable table = DriveLog();
  NumericDisplay display;
  MaxViewList(display, table, WithSwitches(false, true));
  const std::vector<MaxViewRow> before = display.rows;
  UpdateSectionReadout(display, table, WithSwitches(false, false), 0, 9);
  EXPECT_EQ(display.rows, before);
}

TEST(CursorReadoutText, CopyAfterPlacingBothCursors) {
  EXPECT_EQ(CursorReadoutText(BoostLog(), WithSwitches(false, true), 2, 5),
            "項目, 最小値, 現在値1, 現在値2, 変化量, 最大値\r\n"
            "Time (ms), 0, 500, 1250, 750, 2750\r\n"
            "Boost (psi), 1.5, 12.3, 10.1, 2.2, 12.3\r\n");
  EXPECT_EQ(CursorReadoutText(DriveLog(2.98f, false), WithSwitches(true, true), 9, 0),
            "項目, 最小値, 現在値1, 現在値2, 変化量, 最大値\r\n"
            "Time (秒),0, 2, 0, 2, 3\r\n"
            "Vehicle Speed (km/h), 60, 60, 60, 0, 60\r\n"
            "Engine Speed (rpm), 2000, 2000, 2000, 0, 2000\r\n"
            "Injector Pulse Width (ms), 2.98, 2.98, 2.98, 0, 2.98\r\n"
            "区間平均速度 (km/h), ―, ―, ―, 66.667, ―\r\n"
            "区間走行距離 (km), ―, ―, ―, 0.042, ―\r\n");
  // A cursor off the log leaves its column and the section at "0".
  EXPECT_EQ(CursorReadoutText(BoostLog(), WithSwitches(false, false), 2, 40),
            "項目, 最小値, 現在値1, 現在値2, 変化量, 最大値\r\n"
            "Time (ms), 0, 0, 0, 0, 2750\r\n"
            "Boost (psi), 1.5, 0, 0, 0, 12.3\r\n");
  EXPECT_EQ(CursorReadoutText(LogTable{}, WithSwitches(false, true), 0, 0), "");
}

TEST(MaxViewColumnWidths, EachColumnItsOwnWidestTextNeverBelowItsLeast) {
  const MaxViewWidths least{215, 57, 57, 57, 57, 57};
  struct Case {
    MaxViewWidths widest;
    MaxViewWidths expected;
  };
  for (const Case& c : {
           Case{{100, 30, 10, 10, 10, 40}, {215, 57, 57, 57, 57, 57}},
           // A very wide difference widens its own column only.
           Case{{100, 30, 10, 10, 300, 40}, {215, 57, 57, 57, 300, 57}},
           // Cursor columns make room for readouts as wide as the bounds they lie between.
           Case{{100, 90, 60, 10, 10, 120}, {215, 90, 120, 120, 57, 120}},
           Case{{100, 30, 150, 10, 10, 40}, {215, 57, 150, 57, 57, 57}},
           // The name column grows up to its limit.
           Case{{300, 30, 10, 10, 10, 40}, {300, 57, 57, 57, 57, 57}},
           Case{{900, 30, 10, 10, 10, 40}, {430, 57, 57, 57, 57, 57}},
       }) {
    EXPECT_EQ(MaxViewColumnWidths(c.widest, least, 430), c.expected) << c.widest[4];
  }
}

TEST(HoverReadout, TheTimeAsTheCursorColumnsWriteItThenTheItemsInTheirColours) {
  const LogTable table =
      MakeLogTable({"Time", "A", "B"}, {{0, 1500, 2500}, {0.1f, 12345678, 3}, {1, 2, 3}});
  Settings settings;
  std::vector<ReadoutLine> lines = HoverReadout(table, settings, {1}, 1);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, "Time (ms): 1500");
  EXPECT_EQ(lines[1].text, "A: 1.234568E+07");
  EXPECT_EQ(lines[1].colour, settings.item_colors[0]);
  settings.time_unit_sec = 1;
  EXPECT_EQ(HoverReadout(table, settings, {}, 2)[0].text, "Time (秒): 2");  // 2.5 s, halves to even
  EXPECT_TRUE(HoverReadout(table, settings, {1}, 3).empty());               // a tail sample
  EXPECT_TRUE(HoverReadout(table, settings, {1}, -1).empty());
  // A unit the time column's name ends in is not said twice.
  for (const auto& [name, seconds, text] : {
           std::tuple{"Time (s)", 0, "Time (ms): 1500"},
           std::tuple{"Time [ms] ", 1, "Time (秒): 2"},
           std::tuple{"Time (msec)", 0, "Time (ms): 1500"},
           std::tuple{"Time (s) (ms)", 0, "Time (s) (ms): 1500"},
           std::tuple{"Zeit (min)", 0, "Zeit (min) (ms): 1500"},
       }) {
    settings.time_unit_sec = seconds;
    const LogTable named = MakeLogTable({name, "A"}, {{0, 1500, 2500}, {1, 2, 3}});
    EXPECT_EQ(HoverReadout(named, settings, {}, 1)[0].text, text) << name;
  }
}

}  // namespace
}  // namespace dravik

namespace dravik {
namespace {

// The reference's columns: values at the cursors' times (the nearest sample, the earlier on a
// tie), their difference, extremes within the main log's times, empty cells for an item the
// reference lacks; a list without a reference copies as before.
TEST(CursorReadoutText, ReferenceColumnsFollowTheSixColumns) {
  LogTable main = BoostLog();
  std::vector<float> other(12, 7);
  main = MakeLogTable(
      {"Time", "Boost (psi)", "Other"},
      {std::vector<float>(main.Values(0).begin(), main.Values(0).begin() + 12),
       std::vector<float>(main.Values(1).begin(), main.Values(1).begin() + 12), other});
  ReferenceLog reference;
  std::vector<float> times;
  std::vector<float> boost;
  for (int s = 0; s < 16; ++s) {
    times.push_back(static_cast<float>(s) * 200);
    boost.push_back(static_cast<float>(s) * 1.5f);
  }
  reference.table = MakeLogTable({"Time", " boost (PSI)"}, {times, boost});
  reference.items = MatchReferenceItems(main, reference.table);
  const Settings settings = WithSwitches(false, false);

  const std::string text = CursorReadoutText(main, settings, 2, 5, &reference);
  EXPECT_EQ(text,
            "項目, 最小値, 現在値1, 現在値2, 変化量, 最大値, 比較 最小値, 比較 現在値1, 比較 "
            "現在値2, 比較 変化量, 比較 最大値\r\n"
            "Time (ms), 0, 500, 1250, 750, 2750, 0, 400, 1200, 800, 2600\r\n"
            "Boost (psi), 1.5, 12.3, 10.1, 2.2, 12.3, 0, 3, 9, 6, 19.5\r\n"
            "Other, 7, 7, 7, 0, 7, , , , , \r\n");
  EXPECT_EQ(CursorReadoutText(main, settings, 2, 5, nullptr),
            CursorReadoutText(main, settings, 2, 5));
  const ReferenceLog closed;
  EXPECT_EQ(CursorReadoutText(main, settings, 2, 5, &closed),
            CursorReadoutText(main, settings, 2, 5));

  // Moved 2 s later: the cursors' times lie before its samples, its extremes within the main
  // log's last 750 ms.
  reference.offset_ms = 2000;
  const std::string moved = CursorReadoutText(main, WithSwitches(true, false), 2, 5, &reference);
  EXPECT_NE(moved.find("\r\nTime (秒),0, 0, 1, 1, 3, 0, , , , 1\r\n"), std::string::npos) << moved;
  EXPECT_NE(moved.find("\r\nBoost (psi), 1.5, 12.3, 10.1, 2.2, 12.3, 0, , , , 4.5\r\n"),
            std::string::npos)
      << moved;
}

TEST(UpdateReferenceReadout, SectionFigureOfTheReferenceWhereItHasTheItems) {
  const LogTable main = DriveLog();
  ReferenceLog reference;
  reference.table = DriveLog(2.98f, false);  // a speed item, no economy
  reference.items = MatchReferenceItems(main, reference.table);
  const Settings settings = WithSwitches(false, true);
  NumericDisplay display;
  MaxViewList(display, main, settings);
  ReferenceList(display, main, reference, settings);
  UpdateReferenceReadout(display, main, reference, settings, 9, 0);
  ASSERT_EQ(display.reference_rows.size(), 9u);
  EXPECT_EQ(display.reference_rows[5], (ReferenceRow{"", "", "", "66.667", ""}));
  EXPECT_EQ(display.reference_rows[6], (ReferenceRow{"", "", "", "0.042", ""}));
  EXPECT_EQ(display.reference_rows[7], ReferenceRow{});
  EXPECT_EQ(display.reference_rows[8], ReferenceRow{});
  EXPECT_EQ(display.reference_rows[4], ReferenceRow{});  // the economy item it lacks

  ReferenceList(display, main, ReferenceLog{}, settings);  // closed: the columns go
  EXPECT_TRUE(display.reference_rows.empty());
}

}  // namespace
}  // namespace dravik
