#include "state/state_format.h"

#include "state/drive_format.h"

#include <gtest/gtest.h>

#include <string>

namespace korvale {
namespace {

// What a file's bytes give: "teeth|pitch", or "-" where the second field never begins.
TEST(StateFormat, ReadsTheFirstTwoFields) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"\"20\"\r\n\"5M\"\r\n", "20|5M"}, {"\"\"\r\n\"\"\r\n", "|"}, {"20,5M", "20|5M"},
      {"\"2,5\"\r\n\"5M\"", "2,5|5M"}, {"20 ,5M \r\n", "20 |5M"},
      {"\"20\"\r\n\"5M\"\r\n\"99\"\r\nmore\r\n", "20|5M"}, {"\"2,5\"\r\n\"5M\"\r\n", "2,5|5M"},
      {"  \t\"20\"  ,\t 5M  \r\n", "20|5M"}, {"\"20\"junk\r\n\"5M\"x,y\r\n", "20|5M"},
      {"\"20\"\n\"5M\"\n", "20|5M"}, {"\"20\"\r\"5M\"\r", "20|5M"},
      {"\"20\"\r\n\r\n  \r\n\"5M\"\r\n", "20|5M"}, {"\"20\"\r\n\"5M", "20|5M"},
      {"\"20\"\r\n5M", "20|5M"}, {",5M", "|5M"}, {"\"a\"b\"\r\n\"5M\"\r\n", "a|5M"},
      {"\"\xe9\xbd\xbf\"\r\n\"5M\"\r\n", "\xe9\xbd\xbf|5M"}, {"20 ,5M ,x", "20 |5M "},
      {"20\t,5M \r\n", "20\t|5M"}, {"\xef\xbb\xbf\"25\"\r\n\"8M\"\r\n", "25|8M"},
      {"\xef\xbb\xbf" "20,5M", "20|5M"}, {"\xef\xbb" "x,5M", "\xef\xbb" "x|5M"},
      {"", "-"}, {"\"20\"\r\n", "-"}, {"\"20\"", "-"}, {"20", "-"}, {"20,", "-"},
      {"20,\r\n\r\n", "-"}, {"\"20,5M", "-"}, {"   \r\n\t", "-"}, {"\"20\"\r\n  \t  ", "-"}};
  // clang-format on
  for (const auto& [file, read] : cases) {
    const auto inputs = parseStateFile(file);
    EXPECT_EQ(inputs ? inputs->teethText + "|" + inputs->pitchText : "-", read) << file;
  }
}

// The drive file: what a text gives ("profile z1 z2 given value increment units"), or the reason
// it is refused, or both for a line not understood in a file otherwise read; the defaults are
// 14M 28 112 centre 600 1 mm. What the program writes, the longest texts a box keeps among it,
// reads back as it was.
TEST(DriveFormat, ReadsWhatTheUserMeantAndRefusesWhatIsNoDriveFile) {
  const std::string longest(kLongestDriveText, '9');
  std::string chinese;  // the longest text in characters of three bytes each
  for (std::size_t i = 0; i < kLongestDriveText; ++i) chinese += "\xe9\xbd\xbf";
  const DriveInputs awkward{"T5",         " 20", "2\n0", "length",
                            "\"a\\\"b\\", "5 ",  "in",   {"3hp", "", " 1450", "1.5", "", "\"x"}};
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {formatDriveFile({"T5", "10", "2.5", "length", "", "5", "in", {}}), "T5 10 2.5 length  5 in"},
      {formatDriveFile({"T5", longest, chinese, "belt", longest, longest, "mm", {}}), "T5 " + longest + " " + chinese + " belt " + longest + " " + longest + " mm"},
      {formatDriveFile(awkward), "T5  20 2\n0 length \"a\\\"b\\ 5  in load 3hp,, 1450,1.5,,\"x"},
      {"power=2.2\nRPM = 1450\nService_Factor=1.6\nwidth=15\n", "14M 28 112 centre 600 1 mm load 2.2,,1450,1.6,15,"},
      {"", "14M 28 112 centre 600 1 mm"},
      {"units=in\r\nz1=30\r\n# a note\r\n\r\n", "14M 30 112 centre 600 1 in"},
      {"z1=1=2\nprofile=htd5m", "5M 1=2 112 centre 600 1 mm"},
      {"\xef\xbb\xbfProfile = 5M\n  Z1 =\t20 \nGIVEN=Belt\nUnits=MM\nvalue=\"90\"", "5M 20 112 belt 90 1 mm"},
      {"given=center\n", "14M 28 112 centre 600 1 mm"},
      {"z1=30\nz3=20\nnext=x\n", "14M 30 112 centre 600 1 mm | line 2: unknown key \"z3\""},
      {"z1 30\n", "line 1 has no \"=\""},
      {"\xef\xbb" "z1=30\n", "it is not UTF-8 text"},
      {"profile=15M\n", "unknown profile \"15M\""},
      {"given=teeth\n", "\"given\" is \"teeth\", not centre, belt or length"},
      {"units=cm\n", "units \"cm\", not mm or in"},
      {"z1=\xff\n", "it is not UTF-8 text"},
      {"z1=\xc3\x28\n", "it is not UTF-8 text"},
      {"z1=\xc0\xb0\n", "it is not UTF-8 text"},
      {"z1=\xed\xa0\x80\n", "it is not UTF-8 text"},
      {"z1=\xf4\x90\x80\x80\n", "it is not UTF-8 text"},
      {"z1=" + longest + "9\n", "line 1 is too long"},
      {"z1=" + chinese + "\xe9\xbd\xbf\n", "line 1 is too long"}};
  // clang-format on
  for (const auto& [text, read] : cases) {
    std::string whyNot;
    const auto inputs = parseDriveFile(text, &whyNot);
    std::string outcome = whyNot;
    if (inputs) {
      outcome = inputs->profile + " " + inputs->z1 + " " + inputs->z2 + " " + inputs->given + " " +
                inputs->value + " " + inputs->increment + " " + inputs->units;
      const LoadInputs& load = inputs->load;
      if (!load.empty())
        outcome += " load " + load.power + "," + load.torque + "," + load.rpm + "," +
                   load.serviceFactor + "," + load.width + "," + load.ratedPower;
      if (!whyNot.empty()) outcome += " | " + whyNot;
    }
    EXPECT_TRUE(outcome == read) << text.substr(0, 80) << "\n" << outcome.substr(0, 200);
  }
  EXPECT_EQ(parseDriveFile(formatDriveFile(awkward)), awkward);
}

}  // namespace
}  // namespace korvale
