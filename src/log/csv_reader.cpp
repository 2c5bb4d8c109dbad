#include "log/csv_reader.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "common/number_parsing.h"
#include "common/parallel.h"
#include "common/rounding.h"
#include "log/fuel_trip.h"
#include "log/item_extremes.h"
#include "log/log_file.h"
#include "log/text_decoding.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dravik {

namespace {

constexpr std::string_view kEconomyName = "瞬間燃費 (km/l)";
constexpr std::string_view kSpeedKmh = "Vehicle Speed (km/h)";
constexpr std::string_view kSpeedKph = "Vehicle Speed (kph)";
constexpr std::string_view kEngineSpeed = "Engine Speed";
constexpr std::string_view kPulseWidth = "Fuel Injector #1 Pulse Width (ms)";
constexpr int64_t kDayMs = 86'400'000;

LoadError Failure(LoadFailure kind) {
  LoadError error;
  error.kind = kind;
  return error;
}

LoadError General(ErrorNumber number) {
  return {LoadFailure::kGeneral, number};
}

bool Failed(const LoadError& error) {
  return error.kind != LoadFailure::kNone;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
  const auto it = std::search(text.begin(), text.end(), word.begin(), word.end(),
                              [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
  return it != text.end();
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
  return static_cast<unsigned char>(c - '0') < 10;
}

bool IsLineEnd(char c) {
  return c == '\n' || c == '\r';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

constexpr float kPow10[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// 10^-6 .. 10^3 for a number of at most 7 digits m (m < 10^7) and its power of ten 10^e. A
// product with 10^e >= 1 is exact in double. Otherwise m x 10^e, computed in double, lies within
// 2^-52 of the exact quotient m / 10^-e, while that quotient lies at least 2^-25 / 10^-e >= 2^-45
// (relative) from every midpoint between two singles unless it is one, which needs 25
// significant bits and so cannot be: rounding the double to a single thus rounds the exact
// quotient correctly, as a single division would, without the division's cost.
constexpr double kShortScale[] = {1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3};

// How the fields of a file are written.
struct TextFormat {
  char separator = ',';
  bool decimal_comma = false;  // "," is a decimal point besides "."
};

constexpr uint64_t kByteOnes = 0x0101010101010101;
constexpr uint64_t kByteHighs = 0x8080808080808080;
constexpr uint64_t kByteLow7 = 0x7F7F7F7F7F7F7F7F;

constexpr uint64_t Broadcast(char c) {
  return kByteOnes * static_cast<unsigned char>(c);
}

// High bit set in exactly the bytes of x that are zero.
constexpr uint64_t ZeroBytes(uint64_t x) {
  return ~(((x & kByteLow7) + kByteLow7) | x | kByteLow7);
}

// Reads the fields of one format: a data field as a single, a time field as milliseconds. Each
// function starts at the first byte of a field and returns where the field ends: at its
// terminator (separator or line-end byte) or at the end of the text.
class FieldReader {
 public:
  FieldReader(std::string_view text, TextFormat format, bool time_in_seconds)
      : end_(text.data() + text.size()),
        separator_(format.separator),
        decimal_comma_(format.decimal_comma),
        time_shift10_(time_in_seconds ? 3 : 0) {}

  bool IsTerminator(char c) const { return c == separator_ || IsLineEnd(c); }
  char separator() const { return separator_; }
  const char* end() const { return end_; }

  // Clock time of sample 0 (or 0 when it is not a clock time), which later clock times are taken
  // relative to.
  int32_t reference_ms() const { return reference_ms_; }
  void set_reference_ms(int32_t reference_ms) { reference_ms_ = reference_ms; }

  const char* ReadValue(const char* p, float& value, LoadError& error) const {
    size_t length = 0;
    if (ReadShortDecimal(p, 0, value, length)) {
      return p + length;
    }
    const char* q = p;
    if (ReadPlainDecimal(q, 0, value)) {
      return q;
    }
    const char* field_end = FieldEnd(p);
    switch (ParseNumber(std::string_view(p, static_cast<size_t>(field_end - p)), decimal_comma_, 0,
                        value)) {
      case NumberStatus::kOk:
        break;
      case NumberStatus::kNotNumber:
        value = 0;
        break;
      case NumberStatus::kOverflow:
        error = General(ErrorNumber::kOverflow);
        break;
    }
    return field_end;
  }

  // The time of `sample`: milliseconds as written (or seconds times 1000), or a clock time
  // relative to the reference. A clock time in sample 0 becomes the reference.
  const char* ReadTime(const char* p, int64_t sample, float& time, LoadError& error) {
    size_t length = 0;
    if (ReadShortDecimal(p, time_shift10_, time, length)) {
      return p + length;
    }
    const char* q = p;
    if (ReadPlainDecimal(q, time_shift10_, time)) {
      return q;
    }
    const char* field_end = FieldEnd(p);
    const std::string_view field(p, static_cast<size_t>(field_end - p));
    if (field.find(':') != std::string_view::npos) {
      int32_t clock_ms = 0;
      error = ParseTimeOfDay(field, decimal_comma_, clock_ms);
      if (Failed(error)) {
        return field_end;
      }
      if (sample == 0) {
        reference_ms_ = clock_ms;
      }
      // One midnight at most: a log spans less than a day.
      int64_t relative = int64_t{clock_ms} - reference_ms_;
      if (clock_ms < reference_ms_) {
        relative += kDayMs;
      }
      time = static_cast<float>(relative);
      return field_end;
    }
    switch (ParseNumber(field, decimal_comma_, time_shift10_, time)) {
      case NumberStatus::kOk:
        break;
      case NumberStatus::kNotNumber:
        error = General(ErrorNumber::kTypeMismatch);
        break;
      case NumberStatus::kOverflow:
        error = General(ErrorNumber::kOverflow);
        break;
    }
    return field_end;
  }

 private:
  const char* FieldEnd(const char* p) const {
    while (p < end_ && !IsTerminator(*p)) {
      ++p;
    }
    return p;
  }

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
    const uint64_t non_digits = (((digits & kByteLow7) + Broadcast(0x76)) | digits) & kByteHighs;
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
    // Byte 0 holds the leading digit: combine neighbours into 2-, 4- and then 8-digit numbers.
    number = number * 10 + (number >> 8);
    number = (((number & 0x000000FF000000FF) * (100 + (uint64_t{1000000} << 32))) +
              (((number >> 16) & 0x000000FF000000FF) * (1 + (uint64_t{10000} << 32)))) >>
             32;
    // At most 7 digits and 6 decimals: see kShortScale.
    const double scaled =
        static_cast<double>(number & 0xFFFFFFFF) * kShortScale[shift10 - fraction_digits + 6];
    const auto v = static_cast<float>(scaled);
    value = negative ? -v : v;
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
  int32_t reference_ms_ = 0;
};

// Reports the reading's progress to the caller's callback, on the calling thread only, at most
// every 50 ms and never going back.
class Progress {
 public:
  explicit Progress(const ReadProgress& callback) : callback_(callback) {}

  // The first report, 0; later calls do nothing (a reading that starts again goes on from where
  // the reports stand).
  void Start() {
    if (callback_ && !started_) {
      started_ = true;
      last_ = std::chrono::steady_clock::now();
      callback_(0.0);
    }
  }

  void Report(double fraction) {
    if (!callback_) {
      return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(50)) {
      return;
    }
    last_ = now;
    reported_ = std::max(reported_, std::min(fraction, 1.0));
    callback_(reported_);
  }

 private:
  const ReadProgress& callback_;
  bool started_ = false;
  std::chrono::steady_clock::time_point last_;
  double reported_ = 0;
};

// Shares of the whole reading that its stages stand for, in progress reports.
constexpr double kScanShare = 0.1;
constexpr double kParseShare = 0.7;

// Reads the samples of the text after the header as one stream of fields ended by the separator
// or a line end, `fields` per sample, stored into `columns` (time first). Lines of zero length
// are skipped. This is the reading for every file; ReadLines gives the same for files whose lines
// each hold one sample.
class SampleParser {
 public:
  SampleParser(std::string_view text, const FieldReader& reader, int fields, float* const* columns)
      : begin_(text.data()), p_(text.data()), reader_(reader), fields_(fields), columns_(columns) {}

  // Reads every sample; `samples` is how many were read, also when a failure stops the reading.
  LoadError Run(int64_t& samples, Progress& progress) {
    samples = 0;
    const char* end = reader_.end();
    for (;;) {
      SkipBlankLines();
      if (p_ == end) {
        return {};  // the end of the file where a new sample would begin
      }
      if ((samples & 0xFFF) == 0) {
        progress.Report(kScanShare + kParseShare * static_cast<double>(p_ - begin_) /
                                         static_cast<double>(end - begin_));
      }
      LoadError error;
      p_ = reader_.ReadTime(p_, samples, columns_[0][samples], error);
      EndField();
      if (Failed(error)) {
        return error;
      }
      for (int j = 1; j < fields_; ++j) {
        SkipBlankLines();
        if (p_ == end && !after_separator_) {
          return Failure(LoadFailure::kFormat);
        }
        p_ = reader_.ReadValue(p_, columns_[j][samples], error);
        EndField();
        if (Failed(error)) {
          return error;
        }
      }
      ++samples;
    }
  }

 private:
  void SkipBlankLines() {
    if (after_line_end_) {
      while (p_ < reader_.end() && IsLineEnd(*p_)) {
        ++p_;
      }
    }
  }

  // Passes the separator or line end that ends the field at p_. After a line end the next field
  // first skips every further line-end byte, which takes the LF of a CR LF and blank lines alike.
  void EndField() {
    if (p_ == reader_.end()) {
      after_separator_ = false;
      after_line_end_ = false;
      return;
    }
    after_separator_ = *p_ == reader_.separator();
    after_line_end_ = !after_separator_;
    ++p_;
  }

  const char* begin_;
  const char* p_;
  FieldReader reader_;
  int fields_;
  float* const* columns_;
  bool after_line_end_ = true;  // the text starts after the header's line end
  bool after_separator_ = false;
};

// Reads the lines of [begin, end), each known to hold exactly `fields` fields, as the samples from
// `first_sample` on. `reader` carries the clock reference of sample 0. Stops at the first failure.
LoadError ReadLines(const char* begin, const char* end, int64_t first_sample, FieldReader reader,
                    int fields, float* const* columns) {
  const char* p = begin;
  int64_t sample = first_sample;
  LoadError error;
  for (;;) {
    while (p < end && IsLineEnd(*p)) {
      ++p;
    }
    if (p == end) {
      return {};
    }
    // Every field but the last ends at a separator, which the next field steps over.
    p = reader.ReadTime(p, sample, columns[0][sample], error);
    for (int j = 1; j < fields && !Failed(error); ++j) {
      p = reader.ReadValue(p + 1, columns[j][sample], error);
    }
    if (Failed(error)) {
      return error;
    }
    ++sample;
  }
}

// Number of separators in the low 16 bits of a match mask.
inline int CountBits16(unsigned x) {
  x = x - ((x >> 1) & 0x5555u);
  x = (x & 0x3333u) + ((x >> 2) & 0x3333u);
  x = (x + (x >> 4)) & 0x0F0Fu;
  return static_cast<int>((x + (x >> 8)) & 0x1Fu);
}

// The lines of one piece of text that ends after a line end (or at the end of the text).
struct PieceLines {
  int64_t lines = 0;    // lines that are not empty
  bool regular = true;  // every one of them holds `fields` fields
};

// Counts the non-empty lines of [begin, end) and checks that each has fields - 1 separators.
PieceLines ScanLines(const char* begin, const char* end, char separator, int fields) {
  PieceLines result;
  const int wanted = fields - 1;
  int separators = 0;
  const char* line_start = begin;
  const auto line_end_at = [&](const char* at) {
    if (at > line_start) {
      if (separators != wanted) {
        result.regular = false;
      }
      ++result.lines;
    }
    separators = 0;
    line_start = at + 1;
  };
  const char* p = begin;
#if defined(__SSE2__)
  const __m128i separator_bytes = _mm_set1_epi8(separator);
  const __m128i lf_bytes = _mm_set1_epi8('\n');
  const __m128i cr_bytes = _mm_set1_epi8('\r');
  for (; end - p >= 16 && result.regular; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    auto separator_mask =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, separator_bytes)));
    auto line_end_mask = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(block, lf_bytes), _mm_cmpeq_epi8(block, cr_bytes))));
    while (line_end_mask != 0) {
      const int bit = std::countr_zero(line_end_mask);
      const unsigned before = (1u << bit) - 1;
      separators += CountBits16(separator_mask & before);
      separator_mask &= ~before;
      line_end_at(p + bit);
      line_end_mask &= line_end_mask - 1;
    }
    separators += CountBits16(separator_mask);
  }
#endif
  for (; p < end && result.regular; ++p) {
    if (*p == separator) {
      ++separators;
    } else if (IsLineEnd(*p)) {
      line_end_at(p);
    }
  }
  if (result.regular && end > line_start) {
    line_end_at(end);
  }
  return result;
}

// Upper bound of the separators and line-end bytes in the text: every sample but the last ends
// with as many as it has fields, which bounds the sample count before anything is allocated.
int64_t CountTerminators(std::string_view text, char separator) {
  const uint64_t sep = Broadcast(separator);
  const uint64_t lf = Broadcast('\n');
  const uint64_t cr = Broadcast('\r');
  int64_t count = 0;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    const uint64_t hits =
        (ZeroBytes(word ^ sep) | ZeroBytes(word ^ lf) | ZeroBytes(word ^ cr)) >> 7;
    // One bit per matching byte, summed into the top byte (at most 8, no carry between bytes).
    count += static_cast<int64_t>(hits * kByteOnes >> 56);
  }
  for (; i < text.size(); ++i) {
    count += text[i] == separator || IsLineEnd(text[i]);
  }
  return count;
}

std::vector<std::string_view> SplitAt(std::string_view line, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (;;) {
    const size_t at = line.find(separator, start);
    if (at == std::string_view::npos) {
      pieces.push_back(line.substr(start));
      return pieces;
    }
    pieces.push_back(line.substr(start, at - start));
    start = at + 1;
  }
}

// A time column whose name ends in a seconds unit in parentheses or brackets ("Time (s)",
// "Time[sec]") holds seconds.
bool NamesSeconds(std::string_view name) {
  while (!name.empty() && IsBlank(name.back())) {
    name.remove_suffix(1);
  }
  if (name.empty() || (name.back() != ')' && name.back() != ']')) {
    return false;
  }
  const char open = name.back() == ')' ? '(' : '[';
  name.remove_suffix(1);
  const size_t at = name.find_last_of("()[]");
  if (at == std::string_view::npos || name[at] != open) {
    return false;
  }
  std::string unit;
  for (const char c : TrimBlanks(name.substr(at + 1))) {
    unit += LowerAscii(c);
  }
  return unit == "s" || unit == "sec" || unit == "secs" || unit == "second" || unit == "seconds";
}

TextFormat FormatOf(std::string_view header) {
  if (header.find(',') != std::string_view::npos) {
    return {',', false};
  }
  if (header.find(';') != std::string_view::npos) {
    return {';', true};
  }
  if (header.find('\t') != std::string_view::npos) {
    return {'\t', false};
  }
  return {',', false};
}

// Where the pieces of the body begin: about every `piece_bytes`, each just after a line-end byte,
// so that every piece but the last ends with a line end. The last entry is the body's end.
std::vector<const char*> PieceStarts(std::string_view body, size_t piece_bytes) {
  const char* const begin = body.data();
  const char* const end = begin + body.size();
  std::vector<const char*> starts = {begin};
  for (const char* nominal = begin + piece_bytes; nominal < end;) {
    const char* cut = nominal;
    while (cut < end && !IsLineEnd(*cut)) {
      ++cut;
    }
    if (cut >= end - 1) {
      break;
    }
    starts.push_back(cut + 1);
    nominal = std::max(cut + 1, nominal + piece_bytes);
  }
  starts.push_back(end);
  return starts;
}

// Reads the samples of `body` line by line in pieces on several threads when every line holds
// `fields` fields, and returns false without reading when one does not.
bool ReadRegularLines(std::string_view body, const FieldReader& reader, int fields, int threads,
                      size_t piece_bytes, LogTable& table, std::vector<float*>& column_data,
                      int64_t& samples, LoadError& error, Progress& progress) {
  const std::vector<const char*> starts = PieceStarts(body, piece_bytes);
  const int64_t pieces = static_cast<int64_t>(starts.size()) - 1;
  std::vector<PieceLines> lines(pieces);
  RunTasks(
      pieces, threads,
      [&](int64_t k) {
        lines[k] = ScanLines(starts[k], starts[k + 1], reader.separator(), fields);
      },
      [&](int64_t done) { progress.Report(kScanShare * static_cast<double>(done) / pieces); });
  std::vector<int64_t> first_samples(pieces + 1, 0);
  for (int64_t k = 0; k < pieces; ++k) {
    if (!lines[k].regular) {
      return false;
    }
    first_samples[k + 1] = first_samples[k] + lines[k].lines;
  }
  samples = first_samples[pieces];

  const int columns = table.item_count + 1;
  table.Allocate(columns, samples + kTailSamples);
  column_data.resize(columns);
  for (int j = 0; j < columns; ++j) {
    column_data[j] = table.Values(j).data();
  }
  // The pieces after the first need the clock reference of sample 0 before they start.
  FieldReader piece_reader = reader;
  const char* first_line = body.data();
  const char* const end = body.data() + body.size();
  while (first_line < end && IsLineEnd(*first_line)) {
    ++first_line;
  }
  if (first_line < end) {
    float unused = 0;
    LoadError ignored;
    piece_reader.ReadTime(first_line, 0, unused, ignored);
  }
  std::vector<LoadError> errors(pieces);
  RunTasks(
      pieces, threads,
      [&](int64_t k) {
        errors[k] = ReadLines(starts[k], starts[k + 1], first_samples[k], piece_reader, fields,
                              column_data.data());
      },
      [&](int64_t done) {
        progress.Report(kScanShare + kParseShare * static_cast<double>(done) / pieces);
      });
  // The first failure in file order is the one a reading from the start stops at.
  for (const LoadError& piece_error : errors) {
    if (Failed(piece_error)) {
      error = piece_error;
      break;
    }
  }
  return true;
}

// Reads the text into the table. `text_read` runs once the samples are read, when the text is no
// longer needed.
LoadError ReadText(std::string_view text, const FuelParams& fuel, const ReadSplit& split,
                   Progress& progress, const std::function<void()>& text_read, LogTable& table) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && IsLineEnd(*p)) {
    ++p;
  }
  if (p == end) {
    return Failure(LoadFailure::kFormat);
  }
  const char* header_end = p;
  while (header_end < end && !IsLineEnd(*header_end)) {
    ++header_end;
  }
  const std::string_view header(p, static_cast<size_t>(header_end - p));
  const TextFormat format = FormatOf(header);
  const std::vector<std::string_view> pieces = SplitAt(header, format.separator);
  if (pieces.size() > static_cast<size_t>(kMaxItems) + 1) {
    return Failure(LoadFailure::kFormat);
  }

  std::vector<std::string> names;
  names.reserve(pieces.size() + 1);
  for (const std::string_view piece : pieces) {
    names.push_back(ItemNameToUtf8(piece));
  }
  const auto any_name_has = [&](std::string_view word) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return ContainsNoCase(name, word); });
  };
  if (fuel.flow > 0 && fuel.cylinders > 0) {
    table.has_speed = any_name_has(kSpeedKph) || any_name_has(kSpeedKmh);
    table.has_economy = table.has_speed && any_name_has(kEngineSpeed) && any_name_has(kPulseWidth);
  }
  if (table.has_economy) {
    names.emplace_back(kEconomyName);
  }
  if (names.size() > static_cast<size_t>(kMaxItems) + 1) {
    return Failure(LoadFailure::kFormat);
  }
  table.item_count = static_cast<int>(names.size()) - 1;
  for (int i = 0; i <= table.item_count; ++i) {
    const std::string& name = names[i];
    if (ContainsNoCase(name, kPulseWidth)) {
      table.pulse_width_item = i;
    }
    if (ContainsNoCase(name, kSpeedKph) || ContainsNoCase(name, kSpeedKmh)) {
      table.speed_item = i;
    }
    if (ContainsNoCase(name, kEngineSpeed)) {
      table.engine_speed_item = i;
    }
  }
  const bool time_in_seconds = NamesSeconds(names[0]);
  table.item_names = std::move(names);

  const std::string_view body(header_end, static_cast<size_t>(end - header_end));
  const int fields = static_cast<int>(pieces.size());
  const int columns = table.item_count + 1;
  const int threads = ThreadCount(split.threads);
  const FieldReader reader(text, format, time_in_seconds);
  // Pieces small enough for every thread to get several, so that one slowed down by the rest of
  // the machine holds the others up little.
  constexpr size_t kMinPieceBytes = size_t{256} << 10;
  const size_t piece_bytes =
      split.piece_bytes > 0
          ? split.piece_bytes
          : std::max(kMinPieceBytes, body.size() / (static_cast<size_t>(threads) * 16));

  int64_t samples = 0;
  LoadError error;
  std::vector<float*> column_data;
  if (split.sequential || !ReadRegularLines(body, reader, fields, threads, piece_bytes, table,
                                            column_data, samples, error, progress)) {
    const int64_t bound = (CountTerminators(body, format.separator) + 1) / fields + 1;
    table.Allocate(columns, bound + kTailSamples);
    column_data.resize(columns);
    for (int j = 0; j < columns; ++j) {
      column_data[j] = table.Values(j).data();
    }
    SampleParser parser(body, reader, fields, column_data.data());
    error = parser.Run(samples, progress);
  }
  if (text_read) {
    text_read();
  }
  if (Failed(error)) {
    return error;
  }
  if (samples < kMinRealSamples) {
    return Failure(LoadFailure::kTooFewSamples);
  }
  table.last_sample = samples - 1;
  table.SetLength(samples + kTailSamples);

  const std::vector<int64_t> ranges = SampleRanges(samples, threads, split.range_samples);
  if (table.has_economy) {
    ComputeEconomy(table, fuel, ranges, threads);
  }
  FindExtremes(table, ranges, threads);
  progress.Report(kScanShare + kParseShare + 0.1);
  std::fill_n(column_data[0] + samples, kTailSamples, 0.0f);
  for (int j = 1; j < columns; ++j) {
    std::fill_n(column_data[j] + samples, kTailSamples, column_data[j][samples - 1]);
  }
  progress.Report(1.0);
  return {};
}

LoadError ReadBytes(std::string_view bytes, const FuelParams& fuel, const ReadSplit& split,
                    Progress& progress, const std::function<void()>& text_read, LogTable& table) {
  const auto starts_with = [&](std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
  };
  if (starts_with("\xFF\xFE")) {
    return ReadText(Utf16ToUtf8(bytes.substr(2), false), fuel, split, progress, text_read, table);
  }
  if (starts_with("\xFE\xFF")) {
    return ReadText(Utf16ToUtf8(bytes.substr(2), true), fuel, split, progress, text_read, table);
  }
  if (starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  return ReadText(bytes, fuel, split, progress, text_read, table);
}

// Reads `bytes` into the table, clearing it on failure.
LoadError ReadBytesOrClear(std::string_view bytes, const FuelParams& fuel, const ReadSplit& split,
                           Progress& progress, const std::function<void()>& text_read,
                           LogTable& table) {
  table.Reset();
  LoadError error;
  try {
    error = ReadBytes(bytes, fuel, split, progress, text_read, table);
  } catch (const std::bad_alloc&) {
    error = General(ErrorNumber::kOutOfMemory);
  }
  if (Failed(error)) {
    table.Clear();
  }
  return error;
}

}  // namespace

LoadError ReadLogFromBuffer(std::string_view bytes, const FuelParams& fuel, LogTable& table,
                            const ReadProgress& progress, const ReadSplit& split) {
  Progress reports(progress);
  reports.Start();
  return ReadBytesOrClear(bytes, fuel, split, reports, {}, table);
}

#if defined(_WIN32)

LoadError ReadLog(const std::string& path, const FuelParams& fuel, LogTable& table,
                  const ReadProgress& progress, const ReadSplit& split) {
  table.Reset();
  RawBuffer buffer;
  size_t size = 0;
  const LoadError error = ReadWholeFile(path, buffer, size);
  if (Failed(error)) {
    table.Clear();
    return error;
  }
  return ReadLogFromBuffer(std::string_view(reinterpret_cast<const char*>(buffer.data()), size),
                           fuel, table, progress, split);
}

#else

LoadError ReadLog(const std::string& path, const FuelParams& fuel, LogTable& table,
                  const ReadProgress& progress, const ReadSplit& split) {
  table.Reset();
  Progress reports(progress);
  int fd = -1;
  size_t expected = 0;
  LoadError error = OpenRegularFile(path, fd, expected);
  struct Closer {
    int fd;
    ~Closer() {
      if (fd >= 0) {
        close(fd);
      }
    }
  } closer{fd};
  if (Failed(error)) {
    table.Clear();
    return error;
  }
  {
    GuardedView view(fd, expected);
    if (!view.empty()) {
      reports.Start();
      error = ReadBytesOrClear(
          view.text(), fuel, split, reports, [&] { view.Release(); }, table);
      view.Release();
      if (!view.cut()) {
        return error;
      }
      table.Reset();
    }
  }
  RawBuffer buffer;
  size_t size = 0;
  error = ReadOpenFile(fd, expected, buffer, size);
  if (Failed(error)) {
    table.Clear();
    return error;
  }
  reports.Start();
  return ReadBytesOrClear(std::string_view(reinterpret_cast<const char*>(buffer.data()), size),
                          fuel, split, reports, {}, table);
}

#endif

LoadError ParseTimeOfDay(std::string_view text, bool decimal_comma, int32_t& ms) {
  const size_t first = text.find(':');
  if (first == std::string_view::npos) {
    return Failure(LoadFailure::kFormat);
  }
  const size_t second = text.find(':', first + 1);
  if (second == std::string_view::npos) {
    return Failure(LoadFailure::kFormat);
  }
  double hours = 0;
  double minutes = 0;
  float seconds = 0;
  const NumberStatus statuses[] = {
      ParseNumber(text.substr(0, first), decimal_comma, 0, hours),
      ParseNumber(text.substr(first + 1, second - first - 1), decimal_comma, 0, minutes),
      ParseNumber(text.substr(second + 1), decimal_comma, 0, seconds)};
  for (const NumberStatus status : statuses) {
    if (status == NumberStatus::kNotNumber) {
      return General(ErrorNumber::kTypeMismatch);
    }
  }
  for (const NumberStatus status : statuses) {
    if (status == NumberStatus::kOverflow) {
      return General(ErrorNumber::kOverflow);
    }
  }
  constexpr double kInt32Max = std::numeric_limits<int32_t>::max();
  constexpr double kInt32Min = std::numeric_limits<int32_t>::min();
  if (std::fabs(hours) > 1e12 || std::fabs(minutes) > 1e12) {
    return General(ErrorNumber::kOverflow);
  }
  const int64_t hours_ms = RoundHalfEven(hours) * 3'600'000;
  const int64_t minutes_ms = RoundHalfEven(minutes) * 60'000;
  const auto fits = [&](double v) { return v >= kInt32Min && v <= kInt32Max; };
  if (!fits(static_cast<double>(hours_ms)) || !fits(static_cast<double>(minutes_ms)) ||
      !fits(static_cast<double>(hours_ms + minutes_ms))) {
    return General(ErrorNumber::kOverflow);
  }
  const int64_t total = RoundHalfEven(static_cast<double>(seconds) * 1000 +
                                      static_cast<double>(hours_ms + minutes_ms));
  if (!fits(static_cast<double>(total))) {
    return General(ErrorNumber::kOverflow);
  }
  ms = static_cast<int32_t>(total);
  return {};
}

}  // namespace dravik
