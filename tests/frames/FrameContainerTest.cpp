// Controls inside a frame: moved, hidden, disabled, tabbed, saved, loaded and terminated with it.
#include "tests/support/Prelude.h"

#include "tests/frames/FrameFixture.h"

namespace tessel::test::frames {
namespace {

// A control that tells when it is terminated and whether its container still stood then.
class Probe : public UserControl {
 public:
  explicit Probe(ControlSite& site) : UserControl(site) {}
  std::wstring_view TypeName() const override { return L"Probe"; }
  void Terminate() override {
    const HWND parent = GetParent(hWnd());
    log->push_back(Extender().name + (parent && IsWindow(parent) ? L"+" : L"-"));
  }
  static inline std::vector<std::wstring>* log = nullptr;
};

using FrameContainer = FrameTest;

TEST_F(FrameContainer, ContainedControlsMoveHideClipAndFollowEnabledThroughANestedFrameAndAfterReloading) {
  AddFrame(L"outer", 300, 200, {}, 10, 10);  // holds inner and a button; inner holds a text box
  AddFrame(L"inner", 150, 100, L"outer", 20, 40);
  form_->Add(L"KvTextBox", L"txt", TwipsFromPixelsX(10), TwipsFromPixelsY(30), 1500, 300, L"inner");
  form_->Add(L"ButtonStyle", L"btn", TwipsFromPixelsX(180), TwipsFromPixelsY(40), 1200, 375, L"outer");
  EXPECT_EQ(std::make_pair(GetParent(Window(L"inner")), GetParent(Window(L"txt"))), std::make_pair(Window(L"outer"), Window(L"inner")));
  EXPECT_THROW(form_->Add(L"KvTextBox", L"bad", 0, 0, 900, 300, L"txt"), std::invalid_argument) << "a text box holds none";
  RECT before{}, after{};
  GetWindowRect(Window(L"txt"), &before);
  form_->Site(L"outer")->Move(TwipsFromPixelsX(50), TwipsFromPixelsY(30), TwipsFromPixelsX(300), TwipsFromPixelsY(200));
  GetWindowRect(Window(L"txt"), &after);
  EXPECT_EQ(std::make_pair(after.left - before.left, after.top - before.top), std::make_pair(40L, 20L));
  form_->Site(L"outer")->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(Window(L"txt")));
  form_->Site(L"outer")->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(Window(L"txt")));
  EXPECT_TRUE(GetWindowLongPtrW(Window(L"outer"), GWL_STYLE) & WS_CLIPCHILDREN) << "children keep their own pixels";
  // A frame's Enabled runs each contained control's own Enabled write, which reports itself.
  reported_.clear();
  static_cast<TzFrames&>(*form_->Control(L"outer")).SetEnabled(false);
  EXPECT_EQ(reported_, (std::vector<std::wstring>{L"outer.Enabled", L"inner.Enabled", L"txt.Enabled", L"btn.Enabled"}));
  const std::string text = WriteFormText(DescribeForm(*form_));
  EXPECT_EQ(text.find(".Container", text.find("Control tzFrames outer")), text.find(".Container = \"outer\"")) << "no container, no key";
  EXPECT_NE(text.find("  .Enabled = false\n  .Container = \"inner\"\n"), std::string::npos);
  form_ = Form::Create(L"Frames", 9000, 6000, true, &types_);
  for (ControlDescription& c : ParseFormText(text, L"copy").form.controls)
    ASSERT_TRUE(form_->AddLoaded(c.type, c.name, c.extender, c.bag));
  EXPECT_EQ(GetParent(Window(L"txt")), Window(L"inner"));
  EXPECT_EQ(WriteFormText(DescribeForm(*form_)), text);
  for (bool on : {false, true}) {
    if (on) static_cast<TzFrames&>(*form_->Control(L"outer")).SetEnabled(true);
    // The frames' windows stay enabled: their Enabled is their look and their controls'.
    const auto frame = [&](const wchar_t* name) { return static_cast<TzFrames&>(*form_->Control(name)).Enabled(); };
    const auto window = [&](const wchar_t* name) { return !!IsWindowEnabled(Window(name)); };
    EXPECT_EQ((std::array<bool, 6>{frame(L"outer"), frame(L"inner"), window(L"outer"), window(L"inner"), window(L"txt"),
                                   window(L"btn")}),
              (std::array<bool, 6>{on, on, true, true, on, on}));
  }
}

TEST_F(FrameContainer, TabGoesThroughContainedControlsByTheirOwnIndexAndSkipsTheFrame) {
  form_->Add(L"KvTextBox", L"first", 0, 0, 1500, 300);
  AddFrame(L"fra", 300, 200, {}, 0, 40);
  form_->Add(L"KvTextBox", L"second", 150, 450, 1500, 300, L"fra");
  form_->Add(L"KvTextBox", L"last", 0, 4500, 1500, 300);
  form_->Add(L"KvTextBox", L"third", 150, 1200, 1500, 300, L"fra");
  form_->SetTabIndex(L"third", 3);
  const auto Edit = [&](const wchar_t* name) { return FindWindowExW(Window(name), nullptr, L"Edit", nullptr); };
  std::vector<HWND> order;
  SetForegroundWindow(form_->hWnd());
  SetFocus(Edit(L"first"));
  for (int i = 0; i < 4; ++i, form_->MoveFocus(true)) order.push_back(GetFocus());
  EXPECT_EQ(order, (std::vector<HWND>{Edit(L"first"), Edit(L"second"), Edit(L"third"), Edit(L"last")}));
}

TEST_F(FrameContainer, ClosingOrRemovingTerminatesContainedControlsWhileTheirFrameStands) {
  std::vector<std::wstring> log;
  Probe::log = &log;
  types_.Register(L"Probe", [](ControlSite& s) -> std::unique_ptr<UserControl> { return std::make_unique<Probe>(s); });
  AddFrame(L"fra", 300, 200);
  form_->Add(L"Probe", L"p1", 0, 0, 600, 600, L"fra");
  AddFrame(L"sub", 150, 100, L"fra", 10, 30);
  form_->Add(L"Probe", L"p2", 0, 0, 600, 600, L"sub");
  form_->Add(L"Probe", L"p3", 0, 0, 600, 600);
  form_->Remove(L"sub");
  EXPECT_EQ(log, std::vector<std::wstring>{L"p2+"});
  EXPECT_EQ(form_->ControlNames(), (std::vector<std::wstring>{L"fra", L"p1", L"p3"}));
  form_->Close();
  EXPECT_EQ(log, (std::vector<std::wstring>{L"p2+", L"p3+", L"p1+"}));
}

}  // namespace
}  // namespace tessel::test::frames
