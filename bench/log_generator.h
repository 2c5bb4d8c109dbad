#pragma once

#include <cstdint>
#include <string>

namespace dravik::bench {

// Writes a synthetic ECU log to `path`: a header "Time (msec),<items>" with the engine, speed and
// injector items among the first three picked (so the economy item is derived), then `rows` lines
// of a time in ms (50 ms steps with +-2 ms of jitter) and `items` values that wander within the
// range of their item, printed with the item's decimals, lines ended by CR LF. The column names,
// their order and decimals follow the project's gen_log.py; the values are its own. The same
// arguments always give the same bytes. False when the file cannot be written.
bool WriteGeneratedLog(const std::string& path, int64_t rows, int items);

}  // namespace dravik::bench
