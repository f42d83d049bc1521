// The redraw of a 120 x 32 ButtonStyle face (renderer into the back buffer, then the block
// transfer to the window) for every style in every state, beside a native push button painted
// through WM_PRINTCLIENT into a buffer and copied the same way.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "button/ButtonState.h"
#include "button/DerivedColors.h"
#include "button/draw/Renderers.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

constexpr int kWidth = 120, kHeight = 32;
const wchar_t* const kStyles[] = {L"classic", L"soft", L"rounded", L"pastel", L"flat bevel", L"ring", L"light", L"glossy"};
const wchar_t* const kLooks[] = {L"rest", L"hot", L"pressed", L"dragged off", L"default", L"latched", L"disabled"};
constexpr int kLookCount = 7;

// A window with a ButtonStyle back buffer of its size, as the control keeps one.
struct Bench {
  unique_hwnd window;
  unique_hwnd native;
  ButtonState state;
  ButtonPaint paint{state};
  unique_hdc nativeDC;
  unique_hbitmap nativeBitmap;
  HGDIOBJ nativePrev = nullptr;

  Bench() {
    window.reset(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight * 2,
                                 nullptr, nullptr, nullptr, nullptr));
    native.reset(CreateWindowExW(0, L"BUTTON", L"Save", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, kHeight, kWidth,
                                 kHeight, window.get(), nullptr, nullptr, nullptr));
    WindowDC screen(window.get());
    state.memDC.reset(CreateCompatibleDC(screen.get()));
    state.bufferBitmap.reset(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
    state.bufferPrevBitmap = SelectObject(state.memDC.get(), state.bufferBitmap.get());
    state.captionFont.reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    state.bufferPrevFont = SelectObject(state.memDC.get(), state.captionFont.get());
    SetBkMode(state.memDC.get(), TRANSPARENT);
    nativeDC.reset(CreateCompatibleDC(screen.get()));
    nativeBitmap.reset(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
    nativePrev = SelectObject(nativeDC.get(), nativeBitmap.get());
    paint.window = window.get();
    paint.width = kWidth;
    paint.height = kHeight;
    state.caption = L"Save";
    state.faceRight = kWidth;
    state.backColor = 0x8000000F;
    state.hoverBackColor = 0xF0E0C8;
    RECT text{0, 0, kWidth, kHeight};
    DrawTextW(state.memDC.get(), L"Save", 4, &text, DT_CALCRECT);
    state.captionRect = {(kWidth - text.right) / 2, (kHeight - text.bottom) / 2, (kWidth + text.right) / 2,
                         (kHeight + text.bottom) / 2};
    PumpPending();
  }
  ~Bench() {
    SelectObject(nativeDC.get(), nativePrev);
    SelectObject(state.memDC.get(), state.bufferPrevFont);
    SelectObject(state.memDC.get(), state.bufferPrevBitmap);
  }

  void Set(int style, int look, int32_t gradientMode = gradNone) {
    state.buttonStyle = style;
    state.gradientMode = gradientMode;
    state.gradientColor = 0xC08040;
    state.mode = look == 5 ? modeCheck : modeCommand;
    state.value = look == 5;
    state.stateFlags = 0;
    state.isHoverTracking = look == 1 || look == 2;
    state.isPressedTracking = look == 2 || look == 3;
    if (look == 1 || look == 2) state.Set(isHot, true);
    if (look == 2 || look == 3) state.Set(isPressed, true);
    if (look == 4) state.Set(isDefault, true);
    paint.enabled = look != 6;
    UpdateDerivedColors(state);
  }

  // One redraw as the dispatcher makes it: the renderer, then the buffer to the window.
  void Redraw() {
    BevelPoints points{};
    BevelColors colors{};
    int32_t faceState = 0;
    int16_t outcome = 0;
    RendererFor(state.buttonStyle)(paint, points, colors, faceState, outcome);
    SelectClipRgn(state.memDC.get(), nullptr);
    WindowDC dc(window.get());
    BitBlt(dc.get(), 0, 0, kWidth, kHeight, state.memDC.get(), 0, 0, SRCCOPY);
    GdiFlush();
  }

  void NativeRedraw() {
    SendMessageW(native.get(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(nativeDC.get()), PRF_CLIENT | PRF_ERASEBKGND);
    WindowDC dc(window.get());
    BitBlt(dc.get(), 0, kHeight, kWidth, kHeight, nativeDC.get(), 0, 0, SRCCOPY);
    GdiFlush();
  }
};

std::vector<Comparison> ButtonRender() {
  auto bench = std::make_shared<Bench>();
  std::vector<Comparison> rows;
  // Objects stay flat: every style and state redrawn 100,000 times.
  const unsigned before = GdiObjects();
  for (int i = 0; i < 100000; ++i) {
    bench->Set(i % 8, (i / 8) % kLookCount);
    bench->Redraw();
  }
  const unsigned after = GdiObjects();
  rows.push_back({L"classic at rest, after 100,000 redraws through every style and state (GDI objects " +
                      std::to_wstring(before) + L" before, " + std::to_wstring(after) + L" after)",
                  L"BUTTON via WM_PRINTCLIENT + blit",
                  [bench] {
                    bench->Set(0, 0);
                    bench->Redraw();
                  },
                  [bench] { bench->NativeRedraw(); }, 200});
  for (int style = 0; style < 8; ++style)
    for (int look = 0; look < kLookCount; ++look)
      rows.push_back({std::wstring(kStyles[style]) + L", " + kLooks[look] + L", 120x32 redraw + blit",
                      L"BUTTON via WM_PRINTCLIENT + blit",
                      [bench, style, look] {
                        bench->Set(style, look);
                        bench->Redraw();
                      },
                      [bench] { bench->NativeRedraw(); }, 200});
  // Gradient faces: one band per pixel column (left to right) or row (top to bottom).
  const std::pair<int32_t, const wchar_t*> gradients[] = {{gradLeftRight, L"gradient left to right"},
                                                          {gradTopBottom, L"gradient top to bottom"}};
  for (int style : {0, 2, 7})
    for (const auto& [mode, name] : gradients)
      for (int look : {0, 3})
        rows.push_back({std::wstring(kStyles[style]) + L", " + kLooks[look] + L", " + name + L", 120x32 redraw + blit",
                        L"BUTTON via WM_PRINTCLIENT + blit",
                        [bench, style, look, mode] {
                          bench->Set(style, look, mode);
                          bench->Redraw();
                        },
                        [bench] { bench->NativeRedraw(); }, 200});
  return rows;
}

Registration registration(L"button styles", ButtonRender);

}  // namespace
}  // namespace tessel::bench
