#include "ui/drive/drive_drawing.h"

#include <algorithm>
#include <cmath>

namespace korvale::ui {

namespace {

// An arrow from (x, y) along (dx, dy), `length` long: its shaft and two barbs a quarter as long.
void addArrow(std::vector<DriveShape>& shapes, double x, double y, double dx, double dy,
              double length) {
  const double norm = std::hypot(dx, dy);
  if (!(norm > 0) || !(length > 0)) return;
  const double ux = dx / norm, uy = dy / norm;
  const double tipX = x + ux * length, tipY = y + uy * length;
  shapes.push_back({DriveShape::Kind::Line, DriveShapeRole::HubLoad, x, y, 0, tipX, tipY, 0, 0});
  const double barb = length / 4;
  constexpr double kCos = 0.90630778703665, kSin = 0.42261826174070;  // 25°
  for (const double side : {1.0, -1.0}) {
    const double bx = -(ux * kCos - side * uy * kSin), by = -(uy * kCos + side * ux * kSin);
    shapes.push_back({DriveShape::Kind::Line, DriveShapeRole::HubLoad, tipX, tipY, 0,
                      tipX + bx * barb, tipY + by * barb, 0, 0});
  }
}

}  // namespace

std::vector<DriveShape> DriveDrawing(const DriveSolution& solution, const DriveRow& row,
                                     const LoadSolution* load) {
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
    const DriveShapeRole role = load == nullptr ? DriveShapeRole::BeltSpan
                                : side < 0      ? DriveShapeRole::TightSpan
                                                : DriveShapeRole::SlackSpan;
    shapes.push_back(
        {Kind::Line, role, r1 * nx, side * r1 * ny, 0, centre + r2 * nx, side * r2 * ny, 0, 0});
  }
  shapes.push_back({Kind::Line, DriveShapeRole::CentreLine, 0, 0, 0, centre, 0, 0, 0});
  // The belt's whole loop: round the far side of each pulley, between its two tangent points.
  shapes.push_back(
      {Kind::Arc, DriveShapeRole::WrapArc, 0, 0, r1, 0, 0, 90 + phiDegrees, row.wrap1});
  shapes.push_back(
      {Kind::Arc, DriveShapeRole::WrapArc, centre, 0, r2, 0, 0, -90 - phiDegrees, row.wrap2});
  if (load != nullptr) {
    // Each span pulls along itself: from pulley 1 towards pulley 2, and back. The spans' pulls,
    // (Te ± Te running)/2, stand as K + 1 to K − 1 whatever the power: taken so, the arrows (and
    // so the drawing) stay the same bits while only the power or the speed is typed.
    const double tight = load->serviceFactor + 1;
    const double slack = load->serviceFactor - 1;
    const double sx = centre + (r2 - r1) * nx, sy = (r2 - r1) * ny;  // upper span, 1 to 2
    const double length = std::hypot(sx, sy);
    const double fx = (tight + slack) * sx / length;
    const double fy = (slack - tight) * sy / length;  // the lower span runs (sx, -sy)
    addArrow(shapes, 0, 0, fx, fy, 0.8 * r1);
    addArrow(shapes, centre, 0, -fx, -fy, 0.8 * r2);
  }
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
