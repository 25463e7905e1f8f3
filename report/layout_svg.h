#pragma once

#include "core/belt_layout.h"
#include "report/output_stream.h"

namespace korvale::report {

// The layout drawn to scale as SVG 1.1, in millimetres (y upwards, as the layout has it): each
// pulley's pitch circle (and tip circle, where its offset is published) or a roller's outline,
// the belt's pitch line as one path of spans and arcs (exactly as long as the belt), the names,
// and the movable pulley's travel with its fitted positions marked.
void WriteLayoutSvg(const Layout& layout, const LayoutSolution& solution, BufferedOutput& out);

}  // namespace korvale::report
