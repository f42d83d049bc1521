#pragma once
// Pictures put together by a test and compared pixel for pixel with PNG images kept beside the
// tests; TESSEL_UPDATE_GOLDEN=1 writes the kept images again instead (tests/README.md).
#include "tests/support/Prelude.h"

#include "server/contract/Picture.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/Twips.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Pixels.h"

namespace tessel::test {

// Rows of 0x00RRGGBB, filled with one colour and pasted into.
class Sheet : public PixelRows {
 public:
  Sheet(int width, int height, uint32_t fill) : pixels_(static_cast<size_t>(width) * height, fill) {
    width_ = width;
    height_ = height;
    rows_ = pixels_.data();
  }
  // Copies w x h pixels of from to (x, y), each where keep (when given) holds for it.
  void Paste(const PixelRows& from, int x, int y, int w, int h, const std::function<bool(int, int)>& keep = {}) {
    for (int fy = 0; fy < h; ++fy)
      for (int fx = 0; fx < w; ++fx)
        if (!keep || keep(fx, fy)) {
          const COLORREF c = from.At(fx, fy);
          pixels_[static_cast<size_t>(y + fy) * width_ + x + fx] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        }
  }
  void WritePng(const std::string& path) const {
    std::vector<uint32_t> argb(pixels_);
    for (uint32_t& p : argb) p |= 0xFF000000u;
    const std::vector<uint8_t> png = EncodeImage(ImageFormat::Png, width_, height_, argb);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  }

 private:
  std::vector<uint32_t> pixels_;
};

// The kept images of the screen's resolution: folder itself at 96 dpi, folder/dpi144 at 144 dpi.
inline std::string KeptImageFolder(const std::string& folder) {
  return ScreenDpiX() == 96 ? folder : folder + "/dpi" + std::to_string(ScreenDpiX());
}

// Writes sheet as the kept image at path when TESSEL_UPDATE_GOLDEN=1 (true); else expects the kept
// image to match it: every pixel, except where loose holds, where only the set of colours must
// match (glyph shapes come from the machine's rasteriser). The first differences are reported with
// where(x, y); a sheet that differs is written beside the kept image as "<name>.actual.png".
inline bool WriteOrExpectKeptImage(const std::string& path, const Sheet& sheet,
                                   const std::function<bool(int, int)>& loose = {},
                                   const std::function<std::string(int, int)>& where = {}) {
  if (const char* update = std::getenv("TESSEL_UPDATE_GOLDEN"); update && *update == '1') {
    CreateDirectoryA(path.substr(0, path.rfind('/')).c_str(), nullptr);  // another resolution's, the first time
    sheet.WritePng(path);
    return true;
  }
  PictureRef picture;
  EXPECT_NO_THROW(picture = Picture::FromFile(WideFromUtf8(path))) << "no kept image; TESSEL_UPDATE_GOLDEN=1 writes it";
  const DibProbe kept(picture ? static_cast<HBITMAP>(picture->Handle()) : nullptr);
  EXPECT_EQ(std::make_pair(kept.width(), kept.height()), std::make_pair(sheet.width(), sheet.height())) << path;
  if (kept.width() != sheet.width() || kept.height() != sheet.height()) return false;
  int differing = 0;
  std::set<COLORREF> keptLoose, drawnLoose;
  for (int y = 0; y < sheet.height(); ++y)
    for (int x = 0; x < sheet.width(); ++x) {
      const COLORREF was = kept.At(x, y), drawn = sheet.At(x, y);
      if (loose && loose(x, y)) {
        keptLoose.insert(was);
        drawnLoose.insert(drawn);
      } else if (was != drawn && ++differing <= 5) {
        ADD_FAILURE() << path << " differs at (" << x << ", " << y << ")" << (where ? where(x, y) : "") << ": kept "
                      << Hex(was) << ", drawn " << Hex(drawn);
      }
    }
  EXPECT_EQ(keptLoose, drawnLoose) << "the colours where glyphs lie, " << path;
  if (differing) sheet.WritePng(path.substr(0, path.size() - 4) + ".actual.png");
  EXPECT_EQ(differing, 0) << "what was drawn is in " << path.substr(0, path.size() - 4) << ".actual.png";
  return false;
}

}  // namespace tessel::test
