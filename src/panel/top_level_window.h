#pragma once

#include <cstdint>
#include <optional>

#include <QMargins>
#include <QRect>
#include <QSize>
#include <QWidget>

#include "chart/layout.h"

class QShowEvent;

namespace dravik {

// The frame the platform draws around a top-level window, in pixels: caption and borders. Where it
// reports none (offscreen, before the first show, some window managers) the classic frame of a
// 19-pixel caption and 4-pixel sizing borders stands in, so that outer sizes stay comparable.
QMargins FrameExtents(const QWidget& window);

// A control's place in pixels for its place in twips, each edge and size converted on its own.
QRect PixelRect(const Rect& twips);
// A size in pixels for a size in twips.
QSize PixelSize(int32_t width_twips, int32_t height_twips);
// A rectangle in twips for one in pixels.
Rect TwipsRect(const QRect& px);

// A top-level window placed by its outer rectangle in twips, frame included, the way the settings
// keep it. All outer sizes are reckoned with one frame, so that the size stored is the size
// applied at the next start: the frame found at construction, replaced once by the real one at
// the first show, when the rectangle last asked for is applied again.
class TopLevelWindow : public QWidget {
  Q_OBJECT

 public:
  // The window's position (its frame's, as Qt keeps it for a window) and its client size grown
  // by the frame.
  QRect OuterRectTwips() const;
  // Applies the minimum size, moves the window to the rectangle's position and gives it the
  // client size the rectangle leaves inside the frame, at least the minimum.
  void SetOuterRectTwips(const QRect& rect_twips);

 protected:
  TopLevelWindow(QWidget* parent, Qt::WindowFlags flags);

  void showEvent(QShowEvent* event) override;

  // Sets the window's minimum size for the current frame; nothing unless the window has one.
  virtual void ApplyMinimumSize() {}
  // The client size of an outer size in twips.
  QSize ClientSize(int32_t width_twips, int32_t height_twips) const;
  // Caption and borders in twips, as the layouts take them.
  int32_t ChromeHeightTwips() const;
  // The left and right borders together in twips.
  int32_t FrameWidthTwips() const;

 private:
  QMargins frame_;
  bool shown_ = false;
  std::optional<QRect> requested_twips_;  // the outer rectangle last asked for
};

}  // namespace dravik
