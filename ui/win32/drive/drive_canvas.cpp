#include "ui/win32/drive/drive_canvas.h"

#include <cmath>

namespace korvale::ui::win32 {
namespace {

constexpr wchar_t kCanvasClass[] = L"KorvaleDriveCanvas";

// What a canvas paints, held by the window itself and gone with it.
struct Picture {
  std::vector<DriveShape> shapes;
  int dpi = 96;
};

Picture* pictureOf(HWND canvas) {
  return reinterpret_cast<Picture*>(GetWindowLongPtrW(canvas, GWLP_USERDATA));
}

void paint(HWND canvas, const Picture& picture) {
  PAINTSTRUCT paintInfo;
  HDC dc = BeginPaint(canvas, &paintInfo);
  RECT area{};
  GetClientRect(canvas, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
  const std::vector<DriveShape>& shapes = picture.shapes;
  if (!shapes.empty()) {
    const DrawingFit fit = FitDrawing(shapes, area.right, area.bottom, MulDiv(8, picture.dpi, 96));
    const auto x = [&](double mm) {
      return static_cast<int>(std::lround(fit.originX + mm * fit.scale));
    };
    const auto y = [&](double mm) {
      return static_cast<int>(std::lround(fit.originY - mm * fit.scale));
    };
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (const DriveShape& shape : shapes) {
      const DriveShapeRole role = shape.role;
      const bool belt = role == DriveShapeRole::BeltSpan || role == DriveShapeRole::WrapArc ||
                        role == DriveShapeRole::TightSpan || role == DriveShapeRole::SlackSpan;
      const bool faint = role == DriveShapeRole::TipCircle || role == DriveShapeRole::CentreLine;
      // A wide pen draws solid whatever its style: the slack span is drawn thin and dashed, the
      // tight one thicker than the belt elsewhere.
      const int width = role == DriveShapeRole::SlackSpan   ? 1
                        : role == DriveShapeRole::TightSpan ? MulDiv(5, picture.dpi, 96)
                        : role == DriveShapeRole::HubLoad   ? MulDiv(2, picture.dpi, 96)
                        : belt                              ? MulDiv(3, picture.dpi, 96)
                                                            : 1;
      const int style = faint ? PS_DOT : role == DriveShapeRole::SlackSpan ? PS_DASH : PS_SOLID;
      const COLORREF colour = role == DriveShapeRole::HubLoad ? RGB(0xb0, 0x20, 0x20)
                              : belt                          ? GetSysColor(COLOR_HIGHLIGHT)
                              : faint                         ? GetSysColor(COLOR_GRAYTEXT)
                                                              : GetSysColor(COLOR_WINDOWTEXT);
      HPEN pen = CreatePen(style, width, colour);
      const HGDIOBJ old = SelectObject(dc, pen);
      const int l = x(shape.x - shape.radius), t = y(shape.y + shape.radius);
      const int r = x(shape.x + shape.radius), b = y(shape.y - shape.radius);
      const double pi = std::acos(-1.0);
      switch (shape.kind) {
        case DriveShape::Kind::Circle:
          Ellipse(dc, l, t, r, b);
          break;
        case DriveShape::Kind::Line:
          MoveToEx(dc, x(shape.x), y(shape.y), nullptr);
          LineTo(dc, x(shape.x2), y(shape.y2));
          break;
        case DriveShape::Kind::Arc: {
          const double from = shape.startDegrees * pi / 180;
          const double to = (shape.startDegrees + shape.sweepDegrees) * pi / 180;
          Arc(dc, l, t, r, b, x(shape.x + shape.radius * std::cos(from)),
              y(shape.y + shape.radius * std::sin(from)), x(shape.x + shape.radius * std::cos(to)),
              y(shape.y + shape.radius * std::sin(to)));
          break;
        }
      }
      SelectObject(dc, old);
      DeleteObject(pen);
    }
  }
  EndPaint(canvas, &paintInfo);
}

LRESULT CALLBACK canvasProcedure(HWND canvas, UINT message, WPARAM wParam, LPARAM lParam) {
  Picture* picture = pictureOf(canvas);
  switch (message) {
    case WM_PAINT:
      if (picture != nullptr) {
        paint(canvas, *picture);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(canvas, GWLP_USERDATA, 0);
      delete picture;
      break;
    default:
      break;
  }
  return DefWindowProcW(canvas, message, wParam, lParam);
}

}  // namespace

HWND createDriveCanvas(HWND parent, HINSTANCE instance, int id) {
  WNDCLASSEXW canvasClass{};
  if (!GetClassInfoExW(instance, kCanvasClass, &canvasClass)) {
    canvasClass.cbSize = sizeof canvasClass;
    // Painted whole whenever its size changes: it is not repainted for a keystroke that leaves
    // the drawing as it was.
    canvasClass.style = CS_HREDRAW | CS_VREDRAW;
    canvasClass.lpfnWndProc = canvasProcedure;
    canvasClass.hInstance = instance;
    canvasClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    canvasClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    canvasClass.lpszClassName = kCanvasClass;
    RegisterClassExW(&canvasClass);
  }
  HWND canvas =
      CreateWindowExW(0, kCanvasClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (canvas != nullptr) {
    SetWindowLongPtrW(canvas, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new Picture));
  }
  return canvas;
}

void showDriveShapes(HWND canvas, std::vector<DriveShape> shapes, int dpi) {
  if (Picture* picture = pictureOf(canvas)) {
    // A keystroke that leaves the drawing as it was (the load's power, say) repaints nothing.
    if (picture->shapes == shapes && picture->dpi == dpi) return;
    picture->shapes = std::move(shapes);
    picture->dpi = dpi;
  }
  InvalidateRect(canvas, nullptr, TRUE);
}

}  // namespace korvale::ui::win32
