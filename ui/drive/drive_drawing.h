#pragma once

#include <vector>

#include "core/belt_drive.h"
#include "core/belt_load.h"

namespace korvale::ui {

// What a shape of the drive's drawing stands for, so that each front end can give it its pen.
enum class DriveShapeRole {
  PitchCircle,
  TipCircle,
  BeltSpan,
  CentreLine,
  WrapArc,
  TightSpan,  // with a load: the span the driving pulley pulls in
  SlackSpan,
  HubLoad,  // an arrow (a shaft and two barbs) along the running load on a shaft
};

// One shape in millimetres, y upwards, the driving pulley's centre at the origin and the driven
// one's at (C, 0). A circle is (x, y, radius); a line runs from (x, y) to (x2, y2); an arc is a
// part of the circle (x, y, radius) from startDegrees, counter-clockwise, over sweepDegrees.
struct DriveShape {
  enum class Kind { Circle, Line, Arc } kind;
  DriveShapeRole role;
  double x, y, radius, x2, y2, startDegrees, sweepDegrees;

  // The same shape to the bit: a front end then need not paint the drawing again.
  bool operator==(const DriveShape& other) const {
    return kind == other.kind && role == other.role && x == other.x && y == other.y &&
           radius == other.radius && x2 == other.x2 && y2 == other.y2 &&
           startDegrees == other.startDegrees && sweepDegrees == other.sweepDegrees;
  }
};

// The drive at one row of its solution, to scale: both pitch and tip circles, the line of
// centres, and the belt's whole loop in its pen: the two straight spans and the wrap arc on each
// pulley (where the belt touches it). 14M 28/112 at C 600: the spans leave both pulleys at
// 90° + 18.18° and 270° - 18.18°; the driving pulley's arc runs from 108.18° over 143.65°, the
// driven one's from -108.18° over 216.35°.
//
// With a load, pulley 1 is drawn turning clockwise: the lower span is then the tight one, the upper
// the slack one, and each shaft carries an arrow along its running hub load (the two spans' pulls
// on it, less the centrifugal part), as long as 0.8 of its pitch radius.
std::vector<DriveShape> DriveDrawing(const DriveSolution& solution, const DriveRow& row,
                                     const LoadSolution* load = nullptr);

// Where the drawing lands in a rectangle of width × height pixels, as large as fits with `margin`
// pixels all round and centred: a point (x, y) in millimetres is drawn at
// (originX + x·scale, originY − y·scale).
struct DrawingFit {
  double scale;
  double originX;
  double originY;
};
DrawingFit FitDrawing(const std::vector<DriveShape>& shapes, double width, double height,
                      double margin);

}  // namespace korvale::ui
