#pragma once

#include "core/belt_drive.h"
#include "core/belt_load.h"
#include "report/output_stream.h"
#include "report/record_writer.h"
#include "report/units.h"

namespace korvale::report {

// A drive's rows as records for a program to read, at full precision, lengths in `units`:
//   case,profile,z1,z2,D1,D2,Da1,Da2,C,L,belt_teeth,ratio,wrap1,wrap2,mesh1,mesh2,warnings
// and with a load these after them (forces in N, powers in kW, speeds in m/s and rpm, the
// frequency in Hz, the width in the profile's width unit; empty, or null, where one does not
// apply):
//   rpm1,rpm2,power,design_power,service_factor,torque1,torque2,v,te,width,rated_power,margin,
//   rating_source,tc,t_tight,t_slack,t_static,deflection,deflection_force_min,
//   deflection_force_max,span1,span2,frequency,hub_static,hub_running
// (Format::Text is not one of them.)
void WriteDriveRecords(Format format, const DriveRequest& request, Units units,
                       const DriveSolution& solution, BufferedOutput& out,
                       const LoadSolution* load = nullptr);

}  // namespace korvale::report
