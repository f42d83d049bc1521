// The embedded type library as compiled clients depend on it.
#include "tests/support/Prelude.h"

#include "server/module/Guids.h"
#include "tests/classes/Automation.h"

using namespace tessel::test;
namespace srv = tessel::server;

namespace {

TEST(TypeLibrary, EveryMemberHasItsDispatchIdentifierAndReadOnlyOnesRefuseWrites) {
  Auto tip(CreateServerObject(srv::kClsidBalloonToolTip)), facts(CreateServerObject(srv::kClsidSOSystem));
  ASSERT_TRUE(tip && facts);
  struct Member { const Auto& of; const wchar_t* name; DISPID id; };
  for (Member m : {Member{tip, L"CreateBalloon", 0x6003000A}, {tip, L"CreateTip", 0x6003000B},
                   {tip, L"Active", 0x68030009}, {tip, L"ParentControl", 0x68030008}, {tip, L"Style", 0x68030007},
                   {tip, L"Centered", 0x68030006}, {tip, L"Icon", 0x68030005}, {tip, L"ForeColor", 0x68030004},
                   {tip, L"Title", 0x68030003}, {tip, L"BackColor", 0x68030002}, {tip, L"TipText", 0x68030001},
                   {tip, L"hWnd", 0x68030000}, {tip, L"Remove", 0x6003000E}, {tip, L"HWND", 0x68030000},
                   {tip, L"createballoon", 0x6003000A}, {tip, L"Show", DISPID_UNKNOWN},
                   {facts, L"TotalMemory", 0x68030005}, {facts, L"AvailableMemory", 0x68030004},
                   {facts, L"OSVersion", 0x68030003}, {facts, L"OSBuild", 0x68030002},
                   {facts, L"OSPlatform", 0x68030001}, {facts, L"Processor", 0x68030000}})
    EXPECT_EQ(m.of.Id(m.name), m.id) << tessel::Utf8FromWide(m.name);
  DISPPARAMS none{};
  EXPECT_EQ(tip.get()->Invoke(0x12345, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(tip.Put(L"hWnd", Int(1)), DISP_E_MEMBERNOTFOUND);
}

TEST(TypeLibrary, EachClassHasItsDefaultInterfaceAndTheCreateMethodsTakeByReferenceParameters) {
  Auto tip(CreateServerObject(srv::kClsidBalloonToolTip));
  ComPtr<ITypeInfo> info;
  ComPtr<ITypeLib> lib;
  UINT index = 0;
  ASSERT_EQ(tip.get()->GetTypeInfo(0, 0, &info), S_OK);
  ASSERT_EQ(info->GetContainingTypeLib(&lib, &index), S_OK);
  // The object's own library (its name and version are the registered ones) holds both classes.
  for (auto [clsid, iid] : {std::pair{srv::kClsidBalloonToolTip, srv::kIidBalloonToolTip},
                            std::pair{srv::kClsidSOSystem, srv::kIidSOSystem}}) {
    ComPtr<ITypeInfo> co, def;
    HREFTYPE ref = 0;
    int flags = 0;
    TYPEATTR* ta = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(clsid, &co), S_OK);
    ASSERT_TRUE(co->GetRefTypeOfImplType(0, &ref) == S_OK && co->GetImplTypeFlags(0, &flags) == S_OK &&
                co->GetRefTypeInfo(ref, &def) == S_OK && def->GetTypeAttr(&ta) == S_OK);
    EXPECT_TRUE((flags & IMPLTYPEFLAG_FDEFAULT) && IsEqualGUID(ta->guid, iid));
    def->ReleaseTypeAttr(ta);
  }

  // The create methods take their texts and icon by reference; title and icon are optional.
  ComPtr<ITypeInfo> vtable;  // the vtable face holds the by-reference types
  ComPtr<ITypeInfo2> vtable2;
  HREFTYPE ref = 0;
  FUNCDESC* fd = nullptr;
  ASSERT_TRUE(info->GetRefTypeOfImplType(-1, &ref) == S_OK && info->GetRefTypeInfo(ref, &vtable) == S_OK &&
              vtable.As(&vtable2) == S_OK && vtable2->GetFuncIndexOfMemId(0x6003000A, INVOKE_FUNC, &index) == S_OK &&
              vtable->GetFuncDesc(index, &fd) == S_OK);
  ASSERT_EQ(fd->cParams, 5);
  const ELEMDESC* p = fd->lprgelemdescParam;
  EXPECT_EQ(p[0].tdesc.vt, VT_DISPATCH);
  EXPECT_EQ(p[1].tdesc.vt == VT_PTR ? p[1].tdesc.lptdesc->vt : 0, VT_BSTR);
  EXPECT_TRUE(p[2].paramdesc.wParamFlags & PARAMFLAG_FOPT);
  EXPECT_EQ(p[3].tdesc.vt == VT_PTR ? p[3].tdesc.lptdesc->vt : 0, VT_I2);
  EXPECT_TRUE(p[3].paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT);
  EXPECT_TRUE(p[4].paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
  vtable->ReleaseFuncDesc(fd);
}

}  // namespace
