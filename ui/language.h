#pragma once

#include <string_view>

namespace korvale::ui {

// The languages the windows speak. Chinese is the calculator as it was made; English serves every
// desktop that speaks another language.
enum class Language { Chinese, English };

// The language for a desktop whose preferred interface language is `tag` ("zh-CN", "en-US", "C"):
// Chinese for any Chinese tag and where the language cannot be told ("", "C", "POSIX",
// "C.UTF-8"); English for any other. "zh-TW" -> Chinese, "de-DE" -> English.
Language languageForDesktop(std::string_view tag);

}  // namespace korvale::ui
