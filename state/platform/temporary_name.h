#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace korvale::platform {

// A save writes a temporary file beside the one it replaces and renames it over that one. Its
// name is a dot, the file's name, ".korvale-" and six random letters or digits
// (".Rede.txt.korvale-a1B2c3"): a name no user gives a file of their own, so that cleaning up
// after a killed save can never take one of theirs ("Rede.txt.tmp-notes" stays).
inline constexpr std::string_view kTemporaryMark = ".korvale-";
inline constexpr std::size_t kTemporaryRandomLetters = 6;

// The temporary name for `name` from six random bytes.
template <class Char>
std::basic_string<Char> temporaryName(std::basic_string_view<Char> name,
                                      const unsigned char (&random)[kTemporaryRandomLetters]) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::basic_string<Char> temporary(1, Char('.'));
  temporary += name;
  for (char c : kTemporaryMark) temporary += Char(c);
  for (unsigned char r : random) temporary += Char(kLetters[r % (sizeof kLetters - 1)]);
  return temporary;
}

template <class Char>
bool isTemporaryName(std::basic_string_view<Char> candidate, std::basic_string_view<Char> name) {
  const std::size_t prefix = 1 + name.size() + kTemporaryMark.size();
  if (candidate.size() != prefix + kTemporaryRandomLetters || candidate[0] != Char('.') ||
      candidate.substr(1, name.size()) != name) {
    return false;
  }
  for (std::size_t i = 0; i < kTemporaryMark.size(); ++i) {
    if (candidate[1 + name.size() + i] != Char(kTemporaryMark[i])) return false;
  }
  for (std::size_t i = prefix; i < candidate.size(); ++i) {
    const auto c = candidate[i];
    if (c > 127 || !std::isalnum(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace korvale::platform
