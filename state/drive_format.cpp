#include "state/drive_format.h"

#include <array>
#include <cctype>

#include "core/belt_profiles.h"

namespace korvale {
namespace {

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

// The number of characters in well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF), or nothing.
std::optional<std::size_t> utf8Characters(std::string_view text) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++characters) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned lead = byte(0);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xc2 ? 0
                               : lead < 0xe0 ? 2
                               : lead < 0xf0 ? 3
                               : lead < 0xf5 ? 4
                                             : 0;
    if (length == 0 || i + length > text.size()) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      if ((byte(k) >> 6) != 2) return std::nullopt;
    }
    // The second byte's range that leaves out overlong forms, surrogates and what lies past
    // U+10FFFF.
    if ((lead == 0xe0 && byte(1) < 0xa0) || (lead == 0xed && byte(1) >= 0xa0) ||
        (lead == 0xf0 && byte(1) < 0x90) || (lead == 0xf4 && byte(1) >= 0x90))
      return std::nullopt;
    i += length;
  }
  return characters;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The load's keys, in the order they are written.
std::array<std::pair<std::string_view, std::string*>, 6> loadFields(LoadInputs& load) {
  return {{{"power", &load.power},
           {"torque", &load.torque},
           {"rpm", &load.rpm},
           {"service_factor", &load.serviceFactor},
           {"width", &load.width},
           {"rated_power", &load.ratedPower}}};
}

std::string* fieldOf(DriveInputs& inputs, std::string_view key) {
  const std::string name = lowerCase(key);
  if (name == "profile") return &inputs.profile;
  if (name == "z1") return &inputs.z1;
  if (name == "z2") return &inputs.z2;
  if (name == "given") return &inputs.given;
  if (name == "value") return &inputs.value;
  if (name == "increment") return &inputs.increment;
  if (name == "units") return &inputs.units;
  for (const auto& [loadKey, field] : loadFields(inputs.load)) {
    if (name == loadKey) return field;
  }
  return nullptr;
}

bool needsQuotes(std::string_view value) {
  return !value.empty() && (isBlank(value.front()) || isBlank(value.back()) ||
                            value.front() == '"' || value.find_first_of("\r\n") != value.npos);
}

void appendValue(std::string& out, std::string_view value) {
  if (!needsQuotes(value)) {
    out += value;
    return;
  }
  out += '"';
  for (const char c : value) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  out += '"';
}

// A value as written: in quotes with escapes, or the text itself.
std::string valueOf(std::string_view written) {
  if (written.size() < 2 || written.front() != '"' || written.back() != '"') {
    return std::string(written);
  }
  std::string value;
  for (std::size_t i = 1; i + 1 < written.size(); ++i) {
    char c = written[i];
    if (c == '\\' && i + 2 < written.size()) {
      c = written[++i];
      c = c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    value += c;
  }
  return value;
}

std::optional<DriveInputs> refuse(std::string* whyNot, std::string reason) {
  if (whyNot != nullptr) *whyNot = std::move(reason);
  return std::nullopt;
}

}  // namespace

std::string formatDriveFile(const DriveInputs& inputs) {
  std::string text = "# Korvale belt drive\n";
  const std::pair<const char*, const std::string*> lines[] = {
      {"profile", &inputs.profile}, {"z1", &inputs.z1},       {"z2", &inputs.z2},
      {"given", &inputs.given},     {"value", &inputs.value}, {"increment", &inputs.increment},
      {"units", &inputs.units}};
  for (const auto& [key, value] : lines) {
    text.append(key).append(1, '=');
    appendValue(text, *value);
    text += '\n';
  }
  // Only the load's texts that were typed: a drive without a load keeps the file it always had.
  LoadInputs load = inputs.load;
  for (const auto& [key, value] : loadFields(load)) {
    if (value->empty()) continue;
    text.append(key).append(1, '=');
    appendValue(text, *value);
    text += '\n';
  }
  return text;
}

std::optional<DriveInputs> parseDriveFile(std::string_view text, std::string* whyNot) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  if (!utf8Characters(text)) return refuse(whyNot, "it is not UTF-8 text");
  DriveInputs inputs;
  std::string unknown;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = trimmed(line);
    if (line.empty() || line.front() == '#') continue;
    const std::string where = "line " + std::to_string(lineNumber);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return refuse(whyNot, where + " has no \"=\"");
    const std::string value = valueOf(trimmed(line.substr(equals + 1)));
    if (*utf8Characters(value) > kLongestDriveText) return refuse(whyNot, where + " is too long");
    const std::string_view key = trimmed(line.substr(0, equals));
    if (std::string* field = fieldOf(inputs, key)) {
      *field = value;
    } else if (unknown.empty()) {
      unknown = where + ": unknown key \"" + std::string(key) + "\"";
    }
  }
  const BeltProfile* profile = FindBeltProfile(inputs.profile);
  if (profile == nullptr) return refuse(whyNot, "unknown profile \"" + inputs.profile + "\"");
  inputs.profile = std::string(profile->name);
  const std::string given = lowerCase(inputs.given);
  if (given != "centre" && given != "center" && given != "belt" && given != "length")
    return refuse(whyNot, "\"given\" is \"" + inputs.given + "\", not centre, belt or length");
  inputs.given = given == "center" ? "centre" : given;
  const std::string units = lowerCase(inputs.units);
  if (units != "mm" && units != "in")
    return refuse(whyNot, "units \"" + inputs.units + "\", not mm or in");
  inputs.units = units;
  if (!unknown.empty() && whyNot != nullptr) *whyNot = unknown;
  return inputs;
}

}  // namespace korvale
