#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/Errors.h"
#include "server/contract/WholeFile.h"
#include "tests/support/Leaks.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Pixels.h"

namespace tessel {
namespace {

using ::testing::ElementsAre;

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
    bag.Write(L"Flag", flag, false);
    bag.Write(L"Font", font, Ambient().font);
    bag.Write(L"Picture", picture, PictureRef());
    if (flag) bag.Write(L"Note", note, std::wstring());
  }
  std::wstring caption;
  int16_t count = 0;
  int32_t size = 10;
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
    for (const wchar_t* suffix : {L"-a.tform", L"-in.tform"}) DeleteFileW((base + suffix).c_str());
  }
  std::wstring Write(const std::string& text) {
    WriteFileAtomically(base + L"-in.tform", text);
    return base + L"-in.tform";
  }
  std::unique_ptr<Form> Open(const std::string& text, std::vector<std::string>* messages = nullptr) {
    std::vector<FormFileError> errors;
    auto form = OpenForm(Write(text), true, errors, &types);
    for (const auto& e : errors) {
      if (messages) messages->push_back(e.ToString());
      else ADD_FAILURE() << e.ToString();
    }
    return form;
  }

  ControlTypes types;
  std::wstring base;
};

// Each failure names file, line, control and key; the controls that load stay on the form, and a
// key the control never read is reported since saving would drop it.
TEST_F(FormFileForm, AControlThatFailsToLoadIsReportedWithFileLineControlAndKeyAndTheOthersLoad) {
  std::vector<std::string> errors;
  auto form = Open(
      "TesselForm 1\n"                                                 // 1
      "Form\n  Caption = 12\n  Tint = 5\nEndForm\n"                    // 2-5
      "Control Typed good1\n  Caption = \"one\"\nEndControl\n"         // 6-8
      "Control Typed wrongType\n  Count = 5\n  Caption = true\nEndControl\n"  // 9-12
      "Control Typed refused\n  Caption = \"x\"\n  Size = -5\nEndControl\n"   // 13-16
      "Control Typed picture\n  Picture = picture(bitmap, 3)\n    AAAA\n  EndPicture\nEndControl\n"  // 17-21
      "Control Typed good2\n  Count = int16(2)\n  Note = \"unread\"\nEndControl\n"  // 22-25
      "Control Typed noted\n  Flag = true\n  Note = \"read\"\nEndControl\n",  // 26-29
      &errors);
  ASSERT_NE(form, nullptr);
  const std::string file = Utf8FromWide(base + L"-in.tform");
  EXPECT_THAT(errors,
              ElementsAre(file + ":3: key 'Caption': property 'Caption' holds a 32-bit integer where a string was expected",
                          file + ":4: key 'Tint': unknown form property; a form has Caption, Width, Height, BackColor, "
                                 "ForeColor and Font",
                          file + ":11: control 'wrongType', key 'Caption': property 'Caption' holds a Boolean where a "
                                 "string was expected",
                          file + ":15: control 'refused', key 'Size': ReadProperties: Invalid property value",
                          file + ":18: control 'picture', key 'Picture': picture: the bytes are not a picture of a known "
                                 "format (BMP, ICO, CUR, WMF, EMF, JPEG, PNG, GIF, TIFF); they begin with 00 00 00 00",
                          file + ":24: control 'good2', key 'Note': the control does not read this key (is the name "
                                 "misspelt?); saving would drop it"));
  EXPECT_THAT(form->ControlNames(), ElementsAre(L"good1", L"good2", L"noted"));
  EXPECT_EQ(static_cast<Typed*>(form->Control(L"good2"))->count, 2);
}

// A control without .TabIndex keeps its place in the file; equal positions keep the file's order.
TEST_F(FormFileForm, TheStoredTabOrderIsAppliedOnceEveryControlIsPlaced) {
  auto form = Open(
      "TesselForm 1\nControl Typed a\n  .TabIndex = 2\nEndControl\nControl Typed b\nEndControl\n"
      "Control Typed c\n  .TabIndex = 0\nEndControl\nControl Typed d\n  .TabIndex = 1\nEndControl\n");
  ASSERT_NE(form, nullptr);
  EXPECT_THAT(form->TabOrder(), ElementsAre(L"c", L"b", L"d", L"a"));
  EXPECT_EQ(form->Site(L"a")->Extender().tabIndex, 3);
}

TEST_F(FormFileForm, LoadingIntoAFormSetsItsCaptionSizeAndColoursAndTheFormPaintsThem) {
  auto form = Form::Create(L"Before", 6000, 4500, true, &types);
  EXPECT_TRUE(LoadForm(Write("TesselForm 1\nForm\n  Caption = \"Loaded\"\n  Width = 3000\n  Height = 1500\n"
                             "  BackColor = 0x0000FF\n  ForeColor = 255\nEndForm\n"),
                       *form).empty());
  wchar_t caption[64];
  GetWindowTextW(form->hWnd(), caption, 64);
  EXPECT_STREQ(caption, L"Loaded");
  EXPECT_EQ(form->ScaleHeight(), 1500);
  EXPECT_EQ(form->Ambient().foreColor, 255u);
  unique_hbitmap shot = form->Snapshot();
  test::DibProbe probe(shot.get());
  ASSERT_EQ(probe.width(), 200);
  ASSERT_EQ(probe.height(), 100);
  test::ExpectPixels(probe, {{0, 0, RGB(255, 0, 0)}, {199, 99, RGB(255, 0, 0)}});
}

TEST_F(FormFileForm, OpeningAndClosingFormsWithPicturesAndFontsGivesEveryHandleBack) {
  const std::vector<uint8_t> png = test::EncodeImage(test::ImageFormat::Png, 8, 8, std::vector<uint32_t>(64, 0xFF336699));
  {
    auto form = Form::Create(L"Leaks", 3000, 3000, true, &types);
    for (int i = 0; i < 3; ++i) {
      auto& t = static_cast<Typed&>(form->Add(L"Typed", L"t" + std::to_wstring(i), 0, 300 * i, 600, 300));
      t.font = Font::Create(FontDesc{L"Arial", 9.0f + i, 700});
      t.picture = Picture::FromBytes(png);
    }
    SaveForm(*form, base + L"-a.tform");
  }
  test::ExpectNoLeaks([&] {
    std::vector<FormFileError> errors;
    auto form = OpenForm(base + L"-a.tform", true, errors, &types);
    ASSERT_TRUE(form && errors.empty());
    static_cast<Typed*>(form->Control(L"t2"))->font->Handle();
    form->Snapshot();
  }, 1, 2);
}

TEST_F(FormFileForm, AControlThatFailsToSaveIsNamedAndLeavesTheOldFile) {
  auto form = Form::Create(L"Save", 3000, 3000, true, &types);
  auto& t = static_cast<Typed&>(form->Add(L"Typed", L"t", 0, 0, 300, 300));
  SaveForm(*form, base + L"-a.tform");
  const std::string before = ReadWholeFile(base + L"-a.tform", 1 << 20);
  t.caption = L"changed";
  t.failWrite = true;
  try {
    SaveForm(*form, base + L"-a.tform");
    ADD_FAILURE() << "saved";
  } catch (const ControlError& e) {
    EXPECT_EQ(e.control(), L"t");
  }
  EXPECT_EQ(ReadWholeFile(base + L"-a.tform", 1 << 20), before);
}

}  // namespace
}  // namespace tessel
