// ButtonStyle: the picture cache build beside one bare read and write of the same bitmap's bits, and a
// whole redraw (dispatcher and block transfer), without and with a picture, beside a native push
// button painted through WM_PRINTCLIENT, both at 120 x 32.
#include <cstdio>
#include <memory>
#include <vector>

#include "button/ButtonPicture.h"
#include "button/ButtonStyle.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

constexpr int kSide = 256;

// A side x side picture with a magenta key in its corner and a colour ramp elsewhere.
PictureRef KeyedPicture(int side = kSide) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* px = static_cast<uint32_t*>(bits);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) px[y * side + x] = (x + y) % 7 ? (x << 16 | y << 8 | 0x40) : 0xFF00FF;
  return Picture::FromBitmap(dib);
}

struct Bench {
  ControlTypes types;
  std::unique_ptr<Form> form;
  ButtonStyle* button = nullptr;
  ButtonStyle* pictured = nullptr;  // with a 16 x 16 picture beside its caption
  HWND native = nullptr;
  unique_hdc printDC;
  unique_hbitmap printBitmap;
  HGDIOBJ printOld = nullptr;
  ButtonState pictureState;
  std::vector<uint8_t> bits = std::vector<uint8_t>(static_cast<size_t>(kSide) * kSide * 4);

  Bench() {
    RegisterLibraryControls(types);
    form = Form::Create(L"Button benchmark", 4000, 2000, true, &types);
    button = &static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"cmd", 150, 150, 120 * 15, 32 * 15));
    button->SetCaption(L"&Gravar");
    pictured = &static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"pic", 150, 750, 120 * 15, 32 * 15));
    pictured->SetCaption(L"&Gravar");
    pictured->SetPicture(KeyedPicture(16));
    native = CreateWindowExW(0, L"BUTTON", L"&Gravar", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 60, 120, 32,
                             form->hWnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    {
      WindowDC screen(nullptr);
      printDC.reset(CreateCompatibleDC(screen.get()));
      printBitmap.reset(CreateCompatibleBitmap(screen.get(), 120, 32));
    }
    printOld = SelectObject(printDC.get(), printBitmap.get());
    pictureState.picture = KeyedPicture();
    ReadPictureMetrics(pictureState);
    PumpPending();
  }
  ~Bench() {
    SelectObject(printDC.get(), printOld);
    if (native) DestroyWindow(native);
  }

  void BuildCache(int side = kSide) {
    ButtonPaint p{pictureState};
    p.width = p.height = side;
    BuildPictureCache(p, side, side, nullptr);
  }
  void PrintNative() {
    SendMessageW(native, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printDC.get()), PRF_CLIENT | PRF_ERASEBKGND);
    WindowDC dc(native);
    BitBlt(dc.get(), 0, 0, 120, 32, printDC.get(), 0, 0, SRCCOPY);
    GdiFlush();
  }
  // The bare round trip: the DC it names is held for the whole run, as a program that reads and
  // writes bits in a loop would hold it (a GetDC per trip costs more than the trip under Wine).
  void RoundTrip() {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kSide, -kSide, 1, 32, BI_RGB};
    HBITMAP bitmap = static_cast<HBITMAP>(pictureState.picture->Handle());
    const int read = GetDIBits(printDC.get(), bitmap, 0, kSide, bits.data(), &bi, DIB_RGB_COLORS);
    const int written = SetDIBits(printDC.get(), bitmap, 0, kSide, bits.data(), &bi, DIB_RGB_COLORS);
    if (read != kSide || written != kSide) fwprintf(stderr, L"round trip: %d rows read, %d written\n", read, written);
  }
};

const Registration kButton(L"button (ButtonStyle)", [] {
  auto bench = std::make_shared<Bench>();
  std::vector<Comparison> rows;
  rows.push_back({L"picture cache build, 256 x 256 bitmap, rebuilt at the same size",
                  L"GetDIBits + SetDIBits of the same bitmap", [bench] { bench->BuildCache(); },
                  [bench] { bench->RoundTrip(); }, 20});
  rows.push_back({L"picture cache build, 256 x 256 bitmap, first build (nothing kept)",
                  L"GetDIBits + SetDIBits of the same bitmap",
                  [bench] {
                    bench->pictureState.pictureCache.reset();
                    bench->BuildCache();
                  },
                  [bench] { bench->RoundTrip(); }, 20});
  rows.push_back({L"picture cache build, 256 x 256 bitmap drawn at 240 x 240, first build (a scaled copy)",
                  L"GetDIBits + SetDIBits of the same bitmap",
                  [bench] {
                    bench->pictureState.pictureCache.reset();
                    bench->BuildCache(240);
                  },
                  [bench] { bench->RoundTrip(); }, 20});
  rows.push_back({L"full redraw (dispatcher + blit), 120 x 32", L"BUTTON via WM_PRINTCLIENT + blit to its window",
                  [bench] { bench->button->Refresh(); },
                  [bench] { bench->PrintNative(); },
                  200});
  rows.push_back({L"full redraw with a 16 x 16 keyed picture beside the caption, 120 x 32",
                  L"BUTTON via WM_PRINTCLIENT + blit to its window", [bench] { bench->pictured->Refresh(); },
                  [bench] { bench->PrintNative(); },
                  200});
  return rows;
});

}  // namespace
}  // namespace tessel::bench
