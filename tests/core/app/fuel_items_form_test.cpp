#include "app/fuel_items_form.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(MakeFuelItemsForm, OffersTheLogsItemsAndKeepsAStoredNameThatPicksNone) {
  const std::vector<std::string> names = {"Time", "RPM", "IPW_ms", "Vehicle Speed (km/h)"};
  const FuelItemsForm form = MakeFuelItemsForm(names, {" rpm ", 1, "", "gone"});
  EXPECT_EQ(form.engine_speed.entries,
            (std::vector<std::string>{"RPM", "IPW_ms", "Vehicle Speed (km/h)"}));
  EXPECT_EQ(form.engine_speed.selected, -1);
  EXPECT_EQ(form.speed.selected, 0);  // " rpm " picks RPM
  EXPECT_EQ(form.pulse_width.entries.back(), "gone");
  EXPECT_EQ(form.pulse_width.selected, 3);
  EXPECT_EQ(form.pulse_width.missing, 3);
  EXPECT_EQ(form.speed.missing, -1);
  EXPECT_EQ(form.speed.automatic_text, "自動: Vehicle Speed (km/h) [km/h]");
  EXPECT_EQ(form.engine_speed.automatic_text, "自動: RPM");

  const FuelItemsForm empty = MakeFuelItemsForm({}, {"Speed (mph)", 1, "", ""});
  EXPECT_EQ(empty.speed.entries, (std::vector<std::string>{"Speed (mph)"}));
  EXPECT_EQ(empty.speed.selected, 0);
  EXPECT_EQ(empty.speed.missing, -1);  // no log to miss it
  EXPECT_TRUE(empty.engine_speed.entries.empty());
  EXPECT_EQ(empty.pulse_width.automatic_text, "自動: なし");
}

}  // namespace
}  // namespace dravik
