#include "report/command_words.h"

#include <string>

#include "report/load_rules.h"

namespace korvale::report {
namespace {

[[noreturn]] void refuse(std::string message) {
  throw InputError{std::move(message)};
}

std::optional<std::string_view>* valueSlot(CommandWords& words, std::string_view name) {
  if (name == "--format") return &words.format;
  if (name == "--units") return &words.units;
  if (name == "--centre" || name == "--center") return &words.centre;
  if (name == "--belt") return &words.belt;
  if (name == "--length") return &words.length;
  if (name == "--increment") return &words.increment;
  if (name == "--power") return &words.power;
  if (name == "--torque") return &words.torque;
  if (name == "--rpm") return &words.rpm;
  if (name == "--service-factor") return &words.serviceFactor;
  if (name == "--width") return &words.width;
  if (name == "--rated-power") return &words.ratedPower;
  return nullptr;
}

}  // namespace

CommandWords SplitCommandWords(const std::vector<std::string_view>& args) {
  CommandWords words;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      words.help = true;
    } else if (arg == "--version") {
      words.version = true;
    } else if (arg.size() > 2 && arg.substr(0, 2) == "--") {
      const std::size_t equals = arg.find('=');
      const std::string_view name = arg.substr(0, equals);
      auto* slot = valueSlot(words, name);
      if (slot == nullptr)
        refuse("unknown option \"" + std::string(name) +
               "\"; options: --format --units --centre --belt --length --increment --power "
               "--torque --rpm --service-factor --width --rated-power --version --help");
      if (equals != std::string_view::npos) {
        *slot = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        *slot = args[++i];
      } else {
        refuse(std::string(name) + " needs a value");
      }
    } else {
      words.positional.push_back(arg);
    }
  }
  return words;
}

DriveWords ReadDriveWords(const CommandWords& words, bool inch) {
  const std::vector<std::string_view>& positional = words.positional;
  if (positional.size() != 4)
    refuse("drive takes PROFILE Z1 Z2 and one of --centre C, --belt N, --length L");
  DriveWords drive;
  DriveRequest& request = drive.order.request;
  drive.order.inch = inch;
  request.pulleys.profile = &ProfileNamed(positional[1]);
  request.pulleys.z1 = TeethCount("Z1", positional[2]);
  request.pulleys.z2 = TeethCount("Z2", positional[3]);
  const int givenCount =
      words.centre.has_value() + words.belt.has_value() + words.length.has_value();
  if (givenCount != 1)
    refuse("drive takes one of --centre C, --belt N (whole teeth), --length L, not " +
           std::to_string(givenCount));
  std::string_view value;
  if (words.centre) {
    request.given = DriveGiven::Centre;
    value = *words.centre;
    request.value = PositiveLength("--centre", value, inch);
  } else if (words.belt) {
    request.given = DriveGiven::BeltTeeth;
    value = *words.belt;
    request.value = static_cast<double>(TeethCount("--belt", value));
  } else {
    request.given = DriveGiven::BeltLength;
    value = *words.length;
    request.value = PositiveLength("--length", value, inch);
  }
  if (words.increment) {
    if (!words.centre) refuse("--increment applies to drive --centre only");
    request.increment = TeethCount("--increment", *words.increment);
  }
  DriveInputs& inputs = drive.inputs;
  inputs.profile = std::string(request.pulleys.profile->name);
  inputs.z1 = std::to_string(request.pulleys.z1);
  inputs.z2 = std::to_string(request.pulleys.z2);
  inputs.given = request.given == DriveGiven::Centre      ? "centre"
                 : request.given == DriveGiven::BeltTeeth ? "belt"
                                                          : "length";
  inputs.value = std::string(value);
  inputs.increment = std::to_string(request.increment);
  inputs.units = inch ? "in" : "mm";
  LoadInputs& load = inputs.load;
  const auto typed = [](const std::optional<std::string_view>& word) {
    return word ? std::string(*word) : std::string();
  };
  load.power = typed(words.power);
  load.torque = typed(words.torque);
  load.rpm = typed(words.rpm);
  load.serviceFactor = typed(words.serviceFactor);
  load.width = typed(words.width);
  load.ratedPower = typed(words.ratedPower);
  drive.order.load = ReadLoadInputs(load, *request.pulleys.profile);
  return drive;
}

}  // namespace korvale::report
