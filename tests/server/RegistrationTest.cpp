// These tests change the shared registry, so they run alone, and they leave the server registered.
#include "tests/support/Prelude.h"

#include "host/ControlIdentities.h"
#include "server/contract/SystemHandles.h"
#include "server/module/ControlClasses.h"
#include "server/module/Guids.h"
#include "tests/support/Programs.h"

namespace {

namespace srv = tessel::server;
using tessel::test::RegSvr32;
using tessel::test::ServerCanUnloadNow;
using tessel::test::ServerGetClassObject;
using tessel::test::ServerPath;
using Microsoft::WRL::ComPtr;

std::wstring GuidText(const GUID& g) {
  wchar_t buffer[40] = {};
  StringFromGUID2(g, buffer, 40);
  return buffer;
}
std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

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

// One value registration writes (kAny: the key alone, whatever it holds).
struct Entry { std::wstring key; const wchar_t* name; std::wstring value; };
const std::wstring kAny = L"<any>";

struct Class { const GUID *clsid, *iid; const wchar_t *progId, *interfaceName; };
const Class kClasses[] = {
    {&srv::kClsidBalloonToolTip, &srv::kIidBalloonToolTip, L"TesselOCX.CBalloonToolTip", L"_CBalloonToolTip"},
    {&srv::kClsidSOSystem, &srv::kIidSOSystem, L"TesselOCX.SOSystem", L"_SOSystem"}};

// The status of a control is SETCLIENTSITEFIRST | RECOMPOSEONRESIZE | INSIDEOUT | ACTIVATEWHENVISIBLE |
// CANTLINKINSIDE (0x20191), with ACTSLIKEBUTTON, SIMPLEFRAME or NOUIACTIVATE for the decorations.
struct ControlKeys { const wchar_t *type, *miscStatus, *bitmap; };
const ControlKeys kControlKeys[] = {
    {L"ButtonStyle", L"135569", L"101"}, {L"tzFrames", L"197009", L"102"}, {L"Bevel", L"147857", L"103"},
    {L"KvLinha", L"147857", L"104"},     {L"KvText", L"131473", L"105"},   {L"KvTextBox", L"131473", L"106"},
    {L"KvFundo", L"131473", L"107"},
};

const tessel::ControlIdentity& IdentityOf(const wchar_t* type) {
  for (const tessel::ControlIdentity& c : tessel::kControlIdentities)
    if (c.typeName == type) return c;
  throw std::runtime_error("no control " + Narrow(type));
}

// Every value registration owns below a classes root (prefix), of the classes or the controls; with library the type library's.
std::vector<Entry> Entries(bool controls, const std::wstring& p, bool library) {
  const std::wstring server = ServerPath(), lib = p + L"TypeLib\\" + GuidText(controls ? srv::kControlsLibId : srv::kLibId);
  std::vector<Entry> e;
  auto common = [&](const std::wstring& key, const std::wstring& progId, const std::wstring& clsid) {
    e.insert(e.end(), {{key + L"\\InprocServer32", nullptr, server}, {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
                       {key + L"\\TypeLib", nullptr, GuidText(controls ? srv::kControlsLibId : srv::kLibId)},
                       {p + progId + L"\\CLSID", nullptr, clsid}});
  };
  for (const Class& c : controls ? std::span<const Class>() : std::span(kClasses)) {
    const std::wstring key = p + L"CLSID\\" + GuidText(*c.clsid), iface = p + L"Interface\\" + GuidText(*c.iid);
    common(key, c.progId, GuidText(*c.clsid));
    e.insert(e.end(), {{key, nullptr, kAny}, {key + L"\\VERSION", nullptr, kAny}, {key + L"\\ProgID", nullptr, c.progId}});
    if (library) e.insert(e.end(), {{iface, nullptr, c.interfaceName}, {iface + L"\\TypeLib", nullptr, GuidText(srv::kLibId)}});
  }
  for (const ControlKeys& c : controls ? std::span(kControlKeys) : std::span<const ControlKeys>()) {
    const tessel::ControlIdentity& id = IdentityOf(c.type);
    const std::wstring progId = std::wstring(L"TesselOCX.") + c.type, key = p + L"CLSID\\" + GuidText(id.clsid);
    common(key, progId, GuidText(id.clsid));
    e.insert(e.end(), {{key + L"\\Control", nullptr, kAny}, {key + L"\\ProgID", nullptr, progId + L".1"},
                       {key + L"\\VersionIndependentProgID", nullptr, progId}, {key + L"\\MiscStatus", nullptr, L"0"},
                       {key + L"\\MiscStatus\\1", nullptr, c.miscStatus}, {key + L"\\Version", nullptr, L"1.4"},
                       {key + L"\\ToolboxBitmap32", nullptr, server + L", " + c.bitmap},
                       {p + progId + L"\\CurVer", nullptr, progId + L".1"}, {p + progId + L".1\\CLSID", nullptr, GuidText(id.clsid)}});
    if (library) e.push_back({p + L"Interface\\" + GuidText(id.events), nullptr, L"__" + std::wstring(c.type)});
  }
  if (library && !controls)
    e.insert(e.end(), {{lib + (sizeof(void*) == 8 ? L"\\1.4\\0\\win64" : L"\\1.4\\0\\win32"), nullptr, server},
                       {lib + L"\\1.4", nullptr, L"TesselOCX"}});
  if (library && controls) e.push_back({lib, nullptr, kAny});
  return e;
}

// Each entry there with its value (the server's path in any case), or none of them.
void ExpectEntries(HKEY root, const std::vector<Entry>& entries, bool registered) {
  for (const Entry& e : entries) {
    const std::string where = Narrow(e.name ? e.key + L"@" + e.name : e.key);
    if (!registered) {
      EXPECT_FALSE(KeyExists(root, e.key)) << where;
      continue;
    }
    const std::wstring got = e.value == kAny ? (KeyExists(root, e.key) ? kAny : L"<none>") : Value(root, e.key, e.name);
    const bool path = e.value.starts_with(ServerPath());
    EXPECT_TRUE(path ? lstrcmpiW(got.c_str(), e.value.c_str()) == 0 : got == e.value) << where << ": " << Narrow(got);
  }
}

enum Place { kNowhere, kMachine, kUser };

// Where the classes and controls are registered: the machine (with their type library), the user, or nowhere.
void ExpectPlaces(Place classes, Place controls) {
  const std::wstring user = L"Software\\Classes\\";
  for (const bool ofControls : {false, true}) {
    SCOPED_TRACE(ofControls ? "controls" : "classes");
    const Place place = ofControls ? controls : classes;
    if (place == kUser) {
      ExpectEntries(HKEY_CURRENT_USER, Entries(ofControls, user, false), true);
      ExpectEntries(HKEY_LOCAL_MACHINE, Entries(ofControls, user, false), false);
      continue;
    }
    ExpectEntries(HKEY_CLASSES_ROOT, Entries(ofControls, L"", true), place == kMachine);
    if (place == kNowhere) ExpectEntries(HKEY_CURRENT_USER, Entries(ofControls, user, true), false);
    ComPtr<ITypeLib> lib;
    EXPECT_EQ(LoadRegTypeLib(ofControls ? srv::kControlsLibId : srv::kLibId, 1, 4, 0, &lib),
              place == kMachine ? S_OK : TYPE_E_LIBNOTREGISTERED);
  }
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID")) << "the shared parents stay";
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\{00020400-0000-0000-C000-000000000046}"))
      << "the library's base interfaces belong to the system";
}

class Registration : public ::testing::Test {
 protected:
  // Whatever a test did, the server is registered for the machine again afterwards.
  void TearDown() override { EXPECT_EQ(RegSvr32(L""), 0u); }
};

// The classes are registered for the machine or the current user; the controls only on request, and go alone.
TEST_F(Registration, EachRequestWritesItsKeysAndRemovesExactlyThem) {
  const struct Step { const wchar_t* switches; bool succeeds; Place classes, controls; } steps[] = {
      {L"/u", true, kNowhere, kNowhere},
      {L"/u", true, kNowhere, kNowhere},  // removing what is already gone is no failure
      {L"", true, kMachine, kNowhere},    // the user controls are private
      {L"/u", true, kNowhere, kNowhere},
      {L"/n /i:controlz", false, kNowhere, kNowhere},  // an unknown word is refused
      {L"/i:controls", true, kMachine, kMachine},
      {L"/u /n /i:controls", true, kMachine, kNowhere},
      {L"/i:controls", true, kMachine, kMachine},
      {L"/u", true, kNowhere, kNowhere},  // plain unregistering takes the controls away too
      {L"/n /i:user,controls", true, kUser, kUser},
      {L"/u /n /i:user,controls", true, kUser, kNowhere},
      {L"/u /n /i:user", true, kNowhere, kNowhere},
      {L"/u /n /i:user", true, kNowhere, kNowhere},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << "regsvr32 " << Narrow(s.switches));
    ASSERT_EQ(RegSvr32(s.switches) == 0, s.succeeds);
    ExpectPlaces(s.classes, s.controls);
  }
}

// The module's exports, called in this process.
class ServerModule : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(tessel::test::ServerModule(), nullptr); }
};

TEST_F(ServerModule, ServesOnlyThePublicClasses) {
  void* p = reinterpret_cast<void*>(1);
  for (const GUID* other : {&IID_IDispatch, &srv::kLibId, &srv::kIidSOSystem}) {
    EXPECT_EQ(ServerGetClassObject(*other, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(p, nullptr);
  }
  // Each user control has identities of its own, distinct from every other, and none is served
  // while it is not registered as an ActiveX control.
  std::set<std::wstring> ids{GuidText(srv::kLibId), GuidText(srv::kClsidSOSystem), GuidText(srv::kIidSOSystem),
                             GuidText(srv::kClsidBalloonToolTip), GuidText(srv::kIidBalloonToolTip)};
  for (const tessel::ControlIdentity& control : tessel::kControlIdentities) {
    EXPECT_TRUE(ids.insert(GuidText(control.clsid)).second);
    EXPECT_TRUE(ids.insert(GuidText(control.events)).second);
    EXPECT_EQ(ServerGetClassObject(control.clsid, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
  }

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(ServerGetClassObject(srv::kClsidSOSystem, IID_PPV_ARGS(&factory)), S_OK);
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
  ASSERT_EQ(ServerCanUnloadNow(), S_OK);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(ServerGetClassObject(srv::kClsidBalloonToolTip, IID_PPV_ARGS(&factory)), S_OK);
  ComPtr<IDispatch> objects[2];
  for (ComPtr<IDispatch>& o : objects) ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&o)), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_EQ(ServerCanUnloadNow(), S_FALSE);
  for (ComPtr<IDispatch>& o : objects) o.Reset();
  EXPECT_EQ(ServerCanUnloadNow(), S_FALSE) << "still locked";
  ASSERT_EQ(ServerGetClassObject(srv::kClsidBalloonToolTip, IID_PPV_ARGS(&factory)), S_OK);
  factory->LockServer(FALSE);
  EXPECT_EQ(ServerCanUnloadNow(), S_FALSE) << "a factory is alive";
  factory.Reset();
  EXPECT_EQ(ServerCanUnloadNow(), S_OK);
}

}  // namespace
