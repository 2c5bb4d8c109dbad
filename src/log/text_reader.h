#pragma once

#include <string_view>

#include "log/log_reader.h"

namespace dravik {

// Text logs: a header line of item names (after an optional title block), an optional units row,
// then one sample a line, the time first. Text may be UTF-8 (a byte-order mark is skipped),
// UTF-16 with a byte-order mark, or hold item names in CP932. The header decides the separator:
// "," when it holds one; otherwise ";" (with "," as a decimal point besides "."), or else a tab.
// CR LF, LF and CR end lines; lines of zero length and lines that begin with "MARK" are skipped.
// An empty data field holds its item's value from the sample before. The samples are read in
// pieces of whole lines on several threads when every line holds as many fields as the header;
// otherwise as one stream of fields, so that a line with a field too few or too many shifts every
// later sample.
class TextReader final : public LogReader {
 public:
  LoadError Read(std::string_view bytes, const ReadContext& context,
                 LogTable& table) const override;
};

}  // namespace dravik
