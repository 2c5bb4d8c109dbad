#pragma once

#include <string>
#include <vector>

#include "common/settings.h"
#include "log/log_table.h"

namespace dravik {

// One drop-down list of the dialog "燃費計算の項目" and the line under it.
struct FuelItemList {
  std::vector<std::string> entries;  // the entries after "(自動)"
  int selected = -1;                 // index into entries; -1 for "(自動)"
  int missing = -1;            // the entry of a stored name the loaded log lacks; -1 when none is
  std::string automatic_text;  // "自動: RPM", "自動: Speed (mph) [mph]" or "自動: なし"
};

struct FuelItemsForm {
  FuelItemList speed;
  FuelItemList engine_speed;
  FuelItemList pulse_width;
};

// The names of a table's logged items, 0 the time column, without the economy item; none while
// the table is empty.
std::vector<std::string> LoggedItemNames(const LogTable& table);

// The dialog's lists for the item names of the loaded log (`names`, 0 the time column, without
// the economy item; empty when no log is loaded) and the `stored` choice. Each list offers the
// log's data items and selects the one the stored name picks; a stored name that picks none (or
// any stored name while no log is loaded) is offered after them, so that OK keeps it, and with a
// log loaded marked as missing from it. The line
// under a list names what the automatic rules pick in the log, with the speed's unit.
FuelItemsForm MakeFuelItemsForm(const std::vector<std::string>& names, const FuelItemNames& stored);

}  // namespace dravik
