#include <cfloat>
#include "tests/support/Prelude.h"

#include "host/FormFile.h"
#include "server/contract/SystemHandles.h"
#include "server/contract/WholeFile.h"
#include "tests/host/HostFixture.h"

namespace tessel::hosttest {
namespace {

using ::testing::HasSubstr;

// COM for the pictures, a folder of its own for form files, and recorder controls to load them with.
class FormFileText : public FormTest {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::filesystem::create_directory(dir);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    CoUninitialize();
  }
  std::vector<std::wstring> Files() const {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().wstring());
    return names;
  }
  std::string Contents() const { return ReadWholeFile(path, 1 << 30); }
  const std::wstring dir =
      (std::filesystem::temp_directory_path() / (L"tessel-formfile-" + std::to_wstring(GetCurrentProcessId()))).wstring();
  const std::wstring path = dir + L"\\form.tform";
};

const std::vector<float> kFloats = {0.1f, -0.0f, 1e-45f, FLT_MAX, 8.25f, -3.3333333f,
                                    std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};

FormDescription EveryType() {
  FormDescription form;
  form.properties.Write(L"Caption", std::wstring(L"Every type"));
  form.properties.Write(L"Width", int32_t(6000));
  ControlDescription c{L"Echo", L"echo1"};
  c.extender = ExtenderProperties{L"echo1", -120, 240, 2400, 300, false, false, 3, false};
  c.extender.accessibleName = L"Customer \u00ABcode\u00BB";
  const std::pair<const wchar_t*, BagValue> values[] = {
      {L"Min16", int16_t(INT16_MIN)}, {L"Max16", int16_t(INT16_MAX)},
      {L"Small32", int32_t(7)},  // the same number as a 16-bit value must stay 32-bit
      {L"Colour", int32_t(0x8000000F)}, {L"Min32", int32_t(INT32_MIN)}, {L"Yes", true}, {L"No", false},
      {L"Empty", std::wstring()},
      {L"Awkward",
       std::wstring(L"quote \" back \\ tab \t line\nreturn\r bell \a del \x7F ação 日本 \U0001F600 lone \xD800 end")}};
  for (const auto& [key, value] : values) c.bag.Write(key, value);
  for (size_t i = 0; i < kFloats.size(); ++i) c.bag.Write(L"F" + std::to_wstring(i), kFloats[i]);
  c.bag.Write(L"NaN", std::numeric_limits<float>::quiet_NaN());
  c.bag.Write(L"Font", Font::Create(FontDesc{L"Times New Roman", 13.5f, 600, true, true, true, 204}));
  c.bag.Write(L"NoFont", FontRef());
  c.bag.Write(L"Png", Picture::FromBytes(test::EncodeImage(test::ImageFormat::Png, 3, 2,
                                                           {0xFF102030, 0xFF405060, 0xFF708090, 0, 1, 2})));
  c.bag.Write(L"Icon", Picture::FromBytes(test::IconFile(16, RGB(1, 2, 3))));
  c.bag.Write(L"Cursor", Picture::FromBytes(test::IconFile(32, RGB(4, 5, 6), true, POINT{7, 9})));
  c.bag.Write(L"NoPicture", PictureRef());
  form.controls.push_back(std::move(c));
  return form;
}

// Each value says its type in text a person can read and write (32-bit numbers plain) and comes back exactly.
TEST_F(FormFileText, EveryValueTypeComesBackExactlyAndTheTextIsReadableAndStable) {
  FormDescription original = EveryType();
  const std::string text = WriteFormText(original);
  EXPECT_EQ(text.substr(0, text.find("  Awkward")),
            "TesselForm 1\n\nForm\n  Caption = \"Every type\"\n  Width = 6000\nEndForm\n\nControl Echo echo1\n"
            "  .Left = -120\n  .Top = 240\n  .Width = 2400\n  .Height = 300\n  .TabIndex = 3\n  .TabStop = false\n"
            "  .Visible = false\n  .Enabled = false\n  .AccessibleName = \"Customer \xC2\xAB" "code\xC2\xBB\"\n  Min16 = int16(-32768)\n  Max16 = int16(32767)\n  Small32 = 7\n"
            "  Colour = 0x8000000F\n  Min32 = 0x80000000\n  Yes = true\n  No = false\n  Empty = \"\"\n");
  for (const char* line : {"  Awkward = \"quote \\\" back \\\\ tab \\t line\\nreturn\\r bell \\u0007",
                           "  F0 = single(0.1)\n", "  Font = font(\"Times New Roman\", 13.5, weight=600, italic=true, "
                           "underline=true, strikethrough=true, charset=204)\n  NoFont = font(nothing)\n",
                           "  NoPicture = picture(nothing)\nEndControl\n"})
    EXPECT_THAT(text, HasSubstr(line));

  ParsedForm parsed = ParseFormText(text, L"every.tform");
  ASSERT_TRUE(parsed.errors.empty()) << parsed.errors[0].ToString();
  ASSERT_EQ(parsed.form.controls.size(), 1u);
  const ControlDescription& c = parsed.form.controls[0];
  EXPECT_EQ(c.type + L"|" + c.name + L"|" + std::to_wstring(c.line), L"Echo|echo1|8");
  const ExtenderProperties& e = c.extender;
  EXPECT_EQ(std::vector<int>({e.left, e.top, e.width, e.height, e.tabIndex, e.enabled, e.visible, e.tabStop}),
            std::vector<int>({-120, 240, 2400, 300, 3, 0, 0, 0}));
  EXPECT_EQ(e.accessibleName, L"Customer \u00ABcode\u00BB");
  const PropertyBag &before = original.controls[0].bag, &after = c.bag;
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    const auto& [key, want] = before.Entries()[i];
    const auto& [gotKey, got] = after.Entries()[i];
    const auto *p = std::get_if<PictureRef>(&want), *q = std::get_if<PictureRef>(&got);
    // Pictures come back as new objects with the same bytes; the rest compares as the bag does.
    const bool same = gotKey == key && want.index() == got.index() &&
                      (p && *p && *q ? (*p)->Bytes() == (*q)->Bytes() && (*p)->Kind() == (*q)->Kind()
                                     : BagValuesEqual(want, got));
    EXPECT_TRUE(same) << Utf8FromWide(key) << " (" << BagTypeName(want) << ") came back as " << Utf8FromWide(gotKey)
                      << " (" << BagTypeName(got) << ")";
  }
  EXPECT_EQ(WriteFormText(parsed.form), text);
}

// Keywords, extender keys, value types and attributes ignore case, and CR LF ends lines.
TEST_F(FormFileText, KeywordsKeysAndAttributesIgnoreCaseOnRead) {
  ParsedForm p = ParseFormText("tesselform 1\r\n# a comment\r\nFORM\r\n  Caption = \"x\"\r\nendform\r\n"
                               "control Echo a\r\n  .LEFT = 15\r\n  .visible = FALSE\r\n"
                               "  Big = FONT(\"Arial\", 12, WEIGHT=700, Italic=True)\r\n  Count = INT16(-2)\r\nENDCONTROL\r\n",
                               L"case.tform");
  ASSERT_TRUE(p.errors.empty()) << p.errors[0].ToString();
  const char* usual = "TesselForm 1\nForm\n  Caption = \"x\"\nEndForm\nControl Echo a\n  .Left = 15\n  .Visible = false\n"
                      "  Big = font(\"Arial\", 12, weight=700, italic=true)\n  Count = int16(-2)\nEndControl\n";
  EXPECT_EQ(WriteFormText(p.form), WriteFormText(ParseFormText(usual, L"usual.tform").form));
}

// One error naming file, line, control and key; the other controls load unless nothing can be read.
TEST_F(FormFileText, EachBadFileNamesFileLineControlAndKeyAndKeepsTheOtherControls) {
  const std::string head = "TesselForm 1\nControl Echo good1\n  A = 1\nEndControl\n";
  const std::string tail = "Control Echo good2\n  A = 2\nEndControl\n";
  // A control 'bad' from line 5 between two good ones; its keys start on line 6.
  auto Bad = [&](const std::string& body) { return head + "Control Echo bad\n" + body + "EndControl\n" + tail; };
  const std::string k6 = "bad.tform:6: control 'bad', key ";
  const std::string every = WriteFormText(EveryType());
  const size_t icon = every.find("  Icon = picture(");
  const std::string iconLine = std::to_string(std::count(every.begin(), every.begin() + icon, '\n') + 1);
  const struct { const char* what; std::string text, message; } cases[] = {
      {"later version", "TesselForm 2\n", "bad.tform:1: the file is of format version 2; this program reads version 1"},
      {"int16 out of range", Bad("  N = int16(40000)\n"), k6 + "'N': the number 40000 is out of range for a 16-bit integer"},
      {"unclosed string", Bad("  S = \"abc\n"), k6 + "'S': the string has no closing quote at '\"abc'"},
      {"bad escape", Bad("  S = \"a\\qb\"\n"), k6 + "'S': unknown escape \\q in a string (use \\\" \\\\ \\n \\r \\t or \\uXXXX)"},
      {"float without single", Bad("  F = 1.5\n"), k6 + "'F': '1.5' is not a 32-bit integer (write single(1.5) for a float)"},
      {"duplicate key", Bad("  Text = \"a\"\n  TEXT = \"b\"\n"),
       "bad.tform:7: control 'bad', key 'TEXT': the key is given twice (first on line 6)"},
      {"font without size", Bad("  F = font(\"Arial\")\n"), k6 + "'F': expected ',' and the font size at ')'"},
      {"picture not base64", Bad("  P = picture(icon, 3)\n    ab*d\nEndPicture\n"),
       k6 + "'P': the picture bytes are not valid base64"},
      {"picture shorter than announced", Bad("  P = picture(icon, 4)\n    AAAB\nEndPicture\n"),
       k6 + "'P': the picture holds 3 bytes where 4 were announced (truncated?)"},
      {"file ends inside a picture", every.substr(0, icon + 122),
       "bad.tform:" + iconLine + ": control 'echo1', key 'Icon': the file ends inside the picture begun on line " + iconLine},
      {"missing EndControl", head + "Control Echo bad\n  A = 1\n" + tail,
       "bad.tform:5: control 'bad': the control has no EndControl before line 7"},
      {"stray line", head + "A = 1\n" + tail, "bad.tform:5: expected 'Form' or 'Control <type> <name>'"},
      // Every number meets the range of its place (the form tool's cases show it in hexadecimal too).
      {"accessible name not a string", Bad("  .AccessibleName = 5\n"),
       k6 + "'.AccessibleName': the value is a 32-bit integer where a string was expected"},
      {"negative width", Bad("  .Width = -1\n"), k6 + "'.Width': the number -1 is out of range for .Width (0 or more)"},
      {"font size zero", Bad("  F = font(\"Arial\", 0)\n"), k6 + "'F': the font size 0 is out of range"},
      {"megabyte number", Bad("  N = " + std::string(1 << 20, '9') + "\n"),
       k6 + "'N': the number " + std::string(80, '9') + "... (1048576 characters) is out"},
      {"invalid UTF-8", Bad("  S = \"\xC3\x28\"\n"), "bad.tform:6: control 'bad': the line is not valid UTF-8 text"},
  };
  for (const auto& bad : cases) {
    SCOPED_TRACE(bad.what);
    ParsedForm p = ParseFormText(bad.text, L"bad.tform");
    ASSERT_EQ(p.errors.size(), 1u) << (p.errors.size() > 1 ? p.errors[1].ToString() : "");
    EXPECT_EQ(p.errors[0].ToString().substr(0, bad.message.size()), bad.message) << p.errors[0].ToString();
    EXPECT_LT(p.errors[0].message.size(), 300u);  // a message quotes only the start of a long value
    std::vector<std::wstring> names;
    for (const auto& c : p.form.controls) names.push_back(c.name);
    const bool kept = bad.text.find("good2") != std::string::npos && p.readable;
    ASSERT_EQ(names, kept ? std::vector<std::wstring>({L"good1", L"good2"}) : std::vector<std::wstring>());
    EXPECT_EQ(kept ? p.form.controls[1].bag.ReadInt32(L"A", 0) : 2, 2);
  }
}

using FormFileOnDisk = FormFileText;

TEST_F(FormFileOnDisk, SavingReplacesTheFileAndAFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  WriteFormFile(path, EveryType());
  EXPECT_EQ(Contents(), WriteFormText(EveryType()));
  EXPECT_TRUE(ReadFormFile(path).errors.empty());
  WriteFileAtomically(path, "old contents\n");
  // Nothing the format cannot hold reaches the disk: a name or a key it cannot write.
  FormDescription bad;
  bad.controls.push_back(ControlDescription{L"Echo", L"no good"});
  EXPECT_THROW(WriteFormFile(path, bad), std::invalid_argument);
  bad.controls[0].name = L"ok";
  bad.controls[0].bag.Write(L"bad key", int32_t(1));
  EXPECT_THROW(WriteFormFile(path, bad), std::invalid_argument);
  // A control that fails to write its keys is named.
  auto form = NewForm();
  static_cast<Recorder&>(form->Add(L"Recorder", L"r", 0, 0, 300, 300)).failWrite = true;
  EXPECT_THAT([&] { SaveForm(*form, path); }, ::testing::Throws<ControlError>(::testing::Property(&ControlError::control, L"r")));
  EXPECT_EQ(Contents(), "old contents\n");

  // A target held open without delete sharing cannot be replaced: the new text written beside it must go too.
  unique_hfile holder = OwnedFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  EXPECT_THAT([&] { WriteFileAtomically(path, "new contents\n"); },
              ::testing::ThrowsMessage<std::runtime_error>(HasSubstr("the old file is unchanged")));
  holder.reset();
  EXPECT_EQ(Contents(), "old contents\n");
  EXPECT_THAT(Files(), ElementsAre(L"form.tform"));
  EXPECT_THROW(WriteFileAtomically(dir + L"\\no\\such\\form.tform", "x"), std::runtime_error);
  EXPECT_THAT(Files(), ElementsAre(L"form.tform"));
}

// A key a control reads but does not write back is no error; a control without .TabIndex keeps its place in
// the file, equal places keep the file's order (the form tool's cases show unread keys and refused values).
TEST_F(FormFileOnDisk, LoadingSetsTheFormNamesABadKeyAndPlacesTheControlsInTheirStoredTabOrder) {
  auto form = NewForm();
  const std::vector<FormFileError> errors =
      LoadForm(ParseFormText("TesselForm 1\nForm\n  Caption = \"Loaded\"\n  Width = 3000\n  Height = 1500\n"   // 1-5
                             "  BackColor = 0x0000FF\n  ForeColor = 255\n  Tint = 5\nEndForm\n"                // 6-9
                             "Control Recorder a\n  .TabIndex = 2\n  Flag = true\nEndControl\n"                // 10-13
                             "Control Recorder b\nEndControl\n"                                                  // 14-15
                             "Control Recorder c\n  .TabIndex = 0\nEndControl\n"                                // 16-18
                             "Control Recorder d\n  .TabIndex = 1\nEndControl\n",                               // 19-21
                             L"f.tform"),
               L"f.tform", *form);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].ToString(), "f.tform:8: key 'Tint': unknown form property; a form has Caption, Width, Height, "
                                  "BackColor, ForeColor and Font");
  EXPECT_THAT(form->TabOrder(), ElementsAre(L"c", L"b", L"d", L"a"));
  EXPECT_EQ(form->Site(L"a")->Extender().tabIndex, 3);
  wchar_t caption[64];
  GetWindowTextW(form->hWnd(), caption, 64);
  EXPECT_STREQ(caption, L"Loaded");
  EXPECT_EQ(form->ScaleHeight(), 1500);
  EXPECT_EQ(form->Ambient().foreColor, 255u);
  const test::DibProbe probe(unique_hbitmap(form->Snapshot()).get());
  ASSERT_EQ(std::vector<int>({probe.width(), probe.height()}), std::vector<int>({200, 100}));
  ExpectPixels(probe, {{0, 0, RGB(255, 0, 0)}, {199, 99, RGB(255, 0, 0)}});
}

}  // namespace
}  // namespace tessel::hosttest
