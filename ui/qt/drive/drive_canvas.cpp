#include "ui/qt/drive/drive_canvas.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace korvale::ui::qt {
namespace {

QPen penFor(DriveShapeRole role, const QPalette& palette) {
  switch (role) {
    case DriveShapeRole::PitchCircle:
      return QPen(palette.color(QPalette::WindowText), 1.5);
    case DriveShapeRole::TipCircle:
      return QPen(palette.color(QPalette::Mid), 1, Qt::DashLine);
    case DriveShapeRole::BeltSpan:
      return QPen(palette.color(QPalette::Highlight), 2.5);
    case DriveShapeRole::CentreLine:
      return QPen(palette.color(QPalette::Mid), 1, Qt::DashDotLine);
    case DriveShapeRole::WrapArc:
      return QPen(palette.color(QPalette::Highlight), 2.5, Qt::SolidLine, Qt::RoundCap);
    case DriveShapeRole::TightSpan:
      return QPen(palette.color(QPalette::Highlight), 4, Qt::SolidLine, Qt::RoundCap);
    case DriveShapeRole::SlackSpan:
      return QPen(palette.color(QPalette::Highlight), 2, Qt::DashLine);
    case DriveShapeRole::HubLoad:
      return QPen(QColor(0xb0, 0x20, 0x20), 2, Qt::SolidLine, Qt::RoundCap);
  }
  return {};
}

}  // namespace

DriveCanvas::DriveCanvas(QWidget* parent) : QWidget(parent) {
  setMinimumSize(160, 100);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DriveCanvas::setShapes(std::vector<DriveShape> shapes) {
  // A keystroke that leaves the drawing as it was (the load's power, say) repaints nothing.
  if (shapes == shapes_) return;
  shapes_ = std::move(shapes);
  update();
}

void DriveCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  if (shapes_.empty()) return;
  const DrawingFit fit = FitDrawing(shapes_, width(), height(), 8);
  const QPointF origin(fit.originX, fit.originY);
  const double scale = fit.scale;
  const auto at = [&](double x, double y) { return origin + QPointF(x * scale, -y * scale); };

  for (const DriveShape& shape : shapes_) {
    // Smoothed where the belt runs; the circles, many times longer, are drawn plain, which keeps
    // a keystroke's repaint short.
    painter.setRenderHint(QPainter::Antialiasing, shape.role != DriveShapeRole::PitchCircle &&
                                                      shape.role != DriveShapeRole::TipCircle &&
                                                      shape.role != DriveShapeRole::CentreLine);
    painter.setPen(penFor(shape.role, palette()));
    const double r = shape.radius * scale;
    const QRectF box(at(shape.x, shape.y) - QPointF(r, r), QSizeF(2 * r, 2 * r));
    switch (shape.kind) {
      case DriveShape::Kind::Circle:
        painter.drawEllipse(box);
        break;
      case DriveShape::Kind::Line:
        painter.drawLine(at(shape.x, shape.y), at(shape.x2, shape.y2));
        break;
      case DriveShape::Kind::Arc:
        painter.drawArc(box, static_cast<int>(shape.startDegrees * 16),
                        static_cast<int>(shape.sweepDegrees * 16));
        break;
    }
  }
}

}  // namespace korvale::ui::qt
