#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings.h"
#include "log/load_error.h"
#include "log/log_table.h"

namespace dravik {

// `rows` lines of "time,v1,...,vn" with time 250 * r and item i holding r * 10 + i.
std::string Body(int rows, int items, std::string_view line_end = "\r\n", int first_time = 0);

// Settings under which no fuel item is recognised, so that no economy item is added.
Settings NoFuel();

// Loads `text` as a log file's bytes.
LoadError Load(std::string_view text, LogTable& table, const Settings& settings = NoFuel());

// The samples of `item` without the tail.
std::vector<float> Column(const LogTable& table, int item);

// Everything a load leaves in the table, compared bit for bit.
void ExpectSameTable(const LogTable& expected, const LogTable& table, const std::string& what);

struct GeneratedLog {
  const char* what;
  std::string text;
};

// Logs of a few thousand lines in the shapes that loggers write, each with the number forms the
// reader takes a different way (short decimals, long ones, exponents, blanks, signs, zeros of
// both signs, text) and fuel cuts whose economy repeats the value before them.
std::vector<GeneratedLog> GeneratedLogs();

// `text` as UTF-16 bytes with the byte-order mark of `big_endian` or little endian.
std::string Utf16(std::u16string_view text, bool big_endian);

// A load of every prefix of `log`, from none to all of it, ends in a table or in the format or
// too-few-samples message: never a crash, a hang or another failure.
void ExpectEveryTruncationLoadsOrFails(const std::string& log);

// Binary logs: `value`'s low `bytes` bytes appended big-endian.
void AppendBig(std::string& bytes, uint64_t value, int bytes_count);

struct MlvlgField {
  uint8_t type = 0;
  std::string name;
  std::string unit;
  float scale = 1;
  float transform = 0;
};

// The header and field descriptions of a binary log of `version` whose data follow at once;
// `extra_record_bytes` makes the record length disagree with the fields.
std::string MlvlgHeader(int version, const std::vector<MlvlgField>& fields,
                        int extra_record_bytes = 0);
// A record block with its check byte (wrong when `bad_check`) and a marker block.
std::string MlvlgRecord(uint16_t timestamp, const std::string& record, bool bad_check = false);
std::string MlvlgMarker(uint16_t timestamp);

}  // namespace dravik
