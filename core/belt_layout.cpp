#include "core/belt_layout.h"

#include <algorithm>
#include <cmath>

#include "core/belt_drive.h"
#include "core/belt_sections.h"

namespace korvale {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;
// A toothed pulley that carries load wants this much wrap at least: Gates' "Minimum belt wrap and
// tooth engagement" (gatesbeltsandapplications.blogspot.com, 2014): under 60°, belt problems may
// follow even with 6 teeth in mesh; idlers that carry no load need none.
constexpr double kLeastLoadedWrap = 60;

struct Failure {
  std::string reason;
};

// The layout as the geometry sees it: each pulley's centre and the signed radius of the belt's
// pitch line round it (positive where the belt turns counter-clockwise round it).
class Geometry {
 public:
  Geometry(const Layout& layout, std::vector<double> radii, double sense)
      : layout_(layout), radii_(std::move(radii)), sense_(sense) {}

  // The belt's path with the movable pulley `travel` along its move; a failure where no belt
  // goes round the pulleys so. `path` is reused, so that fitting allocates nothing.
  std::optional<Failure> evaluate(double travel, LayoutPath& path) const;

 private:
  const Layout& layout_;
  std::vector<double> radii_;               // unsigned, from the pulleys' sizes and sides
  double sense_;                            // +1 counter-clockwise, -1 clockwise
  mutable std::vector<double> directions_;  // each span's (tx, ty), kept for the next call
};

double signedRadius(const Layout& layout, const std::vector<double>& radii, std::size_t i,
                    double sense) {
  return (layout.pulleys[i].side == LayoutSide::Tooth ? sense : -sense) * radii[i];
}

std::optional<Failure> Geometry::evaluate(double travel, LayoutPath& path) const {
  const std::size_t n = layout_.pulleys.size();
  path.contacts.resize(n);
  path.spans.resize(n);
  std::vector<LayoutPulley> const& pulleys = layout_.pulleys;
  double moveX = 0, moveY = 0;
  std::size_t moving = n;
  if (layout_.move) {
    const double norm = std::hypot(layout_.move->dx, layout_.move->dy);
    moveX = layout_.move->dx / norm * travel;
    moveY = layout_.move->dy / norm * travel;
    moving = layout_.move->pulley;
  }
  const auto centre = [&](std::size_t i, double& x, double& y) {
    x = pulleys[i].x + (i == moving ? moveX : 0);
    y = pulleys[i].y + (i == moving ? moveY : 0);
  };
  // The spans: for each pair, the common tangent that keeps each pulley on the side its signed
  // radius says, by its direction (tx, ty); the tangent points are then centre − ρ·(−ty, tx).
  std::vector<double>& directions = directions_;
  directions.resize(2 * n);
  double length = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = (i + 1) % n;
    double xi, yi, xj, yj;
    centre(i, xi, yi);
    centre(j, xj, yj);
    const double dx = xj - xi, dy = yj - yi;
    const double distance = std::hypot(dx, dy);
    if (!(distance > 0))
      return Failure{pulleys[i].name + " and " + pulleys[j].name + " share a centre"};
    const double ri = signedRadius(layout_, radii_, i, sense_);
    const double rj = signedRadius(layout_, radii_, j, sense_);
    const double difference = rj - ri;
    if (std::fabs(difference) > distance)
      return Failure{
          "no belt runs from " + pulleys[i].name + " to " + pulleys[j].name + ": " +
          (pulleys[i].side == pulleys[j].side ? "one lies within the other" : "they overlap")};
    // The direction is the line of centres turned by −asin(difference / distance).
    const double sine = difference / distance;
    const double cosine = std::sqrt((1 - sine) * (1 + sine));
    const double ux = dx / distance, uy = dy / distance;
    const double tx = ux * cosine + uy * sine;
    const double ty = uy * cosine - ux * sine;
    directions[2 * i] = tx;
    directions[2 * i + 1] = ty;
    LayoutSpan& span = path.spans[i];
    span.from = i;
    span.to = j;
    span.length = std::sqrt((distance - difference) * (distance + difference));
    span.x1 = xi + ri * ty;
    span.y1 = yi - ri * tx;
    span.x2 = xj + rj * ty;
    span.y2 = yj - rj * tx;
    length += span.length;
  }
  // The arcs: each pulley turns the belt from the span coming in to the one going out, the way
  // its signed radius says, by less than a whole turn.
  double turning = 0;
  for (std::size_t j = 0; j < n; ++j) {
    const std::size_t in = (j + n - 1) % n;
    const double ax = directions[2 * in], ay = directions[2 * in + 1];
    const double bx = directions[2 * j], by = directions[2 * j + 1];
    double angle = std::atan2(ax * by - ay * bx, ax * bx + ay * by);  // in (−π, π]
    const double r = signedRadius(layout_, radii_, j, sense_);
    if (r > 0 && angle < 0) angle += kTwoPi;
    if (r < 0 && angle > 0) angle -= kTwoPi;
    turning += angle;
    LayoutContact& contact = path.contacts[j];
    contact.radius = radii_[j];
    contact.wrap = std::fabs(angle) * 180 / kPi;
    contact.arcSweep = angle * 180 / kPi;
    double cx, cy;
    centre(j, cx, cy);
    contact.arcStart = std::atan2(path.spans[in].y2 - cy, path.spans[in].x2 - cx) * 180 / kPi;
    contact.turnsWithFirst = pulleys[j].side == pulleys[0].side;
    contact.mesh.reset();
    if (pulleys[j].teeth > 0 && pulleys[j].side == LayoutSide::Tooth)
      contact.mesh = TeethInMesh(pulleys[j].teeth, contact.wrap);
    length += radii_[j] * std::fabs(angle);
    // A roller on the back presses on the belt only where the belt bends round it by less than
    // half a turn: more, and it would have to wrap the roller's far side, the wrong way.
    if (pulleys[j].side == LayoutSide::Back && std::fabs(angle) >= kPi)
      return Failure{pulleys[j].name +
                     " on the belt's back would not press on the belt: the belt "
                     "would have to bend round it the wrong way"};
  }
  // Once round, the way the belt travels; anything else is a loop that winds twice or backwards.
  if (std::fabs(turning - sense_ * kTwoPi) > 1e-6)
    return Failure{"no belt goes round these pulleys in this order"};
  path.length = length;
  path.beltTeeth = length / layout_.profile->pitch;
  if (moving < n) {
    // Moving a pulley's centre by δ lengthens the belt by δ·(t_in − t_out).
    const std::size_t in = (moving + n - 1) % n;
    const double norm = std::hypot(layout_.move->dx, layout_.move->dy);
    path.rate = (layout_.move->dx * (directions[2 * in] - directions[2 * moving]) +
                 layout_.move->dy * (directions[2 * in + 1] - directions[2 * moving + 1])) /
                norm;
    centre(moving, path.x, path.y);
  }
  return std::nullopt;
}

// Whether two segments cross at a point inside both.
bool cross(const LayoutSpan& a, const LayoutSpan& b) {
  const auto side = [](double x1, double y1, double x2, double y2, double x, double y) {
    return (x2 - x1) * (y - y1) - (y2 - y1) * (x - x1);
  };
  const double d1 = side(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1);
  const double d2 = side(a.x1, a.y1, a.x2, a.y2, b.x2, b.y2);
  const double d3 = side(b.x1, b.y1, b.x2, b.y2, a.x1, a.y1);
  const double d4 = side(b.x1, b.y1, b.x2, b.y2, a.x2, a.y2);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

// Whether any two spans cross. Neighbours round the loop too: they end at different points of
// the pulley between them, and cross only where the belt goes round it the wrong way.
bool spansCross(const LayoutPath& path) {
  const std::size_t n = path.spans.size();
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = a + 1; b < n; ++b) {
      if (cross(path.spans[a], path.spans[b])) return true;
    }
  }
  return false;
}

// The radius of the belt's pitch line round each pulley, or why there is none.
std::optional<Failure> pitchRadii(const Layout& layout, std::vector<double>& radii) {
  const BeltProfile& profile = *layout.profile;
  for (const LayoutPulley& pulley : layout.pulleys) {
    const bool back = pulley.side == LayoutSide::Back;
    if (pulley.teeth > 0 && !back) {
      radii.push_back(DrivePitchDiameter(pulley.teeth, profile.pitch) / 2);
      continue;
    }
    // A roller, or a toothed pulley on the back, which meets the belt with its tips.
    const double diameter = pulley.teeth > 0 ? DrivePitchDiameter(pulley.teeth, profile.pitch) -
                                                   2 * profile.pitchLineOffset
                                             : pulley.diameter;
    const std::optional<double> radius = PitchRadiusOnRoller(profile, diameter, back);
    if (!radius)
      return Failure{"no public figure gives where the " + std::string(profile.name) +
                     " belt's pitch line runs over " + pulley.name +
                     (back ? " on its back" : ", a plain roller on its tooth side")};
    radii.push_back(*radius);
  }
  return std::nullopt;
}

void note(std::vector<LayoutNote>& notes, LayoutWarning warning, std::size_t pulley) {
  for (LayoutNote& existing : notes) {
    if (existing.warning == warning) {
      existing.pulleys.push_back(pulley);
      return;
    }
  }
  notes.push_back({warning, {pulley}});
}

std::vector<LayoutNote> notesOf(const Layout& layout, const LayoutPath& path) {
  const BeltProfile& profile = *layout.profile;
  const std::size_t n = layout.pulleys.size();
  std::vector<LayoutNote> notes;
  // In the order of LayoutWarning, pulley by pulley.
  for (const LayoutWarning warning :
       {LayoutWarning::FewTeethInMesh, LayoutWarning::SmallWrap, LayoutWarning::BackSideToothed,
        LayoutWarning::RollerTooSmall, LayoutWarning::FlatInsideIdler}) {
    for (std::size_t i = 0; i < n; ++i) {
      const LayoutPulley& pulley = layout.pulleys[i];
      const bool toothed = pulley.teeth > 0, back = pulley.side == LayoutSide::Back;
      const bool loaded = toothed && !back && !pulley.idler;
      const double smallest = BeltSectionOf(profile).smallestBackIdler;
      const bool applies =
          (warning == LayoutWarning::FewTeethInMesh && loaded && *path.contacts[i].mesh < 6) ||
          (warning == LayoutWarning::SmallWrap && loaded &&
           path.contacts[i].wrap < kLeastLoadedWrap) ||
          (warning == LayoutWarning::BackSideToothed && toothed && back) ||
          (warning == LayoutWarning::RollerTooSmall && !toothed && back && smallest > 0 &&
           pulley.diameter < smallest) ||
          (warning == LayoutWarning::FlatInsideIdler && !toothed && !back);
      if (applies) note(notes, warning, i);
    }
  }
  if (spansCross(path)) notes.push_back({LayoutWarning::SpansCross, {}});
  const auto outside = [&](const LayoutPulley& pulley) {
    if (pulley.teeth == 0) return pulley.diameter / 2;
    const double pitchDiameter = DrivePitchDiameter(pulley.teeth, profile.pitch);
    return profile.offsetSource == OffsetSource::Unpublished
               ? pitchDiameter / 2
               : pitchDiameter / 2 - profile.pitchLineOffset;
  };
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = a + 1; b < n; ++b) {
      const LayoutPulley &p = layout.pulleys[a], &q = layout.pulleys[b];
      if (std::hypot(p.x - q.x, p.y - q.y) < outside(p) + outside(q)) {
        note(notes, LayoutWarning::PulleysOverlap, a);
        note(notes, LayoutWarning::PulleysOverlap, b);
      }
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    const long teeth = layout.pulleys[i].teeth;
    if (teeth == 0) continue;
    if (teeth < profile.smallestPulley) note(notes, LayoutWarning::PulleyBelowStock, i);
    if (profile.offsetSource == OffsetSource::Derived ||
        profile.offsetSource == OffsetSource::Unconfirmed)
      note(notes, LayoutWarning::OffsetUnconfirmed, i);
    if (teeth <= profile.makersLargerTipUpTo) note(notes, LayoutWarning::MakersTipDiffers, i);
  }
  // A pulley named twice in one note (overlapping two others) once.
  for (LayoutNote& n2 : notes) {
    std::sort(n2.pulleys.begin(), n2.pulleys.end());
    n2.pulleys.erase(std::unique(n2.pulleys.begin(), n2.pulleys.end()), n2.pulleys.end());
  }
  return notes;
}

// The movable pulley's travel at which the belt is `target` long: Newton's steps on the exact
// length and its exact rate, each step halved while the layout stops being a belt.
std::optional<std::string> fitTo(const Geometry& geometry, const LayoutPath& start, double target,
                                 LayoutFit& fit) {
  const std::string teeth = std::to_string(std::lround(fit.teeth));
  if (start.rate == 0) return "the belt's length does not change along the move";
  double travel = 0;
  // Two paths in turn, so that no step allocates.
  LayoutPath path = start, next = start;
  for (int step = 0; step < 100; ++step) {
    const double miss = path.length - target;
    if (std::fabs(miss) <= 1e-13 * target) {
      fit.travel = travel;
      fit.path = std::move(path);
      return std::nullopt;
    }
    double delta = -miss / path.rate;
    std::optional<Failure> failure = geometry.evaluate(travel + delta, next);
    for (int halving = 0; failure && halving < 60; ++halving) {
      delta /= 2;
      failure = geometry.evaluate(travel + delta, next);
    }
    if (failure) return "no position along the move gives " + teeth + " teeth: " + failure->reason;
    if ((next.rate > 0) != (start.rate > 0) || next.rate == 0)
      return "the belt's length does not grow steadily along the move up to " + teeth + " teeth";
    travel += delta;
    std::swap(path, next);
  }
  return "no position along the move gives " + teeth + " teeth";
}

}  // namespace

std::string_view LayoutWarningId(LayoutWarning warning) {
  switch (warning) {
    case LayoutWarning::FewTeethInMesh:
      return "few_teeth_in_mesh";
    case LayoutWarning::SmallWrap:
      return "small_wrap";
    case LayoutWarning::BackSideToothed:
      return "back_side_toothed";
    case LayoutWarning::RollerTooSmall:
      return "roller_too_small";
    case LayoutWarning::FlatInsideIdler:
      return "flat_inside_idler";
    case LayoutWarning::SpansCross:
      return "spans_cross";
    case LayoutWarning::PulleysOverlap:
      return "pulleys_overlap";
    case LayoutWarning::PulleyBelowStock:
      return DriveWarningId(DriveWarning::PulleyBelowStock);
    case LayoutWarning::OffsetUnconfirmed:
      return DriveWarningId(DriveWarning::OffsetUnconfirmed);
    case LayoutWarning::MakersTipDiffers:
      return DriveWarningId(DriveWarning::MakersTipDiffers);
  }
  return "";
}

std::optional<double> LayoutLengthAt(const Layout& layout, double travel, bool counterClockwise) {
  std::vector<double> radii;
  if (layout.pulleys.size() < 2 || pitchRadii(layout, radii)) return std::nullopt;
  const Geometry geometry(layout, std::move(radii), counterClockwise ? 1 : -1);
  LayoutPath path;
  if (geometry.evaluate(travel, path)) return std::nullopt;
  return path.length;
}

LayoutSolution SolveLayout(const LayoutRequest& request) {
  const Layout& layout = request.layout;
  LayoutSolution solution;
  if (layout.pulleys.size() < 2) {
    solution.failure = "a belt needs two pulleys at least";
    return solution;
  }
  std::vector<double> radii;
  if (const auto failure = pitchRadii(layout, radii)) {
    solution.failure = failure->reason;
    return solution;
  }
  // Of the two senses of travel, the one whose belt goes round once without crossing itself;
  // counter-clockwise where both do, or where both cross.
  std::optional<Geometry> geometry;
  std::vector<Failure> failures;
  bool crossing = true;
  for (const double sense : {1.0, -1.0}) {
    Geometry candidate(layout, radii, sense);
    LayoutPath path;
    if (auto failure = candidate.evaluate(0, path)) {
      failures.push_back(*failure);
      continue;
    }
    const bool crosses = spansCross(path);
    if (geometry && (crosses || !crossing)) continue;
    geometry.emplace(std::move(candidate));
    solution.path = std::move(path);
    crossing = crosses;
  }
  if (!geometry) {
    // The reason of the sense that came further, where one only missed going round once.
    const std::string generic = "no belt goes round these pulleys in this order";
    solution.failure = failures[0].reason != generic ? failures[0].reason : failures[1].reason;
    return solution;
  }
  solution.notes = notesOf(layout, solution.path);
  if (!layout.move) return solution;

  const double pitch = layout.profile->pitch;
  const auto fit = [&](std::string_view kind, double teeth, double target) {
    LayoutFit found{kind, teeth, 0, {}};
    if (auto why = fitTo(*geometry, solution.path, target, found)) {
      solution.unfitted.push_back(*why);
    } else {
      solution.fits.push_back(std::move(found));
    }
  };
  if (request.beltTeeth) {
    fit("belt", *request.beltTeeth, *request.beltTeeth * pitch);
    return solution;
  }
  if (request.beltLength) {
    fit("length", *request.beltLength / pitch, *request.beltLength);
    return solution;
  }
  const double increment = static_cast<double>(request.increment);
  const double units = solution.path.beltTeeth / increment;
  if (std::fabs(units - std::round(units)) <= 1e-9) {
    fit("exact", std::round(units) * increment, std::round(units) * increment * pitch);
    return solution;
  }
  for (const auto& [kind, whole] :
       {std::pair<std::string_view, double>{"shorter", std::floor(units)},
        {"longer", std::ceil(units)}}) {
    if (whole > 0) fit(kind, whole * increment, whole * increment * pitch);
  }
  return solution;
}

}  // namespace korvale
