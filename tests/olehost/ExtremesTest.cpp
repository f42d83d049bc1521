// Every property of every control, written by name as a script writes it, with the edges of the
// type its type library gives (and values of the wrong kind), while the control stands in Wine's
// ATL container: every write answers, the control keeps its window and draws, and the container
// taken down leaves no object behind.
#include <cfloat>
#include "tests/support/Prelude.h"

#include "tests/olehost/OleFixture.h"
#include "tests/support/GdiCount.h"

namespace tessel::oletest {
namespace {

// One value a script might give, whatever the property's type, and the answers it may get (any
// answer but a crash's or a stub's when none are named).
struct Edge {
  std::string label;
  std::shared_ptr<unique_variant> value;
  std::set<HRESULT> answers;
};

// A number no property of its type can hold, and a text that is no number.
const std::set<HRESULT> kOverflow = {DISP_E_OVERFLOW, CTL_E_OVERFLOW};
const std::set<HRESULT> kMismatch = {DISP_E_TYPEMISMATCH};

Edge Make(std::string label, VARTYPE vt, auto set, std::set<HRESULT> answers = {}) {
  Edge e{std::move(label), std::make_shared<unique_variant>(), std::move(answers)};
  e.value->get()->vt = vt;
  set(*e.value->get());
  return e;
}

const std::wstring kMebibyteText(1 << 20, L'w');

// The values written to a property whose declared type is vt (after aliases), and to every
// property: a string that is no number, an empty variant, Null and Nothing.
std::vector<Edge> EdgesFor(VARTYPE vt, bool longTextAllowed) {
  std::vector<Edge> edges;
  const auto i4 = [&](int32_t v, std::set<HRESULT> answers = {}) {
    edges.push_back(Make("I4 " + std::to_string(v), VT_I4, [v](VARIANT& x) { x.lVal = v; }, std::move(answers)));
  };
  const auto r8 = [&](std::string label, double v) { edges.push_back(Make("R8 " + label, VT_R8, [v](VARIANT& x) { x.dblVal = v; })); };
  switch (vt) {
    case VT_I2:
    case VT_UI2:
      for (int32_t v : {SHRT_MIN, SHRT_MAX, 0, -1}) i4(v);
      i4(40000, kOverflow);
      break;
    case VT_R4:
    case VT_R8:
    case VT_CY:
      r8("-DBL_MAX", -DBL_MAX), r8("DBL_MAX", DBL_MAX), r8("NaN", std::nan("")), r8("FLT_MAX", FLT_MAX);
      [[fallthrough]];
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
      for (int32_t v : {INT_MIN, INT_MAX, 0, -1}) i4(v);
      edges.push_back(Make("R8 1e300", VT_R8, [](VARIANT& x) { x.dblVal = 1e300; }, vt == VT_R8 ? std::set<HRESULT>{} : kOverflow));
      break;
    case VT_BOOL:
      for (VARIANT_BOOL v : {VARIANT_TRUE, VARIANT_FALSE, VARIANT_BOOL{7}})
        edges.push_back(Make("BOOL " + std::to_string(v), VT_BOOL, [v](VARIANT& x) { x.boolVal = v; }));
      i4(INT_MIN);
      break;
    case VT_BSTR:
      if (longTextAllowed)
        edges.push_back(Make("1 MiB", VT_BSTR, [](VARIANT& x) { x.bstrVal = SysAllocString(kMebibyteText.c_str()); }));
      edges.push_back(Make("empty", VT_BSTR, [](VARIANT& x) { x.bstrVal = SysAllocString(L""); }));
      i4(INT_MIN);
      break;
    default:  // objects (fonts, pictures) and variants
      edges.push_back(Make("the wrong object", VT_UNKNOWN, [](VARIANT& x) {
        x.punkVal = nullptr;
        CreateStreamOnHGlobal(nullptr, TRUE, reinterpret_cast<IStream**>(&x.punkVal));
      }));
      i4(INT_MAX);
      break;
  }
  const bool numeric = vt != VT_BSTR && vt != VT_VARIANT;
  edges.push_back(Make("text", VT_BSTR, [](VARIANT& x) { x.bstrVal = SysAllocString(L"\u4fdd\u5b58 not a number"); },
                       numeric ? kMismatch : std::set<HRESULT>{}));
  edges.push_back(Make("Empty", VT_EMPTY, [](VARIANT&) {}));
  edges.push_back(Make("Null", VT_NULL, [](VARIANT&) {}));
  edges.push_back(Make("Nothing", VT_DISPATCH, [](VARIANT& x) { x.pdispVal = nullptr; }));
  return edges;
}

// The type a type description names, through its aliases (OLE_COLOR is a 32-bit number, an enum
// an int); VT_PTR and the interfaces stay what they are.
VARTYPE Resolved(ITypeInfo* info, const TYPEDESC& desc) {
  if (desc.vt != VT_USERDEFINED) return desc.vt;
  ComPtr<ITypeInfo> named;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetRefTypeInfo(desc.hreftype, &named)) || FAILED(named->GetTypeAttr(&attr))) return VT_UNKNOWN;
  VARTYPE vt = VT_UNKNOWN;
  if (attr->typekind == TKIND_ENUM) vt = VT_I4;
  if (attr->typekind == TKIND_ALIAS) vt = Resolved(named.Get(), attr->tdescAlias);
  named->ReleaseTypeAttr(attr);
  return vt;
}

struct Property { std::wstring name; VARTYPE vt; };

// The properties a script can write, as the control's type information lists them.
std::vector<Property> WritableProperties(IDispatch* control) {
  std::vector<Property> out;
  ComPtr<ITypeInfo> info;
  TYPEATTR* attr = nullptr;
  if (FAILED(control->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || FAILED(info->GetTypeAttr(&attr))) return out;
  std::set<std::wstring> seen;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    if ((f->invkind == INVOKE_PROPERTYPUT || f->invkind == INVOKE_PROPERTYPUTREF) && f->cParams >= 1) {
      BSTR name = nullptr;
      UINT got = 0;
      info->GetNames(f->memid, &name, 1, &got);
      if (name && seen.insert(name).second) out.push_back({name, Resolved(info.Get(), f->lprgelemdescParam[f->cParams - 1].tdesc)});
      SysFreeString(name);
    }
    info->ReleaseFuncDesc(f);
  }
  info->ReleaseTypeAttr(attr);
  return out;
}

// A write by name; an object goes by reference, as a script's Set gives it.
HRESULT PutAny(IDispatch* object, const std::wstring& name, VARIANT value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  const bool byReference = value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN;
  return Invoke(object, name.c_str(), byReference ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, params, nullptr);
}

class Extremes : public ::testing::TestWithParam<Sample> {};

TEST_P(Extremes, EveryPropertyByNameAtTheEdgesOfItsTypeAnswersAndTheControlStillDraws) {
  const Sample s = GetParam();
  const auto pass = [&] {
    AtlHosted hosted(ProgId(s.type), s.width, s.height);
    ASSERT_NE(hosted.dispatch(), nullptr);
    const HWND window = hosted.ControlWindow();
    ASSERT_TRUE(IsWindow(window));
    const std::vector<Property> properties = WritableProperties(hosted.dispatch());
    int written = 0, refused = 0;
    for (const Property& p : properties) {
      // A field's edit takes seconds for a text of 1 MiB under Wine (tests/README.md).
      const bool longText = !(p.name == L"Text" || p.name == L"SelText");
      for (const Edge& e : EdgesFor(p.vt, longText)) {
        SCOPED_TRACE(Utf8FromWide(p.name) + " = " + e.label);
        const HRESULT hr = PutAny(hosted.dispatch(), p.name, *e.value->get());
        (SUCCEEDED(hr) ? written : refused)++;
        // A refusal is an error a script can tell, never a crash's or a stub's code.
        const bool answered = e.answers.empty() ? hr != E_NOTIMPL && hr != E_UNEXPECTED : e.answers.count(hr) > 0;
        EXPECT_TRUE(answered) << std::hex << hr;
        RedrawWindow(hosted.host(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        test::Pump(0);
        ASSERT_TRUE(IsWindow(window));
      }
    }
    std::printf("[ extremes ] %ls: %zu properties, %d writes taken, %d refused\n", s.type, properties.size(), written,
                refused);
    // Size and place at the edges, as the container tells them.
    const auto object = As<IOleObject>(hosted.control());
    const auto inPlace = As<IOleInPlaceObject>(hosted.control());
    ASSERT_NE(object, nullptr);
    ASSERT_NE(inPlace, nullptr);
    for (SIZEL extent : {SIZEL{INT_MAX, INT_MAX}, SIZEL{0, 0}, SIZEL{-1, -1}, SIZEL{INT_MIN, INT_MIN}}) {
      object->SetExtent(DVASPECT_CONTENT, &extent);
      test::Pump(0);
    }
    for (RECT r : {RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, RECT{-40000, -40000, 40000, 40000}, RECT{5, 5, 0, 0},
                   RECT{0, 0, s.width, s.height}}) {
      inPlace->SetObjectRects(&r, &r);
      RedrawWindow(hosted.host(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      test::Pump(0);
    }
    ASSERT_TRUE(IsWindow(window));
    EXPECT_NE(DrawnBy(hosted.control(), s.width, s.height), nullptr) << "the container still has it drawn";
  };
  pass();  // what the process keeps once made (caches of fonts and brushes) is made by the first
  test::Pump(0);
  const unsigned gdi = test::GdiObjectCount(), user = test::UserObjectCount();
  pass();
  test::Pump(0);
  EXPECT_EQ(test::GdiObjectCount(), gdi);
  EXPECT_EQ(test::UserObjectCount(), user);
}

INSTANTIATE_TEST_SUITE_P(EveryControl, Extremes, ::testing::ValuesIn(kSamples),
                         [](const auto& info) { return Utf8FromWide(info.param.type); });

}  // namespace
}  // namespace tessel::oletest
