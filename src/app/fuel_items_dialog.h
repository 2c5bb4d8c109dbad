#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "common/settings.h"

class QComboBox;

namespace dravik {

// The dialog "燃費計算の項目": a drop-down list each for the vehicle speed (with its unit), the
// engine speed and the injector pulse width, offering "(自動)" and the loaded log's items
// (MakeFuelItemsForm), each with a line that says what the automatic rules pick. OK accepts;
// Chosen() then holds the choice, "(自動)" as an empty name.
class FuelItemsDialog : public QDialog {
  Q_OBJECT

 public:
  // `names`: the loaded log's item names, 0 the time column, without the economy item; empty
  // when no log is loaded.
  FuelItemsDialog(const std::vector<std::string>& names, const FuelItemNames& stored,
                  QWidget* parent = nullptr);

  FuelItemNames Chosen() const;

 private:
  QComboBox* cmb_speed_;
  QComboBox* cmb_speed_unit_;
  QComboBox* cmb_engine_speed_;
  QComboBox* cmb_pulse_width_;
};

}  // namespace dravik
