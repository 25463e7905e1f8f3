#include "report/drive_records.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvale::report {
namespace {

std::vector<std::string_view> warningIds(unsigned warnings) {
  std::vector<std::string_view> ids;
  for (const DriveWarning warning : kDriveWarnings) {
    if ((warnings & static_cast<unsigned>(warning)) != 0) ids.push_back(DriveWarningId(warning));
  }
  return ids;
}

}  // namespace

void WriteDriveRecords(Format format, const DriveRequest& request, Units units,
                       const DriveSolution& solution, BufferedOutput& out) {
  const PulleyPair& pair = request.pulleys;
  RecordWriter records(format,
                       {"case", "profile", "z1", "z2", "D1", "D2", "Da1", "Da2", "C", "L",
                        "belt_teeth", "ratio", "wrap1", "wrap2", "mesh1", "mesh2", "warnings"},
                       out);
  for (const DriveRow& row : solution.rows) {
    records.text(row.kind);
    records.text(pair.profile->name);
    records.numberText(std::to_string(pair.z1));
    records.numberText(std::to_string(pair.z2));
    records.number(units.of(solution.D1));
    records.number(units.of(solution.D2));
    for (const double tip : {solution.Da1, solution.Da2}) {
      if (solution.tipsKnown) {
        records.number(units.of(tip));
      } else {
        records.absent();
      }
    }
    records.number(units.of(row.centre));
    records.number(units.of(row.length));
    records.number(row.beltTeeth);
    records.number(static_cast<double>(pair.z2) / static_cast<double>(pair.z1));
    records.number(row.wrap1);
    records.number(row.wrap2);
    records.numberText(std::to_string(row.mesh1));
    records.numberText(std::to_string(row.mesh2));
    records.list(warningIds(row.warnings));
    records.endRecord();
  }
}

}  // namespace korvale::report
