#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "host/constituents/TextBox.h"
#include "tests/host/HostFixture.h"
#include "tests/support/Keys.h"

namespace tessel::hosttest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TextBoxTest : public SurfaceTest {
 protected:
  void SetUp() override {
    SurfaceTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    box_ = std::make_unique<TextBox>(surface_, L"Texto");
    box_->Move(Tw(10), Tw(10), Tw(200), Tw(25));
    log_.Watch(box_->events);
  }
  void TearDown() override {
    box_.reset();
    SurfaceTest::TearDown();
  }
  void Type(wchar_t ch, UINT vk = 0) { test::SendStroke(box_->Window(), ch, vk); }
  std::vector<std::string> Take() { return log_.Take(); }
  LONG_PTR Style() const { return GetWindowLongPtrW(box_->Window(), GWL_STYLE); }

  std::unique_ptr<TextBox> box_;
  EventLog log_;
};

TEST_F(TextBoxTest, TypingRaisesKeyDownKeyPressChangeKeyUpAndKeyAsciiIsByReference) {
  // A handler that zeroes KeyAscii suppresses the character; one that changes it changes what the
  // edit receives; Backspace goes the same way.
  log_.onKeyPress = [](int16_t& ascii) { ascii = ascii == 'b' ? 0 : ascii == 'c' ? 'C' : ascii; };
  Take();
  for (auto [ch, vk] : {std::pair{L'a', 'A'}, {L'b', 'B'}, {L'c', 'C'}, {L'\b', VK_BACK}}) Type(ch, vk);
  EXPECT_EQ(box_->Text(), L"a");
  EXPECT_THAT(Take(), ElementsAre("KeyDown(65,0)", "KeyPress(97)", "Change", "KeyUp(65,0)",  //
                                  "KeyDown(66,0)", "KeyPress(98)", "KeyUp(66,0)",            //
                                  "KeyDown(67,0)", "KeyPress(99)", "Change", "KeyUp(67,0)",  //
                                  "KeyDown(8,0)", "KeyPress(8)", "Change", "KeyUp(8,0)"));
  box_->SetText(L"Text1");  // text set from code reports Change once
  EXPECT_THAT(Take(), ElementsAre("Change"));
}

TEST_F(TextBoxTest, AlignmentRecreatesTheEditKeepingEverything) {
  TextBox second(surface_, L"Second");
  box_->SetText(L"hello");
  box_->SetSelStart(1);
  box_->SetSelLength(3);
  box_->SetMaxLength(12);
  box_->SetLocked(true);
  box_->SetFocus();
  ASSERT_TRUE(box_->HasFocus());
  Take();
  const HWND before = box_->Window();
  EXPECT_EQ(Style() & (ES_RIGHT | ES_CENTER), 0);

  box_->SetAlignment(1);
  const HWND after = box_->Window();
  EXPECT_NE(after, before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(Style() & (ES_RIGHT | ES_READONLY), ES_RIGHT | ES_READONLY);
  EXPECT_EQ(box_->Text(), L"hello");
  EXPECT_EQ(std::vector<LRESULT>({box_->SelStart(), box_->SelLength(), SendMessageW(after, EM_GETLIMITTEXT, 0, 0)}),
            std::vector<LRESULT>({1, 3, 12}));
  EXPECT_EQ(GetFocus(), after);
  EXPECT_THAT(Take(), IsEmpty());  // the focus moved between the two edits unseen
  // The new edit stands where the old one stood: first child, before the second text box.
  EXPECT_EQ(GetWindow(surface_.hWnd(), GW_CHILD), after);
  EXPECT_EQ(GetWindow(after, GW_HWNDNEXT), second.Window());
  EXPECT_EQ(Edges(PlacedIn(after, surface_.hWnd())), Edges({10, 10, 210, 35}));

  box_->SetAlignment(2);
  EXPECT_EQ(Style() & ES_CENTER, ES_CENTER);
  // Events still come from the new edit.
  box_->SetLocked(false);
  box_->SetSelStart(5);
  Type(L'!', VK_OEM_1);
  EXPECT_EQ(box_->Text(), L"hello!");
  EXPECT_THAT(Take(), ElementsAre("KeyDown(186,0)", "KeyPress(33)", "Change", "KeyUp(186,0)"));
}

TEST_F(TextBoxTest, SelectionLimitPasswordAndLock) {
  box_->SetText(L"hello world");
  box_->SetSelStart(6);
  box_->SetSelLength(5);
  EXPECT_EQ(box_->SelText(), L"world");
  box_->SetSelText(L"there");
  EXPECT_EQ(box_->Text(), L"hello there");
  auto selection = [&] { return std::pair(box_->SelStart(), box_->SelLength()); };
  EXPECT_EQ(selection(), std::pair(11, 0));
  box_->SetSelStart(100);  // past the end: the end
  box_->SetSelLength(100);
  EXPECT_EQ(selection(), std::pair(11, 0));

  box_->SetText(L"");
  box_->SetMaxLength(3);
  test::SendText(box_->Window(), L"abcd");
  EXPECT_EQ(box_->Text(), L"abc");
  box_->SetMaxLength(0);  // no limit
  EXPECT_GE(SendMessageW(box_->Window(), EM_GETLIMITTEXT, 0, 0), 0x7FFF);

  box_->SetPasswordChar(L"*z");
  EXPECT_EQ(box_->PasswordChar(), L"*");
  EXPECT_EQ(SendMessageW(box_->Window(), EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(box_->Text(), L"abc");
  box_->SetPasswordChar(L"");
  EXPECT_EQ(SendMessageW(box_->Window(), EM_GETPASSWORDCHAR, 0, 0), 0);

  box_->SetLocked(true);
  EXPECT_EQ(Style() & ES_READONLY, ES_READONLY);
  box_->SetSelStart(3);
  Type(L'x');
  EXPECT_EQ(box_->Text(), L"abc");
  box_->SetLocked(false);
  Type(L'x');
  EXPECT_EQ(box_->Text(), L"abcx");
}

TEST_F(TextBoxTest, ColoursReachTheEditThroughTheReflectedColourMessage) {
  box_->SetBorderStyle(0);
  box_->SetBackColor(RGB(0, 255, 0));
  box_->SetForeColor(RGB(255, 0, 0));
  Dib dib(200, 25, 0);
  // The colour of the brush the surface answers with, its text and back colours set on the DC.
  auto brushColour = [&](UINT msg) {
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(surface_.hWnd(), msg, reinterpret_cast<WPARAM>(dib.dc()),
                                                       reinterpret_cast<LPARAM>(box_->Window())));
    LOGBRUSH lb{};
    return GetObjectW(brush, sizeof(lb), &lb) ? lb.lbColor : CLR_INVALID;
  };
  EXPECT_EQ(brushColour(WM_CTLCOLOREDIT), RGB(0, 255, 0));
  EXPECT_EQ(GetTextColor(dib.dc()), RGB(255, 0, 0));
  EXPECT_EQ(GetBkColor(dib.dc()), RGB(0, 255, 0));
  const unsigned gdi = test::GdiObjectCount();  // the brush is made once per colour, not per message
  for (int i = 0; i < 5; ++i) brushColour(WM_CTLCOLOREDIT);
  EXPECT_EQ(test::GdiObjectCount(), gdi);
  box_->SetText(L"ab");
  EXPECT_EQ(Print(box_->Window(), 200, 25)->At(190, 12), RGB(0, 255, 0));  // the edit paints with it

  // System colours are resolved; a disabled edit writes in grey.
  box_->SetBackColor(kSysWindow);
  box_->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(box_->Window()));
  EXPECT_EQ(brushColour(WM_CTLCOLORSTATIC), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetTextColor(dib.dc()), GetSysColor(COLOR_GRAYTEXT));
}

// Coordinates are twips from the box's outer edge, a border's inset included.
TEST_F(TextBoxTest, MouseAndFocusEventsInTwipsOfTheTextBox) {
  for (int border : {0, 1}) {
    box_->SetBorderStyle(border);
    const HWND e = box_->Window();
    POINT client{0, 0};
    MapWindowPoints(e, surface_.hWnd(), &client, 1);
    EXPECT_EQ(client.x > 10, border == 1);
    const std::string at = std::to_string(15 * (5 + client.x - 10)) + "," + std::to_string(15 * (3 + client.y - 10)) + ")";
    Take();
    SendMessageW(e, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 3));
    SendMessageW(e, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
    auto lines = Take();
    // The edit takes the focus on its own when pressed; the focus event comes first or second.
    lines.erase(std::remove(lines.begin(), lines.end(), "GotFocus"), lines.end());
    EXPECT_THAT(lines, ElementsAre("MouseDown(1,1," + at, "MouseUp(1,0," + at, "Click"));
  }
  SetFocus(surface_.hWnd());
  Take();
  box_->SetFocus();
  SetFocus(surface_.hWnd());
  EXPECT_THAT(Take(), ElementsAre("GotFocus", "LostFocus"));
}

TEST_F(TextBoxTest, PlacementVisibilityTabStopAndTheFontReachTheEdit) {
  box_->Move(Tw(30), Tw(40), Tw(100), Tw(20));
  EXPECT_EQ(Edges(PlacedIn(box_->Window(), surface_.hWnd())), Edges({30, 40, 130, 60}));
  box_->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(box_->Window()));
  box_->SetTabStop(false);
  EXPECT_EQ(Style() & WS_TABSTOP, 0);

  // The font is held by reference: a change to it shows in the next paint.
  FontRef font = Font::Create(FontDesc{L"Arial", 14});
  box_->SetFont(font);
  font->SetBold(true);
  Print(box_->Window(), 200, 25);
  auto shown = [&] { return reinterpret_cast<HFONT>(SendMessageW(box_->Window(), WM_GETFONT, 0, 0)); };
  EXPECT_EQ(shown(), font->Handle());
  box_->SetFont(nullptr);
  EXPECT_EQ(shown(), GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace
}  // namespace tessel::hosttest
