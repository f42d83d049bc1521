// What Wine's ATL host cannot show, in the tests' own container: Tab and access keys between two
// controls, mnemonics, ambient changes (design mode), frozen events and quick activation.
#include <gmock/gmock.h>

#include "tests/olehost/OleFixture.h"
#include "tests/olehost/TestContainer.h"
#include "tests/support/MessagePump.h"

namespace tessel::oletest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RECT kFirst{10, 10, 107, 43}, kSecond{120, 10, 217, 43};

std::vector<std::string> Clicks(EventSink& sink) {
  std::vector<std::string> kept;
  for (const std::string& line : sink.Take())
    if (line == "Click") kept.push_back(line);
  return kept;
}

TEST(OwnContainer, TabAndShiftTabMoveTheFocusBetweenTwoControlsThroughTheContainer) {
  TestContainer container;
  TestSite& first = container.Add(kFirst);
  TestSite& second = container.Add(kSecond);
  ASSERT_EQ(first.Create(L"TesselOCX.ButtonStyle"), S_OK);
  ASSERT_EQ(second.Create(L"TesselOCX.ButtonStyle"), S_OK);
  ComPtr<IOleObject> object;
  ASSERT_EQ(first.control()->QueryInterface(IID_PPV_ARGS(&object)), S_OK);
  ASSERT_EQ(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &first, 0, container.window(), &kFirst), S_OK);
  EXPECT_EQ(GetFocus(), first.ControlWindow());
  EXPECT_THAT(container.calls, ElementsAre("SetActiveObject(ButtonStyle)", "OnFocus(1)"));
  container.calls.clear();

  // The control hands Tab to its site first, then the container moves on.
  container.Key(VK_TAB);
  EXPECT_EQ(GetFocus(), second.ControlWindow());
  EXPECT_THAT(container.calls, ElementsAre("TranslateAccelerator(9,0)", "SetActiveObject(null)", "OnFocus(0)",
                                           "SetActiveObject(ButtonStyle)", "OnFocus(1)"));
  container.Key(VK_TAB);
  EXPECT_EQ(GetFocus(), first.ControlWindow());
}

TEST(OwnContainer, AnAccessKeyReachesItsControlThroughTheAcceleratorsAndOnMnemonic) {
  TestContainer container;
  TestSite& first = container.Add(kFirst);
  TestSite& second = container.Add(kSecond);
  ASSERT_EQ(first.Create(L"TesselOCX.ButtonStyle"), S_OK);
  ASSERT_EQ(second.Create(L"TesselOCX.ButtonStyle"), S_OK);
  ComPtr<IDispatch> one, two;
  ASSERT_EQ(first.control()->QueryInterface(IID_PPV_ARGS(&one)), S_OK);
  ASSERT_EQ(second.control()->QueryInterface(IID_PPV_ARGS(&two)), S_OK);
  unique_variant gravar, sair;
  *gravar.get() = Var(L"&Gravar");
  *sair.get() = Var(L"&Sair");
  ASSERT_EQ(Put(one.Get(), L"Caption", *gravar.get()), S_OK);
  ASSERT_EQ(Put(two.Get(), L"Caption", *sair.get()), S_OK);
  ComPtr<IOleControl> control;
  ASSERT_EQ(two->QueryInterface(IID_PPV_ARGS(&control)), S_OK);
  CONTROLINFO info{sizeof(info)};
  ASSERT_EQ(control->GetControlInfo(&info), S_OK);
  EXPECT_EQ(info.cAccel, 1);
  ASSERT_NE(info.hAccel, nullptr);

  EventSink firstEvents(first.control()), secondEvents(second.control());
  container.Key('S', true);
  EXPECT_THAT(Clicks(secondEvents), ElementsAre("Click"));
  EXPECT_THAT(Clicks(firstEvents), IsEmpty());
  container.Key('G', true);
  EXPECT_THAT(Clicks(firstEvents), ElementsAre("Click"));
  container.Key('X', true);
  EXPECT_THAT(Clicks(firstEvents), IsEmpty());
  EXPECT_THAT(Clicks(secondEvents), IsEmpty());
}

TEST(OwnContainer, DesignModeFromTheAmbientUserModeHoldsTheInputBackUntilTheContainerSaysItChanged) {
  TestContainer container;
  container.userMode = false;
  TestSite& site = container.Add(kFirst);
  ASSERT_EQ(site.Create(L"TesselOCX.ButtonStyle"), S_OK);
  EventSink events(site.control());
  Click(site.ControlWindow());
  EXPECT_THAT(Clicks(events), IsEmpty()) << "no input while the container is in design mode";

  container.userMode = true;
  container.Notify(DISPID_AMBIENT_USERMODE);
  Click(site.ControlWindow());
  EXPECT_THAT(Clicks(events), ElementsAre("Click"));
  container.userMode = false;
  container.Notify(DISPID_UNKNOWN);
  Click(site.ControlWindow());
  EXPECT_THAT(Clicks(events), IsEmpty()) << "told that anything may have changed";
}

TEST(OwnContainer, FrozenEventsAreNotRaisedAndThawedOnesAre) {
  TestContainer container;
  TestSite& site = container.Add(kFirst);
  ASSERT_EQ(site.Create(L"TesselOCX.ButtonStyle"), S_OK);
  ComPtr<IOleControl> control;
  ASSERT_EQ(site.control()->QueryInterface(IID_PPV_ARGS(&control)), S_OK);
  EventSink events(site.control());
  control->FreezeEvents(TRUE);
  control->FreezeEvents(TRUE);
  Click(site.ControlWindow());
  control->FreezeEvents(FALSE);
  Click(site.ControlWindow());
  EXPECT_THAT(events.Take(), IsEmpty()) << "frozen twice, thawed once";
  control->FreezeEvents(FALSE);
  Click(site.ControlWindow());
  EXPECT_THAT(Clicks(events), ElementsAre("Click"));
}

TEST(OwnContainer, QuickActivationTakesTheSiteTheAmbientsAndTheEventSinkInOneCall) {
  TestContainer container;
  TestSite& site = container.Add(kFirst);
  // A sink of its own: a connection point advised it, not the test.
  EventSink unadvised(nullptr);
  ASSERT_EQ(site.Create(L"TesselOCX.ButtonStyle", true, static_cast<IDispatch*>(&unadvised)), S_OK);
  Click(site.ControlWindow());
  EXPECT_THAT(Clicks(unadvised), ElementsAre("Click"));
}

}  // namespace
}  // namespace tessel::oletest
