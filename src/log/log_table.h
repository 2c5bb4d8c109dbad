#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings.h"

namespace dravik {

// The value a reader stores for a field without a value while it reads: a number field never
// reads as NaN. The reading replaces it by the item's value in the sample before (or its first
// value after) before the table is used.
inline constexpr float kEmptyValue = std::numeric_limits<float>::quiet_NaN();

inline constexpr int kTailSamples = 10;  // samples repeated after the last real one
inline constexpr int kMinRealSamples = 11;
inline constexpr std::string_view kEconomyName = "瞬間燃費 (km/l)";

// What became of one of the user's formulas on a log.
struct FormulaOutcome {
  int item = 0;             // its computed item; 0 when the log cannot have it
  std::string reason;       // why it is left out, empty when it is not
  Formula formula;          // the formula as the log was opened with it
  bool unshowable = false;  // left out because the chart could not show its values
};

// A block of bytes that is neither zeroed on growth nor kept across a growth: its contents are
// undefined until written. Large blocks ask the system for huge pages, because touching fresh
// memory page by page costs more than parsing it. Copies hold a copy of the whole block.
class RawBuffer {
 public:
  RawBuffer() = default;
  RawBuffer(const RawBuffer& other);
  RawBuffer& operator=(const RawBuffer& other);
  RawBuffer(RawBuffer&& other) noexcept;
  RawBuffer& operator=(RawBuffer&& other) noexcept;
  ~RawBuffer();

  // Makes room for at least `bytes`, discarding the contents when the block has to grow.
  // Throws std::bad_alloc when the memory is not there.
  void Reserve(size_t bytes);
  // Gives the memory back.
  void Release();
  std::byte* data() const { return data_; }
  size_t capacity() const { return capacity_; }

 private:
  std::byte* data_ = nullptr;
  size_t capacity_ = 0;
  void* block_ = nullptr;  // what the allocation returned; data_ may lie above it for alignment
  size_t block_bytes_ = 0;
  bool mapped_ = false;
};

// The one open log: item names, every value (item 0 is the time in ms), extremes and the
// recognised fuel items. Items are numbered 0..item_count; samples
// 0..last_sample are real, last_sample + 1..last_sample + 10 are the tail samples, which repeat the
// last real values of items 1..item_count and carry time 0. Values are stored item-major, one
// contiguous column per item.
class LogTable {
 public:
  std::vector<std::string> item_names;  // 0..item_count; 0 names the time column
  int item_count = 0;                   // data items, also the highest item index
  int64_t last_sample = 0;              // index of the last real sample; 0 while empty
  std::vector<float> item_min;          // 0..item_count, over the real samples
  std::vector<float> item_max;
  bool has_speed = false;     // a speed item was found and the fuel settings are positive
  bool has_economy = false;   // with engine speed and pulse width: the economy is the last item
  int speed_item = 0;         // 0 (the time item) when there is none
  bool speed_in_mph = false;  // the fuel and trip figures convert the speed item to km/h
  int engine_speed_item = 0;
  int pulse_width_item = 0;
  // The computed items follow the logged items, before the economy item: items
  // first_computed..first_computed + computed_count - 1 (first_computed is 0 without any).
  int first_computed = 0;
  int computed_count = 0;
  std::vector<FormulaOutcome> formula_outcomes;  // one per formula of the settings, in list order

  // Real samples plus the tail samples once a log is loaded (also for a log without data items,
  // whose only column is the time); 0 while empty.
  int64_t SampleCount() const { return last_sample > 0 ? last_sample + 1 + kTailSamples : 0; }
  bool IsLoaded() const { return last_sample > 0; }
  // The items read from the log: 1..LoggedItemCount().
  int LoggedItemCount() const {
    return first_computed > 0 ? first_computed - 1 : item_count - (has_economy ? 1 : 0);
  }

  // Column of item 0..item_count, as long as the columns currently are.
  std::span<const float> Values(int item) const;
  std::span<float> Values(int item);
  // Start of a load: forget the samples, extremes and fuel items.
  void Reset();
  // After a failed load: as Reset, no item names, and item_count and last_sample back to 0.
  void Clear();
  // Makes room for `columns` (item_count + 1) columns of `capacity` samples each and sets the
  // column length to `capacity`; values are left uninitialised. Storage is reused across loads.
  // Throws std::bad_alloc.
  void Allocate(int columns, int64_t capacity);
  // Shortens every column to `length` <= capacity (the samples actually read plus the tail).
  void SetLength(int64_t length);

 private:
  RawBuffer values_;  // float column c at [c * stride_, c * stride_ + length_)
  int columns_ = 0;
  int64_t stride_ = 0;
  int64_t length_ = 0;
};

}  // namespace dravik
