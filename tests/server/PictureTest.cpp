#include "server/contract/Picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/ImageBytes.h"
#include "tests/support/Leaks.h"
#include "tests/support/Pixels.h"

namespace tessel {
namespace {

using test::EncodeImage;
using test::IconFile;
using test::ImageFormat;
using test::Canvas;
using test::ExpectPixels;

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

    // At its own size from the destination's corner (left, right and below it the canvas stays).
    Canvas canvas(10, 6, RGB(1, 2, 3));
    picture->Render(canvas.dc(), RECT{2, 1, 10, 6}, false);
    ExpectPixels(canvas, {{1, 1, RGB(1, 2, 3)}, {2, 1, RGB(255, 0, 0)}, {3, 1, RGB(0, 255, 0)}, {4, 1, RGB(0, 0, 255)},
                          {5, 1, RGB(255, 255, 255)}, {2, 2, RGB(0, 0, 0)}, {3, 2, RGB(255, 255, 0)},
                          {5, 2, RGB(0, 255, 255)}, {6, 1, RGB(1, 2, 3)}, {2, 3, RGB(1, 2, 3)}});
    // Stretched twice as large into the whole area given.
    Canvas big(8, 4, RGB(1, 2, 3));
    picture->Render(big.dc(), RECT{0, 0, 8, 4}, true);
    ExpectPixels(big, {{0, 0, RGB(255, 0, 0)}, {1, 1, RGB(255, 0, 0)}, {7, 0, RGB(255, 255, 255)}, {7, 3, RGB(0, 255, 255)}});
    // At its own size into a smaller destination: clipped to it.
    Canvas clip(8, 4, RGB(1, 2, 3));
    picture->Render(clip.dc(), RECT{1, 1, 3, 2}, false);
    ExpectPixels(clip, {{1, 1, RGB(255, 0, 0)}, {2, 1, RGB(0, 255, 0)}, {3, 1, RGB(1, 2, 3)}, {1, 2, RGB(1, 2, 3)}});
  }
}

TEST_F(PictureTest, GifAndJpegDecodeToBitmapsOfTheirSize) {
  std::vector<uint8_t> gif = EncodeImage(ImageFormat::Gif, 7, 3, std::vector<uint32_t>(21, 0xFF000000));
  PictureRef fromGif = Picture::FromBytes(gif);
  EXPECT_EQ(fromGif->Kind(), PictureKind::Bitmap);
  EXPECT_EQ(fromGif->SizePixels().cx, 7);
  EXPECT_EQ(fromGif->SizePixels().cy, 3);
  EXPECT_EQ(fromGif->Bytes(), gif);

  PictureRef picture = Picture::FromBytes(EncodeImage(ImageFormat::Jpeg, 24, 16, std::vector<uint32_t>(24 * 16, 0xFFFF8000)));
  EXPECT_EQ(picture->Kind(), PictureKind::Bitmap);
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
  EXPECT_EQ(picture->Bytes(), icon);
  Canvas canvas(40, 40, RGB(9, 9, 9));
  picture->Render(canvas.dc(), RECT{4, 4, 40, 40}, false);
  ExpectPixels(canvas, {{3, 3, RGB(9, 9, 9)}, {4, 4, RGB(0, 128, 255)}, {35, 35, RGB(0, 128, 255)}, {36, 36, RGB(9, 9, 9)}});

  std::vector<uint8_t> cursor = IconFile(16, RGB(255, 0, 0), true, POINT{3, 5});
  PictureRef pointer = Picture::FromBytes(cursor);
  EXPECT_EQ(pointer->Kind(), PictureKind::Cursor);
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
  ExpectPixels(canvas, {{15, 15, RGB(255, 0, 0)}, {2, 2, RGB(1, 2, 3)}, {28, 28, RGB(1, 2, 3)}});
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
  EXPECT_EQ(again->Bytes(), fromHandle->Bytes());
  Canvas canvas(5, 3, 0);
  again->Render(canvas.dc(), RECT{0, 0, 5, 3}, false);
  ExpectPixels(canvas, {{0, 0, RGB(0, 200, 0)}, {4, 2, RGB(10, 20, 30)}});

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

  // Loading, drawing and destroying every kind, or failing to load, gives every handle back.
  test::ExpectNoLeaks([&] {
    Canvas canvas(20, 20, 0);
    for (const auto* bytes : {&png, &jpeg, &icon}) Picture::FromBytes(*bytes)->Render(canvas.dc(), RECT{0, 0, 20, 20}, true);
    LoadError(std::vector<uint8_t>(png.begin(), png.begin() + 40));
    LoadError(shortIcon);
  });
}

}  // namespace
}  // namespace tessel
