#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "log/formula_eval.h"
#include "log/fuel_trip.h"
#include "log/load_error.h"
#include "log/log_table.h"
#include "log/read_options.h"
#include "log/read_progress.h"

namespace dravik {

// Reads the log at `path` into `table`: item names, the fuel items recognised when `fuel` has a
// positive flow and cylinder count, every sample, the computed items of `formulas` that the log can
// have after the logged items (each formula's outcome in formula_outcomes), the economy item,
// extremes and tail samples.
// The content decides the format (DetectLogFormat), never the file's name. The chart positions are
// left to the chart. On failure the table is cleared and the error says which message to show: a
// missing file is kFileNotFound, a directory or a file without read permission kPathAccessError, a
// read error kDeviceIoError. A file that grows or shrinks while it is read is read as far as it
// reaches.
LoadError ReadLog(const std::string& path, const FuelParams& fuel, LogTable& table,
                  const ReadProgress& progress = {}, const ReadSplit& split = {},
                  const FormulaOptions& formulas = {});

// The same from the file's bytes already in memory.
LoadError ReadLogFromBuffer(std::string_view bytes, const FuelParams& fuel, LogTable& table,
                            const ReadProgress& progress = {}, const ReadSplit& split = {},
                            const FormulaOptions& formulas = {});

enum class LogFormat {
  kText,          // text logs with a header line (TextReader)
  kChannelBlock,  // "%DataLog%" exports (ChannelBlockReader)
  kBinary,        // "MLVLG" binary logs (MlvlgReader)
};

// The format of a log's bytes: "MLVLG" as the first five bytes is the binary log; a first line
// that is "%DataLog%" (a UTF-8 byte-order mark and blanks around it aside) the channel-block
// export; anything else text.
LogFormat DetectLogFormat(std::string_view bytes);

// What a reader is given besides the bytes.
struct ReadContext {
  FuelParams fuel;
  ReadSplit split;
  int threads = 1;  // threads to read on
  Progress* progress = nullptr;
  TextDone done;               // when set, told of parts done with
  std::function<void()> read;  // when set, told once the bytes are no longer needed
  FormulaOptions formulas;
  ComputedPlan* plan = nullptr;  // the computed items as SetItemNames planned them
};

// A reader of one log format: bytes in, the table out. Each gives the item names to
// SetItemNames, fills the columns that it allocates with the samples it reads (kEmptyValue where
// an item has no value in a sample) and ends with CompleteTable. Throws std::bad_alloc.
class LogReader {
 public:
  virtual ~LogReader() = default;
  virtual LoadError Read(std::string_view bytes, const ReadContext& context,
                         LogTable& table) const = 0;
};

// The reader of a format.
const LogReader& ReaderFor(LogFormat format);

// Sets the item names (`names[0]` names the time column), then the names of the computed items
// that the log can have (PlanComputedItems), the fuel items found among them with the flags set
// when the fuel settings have a positive flow and cylinder count, and the economy item when all
// three are there. A computed item is a fuel item only when the user has chosen it by name. More
// than kMaxItems data items, the economy item included and the computed items not, is a format
// failure.
LoadError SetItemNames(std::vector<std::string> names, const ReadContext& context, LogTable& table);

// Ends a reading of `samples` samples into the table's logged columns: fewer than kMinRealSamples
// is the too-few-samples failure; otherwise empty values are filled when `has_empty`, then the
// computed items (in list order; one whose values the chart cannot show is left out with
// UnshowableReason(), and the items named anew without it), the economy item, the extremes and the
// tail samples are made.
LoadError CompleteTable(int64_t samples, bool has_empty, const ReadContext& context,
                        LogTable& table);

}  // namespace dravik
