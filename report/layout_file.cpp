#include "report/layout_file.h"

#include <cmath>
#include <string>
#include <vector>

#include "report/units.h"

namespace korvale::report {
namespace {

[[noreturn]] void refuse(std::size_t line, std::string message) {
  throw InputError{"line " + std::to_string(line) + ": " + std::move(message)};
}

std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// A coordinate or a diameter in millimetres, within kLongestLength either way.
double lengthOf(std::size_t line, std::string_view what, std::string_view text, bool inch,
                bool positive) {
  const std::optional<double> value = NumberOf(text);
  const double millimetres = value ? (inch ? *value * kMillimetresPerInch : *value) : 0;
  if (!value || !(std::fabs(millimetres) <= kLongestLength) || (positive && !(millimetres > 0)))
    refuse(line, std::string(what) + " " + Quoted(text) + ": expected " +
                     (positive ? "a positive number" : "a number") + " in " +
                     (inch ? "inches" : "millimetres"));
  return millimetres;
}

}  // namespace

Layout ReadLayoutFile(std::string_view text, bool inch) {
  Layout layout;
  std::size_t number = 0;
  std::optional<std::pair<std::size_t, std::vector<std::string_view>>> move;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (const std::size_t comment = line.find('#'); comment != std::string_view::npos)
      line = line.substr(0, comment);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> words = wordsOf(line);
    if (words.empty()) continue;
    if (words[0] == "profile") {
      if (words.size() != 2) refuse(number, "profile takes one name: profile 2GT");
      if (layout.profile != nullptr) refuse(number, "a layout has one profile");
      try {
        layout.profile = &ProfileNamed(words[1]);
      } catch (const InputError& error) {
        refuse(number, error.message);
      }
    } else if (words[0] == "pulley") {
      if (words.size() < 5 || words.size() > 7)
        refuse(number, "pulley takes NAME X Y TEETH or d=DIAMETER, then in or back, and idler");
      LayoutPulley pulley;
      pulley.name = std::string(words[1]);
      for (const LayoutPulley& earlier : layout.pulleys) {
        if (earlier.name == pulley.name) refuse(number, "a second pulley " + pulley.name);
      }
      if (layout.pulleys.size() == kMostLayoutPulleys)
        refuse(number, "more than " + std::to_string(kMostLayoutPulleys) + " pulleys");
      pulley.x = lengthOf(number, "x", words[2], inch, false);
      pulley.y = lengthOf(number, "y", words[3], inch, false);
      const std::string_view size = words[4];
      if (size.substr(0, 2) == "d=") {
        pulley.diameter = lengthOf(number, "d", size.substr(2), inch, true);
      } else {
        const std::optional<long> teeth = WholeNumber(size);
        if (!teeth || *teeth > kMostLayoutTeeth)
          refuse(number, "pulley " + pulley.name + ": expected teeth from 1 to " +
                             std::to_string(kMostLayoutTeeth) + " or d=DIAMETER, not " +
                             Quoted(size));
        pulley.teeth = *teeth;
      }
      for (std::size_t i = 5; i < words.size(); ++i) {
        if (words[i] == "back" && i == 5) {
          pulley.side = LayoutSide::Back;
        } else if (words[i] == "in" && i == 5) {
          pulley.side = LayoutSide::Tooth;
        } else if (words[i] == "idler" && (i == 6 || words.size() == 6)) {
          pulley.idler = true;
        } else {
          refuse(number, "pulley " + pulley.name + ": expected in or back, then idler, not " +
                             Quoted(words[i]));
        }
      }
      layout.pulleys.push_back(std::move(pulley));
    } else if (words[0] == "move") {
      if (words.size() != 4) refuse(number, "move takes NAME DX DY: move motor -1 0");
      if (move) refuse(number, "a layout has one move");
      move.emplace(number, words);
    } else {
      refuse(number, "expected profile, pulley or move, not " + Quoted(words[0]));
    }
  }
  if (layout.profile == nullptr) throw InputError{"the layout names no profile: profile 2GT"};
  if (move) {
    const auto& [line, words] = *move;
    std::size_t found = layout.pulleys.size();
    for (std::size_t i = 0; i < layout.pulleys.size(); ++i) {
      if (layout.pulleys[i].name == words[1]) found = i;
    }
    if (found == layout.pulleys.size()) refuse(line, "move: no pulley " + std::string(words[1]));
    const std::optional<double> dx = NumberOf(words[2]), dy = NumberOf(words[3]);
    if (!dx || !dy || !std::isfinite(std::hypot(*dx, *dy)) || (*dx == 0 && *dy == 0))
      refuse(line, "move " + std::string(words[1]) + ": expected a direction DX DY, not both 0");
    layout.move = LayoutMove{found, *dx, *dy};
  }
  return layout;
}

}  // namespace korvale::report
