#include "log/mlvlg_reader.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/log/read_log_helpers.h"

namespace dravik {
namespace {

using Field = MlvlgField;

// One field of every type, in the order of the type numbers; raw values big-endian.
const std::vector<Field> kEveryType = {
    {0, "U8", "rpm", 100, 0},      {1, "S8", "", 1, 0},      {2, "U16", "kPa", 0.1f, 0},
    {3, "S16", "degC", 0.1f, -40}, {4, "U32", "", 1, 0},     {5, "S32", "", 1, 5},
    {6, "S64", "", 1, 0},          {7, "F32", "V", 2, 0},    {10, "Bits8", "", 1, 0},
    {11, "Bits16", "", 1, 0},      {12, "Bits32", "", 1, 0},
};

std::string EveryTypeRecord(int r) {
  std::string record;
  AppendBig(record, 10 + r, 1);              // U8
  AppendBig(record, 0xFF, 1);                // S8: -1
  AppendBig(record, 1013, 2);                // U16
  AppendBig(record, 0xFF9C, 2);              // S16: -100
  AppendBig(record, 4000000000u, 4);         // U32
  AppendBig(record, 0xFFFFFFFE, 4);          // S32: -2
  AppendBig(record, 0xFFFFFFFFFFFFFFF6, 8);  // S64: -10
  AppendBig(record, std::bit_cast<uint32_t>(1.25f), 4);
  AppendBig(record, 0x80, 1);
  AppendBig(record, 0x8000, 2);
  AppendBig(record, 0x80000000, 4);
  return record;
}

TEST(MlvlgReader, ReadsEveryFieldTypeInBothVersions) {
  for (const int version : {1, 2}) {
    std::string log = MlvlgHeader(version, kEveryType);
    for (int r = 0; r < 12; ++r) {
      log += MlvlgRecord(static_cast<uint16_t>(r * 100), EveryTypeRecord(r));
    }
    LogTable table;
    ASSERT_EQ(Load(log, table).kind, LoadFailure::kNone) << version;
    EXPECT_EQ(table.item_names[0], "Time");
    EXPECT_EQ(table.item_names[1], "U8 (rpm)");
    EXPECT_EQ(table.item_names[4], "S16 (degC)");
    EXPECT_EQ(table.item_names[5], "U32");
    const std::vector<float> expected = {1000, -1,   101.3f, -14,   4e9f,         3,
                                         -10,  2.5f, 128,    32768, 2147483648.0f};
    for (int item = 1; item <= 11; ++item) {
      EXPECT_EQ(table.Values(item)[0], expected[item - 1]) << version << " item " << item;
    }
    EXPECT_EQ(table.Values(1)[11], 2100);
    EXPECT_EQ(table.Values(0)[11], 11);  // 1100 ticks of 10 us
  }
}

// Without a time field every block steps the time, markers and records with a bad check byte
// included, and the 16-bit timestamp wraps.
TEST(MlvlgReader, BlockTimestampsWrapAndCountEveryBlock) {
  const std::vector<Field> fields = {{2, "RPM", "rpm", 1, 0}};
  std::string log = MlvlgHeader(2, fields);
  const auto record = [](int value) {
    std::string bytes;
    AppendBig(bytes, static_cast<uint64_t>(value), 2);
    return bytes;
  };
  log += MlvlgRecord(65000, record(1));
  log += MlvlgMarker(65300);
  log += MlvlgRecord(100, record(2));        // 636 ticks after the first block
  log += MlvlgRecord(200, record(3), true);  // bad check byte: left out, its step kept
  for (int r = 0; r < 10; ++r) {
    log += MlvlgRecord(static_cast<uint16_t>(300 + r * 100), record(4 + r));
  }
  log += std::string("\x07", 1) + "junk after an unknown block type";
  LogTable table;
  ASSERT_EQ(Load(log, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.last_sample, 11);
  EXPECT_EQ(Column(table, 0)[0], 0);
  EXPECT_EQ(Column(table, 0)[1], 6.36f);
  EXPECT_EQ(Column(table, 0)[2], 8.36f);
  EXPECT_EQ(Column(table, 1)[2], 4);
}

TEST(MlvlgReader, TimeFieldInSecondsAndValuesThatAreNotFinite) {
  const std::vector<Field> fields = {{7, "MAP", "kPa", 1, 0}, {5, "time", "s", 0.25f, 0}};
  std::string log = MlvlgHeader(1, fields);
  for (int r = 0; r < 11; ++r) {
    std::string bytes;
    const float map = r == 0 || r == 5 ? NAN : (r == 6 ? INFINITY : 90.0f + static_cast<float>(r));
    AppendBig(bytes, std::bit_cast<uint32_t>(map), 4);
    AppendBig(bytes, static_cast<uint64_t>(1500 + 20 * r), 4);
    log += MlvlgRecord(0, bytes);
  }
  LogTable table;
  ASSERT_EQ(Load(log, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names, (std::vector<std::string>{"time (s)", "MAP (kPa)"}));
  EXPECT_EQ(Column(table, 0)[1], 380000);
  EXPECT_EQ(Column(table, 1), (std::vector<float>{91, 91, 92, 93, 94, 94, 94, 97, 98, 99, 100}));
}

TEST(MlvlgReader, BadInputEndsInItsMessage) {
  const std::vector<Field> fields = {{2, "RPM", "rpm", 1, 0}};
  const auto records = [](int count, const std::string& header) {
    std::string log = header;
    for (int r = 0; r < count; ++r) {
      log += MlvlgRecord(static_cast<uint16_t>(r), std::string("\x01\x02", 2));
    }
    return log;
  };
  const std::string good = records(11, MlvlgHeader(1, fields));
  std::string version3 = good;
  version3[7] = 3;
  std::vector<Field> many(1025, Field{0, "X", "", 1, 0});
  struct Case {
    const char* what;
    std::string log;
    LoadFailure kind;
  };
  const Case cases[] = {
      {"cut in the header", good.substr(0, 20), LoadFailure::kFormat},
      {"cut in a field description", good.substr(0, 22 + 54), LoadFailure::kFormat},
      {"version 3", version3, LoadFailure::kFormat},
      {"unknown field type", records(11, MlvlgHeader(1, {{8, "X", "", 1, 0}})),
       LoadFailure::kFormat},
      {"record length does not add up", records(11, MlvlgHeader(1, fields, 3)),
       LoadFailure::kFormat},
      {"1,025 items", MlvlgHeader(2, many), LoadFailure::kFormat},
      {"10 good records", records(10, MlvlgHeader(1, fields)), LoadFailure::kTooFewSamples},
      {"cut inside the data", good + std::string("\0\1\0", 3), LoadFailure::kNone},
      {"11 records", good, LoadFailure::kNone},
  };
  for (const Case& c : cases) {
    LogTable table;
    EXPECT_EQ(Load(c.log, table).kind, c.kind) << c.what;
    EXPECT_EQ(table.last_sample, c.kind == LoadFailure::kNone ? 10 : 0) << c.what;
  }
}

TEST(MlvlgReader, SurvivesTruncationAtEveryByte) {
  for (const int version : {1, 2}) {
    std::string log = MlvlgHeader(version, kEveryType);
    for (int r = 0; r < 13; ++r) {
      log += MlvlgRecord(static_cast<uint16_t>(r * 100), EveryTypeRecord(r));
      if (r == 3) {
        log += MlvlgMarker(350);
      }
    }
    ExpectEveryTruncationLoadsOrFails(log);
  }
}

}  // namespace
}  // namespace dravik
