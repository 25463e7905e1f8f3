#include "calc/number_format.h"
#include "calc/reports.h"

namespace korvale::calc {
namespace {

std::string_view offsetStatus(OffsetSource source) {
  switch (source) {
    case OffsetSource::Confirmed:
      return "confirmed";
    case OffsetSource::Derived:
      return "derived";
    case OffsetSource::Unconfirmed:
      return "unconfirmed";
  }
  return "";
}

std::string shortest(double x) {
  std::string text;
  appendShortest(text, x);
  return text;
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
        {"name", "family", "pitch", "u", "u_status", "belt_height", "smallest_pulley", "source"},
        out);
    for (const BeltProfile& profile : BeltProfiles) {
      records.text(profile.name);
      records.text(profile.family);
      records.number(units.of(profile.pitch));
      records.number(units.of(profile.pitchLineOffset));
      records.text(offsetStatus(profile.offsetSource));
      records.number(units.of(profile.beltHeight));
      records.numberText(std::to_string(profile.smallestPulley));
      records.text(profile.source);
      records.endRecord();
    }
    return;
  }

  const std::string unit = units.name();
  std::string& text = out.text();
  const std::size_t widths[] = {6, 14, 10, 10, 13, 12, 10};
  const std::string headings[] = {"name", "family",         "pitch " + unit, "u " + unit,
                                  "u is", "height " + unit, "smallest"};
  for (std::size_t i = 0; i < 7; ++i) appendLeftAligned(text, headings[i], widths[i]);
  text += "source of u";
  out.endLine();
  for (const BeltProfile& profile : BeltProfiles) {
    const std::string mark = profile.offsetSource == OffsetSource::Confirmed ? "" : "*";
    const std::string cells[] = {std::string(profile.name),
                                 std::string(profile.family),
                                 shortest(units.of(profile.pitch)),
                                 shortest(units.of(profile.pitchLineOffset)) + mark,
                                 std::string(offsetStatus(profile.offsetSource)),
                                 shortest(units.of(profile.beltHeight)),
                                 std::to_string(profile.smallestPulley)};
    for (std::size_t i = 0; i < 7; ++i) appendLeftAligned(text, cells[i], widths[i]);
    text += profile.source;
    out.endLine();
  }
  text += "* a Da on this u is marked: no source at hand states it outright. Smallest: the fewest";
  out.endLine();
  text += "  teeth commonly stocked (catalogue guidance, not a standard).";
  out.endLine();
}

}  // namespace korvale::calc
