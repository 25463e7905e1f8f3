#include "ui/drive/drive_drawing.h"

#include <algorithm>
#include <cmath>

namespace korvale::ui {

std::vector<DriveShape> DriveDrawing(const DriveSolution& solution, const DriveRow& row) {
  using Kind = DriveShape::Kind;
  const double centre = row.centre;
  const double r1 = solution.D1 / 2;
  const double r2 = solution.D2 / 2;
  // φ, the spans' angle to the line of centres: sin φ = (r2 - r1) / C, as the wraps have it.
  const double phiDegrees = (row.wrap2 - row.wrap1) / 4;
  const double phi = phiDegrees * std::acos(-1.0) / 180;
  const double nx = -std::sin(phi);
  const double ny = std::cos(phi);

  std::vector<DriveShape> shapes;
  struct Pulley {
    double x, pitch, tip;
  };
  for (const Pulley& pulley :
       {Pulley{0.0, r1, solution.Da1 / 2}, Pulley{centre, r2, solution.Da2 / 2}}) {
    shapes.push_back(
        {Kind::Circle, DriveShapeRole::PitchCircle, pulley.x, 0, pulley.pitch, 0, 0, 0, 0});
    if (pulley.tip > 0) {
      shapes.push_back(
          {Kind::Circle, DriveShapeRole::TipCircle, pulley.x, 0, pulley.tip, 0, 0, 0, 0});
    }
  }
  for (const double side : {1.0, -1.0}) {
    shapes.push_back({Kind::Line, DriveShapeRole::BeltSpan, r1 * nx, side * r1 * ny, 0,
                      centre + r2 * nx, side * r2 * ny, 0, 0});
  }
  shapes.push_back({Kind::Line, DriveShapeRole::CentreLine, 0, 0, 0, centre, 0, 0, 0});
  // The belt's whole loop: round the far side of each pulley, between its two tangent points.
  shapes.push_back(
      {Kind::Arc, DriveShapeRole::WrapArc, 0, 0, r1, 0, 0, 90 + phiDegrees, row.wrap1});
  shapes.push_back(
      {Kind::Arc, DriveShapeRole::WrapArc, centre, 0, r2, 0, 0, -90 - phiDegrees, row.wrap2});
  return shapes;
}

DrawingFit FitDrawing(const std::vector<DriveShape>& shapes, double width, double height,
                      double margin) {
  // The drawing's extent in millimetres: every circle whole.
  double left = 0, right = 0, top = 0, bottom = 0;
  for (const DriveShape& shape : shapes) {
    left = std::min(left, shape.x - shape.radius);
    right = std::max({right, shape.x + shape.radius, shape.x2});
    top = std::max(top, shape.y + shape.radius);
    bottom = std::min(bottom, shape.y - shape.radius);
  }
  const double scale = std::min((width - 2 * margin) / std::max(right - left, 1e-9),
                                (height - 2 * margin) / std::max(top - bottom, 1e-9));
  return {scale, (width - (right - left) * scale) / 2 - left * scale,
          (height - (top - bottom) * scale) / 2 + top * scale};
}

}  // namespace korvale::ui
