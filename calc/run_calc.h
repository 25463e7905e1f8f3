#pragma once

#include <string_view>
#include <vector>

#include "report/output_stream.h"

namespace korvale::calc {

// The whole command line program: the arguments after its name in, text out; returns the exit
// code: 0 done (warnings included), 1 a drive that cannot be built, 2 a command line that cannot
// be run (one line on err naming the argument), 3 output that could not be written (one line on
// err with the system's reason; the writing stops at the first block that fails).
int RunCalc(const std::vector<std::string_view>& args, report::OutputStream& out,
            report::OutputStream& err);

}  // namespace korvale::calc
