#include <bit>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/open_log.h"
#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "common/settings.h"

namespace dravik::bench {
namespace {

constexpr int64_t kRecordBytesTarget = 100'000'000;
// Field types of the binary format and their sizes, cycled through the fields after the time.
constexpr uint8_t kTypes[] = {0, 1, 2, 3, 4, 5, 7, 10, 11, 12, 2, 2, 3, 7, 7};
constexpr int kSizes[] = {1, 1, 2, 2, 4, 4, 8, 4, 0, 0, 1, 2, 4};
constexpr int kFields = 240;

void Big(std::string& bytes, uint64_t value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    bytes += static_cast<char>(value >> (8 * i) & 0xFF);
  }
}

// A version-2 binary log of kFields fields (a time in ms first) with about 100 MB of records:
// values that wander within their type, a marker block now and then.
bool WriteBinaryLog(const std::string& path, int64_t& record_bytes) {
  std::vector<uint8_t> types = {5};
  int record = 4;
  for (int f = 1; f < kFields; ++f) {
    types.push_back(kTypes[f % std::size(kTypes)]);
    record += kSizes[types.back()];
  }
  std::string head("MLVLG\0", 6);
  Big(head, 2, 2);
  Big(head, 1700000000, 4);
  Big(head, 0, 4);
  Big(head, 24 + 89 * static_cast<uint64_t>(kFields), 4);
  Big(head, static_cast<uint64_t>(record), 2);
  Big(head, kFields, 2);
  for (int f = 0; f < kFields; ++f) {
    head += static_cast<char>(types[static_cast<size_t>(f)]);
    std::string name = f == 0 ? "Time" : "Item " + std::to_string(f);
    name.resize(34, '\0');
    head += name;
    head += std::string(f == 0 ? "s" : "", f == 0 ? 1 : 0) + std::string(f == 0 ? 9 : 10, '\0');
    head += '\0';
    Big(head, std::bit_cast<uint32_t>(f == 0 ? 0.001f : 0.1f), 4);
    Big(head, 0, 4);
    head += '\1';
    head += std::string(34, '\0');
  }
  std::ofstream out(path, std::ios::binary);
  out << head;
  const int64_t records = kRecordBytesTarget / record;
  std::string block;
  for (int64_t r = 0; r < records; ++r) {
    block.clear();
    if (r % 1000 == 999) {
      block += std::string("\1\0", 2);
      Big(block, static_cast<uint64_t>(r * 100), 2);
      block += std::string(50, 'm');
    }
    block += std::string("\0", 1) + static_cast<char>(r & 0xFF);
    Big(block, static_cast<uint64_t>(r * 100), 2);
    const size_t start = block.size();
    Big(block, static_cast<uint64_t>(r * 10), 4);
    for (int f = 1; f < kFields; ++f) {
      const uint64_t wander = static_cast<uint64_t>((r / 7 + f * 13) % 200);
      const uint8_t type = types[static_cast<size_t>(f)];
      Big(block, type == 7 ? std::bit_cast<uint32_t>(static_cast<float>(wander) / 4) : wander,
          kSizes[type]);
    }
    uint8_t sum = 0;
    for (size_t i = start; i < block.size(); ++i) {
      sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(block[i]));
    }
    block += static_cast<char>(sum);
    out << block;
  }
  record_bytes = records * (record + 5);
  return static_cast<bool>(out);
}

}  // namespace

void BinaryReadSection(const Options& options) {
  const std::string path = TempPath(options, "binary_100mb.mlg");
  int64_t record_bytes = 0;
  if (!std::filesystem::exists(path) && !WriteBinaryLog(path, record_bytes)) {
    Row("binary log", "FAILED to write");
    return;
  }
  const auto file_bytes = static_cast<double>(std::filesystem::file_size(path));
  std::printf("\n7. Binary log: %.0f MB, %d fields, read from the page cache on 2 threads\n",
              file_bytes / 1e6, kFields);
  const Settings settings;
  ReadSplit split;
  split.threads = 2;
  LogTable table;
  OpenLog(path, settings, table, {}, split);  // not counted: brings the file into the page cache
  std::vector<double> times;
  for (int round = 0; round < options.repeats; ++round) {
    const Clock::time_point start = Clock::now();
    const LoadError error = OpenLog(path, settings, table, {}, split);
    times.push_back(MsSince(start));
    if (error.kind != LoadFailure::kNone) {
      Row("binary log read", "FAILED");
      return;
    }
  }
  const double ms = Median(times);
  Row("ReadLog of the binary log, median of " + std::to_string(times.size()), Ms(ms),
      std::to_string(static_cast<int>(file_bytes / 1e6 / (ms / 1000))) + " MB/s, " +
          std::to_string(table.last_sample + 1) + " records (target 0.5 s)",
      Verdict(ms <= 500));
}

}  // namespace dravik::bench
