// The faces every picture is drawn with, as the test prefix has them (scripts/common.sh puts Wine's
// own fonts in its Fonts folder and replaces the common Windows names by the installed faces). A
// face gone missing would change every kept image and every measured caption; this says which.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "server/contract/Gdi.h"
#include "server/contract/PropertyBag.h"

namespace tessel {
namespace {

struct FaceCase {
  const wchar_t* face;    // asked for and answered by GetTextFace
  bool trueType;          // false: a bitmap face
  const wchar_t* glyphs;  // each of them in the face itself
};

const FaceCase kFaces[] = {
    {L"MS Sans Serif", false, L"Save"},       // the controls' default font, Wine's bitmap face
    {L"Tahoma", true, L"Save \u00E7\u00F5"},  // the pinned caption font of the kept images
    {L"MS Shell Dlg", true, L"Save"},         // the dialog font: Tahoma
    {L"Marlett", true, L"012r"},              // the caption buttons of every title bar
    {L"Arial", true, L"Save"}, {L"Times New Roman", true, L"Save"}, {L"Courier New", true, L"Save"},
    {L"MS UI Gothic", true, L"\u65E5\u672C\u8A9E \u03B1\u03B2"},  // Japanese and Greek
    {L"Segoe UI Emoji", true, L"\u263A\u2764"},
};

TEST(FontFaces, EachNameDrawsWithItsPinnedFace) {
  unique_hdc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  for (const FaceCase& c : kFaces) {
    const std::string asked = Utf8FromWide(c.face);
    unique_hfont font(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, c.face));
    ASSERT_TRUE(font) << asked;
    SelectGuard select(dc.get(), font.get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.get(), LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    const std::wstring text(c.glyphs);
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc.get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    EXPECT_EQ(Utf8FromWide(face), asked);
    EXPECT_EQ((metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0, c.trueType) << asked;
    EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), WORD{0xFFFF}), 0)
        << asked << " lacks glyphs of " << Utf8FromWide(text);
  }
}

}  // namespace
}  // namespace tessel
