#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/Form.h"
#include "server/contract/Twips.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "inputs/ValidarTextBox.h"
#include "tests/inputs/TextInputHarness.h"
#include "tests/support/Pixels.h"

namespace tessel::test::textinput {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Every event of a KvTextBox as one line of text, in the order raised.
struct EventLog {
  std::vector<std::string> lines;
  void Attach(KvTextBox& box) {
    box.events.KeyDown = [this](int16_t& k, int16_t& s) { lines.push_back("KeyDown(" + std::to_string(k) + ")"); };
    box.events.KeyUp = [this](int16_t& k, int16_t& s) { lines.push_back("KeyUp(" + std::to_string(k) + ")"); };
    box.events.KeyPress = [this](int16_t& k) {
      lines.push_back("KeyPress(" + std::to_string(k) + ")");
      if (onKeyPress) onKeyPress(k);
    };
    box.events.Change = [this] { lines.push_back("Change"); };
    auto mouse = [this](const char* what) {
      return [this, what](int16_t& b, int16_t& s, float& x, float& y) {
        lines.push_back(std::string(what) + "(" + std::to_string(b) + "," + std::to_string(s) + "," +
                        std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)) + ")");
      };
    };
    box.events.MouseDown = mouse("MouseDown");
    box.events.MouseMove = mouse("MouseMove");
    box.events.MouseUp = mouse("MouseUp");
  }
  std::function<void(int16_t&)> onKeyPress;
};

using KvTextBoxTest = TextInputTest;

TEST_F(KvTextBoxTest, TypedLettersTakeTheForcedCaseAndBackspacePassesUnchanged) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Nome", 300, 300, 3000, 450);
  box.SetText(L"");
  EventLog log;
  log.Attach(box);
  HWND edit = box.Texto().Window();
  ASSERT_TRUE(edit);
  SetFocus(edit);

  // Capitalizar False (a new instance): capitals arrive as small letters, digits as they are.
  Type(edit, L'A');
  Type(edit, L'b');
  Type(edit, L'7');
  EXPECT_EQ(box.Text(), L"ab7");
  Type(edit, L'\b', VK_BACK);
  EXPECT_EQ(box.Text(), L"ab");
  EXPECT_THAT(log.lines, ElementsAre("KeyDown(65)", "KeyPress(97)", "Change", "KeyUp(65)",   //
                                     "KeyDown(66)", "KeyPress(98)", "Change", "KeyUp(66)",   //
                                     "KeyDown(55)", "KeyPress(55)", "Change", "KeyUp(55)",   //
                                     "KeyDown(8)", "KeyPress(8)", "Change", "KeyUp(8)"));

  box.SetCapitalizar(true);
  log.lines.clear();
  Type(edit, L'x');
  Type(edit, L'Y');
  Type(edit, L'-');
  EXPECT_EQ(box.Text(), L"abXY-");
  EXPECT_THAT(log.lines, ElementsAre("KeyDown(88)", "KeyPress(88)", "Change", "KeyUp(88)",  //
                                     "KeyDown(89)", "KeyPress(89)", "Change", "KeyUp(89)",  //
                                     "KeyDown(189)", "KeyPress(45)", "Change", "KeyUp(189)"));
  // Text given through the property, and pasted text, keep their case.
  box.SetText(L"MiXeD");
  EXPECT_EQ(box.Text(), L"MiXeD");
  box.SetSelStart(5);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"aB"));
  EXPECT_EQ(box.Text(), L"MiXeDaB");
  EXPECT_THAT(host_.calls, IsEmpty());
}

TEST(KvTextBoxForceCase, FollowsTheAnsiCodePageAndLeavesCaselessCharactersAlone) {
  EXPECT_EQ(KvTextBox::ForceCase('a', true), 'A');
  EXPECT_EQ(KvTextBox::ForceCase('Z', false), 'z');
  EXPECT_EQ(KvTextBox::ForceCase('a', false), 'a');
  for (int16_t c : {int16_t{8}, int16_t{9}, int16_t{27}, int16_t{'0'}, int16_t{' '}, int16_t{'@'}, int16_t{'['}}) {
    EXPECT_EQ(KvTextBox::ForceCase(c, true), c) << c;
    EXPECT_EQ(KvTextBox::ForceCase(c, false), c) << c;
  }
  // Letters outside ASCII follow the locale's rules when the code page has both forms.
  wchar_t e = 0xE9, E = 0xC9;  // é and É
  char ansi[4] = {};
  BOOL lossy = FALSE;
  if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &e, 1, ansi, 4, nullptr, &lossy) == 1 && !lossy &&
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &E, 1, ansi, 4, nullptr, &lossy) == 1 && !lossy) {
    EXPECT_EQ(KvTextBox::ForceCase(static_cast<int16_t>(e), true), static_cast<int16_t>(E));
    EXPECT_EQ(KvTextBox::ForceCase(static_cast<int16_t>(E), false), static_cast<int16_t>(e));
  }
  // A character the ANSI code page cannot hold comes back as typed.
  const wchar_t omega = 0x03C9;
  lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &omega, 1, ansi, 4, nullptr, &lossy);
  if (n <= 0 || lossy) {
    EXPECT_EQ(KvTextBox::ForceCase(static_cast<int16_t>(omega), true), static_cast<int16_t>(omega));
  }
}

TEST_F(KvTextBoxTest, AHostHandlerDecidesWhatTheFieldReceives) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Codigo", 300, 300, 3000, 450);
  box.SetText(L"");
  EventLog log;
  log.Attach(box);
  // The handler sees the converted key: it zeroes 'q' and turns 'w' into '*'.
  log.onKeyPress = [](int16_t& k) {
    if (k == 'q') k = 0;
    if (k == 'w') k = '*';
  };
  HWND edit = box.Texto().Window();
  SetFocus(edit);
  TypeText(edit, L"aQbW");
  EXPECT_EQ(box.Text(), L"ab*");
  EXPECT_THAT(log.lines, ElementsAre("KeyDown(65)", "KeyPress(97)", "Change", "KeyUp(65)",  //
                                     "KeyDown(81)", "KeyPress(113)", "KeyUp(81)",           //
                                     "KeyDown(66)", "KeyPress(98)", "Change", "KeyUp(66)",  //
                                     "KeyDown(87)", "KeyPress(119)", "Change", "KeyUp(87)"));
}

TEST_F(KvTextBoxTest, EnterBecomesATabToTheNextControlAndReachesNeitherFieldNorKeyPress) {
  auto& first = Add<KvTextBox>(L"KvTextBox", L"Primeiro", 300, 300, 3000, 450);
  auto& second = Add<KvTextBox>(L"KvTextBox", L"Segundo", 300, 1000, 3000, 450);
  first.SetText(L"abc");
  EventLog log;
  log.Attach(first);
  HWND edit1 = first.Texto().Window();
  HWND edit2 = second.Texto().Window();
  SetFocus(edit1);
  ASSERT_EQ(GetFocus(), edit1);

  host_.forwardKeys = true;  // the recorded Tab then goes to the platform, which moves the focus
  Type(edit1, L'\r', VK_RETURN);
  EXPECT_EQ(first.Text(), L"abc");
  EXPECT_THAT(log.lines, ElementsAre("KeyDown(13)", "KeyUp(13)"));
  EXPECT_THAT(host_.calls, ElementsAre(L"SendKeys({TAB}|0)"));
  // Sent without waiting: the focus moves once the posted Tab is handled.
  EXPECT_EQ(GetFocus(), edit1);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == edit2; }));
  EXPECT_EQ(GetFocus(), edit2);
  EXPECT_EQ(second.Text(), L"Text1");
}

TEST_F(KvTextBoxTest, TheOutlineFollowsTheFocusAndBackStyleFillsTheRing) {
  auto& first = Add<KvTextBox>(L"KvTextBox", L"Primeiro", 600, 300, 3000, 450);
  auto& second = Add<KvTextBox>(L"KvTextBox", L"Segundo", 600, 1200, 3000, 450);
  // A new instance has black focus colours until they are set.
  EXPECT_EQ(first.ColorOnFoco(), 0u);
  EXPECT_EQ(first.ColorOffFoco(), 0u);
  for (KvTextBox* box : {&first, &second}) {
    box->SetColorOnFoco(0x0000FF);
    box->SetColorOffFoco(0xC0C0C0);
    box->SetBackStyle(0x00FF00);
  }
  // Writing a focus colour does not repaint the outline by itself.
  EXPECT_EQ(first.BorderColor(), 0u);

  SetFocus(first.Texto().Window());
  EXPECT_EQ(first.BorderColor(), 0x0000FFu);
  EXPECT_EQ(second.BorderColor(), 0u);
  SetFocus(second.Texto().Window());
  EXPECT_EQ(first.BorderColor(), 0xC0C0C0u);
  EXPECT_EQ(second.BorderColor(), 0x0000FFu);

  // A BorderColor write lasts only until the focus moves again.
  first.SetBorderColor(0xFF0000);
  EXPECT_EQ(first.BorderColor(), 0xFF0000u);
  SetFocus(first.Texto().Window());
  EXPECT_EQ(first.BorderColor(), 0x0000FFu);
  Form::PumpMessages();

  // The outline on the control's top row, the fill between the outline and the inset field.
  unique_hbitmap shot = form_->Snapshot();
  const int left = PixelsFromTwipsX(600), mid = left + PixelsFromTwipsX(1500);
  const int top1 = PixelsFromTwipsY(300), top2 = PixelsFromTwipsY(1200);
  ASSERT_GE(PixelsFromTwipsY(KvTextBox::kInset), 2);
  ExpectPixels(DibProbe(shot.get()), {{mid, top1, RGB(255, 0, 0)}, {mid, top1 + 1, RGB(0, 255, 0)},
                                      {left + 1, top1 + 15, RGB(0, 255, 0)}, {mid, top2, RGB(192, 192, 192)},
                                      {mid, top2 + 1, RGB(0, 255, 0)}});
}

TEST_F(KvTextBoxTest, LayoutInsetsTheFieldAndKeepsTheMinimumHeight) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Campo", 0, 0, 1500, 500);
  auto bounds = [](const Constituent& c) {
    return std::vector<int>{c.Left(), c.Top(), c.Width(), c.Height()};
  };
  EXPECT_EQ(bounds(box.Fundo()), (std::vector<int>{0, 0, 1500, 500}));
  EXPECT_EQ(bounds(box.Texto()), (std::vector<int>{30, 30, 1440, 440}));

  box.SetHeight(200);
  EXPECT_EQ(box.Height(), 375);
  EXPECT_EQ(bounds(box.Fundo()), (std::vector<int>{0, 0, 1500, 375}));
  EXPECT_EQ(bounds(box.Texto()), (std::vector<int>{30, 30, 1440, 315}));

  // Narrower than both insets: the field keeps its width, the rest of the layout still runs, and
  // the refused step reaches the host's diagnostics with the control, the step and the error.
  host_.calls.clear();
  form_->Site(L"Campo")->Move(0, 0, 45, 600);
  EXPECT_EQ(box.Width(), 45);
  EXPECT_EQ(bounds(box.Fundo()), (std::vector<int>{0, 0, 45, 600}));
  EXPECT_EQ(bounds(box.Texto()), (std::vector<int>{30, 30, 1440, 540}));
  EXPECT_THAT(host_.calls, ElementsAre(L"SkippedStep(Campo|set Texto.Width|Invalid property value)"));
  // There is no minimum width.
  box.SetWidth(0);
  EXPECT_EQ(box.Width(), 0);
  EXPECT_EQ(box.Fundo().Width(), 0);
}

TEST_F(KvTextBoxTest, MouseAndKeyEventsCarryTheFieldsArguments) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Campo", 300, 300, 3000, 450);
  EventLog log;
  log.Attach(box);
  HWND edit = box.Texto().Window();
  // Pixels of the field; X and Y come back in twips of the field.
  SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 4));
  SendMessageW(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 5));
  SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(12, 5));
  SendMessageW(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(12, 5));
  SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(12, 5));
  const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  EXPECT_THAT(log.lines, ElementsAre("MouseDown(1,1," + std::to_string(10 * tx) + "," + std::to_string(4 * ty) + ")",
                                     "MouseMove(1,0," + std::to_string(12 * tx) + "," + std::to_string(5 * ty) + ")",
                                     "MouseUp(1,0," + std::to_string(12 * tx) + "," + std::to_string(5 * ty) + ")",
                                     "MouseUp(1,0," + std::to_string(12 * tx) + "," + std::to_string(5 * ty) + ")"));
  // A KeyDown handler's change of KeyCode reaches the field: Home turned into End.
  box.SetText(L"abcd");
  box.SetSelStart(2);
  box.events.KeyDown = [](int16_t& k, int16_t&) {
    if (k == VK_HOME) k = VK_END;
  };
  SendMessageW(edit, WM_KEYDOWN, VK_HOME, 1);
  EXPECT_EQ(box.SelStart(), 4);
}

TEST_F(KvTextBoxTest, NewInstanceWritesOnlyWhatDiffersAndTheNoDefaultKeys) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Novo", 0, 0, 2400, 450);
  EXPECT_EQ(box.Text(), L"Text1");
  EXPECT_FALSE(box.Capitalizar());
  EXPECT_FALSE(box.ValidarCampo());
  EXPECT_EQ(box.ValidarMSG(), L"");
  PropertyBag bag = Saved(L"Novo");
  // The designed outline differs from the bag defaults (solid black line); the focus colours are
  // black; ValidarCampo and ValidarMSG are always there.
  EXPECT_THAT(Keys(bag), ElementsAre(L"BorderStyle", L"BorderColor", L"ColorOnFoco", L"ColorOffFoco", L"ValidarCampo",
                                     L"ValidarMSG"));
  EXPECT_EQ(bag.ReadInt16(L"BorderStyle", 3), 1);
  EXPECT_EQ(bag.ReadInt32(L"BorderColor", -1), 0);
  EXPECT_EQ(bag.ReadInt32(L"ColorOnFoco", -1) | bag.ReadInt32(L"ColorOffFoco", -1), 0);
  EXPECT_FALSE(bag.ReadBool(L"ValidarCampo", true));
}

TEST_F(KvTextBoxTest, EveryWriteTellsTheContainerUnderItsOwnKey) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Origem", 0, 0, 2400, 450);
  std::vector<std::wstring> changed;
  form_->onPropertyChanged = [&](const std::wstring&, std::wstring_view key) { changed.emplace_back(key); };
  box.SetBackColor(0x00FFFF);
  box.SetForeColor(0x800000);
  box.SetEnabled(false);
  box.SetFont(Font::Create(FontDesc{L"Arial", 12.0f, FW_BOLD}));
  box.SetBackStyle(0x00FF00);
  box.SetBorderStyle(2);
  box.SetAlignment(2);
  box.SetBorderColor(0x123456);
  box.SetLocked(true);
  box.SetMaxLength(20);
  box.SetPasswordChar(L"*");
  box.SetText(L"segredo");
  box.SetSelStart(1);
  box.SetSelLength(3);
  box.SetSelText(L"x");
  box.SetCapitalizar(true);
  box.SetColorOnFoco(0xFF00FF);
  box.SetColorOffFoco(0x808080);
  box.SetValidarCampo(true);
  box.SetValidarMSG(L"Informe a senha");
  EXPECT_THAT(changed, ElementsAre(L"BackColor", L"ForeColor", L"Enabled", L"Font", L"BackStyle", L"BorderStyle",
                                   L"Alignment", L"BorderColor", L"Locked", L"MaxLength", L"PasswordChar", L"Text",
                                   L"SelStart", L"SelLength", L"SelText", L"Capitalizar", L"ColorOnFoco",
                                   L"ColorOffFoco", L"ValidarCampo", L"ValidarMSG"));
}

TEST_F(KvTextBoxTest, AStoredBagWithoutTheFocusKeysUsesRedAndSilver) {
  PropertyBag bag;
  bag.Write(L"Text", std::wstring(L"Ana"));
  bag.Write(L"SelStart", int32_t{1});
  bag.Write(L"SelText", std::wstring(L"XX"));
  KvTextBox* box = Load<KvTextBox>(L"KvTextBox", L"Lido", bag);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->ColorOnFoco(), 255u);
  EXPECT_EQ(box->ColorOffFoco(), 0xC0C0C0u);
  EXPECT_EQ(box->BorderStyle(), 3);
  EXPECT_EQ(box->BorderColor(), kSysWindowText);
  EXPECT_EQ(box->BackStyle(), kSysWindow);
  EXPECT_EQ(box->Text(), L"Ana");
}

TEST_F(KvTextBoxTest, AnAlignmentOrBorderOutOfRangeIsRefusedStoredOrWritten) {
  // Stored: the field fails to load, named with its key, and nothing of it stays.
  PropertyBag bag;
  bag.Write(L"Alignment", int16_t{7});
  const unsigned windowsBefore = UserObjectCount();
  EXPECT_EQ(Load<KvTextBox>(L"KvTextBox", L"Ruim", bag), nullptr);
  ASSERT_FALSE(form_->LoadFailures().empty());
  EXPECT_EQ(form_->LoadFailures().back().key, L"Alignment");
  EXPECT_EQ(UserObjectCount(), windowsBefore);
  // Written: refused with the same error, and nothing changes.
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Novo", 0, 1200, 2400, 450);
  EXPECT_THROW(box.SetAlignment(7), InvalidPropertyValue);
  EXPECT_THROW(box.SetAlignment(65538), InvalidPropertyValue);
  EXPECT_THROW(box.SetBorderStyle(7), InvalidPropertyValue);
  EXPECT_EQ(box.Alignment(), 0);
  EXPECT_EQ(box.BorderStyle(), 1);
}

TEST_F(KvTextBoxTest, ValidarTextBoxRefusesOnlyAnEmptyRequiredField) {
  auto& box = Add<KvTextBox>(L"KvTextBox", L"Nome", 0, 0, 2400, 450);
  box.SetValidarMSG(L"Informe o nome");
  const std::wstring shown = L"MessageBox(Informe o nome|Aten\u00e7\u00e3o!|" + std::to_wstring(MB_OK | MB_ICONINFORMATION) + L")";

  box.SetText(L"");
  EXPECT_TRUE(ValidarTextBox(box));  // not required
  EXPECT_THAT(host_.calls, IsEmpty());

  box.SetValidarCampo(true);
  EXPECT_FALSE(ValidarTextBox(box));
  EXPECT_THAT(host_.calls, ElementsAre(shown));

  host_.calls.clear();
  box.SetText(L" ");
  EXPECT_TRUE(ValidarTextBox(box));
  box.SetText(L"Maria");
  EXPECT_TRUE(ValidarTextBox(box));
  EXPECT_THAT(host_.calls, IsEmpty());

  // Text typed into the field counts, text deleted from it does too.
  box.SetText(L"x");
  SetFocus(box.Texto().Window());
  SendMessageW(box.Texto().Window(), EM_SETSEL, 0, -1);
  Type(box.Texto().Window(), L'\b', VK_BACK);
  EXPECT_EQ(box.Text(), L"");
  EXPECT_FALSE(ValidarTextBox(box));
  EXPECT_THAT(host_.calls, ElementsAre(shown));
}

}  // namespace
}  // namespace tessel::test::textinput
