#include "tests/support/Prelude.h"

#include "server/contract/PropertyBag.h"
#include "server/module/Guids.h"
#include "tests/classes/Automation.h"

using namespace tessel::test;
using ::testing::ElementsAre;
using tessel::server::kClsidBalloonToolTip;
using tessel::server::kClsidSOSystem;

namespace {

std::string Ansi(const wchar_t* text) {
  char out[256] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return out;
}

int ThreadTipCount() {
  int count = 0;
  for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
       w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
    count += GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId();
  return count;
}

class BalloonToolTipTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tip); }
  ParentWindow parent;
  Auto tip{CreateServerObject(kClsidBalloonToolTip)};
};

// A create method builds one window and sends it tool, width, title and icon, the colours (text first)
// and the activation, in order; only a balloon shows the information icon; text beyond the ANSI code
// page goes wide and whole, other text narrow.
TEST_F(BalloonToolTipTest, CreateMethodsBuildTheWindowAndSendItsSettingsInOrder) {
  const std::string accented = Ansi(L"A\u00e7\u00e3o & reac\u00e7\u00e3o");
  // The arguments after the parent; text and titleText are read back from the window and the object.
  struct Case { const wchar_t* method; std::vector<VARIANT> args; std::string create, tool, title;
                std::vector<std::string> colours; bool wide = false; const wchar_t *text = nullptr, *titleText = nullptr; };
  const std::string balloon = "create(80800043,0,server)", standard = "create(80800003,0,server)";
  std::vector<Case> cases = {
      {L"CreateBalloon", {Str(L"Save the form"), Str(L"Saving"), Short(1)}, balloon, "Save the form", "1,Saving"},
      {L"CreateBalloon", {Str(std::wstring(100000, L'w').c_str()), Str(L"Odd"), Short(-5)}, balloon,
       std::string(100000, 'w'), "-5,Odd"},
      {L"CreateBalloon", {Str(L"two arguments")}, balloon, "two arguments", "0,"},
      {L"CreateBalloon", {Str(L"x"), Str(L"T"), Missing()}, balloon, "x", "0,T"},
      {L"CreateBalloon", {Str(L"A\u00e7\u00e3o & reac\u00e7\u00e3o"), Str(L"A\u00e7\u00e3o & reac\u00e7\u00e3o"), Short(0)},
       balloon, accented, "0," + accented},
  };
  for (const auto& [text, title, wide] : {std::tuple{L"\u4fdd\u5b58\u3057\u307e\u3059", L"\u6ce8\u610f", true},  // Japanese
                                          {L"\u0391\u03c0\u03bf\u03b8\u03ae\u03ba\u03b5\u03c5\u03c3\u03b7", L"Title", true},
                                          {L"plain", L"\u2705 \U0001F600 ok", true},  // emoji in the title only
                                          {L"A\u00e7\u00e3o", L"T\u00edtulo", false}}) {  // the code page's own
    const auto bytes = [wide = wide](const wchar_t* t) { return wide ? tessel::Utf8FromWide(t) : Ansi(t); };
    cases.push_back({L"CreateBalloon", {Str(text), Str(title), Short(1)}, balloon, bytes(text), "1," + bytes(title), {}, wide,
                     text, title});
  }
  for (short icon : {0, 1, 2, 3, 4, 77})
    cases.push_back({L"CreateTip", {Str(L"text"), Str(L"Heads up"), Short(icon)}, standard, "text",
                     std::to_string(icon == 2 || icon == 3 ? icon : 0) + ",Heads up"});
  cases.push_back({L"CreateTip", {Str(L"t")}, standard, "t", "0,", {"TTM_SETTIPTEXTCOLOR(ffffff)", "TTM_SETTIPBKCOLOR(336699)"}});
  for (Case& c : cases) {
    SCOPED_TRACE(c.tool.substr(0, 20) + " " + c.title);
    if (!c.colours.empty()) {
      ASSERT_EQ(tip.Put(L"BackColor", Int(0x336699)), S_OK);
      ASSERT_EQ(tip.Put(L"ForeColor", Int(0xFFFFFF)), S_OK);
    }
    TipRecorder rec;
    c.args.insert(c.args.begin(), Obj(parent.object()));
    ASSERT_EQ(tip.Call(c.method, c.args), S_OK);
    EXPECT_EQ(V_VT(tip.result.get()), VT_EMPTY);
    std::vector<std::string> want = {c.create, c.wide ? "TTM_ADDTOOLW(10,owner," + c.tool + ")"
                                                      : "TTM_ADDTOOLA(10,0,0 0 320 200,owner,server," + c.tool + ")",
                                     "TTM_SETMAXTIPWIDTH(300)", (c.wide ? "TTM_SETTITLEW(" : "TTM_SETTITLEA(") + c.title + ")"};
    want.insert(want.end(), c.colours.begin(), c.colours.end());
    want.push_back("TTM_ACTIVATE(1)");
    EXPECT_EQ(rec.lines(), want);
    HWND w = tip.Window();
    EXPECT_EQ(ClassOf(w), L"tooltips_class32");
    EXPECT_EQ(GetWindow(w, GW_OWNER), parent.hwnd());
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(tip.GetLong(L"Icon"), std::stol(c.title));
    if (!c.text) continue;
    EXPECT_EQ(QueryTool(w, parent.hwnd()).text, tessel::Utf8FromWide(c.text));
    // The title is checked as sent: Wine's comctl32 5 answers TTM_GETTITLE with an empty title.
    EXPECT_EQ(tip.GetText(L"TipText") + L"|" + tip.GetText(L"Title"), std::wstring(c.text) + L"|" + c.titleText);
  }
  // The settings read back as given (the scripts read the rest).
  EXPECT_EQ(std::vector<long>({tip.GetLong(L"Style"), tip.GetLong(L"Active"), tip.GetLong(L"ForeColor")}),
            std::vector<long>({0, -1, 0xFFFFFF}));
}

// Every write but Active builds the window anew from all the settings, active or not as before;
// reads change nothing, and one window is left per object. Only style 1 is a balloon.
TEST_F(BalloonToolTipTest, EveryWriteExceptActiveRebuildsTheWindowFromAllTheSettings) {
  const int tipsBefore = ThreadTipCount();
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"t"), Str(L"T"), Short(2)}), S_OK);
  // The tool covers the parent's client area as it was at the last build.
  SetWindowPos(parent.hwnd(), nullptr, 0, 0, 500, 260, SWP_NOMOVE | SWP_NOZORDER);
  struct Write { const wchar_t* name; VARIANT value; };
  TipRecorder rec;
  for (const Write& w : {Write{L"Style", Int(7)}, Write{L"Centered", Bool(true)}, Write{L"Icon", Int(3)},
                         Write{L"ForeColor", Int(0x0000FF)}, Write{L"Title", Str(L"New title")},
                         Write{L"BackColor", Int(0xCCFFFF)}, Write{L"TipText", Str(L"new text")}}) {
    HWND before = tip.Window();
    rec.clear();
    ASSERT_EQ(tip.Put(w.name, w.value), S_OK);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(IsWindow(tip.Window()));
    EXPECT_EQ(rec.lines().back(), "TTM_ACTIVATE(1)");
  }
  HWND w = tip.Window();
  for (const wchar_t* name : {L"Style", L"Centered", L"Icon", L"ForeColor", L"Title", L"BackColor", L"TipText",
                              L"ParentControl", L"Active", L"hWnd"})
    tip.Get(name);
  EXPECT_EQ(tip.Window(), w);
  EXPECT_THAT(rec.lines(), ElementsAre("create(80800003,0,server)", "TTM_ADDTOOLA(12,0,0 0 500 260,owner,server,new text)",
                                       "TTM_SETMAXTIPWIDTH(300)", "TTM_SETTITLEA(3,New title)",
                                       "TTM_SETTIPTEXTCOLOR(ff)", "TTM_SETTIPBKCOLOR(ccffff)", "TTM_ACTIVATE(1)"));

  rec.clear();
  ASSERT_EQ(tip.Put(L"Active", Bool(false)), S_OK);
  EXPECT_EQ(tip.Window(), w);
  EXPECT_THAT(rec.lines(), ElementsAre("TTM_ACTIVATE(0)"));
  rec.clear();
  ASSERT_EQ(tip.Put(L"Centered", Bool(false)), S_OK);
  EXPECT_EQ(rec.lines().back(), "TTM_ACTIVATE(0)");
  EXPECT_EQ(QueryTool(tip.Window(), parent.hwnd()).flags, 0x10u);
  EXPECT_EQ(ThreadTipCount(), tipsBefore + 1);
  // Two objects on one parent keep two tips; Remove takes one away, and twice is harmless.
  Auto other(CreateServerObject(kClsidBalloonToolTip));
  ASSERT_EQ(other.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"two")}), S_OK);
  EXPECT_EQ(ThreadTipCount(), tipsBefore + 2);
  ASSERT_EQ(tip.Call(L"Remove", {}), S_OK);
  ASSERT_EQ(tip.Call(L"Remove", {}), S_OK);
  EXPECT_EQ(ThreadTipCount(), tipsBefore + 1);
  EXPECT_EQ(tip.Window(), nullptr);
  // The next write builds again from the kept settings.
  rec.clear();
  ASSERT_EQ(tip.Put(L"Style", Int(1)), S_OK);
  EXPECT_EQ(rec.lines().at(0), "create(80800043,0,server)");
  EXPECT_EQ(QueryTool(tip.Window(), parent.hwnd()).text, "new text") << "the window holds the tool";
}

TEST_F(BalloonToolTipTest, WithoutAParentNothingIsBuiltAndAGoneParentIsForgottenSafely) {
  TipRecorder rec;
  ASSERT_EQ(tip.Put(L"Title", Str(L"no parent yet")), S_OK);
  ASSERT_EQ(tip.Put(L"Active", Bool(true)), S_OK);
  EXPECT_EQ(tip.Window(), nullptr);
  EXPECT_TRUE(rec.lines().empty());
  auto first = std::make_unique<ParentWindow>();
  ASSERT_EQ(tip.PutRef(L"ParentControl", first->object()), S_OK);
  HWND old = tip.Window();
  EXPECT_EQ(GetWindow(old, GW_OWNER), first->hwnd());
  EXPECT_EQ(rec.lines().at(3), "TTM_SETTITLEA(0,no parent yet)");
  EXPECT_EQ(rec.lines().back(), "TTM_ACTIVATE(1)");
  HWND left;
  {  // A released object leaves its window to the owner.
    Auto released(CreateServerObject(kClsidBalloonToolTip));
    ASSERT_EQ(released.Call(L"CreateTip", {Obj(first->object()), Str(L"t")}), S_OK);
    left = released.Window();
  }
  EXPECT_TRUE(IsWindow(left));
  ComPtr<IDispatch> orphan = first->object();
  first.reset();  // the owner goes, and the tips with it
  EXPECT_FALSE(IsWindow(old));
  EXPECT_FALSE(IsWindow(left));
  EXPECT_EQ(tip.Window(), old) << "the handle is only read";
  ASSERT_EQ(tip.Put(L"Title", Str(L"nobody")), S_OK);
  EXPECT_EQ(tip.Window(), nullptr);
  ASSERT_EQ(tip.PutRef(L"ParentControl", parent.object()), S_OK);
  EXPECT_EQ(GetWindow(tip.Window(), GW_OWNER), parent.hwnd());
}

TEST_F(BalloonToolTipTest, BadArgumentsChangeOnlyTheStyleAndNamedOnesGoWhereTheySay) {
  ASSERT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(L"first"), Str(L"First"), Short(2)}), S_OK);
  HWND w = tip.Window();
  Auto facts(CreateServerObject(kClsidSOSystem));
  EXPECT_EQ(tip.Call(L"CreateBalloon", {Obj(facts.get()), Str(L"second"), Str(L"Second"), Short(1)}), DISP_E_EXCEPTION);
  EXPECT_EQ(tip.GetLong(L"Style"), 1);
  EXPECT_EQ(tip.PutRef(L"ParentControl", facts.get()), DISP_E_EXCEPTION);
  EXPECT_EQ(tip.Call(L"CreateTip", {Obj(facts.get()), Str(L"x")}), DISP_E_EXCEPTION);
  EXPECT_EQ(tip.GetLong(L"Style"), 0);
  EXPECT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Obj(parent.object())}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(tip.Call(L"CreateTip", {Obj(parent.object()), Str(L"x"), Str(L"t"), Short(1), Short(1)}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(tip.Window(), w);
  EXPECT_EQ(tip.GetText(L"TipText") + tip.GetText(L"Title"), L"firstFirst");
  EXPECT_EQ(tip.GetLong(L"Icon"), 2);
  // Named arguments in any order, and a text given as a number.
  LPOLESTR names[4] = {const_cast<LPOLESTR>(L"CreateBalloon"), const_cast<LPOLESTR>(L"Icon"),
                       const_cast<LPOLESTR>(L"Parent"), const_cast<LPOLESTR>(L"Text")};
  DISPID ids[4] = {};
  ASSERT_EQ(tip.get()->GetIDsOfNames(IID_NULL, names, 4, LOCALE_USER_DEFAULT, ids), S_OK);
  EXPECT_EQ(std::vector<DISPID>(ids + 1, ids + 4), (std::vector<DISPID>{3, 0, 1}));
  VARIANT args[3] = {Short(3), Obj(parent.object()), Int(42)};
  DISPPARAMS p{args, ids + 1, 3, 3};
  ASSERT_EQ(tip.get()->Invoke(ids[0], IID_NULL, 0, DISPATCH_METHOD, &p, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(tip.GetText(L"TipText") + L"|" + tip.GetText(L"Title"), L"42|");
  EXPECT_EQ(tip.GetLong(L"Icon"), 3);
}

}  // namespace
