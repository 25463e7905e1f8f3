#include "report/layout_svg.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/belt_drive.h"
#include "report/number_format.h"

namespace korvale::report {
namespace {

// SVG's y runs down: every y is written negated, so that the drawing keeps the layout's y up.
std::string number(double x) {
  return shortestText(x);
}

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void circle(std::string& out, double x, double y, double r, const char* style) {
  out += "<circle cx=\"" + number(x) + "\" cy=\"" + number(-y) + "\" r=\"" + number(r) + "\" " +
         style + "/>\n";
}

}  // namespace

void WriteLayoutSvg(const Layout& layout, const LayoutSolution& solution, BufferedOutput& out) {
  const BeltProfile& profile = *layout.profile;
  const LayoutPath& path = solution.path;
  const std::size_t n = layout.pulleys.size();
  const bool tipsKnown = profile.offsetSource != OffsetSource::Unpublished;
  // Where each pulley is drawn: where the layout puts it (the movable one too).
  double left = HUGE_VAL, right = -HUGE_VAL, bottom = HUGE_VAL, top = -HUGE_VAL;
  const auto take = [&](double x, double y, double r) {
    left = std::min(left, x - r);
    right = std::max(right, x + r);
    bottom = std::min(bottom, y - r);
    top = std::max(top, y + r);
  };
  for (std::size_t i = 0; i < n; ++i) {
    const LayoutPulley& pulley = layout.pulleys[i];
    take(pulley.x, pulley.y, std::max(path.contacts[i].radius, pulley.diameter / 2));
  }
  for (const LayoutFit& fit : solution.fits) take(fit.path.x, fit.path.y, 0);
  const double size = std::max(right - left, top - bottom);
  top += size / 20;  // room for the names above the pulleys
  const double margin = size / 20;
  const double pen = size / 400;
  std::string& text = out.text();
  text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  text += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
          number(right - left + 2 * margin) + "mm\" height=\"" + number(top - bottom + 2 * margin) +
          "mm\" viewBox=\"" + number(left - margin) + " " + number(-top - margin) + " " +
          number(right - left + 2 * margin) + " " + number(top - bottom + 2 * margin) + "\">\n";
  text += "<title>" + escaped(profile.name) + " belt, " + fixedText(path.length, 2) + " mm (" +
          fixedText(path.beltTeeth, 2) + " teeth)</title>\n";
  out.flushIfFull();
  const std::string thin = "fill=\"none\" stroke=\"#555\" stroke-width=\"" + number(pen) + "\"";
  const std::string dashed =
      thin + " stroke-dasharray=\"" + number(4 * pen) + "," + number(3 * pen) + "\"";
  for (const LayoutPulley& pulley : layout.pulleys) {
    if (pulley.teeth > 0) {
      const double pitch = DrivePitchDiameter(pulley.teeth, profile.pitch) / 2;
      circle(text, pulley.x, pulley.y, pitch, thin.c_str());
      if (tipsKnown)
        circle(text, pulley.x, pulley.y, pitch - profile.pitchLineOffset, dashed.c_str());
    } else {
      circle(text, pulley.x, pulley.y, pulley.diameter / 2, thin.c_str());
    }
    out.flushIfFull();
  }
  // The belt's pitch line: each span, then the arc round the pulley it reaches.
  text += "<path id=\"belt\" fill=\"none\" stroke=\"#1f6fb4\" stroke-width=\"" + number(2 * pen) +
          "\" d=\"M " + number(path.spans[0].x1) + " " + number(-path.spans[0].y1);
  for (std::size_t i = 0; i < n; ++i) {
    const LayoutSpan& span = path.spans[i];
    text += " L " + number(span.x2) + " " + number(-span.y2);
    const std::size_t j = (i + 1) % n;
    const LayoutContact& contact = path.contacts[j];
    const LayoutSpan& next = path.spans[j];
    if (std::fabs(contact.arcSweep) > 1e-9) {
      // Counter-clockwise with y up is counter-clockwise on the screen too: SVG's sweep flag 0.
      text += " A " + number(contact.radius) + " " + number(contact.radius) + " 0 " +
              (std::fabs(contact.arcSweep) > 180 ? "1 " : "0 ") +
              (contact.arcSweep > 0 ? "0 " : "1 ") + number(next.x1) + " " + number(-next.y1);
    }
    out.flushIfFull();
  }
  text += " Z\"/>\n";
  if (layout.move) {
    const LayoutPulley& moving = layout.pulleys[layout.move->pulley];
    double x1 = moving.x, y1 = moving.y, x2 = moving.x, y2 = moving.y;
    for (const LayoutFit& fit : solution.fits) {
      if (fit.travel < 0) x1 = fit.path.x, y1 = fit.path.y;
      if (fit.travel > 0) x2 = fit.path.x, y2 = fit.path.y;
    }
    text += "<line id=\"travel\" x1=\"" + number(x1) + "\" y1=\"" + number(-y1) + "\" x2=\"" +
            number(x2) + "\" y2=\"" + number(-y2) + "\" stroke=\"#b02020\" stroke-width=\"" +
            number(pen) + "\"/>\n";
    const std::string mark = "fill=\"#b02020\"";
    for (const LayoutFit& fit : solution.fits)
      circle(text, fit.path.x, fit.path.y, 2 * pen, mark.c_str());
  }
  // Each name just above its pulley.
  const double fontSize = size / 40;
  for (std::size_t i = 0; i < n; ++i) {
    const LayoutPulley& pulley = layout.pulleys[i];
    const double above = std::max(path.contacts[i].radius, pulley.diameter / 2) + fontSize / 3;
    text += "<text x=\"" + number(pulley.x) + "\" y=\"" + number(-(pulley.y + above)) +
            "\" font-family=\"sans-serif\" font-size=\"" + number(fontSize) +
            "\" text-anchor=\"middle\">" + escaped(pulley.name) + "</text>\n";
    out.flushIfFull();
  }
  text += "</svg>\n";
}

}  // namespace korvale::report
