#include "log/mlvlg_reader.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "common/parallel.h"
#include "log/log_header.h"
#include "log/text_decoding.h"

namespace dravik {
namespace {

constexpr size_t kNameBytes = 34;
constexpr size_t kUnitBytes = 10;
constexpr size_t kMarkerBytes = 50;
constexpr size_t kBlockHeaderBytes = 4;  // type, counter, timestamp
// Bytes of records read by one task, small enough to stay in the cache while each field is taken
// from every record in turn.
constexpr size_t kRangeBytes = size_t{256} << 10;

enum FieldType : uint8_t {
  kU8 = 0,
  kS8 = 1,
  kU16 = 2,
  kS16 = 3,
  kU32 = 4,
  kS32 = 5,
  kS64 = 6,
  kF32 = 7,
  kU8Bits = 10,
  kU16Bits = 11,
  kU32Bits = 12,
};

// Size in bytes of a field type, 0 for a type that does not exist.
size_t TypeSize(uint8_t type) {
  switch (type) {
    case kU8:
    case kS8:
    case kU8Bits:
      return 1;
    case kU16:
    case kS16:
    case kU16Bits:
      return 2;
    case kU32:
    case kS32:
    case kF32:
    case kU32Bits:
      return 4;
    case kS64:
      return 8;
    default:
      return 0;
  }
}

uint64_t Big(const unsigned char* p, size_t bytes) {
  uint64_t value = 0;
  for (size_t i = 0; i < bytes; ++i) {
    value = value << 8 | p[i];
  }
  return value;
}

uint16_t Big16(const unsigned char* p) {
  return static_cast<uint16_t>(Big(p, 2));
}

uint32_t Big32(const unsigned char* p) {
  return static_cast<uint32_t>(Big(p, 4));
}

float BigFloat(const unsigned char* p) {
  return std::bit_cast<float>(Big32(p));
}

// The raw value of a field of `type` at p.
template <uint8_t type>
double Raw(const unsigned char* p) {
  if constexpr (type == kU8 || type == kU8Bits) {
    return p[0];
  } else if constexpr (type == kS8) {
    return static_cast<int8_t>(p[0]);
  } else if constexpr (type == kU16 || type == kU16Bits) {
    return Big16(p);
  } else if constexpr (type == kS16) {
    return static_cast<int16_t>(Big16(p));
  } else if constexpr (type == kU32 || type == kU32Bits) {
    return Big32(p);
  } else if constexpr (type == kS32) {
    return static_cast<int32_t>(Big32(p));
  } else if constexpr (type == kS64) {
    return static_cast<double>(static_cast<int64_t>(Big(p, 8)));
  } else {
    return BigFloat(p);
  }
}

// Text of a zero-padded Latin-1 field, the blanks around it dropped.
std::string PaddedText(const unsigned char* p, size_t bytes) {
  const auto* text = reinterpret_cast<const char*>(p);
  const std::string_view field(text, strnlen(text, bytes));
  return Latin1ToUtf8(TrimBlanks(field));
}

struct Field {
  uint8_t type = 0;
  size_t offset = 0;  // in the record
  double scale = 0;
  double transform = 0;
  int column = 0;  // the table's column, 0 for the time
};

struct Header {
  int version = 0;
  int64_t data_offset = 0;
  size_t record_bytes = 0;
  size_t field_count = 0;
  size_t descriptions = 0;  // where the field descriptions begin
};

// The fixed part of the file's header; false when it is cut short or of another version.
bool ReadHeader(const unsigned char* b, size_t size, Header& header) {
  if (size < 8) {
    return false;
  }
  header.version = static_cast<int16_t>(Big16(b + 6));
  if (header.version != 1 && header.version != 2) {
    return false;
  }
  // After the magic, the version and a timestamp: the info-text offset, whose size differs.
  const size_t at = header.version == 1 ? 14 : 16;
  header.descriptions = at + 8;
  if (size < header.descriptions) {
    return false;
  }
  header.data_offset = static_cast<int32_t>(Big32(b + at));
  header.record_bytes = Big16(b + at + 4);
  header.field_count = Big16(b + at + 6);
  return true;
}

// Where the type-0 blocks of the data lie: the records with a right check byte, and the time in
// 10 us ticks of each from the blocks' timestamps.
struct Blocks {
  std::vector<size_t> records;  // offsets of the records
  std::vector<int64_t> ticks;
};

// Whether the check byte after a record is the sum of its bytes.
bool CheckByteFits(const unsigned char* record, size_t bytes) {
  uint8_t sum = 0;
  for (size_t i = 0; i < bytes; ++i) {
    sum = static_cast<uint8_t>(sum + record[i]);
  }
  return sum == record[bytes];
}

// Reads a byte of every page of [begin, end) on every thread. A mapped file's pages are mapped in
// on their first touch, which costs more than the reading of them: the one pass that steps from
// block to block would take all of it on one thread.
void TouchPages(const unsigned char* begin, const unsigned char* end, int threads) {
  constexpr size_t kPageBytes = 4096;
  constexpr size_t kChunkBytes = size_t{4} << 20;
  const auto size = static_cast<size_t>(end - begin);
  std::atomic<unsigned> sink = 0;
  RunTasks(static_cast<int64_t>((size + kChunkBytes - 1) / kChunkBytes), threads, [&](int64_t c) {
    const size_t first = static_cast<size_t>(c) * kChunkBytes;
    const size_t last = std::min(size, first + kChunkBytes);
    unsigned sum = 0;
    for (size_t at = first; at < last; at += kPageBytes) {
      sum += begin[at];
    }
    sink.fetch_add(sum, std::memory_order_relaxed);
  });
}

// The record blocks in order, found by stepping from block to block (the check bytes are left to
// KeepGoodRecords, which sums the records on every thread).
Blocks FindRecords(const unsigned char* b, size_t size, const Header& header) {
  Blocks blocks;
  if (header.data_offset < 0) {
    return blocks;
  }
  const size_t record_block = kBlockHeaderBytes + header.record_bytes + 1;
  const size_t marker_block = kBlockHeaderBytes + kMarkerBytes;
  int64_t ticks = 0;
  uint16_t previous = 0;
  bool first = true;
  for (auto at = static_cast<size_t>(header.data_offset); at < size && size - at >= 4;) {
    const uint8_t type = b[at];
    const size_t block = type == 0 ? record_block : type == 1 ? marker_block : 0;
    if (block == 0 || size - at < block) {
      break;
    }
    const uint16_t stamp = Big16(b + at + 2);
    ticks += first ? 0 : static_cast<uint16_t>(stamp - previous);
    previous = stamp;
    first = false;
    if (type == 0) {
      blocks.records.push_back(at + kBlockHeaderBytes);
      blocks.ticks.push_back(ticks);
    }
    at += block;
  }
  return blocks;
}

// Leaves out the records whose check byte differs.
void KeepGoodRecords(const unsigned char* b, size_t record_bytes, int threads, Blocks& blocks) {
  const auto count = static_cast<int64_t>(blocks.records.size());
  std::vector<char> good(blocks.records.size());
  const std::vector<int64_t> ranges = SampleRanges(count, threads);
  RunTasks(static_cast<int64_t>(ranges.size()) - 1, threads, [&](int64_t r) {
    for (int64_t s = ranges[static_cast<size_t>(r)]; s < ranges[static_cast<size_t>(r) + 1]; ++s) {
      const auto k = static_cast<size_t>(s);
      good[k] = CheckByteFits(b + blocks.records[k], record_bytes);
    }
  });
  size_t kept = 0;
  for (size_t k = 0; k < good.size(); ++k) {
    if (good[k]) {
      blocks.records[kept] = blocks.records[k];
      blocks.ticks[kept] = blocks.ticks[k];
      ++kept;
    }
  }
  blocks.records.resize(kept);
  blocks.ticks.resize(kept);
}

// Stores the values of `field` in records [first, last) into its column, kEmptyValue for one that
// is not finite or beyond the single range, and tells whether there was such a value.
template <uint8_t type>
bool StoreField(const unsigned char* b, const std::vector<size_t>& records, int64_t first,
                int64_t last, const Field& field, float* column) {
  bool empty = false;
  for (int64_t s = first; s < last; ++s) {
    const double value =
        (Raw<type>(b + records[static_cast<size_t>(s)] + field.offset) + field.transform) *
        field.scale;
    if (std::fabs(value) <= FLT_MAX) {
      column[s] = static_cast<float>(value);
    } else {
      column[s] = kEmptyValue;
      empty = true;
    }
  }
  return empty;
}

bool StoreValues(const unsigned char* b, const std::vector<size_t>& records, int64_t first,
                 int64_t last, const Field& field, float* column) {
  switch (field.type) {
    case kU8:
      return StoreField<kU8>(b, records, first, last, field, column);
    case kS8:
      return StoreField<kS8>(b, records, first, last, field, column);
    case kU16:
      return StoreField<kU16>(b, records, first, last, field, column);
    case kS16:
      return StoreField<kS16>(b, records, first, last, field, column);
    case kU32:
      return StoreField<kU32>(b, records, first, last, field, column);
    case kS32:
      return StoreField<kS32>(b, records, first, last, field, column);
    case kS64:
      return StoreField<kS64>(b, records, first, last, field, column);
    case kF32:
      return StoreField<kF32>(b, records, first, last, field, column);
    case kU8Bits:
      return StoreField<kU8Bits>(b, records, first, last, field, column);
    case kU16Bits:
      return StoreField<kU16Bits>(b, records, first, last, field, column);
    default:
      return StoreField<kU32Bits>(b, records, first, last, field, column);
  }
}

}  // namespace

LoadError MlvlgReader::Read(std::string_view bytes, const ReadContext& context,
                            LogTable& table) const {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  Header header;
  if (!ReadHeader(b, size, header)) {
    return Failure(LoadFailure::kFormat);
  }
  const size_t description_bytes = header.version == 1 ? 55 : 89;
  if ((size - header.descriptions) / description_bytes < header.field_count) {
    return Failure(LoadFailure::kFormat);
  }
  std::vector<Field> fields(header.field_count);
  std::vector<std::string> names(1, "Time");
  bool has_time_field = false;
  size_t record_offset = 0;
  for (size_t f = 0; f < header.field_count; ++f) {
    const unsigned char* d = b + header.descriptions + f * description_bytes;
    Field& field = fields[f];
    field.type = d[0];
    field.offset = record_offset;
    const size_t field_size = TypeSize(field.type);
    if (field_size == 0) {
      return Failure(LoadFailure::kFormat);
    }
    record_offset += field_size;
    const std::string name = PaddedText(d + 1, kNameBytes);
    const std::string unit = PaddedText(d + 1 + kNameBytes, kUnitBytes);
    const unsigned char* numbers = d + 1 + kNameBytes + kUnitBytes + 1;  // after the style
    field.scale = BigFloat(numbers);
    field.transform = BigFloat(numbers + 4);
    if (!has_time_field && name.size() == 4 && LowerAscii(name[0]) == 't' &&
        LowerAscii(name[1]) == 'i' && LowerAscii(name[2]) == 'm' && LowerAscii(name[3]) == 'e') {
      has_time_field = true;
      field.column = 0;
      names[0] = NameWithUnit(name, unit);
    } else {
      field.column = static_cast<int>(names.size());
      names.push_back(NameWithUnit(name, unit));
    }
  }
  if (record_offset != header.record_bytes) {
    return Failure(LoadFailure::kFormat);
  }
  LoadError error = SetItemNames(std::move(names), context, table);
  if (Failed(error)) {
    return error;
  }

  if (header.data_offset >= 0 && static_cast<size_t>(header.data_offset) < size) {
    TouchPages(b + header.data_offset, b + size, context.threads);
  }
  Blocks blocks = FindRecords(b, size, header);
  KeepGoodRecords(b, header.record_bytes, context.threads, blocks);
  context.progress->Report(kScanShare);
  const auto samples = static_cast<int64_t>(blocks.records.size());
  if (samples < kMinRealSamples) {
    return Failure(LoadFailure::kTooFewSamples);
  }
  table.Allocate(table.item_count + 1, samples + kTailSamples);
  if (!has_time_field) {
    float* time = table.Values(0).data();
    for (int64_t s = 0; s < samples; ++s) {
      time[s] = static_cast<float>(static_cast<double>(blocks.ticks[static_cast<size_t>(s)]) / 100);
    }
  }
  const int64_t range_samples =
      std::max<int64_t>(1, static_cast<int64_t>(kRangeBytes / (header.record_bytes + 1)));
  const std::vector<int64_t> ranges = SampleRanges(samples, context.threads, range_samples);
  const int64_t range_count = static_cast<int64_t>(ranges.size()) - 1;
  std::atomic<bool> has_empty = false;
  std::atomic<bool> bad_time = false;
  RunTasks(
      range_count, context.threads,
      [&](int64_t r) {
        const int64_t first = ranges[static_cast<size_t>(r)];
        const int64_t last = ranges[static_cast<size_t>(r) + 1];
        bool empty = false;
        for (const Field& field : fields) {
          float* column = table.Values(field.column).data();
          if (field.column != 0) {
            empty = StoreValues(b, blocks.records, first, last, field, column) || empty;
            continue;
          }
          // Seconds to milliseconds before the one rounding.
          Field in_ms = field;
          in_ms.scale *= 1000;
          if (StoreValues(b, blocks.records, first, last, in_ms, column)) {
            bad_time.store(true, std::memory_order_relaxed);
          }
        }
        if (empty) {
          has_empty.store(true, std::memory_order_relaxed);
        }
      },
      [&](int64_t done) {
        context.progress->Report(kScanShare + kParseShare * static_cast<double>(done) /
                                                  static_cast<double>(range_count));
      });
  if (context.read) {
    context.read();
  }
  if (bad_time.load()) {
    return General(ErrorNumber::kOverflow);
  }
  return CompleteTable(samples, has_empty.load(), context, table);
}

}  // namespace dravik
