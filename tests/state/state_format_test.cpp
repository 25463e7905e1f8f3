#include "state/state_format.h"

#include <gtest/gtest.h>

#include <string>

namespace korvale {
namespace {

// What a file's bytes give: "teeth|pitch", or "-" where the second field never begins.
TEST(StateFormat, ReadsTheFirstTwoFields) {
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"\"20\"\r\n\"5M\"\r\n", "20|5M"}, {"\"\"\r\n\"\"\r\n", "|"}, {"20,5M", "20|5M"},
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

}  // namespace
}  // namespace korvale
