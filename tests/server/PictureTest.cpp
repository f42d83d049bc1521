#include "server/contract/Picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/GdiCount.h"
#include "tests/support/ImageBytes.h"

namespace tessel {
namespace {

using test::EncodeImage;
using test::IconFile;
using test::ImageFormat;

// A 32-bpp top-down canvas that pictures are rendered into and read back from.
class Canvas {
 public:
  Canvas(int w, int h, COLORREF background) : w_(w) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < w * h; ++i) bits_[i] = RGB(GetBValue(background), GetGValue(background), GetRValue(background));
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  // The pixel as a COLORREF (0x00BBGGRR).
  COLORREF At(int x, int y) const {
    GdiFlush();
    uint32_t p = bits_[y * w_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

 private:
  int w_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint32_t* bits_ = nullptr;
};

// A 4 x 2 image: red, green, blue, white over black, yellow, magenta, cyan.
std::vector<uint32_t> Quads() {
  return {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};
}

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(PictureTest, LosslessBitmapsComeBackPixelForPixel) {
  for (ImageFormat format : {ImageFormat::Png, ImageFormat::Bmp}) {
    SCOPED_TRACE(static_cast<int>(format));
    std::vector<uint8_t> bytes = EncodeImage(format, 4, 2, Quads());
    PictureRef picture = Picture::FromBytes(bytes);
    EXPECT_EQ(picture->Kind(), PictureKind::Bitmap);
    EXPECT_EQ(picture->SizePixels().cx, 4);
    EXPECT_EQ(picture->SizePixels().cy, 2);
    EXPECT_EQ(picture->Bytes(), bytes);
    EXPECT_EQ(GetObjectType(picture->Handle()), DWORD(OBJ_BITMAP));

    Canvas canvas(10, 6, RGB(1, 2, 3));
    picture->Render(canvas.dc(), RECT{2, 1, 10, 6}, false);
    EXPECT_EQ(canvas.At(1, 1), RGB(1, 2, 3));  // left of the picture
    EXPECT_EQ(canvas.At(2, 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(3, 1), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(4, 1), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(5, 1), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(3, 2), RGB(255, 255, 0));
    EXPECT_EQ(canvas.At(5, 2), RGB(0, 255, 255));
    EXPECT_EQ(canvas.At(6, 1), RGB(1, 2, 3));  // right of it: drawn at its own size
    EXPECT_EQ(canvas.At(2, 3), RGB(1, 2, 3));

    // Stretched twice as large into the whole canvas area given.
    Canvas big(8, 4, RGB(1, 2, 3));
    picture->Render(big.dc(), RECT{0, 0, 8, 4}, true);
    EXPECT_EQ(big.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(big.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(big.At(7, 0), RGB(255, 255, 255));
    EXPECT_EQ(big.At(7, 3), RGB(0, 255, 255));
  }
}

TEST_F(PictureTest, RenderingAtItsOwnSizeIsClippedToTheDestination) {
  PictureRef picture = Picture::FromBytes(EncodeImage(ImageFormat::Png, 4, 2, Quads()));
  Canvas canvas(8, 4, RGB(1, 2, 3));
  picture->Render(canvas.dc(), RECT{1, 1, 3, 2}, false);
  EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(2, 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(3, 1), RGB(1, 2, 3));
  EXPECT_EQ(canvas.At(1, 2), RGB(1, 2, 3));
}

TEST_F(PictureTest, GifDecodesToABitmapOfItsSize) {
  std::vector<uint8_t> bytes = EncodeImage(ImageFormat::Gif, 7, 3, std::vector<uint32_t>(21, 0xFF000000));
  PictureRef picture = Picture::FromBytes(bytes);
  EXPECT_EQ(picture->Kind(), PictureKind::Bitmap);
  EXPECT_EQ(picture->SizePixels().cx, 7);
  EXPECT_EQ(picture->SizePixels().cy, 3);
  EXPECT_EQ(picture->Bytes(), bytes);
}

TEST_F(PictureTest, JpegDecodesToABitmapOfItsSize) {
  std::vector<uint32_t> orange(24 * 16, 0xFFFF8000);
  std::vector<uint8_t> bytes = EncodeImage(ImageFormat::Jpeg, 24, 16, orange);
  PictureRef picture = Picture::FromBytes(bytes);
  EXPECT_EQ(picture->Kind(), PictureKind::Bitmap);
  EXPECT_EQ(picture->SizePixels().cx, 24);
  EXPECT_EQ(picture->SizePixels().cy, 16);
  EXPECT_EQ(picture->SizeHimetric().cx, MulDiv(24, 2540, 96));
  Canvas canvas(24, 16, 0);
  picture->Render(canvas.dc(), RECT{0, 0, 24, 16}, false);
  COLORREF c = canvas.At(12, 8);  // lossy: near the colour, not exactly it
  EXPECT_NEAR(GetRValue(c), 255, 6);
  EXPECT_NEAR(GetGValue(c), 128, 6);
  EXPECT_NEAR(GetBValue(c), 0, 6);
}

TEST_F(PictureTest, IconsAndCursorsKeepTheirKindAndSize) {
  std::vector<uint8_t> icon = IconFile(32, RGB(0, 128, 255));
  PictureRef picture = Picture::FromBytes(icon);
  EXPECT_EQ(picture->Kind(), PictureKind::Icon);
  EXPECT_EQ(picture->SizePixels().cx, 32);
  EXPECT_EQ(picture->SizePixels().cy, 32);
  EXPECT_EQ(picture->Bytes(), icon);
  Canvas canvas(40, 40, RGB(9, 9, 9));
  picture->Render(canvas.dc(), RECT{4, 4, 40, 40}, false);
  EXPECT_EQ(canvas.At(3, 3), RGB(9, 9, 9));
  EXPECT_EQ(canvas.At(4, 4), RGB(0, 128, 255));
  EXPECT_EQ(canvas.At(35, 35), RGB(0, 128, 255));
  EXPECT_EQ(canvas.At(36, 36), RGB(9, 9, 9));

  std::vector<uint8_t> cursor = IconFile(16, RGB(255, 0, 0), true, POINT{3, 5});
  PictureRef pointer = Picture::FromBytes(cursor);
  EXPECT_EQ(pointer->Kind(), PictureKind::Cursor);
  EXPECT_EQ(pointer->SizePixels().cx, 16);
  EXPECT_EQ(pointer->SizePixels().cy, 16);
  EXPECT_EQ(pointer->Bytes(), cursor);
}

TEST_F(PictureTest, EnhancedMetafilesPlayIntoTheDestination) {
  RECT frame{0, 0, 1000, 500};  // 10 x 5 mm
  HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
  ASSERT_NE(recorder, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 40, 20};
  FillRect(recorder, &all, red);
  DeleteObject(red);
  HENHMETAFILE emf = CloseEnhMetaFile(recorder);
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(emf, 0, nullptr));
  GetEnhMetaFileBits(emf, UINT(bytes.size()), bytes.data());
  DeleteEnhMetaFile(emf);

  PictureRef picture = Picture::FromBytes(bytes);
  EXPECT_EQ(picture->Kind(), PictureKind::Metafile);
  EXPECT_EQ(picture->Bytes(), bytes);
  EXPECT_GT(picture->SizeHimetric().cx, 0);
  Canvas canvas(30, 30, RGB(1, 2, 3));
  picture->Render(canvas.dc(), RECT{5, 5, 25, 25}, true);
  EXPECT_EQ(canvas.At(15, 15), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(2, 2), RGB(1, 2, 3));
  EXPECT_EQ(canvas.At(28, 28), RGB(1, 2, 3));
}

TEST_F(PictureTest, HandlesTakenOverAreStoredAsBytesThatLoadAgain) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 5, 3);
  ReleaseDC(nullptr, screen);
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    RECT all{0, 0, 5, 3};
    FillRect(dc, &all, green);
    SetPixel(dc, 4, 2, RGB(10, 20, 30));
    SelectObject(dc, old);
    DeleteObject(green);
    DeleteDC(dc);
  }
  PictureRef fromHandle = Picture::FromBitmap(bitmap);
  EXPECT_EQ(fromHandle->Handle(), bitmap);
  ASSERT_FALSE(fromHandle->Bytes().empty());
  PictureRef again = Picture::FromBytes(fromHandle->Bytes());
  EXPECT_EQ(again->Kind(), PictureKind::Bitmap);
  EXPECT_EQ(again->SizePixels().cx, 5);
  EXPECT_EQ(again->SizePixels().cy, 3);
  EXPECT_EQ(again->Bytes(), fromHandle->Bytes());
  Canvas canvas(5, 3, 0);
  again->Render(canvas.dc(), RECT{0, 0, 5, 3}, false);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 200, 0));
  EXPECT_EQ(canvas.At(4, 2), RGB(10, 20, 30));

  // An icon handle is stored as an icon file.
  PictureRef icon = Picture::FromIcon(CopyIcon(LoadIcon(nullptr, IDI_APPLICATION)));
  EXPECT_EQ(icon->Kind(), PictureKind::Icon);
  PictureRef iconAgain = Picture::FromBytes(icon->Bytes());
  EXPECT_EQ(iconAgain->Kind(), PictureKind::Icon);
  EXPECT_EQ(iconAgain->SizePixels().cx, icon->SizePixels().cx);
}

TEST_F(PictureTest, FilesLoadAndMissingFilesSaySo) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"tessel-picture-test.png";
  std::vector<uint8_t> bytes = EncodeImage(ImageFormat::Png, 4, 2, Quads());
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(f);
  PictureRef picture = Picture::FromFile(path);
  EXPECT_EQ(picture->Bytes(), bytes);
  DeleteFileW(path.c_str());
  try {
    Picture::FromFile(path);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("cannot open"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("tessel-picture-test.png"), std::string::npos) << e.what();
  }
}

std::string LoadError(const std::vector<uint8_t>& bytes) {
  try {
    Picture::FromBytes(bytes);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "loaded";
}

TEST_F(PictureTest, CorruptBytesGiveAClearErrorAndLeakNothing) {
  std::vector<uint8_t> png = EncodeImage(ImageFormat::Png, 4, 2, Quads());
  std::vector<uint8_t> jpeg = EncodeImage(ImageFormat::Jpeg, 8, 8, std::vector<uint32_t>(64, 0xFF808080));
  std::vector<uint8_t> icon = IconFile(16, RGB(1, 1, 1));
  {  // warm the decoders once, so their lasting caches are not counted as leaks
    Picture::FromBytes(png);
    Picture::FromBytes(jpeg);
    Picture::FromBytes(icon);
    LoadError(std::vector<uint8_t>(png.begin(), png.begin() + 40));
  }
  const unsigned before = test::GdiObjectCount();

  EXPECT_EQ(LoadError({}), "picture: there are no bytes to load");
  EXPECT_EQ(LoadError({'h', 'e', 'l', 'l', 'o'}),
            "picture: the bytes are not a picture of a known format (BMP, ICO, CUR, WMF, EMF, JPEG, PNG, GIF, "
            "TIFF); they begin with 68 65 6C 6C");
  std::string truncatedPng = LoadError(std::vector<uint8_t>(png.begin(), png.begin() + 40));
  EXPECT_EQ(truncatedPng.rfind("picture: the PNG data ", 0), 0u) << truncatedPng;
  std::string truncatedJpeg = LoadError(std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 20));
  EXPECT_EQ(truncatedJpeg.rfind("picture: the JPEG data ", 0), 0u) << truncatedJpeg;
  std::vector<uint8_t> badBmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(LoadError(badBmp).rfind("picture: the BMP data ", 0), 0u) << LoadError(badBmp);
  // An icon whose directory points past the end of the bytes.
  std::vector<uint8_t> shortIcon(icon.begin(), icon.begin() + 30);
  EXPECT_EQ(LoadError(shortIcon).rfind("picture: the icon data is corrupt", 0), 0u) << LoadError(shortIcon);

  // Loading, drawing and destroying every kind gives every handle back.
  for (int i = 0; i < 10; ++i) {
    Canvas canvas(20, 20, 0);
    for (const auto* bytes : {&png, &jpeg, &icon}) {
      PictureRef p = Picture::FromBytes(*bytes);
      p->Render(canvas.dc(), RECT{0, 0, 20, 20}, true);
      p->SizePixels();
    }
  }
  EXPECT_EQ(test::GdiObjectCount(), before);
}

}  // namespace
}  // namespace tessel
