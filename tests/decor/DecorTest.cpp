#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "decor/Bevel.h"
#include "decor/KvLinha.h"
#include "host/ControlTypesLibrary.h"
#include "host/EmbeddedControl.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/Twips.h"
#include "tests/support/Leaks.h"
#include "tests/support/Pixels.h"

// RECT has no operator== of its own.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

namespace tessel::test {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSilver = RGB(192, 192, 192);

// A control that stands a KvLinha on a coloured picture box of its own, as a panel does.
class Holder : public UserControl {
 public:
  explicit Holder(ControlSite& site) : UserControl(site), panel(site.OwnSurface(), L"Panel") {
    panel.SetBorderStyle(0);
    panel.SetBackColor(0x00204060);
    panel.Move(0, 0, 3000, 900);
    ExtenderProperties e;
    e.name = L"Rule";
    e.left = 150;
    e.top = 300;
    e.width = 1500;
    e.height = 600;
    rule = std::make_unique<EmbeddedControl>(
        panel, L"KvLinha", *ControlTypes::Default().Find(L"KvLinha"), e, site.Ambient(), site.Host());
  }
  ~Holder() override { rule.reset(); }
  std::wstring_view TypeName() const override { return L"Holder"; }

  PictureBox panel;
  std::unique_ptr<EmbeddedControl> rule;
};

class Decor : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterLibraryControls(ControlTypes::Default());
    ControlTypes::Default().Register(L"Holder", [](ControlSite& s) -> std::unique_ptr<UserControl> {
      return std::make_unique<Holder>(s);
    });
  }
  void SetUp() override {
    tx = TwipsPerPixelX();
    ty = TwipsPerPixelY();
    form = Form::Create(L"Decor", 6000, 4500);
  }
  DibProbe Shot() {
    Form::PumpMessages();
    shot = form->Snapshot();
    return DibProbe(shot.get());
  }
  // A window's rectangle in client pixels of another window.
  static RECT RectIn(HWND w, HWND of) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, of, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  int tx = 15, ty = 15;
  std::unique_ptr<Form> form;
  unique_hbitmap shot;
};

TEST_F(Decor, BevelStripsStandAlongTheFourSidesAndTheDefaultLookIsSunken) {
  auto& bevel = static_cast<Bevel&>(form->Add(L"Bevel", L"Bevel1", 20 * tx, 10 * ty, 3000, 1500));
  const int w = PixelsFromTwipsX(3000), h = PixelsFromTwipsY(1500);
  const int sx = PixelsFromTwipsX(20), sy = PixelsFromTwipsY(20);
  // Strip windows in pixels of the control: left, top, right, bottom.
  EXPECT_EQ(RectIn(bevel.Picture1().hWnd(), bevel.hWnd()), (RECT{0, 0, sx, h}));
  EXPECT_EQ(RectIn(bevel.Picture2().hWnd(), bevel.hWnd()), (RECT{0, 0, w, sy}));
  const int right = PixelsFromTwipsX(TwipsFromPixelsX(w) - 20);
  const int bottom = PixelsFromTwipsY(TwipsFromPixelsY(h) - 20);
  EXPECT_EQ(RectIn(bevel.Picture3().hWnd(), bevel.hWnd()), (RECT{right, 0, right + sx, h}));
  EXPECT_EQ(RectIn(bevel.Picture4().hWnd(), bevel.hWnd()), (RECT{0, bottom, w, bottom + sy}));
  // In twips, against the inner extent of the control's window.
  EXPECT_EQ(bevel.Picture3().Left(), bevel.ScaleWidth() - 20);
  EXPECT_EQ(bevel.Picture4().Top(), bevel.ScaleHeight() - 20);
  EXPECT_EQ(bevel.Picture4().Width(), 3000);
  EXPECT_EQ(bevel.Picture1().Height(), 1500);

  // Left and top grey, right and bottom white; inside the control's back colour, outside the form's.
  DibProbe p = Shot();
  const int x0 = 20, y0 = 10;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  ExpectPixels(p, {{x0, y0 + h / 2, kGrey}, {x0 + w / 2, y0, kGrey}, {x0 + w - 1, y0 + h / 2, kWhite},
                   {x0 + w / 2, y0 + h - 1, kWhite}, {x0 + w / 2, y0 + h / 2, face}, {x0 + w, y0 + h / 2, face}});
  EXPECT_EQ(p.Count(RECT{x0, y0, x0 + sx, y0 + h}, kGrey), sx * h);
}

TEST_F(Decor, BevelSytleRecoloursOnlyForZeroAndTwoAndIsNeverStored) {
  auto& bevel = static_cast<Bevel&>(form->Add(L"Bevel", L"Bevel1", 0, 0, 3000, 1500));
  const int w = PixelsFromTwipsX(3000), h = PixelsFromTwipsY(1500);
  auto sides = [&] {
    DibProbe p = Shot();
    return std::vector<std::string>{Hex(p.At(0, h / 2)), Hex(p.At(w / 2, 0)), Hex(p.At(w - 1, h / 2)),
                                    Hex(p.At(w / 2, h - 1))};
  };
  const std::vector<std::string> sunken{Hex(kGrey), Hex(kGrey), Hex(kWhite), Hex(kWhite)};
  const std::vector<std::string> raised{Hex(kWhite), Hex(kWhite), Hex(kGrey), Hex(kGrey)};

  bevel.SetBevelSytle(1);
  EXPECT_EQ(sides(), sunken);
  bevel.SetBevelSytle(2);
  EXPECT_EQ(sides(), raised);
  EXPECT_EQ(bevel.Picture1().BackColor(), 0xFFFFFFu);
  bevel.SetBevelSytle(-7);
  EXPECT_EQ(sides(), raised);
  bevel.SetBevelSytle(0);
  EXPECT_EQ(sides(), sunken);

  // A resize keeps the colours and moves the light strips to the new edges.
  bevel.SetBevelSytle(2);
  bevel.SetWidth(1500);
  bevel.SetHeight(750);
  const int w2 = PixelsFromTwipsX(1500), h2 = PixelsFromTwipsY(750);
  ExpectPixels(Shot(), {{w2 - 1, h2 / 2, kGrey}, {w2 / 2, h2 - 1, kGrey}, {w2 + 2, h2 / 2, GetSysColor(COLOR_BTNFACE)}});
  EXPECT_EQ(bevel.Picture3().Left(), bevel.ScaleWidth() - 20);
  // Nothing is sent to the container and nothing is saved.
  EXPECT_FALSE(form->Dirty());
  ASSERT_EQ(form->Save().size(), 1u);
  EXPECT_TRUE(form->Save()[0].bag.empty());
}

TEST_F(Decor, KvLinhaKeepsItsHeightAndDrawsTwoRowsAcrossItsWidth) {
  auto& linha = static_cast<KvLinha&>(form->Add(L"KvLinha", L"Linha1", 0, 40 * ty, 2000, 600));
  EXPECT_EQ(linha.Height(), 30);
  EXPECT_EQ(linha.Width(), 2000);
  linha.SetHeight(600);
  EXPECT_EQ(linha.Height(), 30);
  EXPECT_EQ(linha.Line1().X2(), 2000);
  EXPECT_EQ(linha.Line2().X2(), 2000);
  EXPECT_EQ(linha.Line2().Y1(), 20);
  RECT client;
  GetClientRect(linha.hWnd(), &client);
  EXPECT_EQ(client.bottom, PixelsFromTwipsY(30));

  const int w = PixelsFromTwipsX(2000);
  const int second = PixelsFromTwipsY(20);  // the second row at 15 twips a pixel
  if (ty == 15) EXPECT_EQ(second, 1);
  // Two full rows; past the control's right end and below its rows, the form.
  DibProbe p = Shot();
  const int top = 40;
  const COLORREF highlight = GetSysColor(COLOR_3DHILIGHT), face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(p.Count(RECT{0, top, w, top + 1}, kSilver), w);
  EXPECT_EQ(p.Count(RECT{0, top + second, w, top + second + 1}, highlight), w);
  ExpectPixels(p, {{w, top, face}, {0, top + PixelsFromTwipsY(30) + 1, face}});
  // Wider: the lines follow to the new end.
  linha.SetWidth(3000);
  const int w3 = PixelsFromTwipsX(3000);
  ExpectPixels(Shot(), {{w3 - 1, top, kSilver}, {w3 - 1, top + second, highlight}});
}

TEST_F(Decor, KvLinhaTakesTheBackColourOfWhatItStandsOn) {
  form->SetBackColor(0x00336699);
  auto& linha = form->Add(L"KvLinha", L"Linha1", 0, 0, 2000, 30);
  EXPECT_EQ(linha.BackColor(), 0x00336699u);
  form->SetBackColor(0x00112233);  // taken once, when it is created
  EXPECT_EQ(linha.BackColor(), 0x00336699u);
  EXPECT_TRUE(form->Save()[0].bag.empty());
}

TEST_F(Decor, AKvLinhaInsideAnotherControlIsSizedAndColouredLikeOneOnAForm) {
  auto& holder = static_cast<Holder&>(form->Add(L"Holder", L"Holder1", 0, 0, 3000, 900));
  ASSERT_TRUE(holder.rule && holder.rule->Control());
  auto& linha = static_cast<KvLinha&>(*holder.rule->Control());
  EXPECT_EQ(linha.Height(), 30);
  EXPECT_EQ(holder.rule->Height(), 30);  // the constituent reports what the control fixed
  EXPECT_EQ(linha.Width(), 1500);
  EXPECT_EQ(linha.BackColor(), 0x00204060u);
  EXPECT_EQ(GetParent(linha.hWnd()), holder.panel.hWnd());

  holder.rule->SetWidth(2250);
  EXPECT_EQ(linha.Line1().X2(), 2250);

  const int x = PixelsFromTwipsX(150), y = PixelsFromTwipsY(300), w = PixelsFromTwipsX(2250);
  ExpectPixels(Shot(), {{x, y, kSilver}, {x + w - 1, y + PixelsFromTwipsY(20), GetSysColor(COLOR_3DHILIGHT)},
                        {x - 1, y, RGB(0x60, 0x40, 0x20)}});  // and the panel around it
}

TEST_F(Decor, ALaterControlStandsInFrontAndTheFormFileBringsBothBack) {
  // A separator placed across the middle of a bevel shows over the bevel's own background.
  form->Add(L"Bevel", L"Bevel1", 0, 0, 3000, 1500);
  form->Add(L"KvLinha", L"Linha1", 300, 600, 2400, 30);
  static_cast<Bevel*>(form->Control(L"Bevel1"))->SetBevelSytle(2);
  const int x = PixelsFromTwipsX(1500), y = PixelsFromTwipsY(600);
  ExpectPixels(Shot(), {{x, y, kSilver}, {x, y + PixelsFromTwipsY(20), GetSysColor(COLOR_3DHILIGHT)}});

  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  const std::wstring path = std::wstring(dir) + L"tessel-decor-" + std::to_wstring(GetCurrentProcessId()) + L".tform";
  SaveForm(*form, path);
  std::vector<FormFileError> errors;
  auto loaded = OpenForm(path, true, errors, &ControlTypes::Default());
  DeleteFileW(path.c_str());
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(errors.empty());
  form = std::move(loaded);
  ASSERT_NE(form->Control(L"Linha1"), nullptr);
  EXPECT_EQ(form->Control(L"Linha1")->Width(), 2400);
  EXPECT_EQ(form->Control(L"Linha1")->Height(), 30);
  // The raised look was never stored: the loaded bevel is sunken, and the line still in front.
  ExpectPixels(Shot(), {{0, PixelsFromTwipsY(750), kGrey}, {PixelsFromTwipsX(3000) - 1, PixelsFromTwipsY(750), kWhite},
                        {x, y, kSilver}});
}

TEST_F(Decor, FormsWithDecorationsGiveBackEveryGdiObjectAndWindow) {
  form.reset();
  ExpectNoLeaks([this] {
    auto leak = Form::Create(L"Leak", 6000, 4500);
    leak->Add(L"Bevel", L"B1", 0, 0, 3000, 1500);
    static_cast<Bevel*>(leak->Control(L"B1"))->SetBevelSytle(2);
    leak->Add(L"KvLinha", L"L1", 0, 1600, 3000, 30);
    leak->Add(L"Holder", L"H1", 0, 1800, 3000, 900);
    leak->Control(L"B1")->SetWidth(2000);
    leak->Snapshot();
    Form::PumpMessages();
  });
}

}  // namespace
}  // namespace tessel::test

