// CBalloonToolTip through IDispatch: the tooltip window it builds, what it sends there, and how
// each property write rebuilds it.
#include <gtest/gtest.h>

#include <memory>

#include "server/module/Guids.h"
#include "tests/classes/Automation.h"

using namespace tessel::test;
using tessel::server::kClsidBalloonToolTip;
using tessel::server::kClsidSOSystem;

namespace {

void ExpectTitle(HWND tip, const TipRecorder& rec, const wchar_t* title, UINT icon) {
  TitleQuery q = QueryTitle(tip, rec);
  ASSERT_TRUE(q.answered) << "no title was ever set on this window";
  EXPECT_EQ(q.title, title);
  EXPECT_EQ(q.icon, icon) << "title " << std::string(title, title + wcslen(title));
}

class BalloonToolTipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ServerModule(), nullptr);
    tip = Auto(CreateServerObject(kClsidBalloonToolTip));
    ASSERT_TRUE(tip);
  }
  HWND Tip() { return reinterpret_cast<HWND>(static_cast<INT_PTR>(tip.GetLong(L"hWnd"))); }

  ParentWindow parent;
  Auto tip;
};

TEST_F(BalloonToolTipTest, BalloonIsBuiltWithItsStyleToolAndTitleInOrder) {
  TipRecorder rec;
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"Save the form"), Str(L"Saving"), Short(1)}), S_OK);
  EXPECT_EQ(V_VT(&tip.result), VT_EMPTY);
  HWND w = Tip();
  ASSERT_TRUE(IsWindow(w));

  const std::vector<UINT> expected = {WM_CREATE, TTM_ADDTOOLA, TTM_SETMAXTIPWIDTH, TTM_SETTITLEA, TTM_ACTIVATE};
  ASSERT_EQ(rec.messages(), expected);
  const auto& e = rec.events();
  EXPECT_EQ(e[0].window, w);
  EXPECT_EQ(e[0].style, 0x80800043u);
  EXPECT_EQ(e[0].exStyle, 0u);
  EXPECT_EQ(e[0].parent, parent.hwnd());
  EXPECT_EQ(e[0].instance, reinterpret_cast<HINSTANCE>(ServerModule()));
  EXPECT_EQ(e[1].flags, 0x10u);
  EXPECT_EQ(e[1].tool, parent.hwnd());
  EXPECT_EQ(e[1].id, 0u);
  const RECT client{0, 0, 320, 200};
  EXPECT_TRUE(EqualRect(&e[1].rect, &client));
  EXPECT_EQ(e[1].toolInstance, reinterpret_cast<HINSTANCE>(ServerModule()));
  EXPECT_EQ(e[1].text, "Save the form");
  EXPECT_EQ(e[2].wParam, 0u);
  EXPECT_EQ(e[3].wParam, 1u);
  EXPECT_EQ(e[3].text, "Saving");
  EXPECT_EQ(e[4].wParam, 1u);

  EXPECT_EQ(ClassOf(w), L"tooltips_class32");
  EXPECT_EQ(GetWindow(w, GW_OWNER), parent.hwnd());
  EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);

  ASSERT_TRUE(QueryTool(w, parent.hwnd()).found);
  EXPECT_EQ(SendMessageW(w, TTM_GETMAXTIPWIDTH, 0, 0), 300);
  ExpectTitle(w, rec, L"Saving", 1);

  EXPECT_EQ(tip.GetLong(L"Style"), 1);
  EXPECT_EQ(tip.GetLong(L"Icon"), 1);
  EXPECT_EQ(tip.GetLong(L"Active"), -1);
  EXPECT_EQ(tip.GetText(L"TipText"), L"Save the form");
  EXPECT_EQ(tip.GetText(L"Title"), L"Saving");
  EXPECT_EQ(tip.GetLong(L"ParentControl"), static_cast<long>(reinterpret_cast<INT_PTR>(parent.hwnd())));
}

TEST_F(BalloonToolTipTest, StandardTipDropsOnlyTheInformationIcon) {
  struct Case { short given; UINT shown; };
  for (Case c : {Case{0, 0}, Case{1, 0}, Case{2, 2}, Case{3, 3}, Case{4, 0}, Case{77, 0}}) {
    TipRecorder rec;
    ASSERT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(L"text"), Str(L"Heads up"), Short(c.given)}), S_OK);
    ASSERT_FALSE(rec.events().empty());
    EXPECT_EQ(rec.events()[0].style, 0x80800003u);
    ExpectTitle(Tip(), rec, L"Heads up", c.shown);
    EXPECT_EQ(tip.GetLong(L"Icon"), static_cast<long>(c.shown));
    EXPECT_EQ(tip.GetLong(L"Style"), 0);
  }
  // Writing Icon afterwards is taken as it is.
  TipRecorder rec;
  ASSERT_EQ(tip.Put(L"Icon", Int(1)), S_OK);
  ExpectTitle(Tip(), rec, L"Heads up", 1);
}

TEST_F(BalloonToolTipTest, EveryWriteExceptActiveRebuildsAndReadsChangeNothing) {
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"t"), Str(L"T"), Short(2)}), S_OK);
  struct Write { const wchar_t* name; VARIANT value; };
  const Write writes[] = {{L"Style", Int(0)},          {L"Centered", Bool(true)},      {L"Icon", Int(3)},
                          {L"ForeColor", Int(0x0000FF)}, {L"Title", Str(L"New title")}, {L"BackColor", Int(0xCCFFFF)},
                          {L"TipText", Str(L"new text")}};
  TipRecorder rec;
  for (const Write& w : writes) {
    HWND before = Tip();
    rec.clear();
    ASSERT_EQ(tip.Put(w.name, w.value), S_OK);
    HWND after = Tip();
    EXPECT_NE(after, before) << "writing " << std::string(w.name, w.name + wcslen(w.name));
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(IsWindow(after));
    ASSERT_FALSE(rec.events().empty());
    EXPECT_EQ(rec.events().back().message, static_cast<UINT>(TTM_ACTIVATE));
    EXPECT_EQ(rec.events().back().wParam, 1u) << "the rebuilt tip stays active";
  }
  HWND w = Tip();
  for (const wchar_t* name : {L"Style", L"Centered", L"Icon", L"ForeColor", L"Title", L"BackColor", L"TipText",
                              L"ParentControl", L"Active", L"hWnd"}) {
    VARIANT v = tip.Get(name);
    VariantClear(&v);
  }
  EXPECT_EQ(Tip(), w);

  // The settings all reached the last window.
  EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & TTS_BALLOON, 0);
  ToolQuery q = QueryTool(w, parent.hwnd());
  EXPECT_EQ(q.flags, 0x12u);
  EXPECT_EQ(q.text, "new text");
  ExpectTitle(w, rec, L"New title", 3);
  EXPECT_EQ(SendMessageW(w, TTM_GETTIPTEXTCOLOR, 0, 0), 0x0000FF);
  EXPECT_EQ(SendMessageW(w, TTM_GETTIPBKCOLOR, 0, 0), 0xCCFFFF);

  // Active only switches the current window.
  rec.clear();
  ASSERT_EQ(tip.Put(L"Active", Bool(false)), S_OK);
  EXPECT_EQ(Tip(), w);
  ASSERT_EQ(rec.messages(), std::vector<UINT>{TTM_ACTIVATE});
  EXPECT_EQ(rec.events()[0].wParam, 0u);
  EXPECT_EQ(tip.GetLong(L"Active"), 0);
  // A rebuild of an inactive tip re-sends the inactive state to the new window.
  rec.clear();
  ASSERT_EQ(tip.Put(L"Centered", Bool(false)), S_OK);
  ASSERT_FALSE(rec.events().empty());
  EXPECT_EQ(rec.events().back().message, static_cast<UINT>(TTM_ACTIVATE));
  EXPECT_EQ(rec.events().back().wParam, 0u);
  EXPECT_EQ(QueryTool(Tip(), parent.hwnd()).flags, 0x10u);
}

TEST_F(BalloonToolTipTest, ColoursOfZeroKeepTheSystemColoursAndOthersAreSentTextFirst) {
  TipRecorder rec;
  ASSERT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(L"t")}), S_OK);
  HWND w = Tip();
  for (UINT m : rec.messages()) {
    EXPECT_NE(m, static_cast<UINT>(TTM_SETTIPTEXTCOLOR));
    EXPECT_NE(m, static_cast<UINT>(TTM_SETTIPBKCOLOR));
  }
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(w, TTM_GETTIPBKCOLOR, 0, 0)), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(w, TTM_GETTIPTEXTCOLOR, 0, 0)), GetSysColor(COLOR_INFOTEXT));

  ASSERT_EQ(tip.Put(L"BackColor", Int(0x00336699)), S_OK);
  rec.clear();
  ASSERT_EQ(tip.Put(L"ForeColor", Int(0x00FFFFFF)), S_OK);
  const std::vector<UINT> expected = {WM_CREATE,     TTM_ADDTOOLA,        TTM_SETMAXTIPWIDTH, TTM_SETTITLEA,
                                      TTM_SETTIPTEXTCOLOR, TTM_SETTIPBKCOLOR, TTM_ACTIVATE};
  ASSERT_EQ(rec.messages(), expected);
  EXPECT_EQ(rec.events()[4].wParam, 0x00FFFFFFu);
  EXPECT_EQ(rec.events()[5].wParam, 0x00336699u);
  EXPECT_EQ(tip.GetLong(L"ForeColor"), 0x00FFFFFF);
  EXPECT_EQ(tip.GetLong(L"BackColor"), 0x00336699);
}

TEST_F(BalloonToolTipTest, RemoveForgetsTheWindowAndTheNextWriteRebuildsFromTheSettings) {
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"kept text"), Str(L"Kept"), Short(3)}), S_OK);
  HWND w = Tip();
  ASSERT_EQ(tip.Call(L"Remove", {}), S_OK);
  EXPECT_EQ(Tip(), nullptr);
  EXPECT_FALSE(IsWindow(w));
  ASSERT_EQ(tip.Call(L"Remove", {}), S_OK) << "removing twice is harmless";

  TipRecorder rec;
  ASSERT_EQ(tip.Put(L"Title", Str(L"Back again")), S_OK);
  HWND again = Tip();
  ASSERT_TRUE(IsWindow(again));
  EXPECT_TRUE(GetWindowLongW(again, GWL_STYLE) & TTS_BALLOON);
  EXPECT_EQ(QueryTool(again, parent.hwnd()).text, "kept text");
  ExpectTitle(again, rec, L"Back again", 3);
}

TEST_F(BalloonToolTipTest, ToolRectangleIsTheClientAreaOfTheLastBuild) {
  ASSERT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(L"t")}), S_OK);
  RECT r{0, 0, 500, 260};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  SetWindowPos(parent.hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  ToolQuery q = QueryTool(Tip(), parent.hwnd());
  EXPECT_EQ(q.rect.right, 320);
  EXPECT_EQ(q.rect.bottom, 200);
  ASSERT_EQ(tip.Put(L"TipText", Str(L"u")), S_OK);
  q = QueryTool(Tip(), parent.hwnd());
  EXPECT_EQ(q.rect.right, 500);
  EXPECT_EQ(q.rect.bottom, 260);
}

TEST_F(BalloonToolTipTest, WithoutAParentWindowNothingIsBuilt) {
  TipRecorder rec;
  ASSERT_EQ(tip.Put(L"Title", Str(L"no parent yet")), S_OK);
  EXPECT_EQ(Tip(), nullptr);
  EXPECT_TRUE(rec.events().empty());
  ASSERT_EQ(tip.Put(L"Active", Bool(true)), S_OK);
  EXPECT_EQ(Tip(), nullptr);
  ASSERT_EQ(tip.PutRef(L"ParentControl", parent.object()), S_OK);
  HWND w = Tip();
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(GetWindow(w, GW_OWNER), parent.hwnd());
  ASSERT_FALSE(rec.events().empty());
  EXPECT_EQ(rec.events().back().message, static_cast<UINT>(TTM_ACTIVATE));
  EXPECT_EQ(rec.events().back().wParam, 1u);
  ExpectTitle(w, rec, L"no parent yet", 0);
}

TEST_F(BalloonToolTipTest, OmittedTitleAndIconTakeTheirDefaults) {
  TipRecorder rec;
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"two arguments")}), S_OK);
  ExpectTitle(Tip(), rec, L"", 0);
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"x"), Missing(), Short(2)}), S_OK);
  EXPECT_EQ(tip.GetText(L"Title"), L"");
  EXPECT_EQ(tip.GetLong(L"Icon"), 2);
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"x"), Str(L"T"), Missing()}), S_OK);
  EXPECT_EQ(tip.GetLong(L"Icon"), 0);

  // Named arguments, in any order, and text given as a number.
  LPOLESTR names[4] = {const_cast<LPOLESTR>(L"CreateBalloon"), const_cast<LPOLESTR>(L"Icon"),
                       const_cast<LPOLESTR>(L"Parent"), const_cast<LPOLESTR>(L"Text")};
  DISPID ids[4] = {};
  ASSERT_EQ(tip.get()->GetIDsOfNames(IID_NULL, names, 4, LOCALE_USER_DEFAULT, ids), S_OK);
  EXPECT_EQ(std::vector<DISPID>(ids + 1, ids + 4), (std::vector<DISPID>{3, 0, 1}));
  VARIANT args[3] = {Short(3), Obj(parent.object()), Int(42)};
  DISPPARAMS p{args, ids + 1, 3, 3};
  ASSERT_EQ(tip.get()->Invoke(ids[0], IID_NULL, 0, DISPATCH_METHOD, &p, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(tip.GetText(L"TipText"), L"42");
  EXPECT_EQ(tip.GetLong(L"Icon"), 3);
  EXPECT_EQ(tip.GetText(L"Title"), L"");
}

TEST_F(BalloonToolTipTest, BadArgumentsChangeOnlyTheStyle) {
  ASSERT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(L"first"), Str(L"First"), Short(2)}), S_OK);
  HWND w = Tip();
  Auto facts(CreateServerObject(kClsidSOSystem));
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(facts.get()), Str(L"second"), Str(L"Second"), Short(1)}), DISP_E_EXCEPTION);
  EXPECT_EQ(tip.excep.scode, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(tip.GetLong(L"Style"), 1);
  ASSERT_EQ(tip.PutRef(L"ParentControl", facts.get()), DISP_E_EXCEPTION);
  ASSERT_EQ(tip.Call(L"CreateTip", {Obj(nullptr), Str(L"x")}), DISP_E_EXCEPTION);
  EXPECT_EQ(tip.GetLong(L"Style"), 0);
  EXPECT_EQ(tip.Call(L"CreateTip", {Int(1234), Str(L"x")}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(tip.argErr, 1u);
  EXPECT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Obj(parent.object())}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(L"x"), Str(L"t"), Short(1), Short(1)}),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Tip(), w);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(tip.GetText(L"TipText"), L"first");
  EXPECT_EQ(tip.GetText(L"Title"), L"First");
  EXPECT_EQ(tip.GetLong(L"Icon"), 2);
}

TEST_F(BalloonToolTipTest, HugeTextsAndOddIconsAreTakenAsTheyAre) {
  std::wstring huge(100000, L'w');
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(huge.c_str()), Str(L"Long"), Short(-5)}), S_OK);
  EXPECT_EQ(tip.GetText(L"TipText").size(), 100000u);
  for (long icon : {1000L, 0x7FFFFFFFL}) {
    ASSERT_EQ(tip.Put(L"Icon", Int(icon)), S_OK);
    EXPECT_EQ(tip.GetLong(L"Icon"), icon);
  }
  ASSERT_EQ(tip.Put(L"Style", Int(7)), S_OK);
  EXPECT_TRUE(IsWindow(Tip()));
  EXPECT_EQ(GetWindowLongW(Tip(), GWL_STYLE) & TTS_BALLOON, 0) << "only style 1 is a balloon";
}

TEST_F(BalloonToolTipTest, ALongTipWrapsAtItsMaximumWidthAndShowsItsColours) {
  ASSERT_EQ(tip.Put(L"BackColor", Int(0x00336699)), S_OK);
  ASSERT_EQ(tip.Put(L"ForeColor", Int(0x00FFFFFF)), S_OK);
  auto shown = [&](const wchar_t* text) {
    EXPECT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(text)}), S_OK);
    return ShowTip(Tip(), parent.hwnd());
  };
  RECT one = shown(L"short");
  ASSERT_GT(one.bottom - one.top, 0) << "the tip never showed";
  RECT many = shown(L"This tip carries a sentence that is far too long to stay on one line of three hundred "
                    L"pixels, so the tooltip has to break it into several lines of text.");
  RECT broken = shown(L"first\r\nsecond");
  const int line = one.bottom - one.top;
  EXPECT_LE(many.right - many.left, 300 + 20) << "the text is broken at 300 pixels plus the margins";
  EXPECT_GT(many.right - many.left, 200);
  EXPECT_GE(many.bottom - many.top, line + 10) << "and takes more than one line";
  EXPECT_GE(broken.bottom - broken.top, line + 10) << "line breaks in the text are honoured";

  // The background colour fills the inside of the tip, just within its border.
  HDC screen = GetDC(nullptr);
  COLORREF inside = GetPixel(screen, broken.left + 2, broken.top + 2);
  COLORREF lower = GetPixel(screen, broken.right - 3, broken.bottom - 3);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(inside, 0x00336699u);
  EXPECT_EQ(lower, 0x00336699u);
}

BOOL CALLBACK CountTips(HWND window, LPARAM count) {
  if (ClassOf(window) == L"tooltips_class32") ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ThreadTipCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountTips, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(BalloonToolTipTest, RebuildsLeaveExactlyOneWindowBehind) {
  const int before = ThreadTipCount();
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"t"), Str(L"T"), Short(1)}), S_OK);
  for (int i = 0; i < 8; ++i) {
    ASSERT_EQ(tip.Put(i % 2 ? L"Centered" : L"Style", i % 2 ? Bool(i % 4 == 1) : Int(i % 4 == 0 ? 1 : 0)), S_OK);
    ASSERT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(L"again")}), S_OK);
  }
  EXPECT_EQ(ThreadTipCount(), before + 1);
  ASSERT_EQ(tip.Call(L"Remove", {}), S_OK);
  EXPECT_EQ(ThreadTipCount(), before);

  // Two objects on one parent keep two tips.
  Auto other(CreateServerObject(kClsidBalloonToolTip));
  ASSERT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(L"one")}), S_OK);
  ASSERT_EQ(other.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"two")}), S_OK);
  EXPECT_EQ(ThreadTipCount(), before + 2);
  EXPECT_NE(Tip(), reinterpret_cast<HWND>(static_cast<INT_PTR>(other.GetLong(L"hWnd"))));
}

TEST_F(BalloonToolTipTest, TextsReachTheWindowInTheAnsiCodePage) {
  const wchar_t* text = L"A\u00e7\u00e3o & reac\u00e7\u00e3o";
  char expected[64] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, expected, sizeof(expected), nullptr, nullptr);
  TipRecorder rec;
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(text), Str(text), Short(0)}), S_OK);
  ASSERT_GE(rec.events().size(), 4u);
  EXPECT_EQ(rec.events()[1].text, expected);
  EXPECT_EQ(rec.events()[3].text, expected);
  EXPECT_EQ(tip.GetText(L"TipText"), text) << "the stored text keeps every character";
  // An ampersand is shown as it is: the tip has no-prefix.
  EXPECT_TRUE(GetWindowLongW(Tip(), GWL_STYLE) & TTS_NOPREFIX);
}

TEST(BalloonToolTipOwner, TipsGoWithTheirOwnerAndAGoneOneIsForgottenSafely) {
  Auto tip(CreateServerObject(kClsidBalloonToolTip));
  auto first = std::make_unique<ParentWindow>();
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(first->object()), Str(L"t"), Str(L"T"), Short(2)}), S_OK);
  HWND old = reinterpret_cast<HWND>(static_cast<INT_PTR>(tip.GetLong(L"hWnd")));
  // Releasing an object leaves its window to the owner.
  Auto released(CreateServerObject(kClsidBalloonToolTip));
  ASSERT_EQ(released.Call(L"CreateTip", {Obj(first->object()), Str(L"t")}), S_OK);
  HWND left = reinterpret_cast<HWND>(static_cast<INT_PTR>(released.GetLong(L"hWnd")));
  released = Auto();
  EXPECT_TRUE(IsWindow(left));
  IDispatch* orphan = first->object();
  orphan->AddRef();
  first.reset();   // the owner goes, and the tips with it
  EXPECT_FALSE(IsWindow(old));
  EXPECT_FALSE(IsWindow(left));
  EXPECT_EQ(tip.GetLong(L"hWnd"), static_cast<long>(reinterpret_cast<INT_PTR>(old))) << "the handle is only read";

  // Writes now build nothing for the gone window, and a new parent takes the tip again.
  ASSERT_EQ(tip.Put(L"Title", Str(L"nobody")), S_OK);
  EXPECT_EQ(tip.GetLong(L"hWnd"), 0);
  ASSERT_EQ(tip.Call(L"Remove", {}), S_OK);
  ParentWindow second;
  ASSERT_EQ(tip.PutRef(L"ParentControl", second.object()), S_OK);
  HWND fresh = reinterpret_cast<HWND>(static_cast<INT_PTR>(tip.GetLong(L"hWnd")));
  EXPECT_TRUE(IsWindow(fresh));
  EXPECT_EQ(GetWindow(fresh, GW_OWNER), second.hwnd());
  EXPECT_EQ(QueryTool(fresh, second.hwnd()).text, "t");
  orphan->Release();
}

}  // namespace
