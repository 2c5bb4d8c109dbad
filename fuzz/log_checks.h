#pragma once

#include <cstdint>
#include <string_view>

#include "common/settings.h"
#include "log/load_error.h"
#include "log/log_table.h"

// Checks that the fuzz targets of the log readers share.
namespace dravik::fuzz {

// Aborts, which the fuzzer reports, when `condition` is false.
void Check(bool condition);

// Settings picked by a selector byte: both scale roundings and fuel values from none to extreme.
Settings SettingsOf(uint8_t selector);

// Loads `bytes` sequentially and split among threads as `selector` picks, checks that both give
// the same outcome and table, what a successful load holds or a failed one leaves (nothing), and
// that a failing second load leaves nothing of the first.
void CheckLoads(std::string_view bytes, uint8_t selector);

}  // namespace dravik::fuzz
