#include "log/csv_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "chart/scaling.h"
#include "common/rounding.h"
#include "log/fuel_trip.h"
#include "log/text_decoding.h"

#if defined(_WIN32)
#include <cstdio>
#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

enum class NumberStatus { kOk, kNotNumber, kOverflow };

// Reads a whole field as a number: blanks and tabs around it, an optional sign, digits with an
// optional decimal point, an optional exponent; nothing else (no inf, nan, hexadecimal, quotes).
// The value is the exact decimal times 10^shift10, rounded once to T. Values too small for T read
// as 0; values too large are kOverflow.
template <typename T>
NumberStatus ParseNumber(std::string_view field, bool decimal_comma, int shift10, T& value) {
  const std::string_view text = TrimBlanks(field);
  const size_t n = text.size();
  size_t i = 0;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t int_begin = i;
  while (i < n && IsDigit(text[i])) {
    ++i;
  }
  const std::string_view int_digits = text.substr(int_begin, i - int_begin);
  std::string_view frac_digits;
  if (i < n && (text[i] == '.' || (decimal_comma && text[i] == ','))) {
    const size_t frac_begin = ++i;
    while (i < n && IsDigit(text[i])) {
      ++i;
    }
    frac_digits = text.substr(frac_begin, i - frac_begin);
  }
  if (int_digits.empty() && frac_digits.empty()) {
    return NumberStatus::kNotNumber;
  }
  // Saturated far beyond any exponent that could still give a finite, non-zero value.
  constexpr int64_t kExponentLimit = int64_t{1} << 40;
  int64_t exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool exponent_negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      exponent_negative = text[i] == '-';
      ++i;
    }
    if (i == n || !IsDigit(text[i])) {
      return NumberStatus::kNotNumber;
    }
    while (i < n && IsDigit(text[i])) {
      exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentLimit);
      ++i;
    }
    if (exponent_negative) {
      exponent = -exponent;
    }
  }
  if (i != n) {
    return NumberStatus::kNotNumber;
  }
  exponent += shift10;

  // from_chars takes neither a leading "+" nor a decimal comma, so the number is rewritten in
  // its plain form.
  std::string normal;
  normal.reserve(int_digits.size() + frac_digits.size() + 24);
  if (negative) {
    normal += '-';
  }
  normal += int_digits;
  if (!frac_digits.empty()) {
    normal += '.';
    normal += frac_digits;
  }
  if (exponent != 0) {
    normal += 'e';
    normal += std::to_string(exponent);
  }
  const char* first = normal.data();
  const char* last = first + normal.size();
  const auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond the range either way: the position of the first significant digit says which way.
    int64_t magnitude = 0;
    const size_t lead = int_digits.find_first_not_of('0');
    if (lead != std::string_view::npos) {
      magnitude = static_cast<int64_t>(int_digits.size() - lead) - 1 + exponent;
    } else {
      magnitude = -static_cast<int64_t>(frac_digits.find_first_not_of('0')) - 1 + exponent;
    }
    if (magnitude > 0) {
      return NumberStatus::kOverflow;
    }
    value = 0;
    return NumberStatus::kOk;
  }
  if (result.ec != std::errc() || result.ptr != last) {
    return NumberStatus::kNotNumber;
  }
  if constexpr (std::is_same_v<T, float>) {
    // Below the smallest single (1.401298E-45) a value rounds up to it; it is too small to be held
    // and reads as 0.
    constexpr float kSmallest = std::numeric_limits<float>::denorm_min();
    if (std::fabs(value) == kSmallest) {
      double exact = 0;
      std::from_chars(first, last, exact, std::chars_format::general);
      if (std::fabs(exact) < static_cast<double>(kSmallest)) {
        value = 0;
      }
    }
  }
  return NumberStatus::kOk;
}

constexpr float kPow10[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// How the fields of a file are written.
struct TextFormat {
  char separator = ',';
  bool decimal_comma = false;  // "," is a decimal point besides "."
};

// Reads the samples of the text after the header: a stream of fields ended by the separator or a
// line end, `fields` per sample, stored into `columns` (time first). Lines of zero length are
// skipped. A run of samples that starts at a sample boundary can be read on its own, the clock
// reference aside.
class SampleParser {
 public:
  SampleParser(std::string_view text, TextFormat format, int fields, bool time_in_seconds,
               float* const* columns)
      : p_(text.data()),
        end_(text.data() + text.size()),
        separator_(format.separator),
        decimal_comma_(format.decimal_comma),
        fields_(fields),
        time_shift10_(time_in_seconds ? 3 : 0),
        columns_(columns) {}

  // Reads every sample; `samples` is how many were read, also when a failure stops the reading.
  LoadError Run(int64_t& samples) {
    samples = 0;
    for (;;) {
      SkipBlankLines();
      if (p_ == end_) {
        return {};  // the end of the file where a new sample would begin
      }
      LoadError error = ReadTime(samples);
      if (Failed(error)) {
        return error;
      }
      for (int j = 1; j < fields_; ++j) {
        SkipBlankLines();
        if (p_ == end_ && !after_separator_) {
          return Failure(LoadFailure::kFormat);
        }
        error = ReadValue(columns_[j][samples]);
        if (Failed(error)) {
          return error;
        }
      }
      ++samples;
    }
  }

 private:
  bool IsTerminator(char c) const { return c == separator_ || IsLineEnd(c); }

  void SkipBlankLines() {
    if (after_line_end_) {
      while (p_ < end_ && IsLineEnd(*p_)) {
        ++p_;
      }
    }
  }

  // Passes the separator or line end that ends the field at p_. After a line end the next field
  // first skips every further line-end byte, which takes the LF of a CR LF and blank lines alike.
  void EndField() {
    if (p_ == end_) {
      after_separator_ = false;
      after_line_end_ = false;
      return;
    }
    after_separator_ = *p_ == separator_;
    after_line_end_ = !after_separator_;
    ++p_;
  }

  std::string_view TakeField() {
    const char* begin = p_;
    while (p_ < end_ && !IsTerminator(*p_)) {
      ++p_;
    }
    return {begin, static_cast<size_t>(p_ - begin)};
  }

  // The common field, a plain decimal without exponent of at most 15 digits that ends at a
  // terminator, read in one pass. The digits give an integer below 2^24 and the power of ten is at
  // most 10^10, both exact in single precision, so one single division or multiplication rounds
  // the exact value correctly. Anything else is left to ParseNumber.
  bool ReadPlainDecimal(int shift10, float& value) {
    const char* q = p_;
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
    if (digits == 0 || digits > 15 || mantissa > (uint64_t{1} << 24)) {
      return false;
    }
    if (q < end_ && !IsTerminator(*q)) {
      return false;
    }
    const int exponent = shift10 - frac;
    if (exponent < -10 || exponent > 10) {
      return false;
    }
    float v = static_cast<float>(mantissa);
    v = exponent < 0 ? v / kPow10[-exponent] : v * kPow10[exponent];
    value = negative ? -v : v;
    p_ = q;
    return true;
  }

  LoadError ReadValue(float& value) {
    if (!ReadPlainDecimal(0, value)) {
      switch (ParseNumber(TakeField(), decimal_comma_, 0, value)) {
        case NumberStatus::kOk:
          break;
        case NumberStatus::kNotNumber:
          value = 0;
          break;
        case NumberStatus::kOverflow:
          return General(ErrorNumber::kOverflow);
      }
    }
    EndField();
    return {};
  }

  LoadError ReadTime(int64_t sample) {
    float& time = columns_[0][sample];
    if (ReadPlainDecimal(time_shift10_, time)) {
      EndField();
      return {};
    }
    const std::string_view field = TakeField();
    EndField();
    if (field.find(':') != std::string_view::npos) {
      int32_t clock_ms = 0;
      const LoadError error = ParseTimeOfDay(field, decimal_comma_, clock_ms);
      if (Failed(error)) {
        return error;
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
      return {};
    }
    switch (ParseNumber(field, decimal_comma_, time_shift10_, time)) {
      case NumberStatus::kOk:
        return {};
      case NumberStatus::kNotNumber:
        return General(ErrorNumber::kTypeMismatch);
      case NumberStatus::kOverflow:
        break;
    }
    return General(ErrorNumber::kOverflow);
  }

  const char* p_;
  const char* end_;
  char separator_;
  bool decimal_comma_;
  int fields_;
  int time_shift10_;
  float* const* columns_;
  bool after_line_end_ = true;  // the text starts after the header's line end
  bool after_separator_ = false;
  int32_t reference_ms_ = 0;  // clock time of sample 0; 0 when sample 0 is not a clock time
};

// Upper bound of the separators and line-end bytes in the text: every sample but the last ends
// with as many as it has fields, which bounds the sample count before anything is allocated.
int64_t CountTerminators(std::string_view text, char separator) {
  const auto broadcast = [](char c) {
    return uint64_t{0x0101010101010101} * static_cast<unsigned char>(c);
  };
  // High bit set in exactly the bytes of x that are zero.
  const auto zero_bytes = [](uint64_t x) {
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
    return ~(((x & kLow7) + kLow7) | x | kLow7);
  };
  const uint64_t sep = broadcast(separator);
  const uint64_t lf = broadcast('\n');
  const uint64_t cr = broadcast('\r');
  int64_t count = 0;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    const uint64_t hits =
        (zero_bytes(word ^ sep) | zero_bytes(word ^ lf) | zero_bytes(word ^ cr)) >> 7;
    // One bit per matching byte, summed into the top byte (at most 8, no carry between bytes).
    count += static_cast<int64_t>(hits * uint64_t{0x0101010101010101} >> 56);
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

void FindExtremes(LogTable& table, int64_t samples) {
  table.item_min.resize(table.item_count + 1);
  table.item_max.resize(table.item_count + 1);
  for (int j = 0; j <= table.item_count; ++j) {
    const float* column = table.Values(j).data();
    float low = column[0];
    float high = column[0];
    for (int64_t s = 1; s < samples; ++s) {
      low = std::min(low, column[s]);
      high = std::max(high, column[s]);
    }
    table.item_min[j] = low;
    table.item_max[j] = high;
  }
}

LoadError ReadText(std::string_view text, const Settings& settings, LogTable& table) {
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
  if (settings.injector_flow_scaling > 0 && settings.cylinder > 0) {
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
  const int64_t bound = (CountTerminators(body, format.separator) + 1) / fields + 1;
  const int columns = table.item_count + 1;
  table.Allocate(columns, bound + kTailSamples);
  std::vector<float*> column_data(columns);
  for (int j = 0; j < columns; ++j) {
    column_data[j] = table.Values(j).data();
  }

  int64_t samples = 0;
  SampleParser parser(body, format, fields, time_in_seconds, column_data.data());
  const LoadError error = parser.Run(samples);
  if (Failed(error)) {
    return error;
  }
  if (samples < kMinRealSamples) {
    return Failure(LoadFailure::kTooFewSamples);
  }
  table.last_sample = samples - 1;
  table.SetLength(samples + kTailSamples);

  if (table.has_economy) {
    const FuelParams fuel = FuelParamsOf(settings);
    const float* speed = column_data[table.speed_item];
    const float* rpm = column_data[table.engine_speed_item];
    const float* pulse_width = column_data[table.pulse_width_item];
    float* economy = column_data[table.item_count];
    float previous = 0;
    for (int64_t s = 0; s < samples; ++s) {
      previous = EconomyValue(speed[s], rpm[s], pulse_width[s], previous, fuel);
      economy[s] = previous;
    }
  }
  FindExtremes(table, samples);
  std::fill_n(column_data[0] + samples, kTailSamples, 0.0f);
  for (int j = 1; j < columns; ++j) {
    std::fill_n(column_data[j] + samples, kTailSamples, column_data[j][samples - 1]);
  }
  table.AllocatePlotY();
  if (!BuildPlotY(table, settings.graph_scale_mode)) {
    return General(ErrorNumber::kDivisionByZero);
  }
  return {};
}

LoadError ReadBytes(std::string_view bytes, const Settings& settings, LogTable& table) {
  const auto starts_with = [&](std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
  };
  if (starts_with("\xFF\xFE")) {
    return ReadText(Utf16ToUtf8(bytes.substr(2), false), settings, table);
  }
  if (starts_with("\xFE\xFF")) {
    return ReadText(Utf16ToUtf8(bytes.substr(2), true), settings, table);
  }
  if (starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  return ReadText(bytes, settings, table);
}

ErrorNumber OpenErrorNumber(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ErrorNumber::kFileNotFound;
    case ENOMEM:
      return ErrorNumber::kOutOfMemory;
    case EIO:
      return ErrorNumber::kDeviceIoError;
    default:
      return ErrorNumber::kPathAccessError;
  }
}

#if defined(_WIN32)

LoadError ReadWholeFile(const std::string& path, RawBuffer& buffer, size_t& size) {
  const std::filesystem::path file_path(
      std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
  std::error_code status;
  if (std::filesystem::is_directory(file_path, status)) {
    return General(ErrorNumber::kPathAccessError);
  }
  std::FILE* file = _wfopen(file_path.c_str(), L"rb");
  if (file == nullptr) {
    return General(OpenErrorNumber(errno));
  }
  const uintmax_t length = std::filesystem::file_size(file_path, status);
  const size_t expected = status ? 0 : static_cast<size_t>(length);
  try {
    buffer.Reserve(expected);
  } catch (const std::bad_alloc&) {
    std::fclose(file);
    return General(ErrorNumber::kOutOfMemory);
  }
  size = std::fread(buffer.data(), 1, expected, file);
  const bool failed = size < expected && std::ferror(file) != 0;
  std::fclose(file);
  return failed ? General(ErrorNumber::kDeviceIoError) : LoadError{};
}

#else

LoadError ReadWholeFile(const std::string& path, RawBuffer& buffer, size_t& size) {
  // Non-blocking, so that opening a FIFO cannot wait for a writer; it is refused below.
  int fd = -1;
  do {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    return General(OpenErrorNumber(errno));
  }
  struct Closer {
    int fd;
    ~Closer() { close(fd); }
  } closer{fd};
  struct stat status {};
  if (fstat(fd, &status) != 0) {
    return General(ErrorNumber::kDeviceIoError);
  }
  if (!S_ISREG(status.st_mode)) {
    return General(ErrorNumber::kPathAccessError);
  }
  // The size at opening bounds the read, so a file that is still being written is read as far as
  // it was, and one that shrinks as far as it still reaches.
  const auto expected = static_cast<size_t>(status.st_size);
  try {
    buffer.Reserve(expected);
  } catch (const std::bad_alloc&) {
    return General(ErrorNumber::kOutOfMemory);
  }
  size = 0;
  while (size < expected) {
    const ssize_t got = read(fd, buffer.data() + size, expected - size);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return General(errno == EISDIR ? ErrorNumber::kPathAccessError : ErrorNumber::kDeviceIoError);
    }
    if (got == 0) {
      break;
    }
    size += static_cast<size_t>(got);
  }
  return {};
}

#endif

}  // namespace

LoadError ReadLogFromBuffer(std::string_view bytes, const Settings& settings, LogTable& table) {
  table.Reset();
  LoadError error;
  try {
    error = ReadBytes(bytes, settings, table);
  } catch (const std::bad_alloc&) {
    error = General(ErrorNumber::kOutOfMemory);
  }
  if (Failed(error)) {
    table.Clear();
  }
  return error;
}

LoadError ReadLog(const std::string& path, const Settings& settings, LogTable& table) {
  table.Reset();
  RawBuffer buffer;
  size_t size = 0;
  const LoadError error = ReadWholeFile(path, buffer, size);
  if (Failed(error)) {
    table.Clear();
    return error;
  }
  return ReadLogFromBuffer(std::string_view(reinterpret_cast<const char*>(buffer.data()), size),
                           settings, table);
}

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

std::string FileNameOf(const std::string& path) {
#if defined(_WIN32)
  const size_t at = path.find_last_of("\\/");
#else
  const size_t at = path.find_last_of('/');
#endif
  return at == std::string::npos ? path : path.substr(at + 1);
}

}  // namespace dravik
