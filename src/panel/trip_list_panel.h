#pragma once

#include <vector>

#include <QGroupBox>

#include "common/settings.h"
#include "log/log_table.h"
#include "panel/trip_list.h"

class QTreeWidget;

namespace dravik {

// The trip list's frame (fraFuelEfficient "走行/燃費情報") holding the list (lstFuelEfficient) of
// the whole log's driving time, speed and fuel figures; the right button's release over a list
// with rows opens its copy menu. A file dropped on the frame or the list is reported.
class TripListPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit TripListPanel(QWidget* parent = nullptr);

  // Fills the list with the trip summary of the whole loaded log.
  void FillTripList(const LogTable& table, const Settings& settings);
  // Removes every row, after a failed load.
  void ClearTripList();

 signals:
  void FileDropped(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void lstFuelEfficient_MouseUp(QPoint global_pos);
  // The copy command ("走行/燃費情報のコピー"): the rows as text to the clipboard.
  void mnuFuelEfficientCopy_Click();
  // Lowers the header so that a full list, kTripListRowCount rows, shows without scrolling.
  void FitHeaderToRows();

  QTreeWidget* list_;
  std::vector<TripListRow> rows_;  // what the list shows, for its copy command
};

}  // namespace dravik
