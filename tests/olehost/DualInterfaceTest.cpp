// Each control's dual interface against IDispatch::Invoke: the same values read and written, and the
// same errors, through both.
#include <TesselOCXControls.h>
#include "tests/support/Prelude.h"

#include "tests/olehost/OleFixture.h"

namespace tessel::oletest {
namespace {

using ::testing::IsSupersetOf;

// The vtable half of an object's default interface (its dual interface), from its class information.
ComPtr<ITypeInfo> VtableInfo(IUnknown* object) {
  ComPtr<ITypeInfo> coclass, dispatch, vtable;
  HREFTYPE ref = 0;
  const auto info = As<IProvideClassInfo>(object);
  if (info && SUCCEEDED(info->GetClassInfo(&coclass)) && SUCCEEDED(coclass->GetRefTypeOfImplType(0, &ref)) &&
      SUCCEEDED(coclass->GetRefTypeInfo(ref, &dispatch)) && SUCCEEDED(dispatch->GetRefTypeOfImplType(-1, &ref)))
    dispatch->GetRefTypeInfo(ref, &vtable);
  return vtable;
}

// "Name=value" for every getter called in its vtable slot, each expected to read what Invoke reads.
std::vector<std::string> ReadBothWays(IUnknown* object) {
  const ComPtr<ITypeInfo> vtable = VtableInfo(object);
  const auto dispatch = As<IDispatch>(object);
  ComPtr<IUnknown> dual;
  TYPEATTR* attr = nullptr;
  if (!vtable || !dispatch || FAILED(vtable->GetTypeAttr(&attr)) ||
      FAILED(object->QueryInterface(attr->guid, reinterpret_cast<void**>(dual.GetAddressOf()))))
    return {"<no dual interface>"};
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
  EXPECT_EQ(dual.Get(), static_cast<IUnknown*>(dispatch.Get()));
  std::vector<std::string> lines;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(vtable->GetFuncDesc(i, &f))) continue;
    if (f->invkind == INVOKE_PROPERTYGET && f->cParams == 1) {
      BSTR name = nullptr;
      vtable->GetDocumentation(f->memid, &name, nullptr, nullptr, nullptr);
      const unique_bstr owned(name);
      VARTYPE vt = f->lprgelemdescParam[0].tdesc.lptdesc->vt;
      if (vt == VT_USERDEFINED) vt = VT_I4;  // an OLE_COLOR's 32 bits, as Invoke gives them
      // The getter in its slot, its out parameter eight bytes that the value is read from.
      using Getter = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, void*);
      const auto get = reinterpret_cast<Getter>((*reinterpret_cast<void***>(dual.Get()))[f->oVft / sizeof(void*)]);
      unsigned long long slot = 0;
      const HRESULT hr = get(dual.Get(), &slot);
      unique_variant value;
      value->vt = vt;
      memcpy(&value->llVal, &slot, sizeof(slot));
      lines.push_back(Utf8FromWide(name) + "=" + (hr == S_OK ? Text(*value.get()) : "<error>"));
      EXPECT_EQ(lines.back(), Utf8FromWide(name) + "=" + GetText(dispatch.Get(), name));
    }
    vtable->ReleaseFuncDesc(f);
  }
  vtable->ReleaseTypeAttr(attr);
  return lines;
}

// Each control in the ATL container, some of its properties written by name as a script writes them.
TEST(DualInterface, EveryPropertyReadsTheSameThroughTheVtableAsThroughInvoke) {
  const struct { const wchar_t *type, *name; Arg value; const char* read; } kWritten[] = {
      {L"ButtonStyle", L"Caption", L"&Gravar", "&Gravar"},
      {L"ButtonStyle", L"ForeColor", 0x0000FF, "255"},
      {L"ButtonStyle", L"Enabled", false, "False"},
      {L"KvTextBox", L"Text", L"abc", "abc"},
      {L"KvTextBox", L"MaxLength", L"12", "12"},  // converted as a script would
      {L"KvText", L"Caption", L"Nome:", "Nome:"},
      {L"tzFrames", L"Caption", L"Dados", "Dados"},
      {L"KvFundo", L"URL", L"http://example.com", "http://example.com"},
  };
  size_t read = 0;
  for (const Sample& s : kSamples) {
    SCOPED_TRACE(Utf8FromWide(s.type));
    AtlHosted hosted(ProgId(s.type), s.width, s.height);
    ASSERT_NE(hosted.dispatch(), nullptr);
    std::vector<std::string> written;
    for (const auto& w : kWritten)
      if (SameKey(w.type, s.type)) {
        EXPECT_EQ(Put(hosted.dispatch(), w.name, w.value), S_OK) << Utf8FromWide(w.name);
        written.push_back(Utf8FromWide(w.name) + "=" + w.read);
      }
    const std::vector<std::string> lines = ReadBothWays(hosted.control());
    EXPECT_THAT(lines, IsSupersetOf(written));
    read += lines.size();
  }
  EXPECT_EQ(read, 25u + 23u + 1u + 1u + 14u + 21u + 13u) << "every readable property of the seven";
}

// Through the header: a system colour keeps its high bit, a null string is an empty one, a null out
// pointer is refused, and no font object is what Nothing is by name.
TEST(DualInterface, ACxxClientOfTheHeaderWritesAndReadsAsThroughInvoke) {
  const auto box = New<_KvTextBox>(L"TesselOCX.KvTextBox");
  ASSERT_NE(box, nullptr);
  const unique_bstr text(SysAllocString(L"abc"));
  EXPECT_EQ(box->put_Text(text.get()), S_OK);
  EXPECT_EQ(box->put_Capitalizar(VARIANT_TRUE), S_OK);
  EXPECT_EQ(box->put_MaxLength(12), S_OK);
  EXPECT_EQ(box->put_ColorOnFoco(0x80000012), S_OK);
  const auto dispatch = As<IDispatch>(box.Get());
  ASSERT_EQ(Put(dispatch.Get(), L"Locked", true), S_OK);
  EXPECT_THAT(ReadBothWays(box.Get()), IsSupersetOf({"Text=abc", "Capitalizar=True", "MaxLength=12",
                                                     "ColorOnFoco=-2147483630", "Locked=True"}));
  EXPECT_EQ(box->get_Text(nullptr), E_POINTER);
  EXPECT_EQ(box->put_Text(nullptr), S_OK);
  EXPECT_EQ(GetText(dispatch.Get(), L"Text"), "");
  EXPECT_EQ(box->put_Font(nullptr), Put(dispatch.Get(), L"Font", nullptr));
}

// A refused write gives the same code and description in the exception, in the thread's error
// information and through the vtable, and changes nothing.
TEST(DualInterface, ARefusedWriteIsTheSameErrorByNameAndThroughTheVtableAndChangesNothing) {
  const auto field = New<_KvText>(L"TesselOCX.KvText");
  const auto button = New<_ButtonStyle>(L"TesselOCX.ButtonStyle");
  const auto box = New<_KvTextBox>(L"TesselOCX.KvTextBox");
  for (IUnknown* made : std::initializer_list<IUnknown*>{field.Get(), button.Get(), box.Get()}) ASSERT_NE(made, nullptr);
  const auto supports = As<ISupportErrorInfo>(field.Get());
  ASSERT_NE(supports, nullptr);
  EXPECT_EQ(supports->InterfaceSupportsErrorInfo(IID_IDispatch), S_OK);
  const auto refusal = [](HRESULT hr) {  // the code and the thread's error description
    ComPtr<IErrorInfo> info;
    BSTR description = nullptr;
    if (GetErrorInfo(0, &info) == S_OK) info->GetDescription(&description);
    const unique_bstr owned(description);
    return std::to_string(hr) + " " + Utf8FromWide(description ? description : L"");
  };
  const std::string invalid = std::to_string(CTL_E_INVALIDPROPERTYVALUE) + " Invalid property value";
  const struct { IUnknown* object; const wchar_t* name; Arg value; std::function<HRESULT()> vtable; std::string refused; } kRefused[] = {
      {field.Get(), L"Alignment", 7, [&] { return field->put_Alignment(7); }, invalid},
      {button.Get(), L"MousePointer", 50, [&] { return button->put_MousePointer(50); }, invalid},
      {field.Get(), L"hWnd", 1, nullptr, std::to_string(CTL_E_SETNOTSUPPORTED) + " Can't assign to read-only property"},
      {field.Get(), L"MaxLength", L"many", nullptr, std::to_string(DISP_E_TYPEMISMATCH) + " "},
      // A number its 16 bits cannot hold: beyond the property's type, or narrowed by the control.
      {field.Get(), L"Alignment", 40000, nullptr, std::to_string(DISP_E_OVERFLOW) + " "},
      {box.Get(), L"Alignment", 40000, nullptr, std::to_string(CTL_E_OVERFLOW) + " Overflow"},
  };
  for (const auto& r : kRefused) {
    SCOPED_TRACE(Utf8FromWide(r.name));
    const auto dispatch = As<IDispatch>(r.object);
    const std::string before = GetText(dispatch.Get(), r.name);
    std::wstring described;
    const HRESULT hr = Put(dispatch.Get(), r.name, r.value, &described);
    EXPECT_EQ(std::to_string(hr) + " " + Utf8FromWide(described), r.refused) << "the exception";
    EXPECT_EQ(refusal(hr), r.refused) << "the error information";
    if (r.vtable) {
      EXPECT_EQ(refusal(r.vtable()), r.refused) << "through the vtable";
    }
    EXPECT_EQ(GetText(dispatch.Get(), r.name), before);
  }
  DISPID id = 0;
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"NoSuchProperty")};
  EXPECT_EQ(field->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

}  // namespace
}  // namespace tessel::oletest
