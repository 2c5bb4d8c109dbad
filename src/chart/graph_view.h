#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

class QPainter;

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

  // The readout shown in a small box near the pointer at `pos_px`: lines of text in their colours.
  struct HoverLine {
    QString text;
    QColor colour;
  };
  void SetHover(QList<HoverLine> lines, QPoint pos_px);
  // Hides the readout (the pointer left the chart or a button is held).
  void ClearHover();

 signals:
  // Mouse position in pixels of this surface; `buttons` is the set held after the event.
  void MousePressed(Qt::MouseButtons buttons, QPointF pos_px);
  void MouseMoved(Qt::MouseButtons buttons, QPointF pos_px);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage picture_;
  CursorLines cursors_;
  void PaintHover(QPainter& painter) const;

  QList<HoverLine> hover_lines_;
  QPoint hover_pos_px_;
};

}  // namespace dravik
