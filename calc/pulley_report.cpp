#include <cmath>

#include "calc/reports.h"
#include "core/floor2.h"
#include "core/number_text.h"
#include "core/pulley_calculation.h"
#include "report/drive_text.h"
#include "report/number_format.h"
#include "report/record_writer.h"
#include "report/units.h"

namespace korvale::calc {
namespace {

using report::appendShortest;
using report::BufferedOutput;
using report::Format;
using report::RecordWriter;
using report::Units;

constexpr std::size_t kColumn = 12;

// The window's own text for a diameter: floored and without trailing zeros ("30", "31.83").
std::string diameterText(double millimetres, const Units& units) {
  if (!units.inch) return NumberText(Floor2(millimetres));
  return NumberText(std::floor(units.of(millimetres) * 1000) / 1000);
}

}  // namespace

void appendRightAligned(std::string& out, std::string_view text, std::size_t width) {
  if (text.size() < width) out.append(width - text.size(), ' ');
  out += text;
}

void WritePulleyReport(const CalcArguments& arguments, BufferedOutput& out) {
  const BeltProfile& profile = *arguments.profile;
  const Units units{arguments.inch};
  const bool tipsKnown = profile.offsetSource != OffsetSource::Unpublished;
  const bool markTip = profile.offsetSource == OffsetSource::Derived ||
                       profile.offsetSource == OffsetSource::Unconfirmed;
  bool belowStock = false;
  bool tipDiffers = false;

  std::optional<RecordWriter> records;
  std::string& text = out.text();
  if (arguments.format == Format::Text) {
    text += std::string(profile.name) + " (" + std::string(profile.family) + "): pitch ";
    appendShortest(text, units.ofFigure(profile.pitch));
    text += std::string(" ") + units.name() + ", u ";
    if (tipsKnown) {
      appendShortest(text, units.ofFigure(profile.pitchLineOffset));
      text += std::string(" ") + units.name();
    } else {
      text += "not published: no Da";
    }
    out.endLine();
    appendRightAligned(text, "teeth", kColumn);
    appendRightAligned(text, std::string("D ") + units.name(), kColumn);
    appendRightAligned(text, std::string("Da ") + units.name(), kColumn);
    out.endLine();
  } else {
    records.emplace(
        arguments.format,
        std::initializer_list<std::string_view>{"profile", "teeth", "D", "Da", "warnings"}, out);
  }

  std::vector<std::string_view> warnings;
  for (const TeethRange& range : arguments.teeth) {
    for (long teeth = range.first; teeth <= range.last; ++teeth) {
      const PulleyDiameters diameters =
          WindowDiameters(static_cast<double>(teeth), profile.pitch, profile.pitchLineOffset);
      const bool small = teeth < profile.smallestPulley;
      const bool makersTip = teeth <= profile.makersLargerTipUpTo;
      belowStock = belowStock || small;
      tipDiffers = tipDiffers || makersTip;
      const std::string teethText = std::to_string(teeth);
      if (records) {
        warnings.clear();
        if (small) warnings.push_back(DriveWarningId(DriveWarning::PulleyBelowStock));
        if (markTip) warnings.push_back(DriveWarningId(DriveWarning::OffsetUnconfirmed));
        if (makersTip) warnings.push_back(DriveWarningId(DriveWarning::MakersTipDiffers));
        records->text(profile.name);
        records->numberText(teethText);
        records->numberText(diameterText(diameters.pitchCircle, units));
        if (tipsKnown) {
          records->numberText(diameterText(diameters.tipCircle, units));
        } else {
          records->absent();
        }
        records->list(warnings);
        records->endRecord();
        continue;
      }
      appendRightAligned(text, teethText, kColumn);
      appendRightAligned(text, diameterText(diameters.pitchCircle, units), kColumn);
      appendRightAligned(text, tipsKnown ? diameterText(diameters.tipCircle, units) : "-", kColumn);
      if (markTip) text += '*';
      out.endLine();
    }
  }
  if (records) return;
  if (belowStock) {
    text += "warning: " + std::string(DriveWarningId(DriveWarning::PulleyBelowStock)) + ": " +
            report::DriveWarningText(DriveWarning::PulleyBelowStock, profile);
    out.endLine();
  }
  if (markTip) {
    text += "* " + std::string(DriveWarningId(DriveWarning::OffsetUnconfirmed)) + ": " +
            report::DriveWarningText(DriveWarning::OffsetUnconfirmed, profile);
    out.endLine();
  }
  if (tipDiffers) {
    text += "warning: " + std::string(DriveWarningId(DriveWarning::MakersTipDiffers)) + ": " +
            report::DriveWarningText(DriveWarning::MakersTipDiffers, profile);
    out.endLine();
  }
}

}  // namespace korvale::calc
