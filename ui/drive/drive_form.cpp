#include "ui/drive/drive_form.h"

#include <cmath>
#include <new>

#include "core/decimal_text.h"
#include "report/drive_records.h"
#include "report/load_rules.h"
#include "report/number_format.h"

namespace korvale::ui {
namespace {

constexpr std::string_view kCaption = "Korvale belt drive";
constexpr const char* kGiven[] = {"centre", "belt", "length"};
constexpr const char* kUnits[] = {"mm", "in"};
constexpr double kMillimetresPerInch = 25.4;

std::string reportText(const RuntimeError& error) {
  return "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.description();
}

// The value re-expressed when the units change, so that the drive stays the same one: 600 mm
// becomes 23.622 in, 23.622 in becomes 600 mm (to the thousandth of an inch, the hundredth of a
// millimetre). A text that is no number stays as it is.
std::string convertedLength(const std::string& text, bool toInch) {
  double value = 0;
  bool tooLarge = false;
  if (text.empty() || ReadNumber(text, value, tooLarge) != text.size() || tooLarge) return text;
  std::string converted;
  report::appendFixed(converted, toInch ? value / kMillimetresPerInch : value * kMillimetresPerInch,
                      toInch ? 3 : 2);
  converted.erase(converted.find_last_not_of('0') + 1);
  if (converted.back() == '.') converted.pop_back();
  return converted;
}

// The text cut to the characters a box keeps, at a character's boundary.
std::string_view keptPart(std::string_view text) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xc0) != 0x80;
    if (startsCharacter && ++characters > kLongestDriveText) return text.substr(0, i);
  }
  return text;
}

// "159.92" -> "160": whole teeth, read without the C library's locale.
std::string wholeTeeth(const std::string& teeth) {
  double value = 0;
  bool tooLarge = false;
  ReadNumber(teeth, value, tooLarge);
  return std::to_string(std::lround(value));
}

// The inputs' text that a box holds, const or not; nullptr for a list's field.
template <class Inputs>
auto* textIn(Inputs& inputs, DriveField field) {
  using Text = decltype(&inputs.z1);
  switch (field) {
    case DriveField::Z1:
      return &inputs.z1;
    case DriveField::Z2:
      return &inputs.z2;
    case DriveField::Value:
      return &inputs.value;
    case DriveField::Increment:
      return &inputs.increment;
    case DriveField::Power:
      return &inputs.load.power;
    case DriveField::Torque:
      return &inputs.load.torque;
    case DriveField::Rpm:
      return &inputs.load.rpm;
    case DriveField::ServiceFactor:
      return &inputs.load.serviceFactor;
    case DriveField::Width:
      return &inputs.load.width;
    case DriveField::RatedPower:
      return &inputs.load.ratedPower;
    default:
      return Text(nullptr);
  }
}

}  // namespace

DriveForm::DriveForm(DriveFrontEnd& frontEnd, DriveFile file, std::optional<DriveInputs> handedOver)
    : frontEnd_(frontEnd), file_(std::move(file)), handedOver_(std::move(handedOver)) {}

std::vector<std::string> DriveForm::profileEntries() {
  std::vector<std::string> entries;
  for (const BeltProfile& profile : BeltProfiles) {
    std::string pitch;
    report::appendShortest(pitch, profile.pitch);
    entries.push_back(std::string(profile.name) + " (" + pitch + " mm)");
  }
  return entries;
}

int DriveForm::selectedIndex(DriveField field) const {
  const auto indexIn = [](const auto& names, const std::string& name) {
    for (std::size_t i = 0; i < std::size(names); ++i) {
      if (name == names[i]) return static_cast<int>(i);
    }
    return -1;
  };
  switch (field) {
    case DriveField::Profile: {
      const BeltProfile* profile = FindBeltProfile(inputs_.profile);
      return profile == nullptr ? -1 : static_cast<int>(profile - BeltProfiles.data());
    }
    case DriveField::Given:
      return indexIn(kGiven, inputs_.given);
    case DriveField::Units:
      return indexIn(kUnits, inputs_.units);
    default:
      return -1;
  }
}

void DriveForm::load() {
  if (handedOver_) {
    inputs_ = *handedOver_;
  } else {
    std::optional<RuntimeError> whyNot;
    if (std::optional<DriveInputs> saved = file_.ReadDrive(&whyNot)) inputs_ = *saved;
    if (whyNot) {
      heldReports_.push_back(reportText(*whyNot));
      mayWrite_ = false;
    }
  }
  valueGiven();
  recompute();
}

void DriveForm::windowShown() {
  if (shown_) return;
  shown_ = true;
  std::vector<std::string> held;
  held.swap(heldReports_);
  for (const std::string& message : held) frontEnd_.showErrorReport(std::string(kCaption), message);
}

const std::string& DriveForm::text(DriveField field) const {
  static const std::string none;
  const std::string* text = textIn(inputs_, field);
  return text != nullptr ? *text : none;
}

void DriveForm::userEdited(DriveField field, std::string_view text) {
  std::string* target = textIn(inputs_, field);
  if (target == nullptr) return;
  target->assign(keptPart(text));
  if (field == DriveField::Value) valueGiven();
  mayWrite_ = true;
  recompute();
}

void DriveForm::userPicked(DriveField field, int index) {
  if (index < 0) return;
  const auto i = static_cast<std::size_t>(index);
  if (field == DriveField::Profile && i < BeltProfiles.size()) {
    inputs_.profile = std::string(BeltProfiles[i].name);
    // An inch-pitch belt is usually drawn up in inches: the units follow the profile's family.
    const bool inch = BeltProfiles[i].family == "inch";
    if ((inputs_.units == "in") != inch) userPicked(DriveField::Units, inch ? 1 : 0);
  } else if (field == DriveField::Given && i < std::size(kGiven)) {
    // The drive on the screen stays the one it was: what is now given takes its current value.
    if (results_ && inputs_.given != kGiven[i]) {
      const report::DriveTextRow& shown = results_->rows.front();
      inputs_.value = i == 0 ? shown.centre : i == 2 ? shown.length : wholeTeeth(shown.beltTeeth);
    }
    inputs_.given = kGiven[i];
    valueGiven();
  } else if (field == DriveField::Units && i < std::size(kUnits)) {
    if (inputs_.units != kUnits[i] && inputs_.given != "belt") {
      inputs_.value = unitsGiven_ == kUnits[i] ? valueGiven_ : convertedLength(valueGiven_, i == 1);
    }
    inputs_.units = kUnits[i];
  } else {
    return;
  }
  mayWrite_ = true;
  recompute();
}

void DriveForm::takeDrivingPulley(std::string_view profile, std::string_view teeth) {
  if (const BeltProfile* found = FindBeltProfile(profile)) {
    userPicked(DriveField::Profile, static_cast<int>(found - BeltProfiles.data()));
  }
  userEdited(DriveField::Z1, teeth);
}

void DriveForm::adoptStockBelt(std::size_t row) {
  if (!results_ || row >= results_->rows.size()) return;
  const report::DriveTextRow& belt = results_->rows[row];
  if (belt.kind != "shorter" && belt.kind != "longer" && belt.kind != "exact") return;
  inputs_.given = "belt";
  inputs_.value = belt.beltTeeth;
  valueGiven();
  mayWrite_ = true;
  recompute();
}

void DriveForm::valueGiven() {
  valueGiven_ = inputs_.value;
  unitsGiven_ = inputs_.units;
}

void DriveForm::recompute() {
  order_.reset();
  results_.reset();
  drawing_.clear();
  error_.clear();
  load_.reset();
  loadText_.reset();
  loadError_.clear();
  try {
    order_ = report::ReadDriveInputs(inputs_);
  } catch (const report::InputError& error) {
    error_ = error.message;
    return;
  }
  const report::Units units{order_->inch};
  solution_ = SolveDrive(order_->request);
  if (solution_.failure) {
    error_ = report::DriveFailureText(order_->request, units, *solution_.failure);
    return;
  }
  // A load that cannot be read leaves the drive shown: its reason stands in the load's place.
  try {
    const BeltProfile& profile = *order_->request.pulleys.profile;
    if (const auto request = report::ReadLoadInputs(inputs_.load, profile)) {
      load_ = SolveLoad(order_->request, *request, solution_);
      loadText_ = report::LoadTextOf(units, *load_, solution_);
    }
  } catch (const report::InputError& error) {
    loadError_ = error.message;
  }
  results_ = report::DriveTextOf(order_->request, units, solution_, load_ ? &*load_ : nullptr);
  drawing_ = DriveDrawing(solution_, solution_.rows.front(), load_ ? &*load_ : nullptr);
}

std::string DriveForm::copyText() const {
  if (!results_ || !order_) return {};
  report::StringOutput text;
  {
    report::BufferedOutput out(text);
    report::WriteDriveRecords(report::Format::Tsv, order_->request, report::Units{order_->inch},
                              solution_, out, load_ ? &*load_ : nullptr);
  }
  return text.text();
}

void DriveForm::copy() {
  const std::string text = copyText();
  if (!text.empty()) frontEnd_.copyToClipboard(text);
}

void DriveForm::save() {
  if (mayWrite_) file_.WriteDrive(inputs_);
}

void DriveForm::close() {
  if (closed_) return;
  closed_ = true;
  try {
    save();
  } catch (const RuntimeError& error) {
    frontEnd_.showErrorReport(std::string(kCaption), reportText(error));
  } catch (const std::bad_alloc&) {
    frontEnd_.showErrorReport(std::string(kCaption), reportText(outOfMemoryError()));
  }
}

std::string DriveForm::saveAtExit() noexcept {
  if (closed_) return {};
  closed_ = true;
  try {
    save();
    return {};
  } catch (const RuntimeError& error) {
    return reportText(error);
  } catch (...) {
    return reportText(outOfMemoryError());
  }
}

}  // namespace korvale::ui
