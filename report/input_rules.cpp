#include "report/input_rules.h"

#include <charconv>

#include "core/decimal_text.h"
#include "report/units.h"

namespace korvale::report {
namespace {

[[noreturn]] void refuse(std::string message) {
  throw InputError{std::move(message)};
}

std::string knownProfiles() {
  std::string names;
  for (const BeltProfile& profile : BeltProfiles) {
    if (!names.empty()) names += ' ';
    names += profile.name;
  }
  return names;
}

}  // namespace

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::optional<double> NumberOf(std::string_view text) {
  double value = 0;
  bool tooLarge = false;
  if (text.empty() || ReadNumber(text, value, tooLarge) != text.size() || tooLarge)
    return std::nullopt;
  return value;
}

std::optional<long> WholeNumber(std::string_view text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || text.front() == '-' || error != std::errc() ||
      end != text.data() + text.size() || value < 1 || value > kMostTeeth)
    return std::nullopt;
  return value;
}

long TeethCount(std::string_view what, std::string_view text) {
  if (const auto value = WholeNumber(text)) return *value;
  refuse(std::string(what) + " " + Quoted(text) + ": expected a whole number from 1 to " +
         std::to_string(kMostTeeth));
}

double PositiveLength(std::string_view option, std::string_view text, bool inch) {
  const std::optional<double> value = NumberOf(text);
  const double millimetres = value ? (inch ? *value * kMillimetresPerInch : *value) : 0;
  if (!(millimetres > 0 && millimetres <= kLongestLength))
    refuse(std::string(option) + " " + Quoted(text) + ": expected a positive number such as " +
           (inch ? "23.6" : "600.5") + ", in " + (inch ? "inches" : "millimetres") + ", up to " +
           (inch ? "39370078740" : "1000000000000"));
  return millimetres;
}

const BeltProfile& ProfileNamed(std::string_view name) {
  if (const BeltProfile* profile = FindBeltProfile(name)) return *profile;
  refuse("unknown profile " + Quoted(name) + "; known profiles: " + knownProfiles());
}

bool InchesNamed(std::string_view units) {
  if (units != "mm" && units != "in") refuse("--units " + Quoted(units) + ": expected mm or in");
  return units == "in";
}

Format FormatNamed(std::string_view name) {
  if (name == "text") return Format::Text;
  if (name == "csv") return Format::Csv;
  if (name == "tsv") return Format::Tsv;
  if (name == "json") return Format::Json;
  if (name == "svg") return Format::Svg;
  refuse("--format " + Quoted(name) + ": expected text, csv, tsv, json or svg");
}

DriveGiven GivenNamed(std::string_view given) {
  return given == "belt"     ? DriveGiven::BeltTeeth
         : given == "length" ? DriveGiven::BeltLength
                             : DriveGiven::Centre;
}

DriveOrder ReadDriveInputs(const DriveInputs& inputs) {
  DriveOrder order;
  order.inch = InchesNamed(inputs.units);
  DriveRequest& request = order.request;
  request.pulleys.profile = &ProfileNamed(inputs.profile);
  request.pulleys.z1 = TeethCount("Z1", inputs.z1);
  request.pulleys.z2 = TeethCount("Z2", inputs.z2);
  request.given = GivenNamed(inputs.given);
  switch (request.given) {
    case DriveGiven::Centre:
      request.value = PositiveLength("--centre", inputs.value, order.inch);
      request.increment = TeethCount("--increment", inputs.increment);
      break;
    case DriveGiven::BeltTeeth:
      request.value = static_cast<double>(TeethCount("--belt", inputs.value));
      break;
    case DriveGiven::BeltLength:
      request.value = PositiveLength("--length", inputs.value, order.inch);
      break;
  }
  return order;
}

}  // namespace korvale::report
