#pragma once

#include <cstdint>
#include <functional>

#include <QObject>

class QScrollBar;
class QWidget;

namespace dravik {

// Mouse-wheel scrolling for a group of widgets that share one scroll bar: the chart (graph, scale
// strip and time scroll bar, moving the time scroll bar) or the item panel (frame, check-box
// carrier and its scroll bar, moving that scroll bar). Installed as an event filter on each widget
// of the group. Every wheel event reaching a watched widget is taken over, so the scroll bar's own
// wheel handling never adds to it, and since the event then stops there, a wheel turned over a
// child (an item check box) steps once, not once per watched parent.
//
// A step is taken per notch (an angle of 120); high-resolution wheels accumulate toward a notch,
// and an event carrying several notches at once still steps once. Turning the wheel toward the
// user (negative angle) scrolls the chart forward and the item list down. Arrow clicks on the
// scroll bars are left to the scroll bars: they move by the small change alone.
class WheelFilter : public QObject {
  Q_OBJECT

 public:
  // The chart: steps of WheelStep(view_span()) positions of `time_scroll_bar`, with the span read
  // afresh at every notch.
  static WheelFilter* ForChart(QScrollBar* time_scroll_bar, std::function<int64_t()> view_span,
                               QObject* parent);
  // The item panel: steps of 120 (twips of panel offset) of `item_scroll_bar`.
  static WheelFilter* ForItemPanel(QScrollBar* item_scroll_bar, QObject* parent);

  // With Ctrl held, a notch of the chart's wheel calls `step` instead of scrolling: +1 turned
  // away from the user, -1 toward the user.
  void SetControlWheel(std::function<void(int delta)> step) { control_step_ = std::move(step); }

  // Starts watching `widget`.
  void Watch(QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Area { kChart, kItemPanel };
  WheelFilter(Area area, QScrollBar* scroll_bar, std::function<int64_t()> view_span,
              QObject* parent);
  void Step(bool toward_user, bool control);

  Area area_;
  QScrollBar* scroll_bar_;
  std::function<int64_t()> view_span_;  // chart only
  std::function<void(int delta)> control_step_;
  int pending_angle_ = 0;  // the part of a notch turned so far, sign = direction
};

}  // namespace dravik
