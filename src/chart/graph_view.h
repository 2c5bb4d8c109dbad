#pragma once

#include <vector>

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "chart/cursors.h"

namespace dravik {

// The chart surface (picGraph): shows the picture that DrowGraph last finished, with the two
// cursor lines drawn over it, and reports the mouse in pixels for the cursor handling.
class GraphView : public QWidget {
  Q_OBJECT

 public:
  explicit GraphView(QWidget* parent = nullptr);

  // The picture shown; a rebuilt image replaces it whole.
  void SetPicture(QImage picture);
  // Clears the surface to its white background.
  void ClearPicture();

  // Cursor lines: pixel columns, the pixel rows they span, and whether they are shown.
  struct CursorLines {
    bool visible = false;
    int x1_px = 0;  // cursor 1, blue
    int x2_px = 0;  // cursor 2, orange
    int top_px = 0;
    int bottom_px = 0;
  };
  void SetCursorLines(const CursorLines& lines);

  // The readout shown in a box near the pointer at `pos_px`, anywhere in the window that holds the
  // chart: the time, then a line per item with a sample of the item's colour (LayoutHoverReadout).
  void SetHover(const std::vector<ReadoutLine>& lines, QPoint pos_px);
  // Hides the readout (the pointer left the chart or a button is held).
  void ClearHover();

 signals:
  // Mouse position in pixels of this surface; `buttons` is the set held after the event,
  // `modifiers` the keys held with it.
  void MousePressed(Qt::MouseButtons buttons, QPointF pos_px, Qt::KeyboardModifiers modifiers);
  void MouseMoved(Qt::MouseButtons buttons, QPointF pos_px, Qt::KeyboardModifiers modifiers);
  void MouseReleased(Qt::MouseButtons buttons);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage picture_;
  CursorLines cursors_;
  QPointer<QWidget> hover_box_;  // a child of the window, made at the first readout
};

}  // namespace dravik
