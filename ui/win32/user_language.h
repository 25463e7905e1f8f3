#pragma once

#include "ui/calculator/window_description.h"

namespace korvale::ui::win32 {

// The language for the user's interface language as Windows tells it ("zh-CN" -> Chinese,
// "en-US" -> English; Chinese where it cannot be told), by languageForDesktop's rule.
Language userLanguage();

}  // namespace korvale::ui::win32
