// tzFrames: one full redraw of a 400 x 300 frame in each style (gradient headers included) beside
// the native group box painted through WM_PRINTCLIENT at the same size; first, the GDI objects of
// the process before and after 10,000 property writes and resizes in a row (after a first round).
#include <memory>
#include <string>

#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/Gdi.h"
#include "server/contract/Twips.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

constexpr int kWidth = 400, kHeight = 300;

struct FrameBench {
  ControlTypes types;
  std::unique_ptr<Form> form;
  TzFrames* frame = nullptr;
  HWND groupBox = nullptr;
  unique_hdc memory;
  unique_hbitmap bitmap;
  HGDIOBJ old = nullptr;

  FrameBench() {
    RegisterLibraryControls(types);
    form = Form::Create(L"Frames benchmark", TwipsFromPixelsX(kWidth * 2 + 30), TwipsFromPixelsY(kHeight + 20), true,
                        &types);
    frame = &static_cast<TzFrames&>(
        form->Add(L"tzFrames", L"fra", 0, 0, TwipsFromPixelsX(kWidth), TwipsFromPixelsY(kHeight)));
    frame->SetCaption(L"Dados do cliente");
    groupBox = CreateWindowExW(0, L"BUTTON", L"Dados do cliente", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, kWidth + 10, 0,
                               kWidth, kHeight, form->hWnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    WindowDC screen(nullptr);
    memory.reset(CreateCompatibleDC(screen.get()));
    bitmap.reset(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
    old = SelectObject(memory.get(), bitmap.get());
    PumpPending();
  }
  ~FrameBench() {
    SelectObject(memory.get(), old);
    form.reset();
  }
  void NativePaint() {
    SendMessageW(groupBox, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
  }
};

struct Look {
  const wchar_t* name;
  int style, headerStyle, gradient;  // -1: as the style's preset leaves it
};

constexpr Look kLooks[] = {
    {L"style 0 (group box)", 0, -1, -1},
    {L"style 1 (header), solid", 1, 0, -1},
    {L"style 1 (header), vertical gradient", 1, 1, 0},
    {L"style 1 (header), vertical bands", 1, 1, 2},
    {L"style 2 (caption box), horizontal gradient", 2, 1, 1},
    {L"style 3 (round header), horizontal bands", 3, 1, 3},
    {L"style 4 (gradient box)", 4, -1, -1},
    {L"style 5 (tab)", 5, -1, -1},
    {L"style 6 (block)", 6, -1, -1},
    {L"style 7 (line)", 7, -1, -1},
    {L"style 8 (panel), vertical bands", 8, -1, -1},
    {L"style 8 (panel), horizontal gradient", 8, 1, 1},
};

std::vector<Comparison> FrameComparisons() {
  auto bench = std::make_shared<FrameBench>();
  std::vector<Comparison> rows;
  for (const Look& look : kLooks) {
    rows.push_back(Comparison{
        std::wstring(L"redraw 400 x 300, ") + look.name, L"BUTTON BS_GROUPBOX, WM_PRINTCLIENT",
        [bench, look] {
          TzFrames& f = *bench->frame;
          if (f.Style() != look.style || (look.headerStyle >= 0 && f.HeaderStyle() != look.headerStyle) ||
              (look.gradient >= 0 && f.GradientHeaderStyle() != look.gradient)) {
            f.SetStyle(look.style);
            if (look.headerStyle >= 0) f.SetHeaderStyle(look.headerStyle);
            if (look.gradient >= 0) f.SetGradientHeaderStyle(look.gradient);
          }
          f.Redraw();
        },
        [bench] { bench->NativePaint(); }, 50});
  }
  // Objects stay flat: 10,000 property writes and resizes in a row, every style and gradient.
  // A first round of every style, theme and gradient kind comes before the count: the first
  // rounded window region of the process makes the system keep one more cached device context
  // (and its region) for the paints that region causes, once; the count stays flat after that.
  TzFrames& f = *bench->frame;
  HostedControl* site = bench->form->Site(L"fra");
  const auto writes = [&](int count) {
    for (int i = 0; i < count; ++i) {
      switch (i % 4) {
        case 0: f.SetStyle(i / 4 % 9); break;
        case 1: f.SetThemeColor(i / 4 % 6); break;
        case 2: f.SetGradientHeaderStyle(i / 4 % 4); break;
        default:
          site->Move(0, 0, TwipsFromPixelsX(kWidth - i % 100), TwipsFromPixelsY(kHeight - i % 80));
          break;
      }
    }
  };
  writes(4 * 36);
  const unsigned before = GdiObjects();
  const DWORD started = GetTickCount();
  writes(10000);
  const DWORD took = GetTickCount() - started;
  const unsigned after = GdiObjects();
  site->Move(0, 0, TwipsFromPixelsX(kWidth), TwipsFromPixelsY(kHeight));
  f.SetThemeColor(1);
  f.SetThemeColor(0);  // the blue gradient again for the rows below
  rows.insert(rows.begin(),
              Comparison{L"redraw 400 x 300, style 8, after 10,000 property writes and resizes in " +
                             std::to_wstring(took / 1000) + L"." + std::to_wstring(took % 1000 / 100) + L" s (GDI objects " + std::to_wstring(before) +
                             L" before, " + std::to_wstring(after) + L" after)",
                         L"BUTTON BS_GROUPBOX, WM_PRINTCLIENT",
                         [bench] {
                           bench->frame->SetStyle(8);
                           bench->frame->Redraw();
                         },
                         [bench] { bench->NativePaint(); }, 50});
  return rows;
}

const Registration kFrames(L"frames", FrameComparisons);

}  // namespace
}  // namespace tessel::bench
