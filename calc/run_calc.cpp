#include "calc/run_calc.h"

#include "calc/calc_arguments.h"
#include "calc/reports.h"

#ifndef KORVALE_VERSION
#define KORVALE_VERSION "0"
#endif

namespace korvale::calc {
namespace {

constexpr std::string_view kUsage =
    R"(Usage: korvale-calc COMMAND [ARGUMENTS] [OPTIONS]
Toothed-belt pulleys and drives, exactly.

Commands:
  pulley PROFILE TEETH...       D and Da of each pulley, as the Korvale window shows them;
                                TEETH are numbers or ranges: 12 18 20-24
  drive PROFILE Z1 Z2 --centre C [--increment K]
                                the belt at centre distance C and the whole-tooth belts
                                either side (multiples of K teeth) with their centre distances
  drive PROFILE Z1 Z2 --belt N  the centre distance for a belt of N teeth
  drive PROFILE Z1 Z2 --length L
                                the centre distance for a belt of pitch length L
  profiles                      the belt profiles, with the source of each tip offset and
                                rating
  widths PROFILE                the profile's stock widths, with their mass and sources
  layout FILE [--belt N | --length L] [--increment K]
                                a belt over any pulleys a file lists (- for standard input):
                                its exact path, and where its movable pulley takes up the
                                whole-tooth belts either side (or N teeth, or length L)

Options:
  --format text|csv|tsv|json|svg
                                text (the default) is rounded for reading; csv, tsv and json
                                carry full precision; svg draws a drive or a layout to scale
  --units mm|in                 lengths in and out in millimetres (the default) or inches

Load (drive only): the text report gains a Load section, the records its columns.
  --power P                     kW on the driving pulley (2.2, 2.2kW, 750W, 3hp), or
  --torque T                    Nm on the driving shaft; either needs
  --rpm N                       the driving pulley's speed
  --service-factor K            1.5 when not given
  --width B                     a stock width, in inches for inch profiles, else mm;
                                without it the narrowest that carries the design power
  --rated-power P               the maker's rating at --width, for a profile without a
                                public one
  --version, --help

Profiles: 3M 5M 8M 14M 20M (an HTD prefix is accepted), 2GT 3GT 5GT (GT2 for 2GT),
T2.5 T5 T10 T20, AT5 AT10 AT20, MXL XL L H XH XXH; case does not matter.
Layout file: one item a line, # starts a comment; pulleys in the belt's order:
  profile 2GT
  pulley motor     0      0   20          # NAME X Y TEETH|d=DIAMETER [in|back] [idler]
  pulley idler     100    8   d=12 back   # a plain roller on the belt's back
  pulley carriage  201.3  0   20
  move motor -1 0                         # the pulley that slides, and its direction
gives a belt of 442.84 mm (221.42 teeth), taken up as 221 teeth with the motor 0.42 mm along
(1, 0), as 222 with it 0.58 mm along (-1, 0).

Exit status: 0 done (warnings included), 1 a drive or layout that cannot be built, 2 a bad
command line or layout file, 3 the output could not be written.
)";

int run(const CalcArguments& arguments, report::BufferedOutput& out, report::OutputStream& err) {
  switch (arguments.command) {
    case Command::Help:
      out.text() += kUsage;
      return 0;
    case Command::Version:
      out.text() += "korvale-calc " KORVALE_VERSION "\n";
      return 0;
    case Command::Pulley:
      WritePulleyReport(arguments, out);
      return 0;
    case Command::Profiles:
      WriteProfilesReport(arguments, out);
      return 0;
    case Command::Widths:
      WriteWidthsReport(arguments, out);
      return 0;
    case Command::Layout:
      return WriteLayoutReport(arguments, out, err);
    case Command::Drive:
      return WriteDriveReport(arguments, out, err);
  }
  return 0;
}

}  // namespace

int RunCalc(const std::vector<std::string_view>& args, report::OutputStream& out,
            report::OutputStream& err) {
  CalcArguments arguments;
  try {
    arguments = ParseCalcArguments(args);
  } catch (const report::InputError& error) {
    err.write("korvale-calc: " + error.message + "\n");
    return 2;
  }
  try {
    report::BufferedOutput buffered(out);
    const int status = run(arguments, buffered, err);
    buffered.flush();
    return status;
  } catch (const report::OutputFailed& failure) {
    err.write("korvale-calc: cannot write the output: " + failure.reason + "\n");
    return 3;
  }
}

}  // namespace korvale::calc
