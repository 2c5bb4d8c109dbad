#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "log/field_reader.h"
#include "log/load_error.h"
#include "log/log_table.h"
#include "log/read_options.h"
#include "log/read_progress.h"

namespace dravik {

// Reads the samples of `body`, the text after the header from the header's line end on,
// `fields` per sample (time first) after a sample counter that is passed over when
// `counter_first`, into the columns of `table`, which it allocates for
// table.item_count + 1 columns with room for the tail samples. `samples` is how many were read,
// also when a failure stops the reading. When every line holds as many fields as that (and the
// split is not sequential), the lines are read in pieces on `threads` threads; otherwise as one
// stream of fields ended by the separator or a line end, so that a line with a field too few or too
// many shifts every later sample. Lines of zero length and marker lines are skipped. A line longer
// than kMaxLineBytes fails the reading with the format message before any sample is read. `done`,
// when set, is told of each part of the body after every pass over it. Throws std::bad_alloc.
LoadError ReadSamples(std::string_view body, const FieldReader& reader, int fields,
                      bool counter_first, const ReadSplit& split, int threads, LogTable& table,
                      int64_t& samples, Progress& progress, const TextDone& done);

}  // namespace dravik
