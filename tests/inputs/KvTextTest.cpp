#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/Form.h"
#include "server/contract/Twips.h"
#include "inputs/KvText.h"
#include "tests/inputs/TextInputHarness.h"
#include "tests/support/Pixels.h"

namespace tessel::test::textinput {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<int> Bounds(const Constituent& c) { return {c.Left(), c.Top(), c.Width(), c.Height()}; }

using KvTextTest = TextInputTest;

TEST_F(KvTextTest, HeightStaysBetween330And550) {
  auto& field = Add<KvText>(L"KvText", L"Nome", 0, 0, 3000, 1000);
  for (auto [asked, kept] : {std::pair{1000, 550}, std::pair{100, 330}, std::pair{400, 400}}) {
    field.SetHeight(asked);
    EXPECT_EQ(field.Height(), kept);
    EXPECT_EQ(field.Fundo().Height(), kept);
    EXPECT_EQ(field.TxtCampo().Height(), kept - 60);
  }
}

TEST_F(KvTextTest, CaptionBranchAndEmptyCaptionBranchUseTheirOwnInsets) {
  auto& field = Add<KvText>(L"KvText", L"Nome", 0, 0, 3000, 400);
  EXPECT_EQ(field.Caption(), L"Label1");
  EXPECT_EQ(field.Text(), L"Text1");
  const int label = field.LblCaption().Width();
  ASSERT_GT(label, 0);
  EXPECT_TRUE(field.LblCaption().Visible());
  EXPECT_EQ(field.LblCaption().Left(), 0);
  EXPECT_EQ(field.LblCaption().Top(), 30);
  EXPECT_EQ(Bounds(field.Fundo()), (std::vector<int>{label + 100, 0, 3000 - (label + 100), 400}));
  EXPECT_EQ(Bounds(field.TxtCampo()), (std::vector<int>{label + 160, 30, 3000 - (label + 100) - 100, 340}));

  std::vector<std::wstring> changed;
  form_->onPropertyChanged = [&](const std::wstring&, std::wstring_view key) { changed.emplace_back(key); };
  field.SetCaption(L"");
  EXPECT_FALSE(field.LblCaption().Visible());
  EXPECT_EQ(Bounds(field.Fundo()), (std::vector<int>{0, 0, 3000, 400}));
  EXPECT_EQ(Bounds(field.TxtCampo()), (std::vector<int>{60, 60, 2900, 310}));

  // A longer caption pushes the box right and narrows it; its right edge stays at the control's.
  field.SetCaption(L"Nome completo do cliente:");
  const int longer = field.LblCaption().Width();
  EXPECT_GT(longer, label);
  EXPECT_TRUE(field.LblCaption().Visible());
  EXPECT_EQ(field.Fundo().Left(), longer + 100);
  EXPECT_EQ(field.Fundo().Left() + field.Fundo().Width(), 3000);
  EXPECT_EQ(Bounds(field.TxtCampo()), (std::vector<int>{longer + 160, 30, 3000 - (longer + 100) - 100, 340}));
  EXPECT_THAT(changed, ElementsAre(L"Caption", L"Caption"));

  // A new caption font takes effect at the next layout, not before.
  const int before = field.Fundo().Left();
  field.SetFontCaption(Font::Create(FontDesc{L"Arial", 14.0f, FW_BOLD}));
  EXPECT_EQ(field.Fundo().Left(), before);
  field.SetWidth(9000);
  EXPECT_EQ(field.Fundo().Left(), field.LblCaption().Width() + 100);
  EXPECT_NE(field.Fundo().Left(), before);
  EXPECT_EQ(field.Fundo().Left() + field.Fundo().Width(), 9000);
}

TEST_F(KvTextTest, ANarrowControlKeepsTheBoxWidthAndLaysOutTheRest) {
  auto& field = Add<KvText>(L"KvText", L"Nome", 0, 0, 3000, 400);
  const int label = field.LblCaption().Width();
  const std::vector<int> box = Bounds(field.Fundo());
  field.SetWidth(label + 50);  // narrower than the caption plus 100
  EXPECT_EQ(field.Fundo().Width(), box[2]);
  EXPECT_EQ(field.Fundo().Left(), label + 100);
  EXPECT_EQ(field.TxtCampo().Width(), box[2] - 100);
  // The height steps after the refused one still run.
  field.SetHeight(500);
  EXPECT_EQ(field.Fundo().Height(), 500);
  EXPECT_EQ(field.TxtCampo().Height(), 440);
}

TEST_F(KvTextTest, BackColorPaintsTheFieldAndTheBoxAlike) {
  auto& field = Add<KvText>(L"KvText", L"Nome", 600, 300, 3000, 450);
  field.SetCaption(L"");
  field.SetBorderColor(0x0000FF);
  field.SetBackColor(0x00FFFF);
  EXPECT_EQ(field.Fundo().BackColor(), 0x00FFFFu);
  EXPECT_EQ(field.Fundo().FillColor(), 0x00FFFFu);
  EXPECT_EQ(field.TxtCampo().BackColor(), 0x00FFFFu);
  Form::PumpMessages();

  // The outline, the box above the field, and the field right of its text.
  unique_hbitmap shot = form_->Snapshot();
  const int left = PixelsFromTwipsX(600), top = PixelsFromTwipsY(300);
  const int mid = left + PixelsFromTwipsX(1500), fieldRight = left + PixelsFromTwipsX(60 + 2900);
  ExpectPixels(DibProbe(shot.get()), {{mid, top, RGB(255, 0, 0)}, {mid, top + 2, RGB(255, 255, 0)},
                                      {fieldRight - 3, top + PixelsFromTwipsY(60) + 3, RGB(255, 255, 0)}});
}

TEST_F(KvTextTest, ForwardsChangeKeyDownAndKeyPressWithoutConvertingKeys) {
  auto& field = Add<KvText>(L"KvText", L"Nome", 0, 0, 3000, 400);
  field.SetText(L"");
  std::vector<std::string> log;
  field.events.Change = [&] { log.push_back("Change"); };
  field.events.KeyDown = [&](int16_t& k, int16_t&) { log.push_back("KeyDown(" + std::to_string(k) + ")"); };
  field.events.KeyPress = [&](int16_t& k) {
    log.push_back("KeyPress(" + std::to_string(k) + ")");
    if (k == 'z') k = 0;
  };
  HWND edit = field.TxtCampo().Window();
  SetFocus(edit);
  Type(edit, L'A');
  Type(edit, L'z');
  Type(edit, L'\r', VK_RETURN);
  EXPECT_EQ(field.Text(), L"A");
  EXPECT_THAT(log, ElementsAre("KeyDown(65)", "KeyPress(65)", "Change", "KeyDown(90)", "KeyPress(122)",
                               "KeyDown(13)", "KeyPress(13)"));
  EXPECT_THAT(host_.calls, IsEmpty());  // Enter is nothing special here
  EXPECT_EQ(GetFocus(), edit);
}

TEST_F(KvTextTest, WritesNameTheirKeysAndReadingLaysOutOnceWithTheStoredCaption) {
  auto& field = Add<KvText>(L"KvText", L"Origem", 0, 0, 3000, 400);
  // A new instance differs from the bag defaults only by its designed white field.
  PropertyBag fresh = Saved(L"Origem");
  EXPECT_THAT(Keys(fresh), ElementsAre(L"BackColor"));
  EXPECT_EQ(fresh.ReadInt32(L"BackColor", 0), 0xFFFFFF);

  std::vector<std::wstring> changed;
  form_->onPropertyChanged = [&](const std::wstring&, std::wstring_view key) { changed.emplace_back(key); };
  field.SetAlignment(1);
  field.SetBackColor(0xE0FFFF);
  field.SetBorderColor(0x404040);
  field.SetCaption(L"Cidade:");
  field.SetEnabled(false);
  field.SetForeColor(0x000080);
  field.SetFontColor(0x008000);
  field.SetLocked(true);
  field.SetMaxLength(30);
  field.SetPasswordChar(L"#");
  field.SetText(L"Lisboa");
  field.SetFont(Font::Create(FontDesc{L"Arial", 10.0f}));
  field.SetFontCaption(Font::Create(FontDesc{L"Arial", 9.0f, FW_BOLD}));
  EXPECT_THAT(changed, ElementsAre(L"Alignment", L"BackColor", L"BorderColor", L"Caption", L"Enabled", L"ForeColor",
                                   L"FontColor", L"Locked", L"MaxLength", L"PasswordChar", L"Text", L"Font",
                                   L"FontCaption"));

  PropertyBag bag = Saved(L"Origem");
  KvText* copy = Load<KvText>(L"KvText", L"Copia", bag, 0, 600, 3000, 400);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Fundo().BackColor(), 0xE0FFFFu);  // the box follows the stored field colour
  EXPECT_EQ(copy->Fundo().FillColor(), 0xE0FFFFu);
  // Laid out at the end, with the stored caption and caption font.
  EXPECT_EQ(copy->Fundo().Left(), copy->LblCaption().Width() + 100);
  EXPECT_EQ(copy->LblCaption().Width(), field.LblCaption().Width());
}

TEST_F(KvTextTest, AnEmptyStoredCaptionLoadsIntoTheWideBranch) {
  PropertyBag bag;
  bag.Write(L"Caption", std::wstring());
  KvText* field = Load<KvText>(L"KvText", L"SemRotulo", bag, 0, 0, 2000, 200);
  ASSERT_TRUE(field);
  EXPECT_EQ(field->Height(), 330);
  EXPECT_FALSE(field->LblCaption().Visible());
  EXPECT_EQ(Bounds(field->Fundo()), (std::vector<int>{0, 0, 2000, 330}));
  EXPECT_EQ(Bounds(field->TxtCampo()), (std::vector<int>{60, 60, 1900, 240}));
  PropertyBag stored;
  stored.Write(L"Alignment", int16_t{3});
  EXPECT_EQ(Load<KvText>(L"KvText", L"Ruim", stored), nullptr);
  ASSERT_EQ(form_->LoadFailures().size(), 1u);
  EXPECT_EQ(form_->LoadFailures()[0].key, L"Alignment");
}

}  // namespace
}  // namespace tessel::test::textinput
