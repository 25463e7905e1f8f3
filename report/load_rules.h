#pragma once

#include <optional>
#include <string_view>

#include "core/belt_load.h"
#include "core/belt_profiles.h"
#include "report/drive_inputs.h"
#include "report/input_rules.h"

// The rules by which the load's texts become a load, for korvale-calc's options and the drive
// window's boxes alike, each refusal naming the option that gives the text.
namespace korvale::report {

// Every figure of a load lies from 0.000001 to 1000000000 in its unit (a service factor up to
// 1000): wide beyond any drive, and narrow enough that no figure computed from them overflows.
inline constexpr double kLeastLoadFigure = 1e-6;
inline constexpr double kMostLoadFigure = 1e9;

// A power in kW, with or without its unit, any case, a space allowed before it:
//   "2.2" -> 2.2, "2.2kW" -> 2.2, "750 W" -> 0.75, "3hp" -> 2.2370996 (550 ft·lbf/s each).
// InputError naming --power otherwise.
double PowerNamed(std::string_view option, std::string_view text);

// The load the texts give for a drive of this profile, checked in this order: --power or
// --torque (one of them), --rpm, --service-factor, --width (a stock width where the profile has
// them), --rated-power (for a profile without a public rating, with its width). Nothing when every
// text is empty. Throws InputError.
//   {"2.2", "", "1450", "", "", ""} for 5M -> 2.2 kW at 1450 rpm, no width
std::optional<LoadRequest> ReadLoadInputs(const LoadInputs& inputs, const BeltProfile& profile);

}  // namespace korvale::report
