// Each control's dual interface: every property read through the vtable gives what IDispatch::Invoke
// gives, and a C++ client of the type library's header writes, reads and is refused as a script is.
#include <TesselOCXControls.h>
#include <gmock/gmock.h>

#include "tests/olehost/OleFixture.h"

namespace tessel::oletest {
namespace {

const wchar_t* const kTypes[] = {L"ButtonStyle", L"tzFrames", L"Bevel", L"KvLinha", L"KvText", L"KvTextBox", L"KvFundo"};

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

// "Name=value" for every property getter of the vtable, called in its slot as a C++ client would.
std::vector<std::string> ReadThroughVtable(IUnknown* object, ITypeInfo* vtable, IID iid) {
  std::vector<std::string> lines;
  ComPtr<IUnknown> dual;
  TYPEATTR* attr = nullptr;
  if (FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(dual.GetAddressOf()))) ||
      FAILED(vtable->GetTypeAttr(&attr)))
    return {"<no dual interface>"};
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(vtable->GetFuncDesc(i, &f))) continue;
    if (f->invkind == INVOKE_PROPERTYGET && f->cParams == 1) {
      BSTR name = nullptr;
      vtable->GetDocumentation(f->memid, &name, nullptr, nullptr, nullptr);
      const unique_bstr owned(name);
      VARTYPE vt = f->lprgelemdescParam[0].tdesc.lptdesc->vt;
      if (vt == VT_USERDEFINED) vt = VT_I4;  // an OLE_COLOR's 32 bits, as Invoke gives them
      // The getter's out parameter is a slot of eight bytes that the value is read from.
      unique_variant value;
      unsigned long long slot = 0;
      VARIANT pointer;
      pointer.vt = VT_UI8;
      pointer.ullVal = reinterpret_cast<ULONG_PTR>(&slot);
      VARIANTARG* args[] = {&pointer};
      VARTYPE types[] = {VT_UI8};
      VARIANT hr;
      VariantInit(&hr);
      DispCallFunc(dual.Get(), f->oVft, CC_STDCALL, VT_ERROR, 1, types, args, &hr);
      value->vt = vt;
      memcpy(&value->llVal, &slot, sizeof(slot));
      lines.push_back(Utf8FromWide(name) + "=" + (hr.scode == S_OK ? Text(*value.get()) : "<error>"));
    }
    vtable->ReleaseFuncDesc(f);
  }
  vtable->ReleaseTypeAttr(attr);
  return lines;
}

TEST(DualInterface, EveryPropertyReadsTheSameThroughTheVtableAsThroughInvoke) {
  size_t read = 0;
  for (const wchar_t* type : kTypes) {
    SCOPED_TRACE(Utf8FromWide(type));
    AtlHosted hosted(std::wstring(L"TesselOCX.") + type, 120, 40);
    const ComPtr<ITypeInfo> vtable = VtableInfo(hosted.control());
    ASSERT_NE(vtable, nullptr);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(vtable->GetTypeAttr(&attr), S_OK);
    const IID iid = attr->guid;
    EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
    vtable->ReleaseTypeAttr(attr);
    // The dual interface and IDispatch are one vtable.
    ComPtr<IUnknown> dual;
    ASSERT_EQ(hosted.control()->QueryInterface(iid, reinterpret_cast<void**>(dual.GetAddressOf())), S_OK);
    EXPECT_EQ(dual.Get(), static_cast<IUnknown*>(hosted.dispatch()));

    const std::vector<std::string> lines = ReadThroughVtable(hosted.control(), vtable.Get(), iid);
    for (const std::string& line : lines) {
      const std::string name = line.substr(0, line.find('='));
      EXPECT_EQ(line, name + "=" + GetText(hosted.dispatch(), WideFromUtf8(name).c_str()));
    }
    EXPECT_FALSE(lines.empty()) << "hWnd at least";
    read += lines.size();
  }
  EXPECT_EQ(read, 25u + 23u + 1u + 1u + 14u + 21u + 13u) << "every readable property of the seven";
}

// A refused write answers the same code and description through both halves.
TEST(DualInterface, ACxxClientOfTheHeaderWritesReadsAndIsRefusedAsThroughInvoke) {
  const auto box = New<_KvTextBox>(L"TesselOCX.KvTextBox");
  ASSERT_NE(box, nullptr);
  const unique_bstr text(SysAllocString(L"abc"));
  EXPECT_EQ(box->put_Text(text.get()), S_OK);
  EXPECT_EQ(box->put_Capitalizar(VARIANT_TRUE), S_OK);
  EXPECT_EQ(box->put_MaxLength(12), S_OK);
  EXPECT_EQ(box->put_ColorOnFoco(0x80000012), S_OK);
  const auto dispatch = As<IDispatch>(box.Get());
  for (const auto& [name, read] : {std::pair{L"Text", "abc"}, {L"Capitalizar", "True"}, {L"MaxLength", "12"}})
    EXPECT_EQ(GetText(dispatch.Get(), name), read) << Utf8FromWide(name);
  OLE_COLOR color = 0;
  EXPECT_EQ(box->get_ColorOnFoco(&color), S_OK);
  EXPECT_EQ(color, 0x80000012u) << "a system colour keeps its high bit";
  ASSERT_EQ(Put(dispatch.Get(), L"Locked", true), S_OK);
  VARIANT_BOOL locked = VARIANT_FALSE;
  EXPECT_EQ(box->get_Locked(&locked), S_OK);
  EXPECT_EQ(locked, VARIANT_TRUE);
  BSTR raw = nullptr;
  EXPECT_EQ(box->get_Text(&raw), S_OK);
  const unique_bstr read(raw);
  EXPECT_STREQ(raw, L"abc");
  EXPECT_EQ(box->get_Text(nullptr), E_POINTER);
  EXPECT_EQ(box->put_Text(nullptr), S_OK) << "a null string is an empty one";
  EXPECT_EQ(GetText(dispatch.Get(), L"Text"), "");
  // No font object: the vtable answers what Invoke answers for Nothing.
  VARIANT nothing;
  nothing.vt = VT_DISPATCH;
  nothing.pdispVal = nullptr;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&nothing, &named, 1, 1};
  EXPECT_EQ(box->put_Font(nullptr), Invoke(dispatch.Get(), L"Font", DISPATCH_PROPERTYPUT, params, nullptr));

  const auto refusal = [](HRESULT hr) {
    ComPtr<IErrorInfo> info;
    BSTR description = nullptr;
    if (GetErrorInfo(0, &info) == S_OK) info->GetDescription(&description);
    const unique_bstr owned(description);
    return std::to_string(hr) + " " + Utf8FromWide(description ? description : L"");
  };
  const auto field = New<_KvText>(L"TesselOCX.KvText");
  const auto button = New<_ButtonStyle>(L"TesselOCX.ButtonStyle");
  ASSERT_NE(field, nullptr);
  ASSERT_NE(button, nullptr);
  const std::string alignment = refusal(field->put_Alignment(7));
  const std::string pointer = refusal(button->put_MousePointer(50));
  EXPECT_EQ(alignment, std::to_string(CTL_E_INVALIDPROPERTYVALUE) + " Invalid property value");
  std::wstring error;
  EXPECT_EQ(refusal(Put(As<IDispatch>(field.Get()).Get(), L"Alignment", 7, &error)), alignment);
  EXPECT_EQ(refusal(Put(As<IDispatch>(button.Get()).Get(), L"MousePointer", 50, &error)), pointer);
}

}  // namespace
}  // namespace tessel::oletest
