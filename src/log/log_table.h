#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace dravik {

inline constexpr int kMaxItems = 128;    // the item colour table has 128 entries
inline constexpr int kTailSamples = 10;  // samples repeated after the last real one
inline constexpr int kMinRealSamples = 11;

// The one open log: item names, every value (item 0 is the time in ms), extremes, chart
// positions and the recognised fuel items. Items are numbered 0..item_count; samples
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
  bool has_speed = false;    // a speed item was found and the fuel settings are positive
  bool has_economy = false;  // with engine speed and pulse width: the economy is the last item
  int speed_item = 0;        // 0 (the time item) when there is none
  int engine_speed_item = 0;
  int pulse_width_item = 0;

  // Real samples plus the tail samples: the length of every column once a load has finished.
  int64_t SampleCount() const { return item_count > 0 ? last_sample + 1 + kTailSamples : 0; }
  bool IsLoaded() const { return last_sample > 0; }

  // Column of item 0..item_count, `SampleCount()` values long after a load.
  std::span<const float> Values(int item) const;
  std::span<float> Values(int item);
  // Chart positions of item 1..item_count (400 at the top of the range, 10400 at the bottom).
  std::span<const int16_t> PlotY(int item) const;
  std::span<int16_t> PlotY(int item);

  // Start of a load: forget the samples, positions, extremes and fuel items.
  void Reset();
  // After a failed load: as Reset, and item_count and last_sample back to 0.
  void Clear();
  // Makes room for `columns` (item_count + 1) columns of `capacity` samples each and sets the
  // column length to `capacity`; values are left uninitialised. Storage is reused across loads.
  void Allocate(int columns, int64_t capacity);
  // Shortens every column to `length` <= capacity (the samples actually read plus the tail).
  void SetLength(int64_t length);
  // Makes room for the chart positions of the current columns.
  void AllocatePlotY();

 private:
  std::vector<float> values_;  // column c at [c * stride_, c * stride_ + length_)
  std::vector<int16_t> plot_y_;
  int columns_ = 0;
  int64_t stride_ = 0;
  int64_t length_ = 0;
};

}  // namespace dravik
