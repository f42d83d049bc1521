#include "gallery/FrameSamples.h"

#include <array>

#include "frames/TzFrames.h"
#include "host/FormFile.h"
#include "server/contract/Gdi.h"
#include "server/contract/Twips.h"

namespace tessel::gallery {
namespace {

constexpr std::array<FrameSample, 4> kRows{{
    {L"Clientes", 0, true, -1, -1, -1, true},
    {L"Dados do fornecedor principal", 4, true, 1, 3, 1, true},
    {L"Endere\u00E7o", 5, false, 1, 1, 0, true},
    {L"Observa\u00E7\u00F5es gerais do pedido", 2, false, 0, 2, 0, false},
}};

}  // namespace

std::span<const FrameSample> FrameSampleRows() { return kRows; }

std::wstring FrameSampleName(int style, int row) {
  return L"fra" + std::to_wstring(style) + L"_" + std::to_wstring(row);
}

PictureRef FrameSampleIcon() {
  constexpr int kSize = 16;
  WindowDC screen(nullptr);
  unique_hbitmap color(CreateCompatibleBitmap(screen.get(), kSize, kSize));
  unique_hbitmap mask(CreateBitmap(kSize, kSize, 1, 1, nullptr));
  {
    unique_hdc dc(CreateCompatibleDC(screen.get()));
    SelectGuard bitmap(dc.get(), color.get());
    RECT all{0, 0, kSize, kSize};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    unique_hbrush blue(CreateSolidBrush(RGB(30, 90, 200)));
    SelectGuard brush(dc.get(), blue.get());
    SelectGuard pen(dc.get(), GetStockObject(NULL_PEN));
    Ellipse(dc.get(), 0, 0, kSize + 1, kSize + 1);
    SelectGuard white(dc.get(), GetStockObject(WHITE_BRUSH));
    Ellipse(dc.get(), 5, 5, 12, 12);
    // Transparent outside the disc: the mask is set where the colour is black.
    unique_hdc maskDc(CreateCompatibleDC(screen.get()));
    SelectGuard maskBitmap(maskDc.get(), mask.get());
    SetBkColor(dc.get(), RGB(0, 0, 0));
    BitBlt(maskDc.get(), 0, 0, kSize, kSize, dc.get(), 0, 0, SRCCOPY);
  }
  ICONINFO info{TRUE, 0, 0, mask.get(), color.get()};
  return Picture::FromIcon(CreateIconIndirect(&info));
}

void PlaceFrameSamples(Form& form, SampleContents contents) {
  const PictureRef icon = FrameSampleIcon();
  const FontRef tahoma = Font::Create(FontDesc{L"Tahoma", 8.0f});
  const int w = TwipsFromPixelsX(kFrameSampleWidth), h = TwipsFromPixelsY(kFrameSampleHeight);
  int row = 0;
  for (const FrameSample& sample : FrameSampleRows()) {
    for (int style = 0; style < kFrameSampleStyles; ++style) {
      const std::wstring name = FrameSampleName(style, row);
      const int x = TwipsFromPixelsX(kFrameSampleGap + style * (kFrameSampleWidth + kFrameSampleGap));
      const int y = TwipsFromPixelsY(kFrameSampleGap + row * (kFrameSampleHeight + kFrameSampleGap));
      auto& frame = static_cast<TzFrames&>(form.Add(L"tzFrames", name, x, y, w, h));
      frame.SetFont(tahoma);
      frame.SetStyle(style);
      frame.SetThemeColor(sample.theme);
      if (sample.theme == 5) {
        frame.SetColorFrom(RGB(120, 200, 150));
        frame.SetColorTo(RGB(235, 250, 240));
      }
      if (sample.headerStyle >= 0) frame.SetHeaderStyle(sample.headerStyle);
      if (sample.gradientHeaderStyle >= 0) frame.SetGradientHeaderStyle(sample.gradientHeaderStyle);
      frame.SetRoundedCorner(sample.roundedCorner);
      frame.SetTxtBoxShadow(style == 2 && row % 2 == 1 ? 1 : 0);
      if (sample.iconAlignment >= 0) {
        frame.SetIconAlignment(sample.iconAlignment);
        frame.SetPicture(icon);
      }
      frame.SetCaption(sample.caption);
      if (contents == SampleContents::FramesAndControls) {
        const int top = style == 8 ? TwipsFromPixelsY(50) : TwipsFromPixelsY(32);
        form.Add(L"KvTextBox", name + L"_txt", TwipsFromPixelsX(12), top, TwipsFromPixelsX(110), TwipsFromPixelsY(22),
                 name);
        if (style % 2 == 0 && style != 8)
          form.Add(L"KvLinha", name + L"_line", TwipsFromPixelsX(12), TwipsFromPixelsY(62), TwipsFromPixelsX(110),
                   TwipsFromPixelsY(2), name);
      }
      frame.SetEnabled(sample.enabled);  // reaches the controls inside
    }
    ++row;
  }
}

int FrameSamplesWidth() { return kFrameSampleGap + kFrameSampleStyles * (kFrameSampleWidth + kFrameSampleGap); }

int FrameSamplesHeight() {
  return kFrameSampleGap + static_cast<int>(kRows.size()) * (kFrameSampleHeight + kFrameSampleGap);
}

std::unique_ptr<Form> OpenFrameSamples(const std::wstring& title, const ControlTypes* types, SampleContents contents) {
  const int w = TwipsFromPixelsX(FrameSamplesWidth()), h = TwipsFromPixelsY(FrameSamplesHeight());
  std::string text;
  {
    auto made = Form::Create(title, w, h, true, types);
    PlaceFrameSamples(*made, contents);
    text = WriteFormText(DescribeForm(*made));
  }
  ParsedForm parsed = ParseFormText(text, title);
  auto form = Form::Create(title, w, h, true, types);
  for (ControlDescription& c : parsed.form.controls) form->AddLoaded(c.type, c.name, c.extender, c.bag);
  return form;
}

}  // namespace tessel::gallery
