// Every ButtonStyle style in every state on three shapes, in a form of its own beside the gallery:
// one row per style and shape, one column per state, then two gradient faces and the two caption
// effects. Each cell is a real button: the pointer and keyboard states are shown through
// ShowLook, the latched one is a check button whose Value is True, the disabled one is disabled.
#include <windows.h>

#include <memory>
#include <string>

#include "button/ButtonStyle.h"
#include "gallery/Gallery.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/Twips.h"

namespace tessel::gallery {
namespace {

// Wide enough for the longest header and row label in the dialog font, with room to spare; pixels
// of a 96-dpi screen (Px).
constexpr int kCellW = 52, kCellH = 20, kGap = 2, kLabelW = 112, kHeaderH = 18;
const wchar_t* const kStyleNames[] = {L"Classic", L"Soft", L"Rounded", L"Pastel", L"FlatBevel", L"Ring", L"Light", L"Glossy"};
const wchar_t* const kColumns[] = {L"rest", L"hot", L"pressed", L"dragged", L"default", L"latched", L"disabled",
                                   L"grad \u2193", L"grad \u2192", L"embossed", L"engraved"};
constexpr int kColumnCount = 11;
constexpr int32_t kShapes[] = {shapeRectangle, shapeSlantLeft, shapeEllipse};
const wchar_t* const kShapeNames[] = {L"", L" slanted", L" ellipse"};

ControlTypes& MatrixTypes() {
  static ControlTypes types;
  if (!types.Contains(L"ButtonStyle")) RegisterLibraryControls(types);
  return types;
}

// The cell's state, set the way a program would: properties, then the look.
void ApplyColumn(ButtonStyle& b, int column) {
  switch (column) {
    case 1: b.ShowLook(ButtonStyle::Look::Hot); break;
    case 2: b.ShowLook(ButtonStyle::Look::Pressed); break;
    case 3: b.ShowLook(ButtonStyle::Look::DraggedOff); break;
    case 4: b.ShowLook(ButtonStyle::Look::Default); break;
    case 5:
      b.SetMode(modeCheck);
      b.SetValue(true);
      break;
    case 6: b.SetEnabled(false); break;
    case 7: b.SetGradientMode(gradTopBottom); break;
    case 8: b.SetGradientMode(gradLeftRight); break;
    case 9: b.SetCaptionStyle(capStyleEmbossed); break;
    case 10: b.SetCaptionStyle(capStyleEngraved); break;
    default: break;
  }
}

void AddLabel(HWND parent, HFONT font, const std::wstring& text, int x, int y, int w, int h, DWORD align) {
  HWND label = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | align | SS_NOPREFIX, x, y, w, h,
                               parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace

void AddButtonMatrixSection(SectionArea& area) {
  const int rows = 8 * 3;
  const int cellW = Px(kCellW), cellH = Px(kCellH), gap = Px(kGap), labelW = Px(kLabelW), headerH = Px(kHeaderH);
  const int clientW = labelW + kColumnCount * (cellW + gap) + gap;
  const int clientH = headerH + rows * (cellH + gap) + gap;
  std::unique_ptr<Form> form;
  try {
    form = Form::Create(L"ButtonStyle: styles \u00d7 states \u00d7 shapes", TwipsFromPixelsX(clientW),
                        TwipsFromPixelsY(clientH), true, &MatrixTypes());
  } catch (const std::exception&) {
    form.reset();
  }
  if (!form) {
    area.AddText(L"The button matrix could not be opened.", 0, 0, 620, 18);
    return;
  }
  HWND window = form->hWnd();
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (int c = 0; c < kColumnCount; ++c)
    AddLabel(window, font, kColumns[c], labelW + gap + c * (cellW + gap), Px(3), cellW, headerH - Px(3), SS_CENTER);
  for (int style = 0; style < 8; ++style)
    for (int shape = 0; shape < 3; ++shape) {
      const int y = headerH + gap + (style * 3 + shape) * (cellH + gap);
      AddLabel(window, font, std::wstring(kStyleNames[style]) + kShapeNames[shape], Px(4), y + Px(4), labelW - Px(6),
               cellH - Px(4), SS_LEFT);
      for (int c = 0; c < kColumnCount; ++c) {
        const int x = labelW + gap + c * (cellW + gap);
        auto& b = static_cast<ButtonStyle&>(form->Add(
            L"ButtonStyle", L"s" + std::to_wstring(style) + L"h" + std::to_wstring(shape) + L"c" + std::to_wstring(c),
            TwipsFromPixelsX(x), TwipsFromPixelsY(y), TwipsFromPixelsX(cellW), TwipsFromPixelsY(cellH)));
        // The shape is set last and outside DelayDrawing: a shape is built on the resize it
        // causes, which a held drawing skips.
        b.SetDelayDrawing(true);
        b.SetCaption(L"Ok");
        b.SetButtonStyle(style);
        b.SetBackColor(0xD8D8D8);
        b.SetHoverBackColor(0xF0E0C8);
        b.SetHoverForeColor(0x800000);
        b.SetGradientColor(0xA06030);
        b.SetDelayDrawing(false);
        b.SetButtonShape(kShapes[shape]);
        ApplyColumn(b, c);
      }
    }
  // Right of the gallery window, so that the two never overlap.
  RECT gallery{};
  GetWindowRect(area.Window(), &gallery);
  SetWindowPos(window, nullptr, gallery.right + Px(4), gallery.top + Px(300), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  area.AddText(L"Every style in every state on three shapes, with gradient faces and caption effects, in the "
               L"form beside: each cell a ButtonStyle, shown hot, pressed, dragged off or as the default button "
               L"through ShowLook, latched as a check button, disabled.",
               0, 0, 640, 46);
  area.SetHeight(50);
  Form* raw = form.release();
  area.OnClose([raw] { delete raw; });
}

}  // namespace tessel::gallery
