#include "server/contract/Font.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "server/contract/ComOwners.h"
#include "server/contract/Twips.h"

namespace tessel {

namespace {

CY CyFromPoints(float points) {
  CY cy;
  cy.int64 = std::llround(static_cast<double>(points) * 10000.0);
  return cy;
}

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) {
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
    throw std::runtime_error(std::string("font: ") + what + " failed (" + code + ")");
  }
}

void CheckName(const std::wstring& name) {
  if (name.empty()) throw std::runtime_error("font: a font needs a name");
  if (name.size() >= LF_FACESIZE) throw std::runtime_error("font: the name is longer than 31 characters");
}

// 1638 points is the largest size a font object keeps.
void CheckSize(float points) {
  if (!(points > 0.0f) || points > 1638.0f)
    throw std::runtime_error("font: size " + std::to_string(points) + " is out of range");
}

}  // namespace

FontRef Font::Create(const FontDesc& desc) {
  CheckName(desc.name);
  CheckSize(desc.size);
  std::wstring name = desc.name;
  FONTDESC fd{};
  fd.cbSizeofstruct = sizeof fd;
  fd.lpstrName = name.data();
  fd.cySize = CyFromPoints(desc.size);
  fd.sWeight = desc.weight;
  fd.sCharset = desc.charset;
  fd.fItalic = desc.italic;
  fd.fUnderline = desc.underline;
  fd.fStrikethrough = desc.strikethrough;
  Microsoft::WRL::ComPtr<IFont> font;
  Check(OleCreateFontIndirect(&fd, IID_IFont, reinterpret_cast<void**>(font.GetAddressOf())),
        "OleCreateFontIndirect");
  // The handle is realised for the screen: a 9-point font is 12 pixels high at 96 dpi.
  font->SetRatio(ScreenDpiY(), 2540);
  return FontRef(new Font(std::move(font), desc));
}

FontRef Font::Wrap(IFont* font) {
  if (!font) throw std::invalid_argument("font: Wrap needs a font object");
  FontDesc d;
  BSTR name = nullptr;
  if (SUCCEEDED(font->get_Name(&name)) && name) {
    const unique_bstr owned(name);
    d.name.assign(name, SysStringLen(name));
  }
  CY size{};
  if (SUCCEEDED(font->get_Size(&size))) d.size = static_cast<float>(static_cast<double>(size.int64) / 10000.0);
  SHORT s = 0;
  if (SUCCEEDED(font->get_Weight(&s))) d.weight = s;
  if (SUCCEEDED(font->get_Charset(&s))) d.charset = s;
  BOOL b = FALSE;
  if (SUCCEEDED(font->get_Italic(&b))) d.italic = b != FALSE;
  b = FALSE;
  if (SUCCEEDED(font->get_Underline(&b))) d.underline = b != FALSE;
  b = FALSE;
  if (SUCCEEDED(font->get_Strikethrough(&b))) d.strikethrough = b != FALSE;
  return FontRef(new Font(Microsoft::WRL::ComPtr<IFont>(font), d));  // one reference of its own
}

Font::~Font() = default;

FontDesc Font::Describe() const { return desc_; }

void Font::SetName(const std::wstring& name) {
  CheckName(name);
  const unique_bstr b(SysAllocStringLen(name.data(), static_cast<UINT>(name.size())));
  HRESULT hr = font_->put_Name(b.get());
  Check(hr, "setting the name");
  desc_.name = name;
}

void Font::SetSize(float points) {
  CheckSize(points);
  Check(font_->put_Size(CyFromPoints(points)), "setting the size");
  desc_.size = points;
}

void Font::SetBold(bool on) { SetWeight(on ? FW_BOLD : FW_NORMAL); }

void Font::SetItalic(bool on) {
  Check(font_->put_Italic(on), "setting italic");
  desc_.italic = on;
}

void Font::SetUnderline(bool on) {
  Check(font_->put_Underline(on), "setting underline");
  desc_.underline = on;
}

void Font::SetStrikethrough(bool on) {
  Check(font_->put_Strikethrough(on), "setting strikethrough");
  desc_.strikethrough = on;
}

void Font::SetWeight(short weight) {
  Check(font_->put_Weight(weight), "setting the weight");
  desc_.weight = weight;
}

void Font::SetCharset(short charset) {
  Check(font_->put_Charset(charset), "setting the character set");
  desc_.charset = charset;
}

FontRef Font::Clone() const { return Create(desc_); }

HFONT Font::Handle() const {
  HFONT h = nullptr;
  if (FAILED(font_->get_hFont(&h))) return nullptr;
  return h;
}

}  // namespace tessel
