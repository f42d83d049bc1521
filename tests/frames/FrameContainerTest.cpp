// Controls inside a frame: child windows of it that move, hide and disable with it, take their
// own places in the form's Tab order, are saved and loaded with it and go before it.
#include <functional>

#include "tests/frames/FrameFixture.h"

namespace tessel::test::frames {
namespace {

// A control that tells when it is terminated and whether its container still stood then.
class Probe : public UserControl {
 public:
  explicit Probe(ControlSite& site) : UserControl(site) {}
  std::wstring_view TypeName() const override { return L"Probe"; }
  void Terminate() override {
    HWND parent = GetParent(hWnd());
    log->push_back(Extender().name + (parent && IsWindow(parent) && IsWindowVisible(parent) ? L"+" : L"-"));
  }
  static inline std::vector<std::wstring>* log = nullptr;
};

class FrameContainer : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    types_.Register(L"Probe", [](ControlSite& s) -> std::unique_ptr<UserControl> { return std::make_unique<Probe>(s); });
    Probe::log = &log_;
  }
  HWND Edit(const std::wstring& name) { return FindWindowExW(form_->Site(name)->hWnd(), nullptr, L"Edit", nullptr); }
  static POINT ScreenPos(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return POINT{r.left, r.top};
  }
  std::vector<std::wstring> log_;
};

TEST_F(FrameContainer, ContainedControlsAreChildWindowsThatMoveAndHideWithTheFrame) {
  AddFrame(L"outer", 300, 200, {}, 10, 10);
  AddFrame(L"inner", 150, 100, L"outer", 20, 40);
  form_->Add(L"KvTextBox", L"txt", TwipsFromPixelsX(10), TwipsFromPixelsY(30), 1500, 300, L"inner");
  const HWND outer = form_->Site(L"outer")->hWnd(), inner = form_->Site(L"inner")->hWnd();
  const HWND txt = form_->Site(L"txt")->hWnd();
  EXPECT_EQ(GetParent(inner), outer);
  EXPECT_EQ(GetParent(txt), inner);
  EXPECT_THROW(form_->Add(L"KvTextBox", L"bad", 0, 0, 900, 300, L"txt"), std::invalid_argument)
      << "a text box holds no controls";

  const POINT before = ScreenPos(txt);
  form_->Site(L"outer")->Move(TwipsFromPixelsX(50), TwipsFromPixelsY(30), TwipsFromPixelsX(300), TwipsFromPixelsY(200));
  const POINT after = ScreenPos(txt);
  EXPECT_EQ(after.x - before.x, 40);
  EXPECT_EQ(after.y - before.y, 20);

  form_->Site(L"outer")->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(txt));
  form_->Site(L"outer")->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(txt));
  // Clipped: the frame's window leaves its children's pixels to them.
  EXPECT_TRUE(GetWindowLongPtrW(outer, GWL_STYLE) & WS_CLIPCHILDREN);
}

TEST_F(FrameContainer, EnabledReachesEveryContainedControlAndThroughANestedFrame) {
  TzFrames& outer = AddFrame(L"outer", 300, 200);
  AddFrame(L"inner", 150, 100, L"outer", 10, 30);
  form_->Add(L"KvTextBox", L"a", 150, 450, 1500, 300, L"outer");
  form_->Add(L"KvTextBox", L"b", 150, 450, 1500, 300, L"inner");
  outer.SetEnabled(false);
  auto& inner = static_cast<TzFrames&>(*form_->Control(L"inner"));
  EXPECT_FALSE(inner.Enabled());
  for (const wchar_t* name : {L"a", L"b"}) {
    EXPECT_FALSE(form_->Site(name)->Extender().enabled) << Utf8FromWide(name);
    EXPECT_FALSE(IsWindowEnabled(form_->Site(name)->hWnd())) << Utf8FromWide(name);
  }
  outer.SetEnabled(true);
  EXPECT_TRUE(inner.Enabled());
  EXPECT_TRUE(IsWindowEnabled(form_->Site(L"b")->hWnd()));
}

TEST_F(FrameContainer, TabGoesThroughContainedControlsByTheirOwnIndexAndSkipsTheFrame) {
  form_->Add(L"KvTextBox", L"first", 0, 0, 1500, 300);
  AddFrame(L"fra", 300, 200, {}, 0, 40);
  form_->Add(L"KvTextBox", L"second", 150, 450, 1500, 300, L"fra");
  form_->Add(L"KvTextBox", L"last", 0, 4500, 1500, 300);
  form_->Add(L"KvTextBox", L"third", 150, 1200, 1500, 300, L"fra");
  form_->SetTabIndex(L"third", 3);
  std::vector<HWND> order;
  SetForegroundWindow(form_->hWnd());
  SetFocus(Edit(L"first"));
  for (int i = 0; i < 4; ++i) {
    order.push_back(GetFocus());
    form_->MoveFocus(true);
  }
  EXPECT_EQ(order, (std::vector<HWND>{Edit(L"first"), Edit(L"second"), Edit(L"third"), Edit(L"last")}));
}

TEST_F(FrameContainer, AFormFileNamesEachControlsContainerAndLoadsItBackInside) {
  AddFrame(L"fra", 300, 200);
  AddFrame(L"sub", 150, 100, L"fra", 10, 30);
  form_->Add(L"KvTextBox", L"txt", 150, 450, 1500, 300, L"sub");
  const std::string text = WriteFormText(DescribeForm(*form_));
  EXPECT_NE(text.find("Control tzFrames sub\n  .Left = 150\n"), std::string::npos);
  EXPECT_NE(text.find("  .Container = \"sub\"\n"), std::string::npos);
  EXPECT_EQ(text.find(".Container = \"fra\""), text.rfind(".Container = \"fra\"")) << "only the sub-frame is in fra";

  auto copy = Form::Create(L"Frames", 9000, 6000, true, &types_);
  ParsedForm parsed = ParseFormText(text, L"copy");
  ASSERT_TRUE(parsed.errors.empty());
  for (ControlDescription& c : parsed.form.controls) ASSERT_TRUE(copy->AddLoaded(c.type, c.name, c.extender, c.bag));
  EXPECT_EQ(GetParent(copy->Site(L"txt")->hWnd()), copy->Site(L"sub")->hWnd());
  EXPECT_EQ(GetParent(copy->Site(L"sub")->hWnd()), copy->Site(L"fra")->hWnd());
  EXPECT_EQ(WriteFormText(DescribeForm(*copy)), text);
}

TEST_F(FrameContainer, ClosingOrRemovingTerminatesContainedControlsWhileTheirFrameStands) {
  AddFrame(L"fra", 300, 200);
  form_->Add(L"Probe", L"p1", 0, 0, 600, 600, L"fra");
  AddFrame(L"sub", 150, 100, L"fra", 10, 30);
  form_->Add(L"Probe", L"p2", 0, 0, 600, 600, L"sub");
  form_->Add(L"Probe", L"p3", 0, 0, 600, 600);
  form_->Remove(L"sub");
  EXPECT_EQ(log_, std::vector<std::wstring>{L"p2+"});
  EXPECT_EQ(form_->ControlNames(), (std::vector<std::wstring>{L"fra", L"p1", L"p3"}));
  form_->Close();
  EXPECT_EQ(log_, (std::vector<std::wstring>{L"p2+", L"p3+", L"p1+"}));
}

}  // namespace
}  // namespace tessel::test::frames
