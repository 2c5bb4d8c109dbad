#include "panel/trip_list_panel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidget>

#include "chart/layout.h"
#include "chart/twips.h"
#include "log/fuel_trip.h"
#include "panel/top_level_window.h"

namespace dravik {

TripListPanel::TripListPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("走行/燃費情報"), parent), list_(new QTreeWidget(this)) {
  setObjectName(QStringLiteral("fraFuelEfficient"));
  list_->setObjectName(QStringLiteral("lstFuelEfficient"));
  resize(PixelSize(kRightColumnWidth, kCommandFrameHeight));
  list_->setGeometry(PixelRect(kTripListRect));
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setHeaderLabels({QStringLiteral("項目"), QStringLiteral("値"), QStringLiteral("単位")});
  list_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  list_->header()->setStretchLastSection(false);
  list_->setColumnWidth(0, TwipsToPixels(kTripNameColumnWidth));
  list_->setColumnWidth(1, TwipsToPixels(kTripValueColumnWidth));
  list_->setColumnWidth(2, TwipsToPixels(kTripUnitColumnWidth));
  // The columns fit the list; a horizontal bar would only hide the last row.
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The popup menu opens on the right button's release.
  list_->viewport()->installEventFilter(this);
}

void TripListPanel::FillTripList(const LogTable& table, const Settings& settings) {
  list_->clear();
  const TripSummary trip = ComputeTripSummary(table, FuelParamsOf(settings), 0, table.last_sample);
  rows_ = TripListRows(trip, table.has_speed, table.has_economy);
  for (const TripListRow& row : rows_) {
    auto* item = new QTreeWidgetItem(
        list_, {QString::fromStdString(row.name), QString::fromStdString(row.value),
                QString::fromStdString(row.unit)});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
}

void TripListPanel::ClearTripList() {
  list_->clear();
  rows_.clear();
}

bool TripListPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && watched == list_->viewport()) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      lstFuelEfficient_MouseUp(mouse->globalPosition().toPoint());
    }
  }
  return QGroupBox::eventFilter(watched, event);
}

void TripListPanel::lstFuelEfficient_MouseUp(QPoint global_pos) {
  if (list_->topLevelItemCount() == 0) {
    return;
  }
  QMenu menu(QStringLiteral("走行/燃費情報"), window());
  menu.addAction(QStringLiteral("走行/燃費情報のコピー"), this,
                 &TripListPanel::mnuFuelEfficientCopy_Click);
  menu.exec(global_pos);
}

void TripListPanel::mnuFuelEfficientCopy_Click() {
  QGuiApplication::clipboard()->setText(QString::fromStdString(TripListClipboardText(rows_)));
}

}  // namespace dravik
