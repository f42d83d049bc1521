// Both classes called as a script calls them (names, then Invoke; refused calls whose exception
// record the caller frees) over many cycles: whatever the server takes for a cycle it gives back.
#include "tests/support/Prelude.h"

#include "server/module/Guids.h"
#include "tests/classes/Automation.h"
#include "tests/support/GdiCount.h"
#include "tests/support/HeapUse.h"

using namespace tessel::test;

namespace {

void Cycle(const ParentWindow& parent) {
  Auto tip(CreateServerObject(tessel::server::kClsidBalloonToolTip));
  Auto facts(CreateServerObject(tessel::server::kClsidSOSystem));
  ASSERT_TRUE(tip && facts);
  ASSERT_EQ(tip.Put(L"TipText", Str(L"a tip text")), S_OK);
  ASSERT_EQ(tip.Put(L"Style", Int(1)), S_OK);
  ASSERT_EQ(tip.GetText(L"TipText"), L"a tip text");
  ASSERT_EQ(tip.GetLong(L"Style"), 1);
  ASSERT_EQ(tip.Call(L"CreateBalloon", {Obj(parent.object()), Str(L"text"), Str(L"title"), Short(1)}), S_OK);
  ASSERT_NE(tip.GetLong(L"hWnd"), 0);
  ASSERT_GT(facts.GetLong(L"TotalMemory"), 0);
  ASSERT_FALSE(facts.GetText(L"OSVersion").empty());
  // Refused: the error text travels in the exception record or the thread's error object.
  ASSERT_EQ(tip.Call(L"Show", {}), DISP_E_MEMBERNOTFOUND);
  ASSERT_EQ(tip.Put(L"hWnd", Int(5)), DISP_E_MEMBERNOTFOUND);
  ASSERT_EQ(tip.Call(L"CreateTip", {Obj(facts.get()), Str(L"no hWnd")}), DISP_E_EXCEPTION);
  ASSERT_EQ(tip.Call(L"CreateTip", {Int(42), Str(L"x")}), DISP_E_TYPEMISMATCH);
  ASSERT_EQ(tip.PutRef(L"ParentControl", nullptr), DISP_E_EXCEPTION);
  // The tip's window is its parent's until the host removes it.
  ASSERT_EQ(tip.Call(L"Remove", {}), S_OK);
}

TEST(ScriptCycles, GiveBackEveryObjectWindowAndHeapByte) {
  ParentWindow parent;
  for (int i = 0; i < 50; ++i) ASSERT_NO_FATAL_FAILURE(Cycle(parent));  // caches, classes, type info
  SetErrorInfo(0, nullptr);
  const unsigned gdi = GdiObjectCount(), windows = UserObjectCount();
  const int64_t heap = HeapBytesInUse();
  constexpr int kCycles = 1000;
  for (int i = 0; i < kCycles; ++i) ASSERT_NO_FATAL_FAILURE(Cycle(parent));
  SetErrorInfo(0, nullptr);
  EXPECT_EQ(ServerCanUnloadNow(), S_OK) << "an object of the server is still alive";
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(UserObjectCount(), windows);
  // A leak of one small block a cycle shows as kCycles * 16 bytes or more.
  EXPECT_LT(HeapBytesInUse() - heap, int64_t{8} * kCycles) << "heap bytes in use grew over " << kCycles << " cycles";
}

}  // namespace

// A script engine that makes an object by name takes the class's factory and does not give it back:
// the server stays loaded while those references are out, and making objects that way keeps no memory.
TEST(ScriptCycles, FactoriesTakenAndKeptCostNothing) {
  constexpr int kObjects = 1000;
  std::vector<IClassFactory*> kept;
  kept.reserve(2 * kObjects);
  auto make = [&] {
    for (const CLSID* clsid : {&tessel::server::kClsidBalloonToolTip, &tessel::server::kClsidSOSystem}) {
      IClassFactory* factory = nullptr;
      ASSERT_EQ(ServerGetClassObject(*clsid, IID_PPV_ARGS(&factory)), S_OK);
      IUnknown* object = nullptr;
      ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&object)), S_OK);
      object->Release();
      kept.push_back(factory);
    }
  };
  ASSERT_NO_FATAL_FAILURE(make());
  const int64_t heap = HeapBytesInUse();
  for (int i = 1; i < kObjects; ++i) ASSERT_NO_FATAL_FAILURE(make());
  EXPECT_LT(HeapBytesInUse() - heap, int64_t{8} * kObjects) << "each factory taken keeps memory";
  EXPECT_EQ(ServerCanUnloadNow(), S_FALSE) << "factories are out";
  for (IClassFactory* factory : kept) factory->Release();
  EXPECT_EQ(ServerCanUnloadNow(), S_OK);
}
