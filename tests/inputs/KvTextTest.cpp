// The captioned field: layouts and height limits, painting, events, and storing.
#include "tests/inputs/TextInputHarness.h"

namespace tessel::test {
namespace {

// Right of a caption the box starts 100 twips on, the field 60 in and 30 down; else 60 down.
void ExpectLayout(const KvText& field, int height, int box) {
  const bool captioned = !field.Caption().empty();
  const int left = captioned ? field.LblCaption().Width() + 100 : 0;
  EXPECT_EQ(field.LblCaption().Visible(), captioned);
  EXPECT_EQ(Bounds(field.Fundo()), (std::vector<int>{left, 0, box, height}));
  EXPECT_EQ(Bounds(field.TxtCampo()), (captioned ? std::vector<int>{left + 60, 30, box - 100, height - 60}
                                                  : std::vector<int>{60, 60, box - 100, height - 90}));
}

using KvTextTest = InputTest;

TEST_F(KvTextTest, TheBoxStandsRightOfTheCaptionOrTakesTheWholeWidthWithinItsHeightLimitsAndPassesKeysOn) {
  auto& field = Add<KvText>(L"KvText", L"Nome", 0, 0, 3000, 400);
  const int label = field.LblCaption().Width();
  ASSERT_GT(label, 0);
  EXPECT_EQ(Bounds(field.LblCaption()), (std::vector<int>{0, 30, label, field.LblCaption().Height()}));
  for (auto [asked, kept] : {std::pair{1000, 550}, std::pair{100, 330}, std::pair{400, 400}}) {
    field.SetHeight(asked);
    EXPECT_EQ(field.Height(), kept);
    ExpectLayout(field, kept, 3000 - label - 100);
  }
  field.SetCaption(L"");
  ExpectLayout(field, 400, 3000);
  // A new caption font takes effect at the next layout, not before.
  field.SetCaption(L"Nome completo do cliente:");
  const int before = field.Fundo().Left();
  field.SetFontCaption(Font::Create(FontDesc{L"Arial", 14.0f, FW_BOLD}));
  EXPECT_EQ(field.Fundo().Left(), before);
  field.SetWidth(9000);
  EXPECT_GT(field.Fundo().Left(), before);
  ExpectLayout(field, 400, 9000 - field.LblCaption().Width() - 100);
  // Narrower than the caption: the box keeps its width, the steps after the refused one still run.
  const int box = field.Fundo().Width();
  field.SetWidth(field.LblCaption().Width() + 50);
  field.SetHeight(500);
  ExpectLayout(field, 500, box);
  // Change, KeyDown and KeyPress are passed on without converting keys; the box is painted like the field.
  form_->Site(L"Nome")->Move(600, 300, 3000, 450);
  host_.calls.clear();  // the refused width above
  field.SetText(L"");
  EventLog log;
  log.Watch(field.events);
  HWND edit = field.TxtCampo().Window();
  SetFocus(edit);
  SendText(edit, L"Az\r");  // Enter is nothing special
  EXPECT_EQ(field.Text(), L"Az");
  EXPECT_THAT(log.lines, ElementsAre("KeyDown(65,0)", "KeyPress(65)", "Change", "KeyDown(90,0)", "KeyPress(122)", "Change",
                                     "KeyDown(13,0)", "KeyPress(13)"));
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(GetFocus(), edit);
  // The outline, the box above the field, and the field right of its text.
  field.SetCaption(L"");
  field.SetBorderColor(0x0000FF);
  field.SetBackColor(0x00FFFF);
  Form::PumpMessages();
  const int left = PixelsFromTwipsX(600), top = PixelsFromTwipsY(300);
  const int mid = left + PixelsFromTwipsX(1500), fieldRight = left + PixelsFromTwipsX(60 + 2900);
  ExpectPixels(Shot(), {{mid, top, RGB(255, 0, 0)}, {mid, top + 2, RGB(255, 255, 0)},
                        {fieldRight - 3, top + PixelsFromTwipsY(60) + 3, RGB(255, 255, 0)}});
}

TEST_F(KvTextTest, ANewFieldAStoredOneAndEveryWrite) {
  // New: only the designed white field differs from the stored defaults.
  auto& field = Add<KvText>(L"KvText", L"Origem", 0, 0, 3000, 400);
  PropertyBag fresh = Written(field);
  EXPECT_THAT(Keys(fresh), ElementsAre(L"BackColor"));
  EXPECT_EQ(fresh.ReadInt32(L"BackColor", 0), 0xFFFFFF);
  ExpectEachWriteNamesItsKey<KvText>({[&] { field.SetAlignment(1); }, [&] { field.SetBackColor(0xE0FFFF); },
      [&] { field.SetBorderColor(0x404040); }, [&] { field.SetCaption(L"Cidade:"); }, [&] { field.SetEnabled(false); },
      [&] { field.SetForeColor(0x000080); }, [&] { field.SetFontColor(0x008000); }, [&] { field.SetLocked(true); },
      [&] { field.SetMaxLength(30); }, [&] { field.SetPasswordChar(L"#"); }, [&] { field.SetText(L"Lisboa"); },
      [&] { field.SetFont(Font::Create(FontDesc{})); },
      [&] { field.SetFontCaption(Font::Create(FontDesc{L"Arial", 9.0f, FW_BOLD})); }});
  // Read back: the stored colour, caption and caption font; an empty stored caption gives the wide layout.
  KvText* copy = Load<KvText>(L"KvText", L"Copia", Written(field), 3000, 400);
  ASSERT_TRUE(copy);
  EXPECT_EQ(std::vector<OleColor>({copy->Fundo().BackColor(), copy->Fundo().FillColor()}),
            std::vector<OleColor>({0xE0FFFF, 0xE0FFFF}));
  EXPECT_EQ(copy->LblCaption().Width(), field.LblCaption().Width());
  ExpectLayout(*copy, 400, 3000 - copy->LblCaption().Width() - 100);
  PropertyBag empty;
  empty.Write(L"Caption", std::wstring());
  KvText* wide = Load<KvText>(L"KvText", L"SemRotulo", empty, 2000, 200);
  ASSERT_TRUE(wide);
  ExpectLayout(*wide, 330, 2000);
}

}  // namespace
}  // namespace tessel::test
