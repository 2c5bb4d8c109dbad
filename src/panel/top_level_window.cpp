#include "panel/top_level_window.h"

#include <QWidget>

#include "chart/layout.h"

namespace dravik {

QMargins FrameExtents(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                         frame.right() - client.right(), frame.bottom() - client.bottom());
  if (margins.isNull()) {
    return QMargins(kClassicSizingFramePx, kClassicCaptionPx + kClassicSizingFramePx,
                    kClassicSizingFramePx, kClassicSizingFramePx);
  }
  return margins;
}

}  // namespace dravik
