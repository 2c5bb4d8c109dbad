#include "log/sample_parser.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/open_log.h"
#include "core/log/read_log_helpers.h"

namespace dravik {
namespace {

TEST(ReadLog, LineEndsCountLikeSeparators) {
  // Two samples on one line, then one sample spread over two lines.
  LogTable table;
  const std::string text = "Time,A\r\n0,1,250,2\r\n500\r\n3\r\n" + Body(11, 1);
  ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.last_sample, 13);
  EXPECT_EQ(Column(table, 0)[1], 250);
  EXPECT_EQ(Column(table, 1)[2], 3);
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

// Columns whose fields mostly keep their pattern (digits each side of the point, sign, the byte
// after) and now and then change it or hold something else entirely: read in pieces, each field
// checked against the pattern of the one above it, they give the one field stream's table.
TEST(ReadLog, FieldsChangingTheirPatternReadLikeOneFieldStream) {
  std::mt19937 random(4242);
  const std::vector<std::string> odd = {"",      "-",   ".",       "-.5",      "5.",        ".25",
                                        "1.2.3", "1e5", "+7",      "12345678", "0.0000001", "9-9",
                                        "-0",    " 3",  "1234567", "-123456",  "99999.99"};
  for (int round = 0; round < 40; ++round) {
    const int columns = 1 + static_cast<int>(random() % 6);
    std::string text = "Time";
    std::vector<int> before(columns);
    std::vector<int> after(columns);
    for (int c = 0; c < columns; ++c) {
      text += ",I" + std::to_string(c);
      before[c] = static_cast<int>(random() % 5);
      after[c] = static_cast<int>(random() % 4);
    }
    text += round % 2 == 0 ? "\r\n" : "\n";
    for (int row = 0; row < 400; ++row) {
      text += std::to_string(row * 50);
      for (int c = 0; c < columns; ++c) {
        text += ',';
        const unsigned roll = static_cast<unsigned>(random() % 100);
        if (roll < 5) {
          text += odd[random() % odd.size()];
          continue;
        }
        if (roll < 12) {  // the column's pattern changes from here on
          before[c] = static_cast<int>(random() % 5);
          after[c] = static_cast<int>(random() % 4);
        }
        if (random() % 4 == 0) {
          text += '-';
        }
        for (int d = 0; d < std::max(before[c], after[c] == 0 ? 1 : 0); ++d) {
          text += static_cast<char>('0' + random() % 10);
        }
        if (after[c] > 0) {
          text += '.';
          for (int d = 0; d < after[c]; ++d) {
            text += static_cast<char>('0' + random() % 10);
          }
        }
      }
      text += round % 2 == 0 ? "\r\n" : "\n";
    }
    LogTable expected;
    LogTable table;
    const LoadError expected_error = OpenLogFromBuffer(text, NoFuel(), expected, {}, {1, 0, true});
    const LoadError error = OpenLogFromBuffer(text, NoFuel(), table, {}, {2, 97, false, 3});
    ASSERT_EQ(error.kind, expected_error.kind) << text;
    ExpectSameTable(expected, table, "round " + std::to_string(round));
  }
}

}  // namespace
}  // namespace dravik
