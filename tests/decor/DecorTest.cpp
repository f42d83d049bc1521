// The bevel and the rule on a real form: strips, looks, rows, order and form file.
#include "tests/support/Prelude.h"

#include "decor/Bevel.h"
#include "decor/KvLinha.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/Twips.h"
#include "tests/support/EventLog.h"
#include "tests/support/Pixels.h"

namespace tessel::test {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128), kWhite = RGB(255, 255, 255), kSilver = RGB(192, 192, 192);
const COLORREF kFace = GetSysColor(COLOR_BTNFACE), kHighlight = GetSysColor(COLOR_3DHILIGHT);

class Decor : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterLibraryControls(ControlTypes::Default()); }
  void SetUp() override { form = Form::Create(L"Decor", 6000, 4500); }
  DibProbe Shot() {
    Form::PumpMessages();
    shot = form->Snapshot();
    return DibProbe(shot.get());
  }
  // Left, top, right and bottom edge of a w x h pixel rectangle at x, y.
  std::vector<std::string> Sides(int x, int y, int w, int h) {
    DibProbe p = Shot();
    return {Hex(p.At(x, y + h / 2)), Hex(p.At(x + w / 2, y)), Hex(p.At(x + w - 1, y + h / 2)), Hex(p.At(x + w / 2, y + h - 1))};
  }

  std::unique_ptr<Form> form;
  unique_hbitmap shot;
};

const std::vector<std::string> kSunken{Hex(kGrey), Hex(kGrey), Hex(kWhite), Hex(kWhite)};
const std::vector<std::string> kRaised{Hex(kWhite), Hex(kWhite), Hex(kGrey), Hex(kGrey)};

TEST_F(Decor, BevelStripsShowTheLookOfTheLastStyleZeroOrTwoAndNothingIsStored) {
  auto& bevel = static_cast<Bevel&>(form->Add(L"Bevel", L"Bevel1", 300, 150, 3000, 1500));
  const int x = 20, y = 10, w = PixelsFromTwipsX(3000), h = PixelsFromTwipsY(1500);
  // New: sunken, strips one strip wide along the whole sides, the form inside.
  EXPECT_EQ(Sides(x, y, w, h), kSunken);
  const int strip = PixelsFromTwipsX(Bevel::kStripTwips);
  EXPECT_EQ(Shot().Count(RECT{x, y, x + strip, y + h}, kGrey), strip * h);
  ExpectPixels(Shot(), {{x + w / 2, y + h / 2, kFace}, {x + w, y + h / 2, kFace}, {x + strip, y + h / 2, kFace}});
  for (auto [style, look] : {std::pair{2, &kRaised}, {1, &kRaised}, {-7, &kRaised}, {0, &kSunken}, {2, &kRaised}}) {
    bevel.SetBevelSytle(style);
    EXPECT_EQ(Sides(x, y, w, h), *look) << "after " << style;
  }
  // A resize keeps the look and moves the right and bottom strips to the new edges.
  bevel.SetWidth(1500);
  bevel.SetHeight(750);
  EXPECT_EQ(Sides(x, y, PixelsFromTwipsX(1500), PixelsFromTwipsY(750)), kRaised);
  EXPECT_EQ(std::make_pair(bevel.Picture3().Left(), bevel.Picture4().Top()),
            std::make_pair(bevel.ScaleWidth() - Bevel::kStripTwips, bevel.ScaleHeight() - Bevel::kStripTwips));
  EXPECT_FALSE(form->Dirty());
  EXPECT_TRUE(form->Save().at(0).bag.empty());
}

// A bevel's one window draws its strips (the first over the later ones at the corners) and routes the
// mouse to them; strips asked for their handles get windows with the same pixels and events.
TEST_F(Decor, BevelStripsDrawnByTheBevelMatchStripsWithWindowsPixelForPixelAndEventForEvent) {
  const int w = PixelsFromTwipsX(1500), h = PixelsFromTwipsY(900);
  EventLog events;
  Bevel* bevels[4];
  for (int i = 0; i < 4; ++i) {
    bevels[i] = &static_cast<Bevel&>(form->Add(L"Bevel", L"B" + std::to_wstring(i), (i % 2) * 1800, (i / 2) * 1200, 1500, 900));
    bevels[i]->SetBevelSytle(i / 2 == 0 ? 0 : 2);
    EXPECT_EQ(GetWindow(bevels[i]->hWnd(), GW_CHILD), nullptr);
    for (PictureBox* strip : {&bevels[i]->Picture1(), &bevels[i]->Picture2(), &bevels[i]->Picture3(), &bevels[i]->Picture4()}) {
      // Appended, not added: g++ 12 sees an overlap that is not there in a string added in front.
      events.Watch(strip->events,
                   std::string(1, static_cast<char>('0' + i % 2)).append(Utf8FromWide(strip->Name())).append("."));
      ASSERT_TRUE(i % 2 == 0 || strip->Handle()) << "a window for the strip of bevel " << i;
    }
  }
  DibProbe p = Shot();
  const int dx = PixelsFromTwipsX(1800);
  for (int y = 0; y < PixelsFromTwipsY(2100); ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(Hex(p.At(x, y)), Hex(p.At(x + dx, y))) << "at " << x << "," << y;
  ExpectPixels(p, {{0, 0, kGrey}, {w - 1, 0, kGrey}, {0, h - 1, kGrey}, {w - 1, h - 1, kWhite}});

  // A press and release on each corner of the first bevel and of its twin with windows.
  for (int i = 0; i < 2; ++i)
    for (POINT at : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}}) {
      HWND target = bevels[i]->hWnd();
      POINT client = at;
      if (i) {
        target = ChildWindowFromPointEx(target, client, CWP_SKIPINVISIBLE);
        MapWindowPoints(bevels[i]->hWnd(), target, &client, 1);
      }
      SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
      SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    }
  const std::vector<std::string>& lines = events.lines;
  ASSERT_EQ(lines.size(), 24u);
  for (size_t e = 0; e < 12; ++e) EXPECT_EQ(lines[e].substr(1), lines[e + 12].substr(1));
  EXPECT_EQ(lines[0], "0Picture1.MouseDown(1,0,0,0)");
  EXPECT_EQ(lines[11], "0Picture3.Click");
}

// 30 twips high whatever is asked, a silver row and a highlight row across the whole width, on the
// back colour of what it stood on when it was made. (The link panel's tests place one inside a control.)
TEST_F(Decor, KvLinhaIsTwoRowsOnTheColourOfWhatItStandsOn) {
  form->SetBackColor(0x00336699);
  auto& rule = static_cast<KvLinha&>(form->Add(L"KvLinha", L"Linha1", 150, 1800, 1500, 600));
  form->SetBackColor(0x00112233);
  EXPECT_EQ(rule.BackColor(), 0x00336699u) << "taken once, when the rule is made";
  EXPECT_EQ(rule.Height(), KvLinha::kHeightTwips);
  rule.SetHeight(600);
  EXPECT_EQ(rule.Height(), KvLinha::kHeightTwips);
  rule.SetWidth(2250);
  EXPECT_EQ(rule.Line2().X2(), 2250);
  const int x = 10, y = 120, w = PixelsFromTwipsX(2250), second = PixelsFromTwipsY(KvLinha::kSecondLineTwips);
  const COLORREF around = RGB(0x33, 0x22, 0x11);
  DibProbe p = Shot();
  EXPECT_EQ(p.Count(RECT{x, y, x + w, y + 1}, kSilver), w);
  EXPECT_EQ(p.Count(RECT{x, y + second, x + w, y + second + 1}, kHighlight), w);
  ExpectPixels(p, {{x - 1, y, around}, {x + w, y, around}, {x, y + PixelsFromTwipsY(30) + 1, around}});
  EXPECT_TRUE(form->Save().at(0).bag.empty());
}

TEST_F(Decor, ALaterControlStandsInFrontAndTheFormFileBringsBothBack) {
  form->Add(L"Bevel", L"Bevel1", 0, 0, 3000, 1500);
  form->Add(L"KvLinha", L"Linha1", 300, 600, 2400, 30);
  static_cast<Bevel*>(form->Control(L"Bevel1"))->SetBevelSytle(2);
  const int x = PixelsFromTwipsX(1500), y = PixelsFromTwipsY(600);
  ExpectPixels(Shot(), {{x, y, kSilver}, {x, y + PixelsFromTwipsY(20), kHighlight}});

  std::vector<FormFileError> errors;
  form = OpenForm(ParseFormText(WriteFormText(DescribeForm(*form)), L"d.tform"), L"d.tform", true, errors,
                  &ControlTypes::Default());
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(errors.empty());
  ASSERT_NE(form->Control(L"Linha1"), nullptr);
  EXPECT_EQ(form->Control(L"Linha1")->Width(), 2400);
  // The raised look was never stored: the loaded bevel is sunken, and the line still in front.
  EXPECT_EQ(Sides(0, 0, PixelsFromTwipsX(3000), PixelsFromTwipsY(1500)), kSunken);
  ExpectPixels(Shot(), {{x, y, kSilver}});
}

}  // namespace
}  // namespace tessel::test
