#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/calc/calc_run.h"
#include "tests/support/temporary_directory.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace korvale::calc {
namespace {

using testing::line;
using testing::Outcome;

// korvale-calc layout over a file holding `text`, with the options after it.
Outcome layout(const std::string& text, const std::string& options) {
  const korvale::testing::TemporaryDirectory directory;
  directory.write("layout.txt", text);
  return testing::runWords({"layout", (directory.path() / "layout.txt").string()}, options);
}

const char kExample[] =
    "profile 2GT\n"
    "pulley motor     0      0   20          # name x y teeth\n"
    "pulley idler     100    8   d=12 back   # a plain roller on the belt's back\n"
    "pulley carriage  201.3  0   20\n"
    "move motor -1 0                         # the motor slides along (-1, 0)\n";

// Each layout file with its options, exit status and one line of what it prints (standard output,
// or the error with the file's path cut off).
TEST(KorvaleCalcLayout, AnswersEachLayoutFile) {
  const struct {
    std::string text;
    const char* options;
    int status;
    std::size_t lineNumber;
    const char* line;
  } cases[] = {
      {kExample, "", 0, 0, "2GT layout: 3 pulleys, belt 442.84 mm (221.42 teeth)"},
      {kExample, "", 0, 4,
       "idler          100.00       8.00       back      12.00       6.51        5.6             "
       "opposite"},
      {kExample, "", 0, 14, "shorter           221      -0.42       0.42       0.00     442.00"},
      {kExample, "--belt 230", 0, 14,
       "belt              230      +8.59      -8.59       0.00     460.00"},
      {kExample, "--units in --format csv", 0, 2,
       "idler,100,8,back,12,6.019921259842519,16.210947200551217,,opposite"},
      {kExample, "--format json", 0, 0, R"({"pulleys":[)"},
      // Two equal pulleys: the belt is twice the centre distance and one pitch circle, exactly.
      {"profile 2GT\npulley a 0 0 20\npulley b 100.3 0 20\nmove b 1 0\n", "--format json", 0, 11,
       R"(,"fits":[)"},
      {"profile 2GT\npulley a 0 0 20\npulley b 100.3 0 20\nmove b 1 0\n", "--format json", 0, 12,
       R"({"case":"shorter","teeth":120,"position":[100,0],"travel":-0.29999999999999716,"L":240},)"},
      {"profile 5M\npulley a 0 0 20\npulley i 100 30 d=20\npulley b 200 0 20\n", "", 0, 11,
       "warning: flat_inside_idler (i): a plain roller on the tooth side rides on the tooth tips: "
       "makers ask for a pulley there, or a flat roller no smaller than a 40-groove pulley's pitch "
       "diameter, 63.66 mm (SDP/SI D265 p. T-56)"},
      {"profile T5\npulley a 0 0 20\npulley r 100 -9 d=20 back\npulley b 200 0 20\n", "", 0, 11,
       "warning: roller_too_small (r): smaller than the 30 mm its maker allows a flat idler on the "
       "T5 belt's back (BRECOflex, minimum pulley diameter)"},
      {"profile 2GT\npulley a 0 0 20\n", "", 1, 0,
       "korvale-calc: a belt needs two pulleys at least"},
      {"profile 2GT\npulley a 0 0 20\npulley b 0 0 30\n", "", 1, 0,
       "korvale-calc: a and b share a centre"},
      {"profile 2GT\npulley a 0 0 20\npulley b 1 0 60\n", "", 1, 0,
       "korvale-calc: no belt runs from a to b: one lies within the other"},
      {"pulley a 0 0 20\npulley b 100 0 20\n", "", 2, 0,
       "the layout names no profile: profile 2GT"},
      {"profile 2GT\npulley a 0 0 10000\npulley b 100000 0 20\n", "", 0, 0,
       "2GT layout: 2 pulleys, belt 210120.92 mm (105060.46 teeth)"},
      {"profile 2GT\npulley a 0 0 10001\npulley b 100000 0 20\n", "", 2, 0,
       R"(line 2: pulley a: expected teeth from 1 to 10000 or d=DIAMETER, not "10001")"},
      {"profile 2GT\npulley a 0 0 20.5\n", "", 2, 0,
       R"(line 2: pulley a: expected teeth from 1 to 10000 or d=DIAMETER, not "20.5")"},
      {"profile 2GT\npulley a 0 0 20 sideways\n", "", 2, 0,
       R"(line 2: pulley a: expected in or back, then idler, not "sideways")"},
      {"profile 2GT\npulley a 0 0 20\npulley a 9 0 20\n", "", 2, 0, "line 3: a second pulley a"},
      {"profile 2GT\nbelt 5\n", "", 2, 0,
       R"(line 2: expected profile, pulley or move, not "belt")"},
      {"profile 2GT\npulley a 0 0 20\npulley b 90 0 20\nmove c 1 0\n", "", 2, 0,
       "line 4: move: no pulley c"},
      {"profile 2GT\npulley a 0 0 20\npulley b 90 0 20\nmove a 0 0\n", "", 2, 0,
       "line 4: move a: expected a direction DX DY, not both 0"},
      {"profile 2GT\npulley a 0 0 20\npulley b 90 0 20\n", "--belt 60", 2, 0,
       "korvale-calc: --belt and --length fit a layout that has a move line"},
      {"profile 15M\n", "", 2, 0,
       R"(line 1: unknown profile "15M"; known profiles: 3M 5M 8M 14M 20M 2GT 3GT 5GT T2.5 T5 T10 T20 AT5 AT10 AT20 MXL XL L H XH XXH)"},
  };
  for (const auto& c : cases) {
    const Outcome result = layout(c.text, c.options);
    EXPECT_EQ(result.status, c.status) << c.text << c.options << "\n" << result.err;
    std::string shown = line(c.status == 0 ? result.out : result.err, c.lineNumber);
    if (c.status == 2 && shown.find("layout.txt, ") != std::string::npos)
      shown = shown.substr(shown.find("layout.txt, ") + 12);
    EXPECT_EQ(shown, c.line) << c.text << c.options;
  }
}

// Paths that are no layout file: refused at once with the reason, never waited on or read
// without end.
TEST(KorvaleCalcLayout, ReadsOnlyARegularFile) {
  const korvale::testing::TemporaryDirectory directory;
  std::vector<std::pair<std::string, std::string>> paths = {
      {directory.u8path(), "it is not a regular file"},
      {(directory.path() / "missing.txt").u8string(), "No such file or directory"}};
#ifndef _WIN32
  const std::string fifo = (directory.path() / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  paths.push_back({fifo, "it is not a regular file"});
  paths.push_back({"/dev/zero", "it is not a regular file"});
#endif
  // A layout as long as a file may be (16 MiB), comments filling it out, and one byte longer.
  std::string longest = kExample;
  longest.resize((16 << 20) - 1, '#');
  longest += '\n';
  directory.write("longest.txt", longest);
  EXPECT_EQ(testing::runWords({"layout", (directory.path() / "longest.txt").u8string()}, "").status,
            0);
  directory.write("longer.txt", longest + "\n");
  paths.push_back({(directory.path() / "longer.txt").u8string(), "it is longer than 16 MiB"});
  for (const auto& [path, why] : paths) {
    const Outcome result = testing::runWords({"layout", path}, "");
    EXPECT_EQ(result.status, 2) << path;
    EXPECT_EQ(result.err, "korvale-calc: cannot read " + path + ": " + why + "\n");
  }
}

// The SVG read back: one belt path whose lines and arcs measure the belt's length, in a document
// that opens and closes as SVG 1.1 does.
TEST(KorvaleCalcLayout, DrawsTheBeltItMeasures) {
  const Outcome drawing = layout(kExample, "--format svg");
  ASSERT_EQ(drawing.status, 0) << drawing.err;
  const std::string& svg = drawing.out;
  EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
  EXPECT_NE(svg.find("version=\"1.1\""), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
  const std::size_t start = svg.find(" d=\"", svg.find("id=\"belt\"")) + 4;
  std::istringstream path(svg.substr(start, svg.find('"', start) - start));
  double length = 0, x = 0, y = 0, firstX = 0, firstY = 0;
  std::string sweeps;  // each arc's sense on the screen, 1 clockwise
  for (std::string command; path >> command;) {
    double rx = 0, ry = 0, rotation = 0, large = 0, sweep = 0, nx = 0, ny = 0;
    if (command == "M") {
      path >> x >> y;
      firstX = x, firstY = y;
      continue;
    }
    if (command == "Z") {
      nx = firstX, ny = firstY;
      length += std::hypot(nx - x, ny - y);
    } else if (command == "L") {
      path >> nx >> ny;
      length += std::hypot(nx - x, ny - y);
    } else {
      ASSERT_EQ(command, "A");
      path >> rx >> ry >> rotation >> large >> sweep >> nx >> ny;
      sweeps += sweep != 0 ? '1' : '0';
      const double angle = 2 * std::asin(std::min(1.0, std::hypot(nx - x, ny - y) / (2 * rx)));
      length += rx * (large != 0 ? 2 * std::acos(-1.0) - angle : angle);
    }
    x = nx, y = ny;
  }
  EXPECT_NEAR(length, 442.83620977478853, 442.84 * 1e-9);
  // Round the idler on the belt's back against the sense it goes round the two pulleys.
  EXPECT_EQ(sweeps, "011");
  // The drive draws the same way.
  const Outcome drive = testing::runWords({}, "drive 14M 28 112 --centre 600 --format svg");
  EXPECT_EQ(drive.status, 0);
  EXPECT_NE(drive.out.find("<title>14M belt, 2238.87 mm (159.92 teeth)</title>"),
            std::string::npos);
}

}  // namespace
}  // namespace korvale::calc
