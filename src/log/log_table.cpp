#include "log/log_table.h"

#include <cstring>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace dravik {

namespace {

#if defined(__linux__)
constexpr size_t kHugePage = size_t{2} << 20;
// Below this a block comes from the ordinary heap: huge pages would waste more than they save.
constexpr size_t kMapThreshold = size_t{4} << 20;
#endif

}  // namespace

RawBuffer::RawBuffer(const RawBuffer& other) {
  *this = other;
}

RawBuffer& RawBuffer::operator=(const RawBuffer& other) {
  if (this != &other) {
    Reserve(other.capacity_);
    if (other.capacity_ > 0) {
      std::memcpy(data_, other.data_, other.capacity_);
    }
  }
  return *this;
}

RawBuffer::RawBuffer(RawBuffer&& other) noexcept {
  *this = std::move(other);
}

RawBuffer& RawBuffer::operator=(RawBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
    block_ = std::exchange(other.block_, nullptr);
    block_bytes_ = std::exchange(other.block_bytes_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

RawBuffer::~RawBuffer() {
  Release();
}

void RawBuffer::Reserve(size_t bytes) {
  if (bytes <= capacity_) {
    return;
  }
  Release();
#if defined(__linux__)
  if (bytes >= kMapThreshold) {
    // Round up to whole huge pages and align the start to one, so that every part of the block
    // can be backed by huge pages.
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    const size_t mapped_bytes = rounded + kHugePage;
    void* block =
        mmap(nullptr, mapped_bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
      throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<uintptr_t>(block);
    const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    madvise(reinterpret_cast<void*>(aligned), rounded, MADV_HUGEPAGE);
    block_ = block;
    block_bytes_ = mapped_bytes;
    mapped_ = true;
    data_ = reinterpret_cast<std::byte*>(aligned);
    capacity_ = rounded;
    return;
  }
#endif
  block_ = ::operator new (bytes, std::align_val_t{64});
  block_bytes_ = bytes;
  mapped_ = false;
  data_ = static_cast<std::byte*>(block_);
  capacity_ = bytes;
}

void RawBuffer::Release() {
  if (block_ != nullptr) {
#if defined(__linux__)
    if (mapped_) {
      munmap(block_, block_bytes_);
    } else {
      ::operator delete (block_, std::align_val_t{64});
    }
#else
    ::operator delete (block_, std::align_val_t{64});
#endif
  }
  data_ = nullptr;
  capacity_ = 0;
  block_ = nullptr;
  block_bytes_ = 0;
  mapped_ = false;
}

std::span<const float> LogTable::Values(int item) const {
  return {reinterpret_cast<const float*>(values_.data()) + item * stride_,
          static_cast<size_t>(length_)};
}

std::span<float> LogTable::Values(int item) {
  return {reinterpret_cast<float*>(values_.data()) + item * stride_, static_cast<size_t>(length_)};
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
  speed_in_mph = false;
  engine_speed_item = 0;
  pulse_width_item = 0;
  first_computed = 0;
  computed_count = 0;
  formula_outcomes.clear();
}

void LogTable::Clear() {
  Reset();
  item_names.clear();
  item_count = 0;
  last_sample = 0;
}

void LogTable::Allocate(int columns, int64_t capacity) {
  values_.Reserve(static_cast<size_t>(columns) * static_cast<size_t>(capacity) * sizeof(float));
  columns_ = columns;
  stride_ = capacity;
  length_ = capacity;
}

void LogTable::SetLength(int64_t length) {
  length_ = length;
}

}  // namespace dravik
