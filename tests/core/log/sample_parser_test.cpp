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

}  // namespace
}  // namespace dravik
