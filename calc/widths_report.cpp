#include "calc/reports.h"
#include "core/belt_ratings.h"
#include "report/number_format.h"
#include "report/record_writer.h"

namespace korvale::calc {
namespace {

using report::Format;

constexpr std::size_t kColumn = 12;

std::string figure(const std::optional<double>& x, int decimals) {
  std::string text;
  if (x) report::appendFixed(text, *x, decimals);
  return text;
}

}  // namespace

void WriteWidthsReport(const CalcArguments& arguments, report::BufferedOutput& out) {
  const BeltProfile& profile = *arguments.profile;
  const BeltRating& rating = BeltRatingOf(profile);
  const std::string unit = rating.inchWidths() ? "in" : "mm";
  const std::string_view ratingSource =
      rating.kind == RatingKind::None ? std::string_view("none") : rating.ratingSource;
  const auto widthFactor = [&](double width) -> std::optional<double> {
    if (rating.kind != RatingKind::PowerFormula) return std::nullopt;
    return WidthFactor(width, rating.referenceWidth);
  };
  if (arguments.format != Format::Text) {
    report::RecordWriter records(arguments.format,
                                 {"profile", "width", "unit", "mass_per_m", "width_factor",
                                  "rating_source", "source", "mass_source"},
                                 out);
    for (std::size_t i = 0; i < rating.widthCount; ++i) {
      const double width = rating.widths[i];
      records.text(profile.name);
      records.number(width);
      records.text(unit);
      records.number(BeltMassPerMetre(rating, width));
      records.number(widthFactor(width));
      records.text(ratingSource);
      records.text(rating.widthSource);
      records.text(BeltMassPerMetre(rating, width)
                       ? (rating.kind == RatingKind::PowerFormula
                              ? std::string_view("the rating's centrifugal term")
                              : rating.massSource)
                       : std::string_view("none published"));
      records.endRecord();
    }
    return;
  }
  std::string& text = out.text();
  if (!rating.hasStockWidths()) {
    text += std::string(profile.name) + ": no published stock widths";
    out.endLine();
  } else {
    text += std::string(profile.name) + " stock widths (" + std::string(rating.widthSource) + ")";
    out.endLine();
    for (const std::string& heading :
         {"width " + unit, std::string("mm"), std::string("kg/m"), std::string("Kw")}) {
      appendRightAligned(text, heading, kColumn);
    }
    out.endLine();
    for (std::size_t i = 0; i < rating.widthCount; ++i) {
      const double width = rating.widths[i];
      std::string shortest;
      report::appendShortest(shortest, width);
      appendRightAligned(text, shortest, kColumn);
      appendRightAligned(text, figure(width * WidthUnitMillimetres(rating), 2), kColumn);
      appendRightAligned(text, figure(BeltMassPerMetre(rating, width), 4), kColumn);
      appendRightAligned(text, figure(widthFactor(width), 3), kColumn);
      out.endLine();
    }
  }
  text += "rating: " + std::string(rating.kind == RatingKind::None
                                       ? std::string_view("no public rating for this profile")
                                       : rating.ratingSource);
  out.endLine();
  if (rating.kind == RatingKind::PowerFormula) {
    text +=
        "Kw = (b/b0)^1.14 (GB/T 11362-2008, quoted at second hand); mass from the rating's "
        "centrifugal term";
    out.endLine();
  } else if (rating.massPerMetre > 0) {
    text += "mass: " + std::string(rating.massSource);
    out.endLine();
  } else {
    text += "mass: none published";
    out.endLine();
  }
}

}  // namespace korvale::calc
