// The seven controls in the ATL container: created by ProgID, drawn as on a form, raising their
// events at a connection point, saved and loaded by the container, and leaving nothing behind.
#include "tests/support/Prelude.h"
#include <shlwapi.h>

#include "button/ButtonStyle.h"
#include "host/DragSource.h"
#include "inputs/KvTextBox.h"
#include "tests/olehost/OleFixture.h"
#include "tests/support/Bags.h"
#include "tests/support/EventLog.h"
#include "tests/support/Keys.h"
#include "tests/support/GdiCount.h"

namespace tessel::oletest {
namespace {

using ::testing::ElementsAre;

// Drawn by its container, active or not, each control shows its window's pixels (those against a twin
// on a form: ContainerLook); saved to a stream, it loads into a new one that saves the same bytes.
TEST(AtlContainer, EachControlComesByProgIdDrawsAsItsWindowShowsAndLoadsWhatItSaved) {
  const auto bytesOf = [](IPersistStreamInit* persist) {
    ComPtr<IStream> stream;
    ULARGE_INTEGER size{};
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    EXPECT_EQ(persist ? persist->Save(stream.Get(), TRUE) : E_NOINTERFACE, S_OK);
    std::string bytes(IStream_Size(stream.Get(), &size) == S_OK ? static_cast<size_t>(size.QuadPart) : 0, '\0');
    IStream_Reset(stream.Get());
    IStream_Read(stream.Get(), bytes.data(), static_cast<ULONG>(bytes.size()));
    IStream_Reset(stream.Get());
    return std::make_pair(bytes, stream);
  };
  for (const Sample& s : kSamples) {
    SCOPED_TRACE(Utf8FromWide(s.type));
    AtlHosted hosted(ProgId(s.type), s.width, s.height);
    ASSERT_NE(hosted.dispatch(), nullptr);
    ASSERT_NE(hosted.ControlWindow(), nullptr);
    EXPECT_TRUE(IsChild(hosted.host(), hosted.ControlWindow())) << "active in place in the host's window";
    const auto atl = ScreenOf(hosted.ControlWindow());

    // The container can draw the control into a DC of its own at the extent it reports: the same pixels
    // as its window.
    const SIZE extent = ExtentOf(hosted.control());
    const auto drawn = DrawnBy(hosted.control(), extent.cx, extent.cy);
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(test::DifferentPixels(*drawn, *atl), 0);

    // A control never active in place draws at the extent it reports after the one it was told last.
    const auto inactive = New<IOleObject>(ProgId(s.type));
    ASSERT_NE(inactive, nullptr);
    ASSERT_EQ(As<IPersistStreamInit>(inactive.Get())->InitNew(), S_OK);
    for (SIZEL extent : {SIZEL{s.width, s.height}, SIZEL{MulDiv(s.width, 2540, ScreenDpiX()), MulDiv(s.height, 2540, ScreenDpiY())}})
      ASSERT_EQ(inactive->SetExtent(DVASPECT_CONTENT, &extent), S_OK);
    const SIZE taken = ExtentOf(inactive.Get());
    const auto told = DrawnBy(inactive.Get(), taken.cx, taken.cy);
    ASSERT_NE(told, nullptr);
    EXPECT_EQ(test::DifferentPixels(*told, *atl), 0);

    if (SameKey(s.type, L"ButtonStyle")) { ASSERT_EQ(Put(hosted.dispatch(), L"Caption", L"Salvar"), S_OK); }
    if (SameKey(s.type, L"tzFrames")) { ASSERT_EQ(Put(hosted.dispatch(), L"Style", 3), S_OK); }
    auto [bytes, stream] = bytesOf(As<IPersistStreamInit>(hosted.control()).Get());
    EXPECT_NE(bytes.find("Control " + Utf8FromWide(s.type)), std::string::npos) << bytes;
    const auto loaded = New<IPersistStreamInit>(ProgId(s.type));
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->Load(stream.Get()), S_OK);
    EXPECT_EQ(bytesOf(loaded.Get()).first, bytes);
  }
}

// Told a height of one pixel, each control reports the extent it keeps (a field its font's height, the
// rule its own), whether active in the ATL container or never activated: the size its twin on a form
// stands at. The container's owner sizing the host to it, the control shows whole, as on the form.
TEST(AtlContainer, AControlReportsTheExtentItKeepsAndShowsWholeInAHostOfIt) {
  for (const Sample& s : kSamples) {
    SCOPED_TRACE(Utf8FromWide(s.type));
    FormWith onForm(s.type, s.width, 1);
    RECT twin{};
    GetClientRect(onForm.control->hWnd(), &twin);
    const auto inactive = New<IOleObject>(ProgId(s.type));
    ASSERT_NE(inactive, nullptr);
    ASSERT_EQ(As<IPersistStreamInit>(inactive.Get())->InitNew(), S_OK);
    SIZEL told{MulDiv(s.width, 2540, ScreenDpiX()), MulDiv(1, 2540, ScreenDpiY())};
    ASSERT_EQ(inactive->SetExtent(DVASPECT_CONTENT, &told), S_OK);
    const SIZE taken = ExtentOf(inactive.Get());
    EXPECT_EQ(std::make_pair(taken.cx, taken.cy), std::make_pair(twin.right, twin.bottom)) << "never active";

    AtlHosted hosted(ProgId(s.type), s.width, 1);
    RECT host{};
    GetClientRect(hosted.host(), &host);
    EXPECT_EQ(std::make_pair(host.right, host.bottom), std::make_pair(twin.right, twin.bottom)) << "active";
    EXPECT_EQ(test::DifferentPixels(*ScreenOf(hosted.ControlWindow()), *ScreenOf(onForm.control->hWnd())), 0);
  }
}

// A drag's source that lets the drag move twice and then drops.
struct OneStepDrag final : IDropSource {
  int asked = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return Offer(riid, ppv, {{&IID_IUnknown, this}, {&IID_IDropSource, this}});
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return ++asked < 3 ? S_OK : DRAGDROP_S_DROP; }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// A click raises what it raises on a form; a drag then entering, moving twice and dropping where the
// click was raises the drag events with the effects allowed, no button and the pixel under the cursor.
TEST(AtlContainer, AClickAndADragOverAButtonRaiseTheirEventsAtTheSinkAsOnAForm) {
  AtlHosted hosted(ProgId(L"ButtonStyle"), 97, 33);
  EventSink sink(hosted.control());
  Click(hosted.ControlWindow());
  const std::vector<std::string> atl = sink.Take({"MouseOnButton", "MouseDown", "MouseUp", "Click"});
  EXPECT_THAT(atl, ElementsAre("MouseOnButton(True)", "MouseDown(1,0,48,16)", "MouseUp(1,0,48,16)", "Click"));
  OneStepDrag drag;
  DWORD effect = DROPEFFECT_NONE;
  EXPECT_EQ(DoDragDrop(DragData::Create(nullptr).Get(), &drag, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
  EXPECT_THAT(sink.Take({"OLE"}), ElementsAre("OLEDragOver(<object>,3,0,0,48,16,0)", "OLEDragOver(<object>,3,0,0,48,16,2)",
                                              "OLEDragOver(<object>,3,0,0,48,16,2)", "OLEDragDrop(<object>,3,0,0,48,16)"));

  FormWith onForm(L"ButtonStyle", 97, 33);
  test::EventLog log;
  auto& button = static_cast<ButtonStyle&>(*onForm.control);
  log.Watch(button.events);
  button.events.MouseOnButton = [&](bool& on) { log(on ? "MouseOnButton(True)" : "MouseOnButton(False)"); };
  Click(button.hWnd());
  std::erase_if(log.lines, [](const std::string& line) { return line.starts_with("MouseMove"); });
  EXPECT_EQ(log.lines, atl);
}

TEST(AtlContainer, TypedTextObeysCapitalizarAndASinksKeyAsciiReachesTheField) {
  AtlHosted hosted(ProgId(L"KvTextBox"), 150, 25);
  ASSERT_EQ(Put(hosted.dispatch(), L"Capitalizar", true), S_OK);
  ASSERT_EQ(Put(hosted.dispatch(), L"Text", L""), S_OK);
  EventSink sink(hosted.control());
  sink.replaceKey = 'Q';
  sink.withKey = '*';
  HWND edit = FindWindowExW(hosted.ControlWindow(), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  test::SendText(edit, L"abq1");
  EXPECT_EQ(GetText(hosted.dispatch(), L"Text"), "AB*1");
  EXPECT_THAT(sink.Take({"KeyPress", "Change"}), ElementsAre("KeyPress(65)", "Change", "KeyPress(66)", "Change", "KeyPress(42)", "Change",
                                   "KeyPress(49)", "Change"));
}

// The values a form file holds for a control, as "Key=value" lines.
std::vector<std::string> FormFileLines(UserControl& control) {
  const PropertyBag bag = test::Written(control);
  std::vector<std::string> lines;
  for (const auto& [key, value] : bag.Entries()) {
    std::string text = std::visit(
        [](const auto& v) -> std::string {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, bool>) return v ? "True" : "False";
          else if constexpr (std::is_same_v<T, std::wstring>) return Utf8FromWide(v);
          else if constexpr (std::is_same_v<T, FontRef>) return "<font>";
          else if constexpr (std::is_same_v<T, PictureRef>) return "<object>";
          else return std::to_string(static_cast<long long>(v));
        },
        value);
    lines.push_back(Utf8FromWide(key) + "=" + text);
  }
  return lines;
}

TEST(AtlContainer, APropertyBagHoldsTheFormFilesValuesAndLoadsThemBack) {
  AtlHosted hosted(ProgId(L"KvTextBox"), 150, 25);
  FormWith onForm(L"KvTextBox", 150, 25);
  auto& box = static_cast<KvTextBox&>(*onForm.control);
  box.SetText(L"Pedido 12");
  box.SetCapitalizar(true);
  box.SetColorOnFoco(0x0000FF);
  box.SetMaxLength(20);
  const std::pair<const wchar_t*, Arg> same[] = {
      {L"Text", L"Pedido 12"}, {L"Capitalizar", true}, {L"ColorOnFoco", 0x0000FF}, {L"MaxLength", 20}};
  for (const auto& [name, value] : same) ASSERT_EQ(Put(hosted.dispatch(), name, value), S_OK) << Utf8FromWide(name);

  const auto persist = As<IPersistPropertyBag>(hosted.control());
  ASSERT_NE(persist, nullptr);
  MemoryBag bag;
  ASSERT_EQ(persist->Save(&bag, TRUE, TRUE), S_OK);
  std::vector<std::string> saved = bag.Lines();
  ASSERT_GE(saved.size(), 2u);
  EXPECT_EQ(saved[0], "_ExtentX=" + std::to_string(MulDiv(150, 2540, ScreenDpiX())));
  saved.erase(saved.begin(), saved.begin() + 2);
  EXPECT_EQ(saved, FormFileLines(box));

  // A new control loaded from the bag holds the same values and saves the same bag.
  const auto loaded = New<IPersistPropertyBag>(L"TesselOCX.KvTextBox");
  ASSERT_NE(loaded, nullptr);
  ASSERT_EQ(loaded->Load(&bag, nullptr), S_OK);
  EXPECT_EQ(loaded->Load(&bag, nullptr), CO_E_ALREADYINITIALIZED);
  const auto again = As<IDispatch>(loaded.Get());
  EXPECT_EQ(GetText(again.Get(), L"Text"), "Pedido 12");
  EXPECT_EQ(GetText(again.Get(), L"MaxLength"), "20");
  MemoryBag second;
  ASSERT_EQ(loaded->Save(&second, TRUE, TRUE), S_OK);
  EXPECT_EQ(second.Lines(), bag.Lines());

  // A value of the wrong type is refused with its key, and the control is not made.
  MemoryBag wrong;
  Arg many(L"many");
  wrong.Write(L"MaxLength", many.get());
  EXPECT_EQ(New<IPersistPropertyBag>(L"TesselOCX.KvTextBox")->Load(&wrong, nullptr), DISP_E_TYPEMISMATCH);
}

// ctest makes and destroys 105 controls (15 of each); TESSEL_OLE_CYCLES asks for more (tests/README.md).
TEST(AtlContainer, ControlsLeaveNoGdiOrUserObjectsAndTheServerCanUnloadOnceTheLastIsReleased) {
  // The same module COM loads for the controls, held here while the test asks it.
  HMODULE server = LoadLibraryW(test::ServerPath().c_str());
  auto canUnloadNow = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(server, "DllCanUnloadNow"));
  ASSERT_NE(canUnloadNow, nullptr);
  const char* asked = std::getenv("TESSEL_OLE_CYCLES");
  const int cycles = asked && std::atoi(asked) > 0 ? std::atoi(asked) : 105;
  const auto round = [&] {
    {
      std::vector<std::unique_ptr<AtlHosted>> all;
      for (const Sample& s : kSamples) all.push_back(std::make_unique<AtlHosted>(ProgId(s.type), s.width, s.height));
      EXPECT_EQ(canUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(canUnloadNow(), S_OK);
  };
  round();  // what the process keeps once made: window classes, the type library, font caches
  test::Pump(0);
  const unsigned gdi = test::GdiObjectCount(), user = test::UserObjectCount();
  const int rounds = (cycles + std::size(kSamples) - 1) / std::size(kSamples);
  for (int i = 0; i < rounds; ++i) round();
  test::Pump(0);
  EXPECT_EQ(test::GdiObjectCount(), gdi);
  EXPECT_EQ(test::UserObjectCount(), user);
  std::printf("[ cycles   ] %zu controls made and destroyed: GDI objects %u -> %u, windows %u -> %u\n",
              rounds * std::size(kSamples), gdi, test::GdiObjectCount(), user, test::UserObjectCount());
  FreeLibrary(server);
}

// The server freed takes its window classes with it, and loaded again (where the system puts it,
// often the same address) makes its controls with classes of its own. A copy of the server is a
// module nothing else in the process holds, so that FreeLibrary unloads it as COM would.
TEST(AtlContainer, TheServerUnloadedTakesItsWindowClassesAndLoadedAgainMakesItsControls) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring copy = std::wstring(folder) + L"TesselOCX-loaded-again.ocx";
  ASSERT_TRUE(CopyFileW(test::ServerPath().c_str(), copy.c_str(), FALSE));
  const wchar_t* const classes[] = {L"TesselOleControl", L"TesselSurface"};
  for (int load = 0; load < 2; ++load) {
    HMODULE server = LoadLibraryW(copy.c_str());
    ASSERT_NE(server, nullptr);
    const auto getClassObject =
        reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(GetProcAddress(server, "DllGetClassObject"));
    ASSERT_NE(getClassObject, nullptr);
    // Made and released in a thread of its own: what the runtime keeps for a thread's objects holds
    // the module until that thread ends.
    std::thread([&] {
      const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(kControlIdentities[0].clsid, IID_PPV_ARGS(factory.GetAddressOf())), S_OK) << load;
        ComPtr<IDispatch> button;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(button.GetAddressOf())), S_OK) << load;
        EXPECT_TRUE(IsWindow(WindowOf(button.Get()))) << "load " << load;
        for (size_t i = 0; i < std::size(classes); ++i) {
          WNDCLASSEXW wc{sizeof(wc)};
          EXPECT_TRUE(GetClassInfoExW(server, classes[i], &wc)) << "load " << load << ", class " << i;
        }
      }
      test::Pump(0);
      if (SUCCEEDED(init)) CoUninitialize();
    }).join();
    const auto canUnloadNow = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(server, "DllCanUnloadNow"));
    ASSERT_EQ(canUnloadNow(), S_OK) << "load " << load;  // asked first, as COM does
    ASSERT_TRUE(FreeLibrary(server));
    EXPECT_EQ(GetModuleHandleW(copy.c_str()), nullptr) << "load " << load << " is still there";
    for (size_t i = 0; i < std::size(classes); ++i) {
      WNDCLASSEXW wc{sizeof(wc)};
      EXPECT_FALSE(GetClassInfoExW(server, classes[i], &wc)) << "load " << load << " left class " << i;
    }
  }
  DeleteFileW(copy.c_str());
}

}  // namespace
}  // namespace tessel::oletest
