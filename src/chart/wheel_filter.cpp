#include "chart/wheel_filter.h"

#include <algorithm>
#include <limits>

#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include "chart/scaling.h"

namespace dravik {

namespace {

constexpr int kNotchAngle = 120;

int ToScrollValue(int64_t value) {
  return static_cast<int>(
      std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

WheelFilter::WheelFilter(Area area, QScrollBar* scroll_bar, std::function<int64_t()> view_span,
                         QObject* parent)
    : QObject(parent), area_(area), scroll_bar_(scroll_bar), view_span_(std::move(view_span)) {}

WheelFilter* WheelFilter::ForChart(QScrollBar* time_scroll_bar, std::function<int64_t()> view_span,
                                   QObject* parent) {
  return new WheelFilter(Area::kChart, time_scroll_bar, std::move(view_span), parent);
}

WheelFilter* WheelFilter::ForItemPanel(QScrollBar* item_scroll_bar, QObject* parent) {
  return new WheelFilter(Area::kItemPanel, item_scroll_bar, {}, parent);
}

void WheelFilter::Watch(QWidget* widget) {
  widget->installEventFilter(this);
}

bool WheelFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) {
    return QObject::eventFilter(watched, event);
  }
  const auto* wheel = static_cast<QWheelEvent*>(event);
  const int angle = wheel->angleDelta().y();
  // A turn in the other direction starts a new notch rather than cancelling part of the old one.
  if ((angle > 0 && pending_angle_ < 0) || (angle < 0 && pending_angle_ > 0)) {
    pending_angle_ = 0;
  }
  pending_angle_ += angle;
  if (pending_angle_ <= -kNotchAngle || pending_angle_ >= kNotchAngle) {
    const bool toward_user = pending_angle_ < 0;
    pending_angle_ %= kNotchAngle;
    Step(toward_user, (wheel->modifiers() & Qt::ControlModifier) != 0);
  }
  event->accept();
  return true;
}

void WheelFilter::Step(bool toward_user, bool control) {
  if (control && control_step_) {
    control_step_(toward_user ? -1 : 1);
    return;
  }
  const int64_t value = scroll_bar_->value();
  const int64_t minimum = scroll_bar_->minimum();
  const int64_t maximum = scroll_bar_->maximum();
  int64_t next;
  if (area_ == Area::kChart) {
    const int64_t step = WheelStep(view_span_());
    next = toward_user ? ScrollChartForward(value, minimum, maximum, step)
                       : ScrollChartBack(value, minimum, maximum, step);
  } else {
    next = toward_user ? ScrollItemsDown(value, minimum, maximum)
                       : ScrollItemsUp(value, minimum, maximum);
  }
  scroll_bar_->setValue(ToScrollValue(next));
}

}  // namespace dravik
