#include "calc/reports.h"
#include "report/drive_records.h"
#include "report/drive_text.h"

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

}  // namespace

int WriteDriveReport(const CalcArguments& arguments, BufferedOutput& out,
                     report::OutputStream& err) {
  const report::Units units{arguments.inch};
  const DriveSolution solution = SolveDrive(arguments.drive);
  if (solution.failure) {
    err.write("korvale-calc: " +
              report::DriveFailureText(arguments.drive, units, *solution.failure) + "\n");
    return 1;
  }
  if (arguments.format == report::Format::Text) {
    writeText(report::DriveTextOf(arguments.drive, units, solution), out);
  } else {
    report::WriteDriveRecords(arguments.format, arguments.drive, units, solution, out);
  }
  return 0;
}

}  // namespace korvale::calc
