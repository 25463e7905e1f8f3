#include "ui/win32/dpi_layout.h"

#include "text_encoding/utf16.h"

namespace korvale::ui::win32 {

int dpiOfWindow(HWND window) {
  // Looked up at run time: older systems lack it, and the program must still start there.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow != nullptr && window != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

RECT controlRect(const ControlDescription& control, int dpi) {
  const TwipsRect frame = Form1Description().control(ControlId::Frame1).bounds;
  const int left = control.bounds.left + (control.insideFrame ? frame.left : 0);
  const int top = control.bounds.top + (control.insideFrame ? frame.top : 0);
  const int x = twipsToPixels(left, dpi);
  const int y = twipsToPixels(top, dpi);
  return {x, y, x + twipsToPixels(control.bounds.width, dpi),
          y + twipsToPixels(control.bounds.height, dpi)};
}

SIZE clientSize(int dpi) {
  const WindowDescription& description = Form1Description();
  return {twipsToPixels(description.clientWidthTwips, dpi),
          twipsToPixels(description.clientHeightTwips, dpi)};
}

namespace {

std::wstring messageBoxFontFace() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return {};
  return metrics.lfMessageFont.lfFaceName;
}

}  // namespace

HFONT createFont(const FontDescription& font, int dpi, Language language) {
  // Negative: the height of the character itself, not of its cell. Points are 1/72 inch.
  const int height = -MulDiv(static_cast<int>(font.pointSize * 10), dpi, 720);
  const bool english = language == Language::English;
  const std::wstring face = english ? messageBoxFontFace() : platform::toWide(font.faceName);
  return CreateFontW(height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                     english ? DEFAULT_CHARSET : static_cast<DWORD>(font.characterSet),
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

}  // namespace korvale::ui::win32
