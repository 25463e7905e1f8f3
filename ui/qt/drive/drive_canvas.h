#pragma once

#include <QWidget>
#include <vector>

#include "ui/drive/drive_drawing.h"

namespace korvale::ui::qt {

// Paints the drive's shapes to scale, as large as the widget allows, y upwards.
class DriveCanvas : public QWidget {
 public:
  explicit DriveCanvas(QWidget* parent = nullptr);
  void setShapes(std::vector<DriveShape> shapes);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<DriveShape> shapes_;
};

}  // namespace korvale::ui::qt
