// Registration of TesselOCX.ocx on key level, through regsvr32 like an installer does it, and the
// module's own answers about its classes and whether it can be unloaded. These tests change the
// shared registry, so they run alone, and they leave the server registered.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "host/ControlIdentities.h"
#include "server/module/Guids.h"

namespace {

namespace srv = tessel::server;

std::wstring ServerPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + L"TesselOCX.ocx";
}

std::wstring GuidText(const GUID& g) {
  wchar_t buffer[40] = {};
  StringFromGUID2(g, buffer, 40);
  return buffer;
}

// Runs regsvr32 silently with the given switches; returns its exit code.
DWORD RegSvr32(const std::wstring& switches) {
  std::wstring command = L"regsvr32.exe /s " + switches + L" \"" + ServerPath() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0xFFFF;
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 0xFFFE;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring Value(HKEY root, const std::wstring& path, const wchar_t* name = nullptr) {
  wchar_t data[1024] = {};
  DWORD size = sizeof(data);
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return L"<none>";
  return data;
}

// Every key that registration owns below a classes root (the library's keys too, with library).
std::vector<std::wstring> OwnedKeys(bool library) {
  std::vector<std::wstring> keys;
  for (const GUID* clsid : {&srv::kClsidBalloonToolTip, &srv::kClsidSOSystem}) {
    for (const wchar_t* sub : {L"", L"\\InprocServer32", L"\\ProgID", L"\\TypeLib", L"\\VERSION"})
      keys.push_back(L"CLSID\\" + GuidText(*clsid) + sub);
  }
  for (const wchar_t* progId : {L"TesselOCX.CBalloonToolTip", L"TesselOCX.SOSystem"}) {
    keys.push_back(progId);
    keys.push_back(std::wstring(progId) + L"\\CLSID");
  }
  if (library) {
    keys.push_back(L"TypeLib\\" + GuidText(srv::kLibId));
    keys.push_back(L"Interface\\" + GuidText(srv::kIidBalloonToolTip));
    keys.push_back(L"Interface\\" + GuidText(srv::kIidSOSystem));
  }
  return keys;
}

void ExpectGone(HKEY root, const std::wstring& prefix, bool library) {
  for (const auto& k : OwnedKeys(library)) EXPECT_FALSE(KeyExists(root, prefix + k)) << std::string(k.begin(), k.end());
}

void ExpectClassKeys(HKEY root, const std::wstring& prefix) {
  struct Cls { const GUID* clsid; const wchar_t* progId; };
  for (Cls c : {Cls{&srv::kClsidBalloonToolTip, L"TesselOCX.CBalloonToolTip"}, Cls{&srv::kClsidSOSystem, L"TesselOCX.SOSystem"}}) {
    const std::wstring key = prefix + L"CLSID\\" + GuidText(*c.clsid);
    EXPECT_EQ(lstrcmpiW(Value(root, key + L"\\InprocServer32").c_str(), ServerPath().c_str()), 0)
        << "server path of " << std::string(c.progId, c.progId + wcslen(c.progId));
    EXPECT_EQ(Value(root, key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(Value(root, key + L"\\ProgID"), c.progId);
    EXPECT_EQ(Value(root, key + L"\\TypeLib"), GuidText(srv::kLibId));
    EXPECT_EQ(Value(root, prefix + c.progId + L"\\CLSID"), GuidText(*c.clsid));
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
  ExpectGone(HKEY_CLASSES_ROOT, L"", true);
  // Removing what is already gone is no failure.
  EXPECT_EQ(RegSvr32(L"/u"), 0u);

  ASSERT_EQ(RegSvr32(L""), 0u);
  ExpectClassKeys(HKEY_CLASSES_ROOT, L"");
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

  // Registered objects come by ProgID.
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(L"TesselOCX.SOSystem", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, srv::kClsidSOSystem));
  ASSERT_EQ(CLSIDFromProgID(L"TesselOCX.CBalloonToolTip", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, srv::kClsidBalloonToolTip));
  ITypeLib* registered = nullptr;
  ASSERT_EQ(LoadRegTypeLib(srv::kLibId, 1, 4, 0, &registered), S_OK);
  registered->Release();

  ASSERT_EQ(RegSvr32(L"/u"), 0u);
  ExpectGone(HKEY_CLASSES_ROOT, L"", true);
  EXPECT_EQ(CLSIDFromProgID(L"TesselOCX.SOSystem", &clsid), CO_E_CLASSSTRING);
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID")) << "the shared parents stay";
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\{00020400-0000-0000-C000-000000000046}"))
      << "the library's base interfaces belong to the system";
}

TEST_F(Registration, UserRegistrationGoesBelowTheCurrentUsersClasses) {
  ASSERT_EQ(RegSvr32(L"/u"), 0u);
  const std::wstring user = L"Software\\Classes\\";
  ASSERT_EQ(RegSvr32(L"/n /i:user"), 0u);
  ExpectClassKeys(HKEY_CURRENT_USER, user);
  ExpectGone(HKEY_LOCAL_MACHINE, L"Software\\Classes\\", false);  // nothing for the machine
  ITypeLib* registered = nullptr;
  ASSERT_EQ(LoadRegTypeLib(srv::kLibId, 1, 4, 0, &registered), S_OK) << "the type library is registered";
  registered->Release();

  ASSERT_EQ(RegSvr32(L"/u /n /i:user"), 0u);
  ExpectGone(HKEY_CURRENT_USER, user, true);
  ExpectGone(HKEY_CLASSES_ROOT, L"", true);
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
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(canUnloadNow, nullptr);
  }
  void TearDown() override { FreeLibrary(module); }
  HMODULE module = nullptr;
  GetClassObject getClassObject = nullptr;
  CanUnloadNow canUnloadNow = nullptr;
};

TEST_F(ServerModule, ExportsItsEntryPointsByTheirPlainNames) {
  for (const char* name : {"DllRegisterServer", "DllUnregisterServer", "DllGetClassObject", "DllCanUnloadNow", "DllInstall"})
    EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
  HRSRC typelib = FindResourceW(module, MAKEINTRESOURCEW(1), L"TYPELIB");
  ASSERT_NE(typelib, nullptr);
  EXPECT_GT(SizeofResource(module, typelib), 1000u);
}

TEST_F(ServerModule, ServesOnlyThePublicClasses) {
  void* p = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject(IID_IDispatch, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(getClassObject(srv::kLibId, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(getClassObject(srv::kIidSOSystem, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
  // Each user control has identities of its own, distinct from every other, and none is served.
  std::set<std::wstring> ids{GuidText(srv::kLibId), GuidText(srv::kClsidSOSystem), GuidText(srv::kIidSOSystem),
                             GuidText(srv::kClsidBalloonToolTip), GuidText(srv::kIidBalloonToolTip)};
  for (const tessel::ControlIdentity& control : tessel::kControlIdentities) {
    EXPECT_TRUE(ids.insert(GuidText(control.clsid)).second);
    EXPECT_TRUE(ids.insert(GuidText(control.events)).second);
    EXPECT_EQ(getClassObject(control.clsid, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(p, nullptr);
  }

  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(srv::kClsidSOSystem, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
  void* object = nullptr;
  EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(factory->CreateInstance(nullptr, srv::kIidSOSystem, &object), S_OK);
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(static_cast<IUnknown*>(object)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  ISupportErrorInfo* errors = nullptr;
  ASSERT_EQ(dispatch->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&errors)), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(srv::kIidSOSystem), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
  errors->Release();
  dispatch->Release();
  static_cast<IUnknown*>(object)->Release();
  factory->Release();
}

TEST_F(ServerModule, CanUnloadOnlyWithoutObjectsAndLocks) {
  ASSERT_EQ(canUnloadNow(), S_OK);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(srv::kClsidBalloonToolTip, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  IDispatch* a = nullptr;
  IDispatch* b = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&a)), S_OK);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&b)), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  EXPECT_EQ(canUnloadNow(), S_FALSE);
  a->Release();
  EXPECT_EQ(canUnloadNow(), S_FALSE);
  b->Release();
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "still locked";
  ASSERT_EQ(getClassObject(srv::kClsidBalloonToolTip, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "a factory is alive";
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(canUnloadNow(), S_OK);
}

}  // namespace
