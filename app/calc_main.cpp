#include <string_view>
#include <vector>

#include "calc/file_output.h"
#include "calc/run_calc.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  korvale::calc::FileOutput out(stdout);
  korvale::calc::FileOutput err(stderr);
  return korvale::calc::RunCalc(args, out, err);
}
