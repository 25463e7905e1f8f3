#include "ui/drive/drive_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace korvale::ui {
namespace {

const double kPi = std::acos(-1.0);

struct Point {
  double x, y;
};

Point onCircle(const DriveShape& arc, double degrees) {
  return {arc.x + arc.radius * std::cos(degrees * kPi / 180),
          arc.y + arc.radius * std::sin(degrees * kPi / 180)};
}

double distance(Point a, Point b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

// The drawing is checked as geometry, not against its own formulas: each span touches both pitch
// circles at right angles to their radii, each arc runs on the side of its pulley away from the
// other between the two spans' ends, and the loop so drawn is as long as the belt.
TEST(DriveDrawing, DrawsTheBeltsWholeLoopTangentToBothPulleys) {
  const struct {
    const char* profile;
    long z1, z2;
    double centre;
  } drives[] = {{"14M", 28, 112, 600},
                {"14M", 112, 28, 600},
                {"5M", 20, 20, 100},
                {"5M", 20, 40, 15.95},
                {"XL", 10, 60, 300}};
  for (const auto& d : drives) {
    SCOPED_TRACE(std::string(d.profile) + " " + std::to_string(d.z1) + "/" + std::to_string(d.z2));
    const DriveSolution solution =
        SolveDrive({{FindBeltProfile(d.profile), d.z1, d.z2}, DriveGiven::Centre, d.centre});
    const DriveRow& row = solution.rows.front();
    const std::vector<DriveShape> shapes = DriveDrawing(solution, row);
    const Point centres[] = {{0, 0}, {d.centre, 0}};
    const double radii[] = {solution.D1 / 2, solution.D2 / 2};
    const double wraps[] = {row.wrap1, row.wrap2};
    std::vector<DriveShape> spans, arcs;
    int circles = 0;
    for (const DriveShape& shape : shapes) {
      if (shape.role == DriveShapeRole::BeltSpan) spans.push_back(shape);
      if (shape.role == DriveShapeRole::WrapArc) arcs.push_back(shape);
      circles += shape.kind == DriveShape::Kind::Circle;
    }
    EXPECT_EQ(circles, 4) << "both pitch and tip circles";
    ASSERT_EQ(spans.size(), 2u);
    ASSERT_EQ(arcs.size(), 2u);

    double loop = 0;
    std::vector<Point> ends[2];  // where the spans meet each pulley
    for (const DriveShape& span : spans) {
      const Point from{span.x, span.y}, to{span.x2, span.y2};
      const double length = distance(from, to);
      loop += length;
      const Point along{(to.x - from.x) / length, (to.y - from.y) / length};
      int p = 0;
      for (const Point end : {from, to}) {
        EXPECT_NEAR(distance(end, centres[p]), radii[p], 1e-9);
        const double radial = (end.x - centres[p].x) * along.x + (end.y - centres[p].y) * along.y;
        EXPECT_NEAR(radial, 0, 1e-9 * radii[p]) << "the span is tangent to pulley " << p + 1;
        ends[p].push_back(end);
        ++p;
      }
    }
    for (int p = 0; p < 2; ++p) {
      const DriveShape& arc = arcs[static_cast<std::size_t>(p)];
      EXPECT_NEAR(distance({arc.x, arc.y}, centres[p]), 0, 1e-12);
      EXPECT_NEAR(arc.radius, radii[p], 1e-12);
      EXPECT_NEAR(arc.sweepDegrees, wraps[p], 1e-9);
      loop += arc.radius * arc.sweepDegrees * kPi / 180;
      // Both ends of the arc are ends of spans, and its middle faces away from the other pulley.
      for (const double at : {arc.startDegrees, arc.startDegrees + arc.sweepDegrees}) {
        const Point end = onCircle(arc, at);
        EXPECT_NEAR(std::min(distance(end, ends[p][0]), distance(end, ends[p][1])), 0,
                    1e-9 * radii[p]);
      }
      const Point middle = onCircle(arc, arc.startDegrees + arc.sweepDegrees / 2);
      EXPECT_NEAR(middle.x, centres[p].x + (p == 0 ? -radii[p] : radii[p]), 1e-9 * radii[p]);
    }
    EXPECT_NEAR(loop, row.length, 1e-9 * row.length);

    // Fitted to a canvas, everything lands inside the margin and one of its sides is filled.
    for (const auto& [width, height] : {std::pair{800.0, 300.0}, std::pair{200.0, 900.0}}) {
      const DrawingFit fit = FitDrawing(shapes, width, height, 8);
      double left = 1e300, right = -1e300, top = 1e300, bottom = -1e300;
      for (const DriveShape& shape : shapes) {
        const bool line = shape.kind == DriveShape::Kind::Line;
        const double r = shape.radius;
        const Point far = line ? Point{shape.x2, shape.y2} : Point{shape.x + r, shape.y + r};
        for (const Point corner :
             {line ? Point{shape.x, shape.y} : Point{shape.x - r, shape.y - r}, far}) {
          left = std::min(left, fit.originX + corner.x * fit.scale);
          right = std::max(right, fit.originX + corner.x * fit.scale);
          top = std::min(top, fit.originY - corner.y * fit.scale);
          bottom = std::max(bottom, fit.originY - corner.y * fit.scale);
        }
      }
      EXPECT_GE(left, 8 - 1e-9);
      EXPECT_LE(right, width - 8 + 1e-9);
      EXPECT_GE(top, 8 - 1e-9);
      EXPECT_LE(bottom, height - 8 + 1e-9);
      EXPECT_NEAR(std::max((right - left) / (width - 16), (bottom - top) / (height - 16)), 1, 1e-9);
    }
  }
}

}  // namespace
}  // namespace korvale::ui
