// ButtonStyle on a form of its own: command, check and option buttons (one group of three), the
// slanted and elliptic shapes, a picture with a magenta key colour, a button shaped like its
// picture that moves one pixel while held, and the events shown as they arrive.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "button/ButtonStyle.h"
#include "gallery/Gallery.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/Twips.h"

namespace tessel::gallery {
namespace {

ControlTypes& ButtonTypes() {
  static ControlTypes types;
  if (!types.Contains(L"ButtonStyle")) RegisterLibraryControls(types);
  return types;
}

// A bitmap made here: a magenta surround (the key colour, taken from the top-left pixel) around a
// shape drawn by inside(x, y) in colour.
PictureRef KeyedBitmap(int size, COLORREF colour, bool (*inside)(int x, int y, int size)) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return nullptr;
  auto* px = static_cast<uint32_t*>(bits);
  const uint32_t rgb = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) px[y * size + x] = inside(x, y, size) ? rgb : 0xFF00FF;
  return Picture::FromBitmap(dib);
}

bool Disc(int x, int y, int size) {
  const int r = size / 2, dx = x - r, dy = y - r;
  return dx * dx + dy * dy < (r - 1) * (r - 1);
}
bool Diamond(int x, int y, int size) { return std::abs(x - size / 2) + std::abs(y - size / 2) < size / 2 - 1; }

struct ButtonPage {
  std::unique_ptr<Form> form;
  HWND events = nullptr;
  std::vector<std::wstring> lines;

  void Say(const std::wstring& line) {
    lines.push_back(line);
    if (lines.size() > 6) lines.erase(lines.begin());
    std::wstring text;
    for (const auto& l : lines) text += l + L"\r\n";
    SetWindowTextW(events, text.c_str());
  }

  ButtonStyle& Add(const wchar_t* name, const wchar_t* caption, int x, int y, int w, int h) {
    auto& b = static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", name, x * 15, y * 15, w * 15, h * 15));
    b.SetCaption(caption);
    std::wstring n = name;
    b.events.Click = [this, n] { Say(n + L": Click"); };
    b.events.MouseOnButton = [this, n](bool& on) { Say(n + (on ? L": MouseOnButton(True)" : L": MouseOnButton(False)")); };
    b.events.DoubleClick = [this, n](int16_t& button) { Say(n + L": DoubleClick(" + std::to_wstring(button) + L")"); };
    b.events.KeyDown = [this, n](int16_t& key, int16_t&) { Say(n + L": KeyDown(" + std::to_wstring(key) + L")"); };
    return b;
  }
};

}  // namespace

void AddButtonSection(SectionArea& area) {
  area.AddText(L"ButtonStyle opens beside the gallery: command, check and a group of three option buttons, "
               L"slanted and round shapes, a magenta-keyed picture and a button shaped like its picture that "
               L"moves while held. The events show as they arrive.",
               0, 0, 620, 48);
  area.SetHeight(52);
  auto page = std::make_unique<ButtonPage>();
  try {
    page->form = Form::Create(L"Buttons (ButtonStyle)", 7200, 4200, true, &ButtonTypes());
    ButtonPage& p = *page;
    p.Add(L"cmdGravar", L"&Gravar", 16, 16, 110, 30);
    ButtonStyle& check = p.Add(L"chkAviso", L"A&viso", 136, 16, 110, 30);
    check.SetMode(modeCheck);
    check.SetValue(true);
    const wchar_t* options[] = {L"&Um", L"&Dois", L"&Tr\u00EAs"};
    for (int i = 0; i < 3; ++i) {
      ButtonStyle& o = p.Add((L"optNumero" + std::to_wstring(i + 1)).c_str(), options[i], 16 + 80 * i, 56, 72, 26);
      o.SetMode(modeOption);
      if (i == 1) o.SetValue(true);
    }
    p.Add(L"cmdSlantLeft", L"Slant", 16, 96, 90, 30).SetButtonShape(shapeSlantLeft);
    p.Add(L"cmdSlantBoth", L"Both", 112, 96, 90, 30).SetButtonShape(shapeSlantBoth);
    ButtonStyle& round = p.Add(L"cmdEllipse", L"Round", 208, 96, 90, 30);
    round.SetButtonShape(shapeEllipseFramed);
    ButtonStyle& pictured = p.Add(L"cmdPicture", L"Picture", 16, 136, 130, 40);
    pictured.SetPicture(KeyedBitmap(32, RGB(0, 96, 192), &Disc));
    pictured.SetPictureSize(picSize32);
    pictured.SetPictureAlign(picLeftOfCaption);
    ButtonStyle& shaped = p.Add(L"cmdShaped", L"", 160, 130, 64, 64);
    shaped.SetPicture(KeyedBitmap(64, RGB(0, 160, 64), &Diamond));
    shaped.SetButtonShape(shapeCustom);
    shaped.SetCustomClick(clickDownRight);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    p.events = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, Px(16 + 300), Px(16), Px(160),
                               Px(180), p.form->hWnd(), nullptr, instance, nullptr);
    SendMessageW(p.events, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    p.Say(L"Events:");
  } catch (const std::exception&) {
    area.AddText(L"The buttons could not be opened.", 0, 32, 620, 18);
    return;
  }
  RECT gallery{};
  GetWindowRect(area.Window(), &gallery);
  SetWindowPos(page->form->hWnd(), nullptr, gallery.left + Px(660), gallery.top + Px(20), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ButtonPage* raw = page.release();
  area.OnClose([raw] { delete raw; });
}

}  // namespace tessel::gallery
