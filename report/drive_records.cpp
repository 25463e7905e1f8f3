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

void writeLoad(RecordWriter& records, Units units, const LoadSolution& load, const LoadRow& row) {
  for (const double figure :
       {load.rpm1, load.rpm2, load.power, load.designPower, load.serviceFactor, load.torque1,
        load.torque2, load.speed, load.pull}) {
    records.number(figure);
  }
  records.number(row.width);
  records.number(row.ratedPower);
  records.number(row.margin);
  records.text(load.rating->kind == RatingKind::None ? std::string_view("none")
                                                     : load.rating->ratingSource);
  records.number(row.tc);
  records.number(row.tTight);
  records.number(row.tSlack);
  records.number(row.tStatic);
  records.number(units.of(row.deflection));
  records.number(row.deflectionForceMin);
  records.number(row.deflectionForceMax);
  records.number(units.of(row.span));
  records.number(units.of(row.span));
  records.number(row.frequency);
  records.number(row.hubStatic);
  records.number(row.hubRunning);
}

}  // namespace

void WriteDriveRecords(Format format, const DriveRequest& request, Units units,
                       const DriveSolution& solution, BufferedOutput& out,
                       const LoadSolution* load) {
  const PulleyPair& pair = request.pulleys;
  std::vector<std::string_view> columns = {
      "case", "profile",    "z1",    "z2",    "D1",    "D2",    "Da1",   "Da2",     "C",
      "L",    "belt_teeth", "ratio", "wrap1", "wrap2", "mesh1", "mesh2", "warnings"};
  if (load != nullptr) {
    columns.insert(columns.end(), {"rpm1",
                                   "rpm2",
                                   "power",
                                   "design_power",
                                   "service_factor",
                                   "torque1",
                                   "torque2",
                                   "v",
                                   "te",
                                   "width",
                                   "rated_power",
                                   "margin",
                                   "rating_source",
                                   "tc",
                                   "t_tight",
                                   "t_slack",
                                   "t_static",
                                   "deflection",
                                   "deflection_force_min",
                                   "deflection_force_max",
                                   "span1",
                                   "span2",
                                   "frequency",
                                   "hub_static",
                                   "hub_running"});
  }
  RecordWriter records(format, std::move(columns), out);
  for (std::size_t i = 0; i < solution.rows.size(); ++i) {
    const DriveRow& row = solution.rows[i];
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
    if (load != nullptr) writeLoad(records, units, *load, load->rows[i]);
    records.endRecord();
  }
}

}  // namespace korvale::report
