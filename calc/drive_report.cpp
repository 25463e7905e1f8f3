#include <algorithm>

#include "calc/reports.h"
#include "report/drive_records.h"
#include "report/drive_text.h"
#include "report/load_text.h"

namespace korvale::calc {
namespace {

using report::BufferedOutput;
using report::DriveText;
using report::DriveTextRow;

constexpr std::size_t kCaseColumn = 10;
constexpr std::size_t kColumn = 11;

void writeText(const DriveText& drive, BufferedOutput& out) {
  std::string& text = out.text();
  text += drive.heading;
  out.endLine();
  for (int i = 0; i < 2; ++i) {
    text += drive.pulleys[i];
    out.endLine();
  }
  out.endLine();
  text.append("case").append(kCaseColumn - 4, ' ');
  for (const std::string& heading :
       {"C " + drive.unit, "change " + drive.unit, "L " + drive.unit, std::string("belt teeth"),
        std::string("wrap1 deg"), std::string("wrap2 deg"), std::string("mesh1"),
        std::string("mesh2")}) {
    appendRightAligned(text, heading, kColumn);
  }
  out.endLine();
  for (const DriveTextRow& row : drive.rows) {
    text.append(row.kind).append(kCaseColumn - row.kind.size(), ' ');
    for (const std::string* cell : {&row.centre, &row.change, &row.length, &row.beltTeeth,
                                    &row.wrap1, &row.wrap2, &row.mesh1, &row.mesh2}) {
      appendRightAligned(text, *cell, kColumn);
    }
    out.endLine();
  }
  for (const std::string& warning : drive.warnings) {
    text += warning;
    out.endLine();
  }
}

// One table of the load: its headings and a cell of each row, right-aligned under them.
void writeTable(const std::vector<std::string>& headings,
                const std::vector<std::vector<const std::string*>>& rows,
                const std::vector<std::string>& kinds, BufferedOutput& out) {
  std::string& text = out.text();
  std::vector<std::size_t> widths;
  for (std::size_t c = 0; c < headings.size(); ++c) {
    std::size_t width = headings[c].size() + 2;
    for (const auto& row : rows) width = std::max(width, row[c]->size() + 2);
    widths.push_back(std::max(width, kColumn));
  }
  text.append("case").append(kCaseColumn - 4, ' ');
  for (std::size_t c = 0; c < headings.size(); ++c)
    appendRightAligned(text, headings[c], widths[c]);
  out.endLine();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    text.append(kinds[r]).append(kCaseColumn - kinds[r].size(), ' ');
    for (std::size_t c = 0; c < headings.size(); ++c)
      appendRightAligned(text, *rows[r][c], widths[c]);
    out.endLine();
  }
}

void writeLoadText(const report::LoadText& load, BufferedOutput& out) {
  std::string& text = out.text();
  out.endLine();
  for (const std::string& line : report::LoadLinesBefore(load)) {
    text += line;
    out.endLine();
  }
  out.endLine();
  std::vector<std::string> kinds;
  std::vector<std::vector<const std::string*>> rating, tension;
  for (const report::LoadTextRow& row : load.rows) {
    kinds.push_back(row.kind);
    rating.push_back({&row.width, &row.rated, &row.margin, &row.kz, &row.mass, &row.tc});
    tension.push_back({&row.tStatic, &row.tTight, &row.tSlack, &row.span, &row.deflection,
                       &row.force, &row.frequency, &row.hubStatic, &row.hubRunning});
  }
  // A profile without a rating or a width has nothing for the first table.
  bool anyRating = false;
  for (const auto& row : rating) {
    for (const std::string* cell : row) anyRating = anyRating || !cell->empty();
  }
  if (anyRating) {
    writeTable({"width " + load.widthUnit, "rated kW", "margin", "Kz", "mass kg/m", "Tc N"}, rating,
               kinds, out);
    out.endLine();
  }
  const std::string& unit = load.lengthUnit;
  writeTable({"Tst N", "tight N", "slack N", "span " + unit, "deflection " + unit, "force N",
              "f Hz", "hub static N", "hub running N"},
             tension, kinds, out);
  for (const std::string& line : report::LoadLinesAfter(load)) {
    text += line;
    out.endLine();
  }
}

}  // namespace

int WriteDriveReport(const CalcArguments& arguments, BufferedOutput& out,
                     report::OutputStream& err) {
  const report::Units units{arguments.inch};
  DriveSolution solution = SolveDrive(arguments.drive);
  if (solution.failure) {
    err.write("korvale-calc: " +
              report::DriveFailureText(arguments.drive, units, *solution.failure) + "\n");
    return 1;
  }
  std::optional<LoadSolution> load;
  if (arguments.load) load = SolveLoad(arguments.drive, *arguments.load, solution);
  const LoadSolution* loaded = load ? &*load : nullptr;
  if (arguments.format == report::Format::Svg) {
    // Drawn as a layout of its two pulleys, at the drive's first row's centre distance.
    LayoutRequest request;
    request.layout.profile = arguments.drive.pulleys.profile;
    request.layout.pulleys = {
        {"pulley 1", 0, 0, arguments.drive.pulleys.z1},
        {"pulley 2", solution.rows.front().centre, 0, arguments.drive.pulleys.z2}};
    const LayoutSolution drawing = SolveLayout(request);
    if (drawing.failure) {
      err.write("korvale-calc: " + *drawing.failure + "\n");
      return 1;
    }
    WriteLayout(report::Format::Svg, request.layout, drawing, units, out);
  } else if (arguments.format == report::Format::Text) {
    writeText(report::DriveTextOf(arguments.drive, units, solution, loaded), out);
    if (load) writeLoadText(report::LoadTextOf(units, *load, solution), out);
  } else {
    report::WriteDriveRecords(arguments.format, arguments.drive, units, solution, out, loaded);
  }
  return 0;
}

}  // namespace korvale::calc
