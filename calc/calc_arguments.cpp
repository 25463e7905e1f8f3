#include "calc/calc_arguments.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace korvale::calc {
namespace {

// Up to a thousand million teeth: every product of teeth and pitch is then exact in a double.
constexpr long kMostTeeth = 1000000000;
constexpr double kMillimetresPerInch = 25.4;
// A thousand kilometres: far beyond any belt, and far enough below the double range that no
// length computed from it overflows.
constexpr double kLongestLength = 1e12;

[[noreturn]] void refuse(const std::string& message) {
  throw UsageError(message);
}

std::string quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::optional<long> wholeNumber(std::string_view text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || text.front() == '-' || error != std::errc() ||
      end != text.data() + text.size() || value < 1 || value > kMostTeeth)
    return std::nullopt;
  return value;
}

long teethCount(std::string_view what, std::string_view text) {
  if (const auto value = wholeNumber(text)) return *value;
  refuse(std::string(what) + " " + quoted(text) + ": expected a whole number from 1 to " +
         std::to_string(kMostTeeth));
}

TeethRange teethRange(std::string_view text) {
  const std::size_t dash = text.find('-', 1);
  if (dash == std::string_view::npos) {
    const long teeth = teethCount("teeth", text);
    return {teeth, teeth};
  }
  const auto first = wholeNumber(text.substr(0, dash));
  const auto last = wholeNumber(text.substr(dash + 1));
  if (!first || !last)
    refuse("teeth " + quoted(text) + ": expected whole numbers from 1 to " +
           std::to_string(kMostTeeth) + " or a range such as 10-60");
  if (*first > *last) refuse("teeth " + quoted(text) + ": the range runs backwards");
  return {*first, *last};
}

double positiveLength(std::string_view option, std::string_view text, bool inch) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const double millimetres = inch ? value * kMillimetresPerInch : value;
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !(millimetres > 0 && millimetres <= kLongestLength))
    refuse(std::string(option) + " " + quoted(text) + ": expected a positive number such as " +
           (inch ? "23.6" : "600.5") + ", in " + (inch ? "inches" : "millimetres") + ", up to " +
           (inch ? "39370078740" : "1000000000000"));
  return millimetres;
}

std::string knownProfiles() {
  std::string names;
  for (const BeltProfile& profile : BeltProfiles) {
    if (!names.empty()) names += ' ';
    names += profile.name;
  }
  return names;
}

const BeltProfile& profileNamed(std::string_view name) {
  if (const BeltProfile* profile = FindBeltProfile(name)) return *profile;
  refuse("unknown profile " + quoted(name) + "; known profiles: " + knownProfiles());
}

// What the options said before they are checked against the command.
struct Options {
  std::optional<std::string_view> format, units, centre, belt, length, increment;
  bool help = false;
  bool version = false;
};

std::optional<std::string_view>* valueSlot(Options& options, std::string_view name) {
  if (name == "--format") return &options.format;
  if (name == "--units") return &options.units;
  if (name == "--centre" || name == "--center") return &options.centre;
  if (name == "--belt") return &options.belt;
  if (name == "--length") return &options.length;
  if (name == "--increment") return &options.increment;
  return nullptr;
}

std::vector<std::string_view> splitOptions(const std::vector<std::string_view>& args,
                                           Options& options) {
  std::vector<std::string_view> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg.size() > 2 && arg.substr(0, 2) == "--") {
      const std::size_t equals = arg.find('=');
      const std::string_view name = arg.substr(0, equals);
      auto* slot = valueSlot(options, name);
      if (slot == nullptr)
        refuse("unknown option " + quoted(name) +
               "; options: --format --units --centre --belt --length --increment --version --help");
      if (equals != std::string_view::npos) {
        *slot = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        *slot = args[++i];
      } else {
        refuse(std::string(name) + " needs a value");
      }
    } else {
      positional.push_back(arg);
    }
  }
  return positional;
}

Format formatNamed(std::string_view name) {
  if (name == "text") return Format::Text;
  if (name == "csv") return Format::Csv;
  if (name == "tsv") return Format::Tsv;
  if (name == "json") return Format::Json;
  refuse("--format " + quoted(name) + ": expected text, csv, tsv or json");
}

void parseDrive(const std::vector<std::string_view>& positional, const Options& options,
                CalcArguments& parsed) {
  if (positional.size() != 4)
    refuse("drive takes PROFILE Z1 Z2 and one of --centre C, --belt N, --length L");
  parsed.profile = &profileNamed(positional[1]);
  parsed.z1 = teethCount("Z1", positional[2]);
  parsed.z2 = teethCount("Z2", positional[3]);
  const int givenCount =
      options.centre.has_value() + options.belt.has_value() + options.length.has_value();
  if (givenCount != 1)
    refuse("drive takes one of --centre C, --belt N (whole teeth), --length L, not " +
           std::to_string(givenCount));
  if (options.centre) {
    parsed.given = DriveGiven::Centre;
    parsed.value = positiveLength("--centre", *options.centre, parsed.inch);
  } else if (options.belt) {
    parsed.given = DriveGiven::BeltTeeth;
    parsed.value = static_cast<double>(teethCount("--belt", *options.belt));
  } else {
    parsed.given = DriveGiven::BeltLength;
    parsed.value = positiveLength("--length", *options.length, parsed.inch);
  }
  if (options.increment) {
    if (!options.centre) refuse("--increment applies to drive --centre only");
    parsed.increment = teethCount("--increment", *options.increment);
  }
}

}  // namespace

CalcArguments ParseCalcArguments(const std::vector<std::string_view>& args) {
  Options options;
  const std::vector<std::string_view> positional = splitOptions(args, options);
  CalcArguments parsed;
  if (options.help) return parsed;
  if (options.version) {
    parsed.command = Command::Version;
    return parsed;
  }
  if (options.format) parsed.format = formatNamed(*options.format);
  if (options.units && *options.units != "mm" && *options.units != "in")
    refuse("--units " + quoted(*options.units) + ": expected mm or in");
  parsed.inch = options.units == std::optional<std::string_view>("in");
  if (positional.empty()) refuse("no command: expected pulley, drive or profiles (see --help)");

  const std::string_view command = positional.front();
  const bool driveOptions = options.centre || options.belt || options.length || options.increment;
  if (command == "drive") {
    parsed.command = Command::Drive;
    parseDrive(positional, options, parsed);
    return parsed;
  }
  if (command != "pulley" && command != "profiles")
    refuse("unknown command " + quoted(command) + ": expected pulley, drive or profiles");
  if (driveOptions) refuse("--centre, --belt, --length and --increment apply to drive only");
  if (command == "profiles") {
    if (positional.size() > 1) refuse("profiles takes no arguments");
    parsed.command = Command::Profiles;
    return parsed;
  }
  parsed.command = Command::Pulley;
  if (positional.size() < 3) refuse("pulley takes PROFILE and one or more TEETH (12, 20-24)");
  parsed.profile = &profileNamed(positional[1]);
  for (std::size_t i = 2; i < positional.size(); ++i) {
    parsed.teeth.push_back(teethRange(positional[i]));
  }
  return parsed;
}

}  // namespace korvale::calc
