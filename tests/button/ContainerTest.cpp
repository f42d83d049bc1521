// What the form gives the button: the default look, the container's colour and font, the pointer,
// the show notification and OLE drag and drop.
#include "tests/support/Prelude.h"

#include "button/draw/ShiftColor.h"
#include "frames/TzFrames.h"
#include "host/DragSource.h"
#include "server/contract/Errors.h"
#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using std::to_wstring;

// Takes Enter and records what it hears, with whether button "b" shows the default look by then.
class Recorder final : public UserControl {
 public:
  Recorder(ControlSite& site, Log& log, Form& form) : UserControl(site), log_(log), form_(form) {}
  std::wstring_view TypeName() const override { return L"Recorder"; }
  bool TakesEnter() const override { return true; }
  void AmbientChanged(std::wstring_view name) override {
    const HostedControl* b = form_.Site(L"b");
    const bool shown = b && dynamic_cast<ButtonStyle&>(*b->Control()).State().Has(isDefault);
    log_.push_back(L"d." + std::wstring(name) + (Ambient().displayAsDefault ? L"(1)" : L"(0)") + (shown ? L" b shown" : L""));
  }
  void AccessKeyPress(wchar_t key) override { log_.push_back(L"d.Key(" + to_wstring(key) + L")"); }

 private:
  Log& log_;
  Form& form_;
};

// A point of the button's window on the screen, as a drag reports it.
POINTL OnScreen(const ButtonStyle& b, int x, int y) {
  POINT p{x, y};
  ClientToScreen(b.hWnd(), &p);
  return POINTL{p.x, p.y};
}

const CLIPFORMAT kLateText = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"TesselLateText"));

// A text value in the format (none: the format offered without data), and reading one back.
void PutText(IDataObject* data, CLIPFORMAT format, const wchar_t* text) {
  STGMEDIUM m{text ? TYMED_HGLOBAL : TYMED_NULL};
  if (text) {
    const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    std::memcpy(GlobalLock(m.hGlobal = GlobalAlloc(GMEM_MOVEABLE, bytes)), text, bytes);
    GlobalUnlock(m.hGlobal);
  }
  FORMATETC f{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  ASSERT_EQ(data->SetData(&f, &m, TRUE), S_OK);
}
std::wstring GetText(IDataObject* data, CLIPFORMAT format) {
  FORMATETC f{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM m{};
  if (data->GetData(&f, &m) != S_OK) return L"(none)";
  std::wstring text(static_cast<const wchar_t*>(GlobalLock(m.hGlobal)));
  GlobalUnlock(m.hGlobal);
  ReleaseStgMedium(&m);
  return text;
}

class Container : public ButtonTest {
 protected:
  // Button b's drop events logged (state: enter 0, leave 1, over 2), answered with over and drop.
  void WatchDrops(ButtonStyle& b, const std::wstring& name, int32_t over, int32_t drop) {
    const auto args = [](int e, int button, int shift, float x, float y) {
      return L"(" + to_wstring(e) + L"," + to_wstring(button) + L"," + to_wstring(shift) + L"," + to_wstring(int(x)) +
             L"," + to_wstring(int(y)) + L")";
    };
    b.events.OLEDragOver = [=, this](IDataObject*&, int32_t& e, int16_t& button, int16_t& shift, float& x, float& y,
                                     int16_t& state) {
      log_.push_back(name + L".DragOver" + to_wstring(state) + args(e, button, shift, x, y));
      e = over;
    };
    b.events.OLEDragDrop = [=, this](IDataObject*& data, int32_t& e, int16_t& button, int16_t& shift, float& x, float& y) {
      log_.push_back(name + L".DragDrop" + args(e, button, shift, x, y) + GetText(data, CF_UNICODETEXT) +
                     GetText(data, kLateText));
      e = drop;
    };
  }
};

// Enter and the default look belong to the focused push button, else to the default button; a mode
// write moves them at once, the loser hearing it first. Enter on a default check button does nothing.
TEST_F(Container, TheDefaultLookFollowsTheFocusedPushButtonAndItsMode) {
  types_.Register(L"Recorder", [this](ControlSite& site) -> std::unique_ptr<UserControl> {
    return std::make_unique<Recorder>(site, log_, *form_);
  });
  ButtonStyle& b = Add(L"b", 10, 50);
  form_->Add(L"Recorder", L"d", 150, 150, 900, 450);
  // The focused push button keeps the look from the start: the default button never shows it.
  SetFocus(b.hWnd());
  form_->SetDefaultButton(L"d");
  auto enter = [&] {
    MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001};
    EXPECT_TRUE(form_->PreTranslateMessage(enter));
  };
  enter();
  b.SetMode(modeCheck);
  enter();
  b.SetMode(modeOption);
  b.SetMode(modeCommand);
  EXPECT_TRUE(b.State().Has(isDefault));
  enter();
  b.SetMode(modeCheck);
  form_->SetDefaultButton(L"b");
  enter();
  EXPECT_FALSE(b.Value());
  EXPECT_EQ(TakeLog(), (Log{L"b.Click", L"d.DisplayAsDefault(1)", L"d.Key(13)", L"d.DisplayAsDefault(0)", L"b.Click",
                            L"d.DisplayAsDefault(1)", L"d.DisplayAsDefault(0)"}));
}

// The form's or the frame's back colour reaches its buttons (a loaded one takes it as its own) and
// redraws a designed ring's outline at once; a new button copies the form's font, none a frame's.
TEST_F(Container, BackColourAndFontComeFromTheFormOrTheFrame) {
  OpenForm(false);
  form_->SetFont(Font::Create(FontDesc{L"Arial", 12.0f}));
  auto& frame = dynamic_cast<TzFrames&>(form_->Add(L"tzFrames", L"f", 1500, 150, 3000, 1500));
  frame.SetBackColor(0xC0FFC0);
  ButtonStyle& r = Add(L"r", 10, 10, 80, 40);
  ButtonStyle& inner = Add(L"inner", 10, 30, 80, 40, L"f");
  PropertyBag none;
  auto* loaded = dynamic_cast<ButtonStyle*>(form_->AddLoaded(L"ButtonStyle", L"loaded", {.container = L"f"}, none));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->BackColor(), 0xC0FFC0u);
  r.SetButtonStyle(bsRing);
  r.SetButtonShape(shapeEllipse);
  const int32_t colour = 0x00406080;
  auto outline = [&] {
    int n = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 80; ++x) n += GetPixel(r.hdc(), x, y) == static_cast<COLORREF>(ShiftColor(colour, -32));
    return n;
  };
  EXPECT_EQ(outline(), 0);
  form_->SetBackColor(colour);
  EXPECT_GT(outline(), 20);
  EXPECT_EQ(std::make_pair(r.State().ambientBackColor, inner.State().ambientBackColor), std::make_pair(colour, 0xC0FFC0));
  frame.SetBackColor(0x123456);
  EXPECT_EQ(std::make_pair(r.State().ambientBackColor, inner.State().ambientBackColor), std::make_pair(colour, 0x123456));
  r.SetFontStyle(2);
  EXPECT_EQ(r.Font()->Describe().name, L"Arial");
  EXPECT_FALSE(form_->Ambient().font->Describe().bold()) << "a copy of the form's font";
  EXPECT_EQ(inner.Font()->Describe().name, FontDesc{}.name) << "its own font in a frame";
}

// WM_SETCURSOR shows the MousePointer (a mouse icon: 99); a bad value is refused whole, not by its low
// 16 bits. Shown again at design time, a default button that lost its look at run time gets it back.
TEST_F(Container, ThePointerOverTheButtonIsItsMousePointerAndTheShowNotificationGivesTheDefaultLook) {
  ButtonStyle& b = Add(L"b");
  PictureRef icon = Picture::FromBytes(IconFile(32, RGB(0, 0, 255), true, POINT{4, 4}));
  auto shown = [&] {
    SendMessageW(b.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(b.hWnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  b.SetMousePointer(2);
  EXPECT_EQ(shown(), LoadCursorW(nullptr, IDC_CROSS));
  b.SetMouseIcon(icon);
  EXPECT_EQ(std::make_pair(shown(), b.MousePointer()), std::make_pair(static_cast<HCURSOR>(icon->Handle()), 99));
  for (int32_t bad : {65537, 65635, 65536 + 15, -65536, 16, -1, INT32_MAX, INT32_MIN}) {
    EXPECT_THROW(b.SetMousePointer(bad), InvalidPropertyValue) << bad;
    PropertyBag bag;
    bag.Write(L"mPointer", BagValue(bad));
    EXPECT_ANY_THROW(b.ReadProperties(bag)) << bad;
    EXPECT_EQ(b.MousePointer(), 99) << bad;
  }
  form_->SetDefaultButton(L"b");
  b.SetShowFocusRect(false);
  b.SetShowFocusRect(true);
  form_->SetUserMode(false);
  form_->Site(L"b")->SetVisible(false);
  EXPECT_FALSE(b.State().Has(isDefault));
  form_->Site(L"b")->SetVisible(true);
  EXPECT_TRUE(b.State().Has(isDefault));
}

// Button a drags onto b, whose drop target the test plays: a fills and narrows in OLEStartDrag,
// follows the target, supplies late data in OLESetData and hears the effect; b sees the drag enter,
// move, leave and drop, and its answer goes back narrowed to what a allows.
TEST_F(Container, ADragFromOneButtonToAnotherRaisesTheSixEvents) {
  ButtonStyle& a = Add(L"a", 10, 10);
  ButtonStyle& b = Add(L"b", 10, 60);
  auto say = [this](const std::wstring& what, int v) { log_.push_back(what + L"(" + to_wstring(v) + L")"); };
  a.events.OLEStartDrag = [&](IDataObject*& data, int32_t& effects) {
    say(L"a.StartDrag", effects);
    PutText(data, CF_UNICODETEXT, L"early");
    PutText(data, kLateText, nullptr);
    effects = DROPEFFECT_COPY | DROPEFFECT_LINK;
  };
  a.events.OLEGiveFeedback = [&](int32_t& effect, bool& defaultCursors) {
    say(L"a.GiveFeedback", effect);
    defaultCursors = effect == DROPEFFECT_NONE;
  };
  a.events.OLESetData = [&](IDataObject*& data, int16_t& format) {
    say(L"a.SetData", format == static_cast<int16_t>(kLateText));
    PutText(data, static_cast<CLIPFORMAT>(format), L"late");
  };
  a.events.OLECompleteDrag = [&](int32_t& effect) { say(L"a.CompleteDrag", effect); };
  WatchDrops(b, L"b", DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_LINK);
  auto at = [&](int x, int y) { return OnScreen(b, x, y); };
  IDropTarget* target = form_->Site(L"b")->DropTarget();
  ASSERT_NE(target, nullptr) << "the form initialises OLE";
  host_.dragLoop = [&](IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect) {
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    DWORD e = allowed;
    target->DragEnter(data, MK_LBUTTON | MK_CONTROL, at(10, 7), &e);
    EXPECT_EQ(source->GiveFeedback(e), S_OK) << "a pointer of its own";
    target->DragOver(MK_RBUTTON | MK_SHIFT | MK_ALT, at(12, 8), &(e = allowed));
    target->DragLeave();
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    target->DragEnter(data, MK_MBUTTON, at(1, 2), &(e = allowed));
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    target->Drop(data, 0, at(20, 10), &(*effect = allowed));
    return DRAGDROP_S_DROP;
  };
  a.OLEDrag();
  EXPECT_EQ(TakeLog(), (Log{L"a.StartDrag(3)", L"b.DragOver0(5,1,2,10,7)", L"a.GiveFeedback(1)",
                            L"b.DragOver2(5,2,5,12,8)", L"b.DragOver1(1,2,5,12,8)", L"a.GiveFeedback(0)",
                            L"b.DragOver0(5,4,0,1,2)", L"a.SetData(1)", L"b.DragDrop(5,0,0,20,10)earlylate",
                            L"a.CompleteDrag(4)"}));
  EXPECT_EQ(host_.calls, Log{L"DoDragDrop(5)"});
}

// The form's one drop target: b hears its leave (last answer and position) before c its enter; a
// disabled control or the form answers nothing; the drop goes to the control under the cursor.
TEST_F(Container, TheFormHandsTheDragToTheControlUnderTheCursor) {
  const wchar_t* names[] = {L"b", L"c", L"off"};
  ButtonStyle* buttons[3];
  for (int i = 0; i < 3; ++i) WatchDrops(*(buttons[i] = &Add(names[i], 10, 10 + 50 * i)), names[i], DROPEFFECT_COPY, DROPEFFECT_MOVE);
  form_->Site(L"off")->SetEnabled(false);
  IDropTarget* target = form_->Site(L"c")->DropTarget();
  ASSERT_EQ(target, form_->Site(L"b")->DropTarget());
  auto data = DragData::Create(nullptr);
  std::vector<DWORD> answers;
  // {button, x, y}: entered over the first, dragged over the rest, dropped at the last.
  const int steps[][3] = {{0, 5, 5}, {0, 6, 6}, {1, 7, 7}, {2, 5, 5}, {1, 130, 5}, {1, 8, 8}, {1, 9, 9}};
  for (const auto& step : steps) {
    DWORD e = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    const POINTL at = OnScreen(*buttons[step[0]], step[1], step[2]);
    if (&step == steps) target->DragEnter(data.Get(), 0, at, &e);
    else if (&step == std::end(steps) - 1) target->Drop(data.Get(), 0, at, &e);
    else target->DragOver(0, at, &e);
    answers.push_back(e);
  }
  EXPECT_EQ(TakeLog(), (Log{L"b.DragOver0(3,0,0,5,5)", L"b.DragOver2(3,0,0,6,6)", L"b.DragOver1(1,0,0,6,6)",
                            L"c.DragOver0(3,0,0,7,7)", L"c.DragOver1(1,0,0,7,7)", L"c.DragOver0(3,0,0,8,8)",
                            L"c.DragDrop(3,0,0,9,9)(none)(none)"}));
  EXPECT_EQ(answers, (std::vector<DWORD>{1, 1, 1, 0, 0, 1, 2}));
}

// A failing drop handler (reported) takes no drop; Esc cancels a drag and one with no effect allowed
// never starts; a removed control hears no more, and the target is revoked before the window goes.
TEST_F(Container, RefusedAndCancelledDrags) {
  ButtonStyle& b = Add(L"b");
  b.events.OLEDragDrop = [](IDataObject*&, int32_t&, int16_t&, int16_t&, float&, float&) {
    throw std::runtime_error("no room");
  };
  IDropTarget* target = form_->Site(L"b")->DropTarget();
  auto data = DragData::Create(nullptr);
  const POINTL over = OnScreen(b, 5, 5);
  auto refused = [&] {
    DWORD entered = DROPEFFECT_COPY, dropped = DROPEFFECT_COPY;
    target->DragEnter(data.Get(), 0, over, &entered);
    target->Drop(data.Get(), 0, over, &dropped);
    return entered | dropped;
  };
  EXPECT_EQ(refused(), DWORD{DROPEFFECT_NONE});
  host_.dragLoop = [](IDataObject*, IDropSource* source, DWORD, DWORD*) {
    EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    return DRAGDROP_S_CANCEL;
  };
  b.events.OLECompleteDrag = [this](int32_t& effect) { log_.push_back(L"Complete(" + to_wstring(effect) + L")"); };
  for (int32_t allowed : {DROPEFFECT_COPY, DROPEFFECT_NONE}) {
    b.events.OLEStartDrag = [allowed](IDataObject*&, int32_t& effects) { effects = allowed; };
    b.OLEDrag();
  }
  EXPECT_EQ(TakeLog(), (Log{L"Complete(0)", L"Complete(0)"}));
  EXPECT_EQ(host_.calls, (Log{L"SkippedStep(b|OLEDragDrop|no room)", L"DoDragDrop(1)"}));
  form_->Remove(L"b");
  EXPECT_EQ(refused(), DWORD{DROPEFFECT_NONE});
  EXPECT_EQ(host_.calls.size(), 2u) << "the removed control's handler is not run again";
  const ULONG held = target->AddRef();
  form_->Close();
  target->AddRef();
  EXPECT_LE(target->Release(), held - 2);
  target->Release();
}

}  // namespace
}  // namespace tessel::test::button
