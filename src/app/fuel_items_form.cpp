#include "app/fuel_items_form.h"

#include <string_view>

#include "common/core_text.h"
#include "log/fuel_items.h"

namespace dravik {
namespace {

FuelItemList MakeList(const std::vector<std::string>& names, std::string_view stored, int automatic,
                      std::string_view unit) {
  FuelItemList list;
  for (size_t i = 1; i < names.size(); ++i) {
    if (list.selected < 0 && IsChosenItem(names[i], stored)) {
      list.selected = static_cast<int>(list.entries.size());
    }
    list.entries.push_back(names[i]);
  }
  if (list.selected < 0 && !stored.empty()) {
    list.selected = static_cast<int>(list.entries.size());
    if (!names.empty()) {
      list.missing = list.selected;
    }
    list.entries.emplace_back(stored);
  }
  list.automatic_text = CoreText::Tr("自動: ");
  if (automatic < 0) {
    list.automatic_text += CoreText::Tr("なし");
  } else {
    list.automatic_text += names[automatic];
    if (!unit.empty()) {
      list.automatic_text.append(" [").append(unit).append("]");
    }
  }
  return list;
}

}  // namespace

std::vector<std::string> LoggedItemNames(const LogTable& table) {
  if (!table.IsLoaded()) {
    return {};
  }
  std::vector<std::string> names = table.item_names;
  if (table.has_economy) {
    names.pop_back();
  }
  return names;
}

FuelItemsForm MakeFuelItemsForm(const std::vector<std::string>& names,
                                const FuelItemNames& stored) {
  const FuelItems automatic = FindFuelItems(names, FuelItemNames{});
  return {MakeList(names, stored.speed, automatic.speed, automatic.speed_mph ? "mph" : "km/h"),
          MakeList(names, stored.engine_speed, automatic.engine_speed, {}),
          MakeList(names, stored.pulse_width, automatic.pulse_width, {})};
}

}  // namespace dravik
