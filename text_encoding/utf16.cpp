#include "text_encoding/utf16.h"

#include <windows.h>

namespace korvale::platform {
namespace {

std::wstring bytesToWide(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
  return wide;
}

std::string wideToBytes(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::wstring toWide(std::string_view utf8) {
  return bytesToWide(utf8, CP_UTF8);
}
std::string fromWide(std::wstring_view utf16) {
  return wideToBytes(utf16, CP_UTF8);
}

std::string toCodePage(std::string_view utf8, unsigned codePage) {
  return wideToBytes(toWide(utf8), codePage);
}

std::string fromCodePage(std::string_view bytes, unsigned codePage) {
  return fromWide(bytesToWide(bytes, codePage));
}

}  // namespace korvale::platform
