// Every ButtonStyle style in every state on three shapes, in a window of its own: one row per
// style and shape, one column per state, then two gradient faces and the two caption effects.
// Each cell is a window of its own with the shape's region, painted by the style's renderer
// through a back buffer with that state set.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "button/ButtonShape.h"
#include "button/ButtonState.h"
#include "button/CaptionLayout.h"
#include "button/DerivedColors.h"
#include "button/RendererTable.h"
#include "gallery/Gallery.h"

namespace tessel::gallery {
namespace {

constexpr int kCellW = 54, kCellH = 20, kGap = 2, kLabelW = 74, kHeaderH = 16;
const wchar_t* const kStyleNames[] = {L"Classic", L"Soft", L"Rounded", L"Pastel", L"FlatBevel", L"Ring", L"Light", L"Glossy"};
const wchar_t* const kColumns[] = {L"rest", L"hot", L"pressed", L"dragged", L"default", L"latched", L"disabled",
                                   L"grad \u2193", L"grad \u2192", L"emboss", L"engrave"};
constexpr int kColumnCount = 11;
constexpr int32_t kShapes[] = {shapeRectangle, shapeSlantLeft, shapeEllipse};
const wchar_t* const kShapeNames[] = {L"", L" /", L" ()"};

struct Cell {
  int32_t style, shape, column;
};

void ApplyColumn(ButtonState& s, ButtonPaint& paint, int column) {
  switch (column) {
    case 1: s.isHoverTracking = true; s.Set(isHot, true); break;
    case 2: s.isHoverTracking = s.isPressedTracking = true; s.Set(isHot | isPressed, true); break;
    case 3: s.isPressedTracking = true; s.Set(isPressed, true); break;
    case 4: s.Set(isDefault, true); break;
    case 5: s.mode = modeCheck; s.value = true; break;
    case 6: paint.enabled = false; break;
    case 7: s.gradientMode = gradTopBottom; break;
    case 8: s.gradientMode = gradLeftRight; break;
    case 9: s.captionStyle = capStyleEmbossed; break;
    case 10: s.captionStyle = capStyleEngraved; break;
    default: break;
  }
}

// Paints one cell into its window: a fresh state and back buffer, the shape, the layout, the
// renderer, the block transfer.
void PaintCell(HWND window, HDC target, const Cell& cell) {
  ButtonState s;
  ButtonPaint paint{s};
  // The shape builder gives the window its region on the first paint only: setting it again would
  // ask for another paint.
  unique_hrgn current(CreateRectRgn(0, 0, 0, 0));
  paint.window = GetWindowRgn(window, current.get()) == ERROR ? window : nullptr;
  paint.width = kCellW;
  paint.height = kCellH;
  s.memDC.reset(CreateCompatibleDC(target));
  s.bufferBitmap.reset(CreateCompatibleBitmap(target, kCellW, kCellH));
  s.bufferPrevBitmap = SelectObject(s.memDC.get(), s.bufferBitmap.get());
  s.captionFont.reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  s.bufferPrevFont = SelectObject(s.memDC.get(), s.captionFont.get());
  SetBkMode(s.memDC.get(), TRANSPARENT);
  s.buttonStyle = cell.style;
  s.buttonShape = cell.shape;
  s.caption = L"Save";
  s.backColor = 0xD8D8D8;
  s.hoverBackColor = 0xF0E0C8;
  s.hoverForeColor = 0x800000;
  s.gradientColor = 0xA06030;
  s.ambientBackColor = static_cast<int32_t>(GetSysColor(COLOR_BTNFACE));
  ApplyColumn(s, paint, cell.column);
  UpdateDerivedColors(s);
  BuildShape(
      paint, [](ButtonPaint&, int32_t, int32_t) {},
      [](ButtonPaint& p) { PaintShapeFaceGradient(p); });
  bool rescale = false;
  CaptionLayout(paint, rescale);
  BevelPoints points{};
  BevelColors colors{};
  int32_t faceState = 0;
  int16_t outcome = 0;
  if (Renderer render = RendererFor(s.buttonStyle)) render(paint, points, colors, faceState, outcome);
  SelectClipRgn(s.memDC.get(), nullptr);
  BitBlt(target, 0, 0, kCellW, kCellH, s.memDC.get(), 0, 0, SRCCOPY);
  SelectObject(s.memDC.get(), s.bufferPrevFont);
  SelectObject(s.memDC.get(), s.bufferPrevBitmap);
}

LRESULT CALLBACK CellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const auto* cell = reinterpret_cast<const Cell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (cell) PaintCell(window, dc, *cell);
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

struct Matrix {
  HWND window = nullptr;
  std::vector<Cell> cells;
};

void AddLabel(HWND parent, HINSTANCE instance, HFONT font, const std::wstring& text, int x, int y, int w, int h) {
  HWND label = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, x, y, w, h, parent,
                               nullptr, instance, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace

void AddButtonMatrixSection(SectionArea& area) {
  HINSTANCE instance = area.Instance();
  WNDCLASSW wc{};
  wc.lpfnWndProc = CellProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"TesselButtonMatrixCell";
  RegisterClassW(&wc);

  const int rows = 8 * 3;
  const int clientW = kLabelW + kColumnCount * (kCellW + kGap) + kGap;
  const int clientH = kHeaderH + rows * (kCellH + kGap) + kGap;
  RECT frame{0, 0, clientW, clientH};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRect(&frame, style, FALSE);
  RECT gallery{};
  GetWindowRect(area.Window(), &gallery);
  auto matrix = std::make_shared<Matrix>();
  matrix->window = CreateWindowExW(0, L"STATIC", L"ButtonStyle: styles \u00d7 states \u00d7 shapes", style | SS_NOTIFY,
                                   GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left) - 8, gallery.top + 320,
                                   frame.right - frame.left,
                                   frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (int c = 0; c < kColumnCount; ++c)
    AddLabel(matrix->window, instance, font, kColumns[c], kLabelW + kGap + c * (kCellW + kGap), 2, kCellW, kHeaderH - 2);
  matrix->cells.reserve(rows * kColumnCount);
  for (int style = 0; style < 8; ++style)
    for (int shape = 0; shape < 3; ++shape) {
      const int row = style * 3 + shape;
      const int y = kHeaderH + kGap + row * (kCellH + kGap);
      AddLabel(matrix->window, instance, font, std::wstring(kStyleNames[style]) + kShapeNames[shape], 4, y + 4,
               kLabelW - 6, kCellH - 4);
      for (int c = 0; c < kColumnCount; ++c) {
        matrix->cells.push_back({style, kShapes[shape], c});
        HWND cell = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, kLabelW + kGap + c * (kCellW + kGap),
                                    y, kCellW, kCellH, matrix->window, nullptr, instance, nullptr);
        SetWindowLongPtrW(cell, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&matrix->cells.back()));
        // The shape's outline becomes the cell's window region.
        InvalidateRect(cell, nullptr, FALSE);
      }
    }
  ShowWindow(matrix->window, SW_SHOWNOACTIVATE);
  area.AddText(L"Every style in every state on three shapes, with gradient faces and caption effects, in the "
               L"window beside (each cell painted by its style's renderer with the shape's region).",
               0, 0, 640, 32);
  area.SetHeight(36);
  area.OnClose([matrix] {
    if (IsWindow(matrix->window)) DestroyWindow(matrix->window);
  });
}

}  // namespace tessel::gallery
