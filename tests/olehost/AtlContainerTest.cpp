// The seven controls in the ATL container: created by ProgID, drawn as on a form, reached by name
// through IDispatch, raising their events at a connection point, saved and loaded by the
// container, and leaving nothing behind.
#include <gmock/gmock.h>

#include "button/ButtonStyle.h"
#include "inputs/KvTextBox.h"
#include "tests/olehost/OleFixture.h"
#include "tests/support/EventLog.h"
#include "tests/support/Keys.h"
#include "tests/support/Leaks.h"
#include "tests/support/MessagePump.h"

namespace tessel::oletest {
namespace {

using ::testing::ElementsAre;

struct Sample {
  const wchar_t* type;
  int width, height;  // pixels
};
const Sample kSamples[] = {
    {L"ButtonStyle", 97, 33}, {L"tzFrames", 160, 120}, {L"Bevel", 80, 40}, {L"KvLinha", 120, 2},
    {L"KvText", 200, 25},     {L"KvTextBox", 150, 25}, {L"KvFundo", 240, 160},
};

std::wstring ProgId(const wchar_t* type) { return std::wstring(L"TesselOCX.") + type; }

TEST(AtlContainer, EachControlComesByProgIdAndShowsThePixelsItHasOnAForm) {
  for (const Sample& s : kSamples) {
    SCOPED_TRACE(Utf8FromWide(s.type));
    AtlHosted hosted(ProgId(s.type), s.width, s.height);
    ASSERT_NE(hosted.dispatch(), nullptr);
    ASSERT_NE(hosted.ControlWindow(), nullptr);
    EXPECT_TRUE(IsChild(hosted.host(), hosted.ControlWindow())) << "active in place in the host's window";
    FormWith onForm(s.type, s.width, s.height);
    const auto atl = hosted.Screen();
    const auto form = onForm.Screen();
    EXPECT_EQ(FirstDifference(*atl, *form), "");

    // The container can draw the control into a DC of its own: the same pixels as its window.
    ComPtr<IViewObject2> view;
    ASSERT_EQ(hosted.control()->QueryInterface(IID_PPV_ARGS(&view)), S_OK);
    test::Canvas drawn(s.width, s.height, RGB(1, 2, 3));
    const RECTL bounds{0, 0, s.width, s.height};
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, drawn.dc(), &bounds, nullptr, nullptr, 0),
              S_OK);
    EXPECT_EQ(FirstDifference(drawn, *atl), "");
  }
}

// {type, property, value written, value read back}
struct PropertyCase {
  const wchar_t* type;
  const wchar_t* name;
  VARIANT (*value)();
  const wchar_t* read;
};
const PropertyCase kProperties[] = {
    {L"ButtonStyle", L"Caption", [] { return Var(L"&Gravar"); }, L"&Gravar"},
    {L"ButtonStyle", L"ForeColor", [] { return Var(int32_t{0x0000FF}); }, L"255"},
    {L"ButtonStyle", L"Enabled", [] { return Var(false); }, L"False"},
    {L"KvTextBox", L"Text", [] { return Var(L"abc"); }, L"abc"},
    {L"KvTextBox", L"MaxLength", [] { return Var(L"12"); }, L"12"},  // converted as a script would
    {L"KvText", L"Caption", [] { return Var(L"Nome:"); }, L"Nome:"},
    {L"tzFrames", L"Caption", [] { return Var(L"Dados"); }, L"Dados"},
    {L"KvFundo", L"URL", [] { return Var(L"http://example.com"); }, L"http://example.com"},
};

TEST(AtlContainer, PropertiesAreReadAndWrittenByNameAndARefusedValueIsAnError) {
  for (const PropertyCase& c : kProperties) {
    SCOPED_TRACE(Utf8FromWide(std::wstring(c.type) + L"." + c.name));
    AtlHosted hosted(ProgId(c.type), 120, 40);
    ASSERT_NE(hosted.dispatch(), nullptr);
    unique_variant value;
    *value.get() = c.value();
    ASSERT_EQ(Put(hosted.dispatch(), c.name, *value.get()), S_OK);
    EXPECT_EQ(GetText(hosted.dispatch(), c.name), c.read);
  }
  AtlHosted text(ProgId(L"KvText"), 200, 25);
  std::wstring error;
  EXPECT_EQ(Put(text.dispatch(), L"Alignment", Var(int32_t{7}), &error), CTL_E_INVALIDPROPERTYVALUE);
  EXPECT_EQ(error, L"Invalid property value");
  EXPECT_EQ(GetLong(text.dispatch(), L"Alignment"), 0) << "the refused value changed nothing";
  ComPtr<ISupportErrorInfo> supports;
  ASSERT_EQ(text.dispatch()->QueryInterface(IID_PPV_ARGS(&supports)), S_OK);
  EXPECT_EQ(supports->InterfaceSupportsErrorInfo(IID_IDispatch), S_OK);
  EXPECT_EQ(Put(text.dispatch(), L"Alignment", Var(int32_t{9})), CTL_E_INVALIDPROPERTYVALUE);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  unique_bstr description;
  BSTR raw = nullptr;
  info->GetDescription(&raw);
  description.reset(raw);
  EXPECT_STREQ(raw, L"Invalid property value");
  EXPECT_EQ(Put(text.dispatch(), L"hWnd", Var(int32_t{1}), &error), CTL_E_SETNOTSUPPORTED);
  EXPECT_EQ(Put(text.dispatch(), L"MaxLength", Var(L"many")), DISP_E_TYPEMISMATCH);
  DISPID id = 0;
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"NoSuchProperty")};
  EXPECT_EQ(text.dispatch()->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

std::vector<std::string> Without(std::vector<std::string> lines, const std::string& prefix) {
  std::erase_if(lines, [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  return lines;
}

TEST(AtlContainer, AClickRaisesMouseDownMouseUpAndClickAtTheSinkAsOnAForm) {
  AtlHosted hosted(ProgId(L"ButtonStyle"), 97, 33);
  EventSink sink(hosted.control());
  Click(hosted.ControlWindow());
  const std::vector<std::string> atl = Without(sink.Take(), "MouseMove");
  EXPECT_THAT(atl, ElementsAre("MouseOnButton(True)", "MouseDown(1,0,48,16)", "MouseUp(1,0,48,16)", "Click"));

  FormWith onForm(L"ButtonStyle", 97, 33);
  test::EventLog log;
  auto& button = static_cast<ButtonStyle&>(*onForm.control);
  button.events.MouseDown = [&](int16_t& b, int16_t& s, float& x, float& y) {
    log("MouseDown(" + std::to_string(b) + "," + std::to_string(s) + "," + std::to_string(int(x)) + "," +
        std::to_string(int(y)) + ")");
  };
  button.events.MouseUp = [&](int16_t& b, int16_t& s, float& x, float& y) {
    log("MouseUp(" + std::to_string(b) + "," + std::to_string(s) + "," + std::to_string(int(x)) + "," +
        std::to_string(int(y)) + ")");
  };
  button.events.Click = [&] { log("Click"); };
  button.events.MouseOnButton = [&](bool& on) { log(on ? "MouseOnButton(True)" : "MouseOnButton(False)"); };
  Click(button.hWnd());
  EXPECT_EQ(log.Take(), atl);
}

TEST(AtlContainer, TypedTextObeysCapitalizarAndASinksKeyAsciiReachesTheField) {
  AtlHosted hosted(ProgId(L"KvTextBox"), 150, 25);
  ASSERT_EQ(Put(hosted.dispatch(), L"Capitalizar", Var(true)), S_OK);
  unique_variant empty;
  *empty.get() = Var(L"");
  ASSERT_EQ(Put(hosted.dispatch(), L"Text", *empty.get()), S_OK);
  EventSink sink(hosted.control());
  sink.replaceKey = 'Q';
  sink.withKey = '*';
  HWND edit = FindWindowExW(hosted.ControlWindow(), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  test::SendText(edit, L"abq1");
  EXPECT_EQ(GetText(hosted.dispatch(), L"Text"), L"AB*1");
  const std::vector<std::string> presses = [&] {
    std::vector<std::string> kept;
    for (const std::string& l : sink.Take())
      if (l.rfind("KeyPress", 0) == 0 || l == "Change") kept.push_back(l);
    return kept;
  }();
  EXPECT_THAT(presses, ElementsAre("KeyPress(65)", "Change", "KeyPress(66)", "Change", "KeyPress(42)", "Change",
                                   "KeyPress(49)", "Change"));
}

// The values a form file holds for a control, as "Key=value" lines.
std::vector<std::string> FormFileLines(UserControl& control) {
  PropertyBag bag;
  control.WriteProperties(bag);
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
  ASSERT_EQ(Put(hosted.dispatch(), L"Text", Var(L"Pedido 12")), S_OK);
  ASSERT_EQ(Put(hosted.dispatch(), L"Capitalizar", Var(true)), S_OK);
  ASSERT_EQ(Put(hosted.dispatch(), L"ColorOnFoco", Var(int32_t{0x0000FF})), S_OK);
  ASSERT_EQ(Put(hosted.dispatch(), L"MaxLength", Var(int32_t{20})), S_OK);

  ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(hosted.control()->QueryInterface(IID_PPV_ARGS(&persist)), S_OK);
  MemoryBag bag;
  ASSERT_EQ(persist->Save(&bag, TRUE, TRUE), S_OK);
  std::vector<std::string> saved = bag.Lines();
  ASSERT_GE(saved.size(), 2u);
  EXPECT_EQ(saved[0], "_ExtentX=" + std::to_string(MulDiv(150 * 15, 2540, 1440)));
  saved.erase(saved.begin(), saved.begin() + 2);
  EXPECT_EQ(saved, FormFileLines(box));

  // A new control loaded from the bag holds the same values and saves the same bag.
  ComPtr<IPersistPropertyBag> loaded;
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(L"TesselOCX.KvTextBox", &clsid), S_OK);
  ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&loaded)), S_OK);
  ASSERT_EQ(loaded->Load(&bag, nullptr), S_OK);
  EXPECT_EQ(loaded->Load(&bag, nullptr), CO_E_ALREADYINITIALIZED);
  ComPtr<IDispatch> again;
  ASSERT_EQ(loaded.As(&again), S_OK);
  EXPECT_EQ(GetText(again.Get(), L"Text"), L"Pedido 12");
  EXPECT_EQ(GetLong(again.Get(), L"MaxLength"), 20);
  MemoryBag second;
  ASSERT_EQ(loaded->Save(&second, TRUE, TRUE), S_OK);
  EXPECT_EQ(second.Lines(), bag.Lines());

  // A value of the wrong type is refused with its key, and the control is not made.
  MemoryBag wrong;
  unique_variant text;
  *text.get() = Var(L"many");
  wrong.Write(L"MaxLength", text.get());
  ComPtr<IPersistPropertyBag> refused;
  ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&refused)), S_OK);
  EXPECT_EQ(refused->Load(&wrong, nullptr), DISP_E_TYPEMISMATCH);
}

TEST(AtlContainer, AStreamSavedLoadsIntoANewControlThatSavesTheSameBytes) {
  const auto bytesOf = [](IPersistStreamInit* persist) {
    ComPtr<IStream> stream;
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    EXPECT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    return std::make_pair(bytes, stream);
  };
  for (const Sample& s : kSamples) {
    SCOPED_TRACE(Utf8FromWide(s.type));
    AtlHosted hosted(ProgId(s.type), s.width, s.height);
    if (SameKey(s.type, L"ButtonStyle")) {
      ASSERT_EQ(Put(hosted.dispatch(), L"Caption", Var(L"Salvar")), S_OK);
    }
    if (SameKey(s.type, L"tzFrames")) {
      ASSERT_EQ(Put(hosted.dispatch(), L"Style", Var(int32_t{3})), S_OK);
    }
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(hosted.control()->QueryInterface(IID_PPV_ARGS(&persist)), S_OK);
    auto [bytes, stream] = bytesOf(persist.Get());
    EXPECT_NE(bytes.find("Control " + Utf8FromWide(s.type)), std::string::npos) << bytes;
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(ProgId(s.type).c_str(), &clsid), S_OK);
    ComPtr<IPersistStreamInit> loaded;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&loaded)), S_OK);
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(loaded->Load(stream.Get()), S_OK);
    EXPECT_EQ(bytesOf(loaded.Get()).first, bytes);
  }
}

TEST(AtlContainer, CreatingAndDestroyingControlsLeavesNoGdiOrUserObjects) {
  test::ExpectNoLeaks(
      [] {
        for (const Sample& s : kSamples) AtlHosted hosted(ProgId(s.type), s.width, s.height);
      },
      1, 15);
}

TEST(AtlContainer, TheServerCanUnloadOnceTheLastControlIsReleased) {
  // The same module COM loads for the controls, held here while the test asks it.
  HMODULE server = LoadLibraryW(ServerPath().c_str());
  ASSERT_NE(server, nullptr);
  auto canUnloadNow = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(server, "DllCanUnloadNow"));
  ASSERT_NE(canUnloadNow, nullptr);
  {
    AtlHosted first(ProgId(L"ButtonStyle"), 97, 33);
    AtlHosted second(ProgId(L"KvFundo"), 100, 100);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
  }
  EXPECT_EQ(canUnloadNow(), S_OK);
  FreeLibrary(server);
}

TEST(AtlContainer, AScriptMakesAButtonAndSetsAndReadsItsPropertiesWithoutASite) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring script = std::wstring(temp) + L"tessel-button.vbs";
  {
    HANDLE file = CreateFileW(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char text[] =
        "Set b = CreateObject(\"TesselOCX.ButtonStyle\")\r\n"
        "b.Caption = \"Gravar\"\r\n"
        "b.ForeColor = 255\r\n"
        "WScript.Echo b.Caption & \"|\" & b.ForeColor & \"|\" & b.Enabled\r\n"
        "On Error Resume Next\r\n"
        "b.MousePointer = 50\r\n"
        "WScript.Echo Err.Number & \"|\" & Err.Description\r\n";
    DWORD written = 0;
    WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
    CloseHandle(file);
  }
  std::string output;
  EXPECT_EQ(RunProgram(L"cscript.exe //nologo \"" + script + L"\"", output), 0u);
  DeleteFileW(script.c_str());
  // A script sees the control error by its number, 380.
  EXPECT_EQ(output, "Gravar|255|True\r\n380|Invalid property value\r\n");
}

}  // namespace
}  // namespace tessel::oletest
