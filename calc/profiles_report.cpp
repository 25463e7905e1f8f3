#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "calc/reports.h"
#include "core/belt_ratings.h"
#include "core/belt_sections.h"
#include "report/number_format.h"
#include "report/record_writer.h"
#include "report/units.h"

namespace korvale::calc {
namespace {

using report::BufferedOutput;
using report::Format;
using report::RecordWriter;
using report::Units;

std::string_view offsetStatus(OffsetSource source) {
  switch (source) {
    case OffsetSource::Confirmed:
      return "confirmed";
    case OffsetSource::Derived:
      return "derived";
    case OffsetSource::Unconfirmed:
      return "unconfirmed";
    case OffsetSource::Unpublished:
      return "unpublished";
  }
  return "";
}

std::string shortest(double x) {
  std::string text;
  report::appendShortest(text, x);
  return text;
}

// What a roller on either side of the belt meets, in the asked units; nothing where no source at
// hand gives it. The pitch line's depth below the back is rounded to 15 digits, as the figures it
// comes from.
struct SectionFigures {
  std::optional<double> toothHeight, pitchLineBelowBack, smallestBackIdler;
};

SectionFigures sectionFiguresOf(const BeltProfile& profile, Units units) {
  const BeltSection& section = BeltSectionOf(profile);
  SectionFigures figures;
  if (section.known()) {
    figures.toothHeight = units.ofFigure(section.toothHeight);
    if (profile.offsetSource != OffsetSource::Unpublished) {
      figures.pitchLineBelowBack = report::roundedTo15Digits(
          units.of(profile.beltHeight - section.toothHeight - profile.pitchLineOffset));
    }
  }
  if (section.smallestBackIdler > 0) {
    figures.smallestBackIdler = units.ofFigure(section.smallestBackIdler);
  }
  return figures;
}

std::string figureOrDash(std::optional<double> x) {
  return x ? shortest(*x) : std::string("-");
}

void appendLeftAligned(std::string& out, std::string_view text, std::size_t width) {
  out += text;
  if (text.size() < width) out.append(width - text.size(), ' ');
}

}  // namespace

void WriteProfilesReport(const CalcArguments& arguments, BufferedOutput& out) {
  const Units units{arguments.inch};
  if (arguments.format != Format::Text) {
    RecordWriter records(
        arguments.format,
        {"name", "family", "pitch", "u", "u_status", "belt_height", "smallest_pulley", "source",
         "rating_source", "tooth_height", "back_to_pitch_line", "tooth_height_source",
         "smallest_back_idler", "back_idler_source"},
        out);
    for (const BeltProfile& profile : BeltProfiles) {
      records.text(profile.name);
      records.text(profile.family);
      records.number(units.ofFigure(profile.pitch));
      if (profile.offsetSource == OffsetSource::Unpublished) {
        records.absent();
      } else {
        records.number(units.ofFigure(profile.pitchLineOffset));
      }
      records.text(offsetStatus(profile.offsetSource));
      records.number(units.ofFigure(profile.beltHeight));
      if (profile.smallestPulley == 0) {
        records.absent();
      } else {
        records.numberText(std::to_string(profile.smallestPulley));
      }
      records.text(profile.source);
      const BeltRating& rating = BeltRatingOf(profile);
      records.text(rating.kind == RatingKind::None ? std::string_view("none")
                                                   : rating.ratingSource);
      const BeltSection& section = BeltSectionOf(profile);
      const SectionFigures figures = sectionFiguresOf(profile, units);
      records.number(figures.toothHeight);
      records.number(figures.pitchLineBelowBack);
      records.text(section.source);
      records.number(figures.smallestBackIdler);
      records.text(section.backIdlerSource);
      records.endRecord();
    }
    return;
  }

  const std::string unit = units.name();
  std::string& text = out.text();
  constexpr std::size_t kColumns = 11;
  using Row = std::array<std::string, kColumns + 1>;  // the last cell, the source, stands alone
  std::vector<Row> rows = {{"name", "family", "pitch " + unit, "u " + unit, "u is",
                            "height " + unit, "tooth " + unit, "back " + unit, "idler " + unit,
                            "smallest", "rating", "source of u"}};
  for (const BeltProfile& profile : BeltProfiles) {
    const bool unpublished = profile.offsetSource == OffsetSource::Unpublished;
    const std::string mark =
        profile.offsetSource == OffsetSource::Confirmed || unpublished ? "" : "*";
    const SectionFigures figures = sectionFiguresOf(profile, units);
    rows.push_back({std::string(profile.name), std::string(profile.family),
                    shortest(units.ofFigure(profile.pitch)),
                    unpublished ? "-" : shortest(units.ofFigure(profile.pitchLineOffset)) + mark,
                    std::string(offsetStatus(profile.offsetSource)),
                    shortest(units.ofFigure(profile.beltHeight)), figureOrDash(figures.toothHeight),
                    figureOrDash(figures.pitchLineBelowBack),
                    figureOrDash(figures.smallestBackIdler),
                    profile.smallestPulley == 0 ? "-" : std::to_string(profile.smallestPulley),
                    BeltRatingOf(profile).kind == RatingKind::None ? "none" : "IP-24",
                    std::string(profile.source)});
  }
  // Each column at least two spaces wider than its widest cell, so that no two ever run together.
  std::size_t widths[kColumns] = {6, 14, 10, 10, 13, 12, 10, 10, 10, 10, 8};
  for (const Row& row : rows) {
    for (std::size_t i = 0; i < kColumns; ++i) widths[i] = std::max(widths[i], row[i].size() + 2);
  }
  for (const Row& row : rows) {
    for (std::size_t i = 0; i < kColumns; ++i) appendLeftAligned(text, row[i], widths[i]);
    text += row[kColumns];
    out.endLine();
  }
  text += "* a Da on this u is marked: no source at hand states it outright. Smallest: the fewest";
  out.endLine();
  text +=
      "  teeth commonly stocked (catalogue guidance, not a standard). -: no source at hand gives";
  out.endLine();
  text += "  the figure. Rating: IP-24, the ANSI/RMA IP-24 formulas (quoted by engineersedge.com);";
  out.endLine();
  text += "  none, no public rating for the profile. Tooth: the belt's tooth height (ISO 13050";
  out.endLine();
  text +=
      "  via transbelting.com; SDP/SI D265 p. T-15; Belting Industries); back: the pitch line's";
  out.endLine();
  text += "  depth below the belt's back (height - tooth - u); idler: the smallest flat idler on";
  out.endLine();
  text += "  the belt's back (BRECOflex, minimum pulley diameter).";
  out.endLine();
}

}  // namespace korvale::calc
