#include "chart/graph_view.h"

#include <algorithm>
#include <utility>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include "chart/layout.h"
#include "common/rounding.h"

namespace dravik {
namespace {

// Each item's line begins with a sample of its colour, a bar framed in dark grey so that light
// colours show on the pale box too; the text itself is black, readable whatever the colour.
constexpr int kSampleGapPx = 4;
int SampleWidth(const QFontMetrics& metrics) {
  return metrics.height();
}

// The readout's box: a child of the window above everything in it, so that it may reach beyond
// the chart; the pointer's events pass through it to the widgets beneath.
class HoverBox : public QWidget {
 public:
  explicit HoverBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

  void Show(HoverLayout layout, const HoverMetrics& sizes) {
    layout_ = std::move(layout);
    sizes_ = sizes;
    setGeometry(layout_.box.left, layout_.box.top, layout_.box.width, layout_.box.height);
    raise();
    show();
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(QColor(255, 255, 240));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QFontMetrics metrics = fontMetrics();
    const int rows = std::max(layout_.rows, 1);
    const int sample_px = SampleWidth(metrics);
    for (int i = 0; i < static_cast<int>(layout_.lines.size()); ++i) {
      const ReadoutLine& line = layout_.lines[static_cast<size_t>(i)];
      const int left = layout_.column_left_px[static_cast<size_t>(i / rows)];
      const int top = sizes_.padding_px + (i % rows) * sizes_.line_height_px;
      if (i >= 1 && i <= layout_.item_lines) {
        const QRect sample(left, top + sizes_.line_height_px / 4, sample_px,
                           sizes_.line_height_px / 2);
        painter.setPen(QColor(64, 64, 64));
        painter.setBrush(QColor(RedOf(line.colour), GreenOf(line.colour), BlueOf(line.colour)));
        painter.drawRect(sample.adjusted(0, 0, -1, -1));
      }
      painter.setPen(Qt::black);
      painter.drawText(left + sizes_.lead_px, top + metrics.ascent(),
                       QString::fromStdString(line.text));
    }
  }

 private:
  HoverLayout layout_;
  HoverMetrics sizes_;
};

}  // namespace

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Moves without a button show the hover readout.
  setMouseTracking(true);
}

void GraphView::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void GraphView::ClearPicture() {
  picture_ = QImage();
  update();
}

void GraphView::SetCursorLines(const CursorLines& lines) {
  cursors_ = lines;
  update();
}

void GraphView::SetHover(const std::vector<ReadoutLine>& lines, QPoint pos_px) {
  QWidget* host = window();
  if (hover_box_ == nullptr) {
    hover_box_ = new HoverBox(host);
  }
  const QFontMetrics metrics = hover_box_->fontMetrics();
  const QFontMetricsF text_metrics(hover_box_->font());
  HoverMetrics sizes;
  sizes.line_height_px = metrics.height();
  sizes.lead_px = SampleWidth(metrics) + kSampleGapPx;
  const QPoint pointer = mapTo(host, pos_px);
  const HoverLayout layout = LayoutHoverReadout(
      lines,
      [&text_metrics](std::string_view text) {
        return text_metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
      },
      sizes, Rect{0, 0, host->width(), host->height()}, pointer.x(), pointer.y());
  static_cast<HoverBox*>(hover_box_.data())->Show(layout, sizes);
}

void GraphView::ClearHover() {
  if (hover_box_ != nullptr) {
    hover_box_->hide();
  }
}

void GraphView::leaveEvent(QEvent* event) {
  ClearHover();
  QWidget::leaveEvent(event);
}

void GraphView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!picture_.isNull()) {
    painter.drawImage(0, 0, picture_);
  }
  if (cursors_.visible) {
    // One device pixel wide, like the traces and grid lines of the picture under them.
    const double ratio = devicePixelRatioF();
    const auto device = [&](int px) { return static_cast<int>(RoundHalfEven(px * ratio)); };
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    painter.setPen(QColor(0, 0, 255));
    painter.drawLine(device(cursors_.x1_px), device(cursors_.top_px), device(cursors_.x1_px),
                     device(cursors_.bottom_px));
    painter.setPen(QColor(255, 128, 0));
    painter.drawLine(device(cursors_.x2_px), device(cursors_.top_px), device(cursors_.x2_px),
                     device(cursors_.bottom_px));
    painter.restore();
  }
}

void GraphView::mousePressEvent(QMouseEvent* event) {
  emit MousePressed(event->buttons(), event->position(), event->modifiers());
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMoved(event->buttons(), event->position(), event->modifiers());
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseReleased(event->buttons());
}

}  // namespace dravik
