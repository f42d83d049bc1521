// The events dispinterfaces of the type library against the controls' C++ events, and the
// enumerators of a control's connection points and of the sinks advised on one.
#include "tests/support/Prelude.h"

#include "button/ButtonStyle.h"
#include "frames/TzFrames.h"
#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "olehost/ControlEvents.h"
#include "tests/olehost/OleFixture.h"

namespace tessel::oletest {
namespace {

using ::testing::ElementsAre;

// "Name(vt,vt)" per event.
std::string Line(const std::wstring& name, const std::vector<VARTYPE>& types) {
  std::string line = Utf8FromWide(name);
  for (size_t i = 0; i < types.size(); ++i) line.append(i ? "," : "(").append(std::to_string(types[i]));
  return line.append(types.empty() ? "()" : ")");
}

// The events of a coclass's default source dispinterface, as lines; by-reference parameters as
// the VT_BYREF variants an invocation carries.
std::vector<std::string> LibraryEvents(ITypeLib* lib, const std::wstring& type) {
  ComPtr<ITypeInfo> coclass, events;
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(ProgId(type).c_str(), &clsid)) || FAILED(lib->GetTypeInfoOfGuid(clsid, &coclass)))
    return {"<no class>"};
  TYPEATTR* attr = nullptr;
  coclass->GetTypeAttr(&attr);
  for (UINT i = 0; i < attr->cImplTypes; ++i) {
    INT flags = 0;
    HREFTYPE ref = 0;
    coclass->GetImplTypeFlags(i, &flags);
    if ((flags & IMPLTYPEFLAG_FSOURCE) && SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref)))
      coclass->GetRefTypeInfo(ref, &events);
  }
  coclass->ReleaseTypeAttr(attr);
  std::vector<std::string> lines;
  if (!events || FAILED(events->GetTypeAttr(&attr))) return {"<no events>"};
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    events->GetFuncDesc(i, &f);
    BSTR event = nullptr;
    events->GetDocumentation(f->memid, &event, nullptr, nullptr, nullptr);
    std::vector<VARTYPE> types;
    for (SHORT p = 0; p < f->cParams; ++p) {
      const TYPEDESC& t = f->lprgelemdescParam[p].tdesc;
      types.push_back(t.vt == VT_PTR ? static_cast<VARTYPE>(t.lptdesc->vt | VT_BYREF) : t.vt);
    }
    lines.push_back(Line(event, types));
    SysFreeString(event);
    events->ReleaseFuncDesc(f);
  }
  events->ReleaseTypeAttr(attr);
  return lines;
}

TEST(ControlEvents, EveryCxxEventIsInTheEventsDispinterfaceWithItsArgumentsByReference) {
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadTypeLibEx((test::ServerPath() + L"\\2").c_str(), REGKIND_NONE, &lib), S_OK);
  const struct { const wchar_t* type; size_t eventsSize; } kControls[] = {  // every member of Events is bound
      {L"ButtonStyle", sizeof(ButtonStyle::Events)}, {L"tzFrames", sizeof(TzFrames::Events)},
      {L"KvText", sizeof(KvText::Events)},           {L"KvTextBox", sizeof(KvTextBox::Events)},
      {L"KvFundo", sizeof(KvFundo::Events)},         {L"Bevel", 0}, {L"KvLinha", 0},
  };
  for (const auto& c : kControls) {
    SCOPED_TRACE(Utf8FromWide(c.type));
    std::vector<std::string> bound;
    size_t size = 0;
    for (const ole::EventSignature& e : ole::EventsOf(c.type)) {
      bound.push_back(Line(e.name, e.arguments));
      size += e.size;
    }
    EXPECT_EQ(size, c.eventsSize);
    EXPECT_EQ(bound, LibraryEvents(lib.Get(), c.type));
  }
  EXPECT_THAT(LibraryEvents(lib.Get(), L"ButtonStyle"),
              testing::IsSupersetOf({"OLEDragOver(16397,16387,16386,16386,16388,16388,16386)",
                                     "OLEGiveFeedback(16387,16395)"}));
}

TEST(ControlEvents, TheConnectionPointsAndTheAdvisedSinksAreEnumerated) {
  const auto points = New<IConnectionPointContainer>(ProgId(L"ButtonStyle"));
  ASSERT_NE(points, nullptr);
  ComPtr<IEnumConnectionPoints> all;
  ASSERT_EQ(points->EnumConnectionPoints(&all), S_OK);
  IConnectionPoint* got[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(all->Next(2, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  const ComPtr<IConnectionPoint> point(got[0]);
  got[0]->Release();
  IID iid{}, events{};
  point->GetConnectionInterface(&iid);
  As<IProvideClassInfo2>(points.Get())->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events);
  EXPECT_TRUE(IsEqualIID(iid, events));
  EXPECT_EQ(all->Next(1, got, nullptr), S_FALSE) << "at the end";
  ComPtr<IEnumConnectionPoints> copy;
  ASSERT_EQ(all->Reset(), S_OK);
  ASSERT_EQ(all->Clone(&copy), S_OK);
  EXPECT_EQ(copy->Skip(1), S_OK);
  EXPECT_EQ(copy->Skip(1), S_FALSE);

  // Two sinks by their cookies, then one after the other went.
  const auto sinks = [&] {
    ComPtr<IEnumConnections> connections;
    std::vector<DWORD> cookies;
    CONNECTDATA data{};
    if (point->EnumConnections(&connections) != S_OK) return std::vector<DWORD>{0xBAD};
    while (connections->Next(1, &data, nullptr) == S_OK) {
      cookies.push_back(data.dwCookie);
      data.pUnk->Release();
    }
    return cookies;
  };
  EXPECT_THAT(sinks(), testing::IsEmpty());
  EventSink first(nullptr), second(nullptr);
  DWORD one = 0, two = 0;
  ASSERT_EQ(point->Advise(static_cast<IDispatch*>(&first), &one), S_OK);
  ASSERT_EQ(point->Advise(static_cast<IDispatch*>(&second), &two), S_OK);
  EXPECT_THAT(sinks(), ElementsAre(one, two));
  point->Unadvise(one);
  EXPECT_THAT(sinks(), ElementsAre(two));
  point->Unadvise(two);
}

}  // namespace
}  // namespace tessel::oletest
