#pragma once

// Runs korvale-calc's whole program on words, as the shell would hand them over, and keeps what
// it prints.
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/run_calc.h"
#include "report/output_stream.h"

namespace korvale::calc::testing {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// `words` split at spaces, after any words given first.
inline Outcome runWords(std::vector<std::string> words, const std::string& commandLine) {
  std::istringstream split(commandLine);
  for (std::string word; split >> word;) words.push_back(word);
  const std::vector<std::string_view> args(words.begin(), words.end());
  report::StringOutput out, err;
  const int status = RunCalc(args, out, err);
  return {status, out.text(), err.text()};
}

// Line `number` (from 0) of `text`, or the last one where it has fewer.
inline std::string line(const std::string& text, std::size_t number) {
  std::istringstream lines(text);
  std::string found;
  for (std::size_t i = 0; i <= number && std::getline(lines, found); ++i) {
  }
  return found;
}

}  // namespace korvale::calc::testing
