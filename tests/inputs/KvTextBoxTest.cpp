// The rounded field through real keystrokes and focus changes, its outline, layout, storing and check.
#include "tests/support/Prelude.h"

#include "inputs/ValidarTextBox.h"
#include "tests/inputs/TextInputHarness.h"

namespace tessel::test {
namespace {

using KvTextBoxTest = InputTest;

TEST_F(KvTextBoxTest, TypedLettersTakeTheForcedCaseOfTheCodePageBeforeKeyPressAndTheFieldGetsWhatItLeaves) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Nome", 300, 300, 3000, 450);
  HWND edit = box.Texto().Window();
  SetFocus(edit);
  // {upper, typed, text, KeyPress and Change as raised}: the key events around them are the text box's.
  struct Case { bool upper; const wchar_t* typed; const wchar_t* text; const char* events; };
  const Case cases[] = {
      {false, L"Ab7\b", L"ab", "97 C 98 C 55 C 8 C "},
      {true, L"xY-", L"XY-", "88 C 89 C 45 C "},
      {false, L"aQbW", L"ab*", "97 C 113 98 C 119 C "},  // the handler zeroes 'q' and turns 'w' into '*'
  };
  std::string events;
  box.events.Change = [&] { events += "C "; };
  box.events.KeyPress = [&](int16_t& k) {
    events += std::to_string(k) + " ";
    k = k == 'q' ? 0 : k == 'w' ? '*' : k;
  };
  for (const Case& c : cases) {
    box.SetText(L"");
    box.SetCapitalizar(c.upper);
    events.clear();
    SendText(edit, c.typed);
    EXPECT_EQ(box.Text(), c.text);
    EXPECT_EQ(events, c.events);
  }
  // Text given through the property, and pasted text, keep their case.
  box.SetText(L"MiXeD");
  box.SetSelStart(5);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"aB"));
  EXPECT_EQ(box.Text(), L"MiXeDaB");
  EXPECT_THAT(host_.calls, IsEmpty());
  // A KeyDown handler's KeyCode reaches the field: Home turned into End.
  box.events.KeyDown = [](int16_t& k, int16_t&) { k = k == VK_HOME ? VK_END : k; };
  box.SetSelStart(2);
  SendMessageW(edit, WM_KEYDOWN, VK_HOME, 1);
  EXPECT_EQ(box.SelStart(), 7);
  // {typed, upper, forced}: outside ASCII the locale decides where the code page has both forms.
  std::vector<std::array<int, 3>> forced = {{'a', 1, 'A'}, {'Z', 0, 'z'}, {'a', 0, 'a'}, {8, 1, 8}, {27, 0, 27}, {'0', 1, '0'}, {'@', 1, '@'}, {'[', 0, '['}};
  if (GetACP() == 1252) forced.insert(forced.end(), {{0xE9, 1, 0xC9}, {0x03C9, 1, 0x03C9}});
  for (auto [typed, upper, want] : forced) EXPECT_EQ(KvTextBox::ForceCase(static_cast<int16_t>(typed), upper), want) << typed;
}

TEST_F(KvTextBoxTest, TheOutlineFollowsTheFocusAndEnterBecomesATabReachingNeitherFieldNorKeyPress) {
  auto& first = Add<KvTextBox>(L"KvTextBox", L"Primeiro", 600, 300, 3000, 450);
  auto& second = Add<KvTextBox>(L"KvTextBox", L"Segundo", 600, 1200, 3000, 450);
  for (KvTextBox* box : {&first, &second}) {
    box->SetColorOnFoco(0x0000FF);
    box->SetColorOffFoco(0xC0C0C0);
    box->SetBackStyle(0x00FF00);
  }
  EXPECT_EQ(first.BorderColor(), 0u) << "writing a focus colour does not repaint the outline by itself";
  // {field focused, first outline, second outline}; a BorderColor write lasts until the focus moves.
  struct Step { KvTextBox* focus; OleColor first, second; };
  for (Step s : {Step{&first, 0x0000FF, 0}, Step{&second, 0xC0C0C0, 0x0000FF}, Step{nullptr, 0xFF0000, 0x0000FF},
                 Step{&first, 0x0000FF, 0xC0C0C0}}) {
    s.focus ? (void)SetFocus(s.focus->Texto().Window()) : first.SetBorderColor(0xFF0000);
    EXPECT_EQ(first.BorderColor(), s.first);
    EXPECT_EQ(second.BorderColor(), s.second);
  }
  // The outline on the control's top row, the fill between the outline and the inset field.
  second.SetBorderColor(0xFF0000);
  Form::PumpMessages();
  const int left = PixelsFromTwipsX(600), mid = left + PixelsFromTwipsX(1500);
  const int top1 = PixelsFromTwipsY(300), top2 = PixelsFromTwipsY(1200);
  ExpectPixels(Shot(), {{mid, top1, RGB(255, 0, 0)}, {mid, top1 + 1, RGB(0, 255, 0)}, {left + 1, top1 + 15, RGB(0, 255, 0)},
                        {mid, top2, RGB(0, 0, 255)}, {mid, top2 + 1, RGB(0, 255, 0)}});
  // Enter: a Tab to the next control, sent without waiting.
  EventLog log;
  log.Watch(first.events);
  HWND edit1 = first.Texto().Window();
  SetFocus(edit1);
  host_.forwardKeys = true;  // the recorded Tab then goes to the platform, which moves the focus
  SendText(edit1, L"\r");
  EXPECT_EQ(first.Text(), L"Text1");
  EXPECT_THAT(log.lines, ElementsAre("KeyDown(13,0)", "KeyUp(13,0)"));
  EXPECT_THAT(host_.calls, ElementsAre(L"SendKeys({TAB}|0)"));
  EXPECT_EQ(GetFocus(), edit1) << "sent without waiting: the focus moves once the posted Tab is handled";
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == second.Texto().Window(); }));
  // The mouse events come from the field, in twips.
  SendMessageW(edit1, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 4));
  SendMessageW(edit1, WM_LBUTTONUP, 0, MAKELPARAM(10, 4));
  const std::string at = std::to_string(10 * TwipsPerPixelX()) + "," + std::to_string(4 * TwipsPerPixelY()) + ")";
  EXPECT_THAT(log.lines, testing::IsSupersetOf({"MouseDown(1,1," + at, "MouseUp(1,0," + at}));
}

TEST_F(KvTextBoxTest, LayoutInsetsTheFieldKeepsTheMinimumHeightAndReportsARefusedWidth) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Campo", 0, 0, 1500, 500);
  // {width, height asked, height kept, field width}: narrower than both insets, the field keeps its width.
  struct Size { int width, asked, height, field; };
  for (Size s : {Size{1500, 500, 500, 1440}, Size{1500, 200, 375, 1440}, Size{45, 600, 600, 1440}, Size{0, 600, 600, 1440}}) {
    host_.calls.clear();
    form_->Site(L"Campo")->Move(0, 0, s.width, s.asked);
    EXPECT_EQ(Bounds(box.Fundo()), (std::vector<int>{0, 0, s.width, s.height}));
    EXPECT_EQ(Bounds(box.Texto()), (std::vector<int>{30, 30, s.field, s.height - 60}));
    const std::wstring refused = L"SkippedStep(Campo|set Texto.Width|Invalid property value)";
    EXPECT_EQ(host_.calls, s.width < 60 ? std::vector<std::wstring>{refused} : std::vector<std::wstring>{});
  }
}

TEST_F(KvTextBoxTest, ANewFieldAStoredOneAndEveryWrite) {
  // New: the designed outline and focus colours differ from the stored defaults.
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Novo", 0, 0, 2400, 450);
  PropertyBag fresh = Written(box);
  EXPECT_THAT(Keys(fresh), ElementsAre(L"BorderStyle", L"BorderColor", L"ColorOnFoco", L"ColorOffFoco", L"ValidarCampo",
                                       L"ValidarMSG"));
  EXPECT_EQ(fresh.ReadInt16(L"BorderStyle", 3), 1);
  EXPECT_EQ(fresh.ReadInt32(L"BorderColor", -1) | fresh.ReadInt32(L"ColorOnFoco", -1) | fresh.ReadInt32(L"ColorOffFoco", -1), 0);
  // Stored without them; the stored selection lands in the designed text, which the stored text replaces.
  PropertyBag bag;
  bag.Write(L"SelStart", int32_t{1});
  bag.Write(L"SelText", std::wstring(L"XX"));
  bag.Write(L"Text", std::wstring(L"Ana"));
  KvTextBox* stored = Load<KvTextBox>(L"KvTextBox", L"Lido", bag);
  ASSERT_TRUE(stored);
  EXPECT_EQ(std::vector<OleColor>({stored->ColorOnFoco(), stored->ColorOffFoco(), stored->BorderColor(), stored->BackStyle()}),
            std::vector<OleColor>({0x0000FF, 0xC0C0C0, kSysWindowText, kSysWindow}));
  EXPECT_EQ(stored->BorderStyle(), 3);
  EXPECT_EQ(stored->Text(), L"Ana");
  // An alignment or border style out of range is refused, and nothing changes.
  EXPECT_THROW(box.SetAlignment(7), InvalidPropertyValue);
  EXPECT_THROW(box.SetAlignment(65538), InvalidPropertyValue);
  EXPECT_THROW(box.SetBorderStyle(7), InvalidPropertyValue);
  EXPECT_EQ(box.Alignment(), 0);
  EXPECT_EQ(box.BorderStyle(), 1);

  ExpectEachWriteNamesItsKey<KvTextBox>({[&] { box.SetBackColor(0x00FFFF); }, [&] { box.SetForeColor(0x800000); },
      [&] { box.SetEnabled(false); }, [&] { box.SetFont(Font::Create(FontDesc{})); },
      [&] { box.SetBackStyle(0x00FF00); }, [&] { box.SetBorderStyle(2); }, [&] { box.SetAlignment(2); },
      [&] { box.SetBorderColor(0x123456); }, [&] { box.SetLocked(true); }, [&] { box.SetMaxLength(20); },
      [&] { box.SetPasswordChar(L"*"); }, [&] { box.SetSelLength(3); }, [&] { box.SetSelStart(1); },
      [&] { box.SetSelText(L"x"); }, [&] { box.SetText(L"segredo"); }, [&] { box.SetCapitalizar(true); },
      [&] { box.SetColorOnFoco(0xFF00FF); }, [&] { box.SetColorOffFoco(0x808080); }, [&] { box.SetValidarCampo(true); },
      [&] { box.SetValidarMSG(L"Informe"); }});
}

// Texts past what a window name may hold reach the edit whole (the form tool's long-text case saves them).
TEST_F(KvTextBoxTest, TwoMillionCharactersGoThroughTheEditAndTheFormFileWhole) {
  const std::wstring text(2'000'000, L'x');
  const std::string form = "TesselForm 1\nForm\n  Width = 6000\n  Height = 3000\nEndForm\n"
                           "Control KvTextBox longo\n  .Left = 120\n  .Top = 120\n  .Width = 2400\n  .Height = 375\n"
                           "  Text = \"" + std::string(text.size(), 'x') + "\"\nEndControl\n";
  std::vector<FormFileError> errors;
  std::unique_ptr<Form> opened = OpenForm(ParseFormText(form, L"long.tform"), L"long.tform", true, errors, types_);
  ASSERT_TRUE(opened);
  EXPECT_TRUE(errors.empty());
  auto* field = dynamic_cast<KvTextBox*>(opened->Control(L"longo"));
  ASSERT_TRUE(field && field->Texto().Window());
  EXPECT_EQ(static_cast<size_t>(GetWindowTextLengthW(field->Texto().Window())), text.size());
  field->SetText(text + L"y");
  EXPECT_EQ(field->Text().size(), text.size() + 1);
  opened.reset();
  auto& placed = Add<KvTextBox>(L"KvTextBox", L"Placed", 0, 0, 2400, 450);
  placed.SetText(text);
  EXPECT_EQ(placed.Text(), text);
}

TEST_F(KvTextBoxTest, ValidarTextBoxRefusesOnlyAnEmptyRequiredField) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Nome", 0, 0, 2400, 450);
  box.SetValidarMSG(L"Informe o nome");
  const std::wstring shown = L"MessageBox(Informe o nome|Aten\u00e7\u00e3o!|" + std::to_wstring(MB_OK | MB_ICONINFORMATION) + L")";
  // {required, text, passes}; text deleted by a keystroke counts like text given.
  struct Case { bool required; const wchar_t* text; bool passes; };
  for (Case c : {Case{false, L"", true}, Case{true, L"", false}, Case{true, L" ", true}, Case{true, L"x\b", false}}) {
    box.SetValidarCampo(c.required);
    box.SetText(L"");
    SetFocus(box.Texto().Window());
    SendText(box.Texto().Window(), c.text);
    host_.calls.clear();
    EXPECT_EQ(ValidarTextBox(box), c.passes);
    EXPECT_EQ(host_.calls, c.passes ? std::vector<std::wstring>{} : std::vector<std::wstring>{shown});
  }
}

}  // namespace
}  // namespace tessel::test
