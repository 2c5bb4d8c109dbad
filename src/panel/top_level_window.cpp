#include "panel/top_level_window.h"

#include <algorithm>

#include <QShowEvent>
#include <QWidget>

#include "chart/twips.h"

namespace dravik {

QMargins FrameExtents(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                         frame.right() - client.right(), frame.bottom() - client.bottom());
  // A window not made yet may report a frame a pixel smaller than itself.
  if (margins.left() <= 0 && margins.top() <= 0 && margins.right() <= 0 && margins.bottom() <= 0) {
    return QMargins(kClassicSizingFramePx, kClassicCaptionPx + kClassicSizingFramePx,
                    kClassicSizingFramePx, kClassicSizingFramePx);
  }
  return margins;
}

QRect PixelRect(const Rect& twips) {
  return QRect(TwipsToPixels(twips.left), TwipsToPixels(twips.top), TwipsToPixels(twips.width),
               TwipsToPixels(twips.height));
}

QSize PixelSize(int32_t width_twips, int32_t height_twips) {
  return QSize(TwipsToPixels(width_twips), TwipsToPixels(height_twips));
}

Rect TwipsRect(const QRect& px) {
  return {PixelsToTwips(px.x()), PixelsToTwips(px.y()), PixelsToTwips(px.width()),
          PixelsToTwips(px.height())};
}

TopLevelWindow::TopLevelWindow(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), frame_(FrameExtents(*this)) {}

QRect TopLevelWindow::OuterRectTwips() const {
  const QSize outer = size().grownBy(frame_);
  return QRect(PixelsToTwips(x()), PixelsToTwips(y()), PixelsToTwips(outer.width()),
               PixelsToTwips(outer.height()));
}

void TopLevelWindow::SetOuterRectTwips(const QRect& rect_twips) {
  requested_twips_ = rect_twips;
  ApplyMinimumSize();
  const QSize client = ClientSize(rect_twips.width(), rect_twips.height());
  move(TwipsToPixels(rect_twips.x()), TwipsToPixels(rect_twips.y()));
  resize(std::max(client.width(), minimumWidth()), std::max(client.height(), minimumHeight()));
}

QSize TopLevelWindow::ClientSize(int32_t width_twips, int32_t height_twips) const {
  return PixelSize(width_twips, height_twips).shrunkBy(frame_);
}

int32_t TopLevelWindow::ChromeHeightTwips() const {
  return WindowChromeHeight(frame_.top() - frame_.bottom(), frame_.bottom());
}

int32_t TopLevelWindow::FrameWidthTwips() const {
  return PixelsToTwips(frame_.left() + frame_.right());
}

void TopLevelWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Before the first show the platform reports no frame and the classic one stood in. Where the
  // real frame is known now, the place and size asked for are applied again with it.
  const QMargins frame = FrameExtents(*this);
  if (!shown_ && frame != frame_) {
    frame_ = frame;
    ApplyMinimumSize();
    if (requested_twips_) {
      SetOuterRectTwips(*requested_twips_);
    }
  }
  shown_ = true;
}

}  // namespace dravik
