#include "panel/item_panel.h"

#include <functional>
#include <utility>

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QScrollBar>

#include "chart/twips.h"
#include "chart/wheel_filter.h"
#include "common/arrow_key_filter.h"
#include "common/drop_filter.h"
#include "common/rounding.h"
#include "panel/item_panel_layout.h"

namespace dravik {
namespace {

// The margin left of the item boxes, where a box whose item the reference log also has gets a
// short dashed bar: beside the box, so that the box's caption, tooltip and copies stay the name.
class ReferenceMarkMargin : public QWidget {
 public:
  using MarkedRows = std::function<std::vector<QRect>()>;
  ReferenceMarkMargin(QWidget* parent, MarkedRows rows) : QWidget(parent), rows_(std::move(rows)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QPen pen(QColor(96, 96, 96));
    pen.setWidth(2);
    pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    const int x = width() / 2;
    for (const QRect& row : rows_()) {
      painter.drawLine(x, row.top() + 3, x, row.bottom() - 3);
    }
  }

 private:
  MarkedRows rows_;
};

}  // namespace

ItemPanel::ItemPanel(QWidget* parent)
    : QGroupBox(parent),
      view_(new QWidget(this)),
      list_(new QWidget(view_)),
      scroll_(new QScrollBar(Qt::Vertical, this)),
      filter_label_(new QLabel(this)),
      filter_(new QLineEdit(this)),
      drops_(new DropFilter(this)),
      arrow_keys_(new ArrowKeyFilter(this)) {
  marks_ = new ReferenceMarkMargin(this, [this] {
    std::vector<QRect> rows;
    for (int index = 1; index <= BoxCount(); ++index) {
      if (HasReferenceMark(index) && Box(index)->isVisible()) {
        rows.push_back(Box(index)->geometry().translated(0, list_->y()));
      }
    }
    return rows;
  });
  QLabel* label = filter_label_;
  filter_->setObjectName(QStringLiteral("txtItemFilter"));
  RetranslateUi();
  connect(filter_, &QLineEdit::textChanged, this, &ItemPanel::ApplyFilter);
  const int view_top_px = TwipsToPixels(kItemViewTopTwips + kItemFilterRowTwips);
  view_->move(TwipsToPixels(kItemViewLeftTwips), view_top_px);
  view_->resize(TwipsToPixels(kItemBoxWidthTwips), 0);
  list_->setGeometry(0, 0, TwipsToPixels(kItemBoxWidthTwips), 0);
  scroll_->setGeometry(TwipsToPixels(kItemScrollLeftTwips), view_top_px,
                       TwipsToPixels(kItemScrollWidthTwips), 0);
  marks_->setGeometry(0, view_top_px, TwipsToPixels(kItemViewLeftTwips), 0);
  scroll_->setRange(0, 0);
  scroll_->setSingleStep(kItemRowTwips);
  scroll_->setEnabled(false);
  connect(scroll_, &QScrollBar::valueChanged, this, &ItemPanel::ScrollList);
  WheelFilter* wheel = WheelFilter::ForItemPanel(scroll_, this);
  for (QWidget* widget : {static_cast<QWidget*>(this), list_, static_cast<QWidget*>(scroll_)}) {
    wheel->Watch(widget);
  }
  connect(drops_, &DropFilter::FileDropped, this, &ItemPanel::FileDropped);
  // A file dropped on the filter opens like one dropped anywhere else, rather than adding its
  // path to the filter's text.
  for (QWidget* widget : {static_cast<QWidget*>(this), view_, list_, static_cast<QWidget*>(label),
                          static_cast<QWidget*>(filter_)}) {
    drops_->Accept(widget);
  }
  drops_->Refuse(scroll_);

  QCheckBox* first = NewBox();
  first->setText(QString::fromUtf8(kEmptyItemCaption.data(), kEmptyItemCaption.size()));
  first->hide();
  boxes_.push_back(first);
}

void ItemPanel::RetranslateUi() {
  setTitle(tr("表示項目"));
  filter_label_->setText(tr("項目の絞り込み:"));
  // The filter takes the row's width that its label leaves.
  const int label_px = filter_label_->sizeHint().width();
  const int filter_left_px = TwipsToPixels(kItemViewLeftTwips);
  const int filter_right_px = TwipsToPixels(kItemScrollLeftTwips + kItemScrollWidthTwips);
  filter_label_->setGeometry(filter_left_px, TwipsToPixels(kItemViewTopTwips), label_px,
                             TwipsToPixels(kItemFilterHeightTwips));
  filter_->setGeometry(filter_left_px + label_px, TwipsToPixels(kItemViewTopTwips),
                       filter_right_px - filter_left_px - label_px,
                       TwipsToPixels(kItemFilterHeightTwips));
}

void ItemPanel::changeEvent(QEvent* event) {
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) {
    RetranslateUi();
  }
}

QCheckBox* ItemPanel::NewBox() {
  auto* box = new QCheckBox(list_);
  const int index = static_cast<int>(boxes_.size()) + 1;
  box->setGeometry(0, TwipsToPixels(ItemBoxTop(index)), TwipsToPixels(kItemBoxWidthTwips),
                   TwipsToPixels(kItemBoxHeightTwips));
  connect(box, &QCheckBox::toggled, this, [this, index] { emit ItemClicked(index); });
  box->installEventFilter(this);
  drops_->Accept(box);
  arrow_keys_->Watch(box);
  return box;
}

void ItemPanel::ClearItemPanel() {
  scroll_->setValue(0);
  boxes_.front()->hide();
  while (boxes_.size() > 1) {
    delete boxes_.back();
    boxes_.pop_back();
  }
  names_.clear();
}

void ItemPanel::BuildItemPanel(const std::vector<std::string>& names, int item_count,
                               const ItemColors& colors, bool always_tooltip) {
  if (item_count < 1) {
    return;
  }
  boxes_.front()->show();
  for (int i = 2; i <= item_count; ++i) {
    QCheckBox* box = NewBox();
    box->setChecked(false);
    box->show();
    boxes_.push_back(box);
  }
  list_->resize(list_->width(), TwipsToPixels(ItemListHeight(item_count)));
  FitItemPanelScroll();

  const int64_t available_px = ItemCaptionAvailablePx();
  for (int i = 1; i <= item_count; ++i) {
    FitCaption(i, names[i], available_px, always_tooltip);
    SetBoxColour(i, ItemColour(colors, i));
    Box(i)->setEnabled(true);
    names_.push_back(QString::fromStdString(names[i]));
  }
  if (!filter_->text().isEmpty()) {
    ApplyFilter();
  }
}

void ItemPanel::FitCaption(int index, const std::string& name, int64_t available_px,
                           bool always_tooltip) {
  QCheckBox* box = Box(index);
  const QFontMetricsF metrics(box->font());
  const TextMeasure measure = [&metrics](std::string_view text) {
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), text.size()));
  };
  const FittedCaption fitted = FitItemCaption(name, available_px, measure, always_tooltip);
  box->setText(QString::fromStdString(fitted.caption));
  box->setToolTip(QString::fromStdString(fitted.tooltip));
}

void ItemPanel::MarkComputedItems(const std::vector<std::string>& names, int first, int count,
                                  bool always_tooltip) {
  // The sign is the box's icon: drawn between the box and the caption, never part of the text.
  const int side = QFontMetrics(font()).height() - 2;
  const int sign_px = static_cast<int>(RoundHalfEven(side * devicePixelRatio()));
  QPixmap sign(sign_px, sign_px);
  sign.setDevicePixelRatio(devicePixelRatio());
  sign.fill(Qt::transparent);
  {
    QPainter painter(&sign);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(96, 96, 96), 1));
    painter.drawRoundedRect(QRectF(0.5, 0.5, side - 1, side - 1), 2, 2);
    QFont italic = font();
    italic.setItalic(true);
    italic.setPixelSize(side - 3);
    painter.setFont(italic);
    painter.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, QStringLiteral("f"));
  }
  const QIcon icon(sign);
  for (int i = 1; i <= BoxCount(); ++i) {
    QCheckBox* box = Box(i);
    const bool computed = i >= first && i < first + count && first > 0;
    if (computed) {
      box->setIcon(icon);
      box->setIconSize(QSize(side, side));
      FitCaption(i, names[i], ItemCaptionAvailablePx() - side - 4, always_tooltip);
    } else if (!box->icon().isNull()) {
      box->setIcon(QIcon());
    }
  }
}

void ItemPanel::ApplyFilter() {
  if (names_.empty()) {
    return;
  }
  const QString text = filter_->text();
  int shown = 0;
  for (size_t i = 0; i < names_.size(); ++i) {
    QCheckBox* box = boxes_[i];
    const bool show = names_[i].contains(text, Qt::CaseInsensitive);
    if (show) {
      box->move(0, TwipsToPixels(ItemBoxTop(++shown)));
    }
    box->setVisible(show);
  }
  list_->resize(list_->width(), shown == 0 ? 0 : TwipsToPixels(ItemListHeight(shown)));
  scroll_->setValue(0);
  FitItemPanelScroll();
  marks_->update();
}

void ItemPanel::FitItemPanelScroll() {
  const int32_t list_height = PixelsToTwips(list_->height());
  const ItemPanelScroll fit =
      dravik::FitItemPanelScroll(PixelsToTwips(height()) - kItemFilterRowTwips, list_height);
  const int view_px = TwipsToPixels(fit.view_height);
  scroll_->resize(scroll_->width(), view_px);
  view_->resize(view_->width(), view_px);
  marks_->resize(marks_->width(), view_px);
  scroll_->setEnabled(fit.enabled);
  if (fit.enabled) {
    scroll_->setMaximum(fit.maximum);
    scroll_->setPageStep(fit.page_step);
  }
}

void ItemPanel::UncheckAll() {
  for (QCheckBox* box : boxes_) {
    SetCheckedQuietly(box, false);
  }
}

void ItemPanel::CheckItems(const std::vector<int>& indices) {
  for (const int index : indices) {
    if (index >= 1 && index <= BoxCount()) {
      SetCheckedQuietly(Box(index), true);
    }
  }
}

void ItemPanel::SetCheckedQuietly(QCheckBox* box, bool checked) {
  const bool was_hidden = box->isHidden();
  box->hide();
  box->setChecked(checked);
  box->setVisible(!was_hidden);
}

void ItemPanel::SetBoxColour(int index, Rgb colour) {
  QCheckBox* box = Box(index);
  QPalette palette = box->palette();
  const QColor text(RedOf(colour), GreenOf(colour), BlueOf(colour));
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Text, text);
  box->setPalette(palette);
}

bool ItemPanel::IsItemChecked(int index) const {
  return index >= 1 && index <= BoxCount() && Box(index)->isChecked();
}

void ItemPanel::SetReferenceMarks(const std::vector<bool>& marked) {
  marked_ = marked;
  marks_->update();
}

bool ItemPanel::HasReferenceMark(int index) const {
  return index >= 1 && index < static_cast<int>(marked_.size()) && marked_[index];
}

bool ItemPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      for (int i = 1; i <= BoxCount(); ++i) {
        if (Box(i) == watched) {
          emit ItemRightReleased(i, mouse->globalPosition().toPoint());
          return true;
        }
      }
    }
  }
  return QGroupBox::eventFilter(watched, event);
}

void ItemPanel::ScrollList(int position) {
  list_->move(0, -TwipsToPixels(position));
  marks_->update();
}

}  // namespace dravik
