#include "state/drive_format.h"

#include "core/belt_profiles.h"

namespace korvale {
namespace {

constexpr std::size_t kLongestText = 1000;

bool isUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80         ? 1
                               : (lead >> 5) == 6  ? 2
                               : (lead >> 4) == 14 ? 3
                               : (lead >> 3) == 30 ? 4
                                                   : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
    }
    i += length;
  }
  return true;
}

std::string* fieldOf(DriveInputs& inputs, std::string_view key) {
  if (key == "profile") return &inputs.profile;
  if (key == "z1") return &inputs.z1;
  if (key == "z2") return &inputs.z2;
  if (key == "given") return &inputs.given;
  if (key == "value") return &inputs.value;
  if (key == "increment") return &inputs.increment;
  if (key == "units") return &inputs.units;
  return nullptr;
}

std::optional<DriveInputs> refuse(std::string* whyNot, std::string reason) {
  if (whyNot != nullptr) *whyNot = std::move(reason);
  return std::nullopt;
}

}  // namespace

std::string formatDriveFile(const DriveInputs& inputs) {
  return "# Korvale belt drive\nprofile=" + inputs.profile + "\nz1=" + inputs.z1 +
         "\nz2=" + inputs.z2 + "\ngiven=" + inputs.given + "\nvalue=" + inputs.value +
         "\nincrement=" + inputs.increment + "\nunits=" + inputs.units + "\n";
}

std::optional<DriveInputs> parseDriveFile(std::string_view text, std::string* whyNot) {
  if (!isUtf8(text)) return refuse(whyNot, "it is not UTF-8 text");
  DriveInputs inputs;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
      return refuse(whyNot, "line " + std::to_string(lineNumber) + " has no \"=\"");
    const std::string_view value = line.substr(equals + 1);
    if (value.size() > kLongestText)
      return refuse(whyNot, "line " + std::to_string(lineNumber) + " is too long");
    if (std::string* field = fieldOf(inputs, line.substr(0, equals))) field->assign(value);
  }
  const BeltProfile* profile = FindBeltProfile(inputs.profile);
  if (profile == nullptr) return refuse(whyNot, "unknown profile \"" + inputs.profile + "\"");
  inputs.profile = std::string(profile->name);
  if (inputs.given != "centre" && inputs.given != "belt" && inputs.given != "length")
    return refuse(whyNot, "\"given\" is \"" + inputs.given + "\", not centre, belt or length");
  if (inputs.units != "mm" && inputs.units != "in")
    return refuse(whyNot, "units \"" + inputs.units + "\", not mm or in");
  return inputs;
}

}  // namespace korvale
