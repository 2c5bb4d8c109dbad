#include "log/sample_parser.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <vector>

#include "common/parallel.h"
#include "log/log_header.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dravik {
namespace {

// Reads the samples of the text after the header as one stream of fields ended by the separator
// or a line end, `fields` per sample, stored into `columns` (time first), each after a counter
// field that is passed over when `counter_first`. Lines of zero length and marker lines are
// skipped. This is the
// reading for every file; ReadLines gives the same for files whose lines each hold one sample.
class SampleParser {
 public:
  SampleParser(std::string_view text, const FieldReader& reader, int fields, bool counter_first,
               float* const* columns, const TextDone& done)
      : begin_(text.data()),
        p_(text.data()),
        reader_(reader),
        fields_(fields),
        counter_first_(counter_first),
        columns_(columns),
        done_(done) {}

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
        if (done_) {
          done_(std::string_view(begin_, static_cast<size_t>(p_ - begin_)));
        }
      }
      if (counter_first_) {
        p_ = reader_.SkipField(p_);
        EndField();
        SkipBlankLines();
        if (p_ == end && !after_separator_) {
          return Failure(LoadFailure::kFormat);
        }
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
  // After a line end: passes empty lines and marker lines.
  void SkipBlankLines() {
    if (!after_line_end_) {
      return;
    }
    const char* end = reader_.end();
    for (;;) {
      while (p_ < end && IsLineEnd(*p_)) {
        ++p_;
      }
      if (!IsMarkLine(
              std::string_view(p_, static_cast<size_t>(std::min<ptrdiff_t>(end - p_, 4))))) {
        return;
      }
      while (p_ < end && !IsLineEnd(*p_)) {
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
  bool counter_first_;
  float* const* columns_;
  const TextDone& done_;
  bool after_line_end_ = true;  // the text starts after the header's line end
  bool after_separator_ = false;
};

// Reads the lines of [begin, end), each known to hold exactly `fields` fields after the counter
// field of `counter_first`, as the samples from `first_sample` on. `reader` carries the clock
// reference of sample 0. Stops at the first failure.
LoadError ReadLines(const char* begin, const char* end, int64_t first_sample, FieldReader reader,
                    int fields, bool counter_first, float* const* columns) {
  const char* p = begin;
  int64_t sample = first_sample;
  LoadError error;
  std::vector<FieldReader::Shape> shapes(static_cast<size_t>(fields));
  for (;;) {
    while (p < end && IsLineEnd(*p)) {
      ++p;
    }
    if (p == end) {
      return {};
    }
    // Every field but the last ends at a separator, which the next field steps over.
    if (counter_first) {
      p = reader.SkipField(p) + 1;
    }
    p = reader.ReadTime(p, sample, columns[0][sample], error);
    for (int j = 1; j < fields && !Failed(error); ++j) {
      p = reader.ReadValueLike(p + 1, columns[j][sample], error, shapes[j]);
    }
    if (Failed(error)) {
      return error;
    }
    ++sample;
  }
}

// Reads two pieces of lines, as ReadLines each, a field of one and then the same field of the
// other: a field cannot start before the one before it is found to end, so two independent
// chains of fields let the processor work on both at once. Returns false, with nothing known,
// when a field of either fails: ReadLines then finds the first failure.
bool ReadLinePair(const char* const* begins, const char* const* ends, const int64_t* first_samples,
                  const FieldReader& reader, int fields, bool counter_first,
                  float* const* columns) {
  const char* a = begins[0];
  const char* b = begins[1];
  int64_t sample_a = first_samples[0];
  int64_t sample_b = first_samples[1];
  FieldReader reader_a = reader;
  FieldReader reader_b = reader;
  LoadError error_a;
  LoadError error_b;
  std::vector<FieldReader::Shape> shapes_a(static_cast<size_t>(fields));
  std::vector<FieldReader::Shape> shapes_b(static_cast<size_t>(fields));
  for (;;) {
    while (a < ends[0] && IsLineEnd(*a)) {
      ++a;
    }
    while (b < ends[1] && IsLineEnd(*b)) {
      ++b;
    }
    if (a == ends[0] || b == ends[1]) {
      break;
    }
    if (counter_first) {
      a = reader.SkipField(a) + 1;
      b = reader.SkipField(b) + 1;
    }
    a = reader_a.ReadTime(a, sample_a, columns[0][sample_a], error_a);
    b = reader_b.ReadTime(b, sample_b, columns[0][sample_b], error_b);
    for (int j = 1; j < fields; ++j) {
      a = reader.ReadValueLike(a + 1, columns[j][sample_a], error_a, shapes_a[j]);
      b = reader.ReadValueLike(b + 1, columns[j][sample_b], error_b, shapes_b[j]);
    }
    if (Failed(error_a) || Failed(error_b)) {
      return false;
    }
    ++sample_a;
    ++sample_b;
  }
  // One piece is done; the rest of the other is read alone.
  return !Failed(ReadLines(a, ends[0], sample_a, reader_a, fields, counter_first, columns)) &&
         !Failed(ReadLines(b, ends[1], sample_b, reader_b, fields, counter_first, columns));
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
  int64_t lines = 0;      // lines that are not empty
  bool regular = true;    // every one of them holds `fields` fields
  bool too_long = false;  // one is longer than kMaxLineBytes
};

// Counts the non-empty lines of [begin, end) and checks that each has fields - 1 separators and
// is not too long; stops at the first that fails.
PieceLines ScanLines(const char* begin, const char* end, char separator, int fields) {
  PieceLines result;
  const int wanted = fields - 1;
  int separators = 0;
  const char* line_start = begin;
  const auto line_end_at = [&](const char* at) {
    if (at > line_start) {
      // A marker line is read by the field stream, which passes over it.
      if (separators != wanted ||
          IsMarkLine(std::string_view(line_start, static_cast<size_t>(at - line_start)))) {
        result.regular = false;
      }
      if (static_cast<size_t>(at - line_start) > kMaxLineBytes) {
        result.regular = false;
        result.too_long = true;
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

// Whether a line of the text is longer than kMaxLineBytes; reads no further than its end.
bool HasTooLongLine(std::string_view text) {
  size_t length = 0;
  for (const char c : text) {
    length = IsLineEnd(c) ? 0 : length + 1;
    if (length > kMaxLineBytes) {
      return true;
    }
  }
  return false;
}

// Where the pieces of the body begin: about every `piece_bytes`, each just after a line-end byte,
// so that every piece but the last ends with a line end. The last entry is the body's end. Empty
// when no line end follows a nominal start within kMaxLineBytes: its line is too long.
std::vector<const char*> PieceStarts(std::string_view body, size_t piece_bytes) {
  const char* const begin = body.data();
  const char* const end = begin + body.size();
  std::vector<const char*> starts = {begin};
  for (const char* nominal = begin + piece_bytes; nominal < end;) {
    const char* const last =
        nominal + std::min(static_cast<size_t>(end - nominal), kMaxLineBytes + 1);
    const char* cut = nominal;
    while (cut < last && !IsLineEnd(*cut)) {
      ++cut;
    }
    if (cut == last && last < end) {
      return {};
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

// Allocates the table's columns for `capacity` samples; where each column starts.
std::vector<float*> AllocateColumns(LogTable& table, int64_t capacity) {
  const int columns = table.item_count + 1;
  table.Allocate(columns, capacity);
  std::vector<float*> column_data(columns);
  for (int j = 0; j < columns; ++j) {
    column_data[j] = table.Values(j).data();
  }
  return column_data;
}

// Reads the samples of `body` line by line in pieces on several threads when every line holds
// `fields` fields, and returns false without reading when one does not.
bool ReadRegularLines(std::string_view body, const FieldReader& reader, int fields,
                      bool counter_first, int threads, size_t piece_bytes, LogTable& table,
                      int64_t& samples, LoadError& error, Progress& progress,
                      const TextDone& done) {
  const std::vector<const char*> starts = PieceStarts(body, piece_bytes);
  if (starts.empty()) {
    error = Failure(LoadFailure::kFormat);
    return true;
  }
  const int64_t pieces = static_cast<int64_t>(starts.size()) - 1;
  std::vector<PieceLines> lines(pieces);
  const auto piece_done = [&](int64_t k) {
    if (done) {
      done(std::string_view(starts[k], static_cast<size_t>(starts[k + 1] - starts[k])));
    }
  };
  RunTasks(
      pieces, threads,
      [&](int64_t k) {
        lines[k] = ScanLines(starts[k], starts[k + 1], reader.separator(),
                             fields + static_cast<int>(counter_first));
        piece_done(k);
      },
      [&](int64_t finished) {
        progress.Report(kScanShare * static_cast<double>(finished) / static_cast<double>(pieces));
      });
  if (std::any_of(lines.begin(), lines.end(), [](const PieceLines& p) { return p.too_long; })) {
    error = Failure(LoadFailure::kFormat);
    return true;
  }
  std::vector<int64_t> first_samples(pieces + 1, 0);
  for (int64_t k = 0; k < pieces; ++k) {
    if (!lines[k].regular) {
      return false;
    }
    first_samples[k + 1] = first_samples[k] + lines[k].lines;
  }
  samples = first_samples[pieces];

  const std::vector<float*> column_data = AllocateColumns(table, samples + kTailSamples);
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
    piece_reader.ReadTime(counter_first ? piece_reader.SkipField(first_line) + 1 : first_line, 0,
                          unused, ignored);
  }
  std::vector<LoadError> errors(pieces);
  // Each task reads two neighbouring pieces together (see ReadLinePair).
  const int64_t pairs = (pieces + 1) / 2;
  RunTasks(
      pairs, threads,
      [&](int64_t pair) {
        const int64_t k = 2 * pair;
        if (k + 1 < pieces) {
          const char* const ends[] = {starts[k + 1], starts[k + 2]};
          if (ReadLinePair(&starts[k], ends, &first_samples[k], piece_reader, fields, counter_first,
                           column_data.data())) {
            piece_done(k);
            piece_done(k + 1);
            return;
          }
        }
        for (int64_t piece = k; piece < std::min(k + 2, pieces); ++piece) {
          errors[piece] = ReadLines(starts[piece], starts[piece + 1], first_samples[piece],
                                    piece_reader, fields, counter_first, column_data.data());
          piece_done(piece);
        }
      },
      [&](int64_t finished) {
        progress.Report(kScanShare +
                        kParseShare * static_cast<double>(finished) / static_cast<double>(pairs));
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

}  // namespace

LoadError ReadSamples(std::string_view body, const FieldReader& reader, int fields,
                      bool counter_first, const ReadSplit& split, int threads, LogTable& table,
                      int64_t& samples, Progress& progress, const TextDone& done) {
  // Pieces small enough for every thread to get several pairs, so that one slowed down by the
  // rest of the machine holds the others up little; the text of a pair stays in memory until
  // both are read.
  constexpr size_t kMinPieceBytes = size_t{256} << 10;
  const size_t piece_bytes =
      split.piece_bytes > 0
          ? split.piece_bytes
          : std::max(kMinPieceBytes, body.size() / (static_cast<size_t>(threads) * 32));
  samples = 0;
  LoadError error;
  if (!split.sequential && ReadRegularLines(body, reader, fields, counter_first, threads,
                                            piece_bytes, table, samples, error, progress, done)) {
    return error;
  }
  if (HasTooLongLine(body)) {
    return Failure(LoadFailure::kFormat);
  }
  const int64_t bound =
      (CountTerminators(body, reader.separator()) + 1) / (fields + counter_first) + 1;
  if (done) {
    done(body);
  }
  const std::vector<float*> column_data = AllocateColumns(table, bound + kTailSamples);
  SampleParser parser(body, reader, fields, counter_first, column_data.data(), done);
  return parser.Run(samples, progress);
}

}  // namespace dravik
