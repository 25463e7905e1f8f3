#include <gtest/gtest.h>

#include <sstream>

#include "tests/calc/calc_run.h"

namespace korvale::calc {
namespace {

using testing::line;
using testing::Outcome;

Outcome run(const std::string& commandLine) {
  return testing::runWords({}, commandLine);
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
      // Pitch diameters floored, lengths and changes rounded, JSON's commas between records and
      // in lists, inch lengths in every format, the limits at their boundaries.
      {"drive 14M 28 112 --centre 600", 0, 1, "pulley 1: 28 teeth, D 124.77 mm, Da 121.97 mm"},
      {"drive 14M 28 112 --centre 600", 0, 6, "shorter        593.22      -6.78    2226.00        159      143.2      216.8         11         67"},
      {"drive 14M 28 112 --length 2240.5", 0, 5, "length         600.86               2240.50     160.04      143.7      216.3         11         67"},
      {"drive 14M 28 112 --centre 593.2241", 0, 6, "shorter        593.22      +0.00    2226.00        159      143.2      216.8         11         67"},
      {"drive 14M 28 112 --centre 600 --format json", 0, 1, R"({"case":"requested","profile":"14M","z1":28,"z2":112,"D1":124.77747538404594,"D2":499.10990153618377,"Da1":121.97747538404595,"Da2":496.30990153618376,"C":600,"L":2238.8732251648084,"belt_teeth":159.9195160832006,"ratio":4,"wrap1":143.64718941786296,"wrap2":216.35281058213704,"mesh1":11,"mesh2":67,"warnings":["makers_tip_differs"]},)"},
      {"drive 5M 20 40 --centre 15.915495 --format json", 0, 1, R"({"case":"requested","profile":"5M","z1":20,"z2":40,"D1":31.830988618379067,"D2":63.66197723675813,"Da1":30.690988618379066,"Da2":62.52197723675813,"C":15.915495,"L":200.00000000027137,"belt_teeth":40.00000000005427,"ratio":2,"wrap1":0.03376268733768484,"wrap2":359.9662373126623,"mesh1":0,"mesh2":39,"warnings":["few_teeth_in_mesh","tips_touch","no_shorter_belt"]},)"},
      {"drive 14M 28 112 --length 2240.5 --units in --format tsv", 0, 1, "length\t14M\t28\t112\t4.91249903086795\t19.6499961234718\t4.80226281039551\t19.53975990299936\t1100.9340011480456\t2240.5\t4064.907142857143\t4\t179.23301243500964\t180.76698756499036\t13\t56\tmakers_tip_differs"},
      {"pulley 5M 1000000000 --format csv", 0, 1, "5M,1000000000,1591549430.71,1591549429.57,"},
      {"pulley XXH 20 --format csv", 0, 1, "XXH,20,202.12,,"},
      {"drive 5M 14 34 --centre 200", 0, 0, "5M drive: 14 and 34 teeth, ratio 17/7 (2.4286)"},
      {"--help", 0, 48, "Exit status: 0 done (warnings included), 1 a drive or layout that cannot be built, 2 a bad"},
      {"drive 5M 20 20 --units in --centre 39370078740 --format csv", 0, 1, "requested,5M,20,20,1.2531885282826405,1.2531885282826405,1.208306638518861,1.208306638518861,39370078740,78740157483.93701,400000000018.4,1,180,180,10,10,"},
      {"drive 14M 28 112 --belt 100", 1, 0, "korvale-calc: a belt of 100 teeth (1400.00 mm) cannot be fitted on these pulleys: it must be longer than 1568.00 mm, the larger pulley's pitch circumference"},
      {"pulley 5M -5", 2, 0, R"(korvale-calc: teeth "-5": expected a whole number from 1 to 1000000000)"},
      {"pulley 5M 1000000001", 2, 0, R"(korvale-calc: teeth "1000000001": expected a whole number from 1 to 1000000000)"},
      {"drive 14M 28 112 --units in --centre 1e12", 2, 0, R"(korvale-calc: --centre "1e12": expected a positive number such as 23.6, in inches, up to 39370078740)"},
      {"drive 5M 20 30 --length 400", 0, 0, "5M drive: 20 and 30 teeth, ratio 3/2 (1.5)"},
      {"drive 5M 20 30 --length 400 --units in", 0, 5, "length        197.539               400.000       2032      179.8      180.2          9         15"},
      {"drive 3M 9 9 --belt 30", 0, 6, "warning: few_teeth_in_mesh: fewer than 6 teeth in mesh on the small pulley: the belt may jump teeth under load"},
      {"profiles --format csv", 0, 10, R"x(T5,T (DIN 7721),5,0.425,derived,2.2,10,vendor P.D./O.D. table,none,1.2,0.575,"SDP/SI D265 p. T-15, Fig. 19",30,"BRECOflex, minimum pulley diameter")x"},
      {"profiles --format tsv", 0, 19, "H\tinch\t12.7\t0.686\tconfirmed\t4.064\t14\tSATI catalogue p. 164\tANSI/RMA IP-24 rating formula (quoted by engineersedge.com)\t2.286\t1.092\tBelting Industries, nominal tooth dimensions\t80\tBRECOflex, minimum pulley diameter"},
      {"profiles --units in", 0, 18, "L     inch          0.375               0.015                confirmed    0.14                0.0748031496062992  0.0501968503937008  2.36220472440945   10        IP-24   SDP/SI D265"},
      {"profiles --units in --format json", 0, 18, R"x({"name":"L","family":"inch","pitch":0.375,"u":0.015,"u_status":"confirmed","belt_height":0.14,"smallest_pulley":10,"source":"SDP/SI D265","rating_source":"ANSI/RMA IP-24 rating formula (quoted by engineersedge.com)","tooth_height":0.0748031496062992,"back_to_pitch_line":0.0501968503937008,"tooth_height_source":"SDP/SI D265 p. T-15, Fig. 19","smallest_back_idler":2.36220472440945,"back_idler_source":"BRECOflex, minimum pulley diameter"},)x"},
      {"pulley L 10 --units in", 0, 0, "L (inch): pitch 0.375 in, u 0.015 in"},
      {"--version", 0, 0, "korvale-calc 1.00"},
      {"drive 14M 28 112 --belt 112", 1, 0, "korvale-calc: a belt of 112 teeth (1568.00 mm) cannot be fitted on these pulleys: it must be longer than 1568.00 mm, the larger pulley's pitch circumference"},
      {"drive 14M 28 112 --centre 187", 1, 0, "korvale-calc: centre distance 187.00 mm is too small for these pulleys: it must be more than 187.17 mm, half the difference of their pitch diameters"},
      {"pulley 15M 20", 2, 0, "korvale-calc: unknown profile \"15M\"; known profiles: 3M 5M 8M 14M 20M 2GT 3GT 5GT T2.5 T5 T10 T20 AT5 AT10 AT20 MXL XL L H XH XXH"},
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
      {"pulley 5M 20 --format xml", 2, 0, "korvale-calc: --format \"xml\": expected text, csv, tsv, json or svg"},
      {"pulley 5M 20 --units cm", 2, 0, "korvale-calc: --units \"cm\": expected mm or in"},
      {"pulley 5M 20 --centre 600", 2, 0, "korvale-calc: --centre, --belt, --length, --increment and the load's options apply to drive only"},
      {"pulley 5M 20 --frobnicate", 2, 0, "korvale-calc: unknown option \"--frobnicate\"; options: --format --units --centre --belt --length --increment --power --torque --rpm --service-factor --width --rated-power --version --help"},
      {"pulley 5M 20 --format", 2, 0, "korvale-calc: --format needs a value"},
      // The load: rated (L by its formula), unrated (5M), a width given, over capacity, refusals.
      {"drive L 20 40 --centre 300 --power 2.2 --rpm 1450", 0, 11, "load: 2.2 kW at 1450 rpm on pulley 1, which turns pulley 2 at 725 rpm"},
      {"drive L 20 40 --centre 300 --power 3hp --rpm 1450", 0, 11, "load: 2.237 kW at 1450 rpm on pulley 1, which turns pulley 2 at 725 rpm"},
      {"drive L 20 40 --centre 300 --power 2.2 --rpm 1450", 0, 16, "no stock width carries it: 2.184 kW short at 1 in; go to a larger pitch or a larger small pulley"},
      {"drive XL 20 40 --centre 300 --power 500W --rpm 1450 --width 0.31 --service-factor 1.6", 0, 18, "requested      0.3125      0.102       0.13          1     0.0187        0.1"},
      {"drive 5M 20 56 --centre 250 --torque 14.5 --rpm 1450", 0, 15, "no public rating for this profile: effective pull per mm of width 151.8 N/mm at 9 mm, 91.1 N/mm at 15 mm, 54.7 N/mm at 25 mm"},
      {"drive 5M 20 56 --centre 250 --power 2.2 --rpm 1450 --format csv", 0, 0, "case,profile,z1,z2,D1,D2,Da1,Da2,C,L,belt_teeth,ratio,wrap1,wrap2,mesh1,mesh2,warnings,rpm1,rpm2,power,design_power,service_factor,torque1,torque2,v,te,width,rated_power,margin,rating_source,tc,t_tight,t_slack,t_static,deflection,deflection_force_min,deflection_force_max,span1,span2,frequency,hub_static,hub_running"},
      {"widths XL", 0, 4, "       0.375        9.52      0.0224       1.000"},
      {"widths 2gt --format csv", 0, 0, "profile,width,unit,mass_per_m,width_factor,rating_source,source,mass_source"},
      {"drive L 20 40 --centre 300 --power 0.5 --rpm 1450 --format csv", 0, 1, "requested,L,20,40,60.63803331801213,121.27606663602425,59.87603331801213,120.51406663602425,300,888.8167586457715,93.31409539588152,2,168.39918317140842,191.60081682859158,9,21,service_factor_assumed,1450,725,0.5,0.75,1.5,3.292860891556455,6.58572178311291,4.60375,162.91067064892752,0.75,0.8037911515787296,1.071721535438306,ANSI/RMA IP-24 rating formula (quoted by engineersedge.com),1.5167649149285989,137.27565712236822,28.66854335641652,82.97210023939236,4.663499945890431,5.185756264962023,5.704331891458225,298.46399653698757,298.46399653698757,57.04225565224099,165.09456425677723,162.447807992857"},
      // Either side of the 6500 ft/min (33.02 m/s) the rating holds to.
      {"drive XL 20 40 --centre 300 --power 0.1 --rpm 19400", 0, 8, "warning: service_factor_assumed: no service factor given: 1.5 taken, the low end of the 1.5 to 2.0 that SDP/SI D265 p. T-61 recommends for small-pitch synchronous drives"},
      {"drive XL 20 40 --centre 300 --power 0.1 --rpm 19600", 0, 8, "warning: speed_over_limit: the belt runs faster than the 33.02 m/s (6500 ft/min) its rating holds to"},
      // The load's limits, each side: a figure given is shown as given, never as 0.
      {"drive L 20 40 --centre 300 --power 0.000001 --rpm 1000000000", 0, 12, "load: 0.000001 kW at 1000000000 rpm on pulley 1, which turns pulley 2 at 500000000 rpm"},
      {"drive L 20 40 --centre 300 --power 1000000000 --rpm 0.000001", 0, 11, "load: 1000000000 kW at 0.000001 rpm on pulley 1, which turns pulley 2 at 0.0000005 rpm"},
      {"drive L 20 40 --centre 300 --power 0.0000009 --rpm 1450", 2, 0, R"(korvale-calc: --power "0.0000009": expected a power from 0.000001 to 1000000000 kW, such as 2.2, 2.2kW, 750W or 3hp)"},
      {"drive L 20 40 --centre 300 --power 1 --rpm 1000000001", 2, 0, R"(korvale-calc: --rpm "1000000001": expected a speed in rpm from 0.000001 to 1000000000)"},
      {"drive 5M 20 56 --centre 250 --power -1 --rpm 1450", 2, 0, R"(korvale-calc: --power "-1": expected a power from 0.000001 to 1000000000 kW, such as 2.2, 2.2kW, 750W or 3hp)"},
      {"drive 5M 20 56 --centre 250 --power 2 --torque 3 --rpm 1450", 2, 0, "korvale-calc: give --power or --torque, not both"},
      {"drive 5M 20 56 --centre 250 --power 2 --rpm 0", 2, 0, R"(korvale-calc: --rpm "0": expected a speed in rpm from 0.000001 to 1000000000)"},
      {"drive 5M 20 56 --centre 250 --power 2 --rpm 1450 --width 12", 2, 0, R"(korvale-calc: --width "12": 5M stock widths are 9 15 25 mm)"},
      {"drive 5M 20 56 --centre 250 --power 2", 2, 0, "korvale-calc: a load needs --rpm, the driving pulley's speed"},
      {"drive XL 20 40 --centre 300 --power 2 --rpm 1450 --rated-power 1", 2, 0, "korvale-calc: --rated-power is for a profile without a public rating; XL is rated by ANSI/RMA IP-24 rating formula (quoted by engineersedge.com)"},
      {"gear 5M 20", 2, 0, "korvale-calc: unknown command \"gear\": expected pulley, drive, profiles, widths or layout"},
      {"", 2, 0, "korvale-calc: no command: expected pulley, drive, profiles, widths or layout (see --help)"},
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
