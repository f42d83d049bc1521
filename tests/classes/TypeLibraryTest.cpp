// The embedded type library: name, version, default interfaces and every dispatch identifier, which
// compiled clients depend on.
#include <gtest/gtest.h>

#include "server/module/Guids.h"
#include "tests/classes/Automation.h"

using namespace tessel::test;
namespace srv = tessel::server;

namespace {

struct Member { const wchar_t* name; DISPID id; };

TEST(TypeLibrary, EveryMemberHasItsDispatchIdentifier) {
  const Member tipMembers[] = {
      {L"CreateBalloon", 0x6003000A}, {L"CreateTip", 0x6003000B}, {L"Active", 0x68030009},
      {L"ParentControl", 0x68030008}, {L"Style", 0x68030007},     {L"Centered", 0x68030006},
      {L"Icon", 0x68030005},          {L"ForeColor", 0x68030004}, {L"Title", 0x68030003},
      {L"BackColor", 0x68030002},     {L"TipText", 0x68030001},   {L"hWnd", 0x68030000},
      {L"Remove", 0x6003000E}};
  const Member systemMembers[] = {{L"TotalMemory", 0x68030005}, {L"AvailableMemory", 0x68030004},
                                  {L"OSVersion", 0x68030003},   {L"OSBuild", 0x68030002},
                                  {L"OSPlatform", 0x68030001},  {L"Processor", 0x68030000}};
  Auto tip(CreateServerObject(srv::kClsidBalloonToolTip));
  Auto facts(CreateServerObject(srv::kClsidSOSystem));
  ASSERT_TRUE(tip);
  ASSERT_TRUE(facts);
  for (const Member& m : tipMembers) EXPECT_EQ(tip.Id(m.name), m.id) << std::string(m.name, m.name + wcslen(m.name));
  for (const Member& m : systemMembers) EXPECT_EQ(facts.Id(m.name), m.id) << std::string(m.name, m.name + wcslen(m.name));
  // Names are found without regard to case, like a script writes them.
  EXPECT_EQ(tip.Id(L"HWND"), 0x68030000);
  EXPECT_EQ(tip.Id(L"createballoon"), 0x6003000A);

  LPOLESTR unknown = const_cast<LPOLESTR>(L"Show");
  DISPID id = 0;
  EXPECT_EQ(tip.get()->GetIDsOfNames(IID_NULL, &unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(id, DISPID_UNKNOWN);
  DISPPARAMS none{};
  VARIANT r;
  VariantInit(&r);
  EXPECT_EQ(tip.get()->Invoke(0x12345, IID_NULL, 0, DISPATCH_METHOD, &none, &r, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
  // Read-only members refuse a write.
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = 1;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS one{&v, &put, 1, 1};
  EXPECT_EQ(tip.get()->Invoke(0x68030000, IID_NULL, 0, DISPATCH_PROPERTYPUT, &one, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(facts.get()->Invoke(0x68030005, IID_NULL, 0, DISPATCH_PROPERTYPUT, &one, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
}

TEST(TypeLibrary, IsTheServersOwnLibraryWithItsDefaultInterfaces) {
  Auto tip(CreateServerObject(srv::kClsidBalloonToolTip));
  ITypeInfo* info = nullptr;
  ASSERT_EQ(tip.get()->GetTypeInfo(0, 0, &info), S_OK);
  ITypeLib* lib = nullptr;
  UINT index = 0;
  ASSERT_EQ(info->GetContainingTypeLib(&lib, &index), S_OK);

  TLIBATTR* la = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&la), S_OK);
  EXPECT_TRUE(IsEqualGUID(la->guid, srv::kLibId));
  EXPECT_EQ(la->wMajorVerNum, 1);
  EXPECT_EQ(la->wMinorVerNum, 4);
  EXPECT_EQ(la->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  lib->ReleaseTLibAttr(la);
  BSTR name = nullptr;
  ASSERT_EQ(lib->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_STREQ(name, L"TesselOCX");
  SysFreeString(name);

  // Each class names its dual interface as the default.
  for (auto [clsid, iid] : {std::pair{srv::kClsidBalloonToolTip, srv::kIidBalloonToolTip},
                            std::pair{srv::kClsidSOSystem, srv::kIidSOSystem}}) {
    ITypeInfo* co = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(clsid, &co), S_OK);
    HREFTYPE ref = 0;
    int implFlags = 0;
    ASSERT_EQ(co->GetRefTypeOfImplType(0, &ref), S_OK);
    co->GetImplTypeFlags(0, &implFlags);
    EXPECT_TRUE(implFlags & IMPLTYPEFLAG_FDEFAULT);
    ITypeInfo* def = nullptr;
    ASSERT_EQ(co->GetRefTypeInfo(ref, &def), S_OK);
    TYPEATTR* ta = nullptr;
    def->GetTypeAttr(&ta);
    EXPECT_TRUE(IsEqualGUID(ta->guid, iid));
    def->ReleaseTypeAttr(ta);
    def->Release();
    co->Release();
  }
  lib->Release();
  info->Release();
}

TEST(TypeLibrary, CreateMethodsTakeTheirTextsAndIconByReferenceAndTitleAndIconAreOptional) {
  Auto tip(CreateServerObject(srv::kClsidBalloonToolTip));
  ITypeInfo* info = nullptr;
  ITypeInfo* vt = nullptr;
  HREFTYPE ref = 0;
  ASSERT_EQ(tip.get()->GetTypeInfo(0, 0, &info), S_OK);
  ASSERT_EQ(info->GetRefTypeOfImplType(-1, &ref), S_OK);  // the vtable face holds the by-reference types
  ASSERT_EQ(info->GetRefTypeInfo(ref, &vt), S_OK);
  ITypeInfo2* ti2 = nullptr;
  UINT index = 0;
  ASSERT_EQ(vt->QueryInterface(IID_ITypeInfo2, reinterpret_cast<void**>(&ti2)), S_OK);
  ASSERT_EQ(ti2->GetFuncIndexOfMemId(0x6003000A, INVOKE_FUNC, &index), S_OK);
  FUNCDESC* fd = nullptr;
  ASSERT_EQ(vt->GetFuncDesc(index, &fd), S_OK);
  ASSERT_EQ(fd->cParams, 5);
  const ELEMDESC* p = fd->lprgelemdescParam;
  EXPECT_EQ(p[0].tdesc.vt, VT_DISPATCH);
  EXPECT_EQ(p[1].tdesc.vt == VT_PTR ? p[1].tdesc.lptdesc->vt : 0, VT_BSTR);
  EXPECT_TRUE(p[2].paramdesc.wParamFlags & PARAMFLAG_FOPT);
  EXPECT_EQ(p[3].tdesc.vt == VT_PTR ? p[3].tdesc.lptdesc->vt : 0, VT_I2);
  EXPECT_TRUE(p[3].paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT);
  EXPECT_TRUE(p[4].paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
  vt->ReleaseFuncDesc(fd);
  ti2->Release();
  vt->Release();
  info->Release();
}

}  // namespace
