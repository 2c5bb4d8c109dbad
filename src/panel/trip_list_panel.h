#pragma once

#include <vector>

#include <QGroupBox>

#include "common/settings.h"
#include "log/log_table.h"
#include "log/reference_log.h"
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

  // Fills the list with the trip summary of the whole loaded log, and with an open `reference`
  // the column "比較" with the reference's whole-log figures.
  void FillTripList(const LogTable& table, const Settings& settings,
                    const ReferenceLog* reference = nullptr);
  // Removes every row, after a failed load.
  void ClearTripList();

 signals:
  // `as_reference`: dropped with Shift held, to be opened as the reference log.
  void FileDropped(const QString& path, bool as_reference);

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RetranslateUi();
  void lstFuelEfficient_MouseUp(QPoint global_pos);
  // The copy command ("走行/燃費情報のコピー"): the rows as text to the clipboard.
  void mnuFuelEfficientCopy_Click();
  // Widens the name column into the value column's spare room where a name needs it.
  void FitNameColumn();
  // The width a cell needs to show `text` whole.
  int CellWidth(const QString& text) const;
  // Lowers the header so that a full list, kTripListRowCount rows, shows without scrolling.
  void FitHeaderToRows();

  QTreeWidget* list_;
  // Sets the columns: three, or four with "比較".
  void SetColumns(bool with_reference);
  // Fits the four columns with "比較" to their texts within the list's width.
  void FitReferenceColumns();

  std::vector<TripListRow> rows_;  // what the list shows, for its copy command
  bool with_reference_ = false;    // the list shows the column "比較"
};

}  // namespace dravik
