#pragma once

#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "log/load_error.h"
#include "log/log_table.h"

namespace dravik {

// How the fields of a file are written.
struct TextFormat {
  char separator = ',';
  bool decimal_comma = false;  // "," is a decimal point besides "."
};

inline bool IsLineEnd(char c) {
  return c == '\n' || c == '\r';
}

// The longest line of a log, in bytes without its line end: far more than 1,024 items of any
// sane name or value need. A longer line fails the load with the format message as soon as it is
// met, so that a file of one endless line costs neither memory nor time.
inline constexpr size_t kMaxLineBytes = size_t{1} << 20;

inline constexpr uint64_t kByteOnes = 0x0101010101010101;
inline constexpr uint64_t kByteHighs = 0x8080808080808080;
inline constexpr uint64_t kByteLow7 = 0x7F7F7F7F7F7F7F7F;

// The byte c in every byte of a word.
constexpr uint64_t Broadcast(char c) {
  return kByteOnes * static_cast<unsigned char>(c);
}

// High bit set in exactly the bytes of x that are zero.
constexpr uint64_t ZeroBytes(uint64_t x) {
  return ~(((x & kByteLow7) + kByteLow7) | x | kByteLow7);
}

// Milliseconds since midnight of a clock time "h:m:s" (the seconds keep any further colons, blanks
// around each part are ignored; hours and minutes are rounded to whole numbers, halves to even).
// `decimal_comma` also takes "," as the decimal point. Fewer than three parts is a format failure;
// a part that is not a number is a general kTypeMismatch failure, a result beyond 32 bits or
// seconds beyond the single range a general kOverflow failure. 13:05:22.125 -> 47 122 125.
LoadError ParseTimeOfDay(std::string_view text, bool decimal_comma, int32_t& ms);

// Milliseconds from the clock time `reference_ms` to `clock_ms`, across one midnight at most: a
// log spans less than a day.
inline int64_t ClockTimeAfter(int32_t clock_ms, int32_t reference_ms) {
  constexpr int64_t kDayMs = 86'400'000;
  const int64_t relative = int64_t{clock_ms} - reference_ms;
  return clock_ms < reference_ms ? relative + kDayMs : relative;
}

// Reads the fields of one format: a data field as a single, a time field as milliseconds. Each
// function starts at the first byte of a field and returns where the field ends: at its
// terminator (separator or line-end byte) or at the end of the text. The commonest fields are
// read here, inline in the loops over samples; the rest out of line.
class FieldReader {
 public:
  // `empty_fields`, shared by the readers of every thread, is set when a data field is empty.
  FieldReader(std::string_view text, TextFormat format, bool time_in_seconds,
              std::atomic<bool>& empty_fields)
      : end_(text.data() + text.size()),
        separator_(format.separator),
        decimal_comma_(format.decimal_comma),
        time_shift10_(time_in_seconds ? 3 : 0),
        empty_fields_(&empty_fields) {}

  bool IsTerminator(char c) const { return c == separator_ || IsLineEnd(c); }
  char separator() const { return separator_; }
  const char* end() const { return end_; }

  // A field that is not a number reads as 0, an empty one (or one of blanks and tabs only) as
  // kEmptyValue; one beyond the single range is a kOverflow failure.
  const char* ReadValue(const char* p, float& value, LoadError& error) const {
    size_t length = 0;
    if (ReadShortDecimal(p, 0, value, length)) {
      return p + length;
    }
    const char* q = p;
    if (ReadPlainDecimal(q, 0, value)) {
      return q;
    }
    return ReadOtherValue(p, value, error);
  }

  // The byte pattern of a field that ReadShortDecimal takes: its length, its sign, where its
  // point is and which byte ends it. Most columns write every value with as many digits on each
  // side of the point as the value before, so a field is checked against the pattern of the field
  // above it with a few word operations, and where it ends is known before it is read.
  struct Shape {
    uint64_t fixed_mask = 0;    // the sign, point and terminator bytes; 0 for no pattern
    uint64_t fixed = 0;         // their values
    uint64_t digit_highs = 0;   // the high bit of every byte that must be a digit
    uint64_t before_point = 0;  // the digit bytes before the point (none without a point)
    uint64_t after_point = 0;   // the digit bytes after it (all of them without a point)
    int before_shift = 0;       // moves of the two, as ReadShortDecimal moves the field
    int after_shift = 0;
    double scale = 0;
    bool negative = false;
    int length = 0;
  };

  // ReadValue for a field whose column had `shape` in the field before: a field of that pattern
  // gives the value ReadShortDecimal would; any other is read by ReadValue and its pattern (or
  // none) kept in `shape` for the next.
  const char* ReadValueLike(const char* p, float& value, LoadError& error, Shape& shape) const {
    if (shape.fixed_mask != 0 && end_ - p >= 8) {
      uint64_t word;
      std::memcpy(&word, p, 8);
      const uint64_t digits = word ^ Broadcast('0');
      if (((word ^ shape.fixed) & shape.fixed_mask) == 0 &&
          (NonDigits(digits) & shape.digit_highs) == 0) {
        const uint64_t number = ((digits & shape.before_point) << shape.before_shift) |
                                ((digits & shape.after_point) << shape.after_shift);
        value = ShortValue(number, shape.scale, shape.negative);
        return p + shape.length;
      }
    }
    const char* field_end = ReadValue(p, value, error);
    shape = ShapeOf(p, field_end);
    return field_end;
  }

  // Where the field at p ends, its value left unread.
  const char* SkipField(const char* p) const { return FieldEnd(p); }

  // The time of `sample`: milliseconds as written (or seconds times 1000), or a clock time
  // relative to the reference. A clock time in sample 0 becomes the reference.
  const char* ReadTime(const char* p, int64_t sample, float& time, LoadError& error) {
    size_t length = 0;
    if (ReadShortDecimal(p, time_shift10_, time, length) ||
        ReadLongWhole(p, time_shift10_, time, length)) {
      return p + length;
    }
    const char* q = p;
    if (ReadPlainDecimal(q, time_shift10_, time)) {
      return q;
    }
    return ReadOtherTime(p, sample, time, error);
  }

 private:
  static constexpr float kPow10[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                     1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
  static constexpr uint64_t kPow10Whole[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

  // 10^-6 .. 10^3 for a number of at most 7 digits m (m < 10^7) and its power of ten 10^e. A
  // product with 10^e >= 1 is exact in double. Otherwise m x 10^e, computed in double, lies
  // within 2^-52 of the exact quotient m / 10^-e, while that quotient lies at least
  // 2^-25 / 10^-e >= 2^-45 (relative) from every midpoint between two singles unless it is one,
  // which needs 25 significant bits and so cannot be: rounding the double to a single thus rounds
  // the exact quotient correctly, as a single division would, without the division's cost.
  static constexpr double kShortScale[] = {1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3};

  static bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

  const char* FieldEnd(const char* p) const {
    while (p < end_ && !IsTerminator(*p)) {
      ++p;
    }
    return p;
  }

  // High bit set in the bytes of word ^ Broadcast('0') that are not digits 0..9.
  static uint64_t NonDigits(uint64_t digits) {
    return (((digits & kByteLow7) + Broadcast(0x76)) | digits) & kByteHighs;
  }

  // The value of a short decimal whose digits, without sign and point, stand at the top of
  // `number` one per byte, the leading one in the lowest of them: neighbours are combined into
  // 2-, 4- and then 8-digit numbers, and the whole is scaled once (see kShortScale).
  static float ShortValue(uint64_t number, double scale, bool negative) {
    const auto v = static_cast<float>(static_cast<double>(EightDigits(number)) * scale);
    return negative ? -v : v;
  }

  // The number of the eight digits of a word, one per byte, the leading one in the lowest.
  static uint64_t EightDigits(uint64_t digits) {
    digits = digits * 10 + (digits >> 8);
    digits = (((digits & 0x000000FF000000FF) * (100 + (uint64_t{1000000} << 32))) +
              (((digits >> 16) & 0x000000FF000000FF) * (1 + (uint64_t{10000} << 32)))) >>
             32;
    return digits & 0xFFFFFFFF;
  }

  // A whole number of 8 to 15 digits before its terminator (a time in milliseconds of a log
  // longer than 2 hours 46 minutes), read from two words without a loop. Its integer is exact and
  // converted once, as ReadPlainDecimal does. Needs 16 readable bytes at p.
  bool ReadLongWhole(const char* p, int shift10, float& value, size_t& length) const {
    if constexpr (std::endian::native != std::endian::little) {
      return false;
    }
    if (end_ - p < 16) {
      return false;
    }
    uint64_t high;
    uint64_t low;
    std::memcpy(&high, p, 8);
    std::memcpy(&low, p + 8, 8);
    const uint64_t high_digits = high ^ Broadcast('0');
    const uint64_t low_digits = low ^ Broadcast('0');
    const uint64_t stops = NonDigits(low_digits);
    if (NonDigits(high_digits) != 0 || stops == 0) {
      return false;
    }
    const int rest = std::countr_zero(stops) / 8;  // digits in the second word, 0..7
    if (!IsTerminator(static_cast<char>(low >> (8 * rest)))) {
      return false;
    }
    uint64_t number = EightDigits(high_digits);
    if (rest > 0) {
      const uint64_t rest_digits = low_digits & ((uint64_t{1} << (8 * rest)) - 1);
      number = number * kPow10Whole[rest] + EightDigits(rest_digits << (8 * (8 - rest)));
    }
    value = static_cast<float>(number * (shift10 == 0 ? 1 : 1000));
    length = static_cast<size_t>(8 + rest);
    return true;
  }

  // The pattern of the field p..field_end when ReadShortDecimal takes it as a value, else none.
  Shape ShapeOf(const char* p, const char* field_end) const {
    const auto length = static_cast<int>(field_end - p);
    if (length < 1 || length > 7 || end_ - p < 8 || field_end == end_) {
      return {};
    }
    const bool negative = *p == '-';
    int point = -1;
    int digit_count = 0;
    for (int i = negative ? 1 : 0; i < length; ++i) {
      if (IsDigit(p[i])) {
        ++digit_count;
      } else if (point < 0 && (p[i] == '.' || (decimal_comma_ && p[i] == ','))) {
        point = i;
      } else {
        return {};
      }
    }
    if (digit_count == 0) {
      return {};
    }
    const auto byte_at = [](int i, char c) {
      return uint64_t{static_cast<unsigned char>(c)} << (8 * i);
    };
    Shape shape;
    shape.fixed_mask = byte_at(length, '\xFF');
    shape.fixed = byte_at(length, p[length]);
    uint64_t digit_bytes = (uint64_t{1} << (8 * length)) - 1;
    if (negative) {
      shape.fixed_mask |= 0xFF;
      shape.fixed |= '-';
      digit_bytes &= ~uint64_t{0xFF};
    }
    const int shift = 8 * (8 - length);
    int fraction_digits = 0;
    if (point >= 0) {
      shape.fixed_mask |= byte_at(point, '\xFF');
      shape.fixed |= byte_at(point, p[point]);
      digit_bytes &= ~byte_at(point, '\xFF');
      const uint64_t below = (uint64_t{1} << (8 * point)) - 1;
      shape.before_point = digit_bytes & below;
      shape.after_point = digit_bytes & ~below;
      shape.before_shift = shift + 8;
      fraction_digits = length - 1 - point;
    } else {
      shape.after_point = digit_bytes;
    }
    shape.after_shift = shift;
    shape.digit_highs = digit_bytes & kByteHighs;
    shape.scale = kShortScale[6 - fraction_digits];
    shape.negative = negative;
    shape.length = length;
    return shape;
  }

  // The fields that neither ReadShortDecimal nor ReadPlainDecimal takes.
  const char* ReadOtherValue(const char* p, float& value, LoadError& error) const;
  const char* ReadOtherTime(const char* p, int64_t sample, float& time, LoadError& error);

  // The commonest field, up to 7 bytes of an optional "-", digits and at most one decimal point
  // before its terminator, read from one 8-byte word without a loop: the word is checked for
  // anything else, the point is squeezed out and the digits are combined pairwise. Needs 8
  // readable bytes at p. The value is rounded once, as in ReadPlainDecimal.
  bool ReadShortDecimal(const char* p, int shift10, float& value, size_t& length) const {
    if constexpr (std::endian::native != std::endian::little) {
      return false;
    }
    if (end_ - p < 8) {
      return false;
    }
    uint64_t word;
    std::memcpy(&word, p, 8);
    // Digits become 0..9; a byte of 10 or more (or with its high bit set) is not a digit.
    const uint64_t digits = word ^ Broadcast('0');
    const uint64_t non_digits = NonDigits(digits);
    uint64_t points = ZeroBytes(word ^ Broadcast('.'));
    if (decimal_comma_) {
      points |= ZeroBytes(word ^ Broadcast(','));
    }
    const bool negative = (word & 0xFF) == '-';
    // The field ends at the first byte that is neither a digit, a point nor a leading sign; that
    // byte must be a terminator.
    const uint64_t stops = non_digits & ~points & ~(negative ? uint64_t{0x80} : 0);
    if (stops == 0) {
      return false;
    }
    const int bytes = std::countr_zero(stops) / 8;  // the field's length, 0..7
    if (!IsTerminator(static_cast<char>(word >> (8 * bytes)))) {
      return false;
    }
    const uint64_t field_bytes = (uint64_t{1} << (8 * bytes)) - 1;
    points &= field_bytes;
    const int digit_count = bytes - static_cast<int>(negative) - static_cast<int>(points != 0);
    if ((points & (points - 1)) != 0 || digit_count <= 0) {
      return false;
    }
    // The field moves to the top of the word, so that the bytes below it are leading zeros.
    uint64_t number = digits & field_bytes & ~(negative ? uint64_t{0xFF} : 0);
    const int shift = 8 * (8 - bytes);
    number <<= shift;
    int fraction_digits = 0;
    if (points != 0) {
      const int point = std::countr_zero(points) / 8;
      fraction_digits = bytes - 1 - point;
      const int at = 8 * point + shift;  // bit offset of the point after the move
      const uint64_t below = number & ((uint64_t{1} << at) - 1);
      const uint64_t above = number & (~uint64_t{0} << at << 8);
      number = (below << 8) | above;
    }
    // At most 7 digits and 6 decimals: see kShortScale.
    value = ShortValue(number, kShortScale[shift10 - fraction_digits + 6], negative);
    length = static_cast<size_t>(bytes);
    return true;
  }

  // A plain decimal without exponent of at most 15 digits that ends at a terminator, read in one
  // pass. With a fraction the digits must give an integer of at most 2^24; the power of ten is at
  // most 10^10, both exact in single precision, so one single division or multiplication rounds
  // the exact value correctly. A whole number is exact as a 64-bit integer and rounded once when
  // converted. Anything else is left to ParseNumber. Moves p to the terminator on success.
  bool ReadPlainDecimal(const char*& p, int shift10, float& value) const {
    const char* q = p;
    bool negative = false;
    if (q < end_ && *q == '-') {
      negative = true;
      ++q;
    }
    uint64_t mantissa = 0;
    const char* digits_begin = q;
    while (q < end_ && IsDigit(*q)) {
      mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
      ++q;
    }
    int digits = static_cast<int>(q - digits_begin);
    int frac = 0;
    if (q < end_ && (*q == '.' || (decimal_comma_ && *q == ','))) {
      ++q;
      const char* frac_begin = q;
      while (q < end_ && IsDigit(*q)) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
        ++q;
      }
      frac = static_cast<int>(q - frac_begin);
      digits += frac;
    }
    // A whole number (times in ms, most often) of up to 15 digits is exact as an integer and
    // converted with one rounding.
    const bool whole = frac == 0 && shift10 >= 0;
    if (digits == 0 || digits > 15 || (mantissa > (uint64_t{1} << 24) && !whole)) {
      return false;
    }
    if (q < end_ && !IsTerminator(*q)) {
      return false;
    }
    if (whole) {
      const uint64_t scaled = mantissa * (shift10 == 0 ? 1 : 1000);
      value = negative ? -static_cast<float>(scaled) : static_cast<float>(scaled);
      p = q;
      return true;
    }
    const int exponent = shift10 - frac;
    if (exponent < -10 || exponent > 10) {
      return false;
    }
    float v = static_cast<float>(mantissa);
    v = exponent < 0 ? v / kPow10[-exponent] : v * kPow10[exponent];
    value = negative ? -v : v;
    p = q;
    return true;
  }

  const char* end_;
  char separator_;
  bool decimal_comma_;
  int time_shift10_;
  std::atomic<bool>* empty_fields_;
  // Clock time of sample 0 (or 0 when it is not a clock time), which later clock times are taken
  // relative to.
  int32_t reference_ms_ = 0;
};

}  // namespace dravik
