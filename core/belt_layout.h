#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/belt_profiles.h"

namespace korvale {

// A belt over any number of pulleys and rollers of one profile, in the order the belt meets them.
// Lengths in millimetres, angles in degrees, y upwards.
//
// 2GT: motor (0, 0) 20 teeth, a plain roller of 12 mm on the belt's back at (100, 8), carriage
// (201.3, 0) 20 teeth. The belt runs clockwise (counter-clockwise it would cross itself); the
// roller, its pitch line at radius 6.506, takes 5.56° and raises the wraps to 182.80° and 182.76°;
// the belt is 442.836 mm (221.42 teeth). Sliding the motor along (-1, 0) takes up the 221-tooth
// belt at -0.418 mm and the 222-tooth one at +0.582 mm.

enum class LayoutSide { Tooth, Back };

struct LayoutPulley {
  std::string name;
  double x = 0, y = 0;  // its centre
  long teeth = 0;       // a toothed pulley's; 0 for a plain roller
  double diameter = 0;  // a plain roller's outside diameter
  LayoutSide side = LayoutSide::Tooth;
  bool idler = false;  // carries no load: no minimum of teeth in mesh or of wrap applies
};

// The pulley that slides, and the direction it slides in (any length but 0).
struct LayoutMove {
  std::size_t pulley;
  double dx, dy;
};

struct Layout {
  const BeltProfile* profile = nullptr;
  std::vector<LayoutPulley> pulleys;
  std::optional<LayoutMove> move;
};

// What a layout can warn of, each with a stable identifier and the pulleys it concerns.
enum class LayoutWarning {
  FewTeethInMesh,    // a toothed pulley that carries load, under 6 teeth in mesh
  SmallWrap,         // a toothed pulley that carries load, wrapped less than 60°
  BackSideToothed,   // a toothed pulley on the belt's back
  RollerTooSmall,    // a roller on the back smaller than its maker allows
  FlatInsideIdler,   // a plain roller on the tooth side
  SpansCross,        // two spans cross: the belt runs through itself
  PulleysOverlap,    // two pulleys' outsides overlap
  PulleyBelowStock,  // the drive's catalogue warnings, for the toothed pulleys
  OffsetUnconfirmed,
  MakersTipDiffers,
};
std::string_view LayoutWarningId(LayoutWarning warning);

struct LayoutNote {
  LayoutWarning warning;
  std::vector<std::size_t> pulleys;  // by their place in the layout; empty for the belt
};

// The belt round one pulley: its pitch line's radius, where it touches (from `arcStart` over
// `arcSweep` degrees about the centre, counter-clockwise where positive), its wrap, its teeth in
// mesh (a toothed pulley on the tooth side only), and which way it turns.
struct LayoutContact {
  double radius = 0;
  double wrap = 0;
  double arcStart = 0;
  double arcSweep = 0;
  std::optional<long> mesh;
  bool turnsWithFirst = true;
};

// A straight span of the belt, from one pulley's tangent point to the next one's.
struct LayoutSpan {
  std::size_t from, to;
  double length;
  double x1, y1, x2, y2;
};

struct LayoutPath {
  std::vector<LayoutContact> contacts;  // one per pulley, in the layout's order
  std::vector<LayoutSpan> spans;        // spans[i] runs from pulley i to the next
  double length = 0;                    // the belt's pitch length
  double beltTeeth = 0;
  double rate = 0;      // how fast the length grows with the movable pulley's travel (mm per mm)
  double x = 0, y = 0;  // where the movable pulley is
};

// A whole-tooth belt the movable pulley takes up: where, and the belt's path there.
struct LayoutFit {
  std::string_view kind;  // "shorter", "longer", "exact", "belt", "length"
  double teeth;
  double travel;  // along the move's direction, from where the layout puts it
  LayoutPath path;
};

struct LayoutRequest {
  Layout layout;
  std::optional<double> beltTeeth;   // fit to this many teeth, or
  std::optional<double> beltLength;  // to this pitch length; otherwise the stock belts either side
  long increment = 1;                // stock belts come in multiples of this many teeth
};

struct LayoutSolution {
  std::optional<std::string> failure;  // why the layout cannot be a belt; nothing else is set
  LayoutPath path;
  std::vector<LayoutNote> notes;
  std::vector<LayoutFit> fits;
  std::vector<std::string> unfitted;  // why a belt asked for could not be fitted
};

// The belt's length with the movable pulley `travel` along its move, the belt running the way
// given: one evaluation of the path, which fitting repeats. Nothing where no belt goes so.
std::optional<double> LayoutLengthAt(const Layout& layout, double travel, bool counterClockwise);

// The whole layout: the belt's path, its warnings and, with a move, the belts it is fitted to.
// Pulleys on the tooth side run inside the loop, those on the back outside it; of the belt's two
// senses of travel the one that goes round once is taken, counter-clockwise where both do.
LayoutSolution SolveLayout(const LayoutRequest& request);

}  // namespace korvale
