// ButtonStyle gives back every GDI object and window it makes: the counts before and after 10,000
// rounds of property writes, redraws, resizes and picture changes on one button, and after 100
// buttons placed, hovered and closed. The rows time one round and one button.
#include <memory>
#include <string>
#include <vector>

#include "button/ButtonStyle.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

// A 24 x 24 bitmap whose left columns are the magenta key.
PictureRef KeyedPicture() {
  void* bits = nullptr;
  unique_hbitmap dib = CreateDib32(nullptr, 24, 24, &bits);
  auto* px = static_cast<uint32_t*>(bits);
  for (int i = 0; i < 24 * 24; ++i) px[i] = i % 24 > 2 ? 0x0000FF : 0xFF00FF;
  return Picture::FromBitmap(dib.release());
}

struct Rounds {
  ControlTypes types;
  std::unique_ptr<Form> form;
  ButtonStyle* button = nullptr;
  PictureRef pictures[2];
  int next = 0;
  int placed = 0;

  Rounds() {
    RegisterLibraryControls(types);
    form = Form::Create(L"Button objects", 9000, 6000, true, &types);
    button = &static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"cycled", 150, 150, 1800, 480));
    pictures[0] = KeyedPicture();
    HICON icon = static_cast<HICON>(CopyImage(LoadIconW(nullptr, IDI_INFORMATION), IMAGE_ICON, 16, 16, 0));
    pictures[1] = Picture::FromIcon(icon);
  }

  // One round: every kind of write, a resize and a redraw; the styles, shapes and pictures cycle.
  void Round() {
    const int i = next++;
    button->SetButtonStyle(i % kButtonStyleCount);
    button->SetButtonShape(i % 7);
    button->SetCaption(i % 2 ? L"A||B" : L"&Ok");
    button->SetBackColor(i % 2 ? 0x00FFFF : kSysButtonFace);
    button->SetGradientMode(i % 5);
    button->SetFontStyle(i % 16);
    button->SetPicture(pictures[i % 2]);
    button->SetPictureSize(i % 5);
    form->Site(L"cycled")->Move(150, 150, 1500 + 15 * (i % 9), 450 + 15 * (i % 5));
    button->Refresh();
    PumpPending();
  }

  // One button placed on a free cell of a 10 x 10 grid, given a picture and a shape, hovered,
  // and closed.
  void PlaceAndClose() {
    const int i = placed++;
    const std::wstring name = L"b" + std::to_wstring(i);
    auto& b = static_cast<ButtonStyle&>(
        form->Add(L"ButtonStyle", name, 150 + 600 * (i % 10), 900 + 450 * ((i / 10) % 10), 540, 360));
    b.SetPicture(pictures[0]);
    b.SetButtonShape(i % 9);
    SendMessageW(b.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PumpPending();
    form->Remove(name);
    PumpPending();
  }
};

std::wstring Counts(unsigned gdiBefore, unsigned gdiAfter, unsigned windowsBefore, unsigned windowsAfter) {
  return L"GDI objects " + std::to_wstring(gdiBefore) + L" before, " + std::to_wstring(gdiAfter) + L" after; windows " +
         std::to_wstring(windowsBefore) + L" before, " + std::to_wstring(windowsAfter) + L" after";
}

const Registration kObjects(L"button objects", [] {
  auto r = std::make_shared<Rounds>();
  std::vector<Comparison> rows;
  // What the system keeps once it has needed it (its DC cache, the font mapper) is made first.
  for (int i = 0; i < 16; ++i) r->Round();
  for (int i = 0; i < 10; ++i) r->PlaceAndClose();
  unsigned gdi = GdiObjects(), windows = Windows();
  for (int i = 0; i < 10000; ++i) r->Round();
  r->next = 15;
  r->Round();  // the state the counts were taken in: the cached picture, the font, the size
  rows.push_back({L"one round of writes, resize and redraw, after 10,000 rounds (" +
                      Counts(gdi, GdiObjects(), windows, Windows()) + L")",
                  L"", [r] { r->Round(); }, {}, 20});
  gdi = GdiObjects();
  windows = Windows();
  for (int i = 0; i < 100; ++i) r->PlaceAndClose();
  rows.push_back({L"one button placed, hovered and closed, after 100 buttons (" +
                      Counts(gdi, GdiObjects(), windows, Windows()) + L")",
                  L"", [r] { r->PlaceAndClose(); }, {}, 5});
  return rows;
});

}  // namespace
}  // namespace tessel::bench
