#pragma once

#include "core/belt_drive.h"
#include "report/output_stream.h"
#include "report/record_writer.h"
#include "report/units.h"

namespace korvale::report {

// A drive's rows as records for a program to read, at full precision, lengths in `units`:
//   case,profile,z1,z2,D1,D2,Da1,Da2,C,L,belt_teeth,ratio,wrap1,wrap2,mesh1,mesh2,warnings
// (Format::Text is not one of them.)
void WriteDriveRecords(Format format, const DriveRequest& request, Units units,
                       const DriveSolution& solution, BufferedOutput& out);

}  // namespace korvale::report
