#include "log/log_table.h"

namespace dravik {

std::span<const float> LogTable::Values(int item) const {
  return {values_.data() + item * stride_, static_cast<size_t>(length_)};
}

std::span<float> LogTable::Values(int item) {
  return {values_.data() + item * stride_, static_cast<size_t>(length_)};
}

std::span<const int16_t> LogTable::PlotY(int item) const {
  return {plot_y_.data() + item * stride_, static_cast<size_t>(length_)};
}

std::span<int16_t> LogTable::PlotY(int item) {
  return {plot_y_.data() + item * stride_, static_cast<size_t>(length_)};
}

void LogTable::Reset() {
  columns_ = 0;
  stride_ = 0;
  length_ = 0;
  item_min.clear();
  item_max.clear();
  has_speed = false;
  has_economy = false;
  speed_item = 0;
  engine_speed_item = 0;
  pulse_width_item = 0;
}

void LogTable::Clear() {
  Reset();
  item_count = 0;
  last_sample = 0;
}

void LogTable::Allocate(int columns, int64_t capacity) {
  columns_ = columns;
  stride_ = capacity;
  length_ = capacity;
  const size_t needed = static_cast<size_t>(columns) * static_cast<size_t>(capacity);
  if (values_.size() < needed) {
    values_.resize(needed);
  }
}

void LogTable::SetLength(int64_t length) {
  length_ = length;
}

void LogTable::AllocatePlotY() {
  const size_t needed = static_cast<size_t>(columns_) * static_cast<size_t>(stride_);
  if (plot_y_.size() < needed) {
    plot_y_.resize(needed);
  }
}

}  // namespace dravik
