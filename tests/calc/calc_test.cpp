#include "calc/run_calc.h"

#include <gtest/gtest.h>

#include <sstream>

namespace korvale::calc {
namespace {

class StringOutput : public report::OutputStream {
 public:
  bool write(std::string_view text) override {
    text_ += text;
    return true;
  }
  std::string text_;
};

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome run(const std::string& commandLine) {
  std::vector<std::string> words;
  std::istringstream split(commandLine);
  for (std::string word; split >> word;) words.push_back(word);
  const std::vector<std::string_view> args(words.begin(), words.end());
  StringOutput out, err;
  const int status = RunCalc(args, out, err);
  return {status, out.text_, err.text_};
}

std::string line(const std::string& text, std::size_t number) {
  std::istringstream lines(text);
  std::string found;
  for (std::size_t i = 0; i <= number && std::getline(lines, found); ++i) {
  }
  return found;
}

// Each command line with its exit code and one line of what it prints: (line n of) standard
// output, or the error.
TEST(KorvaleCalc, AnswersEachCommandLine) {
  struct Case {
    const char* commandLine;
    int status;
    std::size_t lineNumber;
    const char* line;
  };
  // clang-format off
  const Case cases[] = {
      {"pulley 5M 20", 0, 2, "          20       31.83       30.69"},
      {"pulley htd5m 11 --format csv", 0, 1, "5M,11,17.5,16.36,pulley_below_stock"},
      {"pulley 14M 1-100000 --format tsv", 0, 100000, "14M\t100000\t445633.84\t445631.04\t"},
      {"pulley T20 15 --format json", 0, 1, R"({"profile":"T20","teeth":15,"D":95.49,"Da":92.49,"warnings":["offset_unconfirmed"]})"},
      {"pulley 5M 20 --units in --format csv", 0, 1, "5M,20,1.253,1.208,"},
      {"pulley 14M 27-29", 0, 6, "warning: makers_tip_differs: makers' tables give 14M pulleys of 28 teeth or fewer a larger outside diameter than D - 2u: take the maker's figure"},
      {"pulley 8M 34-35 --format csv", 0, 2, "8M,35,89.12,87.75,"},
      {"pulley T5 20", 0, 3, "* offset_unconfirmed: Da rests on u = 0.425 mm for T5, worked back from a vendor's pitch and outside diameters"},
      {"drive 14M 28 112 --centre 600", 0, 5, "requested      600.00               2238.87     159.92      143.6      216.4         11         67"},
      {"drive 14M 28 112 --centre 600", 0, 7, "longer         600.59      +0.59    2240.00        160      143.7      216.3         11         67"},
      {"drive 14M 28 112 --center=600 --format csv", 0, 2, "shorter,14M,28,112,124.77747538404594,499.10990153618377,121.97747538404595,496.30990153618376,593.221158756516,2226,159,4,143.21699295981583,216.78300704018417,11,67,makers_tip_differs"},
      {"drive 14M 28 112 --belt 160 --format json", 0, 1, R"({"case":"belt","profile":"14M","z1":28,"z2":112,"D1":124.77747538404594,"D2":499.10990153618377,"Da1":121.97747538404595,"Da2":496.30990153618376,"C":600.5929450474888,"L":2240,"belt_teeth":160,"ratio":4,"wrap1":143.68433185194544,"wrap2":216.31566814805456,"mesh1":11,"mesh2":67,"warnings":["makers_tip_differs"]})"},
      {"drive 5M 20 30 --length 400", 0, 0, "5M drive: 20 and 30 teeth, ratio 3/2 (1.5)"},
      {"drive 5M 20 30 --length 400 --units in", 0, 5, "length        197.539               400.000       2032      179.8      180.2          9         15"},
      {"drive 3M 9 9 --belt 30", 0, 6, "warning: few_teeth_in_mesh: fewer than 6 teeth in mesh on the small pulley: the belt may jump teeth under load"},
      {"profiles --format csv", 0, 10, "T5,T (DIN 7721),5,0.425,derived,2.2,10,vendor P.D./O.D. table"},
      {"profiles --units in", 0, 18, "L     inch          0.375               0.015                confirmed    0.141732283464567   10        SDP/SI D265"},
      {"profiles --units in --format json", 0, 18, R"({"name":"L","family":"inch","pitch":0.375,"u":0.015,"u_status":"confirmed","belt_height":0.141732283464567,"smallest_pulley":10,"source":"SDP/SI D265"},)"},
      {"pulley L 10 --units in", 0, 0, "L (inch): pitch 0.375 in, u 0.015 in"},
      {"--version", 0, 0, "korvale-calc 1.00"},
      {"drive 14M 28 112 --belt 112", 1, 0, "korvale-calc: a belt of 112 teeth (1568.00 mm) cannot be fitted on these pulleys: it must be longer than 1568.00 mm, the larger pulley's pitch circumference"},
      {"drive 14M 28 112 --centre 187", 1, 0, "korvale-calc: centre distance 187.00 mm is too small for these pulleys: it must be more than 187.17 mm, half the difference of their pitch diameters"},
      {"pulley 15M 20", 2, 0, "korvale-calc: unknown profile \"15M\"; known profiles: 3M 5M 8M 14M 20M 2GT 3GT 5GT T2.5 T5 T10 T20 AT5 AT10 AT20 MXL XL L H XH"},
      {"pulley 5M 2.5", 2, 0, "korvale-calc: teeth \"2.5\": expected a whole number from 1 to 1000000000"},
      {"pulley 5M 0", 2, 0, "korvale-calc: teeth \"0\": expected a whole number from 1 to 1000000000"},
      {"pulley 5M 30-20", 2, 0, "korvale-calc: teeth \"30-20\": the range runs backwards"},
      {"pulley 5M 10-x", 2, 0, "korvale-calc: teeth \"10-x\": expected whole numbers from 1 to 1000000000 or a range such as 10-60"},
      {"pulley 5M 99999999999999999999", 2, 0, "korvale-calc: teeth \"99999999999999999999\": expected a whole number from 1 to 1000000000"},
      {"drive 14M 28 112 --centre nan", 2, 0, "korvale-calc: --centre \"nan\": expected a positive number such as 600.5, in millimetres, up to 1000000000000"},
      {"drive 14M 28 112 --centre -5", 2, 0, "korvale-calc: --centre \"-5\": expected a positive number such as 600.5, in millimetres, up to 1000000000000"},
      {"drive 14M 28 112 --length 1e999", 2, 0, "korvale-calc: --length \"1e999\": expected a positive number such as 600.5, in millimetres, up to 1000000000000"},
      {"drive 14M 28 112 --centre 1e308", 2, 0, "korvale-calc: --centre \"1e308\": expected a positive number such as 600.5, in millimetres, up to 1000000000000"},
      {"drive 14M 28 112", 2, 0, "korvale-calc: drive takes one of --centre C, --belt N (whole teeth), --length L, not 0"},
      {"drive 14M 28 112 --centre 600 --belt 160", 2, 0, "korvale-calc: drive takes one of --centre C, --belt N (whole teeth), --length L, not 2"},
      {"drive 14M 28 112 --belt 160 --increment 5", 2, 0, "korvale-calc: --increment applies to drive --centre only"},
      {"drive 14M 28 --centre 600", 2, 0, "korvale-calc: drive takes PROFILE Z1 Z2 and one of --centre C, --belt N, --length L"},
      {"pulley 5M 20 --format xml", 2, 0, "korvale-calc: --format \"xml\": expected text, csv, tsv or json"},
      {"pulley 5M 20 --units cm", 2, 0, "korvale-calc: --units \"cm\": expected mm or in"},
      {"pulley 5M 20 --centre 600", 2, 0, "korvale-calc: --centre, --belt, --length and --increment apply to drive only"},
      {"pulley 5M 20 --frobnicate", 2, 0, "korvale-calc: unknown option \"--frobnicate\"; options: --format --units --centre --belt --length --increment --version --help"},
      {"pulley 5M 20 --format", 2, 0, "korvale-calc: --format needs a value"},
      {"gear 5M 20", 2, 0, "korvale-calc: unknown command \"gear\": expected pulley, drive or profiles"},
      {"", 2, 0, "korvale-calc: no command: expected pulley, drive or profiles (see --help)"},
  };
  // clang-format on
  for (const Case& c : cases) {
    const Outcome result = run(c.commandLine);
    EXPECT_EQ(result.status, c.status) << c.commandLine << "\n" << result.err;
    EXPECT_EQ(line(c.status == 0 ? result.out : result.err, c.lineNumber), c.line) << c.commandLine;
    EXPECT_EQ(
        result.out.find("nan") == std::string::npos && result.out.find("inf") == std::string::npos,
        true)
        << c.commandLine;
    EXPECT_EQ(c.status == 0 ? result.err : result.out, "") << c.commandLine;
  }
}

}  // namespace
}  // namespace korvale::calc
