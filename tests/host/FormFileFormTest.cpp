#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/Errors.h"
#include "server/contract/WholeFile.h"
#include "tests/support/GdiCount.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Pixels.h"

namespace tessel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A control with one property of every bag type, read and written with defaults as the library's
// controls do; a negative Size is refused the way a constituent refuses a value.
class Typed : public UserControl {
 public:
  using UserControl::UserControl;
  std::wstring_view TypeName() const override { return L"Typed"; }
  void InitProperties() override { font = Ambient().font; }
  void ReadProperties(PropertyBag& bag) override {
    caption = bag.ReadString(L"Caption", L"");
    count = bag.ReadInt16(L"Count", 0);
    size = bag.ReadInt32(L"Size", 10);
    if (size < 0) throw InvalidPropertyValue("Invalid property value");
    ratio = bag.ReadSingle(L"Ratio", 1.0f);
    flag = bag.ReadBool(L"Flag", false);
    font = bag.ReadFont(L"Font", Ambient().font);
    picture = bag.ReadPicture(L"Picture", nullptr);
    if (flag) note = bag.ReadString(L"Note", L"");  // read only when it matters
  }
  void WriteProperties(PropertyBag& bag) override {
    if (failWrite) throw InvalidPropertyValue("Invalid property value");
    bag.Write(L"Caption", caption, std::wstring());
    bag.Write(L"Count", count, int16_t(0));
    bag.Write(L"Size", size, int32_t(10));
    bag.Write(L"Ratio", ratio, 1.0f);
    bag.Write(L"Flag", flag, false);
    bag.Write(L"Font", font, Ambient().font);
    bag.Write(L"Picture", picture, PictureRef());
    if (flag) bag.Write(L"Note", note, std::wstring());
  }
  std::wstring caption;
  int16_t count = 0;
  int32_t size = 10;
  float ratio = 1.0f;
  bool flag = false;
  FontRef font;
  PictureRef picture;
  std::wstring note;
  bool failWrite = false;
};

class FormFileForm : public ::testing::Test {
 protected:
  void SetUp() override {
    types.Register(L"Typed", [](ControlSite& site) { return std::make_unique<Typed>(site); });
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    base = std::wstring(tmp) + L"tessel-formglue-" + std::to_wstring(GetCurrentProcessId());
  }
  void TearDown() override {
    for (const wchar_t* suffix : {L"-a.tform", L"-b.tform", L"-in.tform"}) DeleteFileW((base + suffix).c_str());
  }
  std::wstring Write(const std::string& text) {
    std::wstring path = base + L"-in.tform";
    WriteFileAtomically(path, text);
    return path;
  }
  static std::string Read(const std::wstring& path) {
    try {
      return ReadWholeFile(path, 1 << 30);
    } catch (const FileReadError&) {
      return "<missing>";
    }
  }
  static std::vector<std::string> Strings(const std::vector<FormFileError>& errors) {
    std::vector<std::string> out;
    for (const auto& e : errors) out.push_back(e.ToString());
    return out;
  }

  ControlTypes types;
  std::wstring base;
};

TEST_F(FormFileForm, ASavedFormLoadsBackAndSavesAgainByteForByte) {
  std::vector<uint8_t> png = test::EncodeImage(test::ImageFormat::Png, 2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
  {
    auto form = Form::Create(L"Pedidos – ação", 6000, 4500, true, &types);
    form->SetBackColor(0x80000005);
    auto& a = static_cast<Typed&>(form->Add(L"Typed", L"first", 150, 300, 1500, 450));
    a.caption = L"Olá \"mundo\"\n";
    a.count = -7;
    a.size = 70000;
    a.ratio = 0.3f;
    a.flag = true;
    a.font = Font::Create(FontDesc{L"Arial", 11.25f, 700, true, false, true, 0});
    a.picture = Picture::FromBytes(png);
    form->Add(L"Typed", L"plain", 0, 900, 3000, 600);  // every value at its default
    SaveForm(*form, base + L"-a.tform");
  }
  const std::string first = Read(base + L"-a.tform");
  // Values at their defaults are left out: the plain control has only what the form keeps for it.
  EXPECT_THAT(first, HasSubstr("Control Typed plain\n  .Left = 0\n  .Top = 900\n  .Width = 3000\n  .Height = 600\n"
                               "  .TabIndex = 1\n  .TabStop = true\n  .Visible = true\n  .Enabled = true\nEndControl\n"));
  EXPECT_THAT(first, HasSubstr("  Caption = \"Pedidos – ação\"\n  Width = 6000\n  Height = 4500\n  BackColor = 0x80000005\n"));

  std::vector<FormFileError> errors;
  auto form = OpenForm(base + L"-a.tform", true, errors, &types);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(errors.empty()) << Strings(errors)[0];
  EXPECT_EQ(form->BackColor(), 0x80000005u);
  EXPECT_EQ(form->ScaleWidth(), 6000);
  EXPECT_THAT(form->ControlNames(), ElementsAre(L"first", L"plain"));
  auto& a = *static_cast<Typed*>(form->Control(L"first"));
  EXPECT_EQ(a.caption, L"Olá \"mundo\"\n");
  EXPECT_EQ(a.count, -7);
  EXPECT_EQ(a.size, 70000);
  EXPECT_EQ(a.ratio, 0.3f);
  EXPECT_TRUE(a.flag);
  EXPECT_EQ(a.font->Describe(), (FontDesc{L"Arial", 11.25f, 700, true, false, true, 0}));
  ASSERT_NE(a.picture, nullptr);
  EXPECT_EQ(a.picture->Bytes(), png);
  EXPECT_EQ(form->Site(L"first")->Extender().left, 150);
  auto& plain = *static_cast<Typed*>(form->Control(L"plain"));
  EXPECT_EQ(plain.font, form->Ambient().font);  // the default is the ambient font itself

  SaveForm(*form, base + L"-b.tform");
  EXPECT_EQ(Read(base + L"-b.tform"), first);
}

TEST_F(FormFileForm, AControlThatFailsToLoadIsReportedWithFileLineControlAndKeyAndTheOthersLoad) {
  const std::wstring path = Write(
      "TesselForm 1\n"                      // 1
      "Form\n"                              // 2
      "  Caption = 12\n"                    // 3
      "  Tint = 5\n"                        // 4
      "EndForm\n"                           // 5
      "Control Typed good1\n"               // 6
      "  Caption = \"one\"\n"               // 7
      "EndControl\n"                        // 8
      "Control Nope ghost\n"                // 9
      "EndControl\n"                        // 10
      "Control Typed wrongType\n"           // 11
      "  Count = 5\n"                       // 12
      "  Caption = true\n"                  // 13
      "EndControl\n"                        // 14
      "Control Typed refused\n"             // 15
      "  Caption = \"x\"\n"                 // 16
      "  Size = -5\n"                       // 17
      "EndControl\n"                        // 18
      "Control Typed picture\n"             // 19
      "  Picture = picture(bitmap, 3)\n"    // 20
      "    AAAA\n"                          // 21
      "  EndPicture\n"                      // 22
      "EndControl\n"                        // 23
      "Control Typed good2\n"               // 24
      "  Count = int16(2)\n"                // 25
      "  Note = \"unread\"\n"               // 26
      "EndControl\n"                        // 27
      "Control Typed noted\n"               // 28
      "  Flag = true\n"                     // 29
      "  Note = \"read\"\n"                 // 30
      "  Sise = 3\n"                        // 31
      "EndControl\n");                      // 32
  std::vector<FormFileError> errors;
  auto form = OpenForm(path, true, errors, &types);
  ASSERT_NE(form, nullptr);
  const std::string file = Utf8FromWide(path);
  EXPECT_THAT(Strings(errors),
              ElementsAre(file + ":3: key 'Caption': property 'Caption' holds a 32-bit integer where a string was expected",
                          file + ":4: key 'Tint': unknown form property; a form has Caption, Width, Height, BackColor, "
                                 "ForeColor and Font",
                          file + ":9: control 'ghost': unknown control type: Nope",
                          file + ":13: control 'wrongType', key 'Caption': property 'Caption' holds a Boolean where a "
                                 "string was expected",
                          file + ":17: control 'refused', key 'Size': ReadProperties: Invalid property value",
                          file + ":20: control 'picture', key 'Picture': picture: the bytes are not a picture of a known "
                                 "format (BMP, ICO, CUR, WMF, EMF, JPEG, PNG, GIF, TIFF); they begin with 00 00 00 00",
                          file + ":26: control 'good2', key 'Note': the control does not read this key (is the name "
                                 "misspelt?); saving would drop it",
                          file + ":31: control 'noted', key 'Sise': the control does not read this key (is the name "
                                 "misspelt?); saving would drop it"));
  EXPECT_THAT(form->ControlNames(), ElementsAre(L"good1", L"good2", L"noted"));
  EXPECT_EQ(static_cast<Typed*>(form->Control(L"good2"))->count, 2);
}

TEST_F(FormFileForm, TheStoredTabOrderIsAppliedOnceEveryControlIsPlaced) {
  // A control without .TabIndex keeps its place in the file; equal positions keep the file's order.
  const std::wstring path = Write(
      "TesselForm 1\n"
      "Control Typed a\n  .TabIndex = 2\nEndControl\n"
      "Control Typed b\nEndControl\n"
      "Control Typed c\n  .TabIndex = 0\nEndControl\n"
      "Control Typed d\n  .TabIndex = 1\nEndControl\n");
  std::vector<FormFileError> errors;
  auto form = OpenForm(path, true, errors, &types);
  ASSERT_NE(form, nullptr);
  EXPECT_THAT(form->TabOrder(), ElementsAre(L"c", L"b", L"d", L"a"));
  EXPECT_EQ(form->Site(L"a")->Extender().tabIndex, 3);
}

TEST_F(FormFileForm, LoadingIntoAFormSetsItsCaptionAndSize) {
  const std::wstring path = Write(
      "TesselForm 1\nForm\n  Caption = \"Loaded\"\n  Width = 3000\n  Height = 1500\n  ForeColor = 255\nEndForm\n"
      "Control Typed one\n  .Left = 60\nEndControl\n");
  auto form = Form::Create(L"Before", 6000, 4500, true, &types);
  std::vector<FormFileError> errors = LoadForm(path, *form);
  EXPECT_TRUE(errors.empty());
  wchar_t caption[64];
  GetWindowTextW(form->hWnd(), caption, 64);
  EXPECT_STREQ(caption, L"Loaded");
  EXPECT_EQ(form->ScaleWidth(), 3000);
  EXPECT_EQ(form->ScaleHeight(), 1500);
  EXPECT_EQ(form->Ambient().foreColor, 255u);
  EXPECT_THAT(form->ControlNames(), ElementsAre(L"one"));

  std::vector<FormFileError> none;
  EXPECT_EQ(OpenForm(base + L"-missing.tform", true, none, &types), nullptr);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_THAT(none[0].ToString(), HasSubstr("cannot open the file"));
}

TEST_F(FormFileForm, TheFormsOwnColourFromTheFileIsWhatItPaints) {
  const std::wstring path = Write(
      "TesselForm 1\nForm\n  Width = 3000\n  Height = 1500\n  BackColor = 0x0000FF\nEndForm\n");
  std::vector<FormFileError> errors;
  auto form = OpenForm(path, true, errors, &types);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(errors.empty());
  unique_hbitmap shot = form->Snapshot();
  test::DibProbe probe(shot.get());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.width(), 200);
  EXPECT_EQ(probe.height(), 100);
  EXPECT_EQ(test::Hex(probe.At(0, 0)), test::Hex(RGB(255, 0, 0)));
  EXPECT_EQ(test::Hex(probe.At(199, 99)), test::Hex(RGB(255, 0, 0)));
}

TEST_F(FormFileForm, OpeningAndClosingFormsWithPicturesAndFontsGivesEveryGdiObjectBack) {
  std::vector<uint8_t> png = test::EncodeImage(test::ImageFormat::Png, 8, 8, std::vector<uint32_t>(64, 0xFF336699));
  {
    auto form = Form::Create(L"Leaks", 3000, 3000, true, &types);
    for (int i = 0; i < 3; ++i) {
      auto& t = static_cast<Typed&>(form->Add(L"Typed", L"t" + std::to_wstring(i), 0, 300 * i, 600, 300));
      t.font = Font::Create(FontDesc{L"Arial", 9.0f + i, 700, false, false, false, 0});
      t.font->Handle();
      t.picture = Picture::FromBytes(png);
    }
    SaveForm(*form, base + L"-a.tform");
  }
  {  // the first form made in a process sets up window classes and caches that stay
    std::vector<FormFileError> errors;
    OpenForm(base + L"-a.tform", true, errors, &types);
  }
  const unsigned before = test::GdiObjectCount();
  for (int i = 0; i < 3; ++i) {
    std::vector<FormFileError> errors;
    auto form = OpenForm(base + L"-a.tform", true, errors, &types);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(errors.empty());
    static_cast<Typed*>(form->Control(L"t2"))->font->Handle();
    form->Snapshot();
  }
  EXPECT_EQ(test::GdiObjectCount(), before);
}

TEST_F(FormFileForm, AControlThatFailsToSaveLeavesTheOldFile) {
  auto form = Form::Create(L"Save", 3000, 3000, true, &types);
  auto& t = static_cast<Typed&>(form->Add(L"Typed", L"t", 0, 0, 300, 300));
  SaveForm(*form, base + L"-a.tform");
  const std::string before = Read(base + L"-a.tform");
  t.caption = L"changed";
  t.failWrite = true;
  EXPECT_THROW(SaveForm(*form, base + L"-a.tform"), std::exception);
  EXPECT_EQ(Read(base + L"-a.tform"), before);
}

}  // namespace
}  // namespace tessel
