#pragma once

#include <QImage>
#include <QWidget>

namespace dravik {

// The scale strip (picScale) left of the chart: shows the picture that DrowScale last finished.
class ScaleView : public QWidget {
  Q_OBJECT

 public:
  explicit ScaleView(QWidget* parent = nullptr);

  void SetPicture(QImage picture);
  // Clears the strip to its white background.
  void ClearPicture();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace dravik
