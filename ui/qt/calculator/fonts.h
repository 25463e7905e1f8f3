#pragma once

#include <QFont>

#include "ui/calculator/window_description.h"

namespace korvale::ui::qt {

// The description's font ("宋体", 10.5 pt) with Song and Ming style fallbacks, so that the Chinese
// captions render on a Linux desktop that has no SimSun.
QFont fontFor(const FontDescription& font);

}  // namespace korvale::ui::qt
