#pragma once

#include <string_view>

#include "log/log_reader.h"

namespace dravik {

// Channel-block exports, whose first line is "%DataLog%": a header of lines up to the first that
// begins with "Log :", in which each "Channel : NAME" line starts a channel and the channel's
// first "Type : T" line gives its type; then one sample a line, a clock time and one raw integer
// per channel, separated by commas. Each item is named "NAME (unit)" after its type, its value
// raw x factor + offset of that type rounded once to a single; a raw value within 1,000 of the
// smallest 32-bit integer is the logger's "no value", which holds the value before. The time
// column, named "Time", holds the clock times less the first one in ms. A header without a
// "Log :" line, a sample line with another field count or a first field that is not a clock time
// is a format failure.
class ChannelBlockReader final : public LogReader {
 public:
  LoadError Read(std::string_view bytes, const ReadContext& context,
                 LogTable& table) const override;
};

}  // namespace dravik
