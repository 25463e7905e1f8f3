#include "report/load_rules.h"

#include <cctype>
#include <string>

#include "core/belt_ratings.h"
#include "report/number_format.h"

namespace korvale::report {
namespace {

constexpr double kWattsPerHorsepower = 745.69987158227022;  // 550 ft·lbf/s, exactly

[[noreturn]] void refuse(std::string message) {
  throw InputError{std::move(message)};
}

double figure(std::string_view option, std::string_view text, std::string_view what,
              double most = kMostLoadFigure, std::string_view mostText = "1000000000") {
  const std::optional<double> value = NumberOf(text);
  if (!value || !(*value >= kLeastLoadFigure && *value <= most))
    refuse(std::string(option) + " " + Quoted(text) + ": expected " + std::string(what) +
           " from 0.000001 to " + std::string(mostText));
  return *value;
}

bool sameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  }
  return true;
}

std::string widthList(const BeltRating& rating) {
  std::string list;
  for (std::size_t i = 0; i < rating.widthCount; ++i) {
    if (!list.empty()) list += ' ';
    appendShortest(list, rating.widths[i]);
  }
  return list;
}

}  // namespace

double PowerNamed(std::string_view option, std::string_view text) {
  std::string_view number = text;
  double toKilowatts = 1;
  for (const auto& [unit, factor] : {std::pair<std::string_view, double>{"kw", 1},
                                     {"w", 0.001},
                                     {"hp", kWattsPerHorsepower / 1000}}) {
    if (text.size() > unit.size() && sameLetters(text.substr(text.size() - unit.size()), unit)) {
      number = text.substr(0, text.size() - unit.size());
      if (!number.empty() && number.back() == ' ') number.remove_suffix(1);
      toKilowatts = factor;
      break;
    }
  }
  const std::optional<double> value = NumberOf(number);
  const double kilowatts = value ? *value * toKilowatts : 0;
  if (!value || !(kilowatts >= kLeastLoadFigure && kilowatts <= kMostLoadFigure))
    refuse(std::string(option) + " " + Quoted(text) +
           ": expected a power from 0.000001 to 1000000000 kW, such as 2.2, 2.2kW, 750W or 3hp");
  return kilowatts;
}

std::optional<LoadRequest> ReadLoadInputs(const LoadInputs& inputs, const BeltProfile& profile) {
  if (inputs.empty()) return std::nullopt;
  LoadRequest load;
  if (!inputs.power.empty() && !inputs.torque.empty()) refuse("give --power or --torque, not both");
  if (inputs.power.empty() && inputs.torque.empty())
    refuse("a load needs --power (kW) or --torque (Nm on the driving shaft), with --rpm");
  if (!inputs.power.empty()) {
    load.power = PowerNamed("--power", inputs.power);
  } else {
    load.torque = figure("--torque", inputs.torque, "a torque in Nm");
  }
  if (inputs.rpm.empty()) refuse("a load needs --rpm, the driving pulley's speed");
  load.rpm = figure("--rpm", inputs.rpm, "a speed in rpm");
  if (!inputs.serviceFactor.empty())
    load.serviceFactor = figure("--service-factor", inputs.serviceFactor, "a factor", 1000, "1000");
  const BeltRating& rating = BeltRatingOf(profile);
  const std::string unit = rating.inchWidths() ? "in" : "mm";
  if (!inputs.width.empty()) {
    const double typed = figure("--width", inputs.width, "a width in " + unit);
    if (rating.hasStockWidths()) {
      load.width = rating.stockWidth(typed);
      if (!load.width)
        refuse("--width " + Quoted(inputs.width) + ": " + std::string(profile.name) +
               " stock widths are " + widthList(rating) + " " + unit);
    } else {
      load.width = typed;
    }
  }
  if (!inputs.ratedPower.empty()) {
    if (rating.kind != RatingKind::None)
      refuse("--rated-power is for a profile without a public rating; " +
             std::string(profile.name) + " is rated by " + std::string(rating.ratingSource));
    if (!load.width) refuse("--rated-power needs --width, the width it rates");
    load.ratedPower = PowerNamed("--rated-power", inputs.ratedPower);
  }
  return load;
}

}  // namespace korvale::report
