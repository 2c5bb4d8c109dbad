#pragma once

#include <QMargins>

class QWidget;

namespace dravik {

// The frame the platform draws around a top-level window, in pixels: caption and borders. Where it
// reports none (offscreen, before the first show, some window managers) the classic frame of a
// 19-pixel caption and 4-pixel sizing borders stands in, so that outer sizes stay comparable.
QMargins FrameExtents(const QWidget& window);

}  // namespace dravik
