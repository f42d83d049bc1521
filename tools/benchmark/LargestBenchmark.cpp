// Controls at the largest size a window can have (32,767 pixels a side, Width and Height at INT_MAX
// twips) on a shown form: a caption written and the window painted, beside the native button and
// group box of the same size doing the same. The frame is the one that draws the most at a write:
// rounded, with a header, disabled, its icon greyed.
#include <climits>
#include <memory>
#include <string>

#include "button/ButtonStyle.h"
#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/Picture.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

constexpr int kLargest = 32767;

struct LargestBench {
  ControlTypes types;
  std::unique_ptr<Form> form;
  ButtonStyle* button = nullptr;
  TzFrames* frame = nullptr;
  HWND nativeButton = nullptr;
  HWND nativeBox = nullptr;
  int round = 0;

  LargestBench() {
    RegisterLibraryControls(types);
    form = Form::Create(L"Largest benchmark", 9000, 6000, true, &types);
    ShowWindow(form->hWnd(), SW_SHOWNOACTIVATE);
    button = &static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"cmd", 0, 0, INT_MAX, INT_MAX));
    frame = &static_cast<TzFrames&>(form->Add(L"tzFrames", L"fra", 0, 0, INT_MAX, INT_MAX));
    frame->SetStyle(1);
    frame->SetRoundedCorner(true);
    frame->SetPicture(Picture::FromIcon(static_cast<HICON>(
        CopyImage(LoadIconW(nullptr, IDI_INFORMATION), IMAGE_ICON, 32, 32, 0))));
    frame->SetIconSize(32767);
    frame->SetEnabled(false);
    // One at a time on the form: each side is shown alone while it is timed.
    ShowWindow(frame->hWnd(), SW_HIDE);
    nativeButton = CreateWindowExW(0, L"BUTTON", L"Gravar", WS_CHILD | BS_PUSHBUTTON, 0, 0, kLargest, kLargest,
                                   form->hWnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    nativeBox = CreateWindowExW(0, L"BUTTON", L"Dados", WS_CHILD | BS_GROUPBOX, 0, 0, kLargest, kLargest, form->hWnd(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    PumpPending();
  }
  // Only `shown` of the four stands on the form.
  void Show(HWND shown) {
    for (HWND w : {button->hWnd(), frame->hWnd(), nativeButton, nativeBox})
      ShowWindow(w, w == shown ? SW_SHOWNA : SW_HIDE);
    PumpPending();
  }
  std::wstring NextCaption() { return L"Dados do cliente " + std::to_wstring(++round % 2); }
  void Paint(HWND window) {
    UpdateWindow(window);
    PumpPending();
  }
};

// Our control's caption written and its window painted, beside the same of the native window.
template <class Control>
Comparison CaptionRow(std::shared_ptr<LargestBench> bench, std::wstring work, std::wstring native, Control* ours,
                      HWND theirs) {
  return {std::move(work), std::move(native),
          [bench, ours] {
            ours->SetCaption(bench->NextCaption());
            bench->Paint(ours->hWnd());
          },
          [bench, theirs] {
            SetWindowTextW(theirs, bench->NextCaption().c_str());
            bench->Paint(theirs);
          },
          20, [bench, ours] { bench->Show(ours->hWnd()); }, [bench, theirs] { bench->Show(theirs); }};
}

const Registration kLargestRows(L"largest", [] {
  auto bench = std::make_shared<LargestBench>();
  return std::vector<Comparison>{
      CaptionRow(bench, L"Caption written + paint, a ButtonStyle 32,767 pixels a side",
                 L"WM_SETTEXT + paint, a BUTTON BS_PUSHBUTTON as large", bench->button, bench->nativeButton),
      CaptionRow(bench, L"Caption written + paint, a tzFrames 32,767 pixels a side (rounded header, disabled, icon greyed)",
                 L"WM_SETTEXT + paint, a BUTTON BS_GROUPBOX as large", bench->frame, bench->nativeBox)};
});

}  // namespace
}  // namespace tessel::bench
