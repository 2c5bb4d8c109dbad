#pragma once

#include <string_view>

#include "log/log_reader.h"

namespace dravik {

// Binary logs that begin with "MLVLG", versions 1 and 2, big-endian throughout: a header, one
// description per field (type, name, unit, scale, transform), then from the data offset on blocks
// of a record (each followed by a check byte, the sum of its bytes) or a marker. A field's value
// is (raw + transform) x scale rounded once to a single; one that is not finite or beyond the
// single range holds the value before. The first field named "Time" (letter case aside) gives the
// time in seconds; without one, the blocks' 10 us timestamps do. A record whose check byte
// differs is left out; a block of another type, or one cut short, ends the data. A header or field
// descriptions cut short, another version, an unknown field type or field sizes that do not add
// up to the record length is a format failure.
class MlvlgReader final : public LogReader {
 public:
  LoadError Read(std::string_view bytes, const ReadContext& context,
                 LogTable& table) const override;
};

}  // namespace dravik
