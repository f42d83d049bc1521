#include "server/contract/Picture.h"

#include "tests/support/Prelude.h"

#include "server/contract/SystemHandles.h"
#include "tests/support/HeapUse.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Leaks.h"
#include "tests/support/Pixels.h"

namespace tessel {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using namespace test;

constexpr COLORREF kBack = RGB(1, 2, 3);

// A 4 x 2 image: red, green, blue, white over black, yellow, magenta, cyan.
std::vector<uint8_t> Quads(ImageFormat format = ImageFormat::Png) {
  return EncodeImage(format, 4, 2,
                     {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF});
}

// The message of the error a load throws, or "loaded".
template <class Load>
std::string ErrorOf(Load load) {
  try {
    load();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "loaded";
}
std::string LoadError(const std::vector<uint8_t>& bytes) { return ErrorOf([&] { Picture::FromBytes(bytes); }); }

// A handle of each kind a program may hand over, made fresh for every picture.
HICON IconHandle() {
  unique_hbitmap image(CreateCompatibleBitmap(WindowDC(nullptr).get(), 32, 32));
  unique_hbitmap mask(CreateBitmap(32, 32, 1, 1, nullptr));
  ICONINFO info{TRUE, 0, 0, mask.get(), image.get()};
  return CreateIconIndirect(&info);  // copies both bitmaps
}
HBITMAP ColourBitmap() {
  HBITMAP bitmap = CreateCompatibleBitmap(WindowDC(nullptr).get(), 5, 3);
  unique_hdc dc(CreateCompatibleDC(nullptr));
  SelectGuard selected(dc.get(), bitmap);
  RECT all{0, 0, 5, 3};
  FillRect(dc.get(), &all, unique_hbrush(CreateSolidBrush(RGB(0, 200, 0))).get());
  SetPixel(dc.get(), 4, 2, RGB(10, 20, 30));
  return bitmap;
}
HBITMAP MonochromeBitmap() {
  const uint16_t rows[8] = {0x00FF, 0xFF00, 0x00FF, 0xFF00, 0x00FF, 0xFF00, 0x00FF, 0xFF00};
  return CreateBitmap(16, 8, 1, 1, rows);
}

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};

std::vector<uint8_t> RedMetafile() {  // 40 x 20 red in a frame of 10 x 5 mm
  RECT frame{0, 0, 1000, 500}, all{0, 0, 40, 20};
  HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
  FillRect(recorder, &all, unique_hbrush(CreateSolidBrush(RGB(255, 0, 0))).get());
  HENHMETAFILE emf = CloseEnhMetaFile(recorder);
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(emf, 0, nullptr));
  GetEnhMetaFileBits(emf, UINT(bytes.size()), bytes.data());
  DeleteEnhMetaFile(emf);
  return bytes;
}

// Every kind keeps its bytes as given and its size, and draws at its own size from the corner of
// the destination (clipped to it) or stretched over it; a metafile plays into the destination.
TEST_F(PictureTest, EachKindKeepsItsBytesAndDrawsAtItsSizeOrStretched) {
  struct Drawn { int w, h; RECT at; bool stretch; std::vector<test::Pixel> pixels; };
  const std::vector<Drawn> quads = {
      {10, 6, {2, 1, 10, 6}, false, {{1, 1, kBack}, {2, 1, RGB(255, 0, 0)}, {3, 1, RGB(0, 255, 0)}, {4, 1, RGB(0, 0, 255)},
                                     {5, 1, RGB(255, 255, 255)}, {2, 2, RGB(0, 0, 0)}, {5, 2, RGB(0, 255, 255)}, {6, 1, kBack},
                                     {2, 3, kBack}}},
      {8, 4, {0, 0, 8, 4}, true, {{1, 1, RGB(255, 0, 0)}, {7, 0, RGB(255, 255, 255)}, {7, 3, RGB(0, 255, 255)}}},
      {8, 4, {1, 1, 3, 2}, false, {{2, 1, RGB(0, 255, 0)}, {3, 1, kBack}, {1, 2, kBack}}}};
  const struct { const char* what; std::vector<uint8_t> bytes; PictureKind kind; SIZE size; std::vector<Drawn> drawn; } cases[] = {
      {"PNG", Quads(), PictureKind::Bitmap, {4, 2}, quads},
      {"BMP", Quads(ImageFormat::Bmp), PictureKind::Bitmap, {4, 2}, quads},
      {"GIF", EncodeImage(ImageFormat::Gif, 7, 3, std::vector<uint32_t>(21, 0xFF000000)), PictureKind::Bitmap, {7, 3}, {}},
      {"icon", IconFile(32, RGB(0, 128, 255)), PictureKind::Icon, {32, 32},
       {{40, 40, {4, 4, 40, 40}, false, {{3, 3, kBack}, {4, 4, RGB(0, 128, 255)}, {35, 35, RGB(0, 128, 255)}, {36, 36, kBack}}}}},
      {"cursor", IconFile(16, RGB(255, 0, 0), true, POINT{3, 5}), PictureKind::Cursor, {16, 16}, {}},
      {"metafile", RedMetafile(), PictureKind::Metafile, {38, 19},
       {{30, 30, {5, 5, 25, 25}, true, {{15, 15, RGB(255, 0, 0)}, {2, 2, kBack}, {28, 28, kBack}}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PictureRef picture = Picture::FromBytes(c.bytes);
    EXPECT_EQ(picture->Kind(), c.kind);
    EXPECT_EQ(picture->Bytes(), c.bytes);
    EXPECT_EQ(std::make_pair(picture->SizePixels().cx, picture->SizePixels().cy), std::make_pair(c.size.cx, c.size.cy));
    EXPECT_EQ(GetObjectType(picture->Handle()) == OBJ_BITMAP, c.kind == PictureKind::Bitmap);
    for (const Drawn& d : c.drawn) {
      Canvas canvas(d.w, d.h, kBack);
      picture->Render(canvas.dc(), d.at, d.stretch);
      ExpectPixels(canvas, d.pixels);
    }
  }
  PictureRef jpeg = Picture::FromBytes(EncodeImage(ImageFormat::Jpeg, 24, 16, std::vector<uint32_t>(24 * 16, 0xFFFF8000)));
  EXPECT_EQ(jpeg->SizeHimetric().cx, MulDiv(24, 2540, 96));
  Canvas canvas(24, 16, 0);
  jpeg->Render(canvas.dc(), RECT{0, 0, 24, 16}, false);
  const COLORREF c = canvas.At(12, 8);  // lossy: near the colour, not exactly it
  EXPECT_NEAR(GetRValue(c), 255, 6);
  EXPECT_NEAR(GetGValue(c), 128, 6);
  EXPECT_NEAR(GetBValue(c), 0, 6);
}

// A bitmap handed over, colour or monochrome, is the picture's handle and is stored as bytes that
// load again with the same pixels. (Icons go the same way: every test icon is made from a handle's bytes.)
TEST_F(PictureTest, BitmapsTakenOverAreStoredAsBytesThatLoadAgain) {
  const struct { HBITMAP bitmap; std::vector<test::Pixel> pixels; } cases[] = {
      {ColourBitmap(), {{0, 0, RGB(0, 200, 0)}, {4, 2, RGB(10, 20, 30)}}},
      {MonochromeBitmap(), {{0, 0, RGB(255, 255, 255)}, {8, 0, RGB(0, 0, 0)}, {0, 1, RGB(0, 0, 0)}, {15, 7, RGB(255, 255, 255)}}},
  };
  for (const auto& c : cases) {
    PictureRef picture = Picture::FromBitmap(c.bitmap);
    EXPECT_EQ(picture->Handle(), c.bitmap);
    PictureRef again = Picture::FromBytes(picture->Bytes());
    EXPECT_EQ(again->Bytes(), picture->Bytes());
    for (const PictureRef& p : {picture, again}) {
      Canvas canvas(p->SizePixels().cx, p->SizePixels().cy, RGB(9, 9, 9));
      p->Render(canvas.dc(), RECT{0, 0, canvas.width(), canvas.height()}, false);
      ExpectPixels(canvas, c.pixels);
    }
  }
}

TEST_F(PictureTest, FilesLoadAndMissingFilesSaySo) {
  const std::wstring path = (std::filesystem::temp_directory_path() / "tessel-picture-test.png").wstring();
  const std::vector<uint8_t> bytes = Quads();
  std::ofstream(std::filesystem::path(path), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  EXPECT_EQ(Picture::FromFile(path)->Bytes(), bytes);
  DeleteFileW(path.c_str());
  EXPECT_THAT(ErrorOf([&] { Picture::FromFile(path); }), AllOf(HasSubstr("cannot open"), HasSubstr("tessel-picture-test.png")));
}

std::vector<uint8_t> Cut(const std::vector<uint8_t>& bytes, size_t size) { return {bytes.begin(), bytes.begin() + size}; }
std::vector<uint8_t> Jpeg() { return EncodeImage(ImageFormat::Jpeg, 8, 8, std::vector<uint32_t>(64, 0xFF808080)); }

TEST_F(PictureTest, CorruptBytesGiveAClearError) {
  const std::pair<std::vector<uint8_t>, std::string> cases[] = {
      {{}, "picture: there are no bytes to load"},
      {{'h', 'e', 'l', 'l', 'o'}, "picture: the bytes are not a picture of a known format (BMP, ICO, CUR, WMF, EMF, "
                                  "JPEG, PNG, GIF, TIFF); they begin with 68 65 6C 6C"},
      {Cut(Quads(), 40), "picture: the PNG data "},
      {Cut(Jpeg(), 20), "picture: the JPEG data "},
      {{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "picture: the BMP data "},
      {Cut(IconFile(16, RGB(1, 1, 1)), 30), "picture: the icon data is corrupt"},  // its directory points past the end
  };
  for (const auto& [bytes, message] : cases) EXPECT_EQ(LoadError(bytes).substr(0, message.size()), message);
}

// Made, drawn and released (or failing to load) a hundred times, every kind gives back its heap and handles.
TEST_F(PictureTest, EveryKindGivesBackItsHeapAndHandles) {
  const std::vector<uint8_t> png = Quads(), bmp = Quads(ImageFormat::Bmp);
  const std::vector<uint8_t> icon = IconFile(32, RGB(1, 2, 3)), cursor = IconFile(32, RGB(4, 5, 6), true, POINT{7, 9});
  const std::vector<uint8_t> jpeg = Jpeg(), shortPng = Cut(png, 40), shortIcon = Cut(icon, 30);
  const struct Case { const char* what; std::function<PictureRef()> make; } cases[] = {
      {"icon handle", [] { return Picture::FromIcon(IconHandle()); }},
      {"icon file", [&] { return Picture::FromBytes(icon); }},
      {"cursor file", [&] { return Picture::FromBytes(cursor); }},
      {"bitmap handle", [] { return Picture::FromBitmap(ColourBitmap()); }},
      {"monochrome bitmap handle", [] { return Picture::FromBitmap(MonochromeBitmap()); }},
      {"BMP file", [&] { return Picture::FromBytes(bmp); }},
      {"PNG file", [&] { return Picture::FromBytes(png); }},
      {"JPEG file", [&] { return Picture::FromBytes(jpeg); }},
      {"corrupt PNG", [&] { return LoadError(shortPng), PictureRef(); }},
      {"corrupt icon", [&] { return LoadError(shortIcon), PictureRef(); }},
  };
  Canvas canvas(40, 40, 0);
  for (const Case& c : cases) {
    auto round = [&] {
      if (PictureRef picture = c.make()) {
        picture->Render(canvas.dc(), RECT{0, 0, 40, 40}, true);
        picture->SizePixels();
      }
    };
    for (int i = 0; i < 10; ++i) round();
    const int64_t heap = test::HeapBytesInUse();
    test::ExpectNoLeaks(round, 0, 100);
    EXPECT_LT(test::HeapBytesInUse() - heap, 100 * 8) << c.what << ": heap bytes kept over 100 pictures";
  }
}

// The picture object keeps 32 bits of a handle; about half of Wine's have bit 31 set, and each
// handle handed over comes back whole, not sign-extended.
TEST_F(PictureTest, AHandleHandedOverComesBackWhole) {
  for (int made = 0, high = 0; made < 256 && high < 4; ++made) {
    HBITMAP h = CreateBitmap(1, 1, 1, 32, nullptr);
    HICON icon = IconHandle();
    high += static_cast<int>((reinterpret_cast<uintptr_t>(h) >> 31 & 1) + (reinterpret_cast<uintptr_t>(icon) >> 31 & 1));
    EXPECT_EQ(Picture::FromBitmap(h)->Handle(), h);
    EXPECT_EQ(Picture::FromIcon(icon)->Handle(), icon);
  }
}

}  // namespace
}  // namespace tessel
