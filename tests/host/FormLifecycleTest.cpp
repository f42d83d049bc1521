#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "server/contract/Twips.h"
#include "tests/host/HostFixture.h"
#include "tests/support/Bags.h"

namespace tessel::hosttest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using FormLifecycle = FormTest;

// A new control is initialised and a loaded one read; a property change marks the form until it
// is saved, and saved bags leave out what equals its default; the last placed goes first.
TEST_F(FormLifecycle, NewAndLoadedControlsGetTheirHandlersInOrderAndTerminateLastPlacedFirst) {
  auto form = NewForm();
  std::vector<std::wstring> changes;
  form->onPropertyChanged = [&](const std::wstring& control, std::wstring_view key) {
    changes.push_back(control + L":" + std::wstring(key));
  };
  auto& a = static_cast<Recorder&>(form->Add(L"Recorder", L"A", 150, 300, 1500, 450));
  EXPECT_THAT(Take(), ElementsAre(L"A.Initialize", L"A.InitProperties", L"A.Resize(1500x450)", L"A.Paint"));
  PropertyBag bag;
  bag.Write(L"Caption", std::wstring(L"stored"));
  ASSERT_NE(form->AddLoaded(L"recorder", L"B", ExtenderProperties{L"", 0, 900, 3000, 600}, bag), nullptr);  // any case
  EXPECT_THAT(Take(), ElementsAre(L"B.Initialize", L"B.ReadProperties", L"B.Resize(3000x600)", L"B.Paint"));
  EXPECT_EQ(static_cast<Recorder*>(form->Control(L"B"))->Caption(), L"stored");
  EXPECT_FALSE(form->Dirty());
  a.SetCaption(L"edited");
  EXPECT_TRUE(form->Dirty());
  EXPECT_THAT(changes, ElementsAre(L"A:Caption"));

  const std::vector<SavedControl> saved = form->Save();
  EXPECT_FALSE(form->Dirty());
  EXPECT_THAT(Take(), ElementsAre(L"A.WriteProperties", L"B.WriteProperties"));
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0].type + L"|" + saved[1].extender.name + L"|" + std::to_wstring(saved[1].extender.top), L"Recorder|B|900");
  EXPECT_THAT(test::Keys(saved[0].bag), ElementsAre(L"Caption"));  // the size is at its default
  EXPECT_EQ(saved[0].bag.ReadString(L"Caption", L""), L"edited");
  form.reset();
  EXPECT_THAT(Take(), ElementsAre(L"B.Terminate", L"A.Terminate"));
}

TEST_F(FormLifecycle, AFailingReadOrABadPlacementIsReportedAndTheOtherControlsStay) {
  auto form = NewForm();
  PropertyBag good, bad;
  good.Write(L"Caption", std::wstring(L"fine"));
  bad.Write(L"Caption", std::wstring(L"x"));
  bad.Write(L"Size", int32_t{-5});
  const ExtenderProperties ext{L"", 0, 0, 1500, 300};
  EXPECT_NE(form->AddLoaded(L"Recorder", L"First", ext, good), nullptr);
  EXPECT_EQ(form->AddLoaded(L"Recorder", L"Broken", ext, bad), nullptr);
  EXPECT_EQ(form->AddLoaded(L"NoSuchType", L"Ghost", ext, good), nullptr);
  EXPECT_NE(form->AddLoaded(L"Recorder", L"Last", ext, good), nullptr);
  ASSERT_EQ(form->LoadFailures().size(), 2u);
  const LoadFailure &f = form->LoadFailures()[0], &g = form->LoadFailures()[1];
  EXPECT_EQ(f.control + L"|" + f.type + L"|" + f.key + L"|" + g.control, L"Broken|Recorder|Size|Ghost");
  EXPECT_THAT(g.message, ::testing::HasSubstr("NoSuchType"));
  // The broken control was taken down again: terminated, and its window gone.
  auto logged = Take();
  EXPECT_THAT(std::vector<std::wstring>(logged.begin() + 4, logged.begin() + 7),
              ElementsAre(L"Broken.Initialize", L"Broken.ReadProperties", L"Broken.Terminate"));
  // A name taken in any case, an unknown type and no name are refused.
  for (auto [type, name] : {std::pair{L"Recorder", L"first"}, {L"Unknown", L"C"}, {L"Recorder", L""}})
    EXPECT_THROW(form->Add(type, name, 0, 0, 1500, 450), std::invalid_argument) << type << name;
  EXPECT_THAT(form->ControlNames(), ElementsAre(L"First", L"Last"));
  EXPECT_EQ(form->Control(L"Broken"), nullptr);
  int children = 0;
  for (HWND w = GetWindow(form->hWnd(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(children, 2);
}

TEST_F(FormLifecycle, PlacementIsConvertedFromTwipsWithTheScreenResolution) {
  auto form = NewForm();
  const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  UserControl& c = form->Add(L"Recorder", L"A", 10 * tx, 20 * ty, 100 * tx, 30 * ty);
  EXPECT_EQ(Edges(PlacedIn(c.hWnd(), form->hWnd())), Edges({10, 20, 110, 50}));
  EXPECT_EQ(std::vector<int>({c.ScaleWidth(), c.ScaleHeight(), form->ScaleWidth(), form->ScaleHeight()}),
            std::vector<int>({100 * tx, 30 * ty, TwipsFromPixelsX(PixelsFromTwipsX(6000)), TwipsFromPixelsY(PixelsFromTwipsY(4500))}));
  Take();
  form->Site(L"A")->Move(0, 0, 100 * tx, 30 * ty);  // a move alone does not resize; a new size does, once
  EXPECT_THAT(Take(), IsEmpty());
  c.SetWidth(50 * tx);
  EXPECT_THAT(Take(), ElementsAre(L"A.Resize(" + std::to_wstring(50 * tx) + L"x" + std::to_wstring(30 * ty) + L")"));
  EXPECT_EQ(Edges(PlacedIn(c.hWnd(), form->hWnd())), Edges({0, 0, 50, 30}));
  EXPECT_THROW(c.SetHeight(-1), InvalidPropertyValue);
}

TEST_F(FormLifecycle, AmbientChangesReachEveryControl) {
  auto form = NewForm(false);
  Place(*form, {{L"Recorder", L"A"}, {L"Recorder", L"B"}});
  UserControl &a = *form->Control(L"A"), &b = *form->Control(L"B");
  EXPECT_TRUE(!a.Ambient().userMode && a.Ambient().displayName == L"A" && a.Ambient().backColor == kSysButtonFace);
  ASSERT_TRUE(a.Ambient().font);
  Take();
  form->SetBackColor(0x00336699);
  EXPECT_THAT(Take(), ElementsAre(L"A.AmbientChanged(BackColor)", L"B.AmbientChanged(BackColor)"));
  EXPECT_EQ(std::vector<OleColor>({b.Ambient().backColor, b.Site().ParentBackColor()}), std::vector<OleColor>(2, 0x00336699u));
  form->SetUserMode(true);
  form->SetUserMode(true);  // no change, no notification
  form->SetForeColor(0x000000FF);
  form->SetFont(Font::Create(FontDesc{L"Arial", 12.0f}));
  EXPECT_THAT(Take(), ElementsAre(L"A.AmbientChanged(UserMode)", L"B.AmbientChanged(UserMode)", L"A.AmbientChanged(ForeColor)",
                                  L"B.AmbientChanged(ForeColor)", L"A.AmbientChanged(Font)", L"B.AmbientChanged(Font)"));
  EXPECT_TRUE(a.Ambient().userMode);
  EXPECT_EQ(b.Ambient().font->Describe().name, L"Arial");
  form->SetDefaultButton(L"B");
  EXPECT_THAT(Take(), ElementsAre(L"B.AmbientChanged(DisplayAsDefault)"));
  EXPECT_TRUE(b.Ambient().displayAsDefault && !a.Ambient().displayAsDefault);
  EXPECT_THROW(form->SetDefaultButton(L"Nobody"), std::invalid_argument);
}

// Closed by the user's close box (the loop runs until the form is gone) or destroyed from outside:
// the controls go first, once, and the form knows it is closed.
TEST_F(FormLifecycle, ClosingTheWindowTerminatesTheControlsOnceAndEndsTheLoop) {
  int closed = 0;
  auto form = NewForm(), other = NewForm();
  Place(*form, {{L"Recorder", L"A"}, {L"Recorder", L"B"}});
  Place(*other, {{L"Recorder", L"C"}});
  form->onClosed = other->onClosed = [&] { ++closed; };
  Take();
  PostMessageW(form->hWnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->RunMessageLoop(), 0);
  EXPECT_FALSE(form->IsOpen());
  EXPECT_THAT(Take(), ElementsAre(L"B.Terminate", L"A.Terminate"));
  form.reset();
  EXPECT_EQ(closed, 1);
  EXPECT_THAT(Take(), IsEmpty());
  DestroyWindow(other->hWnd());
  EXPECT_FALSE(other->IsOpen());
  EXPECT_EQ(closed, 2);
  EXPECT_THAT(Take(), ElementsAre(L"C.Terminate"));
  EXPECT_THROW(other->Add(L"Recorder", L"D", 0, 0, 1500, 450), std::logic_error);
}

}  // namespace
}  // namespace tessel::hosttest
