#include "panel/trip_list_panel.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeWidget>

#include "chart/layout.h"
#include "chart/twips.h"
#include "common/drop_filter.h"
#include "log/fuel_trip.h"
#include "panel/top_level_window.h"

namespace dravik {

TripListPanel::TripListPanel(QWidget* parent) : QGroupBox(parent), list_(new QTreeWidget(this)) {
  setObjectName(QStringLiteral("fraFuelEfficient"));
  list_->setObjectName(QStringLiteral("lstFuelEfficient"));
  resize(PixelSize(kRightColumnWidth, kCommandFrameHeight));
  list_->setGeometry(PixelRect(kTripListRect));
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  RetranslateUi();
  list_->header()->setStretchLastSection(false);
  SetColumns(false);
  // The columns fit the list; a horizontal bar would only hide the last row.
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The popup menu opens on the right button's release.
  list_->viewport()->installEventFilter(this);
  auto* drops = new DropFilter(this);
  connect(drops, &DropFilter::FileDropped, this, &TripListPanel::FileDropped);
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(list_),
                          list_->viewport(), list_->header()->viewport()}) {
    drops->Accept(widget);
  }
}

void TripListPanel::RetranslateUi() {
  setTitle(tr("走行/燃費情報"));
  QStringList labels{tr("項目"), tr("値"), tr("単位")};
  if (with_reference_) {
    labels << tr("比較");
  }
  list_->setHeaderLabels(labels);
}

void TripListPanel::changeEvent(QEvent* event) {
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) {
    RetranslateUi();
  }
}

void TripListPanel::SetColumns(bool with_reference) {
  with_reference_ = with_reference;
  list_->setColumnCount(with_reference ? 4 : 3);
  RetranslateUi();
  list_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  if (with_reference) {
    list_->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
  }
  list_->setColumnWidth(0, TwipsToPixels(kTripNameColumnWidth));
  list_->setColumnWidth(1, TwipsToPixels(kTripValueColumnWidth));
  list_->setColumnWidth(2, TwipsToPixels(kTripUnitColumnWidth));
}

void TripListPanel::FitReferenceColumns() {
  // Four columns share the width of three: the figures and units as wide as their texts, the
  // names the rest. A name too long for that takes its narrow form (English shortens some).
  int figures_px = 0;
  for (int column = 1; column <= 3; ++column) {
    list_->resizeColumnToContents(column);
    figures_px += list_->columnWidth(column);
  }
  const int name_px = std::max(list_->viewport()->width() - figures_px, 0);
  list_->setColumnWidth(0, name_px);
  for (int row = 0; row < list_->topLevelItemCount(); ++row) {
    const TripListRow& names = rows_[static_cast<size_t>(row)];
    const QString full = QString::fromStdString(names.name);
    list_->topLevelItem(row)->setText(
        0, CellWidth(full) <= name_px ? full : QString::fromStdString(names.narrow_name));
  }
}

int TripListPanel::CellWidth(const QString& text) const {
  // The item view keeps this margin on both sides of a cell's text; twice that is asked for,
  // since the view's own padding of a cell is not known here exactly.
  const int margin_px =
      list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
  return list_->fontMetrics().horizontalAdvance(text) + 4 * margin_px;
}

void TripListPanel::FillTripList(const LogTable& table, const Settings& settings,
                                 const ReferenceLog* reference) {
  list_->clear();
  const FuelParams fuel = FuelParamsOf(settings);
  const TripSummary trip = ComputeTripSummary(table, fuel, 0, table.last_sample);
  const bool with_reference = reference != nullptr && reference->IsOpen();
  ReferenceTrip other;
  if (with_reference) {
    const LogTable& log = reference->table;
    other = {ComputeTripSummary(log, fuel, 0, log.last_sample), log.has_speed, log.has_economy};
  }
  if (with_reference != with_reference_) {
    SetColumns(with_reference);
  }
  rows_ = TripListRows(trip, table.has_speed, table.has_economy, with_reference ? &other : nullptr);
  for (const TripListRow& row : rows_) {
    QStringList texts{QString::fromStdString(row.name), QString::fromStdString(row.value),
                      QString::fromStdString(row.unit)};
    if (with_reference) {
      texts << QString::fromStdString(row.reference);
    }
    auto* item = new QTreeWidgetItem(list_, texts);
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    if (with_reference) {
      item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
      // Four columns may leave a name only its narrow form: it shows whole as a tooltip.
      item->setToolTip(0, texts[0]);
    }
  }
  list_->setToolTip(QString::fromStdString(TripListHint(table)));
  if (with_reference) {
    FitReferenceColumns();
  } else {
    FitNameColumn();
  }
  FitHeaderToRows();
}

void TripListPanel::FitNameColumn() {
  // English names are longer than the Japanese ones: a name too wide for its column takes what
  // the value column can spare beyond its widest value.
  const auto widest = [this](int column) {
    int widest_px = 0;
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
      widest_px = std::max(widest_px, CellWidth(list_->topLevelItem(row)->text(column)));
    }
    return widest_px;
  };
  const int name_px = TwipsToPixels(kTripNameColumnWidth);
  const int value_px = TwipsToPixels(kTripValueColumnWidth);
  const int spare_px = std::max(value_px - widest(1), 0);
  const int extra_px = widest(0) > name_px ? spare_px : 0;
  list_->setColumnWidth(0, name_px + extra_px);
  list_->setColumnWidth(1, value_px - extra_px);
}

void TripListPanel::FitHeaderToRows() {
  // The list's height is fixed: when the font's rows and the header's padding would need a scroll
  // bar for the five rows, the header gives up its padding, though never below the text's height.
  const int rows_px = kTripListRowCount * list_->sizeHintForRow(0);
  const int room_px = list_->height() - 2 * list_->frameWidth() - rows_px;
  QTreeWidgetItem* header = list_->headerItem();
  const int header_px = list_->header()->sizeHint().height();
  if (header_px > room_px && room_px >= list_->header()->fontMetrics().height()) {
    for (int column = 0; column < list_->columnCount(); ++column) {
      header->setSizeHint(column, QSize(list_->header()->sectionSizeHint(column), room_px));
    }
  }
}

void TripListPanel::ClearTripList() {
  list_->clear();
  list_->setToolTip(QString());
  rows_.clear();
}

bool TripListPanel::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::MouseButtonPress;
  if ((press || event->type() == QEvent::MouseButtonRelease) && watched == list_->viewport()) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      // The right button only opens the copy menu; it never picks a row.
      if (!press) {
        lstFuelEfficient_MouseUp(mouse->globalPosition().toPoint());
      }
      return true;
    }
  }
  return QGroupBox::eventFilter(watched, event);
}

void TripListPanel::lstFuelEfficient_MouseUp(QPoint global_pos) {
  if (list_->topLevelItemCount() == 0) {
    return;
  }
  QMenu menu(tr("走行/燃費情報"), window());
  menu.addAction(tr("走行/燃費情報のコピー"), this, &TripListPanel::mnuFuelEfficientCopy_Click);
  menu.exec(global_pos);
  // The copy takes every row, so no row stays marked as if it alone had been copied.
  list_->clearSelection();
  list_->setCurrentItem(nullptr);
}

void TripListPanel::mnuFuelEfficientCopy_Click() {
  QGuiApplication::clipboard()->setText(
      QString::fromStdString(TripListClipboardText(rows_, with_reference_)));
}

}  // namespace dravik
