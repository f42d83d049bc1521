#include "gallery/FrameSamples.h"

#include <array>
#include <cstdint>
#include <vector>

#include "frames/TzFrames.h"
#include "host/FormFile.h"

namespace tessel::gallery {
namespace {

// Every theme once: blue, silver and khaki plain or with a gradient header, gold with an icon on
// the right and a caption too long for the narrower headers, then custom and olive disabled (grey
// icons), the last with square corners.
constexpr std::array<FrameSample, 6> kRows{{
    {L"Clientes", 0, true, -1, -1, -1, true},
    {L"Contato", 1, true, 1, 1, 0, true},
    {L"Pagamento", 3, true, 0, -1, -1, false},
    {L"Dados do fornecedor", 4, true, 1, 3, 1, true},
    {L"Endere\u00E7o", 5, false, 1, 1, 0, true},
    {L"Observa\u00E7\u00F5es do pedido", 2, false, 0, 2, 0, false},
}};

}  // namespace

std::span<const FrameSample> FrameSampleRows() { return kRows; }

std::wstring FrameSampleName(int style, int row) {
  return L"fra" + std::to_wstring(style) + L"_" + std::to_wstring(row);
}

PictureRef FrameSampleIcon() {
  // Made as an icon file is: 32-bit colour rows with alpha, bottom row first, then the AND mask
  // (set outside the disc). An icon made at run time from a bitmap and a mask would lose its
  // transparency on its way through a form file on this platform.
  constexpr int kSize = 16, kColour = 6 + 16 + 40, kMask = kColour + kSize * kSize * 4;
  std::vector<uint8_t> ico(kMask + kSize * 4, 0);
  const auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) ico[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  put(2, 1, 2);                                  // an icon file
  put(4, 1, 2);                                  // of one image
  put(6, kSize | kSize << 8, 2);                 // 16 x 16
  put(10, 1, 2);                                 // one plane
  put(12, 32, 2);                                // 32 bits a pixel
  put(14, static_cast<uint32_t>(ico.size()) - 22, 4);
  put(18, 22, 4);                                // where the image begins
  put(22, 40, 4);                                // BITMAPINFOHEADER
  put(26, kSize, 4);
  put(30, 2 * kSize, 4);                         // colour and mask
  put(34, 1, 2);
  put(36, 32, 2);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double dx = x + 0.5 - kSize / 2, dy = y + 0.5 - kSize / 2, r2 = dx * dx + dy * dy;
      if (r2 > kSize * kSize / 4) {
        ico[kMask + y * 4 + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        continue;
      }
      // A blue disc with a white centre, opaque (BGRA).
      put(kColour + (y * kSize + x) * 4, r2 <= 9 ? 0xFFFFFFFFu : 0xFF1E5AC8u, 4);
    }
  return Picture::FromBytes(ico);
}

// The samples are laid out in pixels of a 96-dpi screen, 15 twips each: at any resolution they
// stand at the same size in twips.
namespace {
int Tw(int pixels96) { return pixels96 * 15; }
}  // namespace

void PlaceFrameSamples(Form& form, SampleContents contents) {
  const PictureRef icon = FrameSampleIcon();
  const FontRef tahoma = Font::Create(FontDesc{L"Tahoma", 8.0f});
  const int w = Tw(kFrameSampleWidth), h = Tw(kFrameSampleHeight);
  int row = 0;
  for (const FrameSample& sample : FrameSampleRows()) {
    for (int style = 0; style < kFrameSampleStyles; ++style) {
      const std::wstring name = FrameSampleName(style, row);
      const int x = Tw(kFrameSampleGap + style * (kFrameSampleWidth + kFrameSampleGap));
      const int y = Tw(kFrameSampleGap + row * (kFrameSampleHeight + kFrameSampleGap));
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
      // The line style keeps its caption in a gap as wide as the text: an icon there would cover it.
      if (sample.iconAlignment >= 0 && style != 7) {
        frame.SetIconAlignment(sample.iconAlignment);
        frame.SetPicture(icon);
      }
      frame.SetCaption(sample.caption);
      if (contents == SampleContents::FramesAndControls) {
        // The panel centres its caption in the whole frame: its field goes below two lines of it.
        const int top = style == 8 ? Tw(kFrameSampleHeight - 28) : Tw(32);
        const int inner = Tw(kFrameSampleWidth - 24);
        form.Add(L"KvTextBox", name + L"_txt", Tw(12), top, inner, Tw(22), name);
        if (style % 2 == 0 && style != 8)
          form.Add(L"KvLinha", name + L"_line", Tw(12), Tw(62), inner, Tw(2),
                   name);
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
  const int w = Tw(FrameSamplesWidth()), h = Tw(FrameSamplesHeight());
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
