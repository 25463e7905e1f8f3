#include <algorithm>
#include <string>
#include <vector>

#include "calc/layout_input.h"
#include "calc/reports.h"
#include "core/belt_drive.h"
#include "core/belt_sections.h"
#include "report/drive_text.h"
#include "report/layout_file.h"
#include "report/layout_svg.h"
#include "report/number_format.h"
#include "report/record_writer.h"
#include "report/units.h"

namespace korvale::calc {
namespace {

using report::BufferedOutput;
using report::fixedText;
using report::Format;
using report::RecordWriter;
using report::Units;

constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kColumn = 11;

double diameterOf(const BeltProfile& profile, const LayoutPulley& pulley) {
  return pulley.teeth > 0 ? DrivePitchDiameter(pulley.teeth, profile.pitch) : pulley.diameter;
}

std::string names(const Layout& layout, const std::vector<std::size_t>& pulleys) {
  std::string list;
  for (const std::size_t i : pulleys) list += (list.empty() ? "" : ", ") + layout.pulleys[i].name;
  return list;
}

std::string warningText(LayoutWarning warning, const BeltProfile& profile) {
  switch (warning) {
    case LayoutWarning::FewTeethInMesh:
      return "fewer than 6 teeth in mesh on a pulley that carries load: the belt may jump teeth";
    case LayoutWarning::SmallWrap:
      return "wrapped less than 60 degrees, the least Gates asks of a pulley that carries load";
    case LayoutWarning::BackSideToothed:
      return "a toothed pulley on the belt's back: makers ask for flat, uncrowned idlers there "
             "(SDP/SI D265 p. T-56)";
    case LayoutWarning::RollerTooSmall:
      return "smaller than the " + report::shortestText(BeltSectionOf(profile).smallestBackIdler) +
             " mm its maker allows a flat idler on the " + std::string(profile.name) +
             " belt's back (" + std::string(BeltSectionOf(profile).backIdlerSource) + ")";
    case LayoutWarning::FlatInsideIdler:
      return "a plain roller on the tooth side rides on the tooth tips: makers ask for a pulley "
             "there, or a flat roller no smaller than a 40-groove pulley's pitch diameter, " +
             fixedText(40 * profile.pitch / kPi, 2) + " mm (SDP/SI D265 p. T-56)";
    case LayoutWarning::SpansCross:
      return "two spans cross: the belt would run through itself";
    case LayoutWarning::PulleysOverlap:
      return "these pulleys' outsides overlap";
    case LayoutWarning::PulleyBelowStock:
      return report::DriveWarningText(DriveWarning::PulleyBelowStock, profile);
    case LayoutWarning::OffsetUnconfirmed:
      return report::DriveWarningText(DriveWarning::OffsetUnconfirmed, profile);
    case LayoutWarning::MakersTipDiffers:
      return report::DriveWarningText(DriveWarning::MakersTipDiffers, profile);
  }
  return "";
}

std::string signedText(double x, int decimals) {
  const std::string text = fixedText(x, decimals);
  return text[0] == '-' ? text : "+" + text;
}

void appendLeft(std::string& out, std::string_view text, std::size_t width) {
  out += text;
  if (text.size() < width) out.append(width - text.size(), ' ');
}

void writeText(const Layout& layout, const LayoutSolution& solution, Units units,
               BufferedOutput& out) {
  const BeltProfile& profile = *layout.profile;
  const LayoutPath& path = solution.path;
  const int decimals = units.decimals();
  const std::string unit = units.name();
  std::size_t nameWidth = 8;
  for (const LayoutPulley& pulley : layout.pulleys)
    nameWidth = std::max(nameWidth, pulley.name.size() + 2);
  std::string& text = out.text();
  text += std::string(profile.name) + " layout: " + std::to_string(layout.pulleys.size()) +
          " pulleys, belt " + fixedText(units.of(path.length), decimals) + " " + unit + " (" +
          fixedText(path.beltTeeth, 2) + " teeth)";
  out.endLine();
  out.endLine();
  appendLeft(text, "pulley", nameWidth);
  for (const std::string& heading : {"x " + unit, "y " + unit, std::string("side"), "D " + unit,
                                     "r " + unit, std::string("wrap deg"), std::string("mesh")}) {
    appendRightAligned(text, heading, kColumn);
  }
  text += "  turns";
  out.endLine();
  for (std::size_t i = 0; i < layout.pulleys.size(); ++i) {
    const LayoutPulley& pulley = layout.pulleys[i];
    const LayoutContact& contact = path.contacts[i];
    appendLeft(text, pulley.name, nameWidth);
    for (const std::string& cell :
         {fixedText(units.of(pulley.x), decimals), fixedText(units.of(pulley.y), decimals),
          std::string(pulley.side == LayoutSide::Back ? "back" : "in"),
          fixedText(units.of(diameterOf(profile, pulley)), decimals),
          fixedText(units.of(contact.radius), decimals), fixedText(contact.wrap, 1),
          contact.mesh ? std::to_string(*contact.mesh) : std::string()}) {
      appendRightAligned(text, cell, kColumn);
    }
    text += contact.turnsWithFirst ? "  same" : "  opposite";
    out.endLine();
  }
  out.endLine();
  std::size_t spanWidth = 8;
  for (const LayoutSpan& span : path.spans) {
    spanWidth = std::max(
        spanWidth, layout.pulleys[span.from].name.size() + layout.pulleys[span.to].name.size() + 6);
  }
  appendLeft(text, "span", spanWidth);
  appendRightAligned(text, "length " + unit, kColumn + 2);
  out.endLine();
  for (const LayoutSpan& span : path.spans) {
    appendLeft(text, layout.pulleys[span.from].name + " -> " + layout.pulleys[span.to].name,
               spanWidth);
    appendRightAligned(text, fixedText(units.of(span.length), decimals), kColumn + 2);
    out.endLine();
  }
  if (layout.move) {
    const LayoutPulley& moving = layout.pulleys[layout.move->pulley];
    out.endLine();
    text += moving.name + " moves along (" + report::shortestText(layout.move->dx) + ", " +
            report::shortestText(layout.move->dy) + "):";
    out.endLine();
    appendLeft(text, "case", 10);
    for (const std::string& heading :
         {std::string("belt teeth"), "travel " + unit, "x " + unit, "y " + unit, "L " + unit}) {
      appendRightAligned(text, heading, kColumn);
    }
    out.endLine();
    for (const LayoutFit& fit : solution.fits) {
      appendLeft(text, fit.kind, 10);
      for (const std::string& cell :
           {report::trimmedText(fit.teeth, 2), signedText(units.of(fit.travel), decimals),
            fixedText(units.of(fit.path.x), decimals), fixedText(units.of(fit.path.y), decimals),
            fixedText(units.of(fit.path.length), decimals)}) {
        appendRightAligned(text, cell, kColumn);
      }
      out.endLine();
    }
    for (const LayoutFit& fit : solution.fits) {
      text += "  " + std::string(fit.kind) + ":";
      for (std::size_t i = 0; i < layout.pulleys.size(); ++i) {
        const LayoutContact& contact = fit.path.contacts[i];
        text += (i == 0 ? " " : ", ") + layout.pulleys[i].name + " " + fixedText(contact.wrap, 1) +
                " deg" + (contact.mesh ? " " + std::to_string(*contact.mesh) + " teeth" : "");
      }
      out.endLine();
    }
    for (const std::string& why : solution.unfitted) {
      text += "no fit: " + why;
      out.endLine();
    }
  }
  for (const LayoutNote& note : solution.notes) {
    text += (note.warning == LayoutWarning::OffsetUnconfirmed ? "* " : "warning: ") +
            std::string(LayoutWarningId(note.warning));
    if (!note.pulleys.empty()) text += " (" + names(layout, note.pulleys) + ")";
    text += ": " + warningText(note.warning, profile);
    out.endLine();
  }
}

void writeRecords(Format format, const Layout& layout, const LayoutSolution& solution, Units units,
                  BufferedOutput& out) {
  const BeltProfile& profile = *layout.profile;
  const LayoutPath& path = solution.path;
  const bool json = format == Format::Json;
  std::string& text = out.text();
  // JSON: one object of the tables; CSV and TSV: the tables one after another, a blank line
  // between them.
  const auto table = [&](const char* name, bool first) {
    if (json) {
      text += first ? "{\"" : ",\"";
      text += name;
      text += "\":";
    } else if (!first) {
      out.endLine();
    }
  };
  table("pulleys", true);
  {
    RecordWriter records(format, {"name", "x", "y", "side", "D", "r", "wrap", "mesh", "turns"},
                         out);
    for (std::size_t i = 0; i < layout.pulleys.size(); ++i) {
      const LayoutPulley& pulley = layout.pulleys[i];
      const LayoutContact& contact = path.contacts[i];
      records.text(pulley.name);
      // The file's own figures back as they were given: in inches, to 15 digits.
      records.number(units.ofFigure(pulley.x));
      records.number(units.ofFigure(pulley.y));
      records.text(pulley.side == LayoutSide::Back ? "back" : "in");
      records.number(units.ofFigure(diameterOf(profile, pulley)));
      records.number(units.of(contact.radius));
      records.number(contact.wrap);
      if (contact.mesh) {
        records.numberText(std::to_string(*contact.mesh));
      } else {
        records.absent();
      }
      records.text(contact.turnsWithFirst ? "same" : "opposite");
      records.endRecord();
    }
  }
  table("spans", false);
  {
    RecordWriter records(format, {"from", "to", "length"}, out);
    for (const LayoutSpan& span : path.spans) {
      records.text(layout.pulleys[span.from].name);
      records.text(layout.pulleys[span.to].name);
      records.number(units.of(span.length));
      records.endRecord();
    }
  }
  table("belt", false);
  {
    RecordWriter records(format, {"L", "belt_teeth"}, out);
    records.number(units.of(path.length));
    records.number(path.beltTeeth);
    records.endRecord();
  }
  if (layout.move) {
    table("fits", false);
    RecordWriter records(format, {"case", "teeth", "position", "travel", "L"}, out);
    for (const LayoutFit& fit : solution.fits) {
      records.text(fit.kind);
      records.number(fit.teeth);
      records.numbers({units.of(fit.path.x), units.of(fit.path.y)});
      records.number(units.of(fit.travel));
      records.number(units.of(fit.path.length));
      records.endRecord();
    }
  }
  table("warnings", false);
  {
    RecordWriter records(format, {"warning", "pulleys"}, out);
    for (const LayoutNote& note : solution.notes) {
      records.text(LayoutWarningId(note.warning));
      std::vector<std::string_view> list;
      for (const std::size_t i : note.pulleys) list.push_back(layout.pulleys[i].name);
      records.list(list);
      records.endRecord();
    }
    for (const std::string& why : solution.unfitted) {
      records.text("unfitted");
      records.list({why});
      records.endRecord();
    }
  }
  if (json) text += "}\n";
}

}  // namespace

void WriteLayout(Format format, const Layout& layout, const LayoutSolution& solution, Units units,
                 BufferedOutput& out) {
  if (format == Format::Svg) {
    report::WriteLayoutSvg(layout, solution, out);
  } else if (format == Format::Text) {
    writeText(layout, solution, units, out);
  } else {
    writeRecords(format, layout, solution, units, out);
  }
}

int WriteLayoutReport(const CalcArguments& arguments, BufferedOutput& out,
                      report::OutputStream& err) {
  std::string text, whyNot;
  if (!ReadLayoutInput(arguments.layoutPath, text, whyNot)) {
    err.write("korvale-calc: cannot read " + arguments.layoutPath + ": " + whyNot + "\n");
    return 2;
  }
  LayoutRequest request;
  try {
    request.layout = report::ReadLayoutFile(text, arguments.inch);
  } catch (const report::InputError& error) {
    err.write("korvale-calc: " + arguments.layoutPath + ", " + error.message + "\n");
    return 2;
  }
  if ((arguments.layoutBelt || arguments.layoutLength) && !request.layout.move) {
    err.write("korvale-calc: --belt and --length fit a layout that has a move line\n");
    return 2;
  }
  request.beltTeeth = arguments.layoutBelt;
  request.beltLength = arguments.layoutLength;
  request.increment = arguments.drive.increment;
  const LayoutSolution solution = SolveLayout(request);
  if (solution.failure) {
    err.write("korvale-calc: " + *solution.failure + "\n");
    return 1;
  }
  WriteLayout(arguments.format, request.layout, solution, Units{arguments.inch}, out);
  return 0;
}

}  // namespace korvale::calc
