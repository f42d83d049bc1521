// Placing a group frame and a styled button and painting them once, beside the native BUTTON of
// the same kind: user32's own class (what a program without a manifest gets) and comctl32 6's
// (created inside an activation context that asks for the common controls 6).
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/Twips.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

constexpr int kFormWidth = 900, kFormHeight = 640;

// One kind of native BUTTON: styles, size and whether it is made inside the common controls 6.
struct NativeButton {
  DWORD style;
  int width, height;  // pixels
  const wchar_t* text;
  bool commonControls6;
};

HWND MakeNative(HWND parent, const NativeButton& b, POINT at) {
  return NativeChild(parent, L"BUTTON", b.text, b.style, RECT{at.x, at.y, at.x + b.width, at.y + b.height},
                     b.commonControls6);
}

// Places one control after another on a form that stays open, each painted before the next, and
// the native buttons on a plain window beside it; every sample starts from an empty form.
struct Placing {
  std::unique_ptr<Form> form = Form::Create(L"Placement benchmark", TwipsFromPixelsX(kFormWidth),
                                            TwipsFromPixelsY(kFormHeight), true, &LibraryTypes());
  HWND native = nullptr;
  std::vector<HWND> natives;
  int placed = 0;

  Placing() {
    SetWindowPos(form->hWnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TesselBenchPlacing";
    RegisterClassExW(&wc);
    RECT r{0, 0, kFormWidth, kFormHeight};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FALSE, 0);
    native = CreateWindowExW(0, wc.lpszClassName, L"Native", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 640, 0,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(native, SW_SHOWNA);
    PumpPending();
  }
  ~Placing() {
    form.reset();
    DestroyWindow(native);
    PumpPending();
  }
  // The cell of the i-th control of w x h pixels: a grid over the form.
  static POINT Cell(int i, int w, int h) {
    const int columns = kFormWidth / (w + 4);
    return POINT{(i % columns) * (w + 4), (i / columns) * (h + 4) % (kFormHeight - h)};
  }
  void Clear() {
    for (const std::wstring& name : form->ControlNames()) form->Remove(name);
    for (HWND w : natives) DestroyWindow(w);
    natives.clear();
    placed = 0;
    PumpPending();
  }
  void Ours(const wchar_t* type, int w, int h) {
    const POINT at = Cell(placed, w, h);
    form->Add(type, L"c" + std::to_wstring(placed++), TwipsFromPixelsX(at.x), TwipsFromPixelsY(at.y),
              TwipsFromPixelsX(w), TwipsFromPixelsY(h));
    PumpPending();
  }
  void Theirs(const NativeButton& b) {
    natives.push_back(MakeNative(native, b, Cell(static_cast<int>(natives.size()), b.width, b.height)));
    PumpPending();
  }
};

struct Row {
  const wchar_t* work;
  const wchar_t* type;
  const wchar_t* native;
  NativeButton button;
};

const Row kRows[] = {
    {L"place + first paint, one tzFrames 280 x 200", L"tzFrames", L"BUTTON BS_GROUPBOX, user32",
     {BS_GROUPBOX, 280, 200, L"Dados do cliente", false}},
    {L"place + first paint, one tzFrames 280 x 200", L"tzFrames", L"BUTTON BS_GROUPBOX, comctl32 6",
     {BS_GROUPBOX, 280, 200, L"Dados do cliente", true}},
    {L"place + first paint, one ButtonStyle 120 x 32", L"ButtonStyle", L"BUTTON BS_PUSHBUTTON, user32",
     {BS_PUSHBUTTON, 120, 32, L"Command1", false}},
    {L"place + first paint, one ButtonStyle 120 x 32", L"ButtonStyle", L"BUTTON BS_PUSHBUTTON, comctl32 6",
     {BS_PUSHBUTTON, 120, 32, L"Command1", true}},
};

const Registration kPlacement(L"placing (tzFrames, ButtonStyle)", [] {
  auto placing = std::make_shared<Placing>();
  std::vector<Comparison> rows;
  for (const Row& r : kRows) {
    if (r.button.commonControls6 && !CommonControls6()) continue;
    const Row* row = &r;
    Comparison c{r.work, r.native,
                 [placing, row] { placing->Ours(row->type, row->button.width, row->button.height); },
                 [placing, row] { placing->Theirs(row->button); }, 20};
    c.prepare = c.prepareNative = [placing] { placing->Clear(); };
    rows.push_back(std::move(c));
  }
  return rows;
});

}  // namespace
}  // namespace tessel::bench
