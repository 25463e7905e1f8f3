#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "core/belt_profiles.h"
#include "report/drive_text.h"
#include "report/load_text.h"
#include "ui/drive/drive_form.h"
#include "ui/language.h"

namespace korvale::ui {

// The belt-drive window's words, each in both languages the program speaks. An "&" marks the
// letter of a keyboard mnemonic (Alt+letter), as Qt and Win32 both read it.
enum class DriveWord {
  Title,
  Profile,
  DrivingTeeth,
  DrivenTeeth,
  Given,
  GivenCentre,
  GivenBelt,
  GivenLength,
  Value,
  Increment,
  Units,
  Copy,
  Results,
  Pulley1,
  Pulley2,
  Ratio,
  Case,
  Centre,
  Change,
  Length,
  BeltTeeth,
  Wrap1,
  Wrap2,
  Mesh1,
  Mesh2,
  UseBelt,
  Drawing,
  MenuItem,  // the calculator's window menu item that opens the drive
  // The load's inputs and columns:
  Load,
  Power,
  Torque,
  Rpm,
  ServiceFactor,
  Width,
  RatedPower,
  WidthColumn,
  RatedColumn,
  Margin,
  Tst,
  Tight,
  Slack,
  Frequency,
  HubStatic,
  HubRunning,
};

// The window's inputs in reading order, which is Tab's, each with the word that labels it (and
// names it for a screen reader); the load's come last, from kFirstLoadInput on.
inline constexpr std::pair<DriveField, DriveWord> kDriveInputs[] = {
    {DriveField::Profile, DriveWord::Profile},
    {DriveField::Z1, DriveWord::DrivingTeeth},
    {DriveField::Z2, DriveWord::DrivenTeeth},
    {DriveField::Given, DriveWord::Given},
    {DriveField::Value, DriveWord::Value},
    {DriveField::Increment, DriveWord::Increment},
    {DriveField::Units, DriveWord::Units},
    {DriveField::Power, DriveWord::Power},
    {DriveField::Torque, DriveWord::Torque},
    {DriveField::Rpm, DriveWord::Rpm},
    {DriveField::ServiceFactor, DriveWord::ServiceFactor},
    {DriveField::Width, DriveWord::Width},
    {DriveField::RatedPower, DriveWord::RatedPower}};
inline constexpr std::size_t kFirstLoadInput = 7;

// The stock-belt table's columns, left to right, in both front ends.
inline constexpr DriveWord kDriveColumns[] = {
    DriveWord::Case,      DriveWord::Centre,      DriveWord::Change,      DriveWord::Length,
    DriveWord::BeltTeeth, DriveWord::Wrap1,       DriveWord::Wrap2,       DriveWord::Mesh1,
    DriveWord::Mesh2,     DriveWord::WidthColumn, DriveWord::RatedColumn, DriveWord::Margin,
    DriveWord::Tst,       DriveWord::Tight,       DriveWord::Slack,       DriveWord::Frequency,
    DriveWord::HubStatic, DriveWord::HubRunning};
// The columns from here on are the load's, shown only with one.
inline constexpr std::size_t kFirstLoadColumn = 9;

// "&Profile" in English, "带型(&P)" in Chinese.
std::string_view driveWord(DriveWord word, Language language);

// A case of the results ("requested", "shorter", "longer", "exact", "belt", "length") as the
// window names it: "shorter" -> "较短带" in Chinese; English keeps korvale-calc's own word.
std::string_view driveCase(std::string_view kind, Language language);

// The lines above the results' rows: each pulley's D and Da (marked where the offset is not
// confirmed) and the ratio. "Driving pulley: D 124.77 mm, Da 121.97 mm\n...\nRatio 4/1 (4)"
std::string driveSummary(const report::DriveText& results, Language language);

// The results' warning lines in a language: korvale-calc's own in English; in Chinese the same
// identifiers and rows with the sentence in Chinese:
// "警告 few_teeth_in_mesh（较短带）：小带轮啮合齿数少于 6，负载下皮带可能跳齿".
// The load's lines in a language: korvale-calc's own in English, then what the drawing marks.
// The figures' lines come first; from loadMethodLine() on, the sources and methods, which change
// only with the profile and what is given.
std::vector<std::string> loadLines(const report::LoadText& load, Language language);
std::size_t loadMethodLine(const report::LoadText& load);

std::vector<std::string> driveWarnings(const report::DriveText& results, const BeltProfile& profile,
                                       Language language);

// The word without its mnemonic mark, for what a screen reader says: "Profile", "带型".
std::string driveName(DriveWord word, Language language);

}  // namespace korvale::ui
