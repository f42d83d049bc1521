// These tests change the shared registry, so they run alone, and they leave the server registered.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <set>
#include <string>
#include <vector>

#include "host/ControlIdentities.h"
#include "server/contract/SystemHandles.h"
#include "server/module/ControlClasses.h"
#include "server/module/Guids.h"
#include "tests/support/Programs.h"

namespace {

namespace srv = tessel::server;
using tessel::test::RegSvr32;
using tessel::test::ServerPath;
using Microsoft::WRL::ComPtr;

std::wstring GuidText(const GUID& g) {
  wchar_t buffer[40] = {};
  StringFromGUID2(g, buffer, 40);
  return buffer;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  const bool found = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
  const tessel::unique_hkey owned(key);
  return found;
}

std::wstring Value(HKEY root, const std::wstring& path, const wchar_t* name = nullptr) {
  wchar_t data[1024] = {};
  DWORD size = sizeof(data);
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return L"<none>";
  return data;
}

struct Class {
  const GUID* clsid;
  const GUID* iid;
  const wchar_t* progId;
};
const Class kClasses[] = {{&srv::kClsidBalloonToolTip, &srv::kIidBalloonToolTip, L"TesselOCX.CBalloonToolTip"},
                          {&srv::kClsidSOSystem, &srv::kIidSOSystem, L"TesselOCX.SOSystem"}};

// The keys registration owns below a classes root, with their values, or gone when not registered;
// with library the type library's keys too.
void ExpectClassKeys(HKEY root, const std::wstring& prefix, bool registered, bool library = true) {
  for (const Class& c : kClasses) {
    const std::wstring key = prefix + L"CLSID\\" + GuidText(*c.clsid);
    std::vector<std::wstring> owned = {key, key + L"\\ProgID", key + L"\\TypeLib", key + L"\\VERSION",
                                       prefix + c.progId};
    if (library) owned.push_back(prefix + L"Interface\\" + GuidText(*c.iid));
    for (const auto& k : owned) EXPECT_EQ(KeyExists(root, k), registered) << std::string(k.begin(), k.end());
    if (!registered) continue;
    EXPECT_EQ(lstrcmpiW(Value(root, key + L"\\InprocServer32").c_str(), ServerPath().c_str()), 0);
    EXPECT_EQ(Value(root, key + L"\\InprocServer32", L"ThreadingModel") + Value(root, key + L"\\ProgID"),
              L"Apartment" + std::wstring(c.progId));
    EXPECT_EQ(Value(root, key + L"\\TypeLib") + Value(root, prefix + c.progId + L"\\CLSID"),
              GuidText(srv::kLibId) + GuidText(*c.clsid));
  }
  if (library) {
    EXPECT_EQ(KeyExists(root, prefix + L"TypeLib\\" + GuidText(srv::kLibId)), registered);
  }
}

const wchar_t* kLibrarySubkey = sizeof(void*) == 8 ? L"\\1.4\\0\\win64" : L"\\1.4\\0\\win32";

class Registration : public ::testing::Test {
 protected:
  // Whatever a test did, the server is registered for the machine again afterwards.
  void TearDown() override { EXPECT_EQ(RegSvr32(L""), 0u); }
};

TEST_F(Registration, MachineRegistrationWritesTheTableAndRemovesExactlyIt) {
  ASSERT_EQ(RegSvr32(L"/u"), 0u);
  ExpectClassKeys(HKEY_CLASSES_ROOT, L"", false);
  EXPECT_EQ(RegSvr32(L"/u"), 0u) << "removing what is already gone is no failure";

  ASSERT_EQ(RegSvr32(L""), 0u);
  ExpectClassKeys(HKEY_CLASSES_ROOT, L"", true);
  ComPtr<ITypeLib> registered;
  EXPECT_EQ(LoadRegTypeLib(srv::kLibId, 1, 4, 0, &registered), S_OK) << "the type library is registered";
  // The user controls are private: neither their classes nor their event interfaces are written.
  for (const tessel::ControlIdentity& control : tessel::kControlIdentities) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + GuidText(control.clsid)));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(control.events)));
  }
  const std::wstring lib = L"TypeLib\\" + GuidText(srv::kLibId);
  EXPECT_EQ(lstrcmpiW(Value(HKEY_CLASSES_ROOT, lib + kLibrarySubkey).c_str(), ServerPath().c_str()), 0);
  EXPECT_EQ(Value(HKEY_CLASSES_ROOT, lib + L"\\1.4"), L"TesselOCX");
  EXPECT_EQ(Value(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(srv::kIidBalloonToolTip)), L"_CBalloonToolTip");
  EXPECT_EQ(Value(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(srv::kIidSOSystem) + L"\\TypeLib"), GuidText(srv::kLibId));

  CLSID clsid{};
  for (const Class& c : kClasses) {
    ASSERT_EQ(CLSIDFromProgID(c.progId, &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, *c.clsid));
  }

  ASSERT_EQ(RegSvr32(L"/u"), 0u);
  ExpectClassKeys(HKEY_CLASSES_ROOT, L"", false);
  EXPECT_EQ(CLSIDFromProgID(L"TesselOCX.SOSystem", &clsid), CO_E_CLASSSTRING);
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID")) << "the shared parents stay";
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\{00020400-0000-0000-C000-000000000046}"))
      << "the library's base interfaces belong to the system";
}

// The user controls as ActiveX controls: what each writes besides the common keys. The status is
// OLEMISC_SETCLIENTSITEFIRST | RECOMPOSEONRESIZE | INSIDEOUT | ACTIVATEWHENVISIBLE | CANTLINKINSIDE
// (0x20191), with ACTSLIKEBUTTON for the button, SIMPLEFRAME for the frame and NOUIACTIVATE for the
// decorations.
struct ControlKeys {
  const wchar_t* type;
  const wchar_t* miscStatus;
  const wchar_t* bitmap;
};
const ControlKeys kControlKeys[] = {
    {L"ButtonStyle", L"135569", L"101"}, {L"tzFrames", L"197009", L"102"}, {L"Bevel", L"147857", L"103"},
    {L"KvLinha", L"147857", L"104"},     {L"KvText", L"131473", L"105"},   {L"KvTextBox", L"131473", L"106"},
    {L"KvFundo", L"131473", L"107"},
};

const GUID* ClsidOf(const wchar_t* type) {
  for (const tessel::ControlIdentity& c : tessel::kControlIdentities)
    if (c.typeName == type) return &c.clsid;
  return nullptr;
}

// Every key of the seven controls below a classes root, or none of them.
void ExpectControlKeys(HKEY root, const std::wstring& prefix, bool registered) {
  for (const ControlKeys& c : kControlKeys) {
    const std::wstring progId = std::wstring(L"TesselOCX.") + c.type;
    const std::wstring key = prefix + L"CLSID\\" + GuidText(*ClsidOf(c.type));
    SCOPED_TRACE(std::string(progId.begin(), progId.end()));
    for (const std::wstring& k : {key, key + L"\\Control", key + L"\\MiscStatus\\1", prefix + progId,
                                  prefix + progId + L".1"})
      EXPECT_EQ(KeyExists(root, k), registered) << std::string(k.begin(), k.end());
    if (!registered) continue;
    EXPECT_EQ(lstrcmpiW(Value(root, key + L"\\InprocServer32").c_str(), ServerPath().c_str()), 0);
    const std::vector<std::wstring> values = {
        Value(root, key + L"\\InprocServer32", L"ThreadingModel"), Value(root, key + L"\\ProgID"),
        Value(root, key + L"\\VersionIndependentProgID"),        Value(root, key + L"\\MiscStatus"),
        Value(root, key + L"\\MiscStatus\\1"),                 Value(root, key + L"\\TypeLib"),
        Value(root, key + L"\\Version"),                         Value(root, prefix + progId + L"\\CLSID"),
        Value(root, prefix + progId + L"\\CurVer"),              Value(root, prefix + progId + L".1\\CLSID"),
        Value(root, key + L"\\ToolboxBitmap32")};
    const std::vector<std::wstring> expected = {
        L"Apartment", progId + L".1", progId, L"0", c.miscStatus, GuidText(srv::kControlsLibId), L"1.4",
        GuidText(*ClsidOf(c.type)), progId + L".1", GuidText(*ClsidOf(c.type)), ServerPath() + L", " + c.bitmap};
    EXPECT_EQ(values, expected);
  }
}

TEST_F(Registration, TheControlsAreRegisteredOnlyOnRequestAndTakenAwayAlone) {
  ASSERT_EQ(RegSvr32(L"/u"), 0u);
  EXPECT_NE(RegSvr32(L"/n /i:controlz"), 0u) << "an unknown word is refused";
  ExpectClassKeys(HKEY_CLASSES_ROOT, L"", false);
  ExpectControlKeys(HKEY_CLASSES_ROOT, L"", false);

  ASSERT_EQ(RegSvr32(L"/i:controls"), 0u);
  ExpectClassKeys(HKEY_CLASSES_ROOT, L"", true);
  ExpectControlKeys(HKEY_CLASSES_ROOT, L"", true);
  ComPtr<ITypeLib> controls;
  ASSERT_EQ(LoadRegTypeLib(srv::kControlsLibId, 1, 4, 0, &controls), S_OK) << "the controls' type library";
  ComPtr<ITypeInfo> button;
  EXPECT_EQ(controls->GetTypeInfoOfGuid(*ClsidOf(L"ButtonStyle"), &button), S_OK);
  for (const tessel::ControlIdentity& control : tessel::kControlIdentities)
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(control.events)), L"__" + std::wstring(control.typeName));
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(L"TesselOCX.KvTextBox", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, *ClsidOf(L"KvTextBox")));

  // "/u /n /i:controls" takes the controls away and leaves the classes.
  ASSERT_EQ(RegSvr32(L"/u /n /i:controls"), 0u);
  ExpectControlKeys(HKEY_CLASSES_ROOT, L"", false);
  ExpectClassKeys(HKEY_CLASSES_ROOT, L"", true);
  EXPECT_EQ(LoadRegTypeLib(srv::kControlsLibId, 1, 4, 0, &controls), TYPE_E_LIBNOTREGISTERED);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(tessel::kControlIdentities[0].events)));

  // Plain unregistering takes them away too.
  ASSERT_EQ(RegSvr32(L"/i:controls"), 0u);
  ASSERT_EQ(RegSvr32(L"/u"), 0u);
  ExpectControlKeys(HKEY_CLASSES_ROOT, L"", false);
  ExpectClassKeys(HKEY_CLASSES_ROOT, L"", false);
}

// Nothing for the machine; the controls go alone and the classes stay until they are asked away.
TEST_F(Registration, UserRegistrationGoesBelowTheCurrentUsersClasses) {
  ASSERT_EQ(RegSvr32(L"/u"), 0u);
  const std::wstring user = L"Software\\Classes\\";
  ASSERT_EQ(RegSvr32(L"/n /i:user,controls"), 0u);
  ExpectClassKeys(HKEY_CURRENT_USER, user, true, false);
  ExpectControlKeys(HKEY_CURRENT_USER, user, true);
  ExpectClassKeys(HKEY_LOCAL_MACHINE, user, false, false);
  ExpectControlKeys(HKEY_LOCAL_MACHINE, user, false);
  ASSERT_EQ(RegSvr32(L"/u /n /i:user,controls"), 0u);
  ExpectControlKeys(HKEY_CURRENT_USER, user, false);
  ExpectClassKeys(HKEY_CURRENT_USER, user, true, false);
  ASSERT_EQ(RegSvr32(L"/u /n /i:user"), 0u);
  ExpectClassKeys(HKEY_CURRENT_USER, user, false);
  ExpectClassKeys(HKEY_CLASSES_ROOT, L"", false);
  EXPECT_EQ(RegSvr32(L"/u /n /i:user"), 0u) << "already gone";
}

// The module's exports, called in this process.
class ServerModule : public ::testing::Test {
 protected:
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
  void SetUp() override {
    module = LoadLibraryW(ServerPath().c_str());
    ASSERT_NE(module, nullptr);
    getClassObject = reinterpret_cast<GetClassObject>(GetProcAddress(module, "DllGetClassObject"));
    canUnloadNow = reinterpret_cast<CanUnloadNow>(GetProcAddress(module, "DllCanUnloadNow"));
    ASSERT_TRUE(getClassObject && canUnloadNow);
  }
  void TearDown() override { FreeLibrary(module); }
  HMODULE module = nullptr;
  GetClassObject getClassObject = nullptr;
  CanUnloadNow canUnloadNow = nullptr;
};

TEST_F(ServerModule, ServesOnlyThePublicClasses) {
  void* p = reinterpret_cast<void*>(1);
  for (const GUID* other : {&IID_IDispatch, &srv::kLibId, &srv::kIidSOSystem}) {
    EXPECT_EQ(getClassObject(*other, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(p, nullptr);
  }
  // Each user control has identities of its own, distinct from every other, and none is served
  // while it is not registered as an ActiveX control.
  std::set<std::wstring> ids{GuidText(srv::kLibId), GuidText(srv::kClsidSOSystem), GuidText(srv::kIidSOSystem),
                             GuidText(srv::kClsidBalloonToolTip), GuidText(srv::kIidBalloonToolTip)};
  for (const tessel::ControlIdentity& control : tessel::kControlIdentities) {
    EXPECT_TRUE(ids.insert(GuidText(control.clsid)).second);
    EXPECT_TRUE(ids.insert(GuidText(control.events)).second);
    EXPECT_EQ(getClassObject(control.clsid, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
  }

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(getClassObject(srv::kClsidSOSystem, IID_PPV_ARGS(&factory)), S_OK);
  ComPtr<IUnknown> object;
  EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_PPV_ARGS(&object)), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  ASSERT_EQ(factory->CreateInstance(nullptr, srv::kIidSOSystem, &object), S_OK);
  ComPtr<ISupportErrorInfo> errors;
  ASSERT_EQ(object.As(&errors), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(srv::kIidSOSystem), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
}

TEST_F(ServerModule, CanUnloadOnlyWithoutObjectsAndLocks) {
  ASSERT_EQ(canUnloadNow(), S_OK);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(getClassObject(srv::kClsidBalloonToolTip, IID_PPV_ARGS(&factory)), S_OK);
  ComPtr<IDispatch> a, b;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&a)), S_OK);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&b)), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_EQ(canUnloadNow(), S_FALSE);
  a.Reset();
  b.Reset();
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "still locked";
  ASSERT_EQ(getClassObject(srv::kClsidBalloonToolTip, IID_PPV_ARGS(&factory)), S_OK);
  factory->LockServer(FALSE);
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "a factory is alive";
  factory.Reset();
  EXPECT_EQ(canUnloadNow(), S_OK);
}

}  // namespace
